#include "step_csv.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "exit_status.h"
#include "input/step_records.h"

namespace {

// Lines gathered up to this size go out in one write.
constexpr std::size_t kFlushBytes = 1 << 20;

// Lines gathered and written to standard output in large pieces.
class CsvOut {
 public:
  CsvOut() { text_.reserve(kFlushBytes + 256); }
  void text(const std::string& s) { text_ += s; }
  void integer(std::int64_t value) { number(value); }
  void real(float value) { number(value); }
  void comma() { text_ += ','; }
  // Ends the line; false once the output has failed.
  bool end_line() {
    text_ += '\n';
    if (text_.size() >= kFlushBytes) (void)flush();
    return status_.is_ok();
  }
  // Writes what is gathered; the first failure stays the result.
  Status flush() {
    if (status_.is_ok()) status_ = write_standard_output(text_);
    text_.clear();
    return status_;
  }

 private:
  template <class T>
  void number(T value) {
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text_.append(digits, result.ptr);
  }
  std::string text_;
  Status status_;
};

}  // namespace

Status write_step_csv(const Problem& problem, std::int32_t step, bool elements) {
  const ProblemControl& c = problem.control;
  StepRecords records(problem);
  if (Status status = records.open_u01(); !status.is_ok()) return status;
  CsvOut csv;
  if (elements) {
    std::vector<float> values;
    std::vector<std::int32_t> codes;
    if (Status status = records.read_element_step(step, &values, &codes); !status.is_ok()) return status;
    const std::size_t count = std::min({values.size(), codes.size(), problem.element_node1.size(),
                                        problem.element_node2.size()});
    csv.text("element,node1,node2,value,code");
    if (!csv.end_line()) return csv.flush();
    for (std::size_t e = 0; e < count; ++e) {
      csv.integer(static_cast<std::int64_t>(e) + 1);
      csv.comma();
      csv.integer(problem.element_node1[e]);
      csv.comma();
      csv.integer(problem.element_node2[e]);
      csv.comma();
      csv.real(values[e]);
      csv.comma();
      csv.integer(codes[e]);
      if (!csv.end_line()) return csv.flush();
    }
    return csv.flush();
  }

  std::vector<float> displacements;
  if (Status status = records.read_node_step(step, &displacements); !status.is_ok()) return status;
  const std::size_t ngl = static_cast<std::size_t>(std::max(c.NGL, 0));
  const std::size_t nodes = std::min(static_cast<std::size_t>(std::max(c.node_count, 0)),
                                     ngl == 0 ? 0 : std::min(displacements.size(), problem.node_coords_table.size()) / ngl);
  std::string header = "node";
  for (std::size_t j = 1; j <= ngl; ++j) header += ",x" + std::to_string(j);
  for (std::size_t j = 1; j <= ngl; ++j) header += ",u" + std::to_string(j);
  csv.text(header);
  if (!csv.end_line()) return csv.flush();
  for (std::size_t n = 0; n < nodes; ++n) {
    csv.integer(static_cast<std::int64_t>(n) + 1);
    for (std::size_t j = 0; j < ngl; ++j) {
      csv.comma();
      csv.real(problem.node_coords_table[n * ngl + j]);
    }
    for (std::size_t j = 0; j < ngl; ++j) {
      csv.comma();
      csv.real(displacements[n * ngl + j]);
    }
    if (!csv.end_line()) return csv.flush();
  }
  return csv.flush();
}
