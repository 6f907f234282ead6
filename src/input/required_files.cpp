#include "input/required_files.h"

#include "input/file_lookup.h"

RequiredFiles check_required_files(const std::string& chosen_file) {
  RequiredFiles result;
  std::string full = absolute_path(chosen_file, current_directory());
  result.working_directory = folder_of(full);
  if (result.working_directory.empty()) result.working_directory = current_directory();
  for (const char* name : kRequiredFiles) {
    if (find_in_folder(result.working_directory, name).empty()) result.missing.push_back(name);
  }
  result.all_present = result.missing.empty();
  return result;
}
