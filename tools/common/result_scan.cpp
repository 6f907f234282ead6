#include "result_scan.h"

#include <algorithm>
#include <cmath>

#include "input/binary_file.h"
#include "input/file_lookup.h"
#include "input/result_format.h"
#include "input/step_records.h"

Status read_node_history(const Problem& problem, std::int32_t node, NodeHistory* history) {
  const ProblemControl& c = problem.control;
  if (node < 1 || node > c.node_count)
    return Status::invalid_argument("u01.unf: there is no node " + std::to_string(node) + "; the problem has nodes 1 to " +
                         std::to_string(c.node_count));
  const std::string path = find_in_folder(problem.working_directory, "u01.unf");
  BinaryFile file;
  if (Status status = file.open(path.empty() ? join_path(problem.working_directory, "u01.unf") : path, "u01.unf");
      !status.is_ok())
    return status;
  history->node = node;
  history->NGL = c.NGL;
  history->time.clear();
  history->displacement.clear();
  // The displacements at the start of the record.
  std::vector<unsigned char> record(static_cast<std::size_t>(u01_displacement_offset(c.NGL + 1)));
  for (std::int32_t s = 0; s <= c.step_count; ++s) {
    const std::int64_t offset =
        record_offset(step_record_number(s, c.node_count, node), u01_record_bytes(c.NGL));
    std::size_t got = 0;
    if (Status status = file.read_at(offset, record.size(), record.data(), &got); !status.is_ok()) return status;
    if (got != record.size())
      return Status::damaged("u01.unf: step " + std::to_string(s) + " of node " + std::to_string(node) +
                           " cannot be read; the file ends before step " + std::to_string(c.step_count));
    history->time.push_back(step_time(s, c.time_step));
    for (int j = 1; j <= c.NGL; ++j) history->displacement.push_back(decode_f32(&record[u01_displacement_offset(j)]));
  }
  return Status::ok();
}

Status find_largest_displacement(const Problem& problem, LargestDisplacement* largest) {
  *largest = LargestDisplacement{};
  const ProblemControl& c = problem.control;
  if (c.node_count <= 0 || c.NGL <= 0) return Status::ok();
  const std::string path = find_in_folder(problem.working_directory, "u01.unf");
  BinaryFile file;
  if (Status status = file.open(path.empty() ? join_path(problem.working_directory, "u01.unf") : path, "u01.unf");
      !status.is_ok())
    return status;

  // The records of steps 0..step_count lie one after another from the start
  // of the file: read them in order, a few megabytes at a time (small enough
  // to stay in the processor's cache while the values are looked at), whole
  // records per chunk.
  const std::int64_t record_bytes = u01_record_bytes(c.NGL);
  const std::int64_t records = (std::int64_t{c.step_count} + 1) * c.node_count;
  const std::int64_t chunk_records = std::max<std::int64_t>(1, (std::int64_t{4} << 20) / record_bytes);
  std::vector<unsigned char> chunk(static_cast<std::size_t>(chunk_records * record_bytes));
  float magnitude = -1;
  std::int64_t best = -1;  // 0-based record of the largest value
  int best_direction = 0;
  for (std::int64_t first = 0; first < records; first += chunk_records) {
    const std::int64_t count = std::min(chunk_records, records - first);
    const std::size_t length = static_cast<std::size_t>(count * record_bytes);
    std::size_t got = 0;
    if (Status status = file.read_at(first * record_bytes, length, chunk.data(), &got); !status.is_ok()) return status;
    if (got != length) {
      const std::int64_t size = file.size();
      const std::int64_t steps = size < 0 ? 0 : size / (record_bytes * c.node_count);
      return Status::damaged("u01.unf: the file ends before step " + std::to_string(c.step_count) + "; it holds " +
                           (steps == 0 ? std::string("no complete step")
                                       : "steps 0 to " + std::to_string(steps - 1)));
    }
    const unsigned char* record = chunk.data();
    for (std::int64_t r = 0; r < count; ++r, record += record_bytes) {
      for (int j = 0; j < c.NGL; ++j) {
        const float value = decode_f32(record + u01_displacement_offset(j + 1));
        if (std::fabs(value) > magnitude) {  // false for a value that is not a number
          magnitude = std::fabs(value);
          largest->value = value;
          best = first + r;
          best_direction = j + 1;
        }
      }
    }
  }
  if (best < 0) return Status::ok();
  largest->step = static_cast<std::int32_t>(best / c.node_count);
  largest->node = static_cast<std::int32_t>(best % c.node_count) + 1;
  largest->direction = best_direction;
  return Status::ok();
}
