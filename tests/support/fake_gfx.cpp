// The drawing operations of the recording layer: each acts on the calling
// thread's current window, keeps that window's drawing state as the real layer
// does and records itself in the window's call list. An operation that is
// refused (no current window, bad argument) records nothing.
//
// The world window maps x1 to pixel column 0 and x2 to column width - 1 (with
// y_up, y1 to the bottom row height - 1 and y2 to row 0), so one pixel is
// (x2 - x1) / (width - 1) world units across.
#include <algorithm>
#include <utility>

#include "platform/font_options.h"
#include "platform/gfx_checks.h"
#include "platform/world_window.h"
#include "support/fake_state.h"

namespace {

using fake::GfxCall;
using fake::detail::Window;

// The calling thread's current window with the state locked; sets the
// thread's status to success, or to kGfxErrorNoWindow when there is none.
struct Current {
  std::unique_lock<std::mutex> lock;
  Window* window;
};

Current current() {
  std::unique_lock lock(fake::detail::state_mutex());
  Window* w = fake::detail::current_window(fake::detail::state());
  fake::detail::thread_status() = w ? kGfxOk : kGfxErrorNoWindow;
  return {std::move(lock), w};
}

void record(Window& w, const char* op, std::vector<double> args, std::string_view text = {}) {
  w.calls.push_back(GfxCall{op, std::move(args), std::string(text)});
}

// Width of `text` in pixels in the window's current font: every character
// (UTF-8 sequence) is half the font height wide.
int text_width(const Window& w, std::string_view text) {
  int characters = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++characters;
  return characters * (w.font_height / 2);
}

Rgb swap_colour(Window* w, Rgb Window::*field, const char* op, Rgb rgb) {
  Rgb previous = w->*field;
  w->*field = rgb;
  record(*w, op, {static_cast<double>(rgb)});
  return previous;
}

}  // namespace

bool gfx_set_window(bool y_up, double x1, double y1, double x2, double y2) {
  Current c = current();
  if (!c.window) return false;
  WorldWindow window;
  const GfxStatus status = order_world_window(y_up, x1, y1, x2, y2, &window);
  fake::detail::thread_status() = status;
  if (status < 0) return false;
  Window& w = *c.window;
  record(w, "set_window", {y_up ? 1.0 : 0.0, x1, y1, x2, y2});
  w.y_up = window.y_up;
  w.x1 = window.x1;
  w.x2 = window.x2;
  w.y1 = window.y1;
  w.y2 = window.y2;
  return true;
}

void gfx_clear() {
  Current c = current();
  if (c.window) record(*c.window, "clear", {});
}

Rgb gfx_set_colour(Rgb rgb) {
  Current c = current();
  return c.window ? swap_colour(c.window, &Window::colour, "set_colour", rgb) : kRgbBlack;
}

Rgb gfx_set_background_colour(Rgb rgb) {
  Current c = current();
  return c.window ? swap_colour(c.window, &Window::background, "set_background_colour", rgb)
                  : kRgbBlack;
}

Rgb gfx_set_text_colour(Rgb rgb) {
  Current c = current();
  return c.window ? swap_colour(c.window, &Window::text_colour, "set_text_colour", rgb)
                  : kRgbBlack;
}

WorldPoint gfx_move_to(double x, double y) {
  Current c = current();
  if (!c.window) return {};
  WorldPoint previous = c.window->position;
  c.window->position = {x, y};
  record(*c.window, "move_to", {x, y});
  return previous;
}

bool gfx_line_to(double x, double y) {
  Current c = current();
  if (!c.window) return false;
  if ((fake::detail::thread_status() = check_point(x, y)) != kGfxOk) return false;
  c.window->position = {x, y};
  record(*c.window, "line_to", {x, y});
  return true;
}

bool gfx_segments(const GfxSegment* segments, std::size_t count) {
  bool all = true;
  for (std::size_t i = 0; i < count; ++i) {
    const GfxSegment& s = segments[i];
    bool same_style;
    {
      Current c = current();
      if (!c.window) return false;
      same_style = c.window->line_style == s.style;
    }
    if (!same_style) gfx_set_line_style(s.style);
    gfx_move_to(s.x1, s.y1);
    if (!gfx_line_to(s.x2, s.y2)) all = false;
  }
  return all;
}

// Each segment as gfx_segments records it, its line recorded as
// "shaded_line_to" with the end point and the colours its two shades pick.
bool gfx_shaded_segments(const GfxShadedSegment* segments, std::size_t count, const Rgb* palette,
                         std::size_t palette_size) {
  if (palette_size == 0 || palette_size > kGfxMaxPalette) {
    Current c = current();
    if (c.window) fake::detail::thread_status() = kGfxErrorInvalid;
    return false;
  }
  const auto entry = [&](std::uint32_t shade) {
    return static_cast<double>(palette[std::min<std::size_t>((shade + 128) >> 8, palette_size - 1)]);
  };
  bool all = true;
  for (std::size_t i = 0; i < count; ++i) {
    const GfxShadedSegment& s = segments[i];
    {
      Current c = current();
      if (!c.window) return false;
      if (c.window->line_style != s.style) {
        c.window->line_style = s.style;
        record(*c.window, "set_line_style", {static_cast<double>(s.style)});
      }
      c.window->position = {s.x1, s.y1};
      record(*c.window, "move_to", {s.x1, s.y1});
      if ((fake::detail::thread_status() = check_point(s.x2, s.y2)) != kGfxOk) {
        all = false;
        continue;
      }
      c.window->position = {s.x2, s.y2};
      record(*c.window, "shaded_line_to", {s.x2, s.y2, entry(s.shade1), entry(s.shade2)});
    }
  }
  return all;
}

