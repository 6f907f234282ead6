// The drawing operations on the real canvas, checked pixel by pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/qt/surface_image.h"
#include "platform/surface.h"
#include "qt_harness.h"

using harness::open_graph;
using harness::pixel;
using qt_test::graph_image;

namespace {

constexpr Rgb kRed = 0x0000FF;
constexpr Rgb kBlue = 0xFF0000;

// A window of w x h pixels whose world coordinates are its pixels (y down),
// cleared white.
void pixel_window(int unit, int w, int h) {
  open_graph(unit, w, h);
  ASSERT_TRUE(gfx_set_window(false, 0, 0, w - 1, h - 1));
  gfx_set_background_colour(kRgbWhite);
  gfx_clear();
}

TEST(Gfx, WindowConfigReportsTheFixedAreaAndCells) {
  open_graph(10, 400, 240);
  WindowConfig config;
  ASSERT_TRUE(wnd_get_config(&config));
  EXPECT_EQ(config.width, 400);
  EXPECT_EQ(config.height, 240);
  EXPECT_EQ(config.text_columns, 400 / 8);
  EXPECT_EQ(config.text_rows, 240 / 16);
  EXPECT_EQ(config.title, "Test graph");
  EXPECT_EQ(graph_image(10).size(), QSize(400, 240));
}

TEST(Gfx, WorldWindowOrientation) {
  pixel_window(10, 101, 101);
  gfx_set_colour(kRgbBlack);
  // y_up: a larger world y is nearer the top.
  ASSERT_TRUE(gfx_set_window(true, 0, 0, 100, 100));
  EXPECT_EQ(gfx_status(), kGfxOk);
  gfx_move_to(10, 90);
  gfx_line_to(10, 90);
  QImage image = graph_image(10);
  EXPECT_EQ(pixel(image, 10, 10), kRgbBlack);
  EXPECT_EQ(pixel(image, 10, 90), kRgbWhite);

  gfx_clear();
  ASSERT_TRUE(gfx_set_window(false, 0, 0, 100, 100));
  gfx_move_to(10, 90);
  gfx_line_to(10, 90);
  image = graph_image(10);
  EXPECT_EQ(pixel(image, 10, 90), kRgbBlack);
  EXPECT_EQ(pixel(image, 10, 10), kRgbWhite);

  // The corners of the world window are the corner pixels.
  gfx_clear();
  ASSERT_TRUE(gfx_set_window(true, -1, -1, 1, 1));
  gfx_move_to(-1, -1);
  gfx_line_to(-1, -1);
  gfx_move_to(1, 1);
  gfx_line_to(1, 1);
  image = graph_image(10);
  EXPECT_EQ(pixel(image, 0, 100), kRgbBlack);
  EXPECT_EQ(pixel(image, 100, 0), kRgbBlack);
}

TEST(Gfx, SwappedBoundsWarnAndEqualBoundsFail) {
  pixel_window(10, 101, 101);
  ASSERT_TRUE(gfx_set_window(true, 100, 100, 0, 0));
  EXPECT_EQ(gfx_status(), kGfxWarnCorrected);
  gfx_move_to(10, 90);
  gfx_line_to(10, 90);
  EXPECT_EQ(pixel(graph_image(10), 10, 10), kRgbBlack);  // same as (0, 0, 100, 100)

  EXPECT_FALSE(gfx_set_window(false, 5, 0, 5, 10));
  EXPECT_EQ(gfx_status(), kGfxErrorEqualBounds);
  // The old window stays.
  gfx_clear();
  gfx_move_to(20, 80);
  gfx_line_to(20, 80);
  EXPECT_EQ(pixel(graph_image(10), 20, 20), kRgbBlack);
  EXPECT_EQ(gfx_status(), kGfxOk);
}

// The pixels of row y from x0 to x1 as 0/1.
std::vector<int> row_bits(const QImage& image, int y, int x0, int x1) {
  std::vector<int> bits;
  for (int x = x0; x <= x1; ++x) bits.push_back(pixel(image, x, y) == kRgbBlack ? 1 : 0);
  return bits;
}

std::vector<int> mask_bits(std::uint16_t mask, int n) {
  std::vector<int> bits;
  for (int k = 0; k < n; ++k) bits.push_back((mask >> (15 - k % 16)) & 1);
  return bits;
}

TEST(Gfx, LineStylesArePixelExact) {
  pixel_window(10, 80, 40);
  gfx_set_colour(kRgbBlack);
  const std::uint16_t styles[] = {kLineSolid, kLineDashed, kLineDotted};
  for (int i = 0; i < 3; ++i) {
    gfx_set_line_style(styles[i]);
    gfx_move_to(2, 5 + 10 * i);
    EXPECT_TRUE(gfx_line_to(65, 5 + 10 * i));
  }
  const QImage image = graph_image(10);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(row_bits(image, 5 + 10 * i, 2, 65), mask_bits(styles[i], 64));
    EXPECT_EQ(pixel(image, 1, 5 + 10 * i), kRgbWhite);
    EXPECT_EQ(pixel(image, 66, 5 + 10 * i), kRgbWhite);
  }
  // Each line starts its pattern afresh; a vertical line follows it too.
  gfx_clear();
  gfx_set_line_style(kLineDashed);
  gfx_move_to(3, 0);
  gfx_line_to(3, 31);
  const QImage vertical = graph_image(10);
  for (int y = 0; y < 32; ++y)
    EXPECT_EQ(pixel(vertical, 3, y) == kRgbBlack, mask_bits(kLineDashed, 32)[static_cast<std::size_t>(y)] == 1) << y;
}

