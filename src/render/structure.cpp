#include "render/structure.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "base/mutex.h"
#include "platform/gfx.h"
#include "render/colouring.h"
#include "render/drawing_numbers.h"
#include "render/graph_run.h"
#include "render/number_field.h"
#include "settings/number_text.h"
#include "settings/time_output.h"

namespace {

constexpr int kLabelLength = 24;

// The marker sizes around a restrained node, as fractions of the marker and
// support sizes: the 32-bit values of the decimals, as the markers were
// first sized in 32-bit reals.
constexpr double kFixedRing = 1.4f;       // the ring of a fixed node, and its number's offset
constexpr double kFixedSquare = 0.8f;     // half the side of a fixed node's square
constexpr double kPartlyNumber = 1.1f;    // the number's offset beside a partly restrained node
constexpr double kSpringOfSupport = 0.7f; // an elastic support beside a rigid one

// The process-wide text of the last time label, erased in show-all mode.
Mutex label_mutex;
std::string last_label GUARDED_BY(label_mutex) = std::string(kLabelLength, ' ');

enum class NodeClass { free, fixed, partly };

NodeClass node_class(const Problem& p, int n) {
  const int ngl = p.control.NGL;
  int restrained = 0;
  const std::int32_t* codes = p.restraint_table.data() + p.index(n, 1);
  for (int k = 0; k < ngl; ++k)
    if (codes[k] != 0) ++restrained;
  if (restrained == 0) return NodeClass::free;
  return restrained == ngl ? NodeClass::fixed : NodeClass::partly;
}

// The drawing colour, set only when it changes.
class Colour {
 public:
  void set(Rgb rgb) {
    if (!known_ || rgb != current_) {
      gfx_set_colour(rgb);
      current_ = rgb;
      known_ = true;
    }
  }
  // Records a colour set elsewhere.
  void assume(Rgb rgb) {
    current_ = rgb;
    known_ = true;
  }

