// Recorded drawing calls of frames of small, hand-computed models.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "render/animation.h"
#include "render/colouring.h"
#include "render/frame.h"
#include "render/grid_scale.h"
#include "render/palette_shading.h"
#include "render/structure.h"
#include "render/view_mapping.h"
#include "render/window_setup.h"
#include "render_fixtures.h"
#include "settings/colour_schemes.h"
#include "settings/graph_settings.h"
#include "settings/number_text.h"
#include "support/fake_platform.h"

using namespace render_test;
using fake::GfxCall;

namespace {

struct Drawn {
  MemorySteps steps;
  GraphRun run;
  explicit Drawn(std::shared_ptr<Problem> p, GraphSettings s = {}, int unit = 10) {
    fake::reset();
    steps.node_values = static_cast<std::size_t>(p->control.node_count * p->control.NGL);
    steps.elements = static_cast<std::size_t>(p->control.element_count);
    s.start_step = s.end_step = 0;
    prepare_graph_run(run, p, s, kSchemeStandard, &steps);
    run.unit = unit;
    run.caption = "(1) Test frame";
    EXPECT_TRUE(measure_extents(run).is_ok());
    EXPECT_EQ(setup_graph_window(run), WindowSetup::ready);
    fake::clear_gfx_calls(unit);
  }
  std::vector<GfxCall> frame(float t = 0) {
    draw_frame(run, t);
    return fake::gfx_calls(run.unit);
  }
};

std::vector<GfxCall> only(const std::vector<GfxCall>& calls, const std::string& op) {
  std::vector<GfxCall> out;
  for (const GfxCall& c : calls)
    if (c.op == op) out.push_back(c);
  return out;
}

const GfxCall* text_call(const std::vector<GfxCall>& calls, const std::string& text) {
  for (const GfxCall& c : calls)
    if (c.op == "out_graphic_text" && c.text == text) return &c;
  return nullptr;
}

std::vector<WorldPoint> vertices(const GfxCall& polygon) {
  std::vector<WorldPoint> v;
  for (std::size_t i = 2; i + 1 < polygon.args.size(); i += 2) v.push_back({polygon.args[i], polygon.args[i + 1]});
  return v;
}

#define EXPECT_POINT(p, X, Y)       \
  do {                              \
    EXPECT_NEAR((p).x, (X), 1e-9);  \
    EXPECT_NEAR((p).y, (Y), 1e-9);  \
  } while (0)

}  // namespace

TEST(Heading, LinesInBothLanguagesAndFactorEdits) {
  GraphRun run;
  run.settings.displacement_factor = 1.0f;
  EXPECT_EQ(heading_line_1(run), std::string("TARVEK: Structure VELTRA Graph").append(50, ' '));
  EXPECT_EQ(heading_line_2(run).substr(0, 25), "Displacement Factor: 1.0 ");
  EXPECT_EQ(heading_line_2(run).size(), 80u);
  const std::pair<float, const char*> edits[] = {{0.5f, "0.50"}, {50.0f, "50."}, {150.0f, "0.15E+03"}};
  for (const auto& [factor, text] : edits) {
    run.settings.displacement_factor = factor;
    EXPECT_EQ(std::string(without_trailing_blanks(heading_line_2(run))),
              std::string("Displacement Factor: ") + text);
  }
  run.romanian_messages = true;
  EXPECT_EQ(std::string(without_trailing_blanks(heading_line_1(run))), "TARVEK: Graful miscarii structurii");
  EXPECT_EQ(heading_line_2(run).substr(0, 23), "Factorul deplasarilor: ");
}

TEST(Frame, CellTextsAndCentredTitle) {
  Drawn d(plane_frame());
  const auto calls = d.frame();
  ASSERT_GE(calls.size(), 7u);
  EXPECT_EQ(calls[0].op, "clear");
  EXPECT_EQ(calls[1].op, "set_text_colour");
  EXPECT_EQ(calls[1].args[0], 0x800080);
  const auto positions = only(calls, "set_text_position");
  const auto texts = only(calls, "out_text");
  ASSERT_EQ(positions.size(), 3u);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(positions[0].args, (std::vector<double>{2, 10}));
  EXPECT_EQ(positions[1].args, (std::vector<double>{3, 10}));
  // 43 rows and 125 columns: the title of 10 characters at row 42, column 57.
  EXPECT_EQ(positions[2].args, (std::vector<double>{42, 57}));
  EXPECT_EQ(texts[2].text, "Test frame");
  EXPECT_EQ(title_column(125, 10), 57);
  EXPECT_EQ(title_column(40, 80), 1);  // wider than the window
}

