#include "render/grid_scale.h"

#include <string>

#include "platform/gfx.h"
#include "render/graph_run.h"
#include "settings/number_text.h"

namespace {

constexpr double kTwoTenths = 0.2f;  // the thresholds are the float values
constexpr double kOneTenth = 0.1f;
constexpr char kScaleFont[] = "t'tms rmn'h12b";
constexpr char kNumberSample[] = "12345678. ";
// Safety bound on the positions of one scale; a box has at most 11.
constexpr int kMaxScalePositions = 16;

void line(double x1, double y1, double x2, double y2) {
  gfx_move_to(x1, y1);
  gfx_line_to(x2, y2);
}

void draw_number(double value, double x, double y) {
  const std::string text = format_fixed(value, 9, 2);
  gfx_move_to(x, y);
  gfx_out_graphic_text(text);
}

}  // namespace

GridSteps draw_grid(const GraphRun& run) {
  const ViewMapping& v = run.view;
  gfx_set_colour(run.settings.grid_colour);
  // Solid, whatever style the last element of the previous frame left.
  gfx_set_line_style(kLineSolid);
  GridSteps steps;
  steps.step_x = (v.box_x2 - v.box_x1) / 5;
  steps.step_y = (v.box_y2 - v.box_y1) / 10;

  if (steps.step_y * 10 != 0) {
    const double ry = steps.step_y * 10 / (v.window_y2 - v.window_y1);
    int count;
    double spacing;
    if (ry > kTwoTenths) {
      count = 11;
      spacing = steps.step_y;
    } else if (ry > kOneTenth) {
      count = 6;
      spacing = 2 * steps.step_y;
    } else {
      count = 5;
      spacing = 2.5 * steps.step_y;
    }
    double y = v.box_y1;
    for (int i = 0; i < count; ++i) {
      line(v.box_x1, y, v.box_x2, y);
      y += spacing;
    }
  }

  if (steps.step_x * 5 != 0) {
    const double rx = steps.step_x * 5 / (v.window_x2 - v.window_x1);
    const int count = rx >= kTwoTenths ? 11 : 6;
    const double spacing = rx >= kTwoTenths ? steps.step_x / 2 : steps.step_x;
    double x = v.box_x1;
    for (int i = 0; i < count; ++i) {
      line(x, v.box_y1, x, v.box_y2);
      x += spacing;
    }
  }
  return steps;
}

void draw_scale(const GraphRun& run, const GridSteps& steps) {
  const ViewMapping& v = run.view;
  const double width = run.window.width > 0 ? run.window.width : 1;
  const double height = run.window.height > 0 ? run.window.height : 1;
  gfx_set_colour(run.settings.scale_colour);
  const float window_width = static_cast<float>(v.window_x2 - v.window_x1);
  const float box_width = static_cast<float>(steps.step_x * 5);
  const double s = run.settings.reverse_vertical ? -1.0 : 1.0;

  // Vertical scale along the left edge of the box.
  if (static_cast<float>(steps.step_y * 10) != 0) {
    const float ry = static_cast<float>(steps.step_y * 10 / (v.window_y2 - v.window_y1));
    int mode;
    float spacing;
    if (ry <= 0.2f && ry <= 0.1f) {
      mode = 3;
      spacing = static_cast<float>(2.5 * steps.step_y);
    } else if (ry <= 0.2f) {
      mode = 2;
      spacing = static_cast<float>(2 * steps.step_y);
    } else {
      mode = 1;
      spacing = static_cast<float>(steps.step_y);
    }
    gfx_set_font(kScaleFont);
    const FontInfo font = gfx_font_info();
    const int pw = gfx_text_width(kNumberSample);
    const double ha = v.grid_dx * 5 * font.ascent / width;
    const double lw = pw / height * v.grid_dy * 10;
    const double tick = font.avg_char_width / height * v.grid_dy * 10 * 0.9;
    const double offset = (mode == 1 ? 0.5 : 0.4) * s * ha;
    const float first = static_cast<float>(v.box_y1);
    const float limit = static_cast<float>(v.box_y2) + 0.1f * spacing;
    const float last_band = static_cast<float>(v.box_y2) - spacing;
    float y = first;
    for (int i = 0; i < kMaxScalePositions && y <= limit; ++i, y += spacing) {
      if (mode != 3 || i == 0 || y > last_band)
        draw_number(y + v.centre_y, v.box_x1 - lw, y + offset);
      line(v.box_x1, y, v.box_x1 - tick, y);
    }
  }

  // Horizontal scale along the bottom edge, at every second grid line.
  if (box_width != 0) {
    float spacing = static_cast<float>(steps.step_x);
    if (box_width / window_width > 0.2f) spacing /= 2;
    gfx_set_font(kScaleFont);
    const FontInfo font = gfx_font_info();
    const int pw = gfx_text_width(kNumberSample);
    const double hh = font.ascent / width * v.grid_dx * 5;
    const double q = v.grid_dy * 10 * pw / height * 0.25;
    const double tick = font.pixel_height / width * v.grid_dx * 5 * 0.5;
    const float limit = static_cast<float>(v.box_x2) + 0.1f * spacing;
    float x = static_cast<float>(v.box_x1);
    for (int i = 0; i < kMaxScalePositions && x <= limit; ++i, x += 2 * spacing) {
      draw_number(x + v.centre_x, x - q, v.box_y1 - hh);
      line(x, v.box_y1, x, v.box_y1 - tick);
    }
  }
}
