#include "input/step_records.h"

#include <limits>

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
  if (path.empty()) return Status::not_found(std::string(name) + ": not found in " + folder_);
  return file->open(path, shown_name(path));
}

Status StepRecords::open_u01() { return open_in_folder("u01.unf", &u01_); }

Status StepRecords::open_el() {
  if (el_.is_open()) return Status::ok();
  return open_in_folder("el.unf", &el_);
}

void StepRecords::close() {
  u01_.close();
  el_.close();
}

Status StepRecords::read_step(const BinaryFile& file, std::int32_t step, std::int32_t count,
                              std::int64_t record_bytes) {
  if (step < 0) return Status::damaged(file.name() + ": step " + std::to_string(step) + " does not exist");
  const std::int64_t step_bytes = std::int64_t{count} * record_bytes;
  const std::int64_t size = file.size();
  auto beyond_the_end = [&] {
    std::int64_t steps = size < 0 ? 0 : size / step_bytes;
    std::string held = steps == 0 ? "no complete step" : "steps 0 to " + std::to_string(steps - 1);
    return Status::damaged(file.name() + ": step " + std::to_string(step) +
                           " is beyond the end of the file, which holds " + held);
  };
  // The step must lie within the file before its buffer is sized: the
  // counts come from comdin.dat, the size from the disk.
  if (std::int64_t{step} >= std::numeric_limits<std::int64_t>::max() / step_bytes) return beyond_the_end();
  const std::int64_t offset = record_offset(step_record_number(step, count, 1), record_bytes);
  if (size < 0 || offset > size - step_bytes) return beyond_the_end();
  const std::size_t length = static_cast<std::size_t>(step_bytes);
  if (buffer_.size() < length) buffer_.resize(length);
  std::size_t got = 0;
  if (Status status = file.read_at(offset, length, buffer_.data(), &got); !status) return status;
  if (got < length) return beyond_the_end();  // the file has shrunk since
  return Status::ok();
}

Status StepRecords::read_node_step(std::int32_t step, std::vector<float>* displacements) {
  if (!u01_.is_open()) return Status::io_error("u01.unf: not connected");
  const std::size_t values = static_cast<std::size_t>(node_count_) * static_cast<std::size_t>(ngl_);
  displacements->resize(values);
  if (node_count_ == 0) return Status::ok();
  const std::int64_t record_bytes = u01_record_bytes(ngl_);
  if (Status status = read_step(u01_, step, node_count_, record_bytes); !status) return status;
  const unsigned char* record = buffer_.data();
  float* out = displacements->data();
  for (std::int32_t n = 0; n < node_count_; ++n, record += record_bytes, out += ngl_) {
    decode_u01_displacements(record, ngl_, out);
  }
  return Status::ok();
}

Status StepRecords::read_element_step(std::int32_t step, std::vector<float>* element_value,
                                      std::vector<std::int32_t>* element_code) {
  if (Status status = open_el(); !status) return status;
  element_value->resize(static_cast<std::size_t>(element_count_));
  element_code->resize(static_cast<std::size_t>(element_count_));
  if (element_count_ == 0) return Status::ok();
  const std::int64_t record_bytes = el_record_bytes(ngl_);
  if (Status status = read_step(el_, step, element_count_, record_bytes); !status) return status;
  const unsigned char* record = buffer_.data();
  for (std::int32_t e = 0; e < element_count_; ++e, record += record_bytes) {
    (*element_value)[static_cast<std::size_t>(e)] = decode_el_value(record, ngl_);
    (*element_code)[static_cast<std::size_t>(e)] = decode_el_code(record, ngl_);
  }
  return Status::ok();
}
