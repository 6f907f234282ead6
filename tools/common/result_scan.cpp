#include "result_scan.h"

#include <algorithm>
#include <cmath>

#include "base/memory_budget.h"
#include "input/binary_file.h"
#include "input/file_lookup.h"
#include "input/finite_values.h"
#include "input/result_format.h"
#include "input/step_records.h"

namespace {

// A value that is not a finite number leaves a gap in a curve and is passed
// over by the search for the largest.
constexpr const char* kHistoryGap = "; the curve leaves it out";
constexpr const char* kPassedOver = "; the search for the largest displacement passes over it";

Status open_u01(const Problem& problem, BinaryFile* file) {
  const std::string path = find_in_folder(problem.working_directory, "u01.unf");
  return file->open(path.empty() ? join_path(problem.working_directory, "u01.unf") : path, "u01.unf");
}

// "u01.unf: the file ends before step N; it holds ...", from its size.
Status ends_before_last_step(const BinaryFile& file, const ProblemControl& c) {
  const std::int64_t size = file.size();
  const std::int64_t step_bytes = u01_record_bytes(c.NGL) * c.node_count;
  const std::int64_t steps = size < 0 || step_bytes <= 0 ? 0 : size / step_bytes;
  return Status::damaged("u01.unf: the file ends before step " + std::to_string(c.step_count) + "; it holds " +
                         (steps == 0 ? std::string("no complete step") : "steps 0 to " + std::to_string(steps - 1)));
}

// Whether the file holds every record of steps 0..step_count.
bool holds_every_step(const BinaryFile& file, const ProblemControl& c) {
  const std::int64_t size = file.size();
  const std::int64_t step_bytes = u01_record_bytes(c.NGL) * c.node_count;
  return size >= 0 && (std::int64_t{c.step_count} + 1) <= size / std::max<std::int64_t>(step_bytes, 1);
}

}  // namespace

Status read_node_history(const Problem& problem, std::int32_t node, NodeHistory* history, const ScanReport& report) {
  const ProblemControl& c = problem.control;
  if (node < 1 || node > c.node_count)
    return Status::invalid_argument("u01.unf: there is no node " + std::to_string(node) + "; the problem has nodes 1 to " +
                         std::to_string(c.node_count));
  BinaryFile file;
  if (Status status = open_u01(problem, &file); !status.is_ok()) return status;
  if (!holds_every_step(file, c)) return ends_before_last_step(file, c);
  const std::int64_t steps = std::int64_t{c.step_count} + 1;
  const std::int64_t bytes = steps * static_cast<std::int64_t>(sizeof(float)) * (c.NGL + 1);
  if (Status status = check_memory("step_count " + std::to_string(c.step_count), bytes); !status.is_ok())
    return status;
  history->node = node;
  history->NGL = c.NGL;
  history->non_finite.clear();
  history->time.clear();
  history->displacement.clear();
  history->time.reserve(static_cast<std::size_t>(steps));
  history->displacement.reserve(static_cast<std::size_t>(steps * c.NGL));
  // The displacements at the start of the record.
  std::vector<unsigned char> record(static_cast<std::size_t>(u01_displacement_offset(c.NGL + 1)));
  constexpr std::int32_t kReportEvery = 4096;
  for (std::int32_t s = 0; s <= c.step_count; ++s) {
    if (report && s % kReportEvery == 0 && s > 0) {
      if (Status status = report(s, steps); !status.is_ok()) return status;
    }
    const std::int64_t offset =
        record_offset(step_record_number(s, c.node_count, node), u01_record_bytes(c.NGL));
    std::size_t got = 0;
    if (Status status = file.read_at(offset, record.size(), record.data(), &got); !status.is_ok()) return status;
    if (got != record.size()) return ends_before_last_step(file, c);  // the file has shrunk since
    history->time.push_back(step_time(s, c.time_step));
    for (int j = 1; j <= c.NGL; ++j) {
      const float value = decode_f32(&record[u01_displacement_offset(j)]);
      if (history->non_finite.empty() && !std::isfinite(value)) {
        history->non_finite = non_finite_line("u01.unf", s, static_cast<std::size_t>(node - 1) * c.NGL + j - 1,
                                              c.NGL, "displacement", value, kHistoryGap);
      }
      history->displacement.push_back(value);
    }
  }
  if (report) return report(steps, steps);
  return Status::ok();
}

Status find_largest_displacement(const Problem& problem, LargestDisplacement* largest, const ScanReport& report) {
  *largest = LargestDisplacement{};
  const ProblemControl& c = problem.control;
  if (c.node_count <= 0 || c.NGL <= 0) return Status::ok();
  BinaryFile file;
  if (Status status = open_u01(problem, &file); !status.is_ok()) return status;
  // A file that cannot hold every step is told before the pass, not at its end.
  if (!holds_every_step(file, c)) return ends_before_last_step(file, c);

  // The records of steps 0..step_count lie one after another from the start
  // of the file: read them in order, a few megabytes at a time (small enough
  // to stay in the processor's cache while the values are looked at), whole
  // records per chunk.
  const std::int64_t record_bytes = u01_record_bytes(c.NGL);
  const std::int64_t steps = std::int64_t{c.step_count} + 1;
  const std::int64_t records = steps * c.node_count;
  const std::int64_t chunk_records = std::max<std::int64_t>(1, (std::int64_t{4} << 20) / record_bytes);
  std::vector<unsigned char> chunk(static_cast<std::size_t>(chunk_records * record_bytes));
  float magnitude = -1;
  std::int64_t best = -1;  // 0-based record of the largest value
  int best_direction = 0;
  for (std::int64_t first = 0; first < records; first += chunk_records) {
    if (report && first > 0) {
      if (Status status = report(first / c.node_count, steps); !status.is_ok()) return status;
    }
    const std::int64_t count = std::min(chunk_records, records - first);
    const std::size_t length = static_cast<std::size_t>(count * record_bytes);
    std::size_t got = 0;
    if (Status status = file.read_at(first * record_bytes, length, chunk.data(), &got); !status.is_ok()) return status;
    if (got != length) return ends_before_last_step(file, c);  // the file has shrunk since
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
        if (largest->non_finite.empty() && !std::isfinite(value)) {
          const std::int64_t at = first + r;
          largest->non_finite =
              non_finite_line("u01.unf", at / c.node_count, static_cast<std::size_t>(at % c.node_count) * c.NGL + j,
                              c.NGL, "displacement", value, kPassedOver);
        }
      }
    }
  }
  if (report) {
    if (Status status = report(steps, steps); !status.is_ok()) return status;
  }
  if (best < 0) return Status::ok();
  largest->step = static_cast<std::int32_t>(best / c.node_count);
  largest->node = static_cast<std::int32_t>(best % c.node_count) + 1;
  largest->direction = best_direction;
  return Status::ok();
}
