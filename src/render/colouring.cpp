#include "render/colouring.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "platform/shared_work.h"
#include "render/graph_run.h"
#include "render/palette_shading.h"
#include "render/structure.h"

namespace {

// The bar's measures in pixels.
constexpr int kBarWidth = 12;
constexpr int kTickLength = 4;
constexpr int kGap = 4;     // between the tick and its number, and around the bar's box
constexpr int kEdge = 8;    // between the numbers and the window's right edge
constexpr const char* kBarFont = "t'tms rmn'h12b";

// A value's lowest and highest finite values so far.
struct Span {
  bool any = false;
  float low = 0, high = 0;
  void add(float v) {
    if (!std::isfinite(v)) return;
    if (!any) {
      any = true;
      low = high = v;
      return;
    }
    low = std::min(low, v);
    high = std::max(high, v);
  }
  void join(const Span& other) {
    if (!other.any) return;
    add(other.low);
    add(other.high);
  }
};

// Adds `code` to the ascending list, which keeps at most kMaxBarCodes + 1 of
// the lowest codes (one more than a bar lists, to tell that there are more).
void add_code(std::vector<std::int32_t>& codes, std::int32_t code) {
  const auto at = std::lower_bound(codes.begin(), codes.end(), code);
  if (at != codes.end() && *at == code) return;
  if (codes.size() > kMaxBarCodes && at == codes.end()) return;
  codes.insert(at, code);
  if (codes.size() > kMaxBarCodes + 1) codes.pop_back();
}

// The number of elements the run has records for.
int recorded_elements(const GraphRun& run) {
  return std::min<int>(run.element_count(),
                       static_cast<int>(std::min(run.element_value.size(), run.element_code.size())));
}

// Nodes are measured and shaded in chunks of this many, shared with the
// drawing helper thread when it is free (platform/shared_work.h).
constexpr std::size_t kNodeChunk = 16384;

// The lengths of nodes [begin, end) of the NGL-component displacements u.
template <std::size_t kNgl>
void lengths_of(const float* u, std::size_t ngl, std::size_t begin, std::size_t end, float* magnitude) {
  const std::size_t width = kNgl == 0 ? ngl : kNgl;
  for (std::size_t n = begin; n < end; ++n) magnitude[n] = displacement_length<kNgl>(u + n * width, ngl);
}

// Fills magnitude with the length of every node's displacement at the step
// in run.node_step and returns their span.
Span node_magnitudes(const GraphRun& run, std::vector<float>& magnitude) {
  const std::size_t nodes = static_cast<std::size_t>(std::max(run.node_count(), 0));
  const std::size_t ngl = static_cast<std::size_t>(std::max(run.ngl(), 0));
  magnitude.resize(nodes);
  if (run.node_step.size() < nodes * ngl) {
    std::fill(magnitude.begin(), magnitude.end(), 0.0f);
    return {};
  }
  const float* u = run.node_step.data();
  float* m = magnitude.data();
  // Each worker's span, a cache line apart; spans join in any order.
  struct alignas(64) WorkerSpan {
    Span span;
  };
  WorkerSpan spans[2];
  share_work(nodes, kNodeChunk, [&](std::size_t begin, std::size_t end, int worker) {
    switch (ngl) {
      case 2: lengths_of<2>(u, ngl, begin, end, m); break;
      case 3: lengths_of<3>(u, ngl, begin, end, m); break;
      default: lengths_of<0>(u, ngl, begin, end, m); break;
    }
    Span& span = spans[worker].span;
    for (std::size_t n = begin; n < end; ++n) span.add(m[n]);
  });
  Span span = spans[0].span;
  span.join(spans[1].span);
  return span;
}

// Fills node_shade with the palette position of the length of every node's
// displacement at the step in run.node_step, when the scale is known before
// the frame: the lengths themselves are not kept.
void node_shades(const GraphRun& run, const PaletteShader& shade, std::vector<std::uint32_t>& node_shade) {
  const std::size_t nodes = static_cast<std::size_t>(std::max(run.node_count(), 0));
  const std::size_t ngl = static_cast<std::size_t>(std::max(run.ngl(), 0));
  if (run.node_step.size() < nodes * ngl) {
    node_shade.assign(nodes, shade(0.0f));
    return;
  }
  node_shade.resize(nodes);
  const float* u = run.node_step.data();
  std::uint32_t* out = node_shade.data();
  share_work(nodes, kNodeChunk, [&](std::size_t begin, std::size_t end, int) {
    shade.shade_lengths(u, ngl, begin, end, out + begin);
  });
}

// The span of the drawn elements' values, or their codes, at the step in
// run.element_value and run.element_code.
Span element_values(const GraphRun& run) {
  const Problem& p = *run.problem;
  Span span;
  for (int e = 0, n = recorded_elements(run); e < n; ++e)
    if (p.element_joins_nodes(e + 1)) span.add(run.element_value[e]);
  return span;
}

void element_codes(const GraphRun& run, std::vector<std::int32_t>& codes) {
  const Problem& p = *run.problem;
  for (int e = 0, n = recorded_elements(run); e < n; ++e)
    if (p.element_joins_nodes(e + 1)) add_code(codes, run.element_code[e]);
}

void widen(ColourState& s, const Span& span) {
  if (!span.any) return;
  if (!s.measured) {
    s.measured = true;
    s.low = span.low;
    s.high = span.high;
    return;
  }
  s.low = std::min(s.low, span.low);
  s.high = std::max(s.high, span.high);
}

std::uint32_t code_shade(const ColourMap& map, std::int32_t code) {
  const std::int64_t n = map.count;
  return static_cast<std::uint32_t>(((code % n) + n) % n) << 8;
}

// The map's colours and, after them, kNoValueColour.
struct Palette {
  std::array<Rgb, 257> colours{};
  std::size_t size = 0;
  explicit Palette(const ColourMap& map) {
    size = static_cast<std::size_t>(map.count);
    std::copy(map.colours, map.colours + map.count, colours.begin());
    colours[size++] = kNoValueColour;
  }
};

// Pixel positions of the run's window in world coordinates, as the world
// window maps them: column 0 to the left edge, row 0 to the top.
class PixelPlace {
 public:
  explicit PixelPlace(const GraphRun& run) {
    const ViewMapping& v = run.view;
    xa_ = std::min(v.window_x1, v.window_x2);
    const double xb = std::max(v.window_x1, v.window_x2);
    const double ya = std::min(v.window_y1, v.window_y2), yb = std::max(v.window_y1, v.window_y2);
    dx_ = (xb - xa_) / std::max(run.window.width - 1, 1);
    const double dy = (yb - ya) / std::max(run.window.height - 1, 1);
    if (run.settings.reverse_vertical) {
      y0_ = ya;
      dy_ = dy;
    } else {
      y0_ = yb;
      dy_ = -dy;
    }
  }
  double x(double column) const { return xa_ + column * dx_; }
  double y(double row) const { return y0_ + row * dy_; }

