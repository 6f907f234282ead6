#include "result_folder.h"

#include <filesystem>

#include "base/shown_text.h"
#include "input/file_lookup.h"
#include "input/required_files.h"

std::string absolute_folder(const std::string& argument) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(argument, error);
  if (error) path = argument;  // no current directory: the name as given
  std::string folder = path.lexically_normal().string();
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

LoadResult load_result_folder(const std::string& argument) {
  const std::string folder = absolute_folder(argument);
  const RequiredFiles check = check_required_files(join_path(folder, "comdin.dat"));
  if (!check.all_present) {
    std::string message = shown_text(folder) + ": missing needed files:";
    for (const std::string& name : check.missing) message += " " + name;
    LoadResult missing;
    missing.status = Status::not_found(message);
    return missing;
  }
  return load_problem(check.working_directory);
}

Status check_stored_steps(const Problem& problem, const std::string& work) {
  if (problem.control.step_count >= 0) return Status::ok();
  return Status::damaged("comdin.dat: the number of stored steps (group 5) is 0: there is no step to " + work);
}
