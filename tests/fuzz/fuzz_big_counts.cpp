// Fuzz target: counts that big files back. A small header gives the sizes of
// comdin.dat (node_count, element_count, incidence_width, NGL, the stored
// points) and the sizes of x.unf, nei.unf, u01.unf and el.unf; the rest of
// the input, cut at kPartSeparator, is the start of each of the four files,
// which are then extended to their sizes as sparse files (ftruncate): they
// take no disk, yet back counts far beyond the memory at hand. comdin.dat
// may be padded with zero bytes to 2^k bytes, a last line that never ends.
//
// The memory the process may have is capped at 16 MiB: the load, every read
// of a step and the tools' passes over u01.unf must refuse what needs more
// before they allocate it (no single allocation beyond the cap plus the
// readers' fixed windows), and every failure is one message naming its file.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/memory_budget.h"
#include "base/shown_text.h"
#include "fuzz_support.h"
#include "input/load_problem.h"
#include "input/result_format.h"
#include "input/step_records.h"
#include "result_scan.h"

namespace {

constexpr std::int64_t kMemoryCap = std::int64_t{16} << 20;
// The readers' own windows and chunks, whatever the counts: the sequential
// reader's 1 MiB, a step's chunk of a quarter megabyte, the text lines.
constexpr std::size_t kFixedBytes = std::size_t{2} << 20;

const char* const kBinaryNames[] = {"x.unf", "nei.unf", "u01.unf", "el.unf"};

struct Header {
  std::int32_t node_count = 0, element_count = 0, incidence_width = 0, points = 0;
  int ngl = 2;
  std::uint32_t sizes[4] = {};  // of x.unf, nei.unf, u01.unf, el.unf
  int comdin_bits = 0;          // comdin.dat padded to 2^bits bytes (none below 12)
};

std::uint32_t take_u32(std::string_view& data) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    const unsigned char byte = data.empty() ? 0 : static_cast<unsigned char>(data.front());
    if (!data.empty()) data.remove_prefix(1);
    value |= static_cast<std::uint32_t>(byte) << (8 * i);
  }
  return value;
}

Header take_header(std::string_view& data) {
  Header h;
  h.node_count = static_cast<std::int32_t>(take_u32(data));
  h.element_count = static_cast<std::int32_t>(take_u32(data));
  h.incidence_width = static_cast<std::int32_t>(take_u32(data));
  h.points = static_cast<std::int32_t>(take_u32(data));
  const std::uint32_t flags = take_u32(data);
  h.ngl = 2 + static_cast<int>(flags & 1);
  h.comdin_bits = static_cast<int>((flags >> 1) % 33);
  // Up to 1 GiB each: enough to back counts far beyond the cap, and quick
  // to read through where a reader reads a file whole.
  for (std::uint32_t& size : h.sizes) size = take_u32(data) >> 2;
  return h;
}

std::string comdin_text(const Header& h) {
  std::string text = " " + std::to_string(h.node_count) + " 0 0 " + std::to_string(h.element_count) + " " +
                     std::to_string(h.ngl) + " " + std::to_string(h.incidence_width) + " 1 1\n";
  text += " 1 0.5 10.0 1 0.25 10 0.5\n";
  text += " 1 0.0 10.0 " + std::to_string(h.points) + "\n";
  text += " 0.1 0.2 9.81 1.0 5\n 3*0.0\n 3*0.0\n 3*0.0\n";
  for (int g = 0; g < 6; ++g) text += " 25*0.0\n";
  text += " 1e-4 1e-6 0 0 1 0 0 1 0 0\nnone.dat\nlisting.lst\nground.acc\nEL CENTRO\nkN\nm\nEnglish\n";
  return text;
}

// Writes `start` as file `name` of the scratch folder, then extends it to
// `size` bytes (a hole, not data) when that is larger.
void write_sparse(const std::string& name, std::string_view start, std::uint64_t size) {
  fuzz_write_file(name, start);
  if (size <= start.size()) return;
  const std::string path = fuzz_scratch_folder() + "/" + name;
  if (::truncate(path.c_str(), static_cast<off_t>(size)) != 0) {
    std::perror(path.c_str());
    std::abort();
  }
}

// A failure must be one line naming its file, and text.
void check_failure(const char* what, const Status& status) {
  fuzz_check_message(what, status.message());
  if (status.message() != shown_text(status.message(), status.message().size())) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input = fuzz_bytes(data, size);
  const Header h = take_header(input);
  const auto parts = fuzz_split_parts(input, 4);
  const std::string comdin = comdin_text(h);
  write_sparse("comdin.dat", comdin, h.comdin_bits >= 12 ? std::uint64_t{1} << h.comdin_bits : 0);
  for (std::size_t i = 0; i < 4; ++i) write_sparse(kBinaryNames[i], i < parts.size() ? parts[i] : "", h.sizes[i]);

  cap_available_memory(kMemoryCap);
  fuzz_reset_allocations();
  LoadResult loaded = load_problem(fuzz_scratch_folder());
  fuzz_check_allocations("load_problem", static_cast<std::size_t>(kMemoryCap) + kFixedBytes);
  if (!loaded.status.is_ok()) {
    check_failure("load_problem", loaded.status);
    if (loaded.problem != nullptr) __builtin_trap();
    return 0;
  }

  // The first and the last stored step, as the extents pass and the
  // animation read them.
  StepRecords records(*loaded.problem);
  if (Status status = records.open_u01(); !status.is_ok()) {
    check_failure("open_u01", status);
    return 0;
  }
  std::vector<float> displacements, values;
  std::vector<std::int32_t> codes;
  for (std::int32_t step : {0, loaded.problem->control.step_count}) {
    if (Status status = records.read_node_step(step, &displacements); !status.is_ok()) check_failure("nodes", status);
    if (Status status = records.read_element_step(step, &values, &codes); !status.is_ok())
      check_failure("elements", status);
  }
  fuzz_check_allocations("step records", static_cast<std::size_t>(kMemoryCap) + kFixedBytes);

  // The tools' passes over u01.unf: one node's history (refused for more
  // steps than the memory holds; beyond 65536 steps that it does hold, too
  // slow to read here), and the summary's pass where the file is small
  // enough to read through quickly.
  const ProblemControl& c = loaded.problem->control;
  const std::int64_t steps = std::int64_t{c.step_count} + 1;
  const std::int64_t history_bytes = steps * static_cast<std::int64_t>(sizeof(float)) * (c.NGL + 1);
  if (c.node_count > 0 && (steps <= 65536 || history_bytes > kMemoryCap)) {
    NodeHistory history;
    if (Status status = read_node_history(*loaded.problem, 1, &history); !status.is_ok())
      check_failure("read_node_history", status);
  }
  if (steps * c.node_count * u01_record_bytes(c.NGL) <= (std::int64_t{64} << 20)) {
    LargestDisplacement largest;
    if (Status status = find_largest_displacement(*loaded.problem, &largest); !status.is_ok())
      check_failure("find_largest_displacement", status);
  }
  fuzz_check_allocations("the tools' passes", static_cast<std::size_t>(kMemoryCap) + kFixedBytes);
  return 0;
}
