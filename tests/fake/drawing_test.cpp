// The drawing side of the recording layer: world window, text advance,
// refused operations and fonts.
#include <gtest/gtest.h>

#include <cmath>

#include <thread>
#include <vector>

#include "support/fake_platform.h"

namespace {

class FakeDrawing : public ::testing::Test {
 protected:
  void SetUp() override { fake::reset(); }
};

TEST_F(FakeDrawing, NoCurrentWindowRefusesAndRecordsNothing) {
  wnd_open_child(9, " VELTRA: Info", ChildKind::text);
  std::thread other([] {
    EXPECT_FALSE(gfx_line_to(1, 2));
    EXPECT_EQ(gfx_status(), kGfxErrorNoWindow);
    WindowConfig config;
    EXPECT_FALSE(wnd_get_config(&config));
  });
  other.join();
  EXPECT_EQ(gfx_status(), kGfxOk);
  EXPECT_TRUE(fake::gfx_calls(9).empty());

  // reset() forgets the calling thread's current window as well.
  fake::reset();
  EXPECT_FALSE(gfx_line_to(1, 2));
  EXPECT_EQ(gfx_status(), kGfxErrorNoWindow);
}

TEST_F(FakeDrawing, TextAdvanceFollowsTheWorldWindow) {
  fake::set_window_size(101, 51);  // 100 pixel steps across
  wnd_open_child(10, "(1) graph");
  ASSERT_TRUE(gfx_set_window(true, 0, 0, 200, 100));
  EXPECT_EQ(gfx_status(), kGfxOk);
  gfx_init_fonts();
  ASSERT_EQ(gfx_set_font("t'tms rmn'h14be"), 1);
  FontInfo info = gfx_font_info();
  EXPECT_EQ(info.pixel_height, 14);
  EXPECT_EQ(info.ascent, 11);
  EXPECT_EQ(info.avg_char_width, 7);
  EXPECT_EQ(info.face_name, "Times New Roman");
  EXPECT_EQ(gfx_text_width("abc"), 21);

  gfx_move_to(10, 50);
  gfx_out_graphic_text("abc");  // 21 px = 42 world units
  gfx_out_graphic_text("de");   // drawn right after, 14 px = 28 units
  EXPECT_DOUBLE_EQ(gfx_current_position().x, 80);
  EXPECT_DOUBLE_EQ(gfx_current_position().y, 50);
  auto calls = fake::gfx_calls(10);
  ASSERT_EQ(calls.back().op, "out_graphic_text");
  EXPECT_EQ(calls.back().text, "de");
  EXPECT_EQ(calls.back().args, (std::vector<double>{52, 50}));

  // Swapped bounds are put in order (a warning); the scale follows them.
  ASSERT_TRUE(gfx_set_window(false, 50, 10, 0, 0));
  EXPECT_EQ(gfx_status(), kGfxWarnCorrected);
  EXPECT_EQ(fake::gfx_calls(10).back().args, (std::vector<double>{0, 50, 10, 0, 0}));
  gfx_move_to(0, 0);
  gfx_out_graphic_text("ab");  // 14 px * 0.5
  EXPECT_DOUBLE_EQ(gfx_current_position().x, 7);

  // Equal bounds fail and leave the window as it was.
  fake::clear_gfx_calls(10);
  EXPECT_FALSE(gfx_set_window(true, 5, 0, 5, 10));
  EXPECT_EQ(gfx_status(), kGfxErrorEqualBounds);
  EXPECT_FALSE(gfx_set_window(true, 0, 3, 10, 3));
  // So do bounds that are not numbers, as on the real layer.
  EXPECT_FALSE(gfx_set_window(true, 0, 0, std::nan(""), 10));
  EXPECT_EQ(gfx_status(), kGfxErrorInvalid);
  EXPECT_TRUE(fake::gfx_calls(10).empty());
  gfx_move_to(0, 0);
  gfx_out_graphic_text("ab");
  EXPECT_DOUBLE_EQ(gfx_current_position().x, 7);
}

TEST_F(FakeDrawing, AreaSizesOfNewWindows) {
  wnd_set_graph_area_size(640, 480);
  wnd_open_child(9, "info", ChildKind::text);
  WindowConfig config;
  ASSERT_TRUE(wnd_get_config(&config));
  EXPECT_EQ(config.width, 1000);
  EXPECT_EQ(config.text_columns, 125);
  EXPECT_EQ(config.text_rows, 43);
  wnd_open_child(10, "graph");
  ASSERT_TRUE(wnd_get_config(&config));
  EXPECT_EQ(config.width, 640);
  EXPECT_EQ(config.height, 480);
  EXPECT_EQ(config.title, "graph");
  // Until gfx_set_window the world window is the pixel grid.
  gfx_out_graphic_text("ab");  // default font: 16 px high, 8 px wide
  EXPECT_DOUBLE_EQ(gfx_current_position().x, 16);
  wnd_set_graph_area_size(0, 0);
  wnd_open_child(11, "graph");
  ASSERT_TRUE(wnd_get_config(&config));
  EXPECT_EQ(config.width, 1000);
}

TEST_F(FakeDrawing, PolygonVertexLimits) {
  wnd_open_child(10, "graph");
  std::vector<WorldPoint> points(kGfxMaxPolygonVertices + 1, WorldPoint{1, 2});
  EXPECT_FALSE(gfx_polygon(kGfxFilled, points.data(), 2));
  EXPECT_EQ(gfx_status(), kGfxErrorInvalid);
  EXPECT_FALSE(gfx_polygon(kGfxFilled, points.data(), kGfxMaxPolygonVertices + 1));
  EXPECT_EQ(gfx_status(), kGfxErrorInvalid);
  EXPECT_TRUE(fake::gfx_calls(10).empty());

  points[0] = {3, 4};
  EXPECT_TRUE(gfx_polygon(kGfxBorder, points.data(), 3));
  EXPECT_EQ(gfx_status(), kGfxOk);
  EXPECT_TRUE(gfx_polygon(kGfxFilled, points.data(), kGfxMaxPolygonVertices));
  auto calls = fake::gfx_calls(10);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].op, "polygon");
  EXPECT_EQ(calls[0].args, (std::vector<double>{kGfxBorder, 3, 3, 4, 1, 2, 1, 2}));
  EXPECT_EQ(calls[1].args.size(), 2u + 2u * kGfxMaxPolygonVertices);
}