TEST(Frame, AxisArrowsOfAPlaneProblem) {
  Drawn d(plane_frame());
  const auto calls = d.frame();
  const ViewMapping& v = d.run.view;
  const auto polygons = only(calls, "polygon");
  ASSERT_GE(polygons.size(), 2u);
  // The first two filled polygons are the X and vertical arrows.
  EXPECT_EQ(polygons[0].args[0], kGfxFilled);
  EXPECT_EQ(polygons[0].args[1], 7);
  const auto x = vertices(polygons[0]);
  const double u = v.grid_dy / 36;
  EXPECT_POINT(x[0], -2.0, -1.5 + 0.5 * u);
  EXPECT_POINT(x[1], -2.0 + 10 * u, -1.5 + 0.5 * u);
  EXPECT_POINT(x[2], -2.0 + 10 * u, -1.5 + 1.5 * u);
  EXPECT_POINT(x[3], -2.0 + 12.5 * u, -1.5);
  EXPECT_POINT(x[4], -2.0 + 10 * u, -1.5 - 1.5 * u);
  EXPECT_POINT(x[6], -2.0, -1.5 - 0.5 * u);
  const double H = 14.0 / 700 * v.grid_dy * 10;  // the arrow font is 14 pixels high
  const GfxCall* xl = text_call(calls, " X");
  ASSERT_NE(xl, nullptr);
  EXPECT_NEAR(xl->args[0], -2.0 + 12.5 * u, 1e-9);
  EXPECT_NEAR(xl->args[1], -1.5 + 0.5 * H, 1e-9);

  const auto z = vertices(polygons[1]);
  const double w = v.grid_dx / 227;
  EXPECT_POINT(z[0], -2.0 - 0.5 * w, -1.5);
  EXPECT_POINT(z[2], -2.0 - 2.5 * w, -1.5 + 35 * w);
  EXPECT_POINT(z[3], -2.0, -1.5 + 42 * w);
  EXPECT_POINT(z[4], -2.0 + 2.5 * w, -1.5 + 35 * w);
  const GfxCall* yl = text_call(calls, "Y ");
  ASSERT_NE(yl, nullptr);
  const double W = static_cast<float>(7 * 0.7 / 1000 * v.grid_dx * 5);
  EXPECT_NEAR(yl->args[0], -2.0 - 0.5 * W, 1e-9);
  EXPECT_NEAR(yl->args[1], -1.5 + 42 * w + H, 1e-9);
  EXPECT_EQ(text_call(calls, "Z "), nullptr);
}

TEST(Frame, ReverseVerticalPutsTheLetterAtTheTip) {
  GraphSettings s;
  s.reverse_vertical = true;
  Drawn d(plane_frame(), s);
  const auto calls = d.frame();
  const double w = d.run.view.grid_dx / 227;
  const GfxCall* yl = text_call(calls, "Y ");
  ASSERT_NE(yl, nullptr);
  EXPECT_NEAR(yl->args[1], -1.5 + 42 * w, 1e-9);
  const GfxCall* xl = text_call(calls, " X");
  const double H = 14.0 / 700 * d.run.view.grid_dy * 10;
  EXPECT_NEAR(xl->args[1], -1.5 - 0.5 * H, 1e-9);
}

TEST(Frame, SpatialProblemHasThreeArrowsAndATurnedSupport) {
  // Node 1 at the origin restrained in the oblique direction only.
  auto p = make_problem(3, {{0, 0, 0, {0, 1, 0}, {}}, {2, 0, 3, {}, {}}}, {{1, 2}});
  Drawn d(p);
  const auto calls = d.frame();
  EXPECT_NE(text_call(calls, " X"), nullptr);
  EXPECT_NE(text_call(calls, "Z "), nullptr);
  EXPECT_NE(text_call(calls, "Y "), nullptr);
  const auto polygons = only(calls, "polygon");
  ASSERT_GE(polygons.size(), 4u);
  const ViewMapping& v = d.run.view;
  const double e = v.grid_dy / 48 * 0.7071067811865476;
  const auto y = vertices(polygons[2]);
  const double ox = v.origin_x, oy = v.origin_y;
  EXPECT_POINT(y[0], ox - 0.5 * e, oy + 0.5 * e);
  EXPECT_POINT(y[1], ox + 14.5 * e, oy + 15.5 * e);
  EXPECT_POINT(y[3], ox + 18 * e, oy + 18 * e);

  // The support of direction 2 is turned by 45 degrees.
  const auto t = vertices(polygons[3]);
  ASSERT_EQ(t.size(), 3u);
  const double a = v.grid_dy / 6, b = v.grid_dx / 24, r = 0.70710677f;
  const double x0 = d.run.plot_x[0], y0 = d.run.plot_y[0];
  EXPECT_POINT(t[1], x0 + (a - b) * r, y0 + (a + b) * r);
  EXPECT_POINT(t[2], x0 + (a + b) * r, y0 + (a - b) * r);
}