TEST(Gfx, DiagonalLineAndColourIsRgb) {
  pixel_window(10, 50, 50);
  gfx_set_line_style(kLineSolid);
  const Rgb old = gfx_set_colour(kRed);
  EXPECT_EQ(old, kRgbBlack);
  EXPECT_EQ(gfx_set_colour(kRed), kRed);
  gfx_move_to(0, 0);
  gfx_line_to(40, 40);
  const QImage image = graph_image(10);
  for (int k = 0; k <= 40; ++k) EXPECT_EQ(pixel(image, k, k), kRed) << k;
  EXPECT_EQ(pixel(image, 41, 41), kRgbWhite);
  EXPECT_EQ(qRed(image.pixel(5, 5)), 255);  // red in the low byte is red
  const WorldPoint p = gfx_current_position();
  EXPECT_EQ(p.x, 40);
  EXPECT_EQ(p.y, 40);
}

// A batch leaves what the single calls leave: the pixels, the current position,
// the status and whether any end was refused, on both sides of the size from
// which a batch is drawn by two threads, with dashed and dotted lines, lines
// that leave the window and ends that are refused. A shaded batch, whose
// crossing lines differ in colour, is checked against one call per segment,
// also when its lines are so long that the helper stops listing its writes
// part of the way. The generated forms, which make each chunk where it is
// drawn, are held to the same.
TEST(Gfx, SegmentBatchesDrawWhatTheSingleCallsDraw) {
  struct Case {
    std::size_t count;
    std::size_t refuse_every;  // every n-th end is not finite (0: none)
    bool last_refused;
    bool across = false;  // every line crosses the window: more pixels than the helper may list
  };
  const Case cases[] = {
      {100, 0, false},   {4095, 0, false},  {4096, 0, false},        {20000, 0, false},
      {20000, 97, false}, {9000, 0, true}, {60000, 0, false, true},
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::uint16_t styles[] = {kLineSolid, kLineDashed, kLineDotted};
  const Rgb palette[] = {kRgbBlack, kRed, kBlue, 0x00FF00, 0x808080};
  for (const bool shaded : {false, true}) {
    for (const bool generated : {false, true}) {
      for (const Case& test : cases) {
        SCOPED_TRACE(std::to_string(test.count) + (shaded ? " shaded" : " plain") + (generated ? " generated" : "") +
                     (test.across ? " across" : ""));
        std::mt19937 random(static_cast<unsigned>(test.count + test.refuse_every));
        std::uniform_real_distribution<double> along(-20.0, 120.0);
        std::vector<GfxShadedSegment> segments(test.count);
        for (std::size_t i = 0; i < test.count; ++i) {
          GfxShadedSegment& s = segments[i];
          s = {along(random), along(random), along(random), along(random),
               static_cast<std::uint32_t>(random() % 1200), static_cast<std::uint32_t>(random() % 1200),
               styles[random() % 3]};
          if (test.across) {
            s.x1 = -10;
            s.x2 = 110;
          }
          if (test.refuse_every != 0 && i % test.refuse_every == 5) s.y2 = nan;
        }
        if (test.last_refused) segments.back().x2 = nan;
        const bool any_refused = test.refuse_every != 0 || test.last_refused;
        std::vector<GfxSegment> plain;
        for (const GfxShadedSegment& s : segments) plain.push_back({s.x1, s.y1, s.x2, s.y2, s.style});

        open_graph(10, 300, 200);
        ASSERT_TRUE(gfx_set_window(false, 0, 0, 100, 100));
        gfx_set_background_colour(kRgbWhite);
        gfx_clear();
        gfx_set_colour(kBlue);
        const auto made = [](const auto& from) {
          return [&from](std::size_t begin, std::size_t end, auto* out) {
            std::copy(from.begin() + static_cast<std::ptrdiff_t>(begin), from.begin() + static_cast<std::ptrdiff_t>(end),
                      out);
          };
        };
        bool drawn_all;
        if (shaded) {
          drawn_all = generated ? gfx_generated_shaded_segments(segments.size(), made(segments), palette,
                                                                std::size(palette))
                                : gfx_shaded_segments(segments.data(), segments.size(), palette, std::size(palette));
        } else {
          drawn_all = generated ? gfx_generated_segments(plain.size(), made(plain))
                                : gfx_segments(plain.data(), plain.size());
        }
        EXPECT_EQ(drawn_all, !any_refused);
        const GfxStatus batch_status = gfx_status();
        const WorldPoint batch_position = gfx_current_position();
        const QImage batch = graph_image(10);

        gfx_clear();
        bool all = true;
        for (std::size_t i = 0; i < segments.size(); ++i) {
          const GfxShadedSegment& s = segments[i];
          if (shaded) {
            all = gfx_shaded_segments(&s, 1, palette, std::size(palette)) && all;
          } else {
            gfx_set_line_style(s.style);
            gfx_move_to(s.x1, s.y1);
            all = gfx_line_to(s.x2, s.y2) && all;
          }
        }
        EXPECT_EQ(all, !any_refused);
        EXPECT_EQ(batch_status, gfx_status());
        const WorldPoint single_position = gfx_current_position();
        EXPECT_EQ(batch_position.x, single_position.x);
        EXPECT_EQ(batch_position.y, single_position.y);
        EXPECT_TRUE(batch == graph_image(10));
      }
    }
  }
}

TEST(Gfx, LinesFarOutsideAreClippedNotLost) {
  pixel_window(10, 50, 50);
  gfx_set_colour(kRgbBlack);
  gfx_move_to(-1.0e9, 20);
  EXPECT_TRUE(gfx_line_to(1.0e9, 20));
  const QImage image = graph_image(10);
  EXPECT_EQ(pixel(image, 0, 20), kRgbBlack);
  EXPECT_EQ(pixel(image, 49, 20), kRgbBlack);
}

TEST(Gfx, HalfToneFillPaintsStripes) {
  pixel_window(10, 40, 20);
  gfx_set_colour(kRgbBlack);
  gfx_set_fill_mask(kFillHalfTone);
  ASSERT_TRUE(gfx_rectangle(kGfxFilled, 0, 0, 15, 7));
  const QImage image = graph_image(10);
  for (int y = 0; y <= 7; ++y)
    for (int x = 0; x <= 15; ++x)
      EXPECT_EQ(pixel(image, x, y), (x % 2 == 1) ? kRgbBlack : kRgbWhite) << x << "," << y;
  EXPECT_EQ(pixel(image, 17, 3), kRgbWhite);
  EXPECT_EQ(pixel(image, 3, 8), kRgbWhite);

  // A solid filled polygon covers its inside and its outline.
  gfx_clear();
  gfx_set_fill_mask(kFillSolid);
  const WorldPoint triangle[] = {{20, 2}, {38, 2}, {20, 18}};
  ASSERT_TRUE(gfx_polygon(kGfxFilled, triangle, 3));
  const QImage filled = graph_image(10);
  EXPECT_EQ(pixel(filled, 20, 2), kRgbBlack);
  EXPECT_EQ(pixel(filled, 38, 2), kRgbBlack);
  EXPECT_EQ(pixel(filled, 24, 6), kRgbBlack);
  EXPECT_EQ(pixel(filled, 36, 16), kRgbWhite);
}

TEST(Gfx, PolygonVertexLimits) {
  pixel_window(10, 60, 60);
  gfx_set_colour(kRgbBlack);
  const WorldPoint two[] = {{1, 1}, {50, 50}};
  EXPECT_FALSE(gfx_polygon(kGfxBorder, two, 2));
  EXPECT_EQ(gfx_status(), kGfxErrorInvalid);
  std::vector<WorldPoint> many(kGfxMaxPolygonVertices + 1);
  for (std::size_t i = 0; i < many.size(); ++i)
    many[i] = {30 + 20 * std::cos(i * 0.001), 30 + 20 * std::sin(i * 0.001)};
  EXPECT_FALSE(gfx_polygon(kGfxFilled, many.data(), static_cast<int>(many.size())));
  EXPECT_EQ(gfx_status(), kGfxErrorInvalid);
  // Nothing was drawn by the refused calls.
  const QImage untouched = graph_image(10);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) ASSERT_EQ(pixel(untouched, x, y), kRgbWhite);

  EXPECT_TRUE(gfx_polygon(kGfxBorder, many.data(), kGfxMaxPolygonVertices));
  EXPECT_EQ(gfx_status(), kGfxOk);
  const WorldPoint three[] = {{5, 5}, {25, 5}, {5, 25}};
  EXPECT_TRUE(gfx_polygon(kGfxBorder, three, 3));
  const QImage image = graph_image(10);
  EXPECT_EQ(pixel(image, 15, 5), kRgbBlack);   // edge
  EXPECT_EQ(pixel(image, 5, 15), kRgbBlack);   // edge
  EXPECT_EQ(pixel(image, 15, 15), kRgbBlack);  // the closing edge
  EXPECT_EQ(pixel(image, 9, 9), kRgbWhite);    // inside stays empty
}

