#include "render/graph_run.h"

#include <algorithm>

const std::string identity_label = "TARVEK:     ";

void prepare_graph_run(GraphRun& run, ProblemPtr problem, const GraphSettings& settings,
                       std::int32_t colour_scheme, StepSource* steps) {
  run.problem = std::move(problem);
  run.settings = settings;
  run.colour_scheme = colour_scheme;
  run.steps = steps;
  const std::size_t nodes = static_cast<std::size_t>(std::max(run.node_count(), 0));
  const std::size_t ngl = static_cast<std::size_t>(std::max(run.ngl(), 0));
  const std::size_t elements = static_cast<std::size_t>(std::max(run.element_count(), 0));
  run.displaced.assign(nodes * ngl, 0.0f);
  run.plot_x.assign(nodes, 0.0f);
  run.plot_y.assign(nodes, 0.0f);
  run.node_step.assign(nodes * ngl, 0.0f);
  run.element_value.assign(elements, 0.0f);
  run.element_code.assign(elements, 0);
  run.drawn_listed = false;
  run.drawn_elements.clear();
  run.restrained_listed = false;
  run.restrained_nodes.clear();
  run.view = ViewMapping{};
  run.has_label_ellipse = false;
  run.colour_state = ColourState{};
}

double horizontal_pixels(const GraphRun& run, double pixels) {
  const double width = std::max<int>(run.window.width, 1);
  return pixels / width * run.view.grid_dx * 5;
}

double vertical_pixels(const GraphRun& run, double pixels) {
  const double height = std::max<int>(run.window.height, 1);
  return pixels / height * run.view.grid_dy * 10;
}
