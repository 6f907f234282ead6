// Loading a result folder into a new Problem: the control data, the problem
// title and the model geometry, as a new-graph run does after its folder has
// been accepted.
//
// Nothing here talks to the window layer: the info-window lines are handed
// back for the caller to write.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "input/problem.h"
#include "base/status.h"

struct LoadResult {
  Status status;                        // a read error names the file and says where and what
  std::shared_ptr<Problem> problem;     // set only when status is ok
  std::vector<std::string> info_lines;  // lines for the info window, in order (also on an error)
  // Lines about values that may spoil the picture (a coordinate that is not
  // a finite number), also on an error: the viewer writes them to the info
  // window after info_lines, the tools to stderr.
  std::vector<std::string> warnings;
};

// Reads comdin.dat, the problem title and x.unf / nei.unf of
// `working_directory` (an absolute folder, no trailing "/"; every file is
// opened by its full path there). The problem's step_count is the number of
// the last stored step (stored points - 1). A problem is built whole or not
// at all; one that needs more memory than the process can have is refused
// before it is built (out_of_memory, see read_model_geometry).
LoadResult load_problem(const std::string& working_directory);
