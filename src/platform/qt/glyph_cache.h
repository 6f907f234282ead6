// Graphic text without a QPainter per call: the glyphs of one font's
// printable ASCII characters, rendered once by Qt into 8-bit coverage masks,
// blended straight into the window's 32-bit scan lines.
//
// Qt places glyphs at fractional pen positions (1/64 pixel) and renders a
// glyph differently for the fraction it starts at, and it kerns pairs of
// characters. The cache therefore keeps one mask per character and pen
// fraction, and the pen step of each pair of characters as Qt's own text
// layout gives it; both are filled on first use. Pen positions, widths,
// masks and the blend are Qt's, so cached text lands on the same pixels as
// QPainter::drawText. Graphic fonts are made without antialiasing
// (font_list.h), so their masks hold full coverage or none: text drawn again
// in the paper's colour at the same place leaves no fringe.
//
// A cache belongs to one canvas and is used under its lock. After warm-up,
// measuring and drawing allocate nothing.
#pragma once

#include <QFont>
#include <QImage>
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/raster.h"

namespace qtl {

constexpr int kGlyphFirst = 0x20;                // blank
constexpr int kGlyphCount = 0x7F - kGlyphFirst;  // up to '~'
constexpr int kPenPhases = 64;                   // pen positions in 1/64 pixel, as Qt's

// The coverage mask of one character at one pen fraction, relative to the
// integer pen column and the top of the text line.
struct GlyphMask {
  std::int32_t offset = -1;  // into GlyphCache::coverage; -1: not rendered yet
  std::int16_t left = 0;
  std::int16_t top = 0;
  std::uint16_t width = 0;  // 0 for glyphs without ink (blank)
  std::uint16_t height = 0;
};

struct GlyphCache {
  QFont font;
  bool usable = true;  // false: the font draws lines (underline...), Qt draws all
  int ascent = 0;
  int line_height = 0;
  int max_width = 0;  // of a glyph
  // Advance of a character alone, in 1/64 pixel; -1 not measured yet.
  std::array<std::int32_t, kGlyphCount> advance{};
  // Pen step from the first to the second character of a pair, in 1/64
  // pixel (kerning included); kStepUnknown or kStepShaped (Qt joins the pair
  // into something else than two glyphs: such text goes to Qt).
  std::vector<std::int32_t> pair_step;
  std::vector<GlyphMask> masks;  // kGlyphCount x kPenPhases
  std::vector<std::uint8_t> coverage;
  QImage scratch;  // where masks are rendered
};

constexpr std::int32_t kStepUnknown = INT32_MIN;
constexpr std::int32_t kStepShaped = INT32_MIN + 1;

// An empty cache for `font`.
std::unique_ptr<GlyphCache> make_glyph_cache(const QFont& font);

// The cache for `font` among `caches`, made when missing. The list keeps the
// few fonts used last (a frame switches between several), most recent last.
GlyphCache& find_glyph_cache(std::vector<std::unique_ptr<GlyphCache>>& caches, const QFont& font);

// Width of `text` in pixels as Qt measures it, or -1 when the cache cannot
// draw the text (a character outside printable ASCII, an unusable font, a
// pair Qt shapes into other glyphs): then Qt must measure and draw it.
int cached_text_width(GlyphCache& cache, std::string_view text);

// Draws `text` with the top of its line at row `y` and its pen starting at
// column `x`, in `argb` over what is there; adds the pixels touched to
// `dirty`. Returns the text's width as cached_text_width does; -1 draws
// nothing.
int draw_cached_text(GlyphCache& cache, const PixelBuffer& buffer, int x, int y,
                     std::uint32_t argb, std::string_view text, PixelBox& dirty);

}  // namespace qtl
