// Graphic text through the glyph cache, compared with what QPainter::drawText
// paints for the same font at the same place.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>
#include <string>
#include <vector>

#include "platform/font_options.h"
#include "platform/qt/font_list.h"
#include "platform/qt/qt_colour.h"
#include "qt_harness.h"

using harness::open_graph;
using harness::pixel;
using qt_test::graph_image;

namespace {

constexpr Rgb kPaper = 0xC0E0F0;  // a light background that is not white
constexpr Rgb kInk = 0x2080C0;    // a drawing colour with three distinct channels
constexpr int kW = 320, kH = 120;

using qtl::to_qcolor;

// The font gfx_set_font(options) makes current, built the same way.
QFont font_for(const std::string& options, int number) {
  const FontCandidate& candidate = qtl::font_list()[static_cast<std::size_t>(number - 1)];
  return qtl::make_font(candidate, parse_font_options(options));
}

struct Label {
  std::string text;
  int x, y;  // pixels, top-left; -1 for x: right after the previous label
};

// Share of pixels equal in the two images, and the largest channel
// difference of a pixel that differs.
struct Match {
  double equal = 0;
  int worst = 0;
};

Match compare(const QImage& a, const QImage& b) {
  long same = 0;
  Match m;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      if ((p & 0xFFFFFF) == (q & 0xFFFFFF)) {
        ++same;
        continue;
      }
      m.worst = std::max({m.worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q))});
    }
  m.equal = static_cast<double>(same) / (static_cast<double>(a.width()) * a.height());
  return m;
}

// Draws the labels with gfx_out_graphic_text in the current font and with
// QPainter::drawText in `font` on a picture of the same paper; checks that
// the two pictures agree and that each label advances by its width.
void expect_like_qt(const QFont& font, const std::vector<Label>& labels) {
  gfx_set_background_colour(kPaper);
  gfx_clear();
  gfx_set_colour(kInk);
  QImage reference(kW, kH, QImage::Format_RGB32);
  reference.fill(to_qcolor(kPaper));
  QPainter painter(&reference);
  painter.setFont(font);
  painter.setPen(to_qcolor(kInk));
  const QFontMetrics metrics(font);
  int pen = 0, row = 0;
  for (const Label& label : labels) {
    SCOPED_TRACE(label.text);
    const QString s = QString::fromStdString(label.text);
    if (label.x >= 0) {
      pen = label.x;
      row = label.y;
      gfx_move_to(pen, row);
    }
    const int width = gfx_text_width(label.text);
    EXPECT_EQ(width, metrics.horizontalAdvance(s));  // as Qt measures it
    const double before = gfx_current_position().x;
    gfx_out_graphic_text(label.text);
    EXPECT_DOUBLE_EQ(gfx_current_position().x, before + width);
    painter.drawText(pen, row + metrics.ascent(), s);
    pen += width;
  }
  painter.end();
  const Match m = compare(graph_image(10), reference);
  EXPECT_GE(m.equal, 0.995) << "worst channel difference " << m.worst;
  EXPECT_LE(m.worst, 8);
}

const std::vector<Label> kLabels = {
    // Numbers as the scale and the node indices write them.
    {"1234567890", 4, 4}, {"-1.25E+03", 150, 4}, {"(17)", 260, 4},
    // Labels followed by more text; kerned pairs.
    {"Time = 0.125", 4, 30}, {" s", -1, 0}, {"Node 11 AV To", 150, 30},
    // Texts one after another, one of them ending in a blank; every letter.
    {"12", 4, 60}, {"34", -1, 0}, {"56 ", -1, 0}, {"7", -1, 0},
    {"abcdefghijklm", 60, 60}, {"nopqrstuvwxyz", 60, 85}, {"QWERTY", 200, 60},
};

TEST(GlyphText, MatchesQtForTheProgramsFonts) {
  open_graph(10, kW, kH);
  ASSERT_TRUE(gfx_set_window(false, 0, 0, kW - 1, kH - 1));
  gfx_init_fonts();
  // The window's font before any selection.
  {
    SCOPED_TRACE("default font");
    expect_like_qt(qtl::default_graphic_font(), kLabels);
  }
  const char* fonts[] = {"t'tms rmn'h11b",  "t'tms rmn'h12b",  "t'tms rmn'h13b",  "t'tms rmn'h15b",
                         "t'tms rmn'h11be", "t'tms rmn'h13be", "t'tms rmn'h14be", "t'tms rmn'h15be"};
  // Twice round, so that fonts come back from the cache of earlier fonts.
  for (int round = 0; round < 2; ++round)
    for (const char* options : fonts) {
      SCOPED_TRACE(options);
      const int number = gfx_set_font(options);
      ASSERT_GT(number, 0);
      expect_like_qt(font_for(options, number), kLabels);
    }
}

