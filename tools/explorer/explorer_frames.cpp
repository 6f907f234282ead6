#include "explorer_frames.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "legible_numbers.h"
#include "magnification.h"
#include "platform/gfx.h"
#include "platform/qt/surface_image.h"
#include "render/animation.h"
#include "render/frame.h"
#include "render/structure.h"
#include "render/window_setup.h"

namespace {

constexpr Rgb kHighlight = make_rgb(255, 96, 0);

// A step of the range as a step number the files can hold, or none.
std::optional<int> step_number(std::int64_t step) {
  if (step < 0 || step > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<int>(step);
}

bool same_rect(const WorldRect& a, const WorldRect& b) {
  return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2;
}

// One pixel line between picture positions, through the world window.
void pixel_line(const PixelMapping& m, double x1, double y1, double x2, double y2) {
  gfx_move_to(m.to_x(x1), m.to_y(y1));
  gfx_line_to(m.to_x(x2), m.to_y(y2));
}

}  // namespace

ExplorerFrames::ExplorerFrames(ProblemPtr problem)
    : problem_(std::move(problem)), records_(*problem_), source_(records_), surface_(1, 1) {
  prepare_graph_run(run_, problem_, default_settings, kSchemeStandard, &source_);
}

void ExplorerFrames::attach() { surface_.make_current(); }

Status ExplorerFrames::find_peak(const GraphSettings& range, const std::function<bool()>& superseded,
                                 bool* stopped) {
  *stopped = false;
  ahead_step_ = -1;
  const std::int64_t frames = frame_count(range);
  double largest = 0;
  std::int64_t at = -1;
  std::vector<float> values;
  for (std::int64_t j = 0; j < frames; ++j) {
    if (superseded()) {
      *stopped = true;
      return Status::ok();
    }
    const std::optional<int> step = step_number(frame_step(range, j));
    if (!step) return Status::damaged("u01.unf: step " + std::to_string(frame_step(range, j)) + " does not exist");
    if (Status status = source_.read_node_step(*step, &values); !status.is_ok()) return status;
    if (const std::optional<int> next = next_frame_step(range, j, frames)) source_.read_ahead(*next, false);
    const double magnitude = largest_magnitude(values);
    if (magnitude > largest || at < 0) largest = std::max(largest, magnitude), at = j;
  }
  peak_ = largest;
  peak_frame_ = at;
  return Status::ok();
}

Status ExplorerFrames::prepare(const GraphSettings& settings, const std::function<bool()>& superseded,
                               bool* stopped) {
  run_.settings = settings;
  run_.projection.reset();  // the extents of the viewer's projection
  run_.colour_state = ColourState{};
  positions_step_ = -1;
  ahead_step_ = -1;
  Status status = measure_extents(run_, superseded, stopped);
  if (!status.is_ok() || *stopped) return status;
  compute_view(run_);
  oblique_view_ = run_.view;
  return Status::ok();
}

ViewMapping ExplorerFrames::view_for(const FrameRequest& request) {
  if (!run_.projection) return oblique_view_;
  // An orbit keeps one window whatever the angle: that of the sphere round
  // the box of every displaced position of the range.
  const std::array<double, 6>& m = *run_.projection;
  double centre[3], radius2 = 0;
  for (int k = 0; k < 3; ++k) {
    centre[k] = (oblique_view_.coord_min[k] + oblique_view_.coord_max[k]) / 2;
    const double half = (oblique_view_.coord_max[k] - oblique_view_.coord_min[k]) / 2;
    radius2 += half * half;
  }
  const double radius = std::sqrt(radius2);
  const double cx = m[0] * centre[0] + m[1] * centre[1] + m[2] * centre[2];
  const double cy = m[3] * centre[0] + m[4] * centre[1] + m[5] * centre[2];
  GraphRun sphere;  // no problem: compute_view moves no positions
  sphere.settings = request.settings;
  sphere.view.plot_x_min = cx - radius;
  sphere.view.plot_x_max = cx + radius;
  sphere.view.plot_y_min = cy - radius;
  sphere.view.plot_y_max = cy + radius;
  compute_view(sphere);
  return sphere.view;
}

bool ExplorerFrames::draw(const FrameRequest& request, const std::function<bool()>& superseded,
                          FrameResult* result) {
  const Problem& p = *problem_;
  GraphSettings settings = request.settings;
  correct_frequency(settings);
  const std::int64_t frames = frame_count(settings);
  result->frames = std::max<std::int64_t>(frames, 0);
  result->status = Status::ok();
  if (frames <= 0) {
    result->status = Status::invalid_argument("the start step lies after the end step: no frame to show");
    return true;
  }
  const std::int64_t frame = std::clamp<std::int64_t>(request.frame, 0, frames - 1);
  const std::optional<int> step = step_number(frame_step(settings, frame));
  if (!step) {
    result->status = Status::damaged("u01.unf: step " + std::to_string(frame_step(settings, frame)) + " does not exist");
    return true;
  }
  if (!records_.u01_connected()) {
    if (Status status = records_.open_u01(); !status.is_ok()) {
      result->status = status;
      return true;
    }
  }

  Prepared range{settings.start_step, settings.end_step, settings.step_frequency};
  if (request.fit_magnification || request.find_peak) {
    if (peak_range_ != range) {
      bool stopped = false;
      if (Status status = find_peak(settings, superseded, &stopped); !status.is_ok()) {
        result->status = status;
        return true;
      }
      if (stopped) return false;
      peak_range_ = range;
    }
  }
  if (request.fit_magnification)
    if (const std::optional<float> factor = fit_factor(p, peak_)) settings.displacement_factor = *factor;

  Prepared wanted = range;
  wanted.factor = settings.displacement_factor;
  wanted.reverse_vertical = settings.reverse_vertical;
  wanted.reverse_y = settings.reverse_y;
  wanted.min_size_factor = settings.min_size_factor;
  wanted.min_size_auto = settings.min_size_factor_auto;
  wanted.colour_by = request.colouring.by;
  wanted.colour_range = request.colouring.range;
  run_.colouring = request.colouring;
  if (prepared_ != wanted) {
    bool stopped = false;
    prepared_.reset();
    if (Status status = prepare(settings, superseded, &stopped); !status.is_ok()) {
      result->status = status;
      return true;
    }
    if (stopped) return false;
    prepared_ = wanted;
  }

  // The look of the picture: the request's settings, the orbit's projection.
  const bool trail = settings.show_all_positions;
  const Rgb trail_colour = run_.settings.line_colour;
  run_.settings = settings;
  run_.colour_scheme = request.colour_scheme;
  if (request.orbit && run_.ngl() == 3)
    run_.projection = orbit_projection(request.orbit_angles, settings.reverse_y);
  else
    run_.projection.reset();
  if (run_.projection) run_.settings.show_grid_and_scale = false;  // its numbers are model coordinates
  run_.axis_arrows = !run_.projection;
  const ViewMapping view = view_for(request);

  if (positions_step_ != *step || positions_projection_ != run_.projection) {
    if (superseded()) return false;
    run_.view = view;  // centres the positions
    std::optional<int> next;
    if (request.next_frame && *request.next_frame >= 0 && *request.next_frame < frames)
      next = step_number(frame_step(settings, *request.next_frame));
    // A step not read ahead (a scrub, a jump) has its element records read
    // on the helper while its nodes are read here.
    if (*step != ahead_step_) source_.read_elements_ahead(*step);
    ahead_step_ = -1;
    if (Status status = read_frame(run_, *step); !status.is_ok()) {
      positions_step_ = -1;
      result->status = status;
      return true;
    }
    // The next frame of playback is read while this one is drawn.
    if (next) {
      source_.read_ahead(*next, run_.element_count() > 0);
      ahead_step_ = *next;
    }
    positions_step_ = *step;
    positions_projection_ = run_.projection;
    ++positions_;
  }

  run_.view = view;
  const WorldRect fit = window_of(view);
  const WorldRect window = request.zoom ? *request.zoom : fit;
  set_world_window(run_.view, window.x1, window.y1, window.x2, window.y2);

  const int width = std::max(request.width, 1), height = std::max(request.height, 1);
  const bool resized = width != drawn_width_ || height != drawn_height_ || request.text_scale != drawn_scale_;
  const bool moved = !drawn_ || resized || !same_rect(window, drawn_window_);
  if (resized) {
    surface_.resize(width, height, request.text_scale);
    if (prepare_current_window(run_) != WindowSetup::ready) {
      result->status = Status::io_error("the picture's fonts cannot be prepared");
      return true;
    }
  } else {
    apply_world_window(run_);
  }
  if (trail) {
    // A trail goes on while the view stands; a new view starts it afresh.
    if (moved) {
      gfx_clear();
      run_.has_label_ellipse = false;
    } else {
      run_.settings.line_colour = trail_colour;
    }
  }
  drawn_ = true;
  drawn_window_ = window;
  drawn_width_ = width;
  drawn_height_ = height;
  drawn_scale_ = request.text_scale;

  const PixelMapping mapping = mapping_of(window, !settings.reverse_vertical, width, height);
  if (request.legible_numbers) {
    NumberBox node_box, element_box;
    gfx_set_font(node_number_style(run_.node_count()).font);
    node_box = {gfx_text_width("0"), gfx_font_info().pixel_height};
    gfx_set_font(element_number_style(run_.element_count()).font);
    element_box = {gfx_text_width("0"), gfx_font_info().pixel_height};
    choose_legible_numbers(run_, mapping, width, height, node_box, element_box);
  } else {
    run_.node_number_shown.clear();
    run_.element_number_shown.clear();
  }

  const float t = static_cast<float>(*step) * p.control.time_step;
  draw_frame(run_, t);
  if (run_.projection) draw_axis_triad(*run_.projection);
  draw_highlight(request.highlight);

  result->frame = frame;
  result->step = *step;
  result->time = t;
  result->displacement_factor = settings.displacement_factor;
  result->peak_frame = peak_range_ == range ? peak_frame_ : -1;
  result->window = window;
  result->fit_window = fit;
  result->y_up = !settings.reverse_vertical;
  result->width = width;
  result->height = height;
  result->positions = positions_;
  result->highlight = request.highlight;
  result->coordinates.clear();
  result->displacement.clear();
  const int ngl = run_.ngl();
  if (request.highlight.kind == PickHit::node && request.highlight.item >= 1 &&
      request.highlight.item <= run_.node_count()) {
    const int n = request.highlight.item;
    for (int j = 1; j <= ngl; ++j) {
      result->coordinates.push_back(p.node_coords(n, j));
      result->displacement.push_back(run_.node_step[p.index(n, j)]);
    }
  } else if (request.highlight.kind == PickHit::element && request.highlight.item >= 1 &&
             request.highlight.item <= run_.element_count()) {
    result->element_value = run_.element_value[request.highlight.item - 1];
    result->element_code = run_.element_code[request.highlight.item - 1];
  }
  return true;
}

void ExplorerFrames::draw_highlight(const PickHit& hit) {
  const Problem& p = *problem_;
  if (hit.kind == PickHit::none) return;
  const WorldRect window = window_of(run_.view);
  const PixelMapping m = mapping_of(window, !run_.settings.reverse_vertical, run_.window.width, run_.window.height);
  gfx_set_colour(kHighlight);
  gfx_set_line_style(kLineSolid);
  const double s = std::max(1.0, drawn_scale_);
  if (hit.kind == PickHit::node && hit.item >= 1 && hit.item <= run_.node_count()) {
    const double x = m.to_px(run_.plot_x[hit.item - 1]), y = m.to_py(run_.plot_y[hit.item - 1]);
    for (double r : {7 * s, 8 * s}) {
      const double corners[5][2] = {{x - r, y - r}, {x + r, y - r}, {x + r, y + r}, {x - r, y + r}, {x - r, y - r}};
      for (int i = 0; i < 4; ++i) pixel_line(m, corners[i][0], corners[i][1], corners[i + 1][0], corners[i + 1][1]);
    }
    return;
  }
  if (hit.kind != PickHit::element || hit.item < 1 || hit.item > run_.element_count()) return;
  if (!p.element_joins_nodes(hit.item)) return;
  const int a = p.element_node1[hit.item - 1], b = p.element_node2[hit.item - 1];
  const double ax = m.to_px(run_.plot_x[a - 1]), ay = m.to_py(run_.plot_y[a - 1]);
  const double bx = m.to_px(run_.plot_x[b - 1]), by = m.to_py(run_.plot_y[b - 1]);
  // Three lines side by side, across the element's direction.
  const double length = std::hypot(bx - ax, by - ay);
  const double nx = length > 0 ? -(by - ay) / length : 0, ny = length > 0 ? (bx - ax) / length : 1;
  for (double o : {-1.5 * s, 0.0, 1.5 * s}) pixel_line(m, ax + o * nx, ay + o * ny, bx + o * nx, by + o * ny);
}

void ExplorerFrames::draw_axis_triad(const std::array<double, 6>& projection) {
  // Three short arrows in the lower left corner along the projected axes,
  // since the frame's own arrows belong to the oblique view.
  const WorldRect window = window_of(run_.view);
  const PixelMapping m = mapping_of(window, !run_.settings.reverse_vertical, run_.window.width, run_.window.height);
  const double s = std::max(1.0, drawn_scale_);
  const double ox = 60 * s, oy = run_.window.height - 60 * s, length = 40 * s;
  const double up = run_.settings.reverse_vertical ? 1 : -1;  // picture rows grow downwards
  const char* labels[3] = {"X", "Y", "Z"};
  gfx_set_colour(kRgbBlack);
  gfx_set_line_style(kLineSolid);
  gfx_set_font("t'tms rmn'h14be");
  const int text_height = gfx_font_info().pixel_height;
  for (int k = 0; k < 3; ++k) {
    const double tx = ox + length * projection[static_cast<std::size_t>(k)];
    const double ty = oy + up * length * projection[static_cast<std::size_t>(3 + k)];
    pixel_line(m, ox, oy, tx, ty);
    gfx_move_to(m.to_x(tx + 3 * s), m.to_y(ty - text_height / 2.0));
    gfx_out_graphic_text(labels[k]);
  }
}

QImage ExplorerFrames::picture() const { return qtl::surface_image(surface_); }

void ExplorerFrames::copy_picture(WndImage* image) const { surface_.copy_image(image); }

std::shared_ptr<const PickIndex> ExplorerFrames::build_pick_index() {
  auto index = std::make_shared<const PickIndex>(problem_, run_.plot_x, run_.plot_y, node_elements_);
  node_elements_ = index->node_elements();
  return index;
}