TEST(Structure, LineStylesFromTheElementRecords) {
  auto p = make_problem(2, {{0, 0, 0, {}, {}}, {1, 0, 0, {}, {}}, {1, 1, 0, {}, {}}, {0, 1, 0, {}, {}}},
                        {{1, 2}, {2, 3}, {3, 4}, {4, 0}});
  GraphSettings s;
  s.show_grid_and_scale = false;
  s.show_element_indices = true;
  Drawn d(p, s);
  d.run.element_value = {1.5f, 0.0f, 0.0f, 0.0f};
  d.run.element_code = {0, -1, 0, -1};
  const auto calls = d.frame();
  std::vector<double> styles;
  int lines_in_style = 0;
  for (const GfxCall& c : calls) {
    if (c.op == "set_line_style") styles.push_back(c.args[0]);
    if (c.op == "line_to" && !styles.empty()) ++lines_in_style;
  }
  EXPECT_EQ(styles, (std::vector<double>{kLineSolid, kLineDashed, kLineDotted, kLineSolid}));
  EXPECT_EQ(lines_in_style, 3);  // the element with an end node 0 is not drawn
  // Element numbers: 3 wide, and none for element 4.
  EXPECT_NE(text_call(calls, "  1"), nullptr);
  EXPECT_NE(text_call(calls, "  3"), nullptr);
  EXPECT_EQ(text_call(calls, "  4"), nullptr);
  const GfxCall* one = text_call(calls, "  1");
  EXPECT_NEAR(one->args[0], 0.0f - d.run.view.grid_dx / 20, 1e-9);
  EXPECT_NEAR(one->args[1], -0.5f + d.run.view.grid_dy / 10, 1e-9);
}

TEST(Structure, NodeFontsAndFieldsByNodeCount) {
  for (int count : {99, 100, 1000}) {
    std::vector<NodeSpec> nodes;
    for (int i = 0; i < count; ++i) nodes.push_back({static_cast<float>(i + 1), static_cast<float>(i % 7), 0, {}, {}});
    GraphSettings s;
    s.show_grid_and_scale = false;
    s.show_time_output = false;
    Drawn d(make_problem(2, nodes, {}), s);
    const auto calls = d.frame();
    const auto fonts = only(calls, "set_font");
    ASSERT_EQ(fonts.size(), 2u);
    const char* expected = count < 100 ? "t'tms rmn'h15be" : count < 1000 ? "t'tms rmn'h13be" : "t'tms rmn'h11be";
    EXPECT_EQ(fonts[1].text, expected);
    const char* five = count < 100 ? " 5" : count < 1000 ? "  5" : "    5";
    EXPECT_NE(text_call(calls, five), nullptr) << count;
    // Node boxes only while fewer than 100 nodes are free.
    EXPECT_EQ(only(calls, "rectangle").size(), count < 100 ? 2u * count : 0u);
  }
}

TEST(Structure, SupportSymbolsAndNumbersOfSupportedNodes) {
  GraphSettings s;
  s.show_node_indices = false;
  s.show_grid_and_scale = false;
  s.show_time_output = false;
  Drawn d(plane_frame(), s);
  const auto calls = d.frame();
  const ViewMapping& v = d.run.view;
  const double a = v.grid_dy / 6, b = v.grid_dx / 24;
  // Fixed node 1 and partly restrained node 3 show their numbers; free node 2 not.
  const GfxCall* n1 = text_call(calls, " 1");
  const GfxCall* n3 = text_call(calls, " 3");
  ASSERT_NE(n1, nullptr);
  ASSERT_NE(n3, nullptr);
  EXPECT_EQ(text_call(calls, " 2"), nullptr);
  EXPECT_NEAR(n1->args[0], -2.0 + static_cast<double>(1.4f) * v.marker_dx, 1e-12);
  EXPECT_NEAR(n3->args[0], 2.0 + static_cast<double>(1.1f) * b, 1e-12);

  // Fixed node: filled black box 0.8 and ellipse 1.4 marker sizes.
  const auto ellipses = only(calls, "ellipse");
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_NEAR(ellipses[0].args[1], -2.0 - static_cast<double>(1.4f) * v.marker_dx, 1e-12);

  // Node 3, vertical restraint: half-tone triangle below the node.
  const auto polygons = only(calls, "polygon");
  ASSERT_EQ(polygons.size(), 4u);  // two arrows, the support, the spring
  const auto t = vertices(polygons[2]);
  EXPECT_EQ(polygons[2].args[0], kGfxFilled);
  EXPECT_POINT(t[0], 2.0, 1.5);
  EXPECT_POINT(t[1], 2.0 + b, 1.5 - a);
  EXPECT_POINT(t[2], 2.0 - b, 1.5 - a);
  const auto masks = only(calls, "set_fill_mask");
  ASSERT_EQ(masks.size(), 2u);
  EXPECT_EQ(masks[0].args[0], 0x55);
  EXPECT_EQ(masks[1].args[0], 0xFF);

  // The horizontal spring of node 3: a border of four vertices.
  const auto spring = vertices(polygons[3]);
  EXPECT_EQ(polygons[3].args[0], kGfxBorder);
  const double a7 = static_cast<double>(0.7f) * a, b7 = static_cast<double>(0.7f) * b;
  EXPECT_POINT(spring[1], 2.0 - b7, 1.5 + a7);
  EXPECT_POINT(spring[2], 2.0 - 3 * b7, 1.5 - a7);
  EXPECT_POINT(spring[3], 2.0 - 4 * b7, 1.5);

  // The base line of the triangle a third of a beyond it.
  bool base_line = false;
  for (std::size_t i = 0; i + 1 < calls.size(); ++i)
    if (calls[i].op == "move_to" && calls[i + 1].op == "line_to" &&
        std::abs(calls[i].args[1] - (1.5 - a - a / 3)) < 1e-12 && std::abs(calls[i].args[0] - (2.0 - b)) < 1e-12 &&
        std::abs(calls[i + 1].args[0] - (2.0 + b)) < 1e-12)
      base_line = true;
  EXPECT_TRUE(base_line);
}

