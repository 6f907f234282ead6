#include "render/step_source.h"

#include "input/step_records.h"

Status StepRecordsSource::read_node_step(int step, std::vector<float>* displacements) {
  return records_.read_node_step(step, displacements);
}

Status StepRecordsSource::read_element_step(int step, std::vector<float>* values,
                                            std::vector<std::int32_t>* codes) {
  return records_.read_element_step(step, values, codes);
}

void StepRecordsSource::close_displacements() { records_.close_u01(); }

void StepRecordsSource::read_ahead(int step, bool elements) {
  if (records_.step_bytes(elements) >= kReadAheadMinBytes) records_.read_ahead(step, elements);
}

void StepRecordsSource::read_elements_ahead(int step) {
  if (records_.step_bytes(true) >= kReadAheadMinBytes) records_.read_elements_ahead(step);
}