 private:
  double xa_ = 0, dx_ = 0, y0_ = 0, dy_ = 0;
};

// The codes a bar lists: those seen over all steps or in the frame, or
// every code of a fixed range.
std::vector<std::int32_t> bar_codes(const GraphRun& run) {
  const ColourState& s = run.colour_state;
  switch (run.colouring.range) {
    case ColourRange::all_steps:
      return s.codes;
    case ColourRange::frame:
      return s.frame_codes;
    case ColourRange::fixed:
      break;
  }
  std::vector<std::int32_t> codes;
  const double low = std::ceil(run.colouring.low), high = std::floor(run.colouring.high);
  for (double c = low; c <= high && codes.size() <= kMaxBarCodes; ++c) codes.push_back(static_cast<std::int32_t>(c));
  return codes;
}

void text_at(const PixelPlace& at, double column, double row, const std::string& text) {
  gfx_move_to(at.x(column), at.y(row));
  gfx_out_graphic_text(text);
}

}  // namespace

const ColourMap& default_colour_map(ColourBy by) {
  const char* name = by == ColourBy::value ? "coolwarm" : by == ColourBy::code ? "tab10" : "viridis";
  return *find_colour_map(name);
}

const ColourMap& colour_map_of(const Colouring& colouring) {
  return colouring.map ? *colouring.map : default_colour_map(colouring.by);
}

