// The result folder named on a command line, found and loaded as the viewer
// loads the folder of its directory choice.
#pragma once

#include <string>

#include "input/load_problem.h"

// `argument` made absolute against the current directory, lexically normal,
// without a trailing '/' (except for "/" itself).
std::string absolute_folder(const std::string& argument);

// absolute_folder, the check that comdin.dat, x.unf, nei.unf and u01.unf are
// there (in any letter case), then load_problem. Errors: not_found
// "FOLDER: missing needed files: x.unf nei.unf" (the absolute folder and each
// missing name), or the readers' own Status naming the file.
LoadResult load_result_folder(const std::string& argument);

// Ok when the problem has a stored step; otherwise damaged, naming the value
// of comdin.dat at fault: "comdin.dat: the number of stored steps (group 5)
// is 0: there is no step to " and `work` ("draw", "plot").
Status check_stored_steps(const Problem& problem, const std::string& work);
