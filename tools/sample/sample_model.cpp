#include "sample_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sample {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// Node number of column c, level r in a frame of `columns` columns.
std::int32_t frame_node(int r, int c, int columns) { return r * columns + c + 1; }

void add_node(SampleModel* model, std::initializer_list<float> xyz) {
  for (float v : xyz) model->coords.push_back(v);
}

Mode new_mode(const SampleModel& model, double amplitude, double frequency_hz, double peak_time) {
  Mode mode;
  mode.shape.assign(model.coords.size(), 0.0f);
  mode.amplitude = amplitude;
  mode.omega = kTwoPi * frequency_hz;
  mode.peak_time = peak_time;
  return mode;
}

void set_shape(const SampleModel& model, Mode* mode, std::int32_t node, int j, double value) {
  mode->shape[static_cast<std::size_t>((node - 1) * model.NGL + j - 1)] = static_cast<float>(value);
}

// Shapes stay 0 in restrained directions.
void clear_restrained(SampleModel* model) {
  for (Mode& mode : model->modes) {
    for (const RestraintList& list : model->restraints) {
      for (int j = 1; j <= model->NGL; ++j) {
        if (list.code[static_cast<std::size_t>(j - 1)] != 0) set_shape(*model, &mode, list.node, j, 0.0);
      }
    }
  }
}

// Yield thresholds: per class of yield code, 70 % of the largest drift ratio
// the class can reach, so that the most strained members of each class yield
// near the peaks of the motion.
void set_thresholds(SampleModel* model) {
  const std::size_t count = model->elements.size();
  std::vector<double> bound(count, 0.0);
  for (std::size_t e = 0; e < count; ++e) {
    auto [a, b] = model->elements[e];
    double length_squared = 0;
    for (int j = 1; j <= model->NGL; ++j) {
      double d = model->coord(b, j) - model->coord(a, j);
      length_squared += d * d;
    }
    double length = std::sqrt(length_squared);
    for (const Mode& mode : model->modes) {
      double drift_squared = 0;
      for (int j = 0; j < model->NGL; ++j) {
        double d = mode.shape[static_cast<std::size_t>((b - 1) * model->NGL + j)] -
                   mode.shape[static_cast<std::size_t>((a - 1) * model->NGL + j)];
        drift_squared += d * d;
      }
      bound[e] += std::fabs(mode.amplitude) * std::sqrt(drift_squared) / length;
    }
  }
  double hinge_max = 0, cracked_max = 0;
  for (std::size_t e = 0; e < count; ++e) {
    double& class_max = model->yield_code[e] == kCodeHinge ? hinge_max : cracked_max;
    class_max = std::max(class_max, bound[e]);
  }
  model->yield_threshold.resize(count);
  for (std::size_t e = 0; e < count; ++e) {
    double class_max = model->yield_code[e] == kCodeHinge ? hinge_max : cracked_max;
    model->yield_threshold[e] = class_max > 0 ? static_cast<float>(0.7 * class_max) : 1.0f;
  }
}

void finish(SampleModel* model, std::int32_t minimum_width = 0) {
  clear_restrained(model);
  build_incidence(model, minimum_width);
  set_thresholds(model);
}

