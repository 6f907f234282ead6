#include "result_scan.h"

#include <cmath>

#include "input/binary_file.h"
#include "input/file_lookup.h"
#include "input/step_records.h"

Status read_node_history(const Problem& problem, std::int32_t node, NodeHistory* history) {
  const ProblemControl& c = problem.control;
  if (node < 1 || node > c.node_count)
    return Status::error("u01.unf: there is no node " + std::to_string(node) + "; the problem has nodes 1 to " +
                         std::to_string(c.node_count));
  const std::string path = find_in_folder(problem.working_directory, "u01.unf");
  BinaryFile file;
  if (Status status = file.open(path.empty() ? join_path(problem.working_directory, "u01.unf") : path, "u01.unf");
      !status)
    return status;
  history->node = node;
  history->NGL = c.NGL;
  history->time.clear();
  history->displacement.clear();
  const std::size_t record_values = static_cast<std::size_t>(c.NGL);
  std::vector<unsigned char> record(4 * record_values);
  for (std::int32_t s = 0; s <= c.step_count; ++s) {
    const std::int64_t offset =
        record_offset(step_record_number(s, c.node_count, node), u01_record_bytes(c.NGL));
    if (file.read_at(offset, record.size(), record.data()) != static_cast<std::int64_t>(record.size()))
      return Status::error("u01.unf: step " + std::to_string(s) + " of node " + std::to_string(node) +
                           " cannot be read; the file ends before step " + std::to_string(c.step_count));
    history->time.push_back(step_time(s, c.time_step));
    for (std::size_t j = 0; j < record_values; ++j) history->displacement.push_back(decode_f32(&record[4 * j]));
  }
  return Status::ok();
}

Status find_largest_displacement(const Problem& problem, LargestDisplacement* largest) {
  *largest = LargestDisplacement{};
  const ProblemControl& c = problem.control;
  StepRecords records(problem);
  if (Status status = records.open_u01(); !status) return status;
  std::vector<float> step;
  float magnitude = -1;
  for (std::int32_t s = 0; s <= c.step_count; ++s) {
    if (Status status = records.read_node_step(s, &step); !status) return status;
    for (std::size_t i = 0; i < step.size(); ++i) {
      const float v = std::fabs(step[i]);
      if (v > magnitude) {  // false for a value that is not a number
        magnitude = v;
        largest->value = step[i];
        largest->node = static_cast<std::int32_t>(i / static_cast<std::size_t>(c.NGL)) + 1;
        largest->direction = static_cast<int>(i % static_cast<std::size_t>(c.NGL)) + 1;
        largest->step = s;
      }
    }
  }
  return Status::ok();
}