TEST(Gfx, RectangleAndEllipseBordersAndFills) {
  pixel_window(10, 60, 60);
  gfx_set_colour(kBlue);
  ASSERT_TRUE(gfx_rectangle(kGfxBorder, 40, 40, 10, 10));
  QImage image = graph_image(10);
  EXPECT_EQ(pixel(image, 10, 10), kBlue);
  EXPECT_EQ(pixel(image, 40, 40), kBlue);
  EXPECT_EQ(pixel(image, 25, 10), kBlue);
  EXPECT_EQ(pixel(image, 10, 25), kBlue);
  EXPECT_EQ(pixel(image, 25, 25), kRgbWhite);

  gfx_clear();
  ASSERT_TRUE(gfx_ellipse(kGfxBorder, 10, 20, 50, 40));
  image = graph_image(10);
  EXPECT_EQ(pixel(image, 10, 30), kBlue);  // leftmost
  EXPECT_EQ(pixel(image, 50, 30), kBlue);  // rightmost
  EXPECT_EQ(pixel(image, 30, 20), kBlue);  // top
  EXPECT_EQ(pixel(image, 30, 40), kBlue);  // bottom
  EXPECT_EQ(pixel(image, 30, 30), kRgbWhite);
  EXPECT_EQ(pixel(image, 11, 21), kRgbWhite);  // the box corner is outside

  gfx_clear();
  gfx_set_fill_mask(kFillSolid);
  ASSERT_TRUE(gfx_ellipse(kGfxFilled, 10, 20, 50, 40));
  image = graph_image(10);
  EXPECT_EQ(pixel(image, 30, 30), kBlue);
  EXPECT_EQ(pixel(image, 10, 30), kBlue);
  EXPECT_EQ(pixel(image, 11, 21), kRgbWhite);
  EXPECT_FALSE(gfx_ellipse(7, 0, 0, 1, 1));
  EXPECT_EQ(gfx_status(), kGfxErrorInvalid);
}