SampleModel make_portal(std::int32_t steps) {
  SampleModel model;
  model.kind = Kind::portal;
  model.title = "Portal frame, 3 bays, 2 storeys - base excitation";
  model.NGL = 2;
  const int columns = 4, levels = 3;
  const float bay = 6.0f, storey = 3.5f, height = 7.0f;
  for (int r = 0; r < levels; ++r) {
    for (int c = 0; c < columns; ++c) add_node(&model, {c * bay, r * storey});
  }
  for (int r = 0; r + 1 < levels; ++r) {
    for (int c = 0; c < columns; ++c) {
      model.elements.push_back({frame_node(r, c, columns), frame_node(r + 1, c, columns)});
      model.yield_code.push_back(kCodeHinge);
    }
  }
  for (int r = 1; r < levels; ++r) {
    for (int c = 0; c + 1 < columns; ++c) {
      model.elements.push_back({frame_node(r, c, columns), frame_node(r, c + 1, columns)});
      model.yield_code.push_back(kCodeCracked);
    }
  }
  model.restraints = {{1, {1, 1, 0}}, {2, {1, 1, 0}}, {3, {0, 1, 0}}};
  model.elastic = {{4, {2.0e5f, 5.0e5f, 0}}};
  model.time_step = 0.02f;
  model.last_step = steps > 0 ? steps : 200;

  Mode sway = new_mode(model, 0.35, 1.2, 2.0);
  Mode second = new_mode(model, 0.12, 3.6, 1.5);
  Mode vertical = new_mode(model, 0.06, 5.0, 2.5);
  for (std::int32_t n = 1; n <= model.node_count(); ++n) {
    double y = model.coord(n, 2);
    int c = (n - 1) % columns;
    set_shape(model, &sway, n, 1, y / height);
    set_shape(model, &second, n, 1, y == 0 ? 0.0 : (y < height ? 1.0 : -0.6));
    set_shape(model, &vertical, n, 2, y == 0 ? 0.0 : (c % 2 == 0 ? 1.0 : -1.0) * y / height);
  }
  // The elastically supported base node moves a little on its springs.
  set_shape(model, &sway, 4, 1, 0.04);
  set_shape(model, &vertical, 4, 2, 0.2);
  model.modes = {sway, second, vertical};
  finish(&model);
  return model;
}

SampleModel make_space(std::int32_t steps) {
  SampleModel model;
  model.kind = Kind::space;
  model.title = "Space frame, 1 x 1 bay, 2 storeys - bidirectional excitation";
  model.NGL = 3;
  const float plan[4][2] = {{0, 0}, {5, 0}, {5, 4}, {0, 4}};
  const int levels = 3;
  const float storey = 3.2f, height = 6.4f;
  for (int r = 0; r < levels; ++r) {
    for (const auto& corner : plan) add_node(&model, {corner[0], corner[1], r * storey});
  }
  for (int r = 0; r + 1 < levels; ++r) {
    for (int c = 0; c < 4; ++c) {
      model.elements.push_back({frame_node(r, c, 4), frame_node(r + 1, c, 4)});
      model.yield_code.push_back(kCodeHinge);
    }
  }
  for (int r = 1; r < levels; ++r) {
    for (int c = 0; c < 4; ++c) {
      model.elements.push_back({frame_node(r, c, 4), frame_node(r, (c + 1) % 4, 4)});
      model.yield_code.push_back(kCodeCracked);
    }
  }
  // Two fixed supports, a support in the oblique direction 2 (and vertically),
  // and a node on springs in direction 2 that is held vertically.
  model.restraints = {{1, {1, 1, 1}}, {2, {1, 1, 1}}, {3, {0, 1, 1}}, {4, {0, 0, 1}}};
  model.elastic = {{4, {0, 3.0e5f, 0}}};
  model.time_step = 0.02f;
  model.last_step = steps > 0 ? steps : 150;

  Mode sway_x = new_mode(model, 0.25, 1.5, 1.2);
  Mode sway_y = new_mode(model, 0.18, 1.9, 1.6);
  Mode torsion = new_mode(model, 0.05, 3.1, 1.8);
  for (std::int32_t n = 1; n <= model.node_count(); ++n) {
    double x = model.coord(n, 1), y = model.coord(n, 2), z = model.coord(n, 3);
    set_shape(model, &sway_x, n, 1, z / height);
    set_shape(model, &sway_y, n, 2, z / height);
    set_shape(model, &torsion, n, 1, -(y - 2.0) * z / height);
    set_shape(model, &torsion, n, 2, (x - 2.5) * z / height);
  }
  set_shape(model, &sway_y, 4, 2, 0.05);
  set_shape(model, &sway_x, 4, 1, 0.03);
  model.modes = {sway_x, sway_y, torsion};
  // One spare pair per record, as the analysis program leaves room for it.
  finish(&model, 6);
  return model;
}