const char* colour_quantity_name(ColourBy by) {
  switch (by) {
    case ColourBy::displacement:
      return "Displacement";
    case ColourBy::value:
      return "Element value";
    case ColourBy::code:
      return "Element code";
    case ColourBy::none:
      break;
  }
  return "";
}

bool colouring_reads_elements(const GraphRun& run) {
  const ColourBy by = run.colouring.by;
  return (by == ColourBy::value || by == ColourBy::code) && run.colouring.range == ColourRange::all_steps &&
         run.element_count() > 0;
}

Status measure_step_colours(GraphRun& run, int step, std::optional<int> next) {
  if (run.colouring.by == ColourBy::none || run.colouring.range != ColourRange::all_steps) return Status::ok();
  ColourState& s = run.colour_state;
  if (run.colouring.by == ColourBy::displacement) {
    widen(s, node_magnitudes(run, s.magnitude));
    return Status::ok();
  }
  if (!colouring_reads_elements(run)) return Status::ok();
  Status status = run.steps->read_element_step(step, &run.element_value, &run.element_code);
  if (!status.is_ok()) return status;
  if (recorded_elements(run) < run.element_count())
    return Status::damaged("el.unf, step " + std::to_string(step) + ": fewer records than elements");
  if (next) run.steps->read_ahead(*next, true);
  if (run.colouring.by == ColourBy::value) {
    widen(s, element_values(run));
  } else {
    element_codes(run, s.codes);
    s.measured = true;
  }
  return Status::ok();
}

ColourScale colour_scale(const GraphRun& run) {
  const ColourState& s = run.colour_state;
  ColourScale scale;
  switch (run.colouring.range) {
    case ColourRange::all_steps:
      if (s.measured) scale = {s.low, s.high};
      break;
    case ColourRange::frame:
      if (s.frame_measured) scale = {s.frame_low, s.frame_high};
      break;
    case ColourRange::fixed:
      scale = {run.colouring.low, run.colouring.high};
      break;
  }
  if (colour_map_of(run.colouring).kind == ColourMapKind::diverging) {
    const double m = std::max(std::fabs(scale.low), std::fabs(scale.high));
    scale = {-m, m};
  }
  return scale;
}

