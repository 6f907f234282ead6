#include "input/model_geometry.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/memory_budget.h"
#include "base/shown_text.h"
#include "input/binary_file.h"
#include "input/file_lookup.h"
#include "input/finite_values.h"
#include "input/result_format.h"

namespace {

Status open_in(const std::string& folder, const char* name, BinaryFile* file) {
  std::string path = find_in_folder(folder, name);
  if (path.empty()) return Status::not_found(std::string(name) + ": not found in " + shown_text(folder));
  return file->open(path, shown_name(path));
}

// The outcome of a read that must be complete: ok, the system's failure, or
// the file ending first as short_message(). The message is made only when
// it is wanted: these reads run once a node, and building a text each time
// cost more than the reading.
template <class Message>
Status need_whole(ReadEnd end, const BufferedReader& reader, Message&& short_message) {
  switch (end) {
    case ReadEnd::complete:
      return Status::ok();
    case ReadEnd::end_of_file:
      return Status::damaged(short_message());
    case ReadEnd::failed:
      break;
  }
  return reader.failure();
}

// Pairs of a nei.unf record read at once.
constexpr std::int64_t kPairsPerChunk = 8192;

std::string count_text(std::int64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

Status read_model_geometry(const std::string& folder, ControlData&& data, std::shared_ptr<Problem>* problem,
                           std::vector<std::string>* warnings) {
  const ProblemControl& control = data.control;
  const int ngl = control.NGL;
  const std::int64_t nodes = control.node_count;
  const std::int64_t width = control.incidence_width;

  // Counts first, against what the files can hold.
  BinaryFile x_file;
  if (Status status = open_in(folder, "x.unf", &x_file); !status.is_ok()) return status;
  std::int64_t x_records = x_file.size() / x_record_bytes(ngl);
  if (x_records < nodes) {
    return Status::damaged(x_file.name() + ": " + count_text(x_records, "record", "records") + ", " +
                         std::to_string(nodes) + " needed");
  }
  BinaryFile nei_file;
  if (Status status = open_in(folder, "nei.unf", &nei_file); !status.is_ok()) return status;
  const std::int64_t nei_size = nei_file.size();
  // Each record takes its two length markers and at least `width` integers;
  // compared by division, so that huge counts cannot overflow.
  const std::int64_t record_minimum = nei_record_bytes(kWordBytes * width);
  if (nodes > 0 && record_minimum > nei_size / nodes) {
    return Status::damaged(nei_file.name() + ": " + count_text(nei_size, "byte", "bytes") + ", too short for " +
                         std::to_string(nodes) + " records of " + std::to_string(width) + " integers");
  }
  {
    std::int64_t el_records = 0;
    std::string el_path = find_in_folder(folder, "el.unf");
    BinaryFile el_file;
    if (!el_path.empty() && el_file.open(el_path, shown_name(el_path)).is_ok()) el_records = el_file.size() / el_record_bytes(ngl);
    std::int64_t nei_integers = nei_size / 4;
    if (control.element_count > el_records && control.element_count > nei_integers) {
      return Status::damaged(data.file_name + ": element_count " + std::to_string(control.element_count) +
                           " is more than el.unf and nei.unf can reference (el.unf holds " +
                           count_text(el_records, "record", "records") + ", nei.unf " +
                           count_text(nei_integers, "integer", "integers") + ")");
    }
  }

  // Memory next, against what the process can have, before anything is
  // allocated.
  {
    const std::int64_t available = available_memory();
    const std::int64_t node_bytes = nodes * graph_bytes_per_node(ngl);
    if (Status status = check_memory("node_count " + std::to_string(nodes), node_bytes, available); !status.is_ok())
      return status;
    const std::int64_t element_bytes = std::int64_t{control.element_count} * kGraphBytesPerElement;
    if (Status status = check_memory("element_count " + std::to_string(control.element_count), element_bytes,
                                     available, node_bytes);
        !status.is_ok())
      return status;
  }

  auto result = std::make_shared<Problem>();
  result->control = control;
  result->working_directory = folder;
  const std::size_t cells = static_cast<std::size_t>(nodes) * static_cast<std::size_t>(ngl);

  // Restraint and elastic tables from the lists.
  result->restraint_table.assign(cells, 0);
  result->elastic_values_table.assign(cells, 0.0f);
  for (const auto& [node, values] : data.restraint_rows) {
    for (int j = 1; j <= ngl; ++j) result->restraint_table[result->index(node, j)] = values[j - 1];
  }
  for (const auto& [node, values] : data.elastic_rows) {
    for (int j = 1; j <= ngl; ++j) result->elastic_values_table[result->index(node, j)] = values[j - 1];
  }

  // Elastic-support marks: a value that is not a number counts as not 0.
  result->elastic_support.assign(static_cast<std::size_t>(nodes), ElasticSupport());
  for (int j = 1; j <= ngl; ++j) {
    for (std::int32_t n = 1; n <= control.node_count; ++n) {
      float value = result->elastic_values(n, j);
      if (!(value == 0.0f)) {
        ElasticSupport& mark = result->elastic_support[static_cast<std::size_t>(n - 1)];
        mark.flag = -1;
        mark.value[j - 1] = value;
      }
    }
  }

  // Node coordinates: the first NGL reals of each x.unf record.
  result->node_coords_table.assign(cells, 0.0f);
  {
    BufferedReader reader(x_file);
    unsigned char record[x_read_bytes(3)];
    for (std::int64_t n = 0; n < nodes; ++n) {
      const ReadEnd end = reader.read(record_offset(n + 1, x_record_bytes(ngl)),
                                      static_cast<std::size_t>(x_read_bytes(ngl)), record);
      if (Status status = need_whole(end, reader,
                                     [&] {
                                       return x_file.name() + ": the file ends within the record of node " +
                                              std::to_string(n + 1);
                                     });
          !status.is_ok()) {
        return status;
      }
      decode_x_coordinates(record, ngl, &result->node_coords_table[static_cast<std::size_t>(n * ngl)]);
    }
  }
  x_file.close();
  const std::size_t bad = first_non_finite(result->node_coords_table.data(), cells);
  if (bad < cells)
    warnings->push_back(
        non_finite_line(x_file.name(), std::nullopt, bad, ngl, "coordinate", result->node_coords_table[bad]));

  // Origin node: the first whose coordinates are all exactly 0.
  for (std::int32_t n = 1; n <= control.node_count; ++n) {
    bool at_origin = true;
    for (int j = 1; j <= ngl; ++j) at_origin = at_origin && result->node_coords(n, j) == 0.0f;
    if (at_origin) {
      result->origin_node = n;
      break;
    }
  }
  result->origin_is_node = result->origin_node > 0;

  // Element end nodes from the incidence records, read in node order: the
  // integer at an odd position of a pair names an element whose first end is
  // the node, the one at the even position an element whose second end it is.
  result->element_node1.assign(static_cast<std::size_t>(control.element_count), 0);
  result->element_node2.assign(static_cast<std::size_t>(control.element_count), 0);
  {
    BufferedReader reader(nei_file);
    // The pairs of a record are read a chunk at a time: a record may be
    // wider than the memory at hand, and only its pairs are wanted.
    const std::int64_t pairs = width / 2;
    std::vector<unsigned char> chunk(
        static_cast<std::size_t>(kWordBytes * 2 * std::min<std::int64_t>(pairs, kPairsPerChunk)));
    std::int64_t offset = 0;
    for (std::int32_t node = 1; node <= control.node_count; ++node) {
      unsigned char marker[kWordBytes];
      const auto record_name = [&] { return nei_file.name() + ": the record of node " + std::to_string(node); };
      const auto damaged = [&] { return record_name() + " is damaged (its length markers do not match)"; };
      if (Status status = need_whole(reader.read(offset + kNeiLengthOffset, kWordBytes, marker), reader,
                                     [&] {
                                       return nei_file.name() + ": the file ends before the record of node " +
                                              std::to_string(node);
                                     });
          !status.is_ok()) {
        return status;
      }
      std::int64_t length = decode_i32(marker);
      if (length < 0 || offset + nei_record_bytes(length) > nei_size) return Status::damaged(damaged());
      unsigned char closing[kWordBytes];
      if (Status status = need_whole(reader.read(offset + nei_closing_offset(length), kWordBytes, closing), reader, damaged);
          !status.is_ok()) {
        return status;
      }
      if (decode_i32(closing) != length) return Status::damaged(damaged());
      if (length < kWordBytes * width) {
        return Status::damaged(record_name() + " holds " + count_text(length / 4, "integer", "integers") + ", " +
                               std::to_string(width) + " needed");
      }
      for (std::int64_t from = 1; from <= pairs; from += kPairsPerChunk) {
        const std::int64_t count = std::min(kPairsPerChunk, pairs - from + 1);
        if (Status status = need_whole(reader.read(offset + nei_integer_offset(2 * from - 1),
                                                   static_cast<std::size_t>(kWordBytes * 2 * count), chunk.data()),
                                       reader, damaged);
            !status.is_ok()) {
          return status;
        }
        // chunk holds the integers of pairs from .. from + count - 1.
        for (std::int64_t p = 0; p < count; ++p) {
          std::int32_t first = decode_i32(&chunk[static_cast<std::size_t>(2 * kWordBytes * p)]);
          std::int32_t second = decode_i32(&chunk[static_cast<std::size_t>(2 * kWordBytes * p + kWordBytes)]);
          if (first >= 1 && first <= control.element_count) result->element_node1[first - 1] = node;
          if (second >= 1 && second <= control.element_count) result->element_node2[second - 1] = node;
        }
      }
      offset += nei_record_bytes(length);
    }
  }
  *problem = std::move(result);
  return Status::ok();
}