// The columns of the image in which some pixel differs from white.
std::pair<int, int> inked_columns(const QImage& image) {
  int first = -1, last = -1;
  for (int x = 0; x < image.width(); ++x)
    for (int y = 0; y < image.height(); ++y)
      if (pixel(image, x, y) != kRgbWhite) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return {first, last};
}

TEST(Gfx, GraphicTextAdvancesByItsWidth) {
  pixel_window(10, 300, 60);
  gfx_init_fonts();
  ASSERT_GT(gfx_set_font("t'tms rmn'h15b"), 0);
  gfx_set_colour(kRgbBlack);
  const int width = gfx_text_width("Hello");
  ASSERT_GT(width, 10);
  EXPECT_GT(gfx_text_width("Hello, world"), width);
  gfx_move_to(20, 10);
  gfx_out_graphic_text("Hello");
  EXPECT_DOUBLE_EQ(gfx_current_position().x, 20 + width);
  EXPECT_DOUBLE_EQ(gfx_current_position().y, 10);
  const auto [first, last] = inked_columns(graph_image(10));
  EXPECT_GE(first, 20);
  EXPECT_LE(first, 22);
  EXPECT_LE(last, 20 + width);
  // The second text starts where the first ended.
  gfx_out_graphic_text("Hello");
  const auto [first2, last2] = inked_columns(graph_image(10));
  EXPECT_EQ(first2, first);
  EXPECT_GE(last2, last + width - 2);
  // Top-left corner at the position: nothing above row 10.
  const QImage image = graph_image(10);
  for (int x = 0; x < 300; ++x)
    for (int y = 0; y < 10; ++y) ASSERT_EQ(pixel(image, x, y), kRgbWhite);
}

