// One step of a result folder as CSV, for a spreadsheet or a script.
//
// Nodes: a header "node,x1,x2[,x3],u1,u2[,u3]", then a line a node in node
// order: its number, its undisplaced coordinates and its displacement at
// the step. Elements: a header "element,node1,node2,value,code", then a line
// an element in element order: its number, its end nodes (0 for none) and
// its element_value and element_code at the step. Reals are written with the
// fewest digits that read back to the same 32-bit value ("nan", "inf" and
// "-inf" for the values that are not finite).
#pragma once

#include <cstdint>

#include "base/status.h"
#include "input/problem.h"

// Reads `step` (0 to step_count) and writes its nodes, or its elements, to
// standard output as it goes. Errors name the file read, or standard output.
Status write_step_csv(const Problem& problem, std::int32_t step, bool elements);
