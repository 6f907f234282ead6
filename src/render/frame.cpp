#include "render/frame.h"

#include <algorithm>

#include "render/colouring.h"
#include "render/drawing_numbers.h"
#include "render/graph_run.h"
#include "render/grid_scale.h"
#include "render/structure.h"
#include "settings/graph_settings.h"
#include "settings/number_text.h"

namespace {

constexpr std::size_t kHeadingLength = 80;

std::string padded(std::string text, std::size_t length) {
  text.resize(length, ' ');
  return text;
}

// The heading's edit of the displacement factor: two significant digits,
// left-adjusted in 20 characters.
std::string factor_text(float factor) {
  std::string text(without_leading_blanks(format_general(factor, 10, 2)));
  return padded(std::move(text), 20);
}

void origin_box(const GraphRun& run) {
  const Problem& p = *run.problem;
  const int node = p.origin_node;
  if (node < 1 || node > run.node_count()) return;
  bool fixed = true;
  for (int k = 1; k <= run.ngl(); ++k)
    if (p.restraint(node, k) == 0) fixed = false;
  if (fixed) return;
  const ViewMapping& v = run.view;
  const double x1 = v.origin_x - v.marker_dx, y1 = v.origin_y + v.marker_dy;
  const double x2 = v.origin_x + v.marker_dx, y2 = v.origin_y - v.marker_dy;
  gfx_set_colour(kRgbWhite);
  gfx_rectangle(kGfxFilled, x1, y1, x2, y2);
  gfx_set_colour(kRgbBlack);
  gfx_rectangle(kGfxBorder, x1, y1, x2, y2);
}

}  // namespace

Rgb brightened_line_colour(Rgb colour) {
  const std::uint32_t next = colour + 0x101010u;
  return next >= 0xFFFFFFu ? Rgb{0x000080} : next;
}

std::string heading_line_1(const GraphRun& run) {
  std::string text(without_trailing_blanks(run.identity));
  text += run.romanian_messages ? " Graful miscarii structurii" : " Structure VELTRA Graph";
  return padded(std::move(text), kHeadingLength);
}

std::string heading_line_2(const GraphRun& run) {
  std::string text = run.romanian_messages ? "Factorul deplasarilor: " : "Displacement Factor: ";
  text += factor_text(run.settings.displacement_factor);
  return padded(std::move(text), kHeadingLength);
}

int title_column(int columns, int title_length) {
  const int column = static_cast<std::int16_t>((columns - title_length) / 2);
  return std::max(column, 1);
}

void draw_axis_arrow(const GraphRun& run, int a) {
  const ViewMapping& v = run.view;
  const FontInfo font = gfx_font_info();
  const double H = vertical_pixels(run, font.pixel_height);
  const double sx = run.settings.reverse_x ? -1.0 : 1.0;
  const double sv = run.settings.reverse_vertical ? -1.0 : 1.0;
  const double ox = v.origin_x, oy = v.origin_y;
  WorldPoint P[7];
  WorldPoint Q;
  const char* label;
  if (a == 1) {
    const double u = v.grid_dy / 36, L = 10 * u * sx, h = 2.5 * u * sx;
    P[0] = {ox, oy + 0.5 * u * sx};
    P[1] = {ox + L, P[0].y};
    P[2] = {P[1].x, P[0].y + u * sx};
    P[3] = {P[1].x + h, oy};
    P[4] = {P[1].x, oy - 1.5 * u * sx};
    P[5] = {P[1].x, P[4].y + u * sx};
    P[6] = {ox, P[5].y};
    Q = {P[3].x, oy + 0.5 * H * sv};
    label = " X";
  } else if (a == 3) {
    const double w = v.grid_dx / 227;
    P[0] = {ox - 0.5 * w, oy};
    P[1] = {P[0].x, oy + 35 * w};
    P[2] = {P[0].x - 2 * w, P[1].y};
    P[3] = {ox, P[1].y + 7 * w};
    P[4] = {ox + 2.5 * w, P[1].y};
    P[5] = {ox + 0.5 * w, P[1].y};
    P[6] = {P[5].x, oy};
    const double width = std::max<int>(run.window.width, 1);
    const double W = static_cast<float>(font.avg_char_width * 0.7 / width * v.grid_dx * 5);
    Q = {ox - 0.5 * sx * W, run.settings.reverse_vertical ? P[3].y : P[3].y + H};
    label = run.ngl() == 3 ? "Z " : "Y ";
  } else {
    const double w = v.grid_dy / 48, e = w * kSqrtHalf;
    const double sy = run.settings.reverse_y ? -1.0 : 1.0;
    const double sv2 = run.settings.reverse_y ? -sv : sv;
    const double ex = e * sy, ey = e * sv2;
    P[0] = {ox - 0.5 * ex, oy + 0.5 * ey};
    P[1] = {P[0].x + 15 * ex, P[0].y + 15 * ey};
    P[2] = {P[1].x - ex, P[1].y + ey};
    P[3] = {P[2].x + 4.5 * ex, P[2].y + 1.5 * ey};
    P[4] = {P[3].x - 1.5 * ex, P[3].y - 4.5 * ey};
    P[5] = {P[4].x - ex, P[4].y + ey};
    P[6] = {P[5].x - 15 * ex, P[5].y - 15 * ey};
    Q = {P[3].x, P[3].y + H * sv2};
    label = "Y ";
  }
  gfx_polygon(kGfxFilled, P, 7);
  gfx_move_to(Q.x, Q.y);
  gfx_out_graphic_text(label);
}

void draw_frame(GraphRun& run, float t) {
  GraphSettings& s = run.settings;
  if (!s.show_all_positions) {
    gfx_clear();
  } else if (run.colour_scheme != kSchemeAllBlack) {
    const Rgb before = s.line_colour;
    s.line_colour = brightened_line_colour(before);
    // The shared record follows only while it is not All Black and still
    // holds this run's colour: a scheme picked meanwhile in another run's
    // dialog (All Black, Custom, Standard again) stands.
    SettingsGuard guard;
    if (guard->colour_scheme != kSchemeAllBlack && guard->settings.line_colour == before)
      guard->settings.line_colour = s.line_colour;
  }

  gfx_set_text_colour(s.text_colour);
  gfx_set_text_position(2, 10);
  gfx_out_text(heading_line_1(run));
  gfx_set_text_position(3, 10);
  gfx_out_text(heading_line_2(run));

  const ProblemControl& c = run.problem->control;
  if (c.problem_title_length > 0) {
    const std::size_t length =
        std::min<std::size_t>(static_cast<std::size_t>(c.problem_title_length), c.problem_title.size());
    gfx_set_text_position(run.window.text_rows - 1,
                          title_column(run.window.text_columns, c.problem_title_length));
    gfx_out_text(std::string_view(c.problem_title).substr(0, length));
  }

  if (s.show_grid_and_scale) {
    const GridSteps steps = draw_grid(run);
    draw_scale(run, steps);
  }

  frame_units(run.view);
  gfx_set_colour(kRgbBlack);
  gfx_set_font("t'tms rmn'h14be");
  draw_axis_arrow(run, 1);
  draw_axis_arrow(run, 3);
  if (run.ngl() == 3) draw_axis_arrow(run, 2);
  draw_structure(run, t);
  origin_box(run);
  if (run.colouring.by != ColourBy::none) draw_colour_bar(run);
}