// The generated forms record what the array forms record of the same
// segments, made in chunks as the real layer makes them.
namespace {
template <class Segment>
std::vector<Segment> made_segments(std::size_t count, const GfxSegmentSource<Segment>& make) {
  constexpr std::size_t kChunk = 3;  // small, so that a frame's elements span several
  std::vector<Segment> segments(count);
  for (std::size_t begin = 0; begin < count; begin += kChunk)
    make(begin, std::min(begin + kChunk, count), segments.data() + begin);
  return segments;
}
}  // namespace

bool gfx_generated_segments(std::size_t count, const GfxSegmentSource<GfxSegment>& make) {
  const std::vector<GfxSegment> segments = made_segments(count, make);
  return gfx_segments(segments.data(), count);
}

bool gfx_generated_shaded_segments(std::size_t count, const GfxSegmentSource<GfxShadedSegment>& make,
                                   const Rgb* palette, std::size_t palette_size) {
  const std::vector<GfxShadedSegment> segments = made_segments(count, make);
  return gfx_shaded_segments(segments.data(), count, palette, palette_size);
}

void gfx_set_line_style(std::uint16_t mask) {
  Current c = current();
  if (!c.window) return;
  c.window->line_style = mask;
  record(*c.window, "set_line_style", {static_cast<double>(mask)});
}

void gfx_set_fill_mask(const FillMask& mask) {
  Current c = current();
  if (!c.window) return;
  c.window->fill = mask;
  record(*c.window, "set_fill_mask", std::vector<double>(mask.begin(), mask.end()));
}

bool gfx_polygon(int mode, const WorldPoint* vertices, int count) {
  Current c = current();
  if (!c.window) return false;
  if ((fake::detail::thread_status() = check_polygon(mode, vertices, count)) != kGfxOk) return false;
  std::vector<double> args;
  args.reserve(2 + 2 * static_cast<std::size_t>(count));
  args.push_back(mode);
  args.push_back(count);
  for (int i = 0; i < count; ++i) {
    args.push_back(vertices[i].x);
    args.push_back(vertices[i].y);
  }
  record(*c.window, "polygon", std::move(args));
  return true;
}

bool gfx_rectangle(int mode, double x1, double y1, double x2, double y2) {
  Current c = current();
  if (!c.window) return false;
  if ((fake::detail::thread_status() = check_box_shape(mode, x1, y1, x2, y2)) != kGfxOk) return false;
  record(*c.window, "rectangle", {static_cast<double>(mode), x1, y1, x2, y2});
  return true;
}

bool gfx_ellipse(int mode, double x1, double y1, double x2, double y2) {
  Current c = current();
  if (!c.window) return false;
  if ((fake::detail::thread_status() = check_box_shape(mode, x1, y1, x2, y2)) != kGfxOk) return false;
  record(*c.window, "ellipse", {static_cast<double>(mode), x1, y1, x2, y2});
  return true;
}

// The fake font list holds one scalable font, which takes any face and any
// height; the option string is read by the real parser.
int gfx_init_fonts() {
  Current c = current();
  if (!c.window) return 0;
  c.window->fonts_ready = true;
  record(*c.window, "init_fonts", {});
  return 1;
}

GfxStatus gfx_status() { return fake::detail::thread_status(); }

// Before gfx_init_fonts the font list is empty, so every selection fails, as
// it does in the real layer; so does a font number other than 1.
int gfx_set_font(std::string_view options) {
  Current c = current();
  if (!c.window) return -1;
  FontRequest request = parse_font_options(options);
  if (request.status == kGfxErrorInvalid) {
    fake::detail::thread_status() = kGfxErrorInvalid;
    return -1;
  }
  if (!c.window->fonts_ready || (request.number != 0 && request.number != 1)) {
    fake::detail::thread_status() = kGfxErrorNoFont;
    return -1;
  }
  Window& w = *c.window;
  if (request.number == 0) {
    w.font_height = request.height > 0 ? request.height : fake::detail::kDefaultFontHeight;
    if (!request.face.empty()) w.font_face = substitute_face(request.face).front();
  }
  fake::detail::thread_status() = request.status;
  record(w, "set_font", {}, options);
  return 1;
}

FontInfo gfx_font_info() {
  Current c = current();
  if (!c.window) return {};
  const Window& w = *c.window;
  FontInfo info;
  info.ascent = w.font_height * 4 / 5;
  info.pixel_width = 0;
  info.pixel_height = w.font_height;
  info.avg_char_width = w.font_height / 2;
  info.face_name = w.font_face;
  return info;
}

int gfx_text_width(std::string_view text) {
  Current c = current();
  return c.window ? text_width(*c.window, text) : 0;
}

void gfx_out_graphic_text(std::string_view text) {
  Current c = current();
  if (!c.window) return;
  Window& w = *c.window;
  record(w, "out_graphic_text", {w.position.x, w.position.y}, text);
  double units_per_pixel = (w.x2 - w.x1) / std::max(1, w.width - 1);
  w.position.x += text_width(w, text) * units_per_pixel;
}

WorldPoint gfx_current_position() {
  Current c = current();
  return c.window ? c.window->position : WorldPoint{};
}

void gfx_set_text_position(int row, int column) {
  Current c = current();
  if (!c.window) return;
  c.window->text_row = row;
  c.window->text_column = column;
  record(*c.window, "set_text_position", {static_cast<double>(row), static_cast<double>(column)});
}

// The text position moves on by the characters written, as cells are filled.
void gfx_out_text(std::string_view text) {
  Current c = current();
  if (!c.window) return;
  Window& w = *c.window;
  record(w, "out_text", {}, text);
  if (w.record.kind == ChildKind::text) w.lines.emplace_back(text);
  w.text_column += static_cast<int>(text.size());
}