SampleModel make_cantilever(std::int32_t steps) {
  SampleModel model;
  model.kind = Kind::cantilever;
  model.title = "Cantilever beam, 4 elements";
  model.NGL = 2;
  const int nodes = 5;
  const float x0 = 1.0f, y0 = 2.0f, span = 4.0f;
  for (int i = 0; i < nodes; ++i) add_node(&model, {x0 + i * span / (nodes - 1), y0});
  for (int i = 1; i < nodes; ++i) {
    model.elements.push_back({i, i + 1});
    // The members next to the clamped end form hinges; the others crack.
    model.yield_code.push_back(i <= 2 ? kCodeHinge : kCodeCracked);
  }
  model.restraints = {{1, {1, 1, 0}}};
  model.time_step = 0.01f;
  model.last_step = steps > 0 ? steps : 120;
  Mode first = new_mode(model, 0.16, 2.5, 0.3);
  Mode second = new_mode(model, 0.04, 15.7, 0.2);
  for (std::int32_t n = 1; n <= model.node_count(); ++n) {
    double xi = (model.coord(n, 1) - x0) / span;
    set_shape(model, &first, n, 2, 1.0 - std::cos(std::numbers::pi * xi / 2));
    set_shape(model, &second, n, 2, std::sin(std::numbers::pi * xi) * (1.0 - xi) * 2.5 - xi * xi * 0.4);
    set_shape(model, &first, n, 1, -0.05 * xi * xi);
  }
  model.modes = {first, second};
  // Each record carries the number of elements at the node after the pairs.
  model.incidence_extra = 1;
  finish(&model);
  return model;
}

SampleModel make_grid(std::int32_t steps, std::int32_t nodes) {
  SampleModel model;
  model.kind = Kind::grid;
  const std::int32_t count = nodes > 0 ? nodes : 1000;
  const std::int32_t columns =
      std::max<std::int32_t>(2, static_cast<std::int32_t>(std::lround(std::sqrt(static_cast<double>(count)))));
  const std::int32_t rows = (count + columns - 1) / columns;
  model.title = "Grid frame, " + std::to_string(count) + " nodes";
  model.NGL = 2;
  model.coords.reserve(static_cast<std::size_t>(count) * 2);
  for (std::int32_t n = 0; n < count; ++n) {
    add_node(&model, {static_cast<float>(n % columns), static_cast<float>(n / columns)});
  }
  for (std::int32_t n = 1; n <= count; ++n) {
    std::int32_t c = (n - 1) % columns;
    if (c + 1 < columns && n + 1 <= count) {
      model.elements.push_back({n, n + 1});
      model.yield_code.push_back(kCodeCracked);
    }
    if (n + columns <= count) {
      model.elements.push_back({n, n + columns});
      model.yield_code.push_back(kCodeHinge);
    }
  }
  for (std::int32_t c = 0; c < std::min(columns, count); ++c) model.restraints.push_back({c + 1, {1, 1, 0}});
  model.time_step = 0.05f;
  model.last_step = steps > 0 ? steps : 40;
  const double height = std::max<std::int32_t>(rows - 1, 1);
  const double width = std::max<std::int32_t>(columns - 1, 1);
  Mode sway = new_mode(model, 0.03 * height, 0.8, 1.0);
  Mode second = new_mode(model, 0.01 * height, 2.3, 0.8);
  Mode vertical = new_mode(model, 0.005 * height, 3.7, 1.2);
  for (std::int32_t n = 1; n <= count; ++n) {
    double x = model.coord(n, 1), y = model.coord(n, 2);
    set_shape(model, &sway, n, 1, y / height);
    set_shape(model, &second, n, 1, std::sin(std::numbers::pi * y / height));
    set_shape(model, &vertical, n, 2, std::sin(std::numbers::pi * x / width) * y / height);
  }
  model.modes = {sway, second, vertical};
  finish(&model);
  return model;
}

}  // namespace

std::string_view kind_name(Kind kind) {
  switch (kind) {
    case Kind::portal: return "portal";
    case Kind::space: return "space";
    case Kind::cantilever: return "cantilever";
    case Kind::grid: return "grid";
  }
  return "";
}