 private:
  bool known_ = false;
  Rgb current_ = 0;
};

void text_at(double x, double y, std::string_view text) {
  gfx_move_to(x, y);
  gfx_out_graphic_text(text);
}

void node_box(double x, double y, double mdx, double mdy, Rgb border, Colour& colour) {
  colour.set(kRgbWhite);
  gfx_rectangle(kGfxFilled, x - mdx, y + mdy, x + mdx, y - mdy);
  colour.set(border);
  gfx_rectangle(kGfxBorder, x - mdx, y + mdy, x + mdx, y - mdy);
}

void draw_elements(GraphRun& run) {
  const Problem& p = *run.problem;
  const int elements = std::min<int>(run.element_count(), static_cast<int>(run.element_value.size()));
  gfx_set_colour(run.settings.line_colour);
  if (run.colouring.by != ColourBy::none) {
    draw_coloured_elements(run);
    return;
  }
  draw_element_batches<GfxSegment>(
      run, elements,
      [&](int e) {
        const int n1 = p.element_node1[e] - 1, n2 = p.element_node2[e] - 1;
        return GfxSegment{run.plot_x[n1], run.plot_y[n1], run.plot_x[n2], run.plot_y[n2],
                          element_line_style(run, e)};
      },
      [](std::size_t count, const GfxSegmentSource<GfxSegment>& source) { gfx_generated_segments(count, source); });
}

// Font and number field width of the node numbers.
int select_node_font(int nodes) {
  const NumberStyle style = node_number_style(nodes);
  gfx_set_font(style.font);
  return style.field_width;
}

// The left edge of a node's number: beside the node point, the symbol of a
// fixed node or the supports of a partly restrained one.
double number_x(NodeClass kind, double x, const ViewMapping& v) {
  switch (kind) {
    case NodeClass::free: return x + v.marker_dx;
    case NodeClass::fixed: return x + kFixedRing * v.marker_dx;
    case NodeClass::partly: break;
  }
  return x + kPartlyNumber * (v.grid_dx / 24);
}

bool shown(const std::vector<std::uint8_t>& table, int item) {
  return table.empty() || (static_cast<std::size_t>(item - 1) < table.size() && table[item - 1] != 0);
}

// The run's nodes (from 1) restrained in some direction, in order; listed
// by the first call of a run.
const std::vector<int>& restrained_nodes(GraphRun& run) {
  if (!run.restrained_listed) {
    run.restrained_nodes.clear();
    for (int n = 1; n <= run.node_count(); ++n)
      if (node_class(*run.problem, n) != NodeClass::free) run.restrained_nodes.push_back(n);
    run.restrained_listed = true;
  }
  return run.restrained_nodes;
}

void draw_nodes(GraphRun& run, int field_width, Colour& colour) {
  const Problem& p = *run.problem;
  const ViewMapping& v = run.view;
  const int nodes = run.node_count();
  const int ngl = run.ngl();
  const double mdx = v.marker_dx, mdy = v.marker_dy;
  const double a = v.grid_dy / 6;
  const double b = v.grid_dx / 24;
  const bool boxes = nodes - p.control.restrained_count < 100;
  const bool indices = run.settings.show_node_indices;
  const Rgb index_colour = run.settings.node_index_colour;

  const auto draw_node = [&](int n) {
    const double x = run.plot_x[n - 1], y = run.plot_y[n - 1];
    const NodeClass kind = node_class(p, n);
    const bool number = shown(run.node_number_shown, n);
    if (kind == NodeClass::free) {
      if (!indices) return;
      colour.set(index_colour);
      if (number) text_at(number_x(kind, x, v), y, number_field(n, field_width).view());
      if (boxes) node_box(x, y, mdx, mdy, index_colour, colour);
      return;
    }
    colour.set(kRgbBlack);
    if (number) text_at(number_x(kind, x, v), y, number_field(n, field_width).view());
    if (kind == NodeClass::fixed) {
      gfx_rectangle(kGfxFilled, x - kFixedSquare * mdx, y + kFixedSquare * mdy, x + kFixedSquare * mdx,
                    y - kFixedSquare * mdy);
      gfx_ellipse(kGfxBorder, x - kFixedRing * mdx, y + kFixedRing * mdy, x + kFixedRing * mdx,
                  y - kFixedRing * mdy);
      return;
    }
    for (int k = 1; k <= ngl; ++k)
      if (p.restraint(n, k) != 0) draw_rigid_support(run, x, y, a, b, k);
    const ElasticSupport& spring = p.elastic_support[n - 1];
    if (spring.flag & 1) {
      for (int k = 1; k <= std::min(ngl, 3); ++k)
        if (spring.value[k - 1] != 0) draw_elastic_support(run, x, y, kSpringOfSupport * a, kSpringOfSupport * b, k);
    }
    node_box(x, y, mdx, mdy, kRgbBlack, colour);
  };
  for_each_drawn_node(run, draw_node);
  // The drawing colour is that of the last node's class, as the time label
  // is drawn in it.
  if (nodes > 0) colour.set(node_class(p, nodes) == NodeClass::free ? index_colour : kRgbBlack);
}

// The length of the ellipse around a label `pixels` wide: that width on the
// vertical scale (ten grid units span the window's height), rounded to 32
// bits, as the label's sizes were first worked out in 32-bit reals.
double label_ellipse_length(const GraphRun& run, double pixels) {
  const double height = std::max<int>(run.window.height, 1);
  return static_cast<float>(run.view.grid_dy * 10 * pixels / height);
}

void draw_time_label(GraphRun& run, float t) {
  const Problem& p = *run.problem;
  const ViewMapping& v = run.view;
  const int nodes = run.node_count();
  const int item = time_label_item(run);
  double ax, ay;
  bool fixed_in_place;
  if (item == nodes + 1) {
    ax = v.origin_x;
    ay = v.origin_y;
    fixed_in_place = true;
  } else {
    ax = run.plot_x[item - 1];
    ay = run.plot_y[item - 1];
    fixed_in_place = node_class(p, item) != NodeClass::free;
  }

  gfx_move_to(ax + v.marker_dx, ay);
  const FontInfo font = gfx_font_info();
  const double th = horizontal_pixels(run, font.pixel_height);
  const double s = run.settings.reverse_vertical ? -1.0 : 1.0;

  const float band = static_cast<float>(run.settings.step_frequency) * p.control.time_step;
  const std::string number =
      band < 0.1f ? format_fixed(t, kLabelLength, 6) : format_general(t, kLabelLength, 6);
  std::string label = "t = ";
  label += trim_number_text(number);
  label.resize(kLabelLength, ' ');
  const std::string_view shown = without_trailing_blanks(label);

  const WorldPoint P = gfx_current_position();
  const double label_y = P.y + 2 * s * th;
  gfx_move_to(P.x, label_y);

  if (run.settings.show_all_positions && fixed_in_place) {
    // Wipe the previous frame's label and the ellipse around it.
    const Rgb previous = gfx_set_colour(kRgbWhite);
    std::string old;
    {
      MutexLock lock(label_mutex);
      old = last_label;
    }
    gfx_out_graphic_text(without_trailing_blanks(old));
    if (run.has_label_ellipse) {
      // Grown by a pixel on every side so that the border's pixels are covered.
      const double gx = horizontal_pixels(run, 1), gy = vertical_pixels(run, 1);
      const double* r = run.label_ellipse;
      gfx_ellipse(kGfxFilled, std::min(r[0], r[2]) - gx, std::min(r[1], r[3]) - gy,
                  std::max(r[0], r[2]) + gx, std::max(r[1], r[3]) + gy);
    }
    gfx_set_colour(previous);
    gfx_move_to(P.x, label_y);
  }

  gfx_out_graphic_text(shown);
  {
    MutexLock lock(label_mutex);
    last_label = label;
  }

  const double L = label_ellipse_length(run, gfx_text_width(shown));
  const double x0 = P.x - 0.1 * L;
  const double y0 = P.y + 0.4 * s * th;
  const double x1 = x0 + L, y1 = y0 + 1.6 * s * th;
  gfx_ellipse(kGfxBorder, x0, y0, x1, y1);
  run.label_ellipse[0] = x0;
  run.label_ellipse[1] = y0;
  run.label_ellipse[2] = x1;
  run.label_ellipse[3] = y1;
  run.has_label_ellipse = true;
}

void draw_element_numbers(const GraphRun& run, Colour& colour) {
  const Problem& p = *run.problem;
  const int elements = run.element_count();
  int field_width = 3;
  if (elements > 0) {
    const NumberStyle style = element_number_style(elements);
    gfx_set_font(style.font);
    field_width = style.field_width;
  }
  colour.set(run.settings.element_index_colour);
  for (int e = 1; e <= elements; ++e) {
    if (!p.element_joins_nodes(e) || !shown(run.element_number_shown, e)) continue;
    const WorldPoint at = element_number_anchor(run, e);
    text_at(at.x, at.y, number_field(e, field_width).view());
  }
}

}  // namespace