TEST(Gfx, GraphicTextAdvanceInWorldUnits) {
  pixel_window(10, 201, 101);
  ASSERT_TRUE(gfx_set_window(true, 0, 0, 2, 1));  // 100 pixels per world unit
  const int width = gfx_text_width("abc");
  gfx_move_to(0.5, 0.5);
  gfx_out_graphic_text("abc");
  EXPECT_NEAR(gfx_current_position().x, 0.5 + width / 100.0, 1e-9);
}

TEST(Gfx, FontSelectionIsCaseInsensitive) {
  open_graph(10, 100, 100);
  EXPECT_GT(gfx_init_fonts(), 0);
  EXPECT_EQ(gfx_status(), kGfxOk);
  const int lower = gfx_set_font("t'tms rmn'h14be");
  ASSERT_GT(lower, 0);
  const FontInfo a = gfx_font_info();
  const int upper = gfx_set_font("T'TMS RMN'H14BE");
  EXPECT_EQ(upper, lower);
  const FontInfo b = gfx_font_info();
  EXPECT_EQ(a.face_name, b.face_name);
  EXPECT_TRUE(a.face_name == "Liberation Serif" || a.face_name == "Times New Roman") << a.face_name;
  EXPECT_GE(a.pixel_height, 14);
  EXPECT_LE(a.pixel_height, 18);
  EXPECT_EQ(a.pixel_width, 0);  // proportional
  // Bold is wider than regular at the same height.
  const int bold_width = gfx_text_width("MMMMMMMM");
  gfx_set_font("t'tms rmn'h14b");
  EXPECT_LT(gfx_text_width("MMMMMMMM"), bold_width);

  // A failed selection keeps the font and reports an error.
  EXPECT_EQ(gfx_set_font("tnoquote"), -1);
  EXPECT_EQ(gfx_status(), kGfxErrorInvalid);
  EXPECT_EQ(gfx_set_font("t'No Such Face At All'"), -1);
  EXPECT_EQ(gfx_status(), kGfxErrorNoFont);
  EXPECT_EQ(gfx_font_info().face_name, a.face_name);
  EXPECT_GT(gfx_set_font("t'helv'h12fp"), 0);
  EXPECT_EQ(gfx_status(), kGfxWarnCorrected);
}