TEST(GlyphText, TextOutsideTheCacheAndPartlyOutsideTheWindowGoesRight) {
  open_graph(10, kW, kH);
  ASSERT_TRUE(gfx_set_window(false, 0, 0, kW - 1, kH - 1));
  gfx_init_fonts();
  const int number = gfx_set_font("t'tms rmn'h15be");
  ASSERT_GT(number, 0);
  // Clipped at every edge, and non-ASCII text (drawn by Qt whole) between
  // cached texts.
  expect_like_qt(font_for("t'tms rmn'h15be", number),
                 {{"-8888", -20, -6}, {"8888", kW - 18, 40}, {"(99)", 100, kH - 7},
                  {"\xC3\xA9t\xC3\xA9 \xC2\xB5m", 100, 40}, {" 12", -1, 0}, {"tab\there", 10, 70}});
  // An underlined font draws its line, which glyph masks alone do not hold.
  const int underlined = gfx_set_font("t'tms rmn'h14u");
  ASSERT_GT(underlined, 0);
  expect_like_qt(font_for("t'tms rmn'h14u", underlined), {{"1234 abc", 10, 10}});
}

TEST(GlyphText, GlyphsTakeTheDrawingColourOverATransparentBackground) {
  open_graph(10, kW, kH);
  ASSERT_TRUE(gfx_set_window(false, 0, 0, kW - 1, kH - 1));
  gfx_set_background_colour(kRgbWhite);
  gfx_clear();
  gfx_init_fonts();
  ASSERT_GT(gfx_set_font("t'tms rmn'h15be"), 0);
  // A blue band under the top half of the text.
  gfx_set_colour(0xFF0000);
  gfx_set_fill_mask(kFillSolid);
  ASSERT_TRUE(gfx_rectangle(kGfxFilled, 0, 20, kW - 1, 27));
  gfx_set_colour(0x0000FF);
  gfx_move_to(10, 20);
  gfx_out_graphic_text("8888 ");
  const int width = gfx_text_width("8888 ");
  const QImage image = graph_image(10);
  int ink = 0, full = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const Rgb p = pixel(image, x, y);
      const Rgb under = (y >= 20 && y <= 27) ? 0xFF0000 : kRgbWhite;
      if (p == under) continue;
      ++ink;
      full += p == 0x0000FF;
      // Ink only inside the text's line, and every inked pixel a mix of the
      // drawing colour with what was under it: no opaque background.
      ASSERT_GE(x, 10) << y;
      ASSERT_LT(x, 10 + width) << x;
      ASSERT_GE(y, 20) << x;
      ASSERT_LT(y, 20 + 20) << x;
      const QRgb q = image.pixel(x, y);
      if (under == kRgbWhite) {
        EXPECT_EQ(qRed(q), 255) << x << "," << y;
        EXPECT_EQ(qGreen(q), qBlue(q)) << x << "," << y;
      } else {
        EXPECT_EQ(qGreen(q), 0) << x << "," << y;
        EXPECT_EQ(qRed(q) + qBlue(q), 255) << x << "," << y;
      }
    }
  EXPECT_GT(ink, 100);
  EXPECT_GT(full, 20);
  // The blank at the end has no ink but counts in the width.
  EXPECT_GT(width, gfx_text_width("8888"));
}

// A time label drawn again in white at its place leaves white paper, in every
// font the program uses, through the glyph cache and through Qt (text the
// cache does not hold, an underlined font).
TEST(GlyphText, DrawingTheSameTextInWhiteErasesItExactly) {
  open_graph(10, kW, kH);
  ASSERT_TRUE(gfx_set_window(false, 0, 0, kW - 1, kH - 1));
  gfx_set_background_colour(kRgbWhite);
  gfx_init_fonts();
  struct Case {
    const char* font;
    const char* text;
  };
  const Case cases[] = {
      {"t'tms rmn'h11b", "t = 0.125000"},  {"t'tms rmn'h12b", "t = 1.25E-03"},
      {"t'tms rmn'h13b", "t = 12.5"},      {"t'tms rmn'h15b", "t = 0.05 WAVy"},
      {"t'tms rmn'h11be", "t = 3.14159"},  {"t'tms rmn'h13be", "t = 100.5"},
      {"t'tms rmn'h14be", "t = 7 AV To"},  {"t'tms rmn'h15be", "t = 0.000001"},
      {"t'tms rmn'h15be", "t = 2 \xC2\xB5s"}, {"t'tms rmn'h14u", "t = 0.5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.font) + " " + c.text);
    gfx_clear();
    ASSERT_GT(gfx_set_font(c.font), 0);
    const double x = 17.4, y = 31.6;  // between pixel centres
    gfx_set_colour(0x800080);
    gfx_move_to(x, y);
    gfx_out_graphic_text(c.text);
    int inked = 0;
    const QImage drawn = graph_image(10);
    for (int py = 0; py < kH; ++py)
      for (int px = 0; px < kW; ++px) inked += pixel(drawn, px, py) != kRgbWhite;
    EXPECT_GT(inked, 20);
    gfx_set_colour(kRgbWhite);
    gfx_move_to(x, y);
    gfx_out_graphic_text(c.text);
    const QImage erased = graph_image(10);
    int left = 0;
    for (int py = 0; py < kH; ++py)
      for (int px = 0; px < kW; ++px) left += pixel(erased, px, py) != kRgbWhite;
    EXPECT_EQ(left, 0);
  }
}

}  // namespace