TEST(Structure, RigidAndElasticSupportsFollowReverseVertical) {
  GraphSettings s;
  s.reverse_vertical = true;
  Drawn d(plane_frame(), s);
  fake::clear_gfx_calls(10);
  draw_rigid_support(d.run, 0, 0, 3, 1, 2);  // vertical: the triangle turns over
  draw_rigid_support(d.run, 0, 0, 3, 1, 1);  // horizontal
  draw_elastic_support(d.run, 0, 0, 3, 1, 2);
  const auto polygons = only(fake::gfx_calls(10), "polygon");
  ASSERT_EQ(polygons.size(), 3u);
  EXPECT_POINT(vertices(polygons[0])[1], 1, 3);
  EXPECT_POINT(vertices(polygons[1])[1], -3, -1);
  EXPECT_POINT(vertices(polygons[2])[3], 0, 4);
}

TEST(Structure, TimeLabelFormatsAndPlace) {
  GraphSettings s;
  s.show_grid_and_scale = false;
  s.time_output_item = 2;
  Drawn d(plane_frame(), s);
  // step_frequency x time_step = 0.5: six significant digits, tidied.
  auto calls = d.frame(3.5f);
  const GfxCall* label = text_call(calls, "t = 3.5");
  ASSERT_NE(label, nullptr);
  const ViewMapping& v = d.run.view;
  const double th = 15.0 / 1000 * v.grid_dx * 5;  // node font, horizontal factor
  EXPECT_NEAR(label->args[0], 2.0 + v.marker_dx, 1e-12);
  EXPECT_NEAR(label->args[1], -1.5 + 2 * th, 1e-12);
  EXPECT_EQ(previous_time_label(), std::string("t = 3.5").append(17, ' '));

  // With a band below 0.1 the fixed form with six decimals, tidied.
  d.run.problem = [&] {
    auto p = std::make_shared<Problem>(*d.run.problem);
    p->control.time_step = 0.05f;
    return p;
  }();
  fake::clear_gfx_calls(10);
  calls = d.frame(0.15f);
  EXPECT_NE(text_call(calls, "t = 0.15"), nullptr);

  // An item left over from a larger problem counts as 1.
  d.run.settings.time_output_item = 40;
  fake::clear_gfx_calls(10);
  calls = d.frame(0.15f);
  const GfxCall* at_one = text_call(calls, "t = 0.15");
  ASSERT_NE(at_one, nullptr);
  EXPECT_NEAR(at_one->args[0], -2.0 + v.marker_dx, 1e-12);
}

TEST(Structure, ShowAllErasesAFixedLabelWithItsEllipse) {
  GraphSettings s;
  s.show_grid_and_scale = false;
  s.show_all_positions = true;
  s.show_node_indices = false;
  s.time_output_item = 1;  // the fixed node
  Drawn d(plane_frame(), s);
  d.frame(0.5f);
  const double* first = d.run.label_ellipse;
  const double ellipse[4] = {first[0], first[1], first[2], first[3]};
  fake::clear_gfx_calls(10);
  const auto calls = d.frame(1.0f);
  // White text of the previous label, a white filled ellipse over the old
  // one, then the new label.
  std::size_t i = 0;
  for (; i < calls.size(); ++i)
    if (calls[i].op == "set_colour" && calls[i].args[0] == kRgbWhite && i + 1 < calls.size() &&
        calls[i + 1].op == "out_graphic_text" && calls[i + 1].text == "t = 0.5")
      break;
  ASSERT_LT(i + 4, calls.size());
  EXPECT_EQ(calls[i + 2].op, "ellipse");
  EXPECT_EQ(calls[i + 2].args[0], kGfxFilled);
  EXPECT_LT(calls[i + 2].args[1], std::min(ellipse[0], ellipse[2]));
  EXPECT_GT(calls[i + 2].args[3], std::max(ellipse[0], ellipse[2]));
  EXPECT_EQ(calls[i + 3].op, "set_colour");
  EXPECT_EQ(calls[i + 3].args[0], kRgbBlack);  // the last node is supported
  EXPECT_NE(text_call(calls, "t = 1."), nullptr);
}