TEST_F(FakeDrawing, FontSelection) {
  wnd_open_child(10, "graph");
  EXPECT_EQ(gfx_set_font("t'tms rmn'h12b"), -1);  // no font list yet
  EXPECT_EQ(gfx_status(), kGfxErrorNoFont);
  gfx_init_fonts();
  ASSERT_EQ(gfx_set_font("T'TMS RMN'H13BE"), 1);
  EXPECT_EQ(gfx_font_info().pixel_height, 13);
  EXPECT_EQ(gfx_font_info().face_name, "Times New Roman");

  // Syntax errors leave the previous font current.
  EXPECT_EQ(gfx_set_font("ttms rmn'h20"), -1);
  EXPECT_EQ(gfx_status(), kGfxErrorInvalid);
  EXPECT_EQ(gfx_set_font("t'tms rmn h20"), -1);
  EXPECT_EQ(gfx_set_font("t'a face name longer than 31 chars'h20"), -1);
  EXPECT_EQ(gfx_font_info().pixel_height, 13);

  EXPECT_EQ(gfx_set_font("f p h20"), 1);
  EXPECT_EQ(gfx_status(), kGfxWarnCorrected);
  EXPECT_EQ(gfx_font_info().pixel_height, 20);
  EXPECT_EQ(gfx_set_font("b"), 1);
  EXPECT_EQ(gfx_font_info().pixel_height, 16);

  auto calls = fake::gfx_calls(10);
  int fonts = 0;
  for (const auto& call : calls) fonts += call.op == "set_font";
  EXPECT_EQ(fonts, 3);  // only the selections that succeeded
}

TEST_F(FakeDrawing, CellTextInTextWindowsIsALine) {
  wnd_open_child(9, " VELTRA: Info", ChildKind::text);
  wnd_write_line(9, " * VELTRA Graph Started");
  gfx_set_text_colour(kRgbWhite);
  gfx_out_text(" * VELTRA Graph Exited");
  wnd_write_line(8, "no such unit");
  EXPECT_EQ(fake::lines(9),
            (std::vector<std::string>{" * VELTRA Graph Started", " * VELTRA Graph Exited"}));
  EXPECT_EQ(gfx_set_text_colour(0x123456), kRgbWhite);
  EXPECT_EQ(fake::gfx_calls(9).back().args, (std::vector<double>{0x123456}));
}

}  // namespace
