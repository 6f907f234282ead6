// The check that a chosen folder holds the files every graph needs.
#pragma once

#include <string>
#include <vector>

// The files that must be present in a working directory.
inline const char* const kRequiredFiles[] = {"comdin.dat", "x.unf", "nei.unf", "u01.unf"};

struct RequiredFiles {
  bool all_present = false;
  std::string working_directory;     // absolute folder of the chosen file, no trailing "/"
  std::vector<std::string> missing;  // names of the required files not found, in order
};

// Takes the folder of `chosen_file` (made absolute against the current
// directory when relative) and looks there for comdin.dat, x.unf, nei.unf and
// u01.unf, each in any letter case.
RequiredFiles check_required_files(const std::string& chosen_file);