TEST(Frame, ShowAllBrightensTheSharedLineColour) {
  settings_startup();
  GraphSettings s;
  s.show_all_positions = true;
  s.show_grid_and_scale = false;
  Drawn d(plane_frame(), s);
  auto calls = d.frame();
  EXPECT_TRUE(only(calls, "clear").empty());
  EXPECT_EQ(d.run.settings.line_colour, 0x101090u);
  EXPECT_EQ(settings_copy().line_colour, 0x101090u);
  EXPECT_EQ(only(calls, "set_colour")[1].args[0], 0x101090);  // after the arrows: the elements
  d.frame();
  EXPECT_EQ(settings_copy().line_colour, 0x2020A0u);
  EXPECT_EQ(brightened_line_colour(0xF0F0F0), 0x000080u);
  EXPECT_EQ(brightened_line_colour(0xEFEFEF), 0xFFFFFFu - 0xFFFFFFu + 0x000080u);
  EXPECT_EQ(brightened_line_colour(0xE0E0E0), 0xF0F0F0u);

  d.run.colour_scheme = kSchemeAllBlack;
  d.run.settings.line_colour = 0;
  d.frame();
  EXPECT_EQ(d.run.settings.line_colour, 0u);
  EXPECT_EQ(settings_copy().line_colour, 0x2020A0u);
  settings_startup();
}

// A first run animates in show-all mode while a second run's Graph Settings
// dialog picks a scheme: the pick stands in the shared record, which is what
// the second graph will draw with; the first run goes on brightening its own.
TEST(Frame, ShowAllLeavesASchemePickedMeanwhileAlone) {
  settings_startup();
  {
    SettingsGuard guard;
    guard->custom_colours[0] = 0x123456;
  }
  GraphSettings s;
  s.show_all_positions = true;
  s.show_grid_and_scale = false;
  Drawn first(plane_frame(), s);
  first.frame();
  ASSERT_EQ(settings_copy().line_colour, 0x101090u);
  struct Pick {
    int scheme;
    Rgb line_colour;
  };
  const Pick picks[] = {{kSchemeAllBlack, 0x000000}, {kSchemeCustom, 0x123456},
                        {kSchemeStandard, 0x000080}};
  Rgb own = 0x101090;
  for (const Pick& pick : picks) {
    SCOPED_TRACE(pick.scheme);
    apply_colour_scheme(pick.scheme);  // in the second run's dialog
    own = brightened_line_colour(own);
    first.frame();
    EXPECT_EQ(first.run.settings.line_colour, own);
    EXPECT_EQ(settings_copy().line_colour, pick.line_colour);
    SettingsGuard guard;
    EXPECT_EQ(guard->colour_scheme, pick.scheme);
  }
  settings_startup();
}

TEST(Frame, OriginBoxOverAFreeOriginNode) {
  auto p = make_problem(2, {{0, 0, 0, {}, {}}, {2, 1, 0, {}, {}}}, {{1, 2}});
  GraphSettings s;
  s.show_node_indices = false;
  s.show_grid_and_scale = false;
  s.show_time_output = false;
  Drawn d(p, s);
  const auto calls = d.frame();
  const auto rects = only(calls, "rectangle");
  ASSERT_EQ(rects.size(), 2u);
  const ViewMapping& v = d.run.view;
  EXPECT_EQ(rects[0].args, (std::vector<double>{kGfxFilled, v.origin_x - v.marker_dx, v.origin_y + v.marker_dy,
                                                v.origin_x + v.marker_dx, v.origin_y - v.marker_dy}));
  EXPECT_EQ(rects[1].args[0], kGfxBorder);
}

TEST(GridAndScale, LineCountsAndNumbers) {
  Drawn d(plane_frame());
  const auto calls = d.frame();
  // Grid: the box fills more than a fifth both ways: 11 + 11 lines.
  std::size_t first_scale = 0;
  int grid_lines = 0;
  bool in_grid = false;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].op == "set_colour" && calls[i].args[0] == 0x00FF00) in_grid = true;
    if (calls[i].op == "set_colour" && calls[i].args[0] == 0x800000) {
      first_scale = i;
      break;
    }
    if (in_grid && calls[i].op == "line_to") ++grid_lines;
  }
  EXPECT_EQ(grid_lines, 22);
  ASSERT_GT(first_scale, 0u);
  std::vector<std::string> numbers;
  for (std::size_t i = first_scale; i < calls.size(); ++i) {
    if (calls[i].op == "set_colour" && calls[i].args[0] != 0x800000) break;
    if (calls[i].op == "out_graphic_text") numbers.push_back(calls[i].text);
  }
  ASSERT_EQ(numbers.size(), 11u + 6u);
  EXPECT_EQ(numbers[0], "     0.00");
  EXPECT_EQ(numbers[1], "     0.30");
  EXPECT_EQ(numbers[10], "     3.00");
  EXPECT_EQ(numbers[11], "     0.00");
  EXPECT_EQ(numbers[12], "     0.80");
  EXPECT_EQ(numbers[16], "     4.00");
}