NumberStyle node_number_style(int nodes) {
  if (nodes < 100) return {"t'tms rmn'h15be", 2};
  if (nodes < 1000) return {"t'tms rmn'h13be", 3};
  return {"t'tms rmn'h11be", 5};
}

NumberStyle element_number_style(int elements) {
  if (elements <= 99) return {"t'tms rmn'h15b", 3};
  if (elements <= 999) return {"t'tms rmn'h13b", 4};
  return {"t'tms rmn'h11b", 5};
}

WorldPoint node_number_anchor(const GraphRun& run, int n) {
  return {number_x(node_class(*run.problem, n), run.plot_x[n - 1], run.view), run.plot_y[n - 1]};
}

WorldPoint element_number_anchor(const GraphRun& run, int e) {
  const Problem& p = *run.problem;
  const int n1 = p.element_node1[e - 1], n2 = p.element_node2[e - 1];
  const float xm = (run.plot_x[n1 - 1] + run.plot_x[n2 - 1]) / 2.0f;
  const float ym = (run.plot_y[n1 - 1] + run.plot_y[n2 - 1]) / 2.0f;
  return {xm - run.view.grid_dx / 20, ym + run.view.grid_dy / 10};
}

void for_each_drawn_node(GraphRun& run, const std::function<void(int)>& visit) {
  if (run.settings.show_node_indices) {
    for (int n = 1; n <= run.node_count(); ++n) visit(n);
  } else {
    for (int n : restrained_nodes(run)) visit(n);
  }
}

const std::vector<int>& drawn_elements(GraphRun& run) {
  if (!run.drawn_listed) {
    const Problem& p = *run.problem;
    run.drawn_elements.clear();
    for (int e = 0; e < p.control.element_count; ++e)
      if (p.element_joins_nodes(e + 1)) run.drawn_elements.push_back(e);
    run.drawn_listed = true;
  }
  return run.drawn_elements;
}