TEST(Gfx, CellTextIsOpaque) {
  pixel_window(10, 200, 100);
  gfx_set_background_colour(kRed);
  gfx_set_text_colour(kBlue);
  gfx_set_text_position(2, 3);
  gfx_out_text("X ");
  const QImage image = graph_image(10);
  // Cells of 8 x 16 pixels: row 2, columns 3 and 4.
  const int top = 16, left = 16;
  for (int y = top; y < top + 16; ++y)
    for (int x = left + 8; x < left + 16; ++x) EXPECT_EQ(pixel(image, x, y), kRed) << x << "," << y;
  bool inked = false;
  for (int y = top; y < top + 16; ++y)
    for (int x = left; x < left + 8; ++x) {
      EXPECT_NE(pixel(image, x, y), kRgbWhite);
      const QRgb p = image.pixel(x, y);
      inked = inked || (qBlue(p) > 160 && qRed(p) < 100);
    }
  EXPECT_TRUE(inked);
  EXPECT_EQ(pixel(image, left - 1, top + 8), kRgbWhite);
  EXPECT_EQ(pixel(image, left + 16, top + 8), kRgbWhite);
  EXPECT_EQ(pixel(image, left + 4, top - 1), kRgbWhite);
  // The text position moved on: the next text follows.
  gfx_out_text(" ");
  EXPECT_EQ(pixel(graph_image(10), left + 20, top + 8), kRed);
}

TEST(Gfx, NoCurrentWindowIsAnError) {
  harness::on_other_thread([] {
    EXPECT_FALSE(gfx_line_to(1, 1));
    EXPECT_EQ(gfx_status(), kGfxErrorNoWindow);
    WindowConfig config;
    EXPECT_FALSE(wnd_get_config(&config));
  });
}

TEST(Gfx, EachThreadDrawsIntoItsOwnWindow) {
  open_graph(11, 50, 50);
  harness::on_other_thread([] {
    open_graph(12, 50, 50);
    gfx_set_colour(kRed);
    gfx_move_to(0, 0);
    gfx_line_to(49, 0);
  });
  gfx_set_colour(kBlue);
  gfx_move_to(0, 10);
  gfx_line_to(49, 10);
  const QImage mine = graph_image(11), theirs = graph_image(12);
  EXPECT_EQ(pixel(mine, 5, 10), kBlue);
  EXPECT_EQ(pixel(mine, 5, 0), kRgbWhite);
  EXPECT_EQ(pixel(theirs, 5, 0), kRed);
  EXPECT_EQ(pixel(theirs, 5, 10), kRgbWhite);
  // wnd_set_active switches this thread to the other window, which has its
  // own drawing state.
  ASSERT_TRUE(wnd_set_active(12));
  gfx_move_to(0, 20);
  gfx_line_to(49, 20);
  EXPECT_EQ(pixel(graph_image(12), 5, 20), kRed);
  EXPECT_FALSE(wnd_set_active(99));
}

// Lines, a fill, graphic text and cell text: what a frame is made of.
void draw_sample() {
  ASSERT_TRUE(gfx_set_window(true, 0, 0, 10, 10));
  gfx_set_background_colour(kRgbWhite);
  gfx_clear();
  gfx_set_colour(kRed);
  gfx_move_to(1, 1);
  gfx_line_to(9, 8);
  const WorldPoint triangle[3] = {{2, 2}, {5, 9}, {8, 3}};
  gfx_polygon(kGfxFilled, triangle, 3);
  gfx_set_font("t'tms rmn'h14be");
  gfx_move_to(1, 5);
  gfx_out_graphic_text("t = 1.26");
  gfx_set_text_position(2, 3);
  gfx_out_text("Heading");
}

TEST(Gfx, SurfaceDrawsAsAGraphWindowOfItsSize) {
  open_graph(13, 160, 90);
  draw_sample();
  const QImage window = graph_image(13);
  harness::on_other_thread([&] {
    GfxSurface surface(160, 90);
    surface.make_current();
    WindowConfig config, shown;
    ASSERT_TRUE(wnd_get_config(&config));
    draw_sample();
    EXPECT_TRUE(qtl::surface_image(surface) == window);

    // Twice the text scale: fonts and cells of twice the pixels.
    const int height = gfx_font_info().pixel_height;
    surface.resize(160, 90, 2);
    ASSERT_TRUE(wnd_get_config(&shown));
    EXPECT_LE(shown.text_columns, config.text_columns / 2);
    gfx_set_font("t'tms rmn'h14be");
    EXPECT_GE(gfx_font_info().pixel_height, 2 * height - 2);
  });
  // A thread whose surface is gone has no current window.
  harness::on_other_thread([] {
    { GfxSurface gone(10, 10); gone.make_current(); }
    EXPECT_FALSE(gfx_line_to(1, 1));
    EXPECT_EQ(gfx_status(), kGfxErrorNoWindow);
  });
}

}  // namespace
