// What the tools read from u01.unf beyond one step: the time history of one
// node, and the largest displacement over every stored step.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "input/problem.h"
#include "base/status.h"

// Told how far a scan has come (steps done of the total) after each part of
// it; a Status that is not ok (an interrupt) stops the scan with it.
using ScanReport = std::function<Status(std::int64_t steps_done, std::int64_t steps)>;

// The displacement of one node at every stored step 0..step_count.
struct NodeHistory {
  std::int32_t node = 0;
  int NGL = 0;
  std::vector<float> time;           // step_time of each step
  std::vector<float> displacement;   // step-major: step s direction j at s * NGL + j - 1
  // The line naming the first displacement that is not a finite number
  // (non_finite_line); empty when there is none.
  std::string non_finite;
  float value(std::int32_t step, int direction) const {
    return displacement[static_cast<std::size_t>(step) * static_cast<std::size_t>(NGL) +
                        static_cast<std::size_t>(direction - 1)];
  }
};

// Reads node `node` (1..node_count) at every stored step: one record of
// u01.unf a step. Before it reads, checks that the file holds every step and
// that the history fits the memory at hand. Errors name the file (a node out
// of range, a file that ends before the last step), out_of_memory names the
// step count, or the Status `report` stopped it with.
Status read_node_history(const Problem& problem, std::int32_t node, NodeHistory* history,
                         const ScanReport& report = nullptr);

// The displacement component largest in magnitude over every node, direction
// and stored step (values that are not numbers are passed over); node 0 when
// there is none.
struct LargestDisplacement {
  float value = 0;  // with its sign
  std::int32_t node = 0;
  int direction = 0;
  std::int32_t step = 0;
  std::string non_finite;  // as NodeHistory::non_finite, over every step
};

// One pass over u01.unf in order, read in chunks of a few megabytes. Errors
// name the file (one that ends before the last step), or are the Status
// `report` stopped it with.
Status find_largest_displacement(const Problem& problem, LargestDisplacement* largest,
                                 const ScanReport& report = nullptr);
