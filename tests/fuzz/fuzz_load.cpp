// Fuzz target: the whole load of a problem. The input is cut into comdin.dat,
// x.unf, nei.unf and, when present, input.dat (the analysis input file whose
// title a comdin.dat naming "input.dat" takes); the parts are written into a
// scratch folder, which is then loaded as a new-graph run loads its folder.
// No allocation of the load may be larger than twice the bytes of the files
// plus the 1 MiB window of the binary reader: a count the files cannot back
// is an error before anything is allocated from it.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "input/load_problem.h"

namespace {

const char* const kNames[] = {"comdin.dat", "x.unf", "nei.unf", "input.dat"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto parts = fuzz_split_parts(fuzz_bytes(data, size), 4);
  std::size_t file_bytes = 0;
  for (std::string_view part : parts) file_bytes += part.size();
  for (std::size_t i = 0; i < 4; ++i) {
    if (i < parts.size()) {
      fuzz_write_file(kNames[i], parts[i]);
    } else {
      fuzz_remove_file(kNames[i]);
    }
  }
  fuzz_reset_allocations();
  LoadResult result = load_problem(fuzz_scratch_folder());
  fuzz_check_allocations("load_problem", 2 * file_bytes + (std::size_t{1} << 20));
  if (!result.status.is_ok()) {
    fuzz_check_message("load_problem", result.status.message());
    if (result.problem != nullptr) __builtin_trap();  // a problem is built whole or not at all
    return 0;
  }
  // A loaded problem's tables match its sizes.
  const Problem& p = *result.problem;
  const std::size_t cells = static_cast<std::size_t>(p.control.node_count) * static_cast<std::size_t>(p.control.NGL);
  if (p.node_coords_table.size() != cells || p.restraint_table.size() != cells ||
      p.elastic_values_table.size() != cells ||
      p.elastic_support.size() != static_cast<std::size_t>(p.control.node_count) ||
      p.element_node1.size() != static_cast<std::size_t>(p.control.element_count) ||
      p.element_node2.size() != static_cast<std::size_t>(p.control.element_count) ||
      p.origin_node < 0 || p.origin_node > p.control.node_count || p.control.problem_title.size() > 80) {
    __builtin_trap();
  }
  for (std::int32_t node : p.element_node1) {
    if (node < 0 || node > p.control.node_count) __builtin_trap();
  }
  for (std::int32_t node : p.element_node2) {
    if (node < 0 || node > p.control.node_count) __builtin_trap();
  }
  return 0;
}