void draw_coloured_elements(GraphRun& run) {
  const Problem& p = *run.problem;
  ColourState& s = run.colour_state;
  const ColourBy by = run.colouring.by;
  const ColourMap& map = colour_map_of(run.colouring);
  const int elements = recorded_elements(run);

  // The frame's own range of lengths or values, which a frame range scales
  // by. Any other range is known before the frame: the frame's range is not
  // measured, and the nodes' palette positions are taken in one pass with
  // their lengths, which are not kept.
  const bool frame_range = run.colouring.range == ColourRange::frame;
  Span frame;
  if (frame_range && by == ColourBy::displacement) frame = node_magnitudes(run, s.magnitude);
  if (frame_range && by == ColourBy::value) frame = element_values(run);
  s.frame_measured = frame.any;
  s.frame_low = frame.low;
  s.frame_high = frame.high;
  if (by == ColourBy::code) {
    s.frame_codes.clear();
    element_codes(run, s.frame_codes);
    s.frame_measured = true;
  }

  const ColourScale scale = colour_scale(run);
  const PaletteShader shade(map, scale.low, scale.high);
  if (by == ColourBy::displacement && !frame_range) node_shades(run, shade, s.node_shade);
  if (by == ColourBy::displacement && frame_range) {
    s.node_shade.resize(s.magnitude.size());
    const float* magnitude = s.magnitude.data();
    std::uint32_t* node_shade = s.node_shade.data();
    share_work(s.magnitude.size(), kNodeChunk, [&](std::size_t begin, std::size_t end, int) {
      for (std::size_t n = begin; n < end; ++n) node_shade[n] = shade(magnitude[n]);
    });
  }
  const Palette palette(map);

  draw_element_batches<GfxShadedSegment>(
      run, elements,
      [&](int e) {
        const int n1 = p.element_node1[e] - 1, n2 = p.element_node2[e] - 1;
        std::uint32_t shade1, shade2;
        if (by == ColourBy::displacement) {
          shade1 = s.node_shade[static_cast<std::size_t>(n1)];
          shade2 = s.node_shade[static_cast<std::size_t>(n2)];
          // A line from a number to no number would run through the whole map.
          if (shade1 == shade.none() || shade2 == shade.none()) shade1 = shade2 = shade.none();
        } else {
          shade1 = shade2 =
              by == ColourBy::value ? shade(run.element_value[e]) : code_shade(map, run.element_code[e]);
        }
        return GfxShadedSegment{run.plot_x[n1], run.plot_y[n1], run.plot_x[n2], run.plot_y[n2], shade1, shade2,
                                element_line_style(run.element_value[e], run.element_code[e])};
      },
      [&](std::size_t count, const GfxSegmentSource<GfxShadedSegment>& source) {
        gfx_generated_shaded_segments(count, source, palette.colours.data(), palette.size);
      });
}

std::vector<double> colour_ticks(double low, double high) {
  if (!(high > low)) return {low};
  const double range = high - low;
  // The coarsest spacing of 1, 2, 2.5 or 5 times a power of ten that gives
  // at least four ticks.
  const double decade = std::pow(10.0, std::floor(std::log10(range)));
  std::vector<double> ticks;
  for (double spacing : {decade, decade / 2, decade / 4, decade / 5, decade / 10, decade / 20}) {
    ticks.clear();
    const double first = std::ceil(low / spacing - 1e-9);
    for (double k = first; k * spacing <= high + 1e-9 * range; ++k) ticks.push_back(k * spacing == 0 ? 0.0 : k * spacing);
    if (ticks.size() >= 4) return ticks;
  }
  return {low, high};
}

std::string colour_tick_text(double value, double spacing) {
  char text[32];
  const double magnitude = std::max(std::fabs(value), std::fabs(spacing));
  if (magnitude >= 1e6 || spacing < 1e-4) {
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
  }
  int decimals = 0;
  while (decimals < 4 && std::fabs(spacing * std::pow(10.0, decimals) - std::round(spacing * std::pow(10.0, decimals))) >
                             1e-6 * std::pow(10.0, decimals) * std::fabs(spacing))
    ++decimals;
  std::snprintf(text, sizeof text, "%.*f", decimals, value == 0 ? 0.0 : value);
  return text;
}