std::uint16_t element_line_style(const GraphRun& run, int e) {
  return element_line_style(run.element_value[e], run.element_code[e]);
}

int time_label_item(const GraphRun& run) {
  return run.problem ? effective_time_output_item(run.settings.time_output_item, *run.problem) : 1;
}

std::string previous_time_label() {
  MutexLock lock(label_mutex);
  return last_label;
}

void draw_rigid_support(const GraphRun& run, double x, double y, double a, double b, int k) {
  const double s = run.settings.reverse_vertical ? -1.0 : 1.0;
  const int ngl = run.ngl();
  gfx_set_fill_mask(kFillHalfTone);
  WorldPoint triangle[3];
  if (k == ngl) {
    triangle[0] = {x, y};
    triangle[1] = {x + b, y - s * a};
    triangle[2] = {x - b, y - s * a};
    gfx_polygon(kGfxFilled, triangle, 3);
    const double base = y - s * a - s * a / 3;
    gfx_move_to(x - b, base);
    gfx_line_to(x + b, base);
  } else if (ngl == 3 && k == 2) {
    const double r = kSqrtHalfFloat;
    const double p = (a - b) * r, q = (a + b) * r, d = r * a / 3;
    triangle[0] = {x, y};
    triangle[1] = {x + p, y + q};
    triangle[2] = {x + q, y + p};
    gfx_polygon(kGfxFilled, triangle, 3);
    gfx_move_to(x + q + d, y + p + d);
    gfx_line_to(x + p + d, y + q + d);
  } else {
    triangle[0] = {x, y};
    triangle[1] = {x - a, y + s * b};
    triangle[2] = {x - a, y - s * b};
    gfx_polygon(kGfxFilled, triangle, 3);
    const double base = x - a - a / 3;
    gfx_move_to(base, y - s * b);
    gfx_line_to(base, y + s * b);
  }
  gfx_set_fill_mask(kFillSolid);
}

void draw_elastic_support(const GraphRun& run, double x, double y, double a, double b, int k) {
  const double s = run.settings.reverse_vertical ? -1.0 : 1.0;
  const int ngl = run.ngl();
  WorldPoint spring[4];
  if (k == ngl) {
    spring[0] = {x, y};
    spring[1] = {x + a, y - s * b};
    spring[2] = {x - a, y - 3 * s * b};
    spring[3] = {x, y - 4 * s * b};
    gfx_polygon(kGfxBorder, spring, 4);
    gfx_move_to(x + a, y - 4 * s * b);
    gfx_line_to(x - a, y - 4 * s * b);
  } else if (ngl == 3 && k == 2) {
    const double e = static_cast<float>(a * kSqrtTwoEightDigits);
    const double h = static_cast<float>(e * 0.5);
    spring[0] = {x, y};
    spring[1] = {x - e, y};
    spring[2] = {x - e, y - 2 * s * e};
    spring[3] = {x - 2 * e, y - 2 * s * e};
    gfx_polygon(kGfxBorder, spring, 4);
    gfx_move_to(x - 2 * e - h, y - 2 * s * e + s * h);
    gfx_line_to(x - 2 * e + h, y - 2 * s * e - s * h);
  } else {
    spring[0] = {x, y};
    spring[1] = {x - b, y + s * a};
    spring[2] = {x - 3 * b, y - s * a};
    spring[3] = {x - 4 * b, y};
    gfx_polygon(kGfxBorder, spring, 4);
    gfx_move_to(x - 4 * b, y + s * a);
    gfx_line_to(x - 4 * b, y - s * a);
  }
}

void draw_structure(GraphRun& run, float t) {
  if (!run.problem) return;
  draw_elements(run);
  Colour colour;
  // The elements left line_colour as the drawing colour.
  colour.assume(run.settings.line_colour);
  // Support symbols are drawn solid, whatever style the last element left.
  gfx_set_line_style(kLineSolid);
  const int field_width = select_node_font(run.node_count());
  draw_nodes(run, field_width, colour);
  if (run.settings.show_time_output) draw_time_label(run, t);
  if (run.settings.show_element_indices) draw_element_numbers(run, colour);
}
