#include "input/step_records.h"

#include <algorithm>
#include <limits>
#include <system_error>

#include "base/shown_text.h"
#include "input/file_lookup.h"

float step_time(std::int32_t step, float time_step) {
  float real_step = static_cast<float>(step);
  return real_step * time_step;
}

StepRecords::StepRecords(const Problem& problem)
    : folder_(problem.working_directory),
      node_count_(problem.control.node_count),
      element_count_(problem.control.element_count),
      ngl_(problem.control.NGL),
      time_step_(problem.control.time_step) {}

Status StepRecords::open_in_folder(const char* name, BinaryFile* file) {
  if (folder_.empty()) return Status::not_found(std::string(name) + ": no problem has been loaded");
  std::string path = find_in_folder(folder_, name);
  if (path.empty()) return Status::not_found(std::string(name) + ": not found in " + shown_text(folder_));
  return file->open(path, shown_name(path));
}

Status StepRecords::open_u01() {
  drop_ahead();
  return open_in_folder("u01.unf", &u01_);
}

Status StepRecords::open_el() {
  if (el_.is_open()) return Status::ok();
  return open_in_folder("el.unf", &el_);
}

StepRecords::~StepRecords() { finish_ahead(); }

void StepRecords::finish_ahead() {
  if (ahead_thread_.joinable()) ahead_thread_.join();
}

void StepRecords::drop_ahead() {
  finish_ahead();
  shared_.step = -1;
  MutexLock lock(ahead_.mutex);
  ahead_.nodes = false;
}

void StepRecords::close_u01() {
  drop_ahead();
  u01_.close();
}

void StepRecords::close() {
  drop_ahead();
  u01_.close();
  el_.close();
}

std::int64_t StepRecords::step_bytes(bool elements) const {
  std::int64_t bytes = std::int64_t{node_count_} * u01_record_bytes(ngl_);
  if (elements) bytes += std::int64_t{element_count_} * el_record_bytes(ngl_);
  return bytes;
}

void StepRecords::read_ahead(std::int32_t step, bool elements) {
  drop_ahead();
  if (!u01_.is_open()) return;
  // An el.unf that cannot be connected is met again, and reported, by the
  // caller's own read.
  if (elements && (element_count_ == 0 || !open_el().is_ok())) elements = false;
  start_ahead(step, true, elements);
}

void StepRecords::read_elements_ahead(std::int32_t step) {
  drop_ahead();
  if (element_count_ == 0 || !open_el().is_ok()) return;
  start_ahead(step, false, true);
}

void StepRecords::start_ahead(std::int32_t step, bool nodes, bool elements) {
  {
    MutexLock lock(ahead_.mutex);
    ahead_.step = step;
  }
  if (elements) {
    shared_.values.resize(static_cast<std::size_t>(element_count_));
    shared_.codes.resize(static_cast<std::size_t>(element_count_));
    shared_.next.store(0, std::memory_order_relaxed);
    shared_.helper_ok = false;
  }
  try {
    ahead_thread_ = std::thread([this, step, nodes, elements] {
      MutexLock lock(ahead_.mutex);
      // The root of the helper: nothing escapes it. A step it could not read
      // is simply not taken.
      try {
        if (nodes) ahead_.nodes = read_nodes(step, &ahead_.displacements, ahead_.buffer).is_ok();
        if (elements)
          shared_.helper_ok =
              read_elements(step, &shared_.values, &shared_.codes, ahead_.buffer, &shared_.next).is_ok();
      } catch (...) {
        ahead_.nodes = shared_.helper_ok = false;
      }
    });
    ahead_reads_nodes_ = nodes;
    if (elements) shared_.step = step;
  } catch (const std::system_error&) {
    // No thread to be had: the step is read when it is asked for.
  }
}

namespace {

// Bytes read by one system call: whole records, about a quarter megabyte, so
// that the records of a chunk are decoded while they are still in the cache.
constexpr std::int64_t kChunkBytes = std::int64_t{1} << 18;

}  // namespace

