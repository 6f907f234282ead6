// Reading the problem control data (comdin.dat) of a result folder.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "input/problem.h"
#include "base/status.h"

// What comdin.dat says, before the geometry files have backed its counts:
// the record and the restraint and elastic lists, kept per listed node so
// that nothing is allocated by a count the data have not backed yet.
struct ControlData {
  ProblemControl control;  // problem_title not yet set; step_count = stored points - 1
  std::string file_name;   // the name comdin.dat was found under
  // Node k (1..node_count) -> its values in directions 1..NGL; a later list
  // for the same node has replaced an earlier one.
  std::unordered_map<std::int32_t, std::array<std::int32_t, 3>> restraint_rows;
  std::unordered_map<std::int32_t, std::array<float, 3>> elastic_rows;
};

// Reads comdin.dat of `folder` (found in any letter case), groups 1 to 13 in
// order:
//  1 sizes (8 integers), 2 restrained_count restraint lists (node, NGL
//  integers), 3 elastic_count elastic lists (node, NGL reals), 4 time data
//  (integer, real, real, integer, real, integer, real: time_step and end_time
//  are the 2nd and 3rd), 5 step data (integer, real, real, integer: the 4th
//  is the number of stored time points), 6 four reals and an integer, 7 three
//  groups of 3 reals, 8 and 9 three groups of 25 reals each, 10 five reals
//  and five integers, 11 three text lines of 255 characters (the first is
//  input_file_path), 12 three of 20, 13 one of 20.
// Negative sizes and a negative number of stored points count as 0; lists
// for nodes outside 1..node_count are read and not kept; null values leave
// the node's earlier values. Errors name the file: a value that cannot be
// read, an early end of the file, an NGL other than 2 or 3.
Status read_control_data(const std::string& folder, ControlData* data);