TEST(GridAndScale, FlatBoxAndSmallBoxes) {
  fake::reset();
  GraphRun run;
  run.window.width = 1000;
  run.window.height = 700;
  run.view.window_x1 = -10;
  run.view.window_x2 = 10;
  run.view.window_y1 = -10;
  run.view.window_y2 = 10;
  run.view.grid_dx = 4;
  run.view.grid_dy = 2;
  run.view.box_x1 = -1;
  run.view.box_x2 = 1;  // a tenth of the width: 6 vertical lines
  run.view.box_y1 = 0;
  run.view.box_y2 = 0;  // zero height: no horizontal lines, no vertical scale
  wnd_open_child(10, "grid");
  fake::clear_gfx_calls(10);
  GridSteps steps = draw_grid(run);
  EXPECT_EQ(only(fake::gfx_calls(10), "line_to").size(), 6u);
  fake::clear_gfx_calls(10);
  draw_scale(run, steps);
  // Only the horizontal scale: spacing step_x, numbers at every second line.
  EXPECT_EQ(only(fake::gfx_calls(10), "out_graphic_text").size(), 3u);

  // A box of 15% of the height: 6 lines; of 5%: 5 lines, end labels only.
  run.view.box_x2 = run.view.box_x1;
  for (auto [height, lines, labels] : {std::tuple{3.0, 6u, 6u}, std::tuple{1.0, 5u, 2u}}) {
    run.view.box_y1 = -height / 2;
    run.view.box_y2 = height / 2;
    fake::clear_gfx_calls(10);
    steps = draw_grid(run);
    EXPECT_EQ(only(fake::gfx_calls(10), "line_to").size(), lines);
    fake::clear_gfx_calls(10);
    draw_scale(run, steps);
    const auto calls = fake::gfx_calls(10);
    EXPECT_EQ(only(calls, "out_graphic_text").size(), labels);
    EXPECT_EQ(only(calls, "line_to").size(), lines);  // a tick at every position
  }

  // reverse_vertical turns the vertical offsets of the numbers.
  run.view.box_y1 = -5;
  run.view.box_y2 = 5;
  double offsets[2];
  for (bool reverse : {false, true}) {
    run.settings.reverse_vertical = reverse;
    fake::clear_gfx_calls(10);
    draw_scale(run, draw_grid(run));
    const auto texts = only(fake::gfx_calls(10), "out_graphic_text");
    offsets[reverse] = texts[0].args[1] - run.view.box_y1;
  }
  EXPECT_GT(offsets[0], 0);
  EXPECT_DOUBLE_EQ(offsets[1], -offsets[0]);
}

