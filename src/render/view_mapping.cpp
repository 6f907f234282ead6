#include "render/view_mapping.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "input/finite_values.h"
#include "platform/gfx.h"
#include "render/colouring.h"
#include "render/drawing_numbers.h"
#include "render/graph_run.h"

namespace {

// displaced, plot_x, plot_y of every node from the coordinates plus the
// magnified displacements `u` (node-major, NGL per node), or from the
// coordinates alone when `u` is null.
void project_nodes(GraphRun& run, const float* u) {
  const Problem& p = *run.problem;
  const int nodes = run.node_count();
  const int ngl = run.ngl();
  const float factor = run.settings.displacement_factor;
  const float* coords = p.node_coords_table.data();
  float* d = run.displaced.data();
  const std::size_t count = static_cast<std::size_t>(nodes) * static_cast<std::size_t>(ngl);
  if (u != nullptr) {
    for (std::size_t i = 0; i < count; ++i) d[i] = coords[i] + factor * u[i];
  } else {
    std::copy(coords, coords + count, d);
  }

  if (ngl == 2) {
    for (int n = 0; n < nodes; ++n) {
      run.plot_x[n] = d[2 * n];
      run.plot_y[n] = d[2 * n + 1];
    }
  } else if (ngl >= 3 && run.projection) {
    const std::array<double, 6>& m = *run.projection;
    for (int n = 0; n < nodes; ++n) {
      const float* dn = d + static_cast<std::size_t>(n) * static_cast<std::size_t>(ngl);
      run.plot_x[n] = static_cast<float>(m[0] * dn[0] + m[1] * dn[1] + m[2] * dn[2]);
      run.plot_y[n] = static_cast<float>(m[3] * dn[0] + m[4] * dn[1] + m[5] * dn[2]);
    }
  } else if (ngl >= 3) {
    // Oblique projection of the second direction at 45 degrees.
    const double sx = run.settings.reverse_y ? -1.0 : 1.0;
    double sy = run.settings.reverse_vertical ? -1.0 : 1.0;
    if (run.settings.reverse_y) sy = -sy;
    const double cx = sx * kSqrtHalf;
    const double cy = sy * kSqrtHalf;
    for (int n = 0; n < nodes; ++n) {
      const float* dn = d + static_cast<std::size_t>(n) * static_cast<std::size_t>(ngl);
      run.plot_x[n] = static_cast<float>(dn[0] + cx * dn[1]);
      run.plot_y[n] = static_cast<float>(dn[2] + cy * dn[1]);
    }
  } else if (ngl == 1) {
    for (int n = 0; n < nodes; ++n) {
      run.plot_x[n] = d[n];
      run.plot_y[n] = 0;
    }
  }
}

struct Extents {
  double coord_min[3], coord_max[3];
  double x_min, x_max, y_min, y_max;
};

// Minima and maxima over the nodes of the frame in displaced, plot_x, plot_y.
// Each is the first value, then replaced only by a smaller (larger) one, so
// a NaN is skipped unless it comes first.
Extents frame_extents(const GraphRun& run) {
  Extents e{};
  const int nodes = run.node_count();
  const int ngl = run.ngl();
  const int dirs = std::min(ngl, 3);
  if (nodes <= 0) return e;
  if (ngl == 1 || ngl == 2) {
    // plot_x and plot_y are the displaced coordinates themselves (plot_y is 0
    // in one direction), so one pass over the coordinates, in float, gives
    // all of the extents.
    const float* d = run.displaced.data();
    float lo[2] = {d[0], ngl == 2 ? d[1] : 0.0f}, hi[2] = {lo[0], lo[1]};
    const std::size_t count = static_cast<std::size_t>(nodes) * static_cast<std::size_t>(ngl);
    if (ngl == 2) {
      for (std::size_t i = 0; i < count; i += 2) {
        const float x = d[i], y = d[i + 1];
        lo[0] = x < lo[0] ? x : lo[0];
        hi[0] = hi[0] < x ? x : hi[0];
        lo[1] = y < lo[1] ? y : lo[1];
        hi[1] = hi[1] < y ? y : hi[1];
      }
    } else {
      for (std::size_t i = 0; i < count; ++i) {
        lo[0] = d[i] < lo[0] ? d[i] : lo[0];
        hi[0] = hi[0] < d[i] ? d[i] : hi[0];
      }
    }
    for (int k = 0; k < dirs; ++k) {
      e.coord_min[k] = lo[k];
      e.coord_max[k] = hi[k];
    }
    e.x_min = lo[0];
    e.x_max = hi[0];
    e.y_min = ngl == 2 ? lo[1] : run.plot_y[0];
    e.y_max = ngl == 2 ? hi[1] : run.plot_y[0];
    return e;
  }
  for (int k = 0; k < dirs; ++k) e.coord_min[k] = e.coord_max[k] = run.displaced[k];
  e.x_min = e.x_max = run.plot_x[0];
  e.y_min = e.y_max = run.plot_y[0];
  for (int n = 0; n < nodes; ++n) {
    const float* dn = run.displaced.data() + static_cast<std::size_t>(n) * static_cast<std::size_t>(ngl);
    for (int k = 0; k < dirs; ++k) {
      e.coord_min[k] = std::min<double>(e.coord_min[k], dn[k]);
      e.coord_max[k] = std::max<double>(e.coord_max[k], dn[k]);
    }
    e.x_min = std::min<double>(e.x_min, run.plot_x[n]);
    e.x_max = std::max<double>(e.x_max, run.plot_x[n]);
    e.y_min = std::min<double>(e.y_min, run.plot_y[n]);
    e.y_max = std::max<double>(e.y_max, run.plot_y[n]);
  }
  return e;
}

void set_extents(ViewMapping& v, const Extents& e) {
  for (int k = 0; k < 3; ++k) {
    v.coord_min[k] = e.coord_min[k];
    v.coord_max[k] = e.coord_max[k];
  }
  v.plot_x_min = e.x_min;
  v.plot_x_max = e.x_max;
  v.plot_y_min = e.y_min;
  v.plot_y_max = e.y_max;
}

void widen_extents(ViewMapping& v, const Extents& e) {
  for (int k = 0; k < 3; ++k) {
    if (e.coord_max[k] > v.coord_max[k]) v.coord_max[k] = e.coord_max[k];
    if (e.coord_min[k] < v.coord_min[k]) v.coord_min[k] = e.coord_min[k];
  }
  if (e.x_max > v.plot_x_max) v.plot_x_max = e.x_max;
  if (e.x_min < v.plot_x_min) v.plot_x_min = e.x_min;
  if (e.y_max > v.plot_y_max) v.plot_y_max = e.y_max;
  if (e.y_min < v.plot_y_min) v.plot_y_min = e.y_min;
}

bool usable_span(float span) { return span != 0 && std::isfinite(span); }

}  // namespace

