// Fuzz target: the step records of u01.unf and el.unf. The input starts with
// a header of 18 bytes (little-endian): node_count (int32), element_count
// (int32), both cut to their low 16 bits (a loaded problem's counts are never
// negative and are backed by x.unf and nei.unf, which are not given here), NGL selector (1 byte: 2 + its lowest bit), first step (int32),
// number of steps to read (1 byte, at most 8), time_step (float); then
// u01.unf and, after a part separator, el.unf (no separator: no el.unf).
//
// Under a sanitizer the target also watches every allocation of a read: none
// may be larger than the step files or the read's own result can back, so a
// step buffer sized from the counts before the file was measured is a finding
// even when the counts are small.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "input/binary_file.h"
#include "input/step_records.h"

namespace {

constexpr std::size_t kHeader = 18;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kHeader) return 0;
  Problem problem;
  problem.working_directory = fuzz_scratch_folder();
  problem.control.node_count = decode_i32(data) & 0xffff;
  problem.control.element_count = decode_i32(data + 4) & 0xffff;
  problem.control.NGL = 2 + (data[8] & 1);
  const std::int32_t first_step = decode_i32(data + 9);
  const int steps = data[13] % 9;
  problem.control.time_step = decode_f32(data + 14);

  const auto parts = fuzz_split_parts(fuzz_bytes(data + kHeader, size - kHeader), 2);
  fuzz_write_file("u01.unf", parts[0]);
  if (parts.size() > 1) {
    fuzz_write_file("el.unf", parts[1]);
  } else {
    fuzz_remove_file("el.unf");
  }

  const std::size_t file_bytes = std::max(parts[0].size(), parts.size() > 1 ? parts[1].size() : 0);
  const std::size_t node_values = static_cast<std::size_t>(problem.control.node_count) * 3 * sizeof(float);
  const std::size_t element_values = static_cast<std::size_t>(problem.control.element_count) * sizeof(float);
  fuzz_reset_allocations();
  StepRecords records(problem);
  if (Status status = records.open_u01(); !status.is_ok()) {
    fuzz_check_message("open_u01", status.message());
    return 0;
  }
  std::vector<float> displacements;
  std::vector<float> element_value;
  std::vector<std::int32_t> element_code;
  for (int i = 0; i < steps; ++i) {
    const std::int32_t step = static_cast<std::int32_t>(static_cast<std::uint32_t>(first_step) + static_cast<std::uint32_t>(i));
    fuzz_check_allocations("open and earlier reads", file_bytes);
    Status node_status = records.read_node_step(step, &displacements);
    fuzz_check_allocations("read_node_step", std::max(file_bytes, node_values));
    if (Status status = node_status; !status.is_ok()) {
      fuzz_check_message("read_node_step", status.message());
    } else if (displacements.size() !=
               static_cast<std::size_t>(problem.control.node_count) * static_cast<std::size_t>(problem.control.NGL)) {
      __builtin_trap();
    }
    Status element_status = records.read_element_step(step, &element_value, &element_code);
    fuzz_check_allocations("read_element_step", std::max(file_bytes, element_values));
    if (Status status = element_status; !status.is_ok()) {
      fuzz_check_message("read_element_step", status.message());
    } else if (element_value.size() != static_cast<std::size_t>(problem.control.element_count) ||
               element_code.size() != element_value.size()) {
      __builtin_trap();
    }
    (void)records.step_time(step);
  }
  records.close();
  return 0;
}