// A coloured frame: the colours at both ends of every drawn element, as the
// map, the range and the quantity pick them. Two steps are drawn; frame 0 is
// looked at, so a range over all steps differs from the frame's own.
TEST(Colouring, EndColoursByQuantityRangeAndMap) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const auto viridis = [](int i) { return static_cast<double>(find_colour_map("viridis")->colours[i]); };
  const auto coolwarm = [](int i) { return static_cast<double>(find_colour_map("coolwarm")->colours[i]); };
  const auto tab10 = [](int i) { return static_cast<double>(find_colour_map("tab10")->colours[i]); };
  const double grey = kNoValueColour;
  struct Case {
    const char* name;
    Colouring colouring;
    std::vector<float> u0, u1;  // node displacements of steps 0 and 1 (3 nodes, NGL 2)
    std::vector<float> v0, v1;  // element values of steps 0 and 1
    std::vector<std::int32_t> c0;
    std::vector<double> ends;  // frame 0: elements 1-2 and 2-3, two ends each
  };
  const std::vector<Case> cases = {
      {"displacement over all steps: step 1 moves node 2 twice as far",
       {ColourBy::displacement},
       {0, 0, 3, 4, 0, 0}, {0, 0, 6, 8, 0, 0}, {}, {}, {},
       {viridis(0), viridis(128), viridis(128), viridis(0)}},
      {"displacement over the frame",
       {ColourBy::displacement, nullptr, ColourRange::frame},
       {0, 0, 3, 4, 0, 0}, {0, 0, 6, 8, 0, 0}, {}, {}, {},
       {viridis(0), viridis(255), viridis(255), viridis(0)}},
      {"values beyond a fixed range take its end colours; not a number is grey",
       {ColourBy::value, find_colour_map("viridis"), ColourRange::fixed, 0, 1},
       {}, {}, {2.0f, nan, -1}, {}, {},
       {viridis(255), viridis(255), grey, grey}},
      {"a diverging map puts 0 in the middle, its range symmetric over all steps",
       {ColourBy::value},
       {}, {}, {0.5f, 0, 9}, {-2.0f, 1, 9}, {},
       {coolwarm(159), coolwarm(159), coolwarm(128), coolwarm(128)}},
      {"codes take the qualitative map's colours in turn, negative codes too",
       {ColourBy::code},
       {}, {}, {1, 1, 1}, {}, {-1, 12, 0},
       {tab10(9), tab10(9), tab10(2), tab10(2)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::reset();
    MemorySteps steps;
    steps.node_values = 6;
    steps.elements = 3;
    steps.displacements = {c.u0, c.u1};
    steps.values = {c.v0, c.v1};
    steps.codes = {c.c0};
    for (auto* table : {&steps.displacements[0], &steps.displacements[1]})
      if (table->empty()) table->assign(6, 0.0f);
    for (auto* table : {&steps.values[0], &steps.values[1]})
      if (table->empty()) table->assign(3, 1.0f);
    if (steps.codes[0].empty()) steps.codes[0].assign(3, 0);
    GraphSettings s;
    s.start_step = 0;
    s.end_step = 1;
    s.step_frequency = 1;
    GraphRun run;
    prepare_graph_run(run, plane_frame(), s, kSchemeStandard, &steps);
    run.colouring = c.colouring;
    ASSERT_TRUE(measure_extents(run).is_ok());
    ASSERT_EQ(setup_graph_window(run), WindowSetup::ready);
    fake::clear_gfx_calls(run.unit);
    AnimationOptions only_first;
    only_first.only_frame = 0;
    ASSERT_TRUE(run_animation(run, only_first).is_ok());
    std::vector<double> ends;
    const auto lines = only(fake::gfx_calls(run.unit), "shaded_line_to");
    // The elements, then the bar's columns.
    ASSERT_GE(lines.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) ends.insert(ends.end(), lines[i].args.begin() + 2, lines[i].args.end());
    EXPECT_EQ(ends, c.ends);
  }
}

// A frame's own range over a model large enough for its nodes to be
// measured in many chunks on both threads: node 1 holds the lowest length
// and node N the highest, in chunks of their own, so a range that left out
// either thread's part would colour element 1-2 otherwise. Which chunks
// the helper takes varies from run to run, so the frame is drawn ten times.
TEST(Colouring, FrameRangeOfALargeModelSpansEveryChunk) {
  constexpr int kNodes = 200000;
  std::vector<NodeSpec> nodes;
  for (int i = 0; i < kNodes; ++i) nodes.push_back({static_cast<float>(i), 0, 0, {}, {}});
  std::vector<float> u(2 * kNodes, 0.0f);
  for (int i = 0; i < kNodes; ++i) u[2 * i] = 2;
  u[0] = 1;
  u[2 * (kNodes - 1)] = 3;
  for (int run_index = 0; run_index < 10; ++run_index) {
    fake::reset();
    MemorySteps steps;
    steps.node_values = 2 * kNodes;
    steps.elements = 1;
    steps.displacements = {u};
    steps.values = {{1.0f}};
    steps.codes = {{0}};
    GraphSettings s;
    s.start_step = s.end_step = 0;
    s.step_frequency = 1;
    s.show_node_indices = false;
    GraphRun run;
    prepare_graph_run(run, make_problem(2, nodes, {{1, 2}}), s, kSchemeStandard, &steps);
    run.colouring = {ColourBy::displacement, nullptr, ColourRange::frame};
    ASSERT_TRUE(measure_extents(run).is_ok());
    ASSERT_EQ(setup_graph_window(run), WindowSetup::ready);
    fake::clear_gfx_calls(run.unit);
    ASSERT_TRUE(run_animation(run, AnimationOptions{}).is_ok());
    const auto lines = only(fake::gfx_calls(run.unit), "shaded_line_to");
    ASSERT_FALSE(lines.empty());
    const auto viridis = [](int i) { return static_cast<double>(find_colour_map("viridis")->colours[i]); };
    EXPECT_EQ(std::vector<double>(lines[0].args.begin() + 2, lines[0].args.end()),
              (std::vector<double>{viridis(0), viridis(128)}));
  }
}

// The palette positions of the nodes' lengths, taken two at a time with a
// product for the quotient, against their definition: the float length,
// its share of the scale clamped to [0, 1], times the last entry's position,
// rounded half away from zero. The first rows are lengths whose position
// lies so near a half that the product alone rounds the other way.
TEST(Colouring, NodeShadesAreTheNearestPositions) {
  const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
  const ColourMap& viridis = *find_colour_map("viridis");
  const ColourMap& coolwarm = *find_colour_map("coolwarm");
  struct Case {
    const char* name;
    const ColourMap* map;
    float low, high;
    std::size_t ngl;
    std::vector<float> u;
  };
  std::vector<Case> cases = {
      {"near a half: 52930.5", &viridis, 0x1.330dp-11f, 0x1.0c25ap-8f, 2, {0x1.c15c6cp-9f, 0, 0, 0, 0x1.c15c6cp-9f, 0}},
      {"near a half: 14356.5", &viridis, 0x1.0e84ep-2f, 0x1.dd4a9cp+1f, 2, {0, 0, 0x1.06b0aep+0f, 0}},
      {"near a half: 61582.5", &viridis, 0x1.c882ap-3f, 0x1.cc2eap-3f, 2, {0x1.cbf962p-3f, 0, 1, 1}},
      {"near a half: 892.5, three reals a node", &viridis, 0x1.394ap-9f, 0x1.c9f24p-6f, 3,
       {0, 0, 0x1.6717fcp-9f, 0x1.6717fcp-9f, 0, 0}},
      {"near a half: 30982.5, one real a node", &viridis, 0x1.22128p+16f, 0x1.23ba8p+16f, 1,
       {0x1.22dbbcp+16f, -0x1.22dbbcp+16f, 0x1.22dbbcp+16f}},
      {"not numbers take none, beside numbers", &viridis, 0, 1, 2, {nan, 0, 0.5f, 0, 0, inf, 3e38f, 3e38f, 0.25f, 0}},
      {"one value: the first entry, or the middle of a diverging map", &viridis, 2, 2, 2, {1, 0, 2, 0, 5, 0}},
      {"one value, a diverging map", &coolwarm, 2, 2, 3, {1, 0, 0, 2, 0, 0, 5, 0, 0}},
      {"a scale one float step wide", &viridis, 1, 0x1.000002p0f, 2, {1, 0, 1.0000001f, 0, 2, 0}},
  };
  std::mt19937 random(5);
  std::uniform_real_distribution<float> spread(-3, 3);
  for (std::size_t ngl : {2u, 3u}) {
    Case c{"random lengths, an odd count", &viridis, 0.2f, 4.1f, ngl, {}};
    for (std::size_t i = 0; i < 2001 * ngl; ++i) c.u.push_back(spread(random));
    cases.push_back(c);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PaletteShader shade(*c.map, c.low, c.high);
    const std::size_t nodes = c.u.size() / c.ngl;
    std::vector<std::uint32_t> got(nodes);
    shade.shade_lengths(c.u.data(), c.ngl, 0, nodes, got.data());
    const double last = (c.map->count - 1) * 256.0, span = double{c.high} - double{c.low};
    for (std::size_t n = 0; n < nodes; ++n) {
      double sum = 0;
      for (std::size_t k = 0; k < c.ngl; ++k) sum += double{c.u[n * c.ngl + k]} * c.u[n * c.ngl + k];
      const float length = static_cast<float>(std::sqrt(sum));
      std::uint32_t want = static_cast<std::uint32_t>(c.map->count) << 8;
      if (std::isfinite(length)) {
        const double t = span > 0 ? (length - double{c.low}) / span : c.map->kind == ColourMapKind::diverging ? 0.5 : 0;
        want = static_cast<std::uint32_t>(std::lround(std::clamp(t, 0.0, 1.0) * last));
      }
      EXPECT_EQ(got[n], want) << "node " << n << ", length " << length;
      EXPECT_EQ(shade(length), want) << "node " << n;
    }
  }
}

// The numbers of a colour bar: nice spacings, at least four ticks, as many
// decimals as the spacing needs.
TEST(Colouring, BarTicks) {
  const struct {
    double low, high;
    const char* texts;
  } cases[] = {
      {0, 0.32f, "0.0 0.1 0.2 0.3"},
      {-1, 1, "-1.0 -0.5 0.0 0.5 1.0"},
      {0, 1, "0.00 0.25 0.50 0.75 1.00"},
      {-3.7e-6, 2.1e-6, "-3e-06 -2e-06 -1e-06 0 1e-06 2e-06"},
      {2, 2, "2"},
  };
  for (const auto& c : cases) {
    const std::vector<double> ticks = colour_ticks(c.low, c.high);
    std::string texts;
    for (double v : ticks) {
      if (!texts.empty()) texts += ' ';
      texts += colour_tick_text(v, ticks.size() > 1 ? ticks[1] - ticks[0] : 1.0);
    }
    EXPECT_EQ(texts, c.texts) << c.low << " to " << c.high;
  }
}