std::int64_t frame_count(const GraphSettings& settings) {
  const std::int64_t frequency = settings.step_frequency == 0 ? 1 : settings.step_frequency;
  return (static_cast<std::int64_t>(settings.end_step) - settings.start_step + frequency) / frequency;
}

std::int64_t frame_step(const GraphSettings& settings, std::int64_t j) {
  const std::int64_t frequency = settings.step_frequency == 0 ? 1 : settings.step_frequency;
  return settings.start_step + j * frequency;
}

std::optional<int> next_frame_step(const GraphSettings& settings, std::int64_t j, std::int64_t end) {
  if (j + 1 >= end) return std::nullopt;
  const std::int64_t next = frame_step(settings, j + 1);
  if (next < 0 || next > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<int>(next);
}

Status project_step(GraphRun& run, int step, std::optional<int> ahead) {
  const std::size_t needed =
      static_cast<std::size_t>(run.node_count()) * static_cast<std::size_t>(run.ngl());
  if (needed == 0) return Status::ok();
  if (run.steps == nullptr) return Status::io_error("u01.unf is not open");
  Status status = run.steps->read_node_step(step, &run.node_step);
  if (!status.is_ok()) return status;
  if (run.node_step.size() < needed)
    return Status::damaged("u01.unf, step " + std::to_string(step) + ": fewer displacements than nodes");
  if (ahead) run.steps->read_ahead(*ahead, false);
  project_nodes(run, run.node_step.data());
  return Status::ok();
}

void project_undisplaced(GraphRun& run) {
  if (run.node_count() > 0 && run.ngl() > 0) project_nodes(run, nullptr);
}

Status measure_extents(GraphRun& run, std::string* note) {
  bool stopped = false;
  return measure_extents(run, {}, &stopped, note);
}

Status measure_extents(GraphRun& run, const std::function<bool()>& stop, bool* stopped, std::string* note) {
  *stopped = false;
  if (note != nullptr) note->clear();
  const std::int64_t frames = frame_count(run.settings);
  if (frames <= 0) {
    project_undisplaced(run);
    set_extents(run.view, frame_extents(run));
    return Status::ok();
  }
  for (std::int64_t j = 0; j < frames; ++j) {
    if (stop && stop()) {
      *stopped = true;
      return Status::ok();
    }
    const std::int64_t step = frame_step(run.settings, j);
    if (step < std::numeric_limits<std::int32_t>::min() ||
        step > std::numeric_limits<std::int32_t>::max())
      return Status::damaged("u01.unf: step " + std::to_string(step) + " does not exist");
    // A colouring that needs the step's element records reads the next
    // step ahead with them, after its own read.
    const std::optional<int> next = next_frame_step(run.settings, j, frames);
    Status status = project_step(run, static_cast<int>(step), colouring_reads_elements(run) ? std::nullopt : next);
    if (!status.is_ok()) return status;
    if (note != nullptr && note->empty()) {
      const std::size_t values = std::min(run.node_step.size(), run.displaced.size());
      const std::size_t bad = first_non_finite(run.node_step.data(), values);
      if (bad < values) *note = non_finite_line("u01.unf", step, bad, run.ngl(), "displacement", run.node_step[bad]);
    }
    if (status = measure_step_colours(run, static_cast<int>(step), next); !status.is_ok()) return status;
    const Extents e = frame_extents(run);
    if (j == 0)
      set_extents(run.view, e);
    else
      widen_extents(run.view, e);
  }
  return Status::ok();
}

void compute_view(GraphRun& run) {
  ViewMapping& v = run.view;
  const GraphSettings& s = run.settings;
  float dx = static_cast<float>(v.plot_x_max - v.plot_x_min);
  float dy = static_cast<float>(v.plot_y_max - v.plot_y_min);

  // The factor enlarges the smaller span before the ratio is taken. A
  // smaller span of zero (one node, or a line with no movement across it)
  // takes the larger one; when both are zero each counts as 1.
  const bool wide = dx >= dy;
  double r;
  if (wide) {
    if (!s.min_size_factor_auto) dy = s.min_size_factor * dy;
    if (!usable_span(dx)) dx = 1;
    if (!usable_span(dy)) dy = dx;
    r = static_cast<double>(dx) / static_cast<double>(dy);
  } else {
    if (!s.min_size_factor_auto) dx = s.min_size_factor * dx;
    if (!usable_span(dy)) dy = 1;
    if (!usable_span(dx)) dx = dy;
    r = static_cast<double>(dy) / static_cast<double>(dx);
  }

  v.centre_x = (v.plot_x_max + v.plot_x_min) * 0.5;
  v.centre_y = (v.plot_y_max + v.plot_y_min) * 0.5;
  if (!std::isfinite(v.centre_x)) v.centre_x = 0;
  if (!std::isfinite(v.centre_y)) v.centre_y = 0;
  centre_frame(run);
  v.plot_x_min -= v.centre_x;
  v.plot_x_max -= v.centre_x;
  v.plot_y_min -= v.centre_y;
  v.plot_y_max -= v.centre_y;

  const double ddx = dx, ddy = dy;
  v.window_x1 = v.plot_x_min - ddx / 5;
  v.window_x2 = v.plot_x_max + ddx / 5;
  v.window_y1 = v.plot_y_min - (ddy + ddy) / 10;
  v.window_y2 = v.plot_y_max + ddy * 1.5 / 10;
  if (wide) {
    v.window_y1 *= r;
    v.window_y2 *= r;
  } else {
    v.window_x1 *= r;
    v.window_x2 *= r;
  }

  // Whatever the data (non-finite coordinates, spans beyond the range of a
  // float), the window must stay usable by gfx_set_window.
  const bool valid = std::isfinite(v.window_x1) && std::isfinite(v.window_x2) &&
                     std::isfinite(v.window_y1) && std::isfinite(v.window_y2) &&
                     v.window_x1 != v.window_x2 && v.window_y1 != v.window_y2;
  if (!valid) {
    v.window_x1 = v.window_y1 = -1;
    v.window_x2 = v.window_y2 = 1;
  }

  set_world_window(v, v.window_x1, v.window_y1, v.window_x2, v.window_y2);

  v.box_x1 = v.coord_min[0] - v.centre_x;
  v.box_x2 = v.coord_max[0] - v.centre_x;
  if (run.ngl() >= 3) {
    v.box_y1 = v.coord_min[2] - v.centre_y;
    v.box_y2 = v.coord_max[2] - v.centre_y;
  } else {
    v.box_y1 = v.plot_y_min;
    v.box_y2 = v.plot_y_max;
  }
}

bool apply_world_window(const GraphRun& run) {
  const ViewMapping& v = run.view;
  return gfx_set_window(!run.settings.reverse_vertical, std::min(v.window_x1, v.window_x2),
                        std::min(v.window_y1, v.window_y2), std::max(v.window_x1, v.window_x2),
                        std::max(v.window_y1, v.window_y2));
}

void set_world_window(ViewMapping& view, double x1, double y1, double x2, double y2) {
  view.window_x1 = x1;
  view.window_y1 = y1;
  view.window_x2 = x2;
  view.window_y2 = y2;
  view.grid_dx = (x2 - x1) / 5;
  view.grid_dy = (y2 - y1) / 10;
}

void frame_units(ViewMapping& view) {
  view.origin_x = 0 - view.centre_x;
  view.origin_y = 0 - view.centre_y;
  view.marker_dx = view.grid_dx / 52;
  view.marker_dy = view.grid_dy / 18;
}

void centre_frame(GraphRun& run) {
  const int nodes = run.node_count();
  const double cx = run.view.centre_x, cy = run.view.centre_y;
  for (int n = 0; n < nodes; ++n) {
    run.plot_x[n] = static_cast<float>(run.plot_x[n] - cx);
    run.plot_y[n] = static_cast<float>(run.plot_y[n] - cy);
  }
}
