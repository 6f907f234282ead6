// What the drawing passes need of a run's step files: one whole step per call.
#pragma once

#include <cstdint>
#include <vector>

#include "base/status.h"

class StepSource {
 public:
  virtual ~StepSource() = default;
  // The displacements of every node at `step`, node_count x NGL floats,
  // node-major; resized by the call.
  virtual Status read_node_step(int step, std::vector<float>* displacements) = 0;
  // element_value and element_code of every element at `step`.
  virtual Status read_element_step(int step, std::vector<float>* values,
                                   std::vector<std::int32_t>* codes) = 0;
  // Disconnects the displacement file (the end of the animation); the
  // element file stays connected.
  virtual void close_displacements() = 0;
  // A hint: the next step read will be `step`, its nodes and, when
  // `elements`, its elements. A source may start reading it now; the reads
  // return the same whatever it does.
  virtual void read_ahead(int /*step*/, bool /*elements*/) {}
};

class StepRecords;

// The step source of a run that reads its own result folder's step files.
class StepRecordsSource : public StepSource {
 public:
  explicit StepRecordsSource(StepRecords& records) : records_(records) {}
  Status read_node_step(int step, std::vector<float>* displacements) override;
  Status read_element_step(int step, std::vector<float>* values,
                           std::vector<std::int32_t>* codes) override;
  // Disconnects the run's u01.unf; el.unf stays connected until the
  // records are closed or go.
  void close_displacements() override;
  // Reads the step on a helper thread when it is large enough for that to
  // pay (kReadAheadMinBytes), so that it is read while this one is drawn.
  void read_ahead(int step, bool elements) override;
  // For a caller about to read `step` that was not read ahead: reads its
  // el.unf records on the helper thread meanwhile, under the same size rule.
  void read_elements_ahead(int step);

  static constexpr std::int64_t kReadAheadMinBytes = std::int64_t{1} << 20;

 private:
  StepRecords& records_;
};
