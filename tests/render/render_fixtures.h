// Small problems built as values, and step records held in memory, for the
// rendering tests.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "input/problem.h"
#include "render/graph_run.h"
#include "render/step_source.h"

namespace render_test {

// Steps held in memory: displacements[s] has node_count x NGL values,
// element values and codes per step (missing steps read as all zero, steps
// beyond `last_step` fail).
class MemorySteps : public StepSource {
 public:
  std::vector<std::vector<float>> displacements;
  std::vector<std::vector<float>> values;
  std::vector<std::vector<std::int32_t>> codes;
  std::size_t node_values = 0, elements = 0;
  int last_step = 100;
  std::vector<int> node_reads, element_reads;
  int closes = 0;
  std::function<void(int step)> on_read_ahead;  // called with each read-ahead hint

  Status read_node_step(int step, std::vector<float>* out) override {
    node_reads.push_back(step);
    if (step < 0 || step > last_step) return Status::damaged("u01.unf: no record for step " + std::to_string(step));
    out->assign(node_values, 0.0f);
    if (static_cast<std::size_t>(step) < displacements.size()) *out = displacements[step];
    return Status::ok();
  }
  Status read_element_step(int step, std::vector<float>* v, std::vector<std::int32_t>* c) override {
    element_reads.push_back(step);
    if (step < 0 || step > last_step) return Status::damaged("el.unf: no record for step " + std::to_string(step));
    v->assign(elements, 1.0f);
    c->assign(elements, 0);
    if (static_cast<std::size_t>(step) < values.size()) *v = values[step];
    if (static_cast<std::size_t>(step) < codes.size()) *c = codes[step];
    return Status::ok();
  }
  void close_displacements() override { ++closes; }
  void read_ahead(int step, bool) override {
    if (on_read_ahead) on_read_ahead(step);
  }
};

struct NodeSpec {
  float x, y, z;
  std::vector<std::int32_t> restraint;  // NGL codes, empty = free
  std::vector<float> springs;           // NGL elastic values, empty = none
};

inline std::shared_ptr<Problem> make_problem(int ngl, const std::vector<NodeSpec>& nodes,
                                             const std::vector<std::pair<int, int>>& elements) {
  auto p = std::make_shared<Problem>();
  ProblemControl& c = p->control;
  c.node_count = static_cast<int>(nodes.size());
  c.element_count = static_cast<int>(elements.size());
  c.NGL = ngl;
  c.incidence_width = 2;
  c.time_step = 0.5f;
  c.end_time = 5;
  c.step_count = 10;
  c.problem_title = "Test frame";
  c.problem_title_length = 10;
  const std::size_t n = nodes.size(), g = static_cast<std::size_t>(ngl);
  p->restraint_table.assign(n * g, 0);
  p->elastic_values_table.assign(n * g, 0.0f);
  p->node_coords_table.assign(n * g, 0.0f);
  p->elastic_support.assign(n, ElasticSupport{});
  for (std::size_t i = 0; i < n; ++i) {
    const float xyz[3] = {nodes[i].x, nodes[i].y, nodes[i].z};
    for (std::size_t k = 0; k < g; ++k) p->node_coords_table[i * g + k] = xyz[k];
    if (!nodes[i].restraint.empty()) {
      ++c.restrained_count;
      for (std::size_t k = 0; k < g; ++k) p->restraint_table[i * g + k] = nodes[i].restraint[k];
    }
    if (!nodes[i].springs.empty()) {
      ++c.elastic_count;
      for (std::size_t k = 0; k < g; ++k) {
        p->elastic_values_table[i * g + k] = nodes[i].springs[k];
        if (nodes[i].springs[k] != 0) {
          p->elastic_support[i].flag = -1;
          p->elastic_support[i].value[k] = nodes[i].springs[k];
        }
      }
    }
    bool zero = true;
    for (std::size_t k = 0; k < g; ++k) zero = zero && xyz[k] == 0;
    if (zero && p->origin_node == 0) p->origin_node = static_cast<int>(i) + 1;
  }
  p->origin_is_node = p->origin_node > 0;
  for (const auto& [a, b] : elements) {
    p->element_node1.push_back(a);
    p->element_node2.push_back(b);
  }
  return p;
}

// The plane frame of the tests: node 1 (0, 0) fixed, node 2 (4, 0) free,
// node 3 (4, 3) restrained vertically with a horizontal spring; elements
// 1-2, 2-3 and one whose second end is missing.
inline std::shared_ptr<Problem> plane_frame() {
  return make_problem(2,
                      {{0, 0, 0, {1, 1}, {}}, {4, 0, 0, {}, {}}, {4, 3, 0, {0, 1}, {2.5f, 0}}},
                      {{1, 2}, {2, 3}, {1, 0}});
}

}  // namespace render_test