void draw_colour_bar(GraphRun& run) {
  const int width = run.window.width, height = run.window.height;
  if (width < 2 || height < 2) return;
  const ColourMap& map = colour_map_of(run.colouring);
  const PixelPlace at(run);
  gfx_set_font(kBarFont);
  const int th = std::max(gfx_font_info().pixel_height, 1);
  const int top = height * 22 / 100, bottom = height * 78 / 100;

  // The numbers beside the bar, and how wide the widest is.
  std::vector<std::pair<double, std::string>> labels;  // row, text
  std::vector<std::pair<int, Rgb>> swatches;           // first row, colour
  const bool codes = run.colouring.by == ColourBy::code;
  int pitch = 0;  // rows from one code's swatch to the next
  if (codes) {
    const std::vector<std::int32_t> listed = bar_codes(run);
    const bool more = listed.size() > kMaxBarCodes;
    const int shown = static_cast<int>(std::min(listed.size(), kMaxBarCodes));
    pitch = shown > 0 ? std::min(th + 4, (bottom - top) / shown) : 0;
    for (int i = 0; i < shown; ++i) {
      const std::int32_t code = listed[static_cast<std::size_t>(i)];
      swatches.push_back({top + i * pitch, map.colours[code_shade(map, code) >> 8]});
      labels.push_back({top + i * pitch + (pitch - 2) / 2.0, std::to_string(code)});
    }
    if (more) labels.push_back({top + shown * pitch + th / 2.0, "..."});
  } else {
    const ColourScale scale = colour_scale(run);
    const std::vector<double> ticks = colour_ticks(scale.low, scale.high);
    const double spacing = ticks.size() > 1 ? ticks[1] - ticks[0] : std::fabs(ticks[0]);
    for (double v : ticks) {
      const double share = scale.high > scale.low ? (v - scale.low) / (scale.high - scale.low) : 0.0;
      labels.push_back({std::round(bottom - share * (bottom - top)), colour_tick_text(v, spacing)});
    }
  }
  int text_width = 0;
  for (const auto& label : labels) text_width = std::max(text_width, gfx_text_width(label.second));
  const std::string name = colour_quantity_name(run.colouring.by);
  const int name_width = gfx_text_width(name);

  const int bar_right = width - 1 - kEdge - text_width - kGap - kTickLength;
  const int bar_left = bar_right - kBarWidth + 1;
  const int name_left = std::min(bar_left, width - 1 - kEdge - name_width);
  const int name_top = top - kGap - th;
  const int box_bottom = std::max(bottom, static_cast<int>(labels.empty() ? 0 : labels.back().first)) + th;

  // White under the name and under the bar with its numbers, so that they
  // stay readable over the structure and over the bar of an earlier frame.
  gfx_set_colour(kRgbWhite);
  gfx_rectangle(kGfxFilled, at.x(name_left - kGap), at.y(name_top - kGap), at.x(width - 1), at.y(top - 2));
  gfx_rectangle(kGfxFilled, at.x(bar_left - kGap), at.y(top - 2), at.x(width - 1), at.y(box_bottom));
  gfx_set_colour(kRgbBlack);
  gfx_set_line_style(kLineSolid);
  if (codes) {
    for (const auto& [row, colour] : swatches) {
      gfx_set_colour(colour);
      gfx_rectangle(kGfxFilled, at.x(bar_left), at.y(row), at.x(bar_right), at.y(row + pitch - 3));
      gfx_set_colour(kRgbBlack);
      gfx_rectangle(kGfxBorder, at.x(bar_left), at.y(row), at.x(bar_right), at.y(row + pitch - 3));
    }
  } else {
    // One column of the bar a segment, from the low end at the bottom to the
    // high end at the top.
    std::vector<GfxShadedSegment> columns;
    const std::uint32_t high_end = static_cast<std::uint32_t>(map.count - 1) << 8;
    for (int x = bar_left; x <= bar_right; ++x)
      columns.push_back({at.x(x), at.y(bottom), at.x(x), at.y(top), 0, high_end, kLineSolid});
    gfx_shaded_segments(columns.data(), columns.size(), map.colours, static_cast<std::size_t>(map.count));
    gfx_rectangle(kGfxBorder, at.x(bar_left - 1), at.y(top - 1), at.x(bar_right + 1), at.y(bottom + 1));
    for (const auto& label : labels) {
      gfx_move_to(at.x(bar_right + 1), at.y(label.first));
      gfx_line_to(at.x(bar_right + kTickLength), at.y(label.first));
    }
  }
  for (const auto& label : labels)
    text_at(at, bar_right + kTickLength + kGap, label.first - th / 2.0, label.second);
  text_at(at, name_left, name_top, name);
}
