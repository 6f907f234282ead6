#include "input/initial_directory.h"

#include <vector>

#include "input/file_lookup.h"
#include "input/free_form.h"
#include "input/text_file.h"

Status first_graph_initial_directory(const std::string& startup_directory, std::string* initial_directory) {
  initial_directory->clear();
  std::string work_dir = find_file("work_dir.dat", startup_directory);
  if (!work_dir.empty()) {
    // Read the file that was found, wherever it is, line by line until a
    // line holds a value. The blanks before a value are read past however
    // many there are; what follows them is kept to a bounded length, ample
    // for a folder of kFolderWidth characters even quoted.
    TextLines file;
    if (Status status = file.open(work_dir); !status.is_ok()) return status;
    for (;;) {
      std::string line;
      bool got = false;
      if (Status status = file.next(&line, &got, kValueLineWidth, true); !status.is_ok()) return status;
      if (!got) return first_free_form_text({}, file.name(), kFolderWidth, initial_directory);
      if (first_free_form_text({line}, file.name(), kFolderWidth, initial_directory).is_ok()) return Status::ok();
    }
  }
  if (startup_directory.empty()) return Status::ok();
  std::size_t keep = startup_directory.size() >= 3 ? startup_directory.size() - 3 : 0;
  std::string beside = startup_directory.substr(0, keep) + "work";
  std::string found = find_file(beside, startup_directory);
  *initial_directory = found.empty() ? startup_directory : found;
  return Status::ok();
}