template <class Decode>
Status StepRecords::read_step(const BinaryFile& file, std::int32_t step, std::int32_t count,
                              std::int64_t record_bytes, std::vector<unsigned char>& buffer,
                              Decode&& decode, std::atomic<std::int64_t>* claim) const {
  if (step < 0) return Status::damaged(file.name() + ": step " + std::to_string(step) + " does not exist");
  const std::int64_t step_bytes = std::int64_t{count} * record_bytes;
  const std::int64_t size = file.size();
  auto beyond_the_end = [&] {
    std::int64_t steps = size < 0 ? 0 : size / step_bytes;
    std::string held = steps == 0 ? "no complete step" : "steps 0 to " + std::to_string(steps - 1);
    return Status::damaged(file.name() + ": step " + std::to_string(step) +
                           " is beyond the end of the file, which holds " + held);
  };
  // The step must lie within the file before it is read: the counts come
  // from comdin.dat, the size from the disk.
  if (std::int64_t{step} >= std::numeric_limits<std::int64_t>::max() / step_bytes) return beyond_the_end();
  const std::int64_t start = record_offset(step_record_number(step, count, 1), record_bytes);
  if (size < 0 || start > size - step_bytes) return beyond_the_end();
  const std::int64_t per_chunk = std::max<std::int64_t>(1, kChunkBytes / record_bytes);
  const std::int64_t chunk_records = std::min<std::int64_t>(per_chunk, count);
  const std::size_t chunk_bytes = static_cast<std::size_t>(chunk_records * record_bytes);
  if (buffer.size() < chunk_bytes) buffer.resize(chunk_bytes);
  // The first item of the next chunk: the one after this, or the next claimed.
  const auto next_chunk = [&](std::int64_t after) {
    return claim ? claim->fetch_add(chunk_records, std::memory_order_relaxed) : after;
  };
  for (std::int64_t first = next_chunk(0); first < count; first = next_chunk(first + chunk_records)) {
    const std::int64_t records = std::min<std::int64_t>(chunk_records, count - first);
    const std::size_t length = static_cast<std::size_t>(records * record_bytes);
    std::size_t got = 0;
    if (Status status = file.read_at(start + first * record_bytes, length, buffer.data(), &got); !status.is_ok())
      return status;
    if (got < length) return beyond_the_end();  // the file has shrunk since
    decode(buffer.data(), static_cast<std::size_t>(first), static_cast<std::size_t>(records));
  }
  return Status::ok();
}

Status StepRecords::read_node_step(std::int32_t step, std::vector<float>* displacements) {
  if (!u01_.is_open()) return Status::io_error("u01.unf: not connected");
  // A helper reading only el.unf goes on meanwhile: it touches nothing of
  // u01.unf's, and holds no nodes to take.
  if (ahead_thread_.joinable() && !ahead_reads_nodes_) return read_nodes(step, displacements, buffer_);
  finish_ahead();
  {
    MutexLock lock(ahead_.mutex);
    if (ahead_.nodes && ahead_.step == step) {
      ahead_.nodes = false;
      displacements->swap(ahead_.displacements);
      return Status::ok();
    }
  }
  return read_nodes(step, displacements, buffer_);
}

Status StepRecords::read_element_step(std::int32_t step, std::vector<float>* element_value,
                                      std::vector<std::int32_t>* element_code) {
  if (Status status = open_el(); !status.is_ok()) return status;
  // When the helper reads this step's records, the chunks it has not taken
  // yet are read here alongside it. A chunk that either could not read
  // leaves the step to the whole read below, which meets the fault and
  // reports it.
  const bool mine_ok = shared_.step == step &&
                       read_elements(step, &shared_.values, &shared_.codes, buffer_, &shared_.next).is_ok();
  finish_ahead();
  shared_.step = -1;
  if (mine_ok && shared_.helper_ok) {
    element_value->swap(shared_.values);
    element_code->swap(shared_.codes);
    return Status::ok();
  }
  return read_elements(step, element_value, element_code, buffer_);
}

Status StepRecords::read_nodes(std::int32_t step, std::vector<float>* displacements,
                               std::vector<unsigned char>& buffer) const {
  const std::size_t values = static_cast<std::size_t>(node_count_) * static_cast<std::size_t>(ngl_);
  displacements->resize(values);
  if (node_count_ == 0) return Status::ok();
  const std::int64_t record_bytes = u01_record_bytes(ngl_);
  const int ngl = ngl_;
  float* out = displacements->data();
  return read_step(u01_, step, node_count_, record_bytes, buffer,
                   [&](const unsigned char* record, std::size_t first, std::size_t records) {
                     float* d = out + first * static_cast<std::size_t>(ngl);
                     for (std::size_t n = 0; n < records; ++n, record += record_bytes, d += ngl)
                       decode_u01_displacements(record, ngl, d);
                   });
}

Status StepRecords::read_elements(std::int32_t step, std::vector<float>* element_value,
                                  std::vector<std::int32_t>* element_code,
                                  std::vector<unsigned char>& buffer,
                                  std::atomic<std::int64_t>* claim) const {
  if (claim == nullptr) {
    element_value->resize(static_cast<std::size_t>(element_count_));
    element_code->resize(static_cast<std::size_t>(element_count_));
  }
  if (element_count_ == 0) return Status::ok();
  const std::int64_t record_bytes = el_record_bytes(ngl_);
  const int ngl = ngl_;
  float* values = element_value->data();
  std::int32_t* codes = element_code->data();
  return read_step(el_, step, element_count_, record_bytes, buffer,
                   [&](const unsigned char* record, std::size_t first, std::size_t records) {
                     for (std::size_t e = first; e < first + records; ++e, record += record_bytes) {
                       values[e] = decode_el_value(record, ngl);
                       codes[e] = decode_el_code(record, ngl);
                     }
                   },
                   claim);
}
