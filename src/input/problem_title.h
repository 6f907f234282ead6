// The problem title: the first line of the analysis input file that is not a
// "//" comment, or, when that file is not found, a name derived from its path.
#pragma once

#include <string>
#include <vector>

#include "input/problem.h"
#include "base/status.h"

constexpr std::size_t kTitleWidth = 80;
constexpr std::size_t kBaseNameWidth = 128;

// The base name of `path`: the characters after the last folder separator
// ("\" or "/") and before the first "." of the whole path; empty when that
// point comes before the separator (C:\ver1.2\beam.dat) or there is no point.
// Cut to 128 characters.
std::string title_base_name(const std::string& path);

// Sets control->problem_title and problem_title_length from
// control->input_file_path. The input file is looked up as the program looks
// up names (find_file, with `working_directory` as the current directory),
// its last component in any letter case. Found: the first line that does not
// begin with "//", leading blanks kept, cut to 80 characters. Not found: the
// base name, and the lines " Input File Not Found: " + path and " Problem
// title is set as: " + base name (both left-adjusted) are appended to
// `info_lines`. Errors: a found file that cannot be read or holds nothing but
// comment lines, naming that file.
Status read_problem_title(const std::string& working_directory, ProblemControl* control,
                          std::vector<std::string>* info_lines);