std::optional<Kind> kind_from_name(std::string_view name) {
  for (Kind kind : {Kind::portal, Kind::space, Kind::cantilever, Kind::grid}) {
    if (kind_name(kind) == name) return kind;
  }
  return std::nullopt;
}

SampleModel make_sample(Kind kind, SampleSize size) {
  switch (kind) {
    case Kind::portal: return make_portal(size.steps);
    case Kind::space: return make_space(size.steps);
    case Kind::cantilever: return make_cantilever(size.steps);
    case Kind::grid: return make_grid(size.steps, size.nodes);
  }
  return make_portal(size.steps);
}

void build_incidence(SampleModel* model, std::int32_t minimum_width) {
  const std::size_t nodes = static_cast<std::size_t>(model->node_count());
  std::vector<std::int32_t> first_count(nodes, 0), second_count(nodes, 0);
  for (const auto& [a, b] : model->elements) {
    ++first_count[static_cast<std::size_t>(a - 1)];
    ++second_count[static_cast<std::size_t>(b - 1)];
  }
  std::int32_t pairs = 0;
  for (std::size_t n = 0; n < nodes; ++n) pairs = std::max({pairs, first_count[n], second_count[n]});
  model->incidence_width = std::max(2 * pairs, minimum_width);
  const std::size_t width = static_cast<std::size_t>(model->incidence_width);
  model->incidence.assign(nodes * width, 0);
  std::fill(first_count.begin(), first_count.end(), 0);
  std::fill(second_count.begin(), second_count.end(), 0);
  for (std::size_t e = 0; e < model->elements.size(); ++e) {
    auto [a, b] = model->elements[e];
    std::size_t na = static_cast<std::size_t>(a - 1), nb = static_cast<std::size_t>(b - 1);
    model->incidence[na * width + 2 * static_cast<std::size_t>(first_count[na]++)] = static_cast<std::int32_t>(e + 1);
    model->incidence[nb * width + 2 * static_cast<std::size_t>(second_count[nb]++) + 1] = static_cast<std::int32_t>(e + 1);
  }
}

void step_displacements(const SampleModel& model, std::int32_t step, std::vector<float>* displacements) {
  const double t = step * static_cast<double>(model.time_step);
  std::vector<double> factor;
  for (const Mode& mode : model.modes) {
    double ratio = t / mode.peak_time;
    factor.push_back(mode.amplitude * ratio * std::exp(1.0 - ratio) * std::sin(mode.omega * t));
  }
  displacements->assign(model.coords.size(), 0.0f);
  for (std::size_t i = 0; i < model.coords.size(); ++i) {
    double sum = 0;
    for (std::size_t m = 0; m < model.modes.size(); ++m) sum += factor[m] * model.modes[m].shape[i];
    (*displacements)[i] = static_cast<float>(sum);
  }
}

void element_states(const SampleModel& model, const std::vector<float>& displacements,
                    std::vector<float>* value, std::vector<std::int32_t>* code) {
  const std::size_t count = model.elements.size();
  value->resize(count);
  code->resize(count);
  for (std::size_t e = 0; e < count; ++e) {
    auto [a, b] = model.elements[e];
    double length_squared = 0, drift_squared = 0;
    for (int j = 0; j < model.NGL; ++j) {
      std::size_t ia = static_cast<std::size_t>((a - 1) * model.NGL + j);
      std::size_t ib = static_cast<std::size_t>((b - 1) * model.NGL + j);
      double d = model.coords[ib] - model.coords[ia];
      double u = displacements[ib] - displacements[ia];
      length_squared += d * d;
      drift_squared += u * u;
    }
    double drift = std::sqrt(drift_squared / length_squared);
    double threshold = model.yield_threshold[e];
    if (drift > threshold) {
      (*value)[e] = 0.0f;
      (*code)[e] = model.yield_code[e];
    } else {
      (*value)[e] = static_cast<float>(1.0 - 0.5 * drift / threshold);
      (*code)[e] = 0;
    }
  }
}

}  // namespace sample
