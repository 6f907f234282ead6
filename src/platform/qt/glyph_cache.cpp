#include "platform/qt/glyph_cache.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace qtl {

namespace {

constexpr std::size_t kMaxFonts = 8;

bool cached_char(unsigned char ch) { return ch >= kGlyphFirst && ch < kGlyphFirst + kGlyphCount; }

std::size_t slot(unsigned char ch) { return static_cast<std::size_t>(ch - kGlyphFirst); }

std::int32_t to_64ths(qreal v) { return static_cast<std::int32_t>(std::lround(v * kPenPhases)); }

QString char_text(unsigned char ch) { return QString(QChar(static_cast<char16_t>(ch))); }

std::int32_t advance_of(GlyphCache& cache, unsigned char ch) {
  std::int32_t& a = cache.advance[slot(ch)];
  if (a < 0) a = std::max(0, to_64ths(QFontMetricsF(cache.font).horizontalAdvance(char_text(ch))));
  return a;
}

// The pen step from `a` to `b` in Qt's layout of the two characters.
std::int32_t step_of(GlyphCache& cache, unsigned char a, unsigned char b) {
  std::int32_t& step = cache.pair_step[slot(a) * kGlyphCount + slot(b)];
  if (step != kStepUnknown) return step;
  QString pair = char_text(a);
  pair += QChar(static_cast<char16_t>(b));
  QTextLayout layout(pair, cache.font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  const QList<QGlyphRun> runs = layout.glyphRuns();
  if (runs.size() == 1 && runs[0].positions().size() == 2) {
    const QList<QPointF> at = runs[0].positions();
    step = to_64ths(at[1].x() - at[0].x());
  } else if (a == ' ' || b == ' ') {
    // A layout may leave blanks out of its glyph runs; blanks join nothing,
    // so the advance of the pair tells the step.
    const QFontMetricsF metrics(cache.font);
    step = to_64ths(metrics.horizontalAdvance(pair) - metrics.horizontalAdvance(char_text(b)));
  } else {
    step = kStepShaped;
  }
  return step;
}

// Renders `ch` at pen fraction `phase` with Qt, white on black in the
// window's own pixel format, and keeps the inked box as coverage.
const GlyphMask& mask_of(GlyphCache& cache, unsigned char ch, int phase) {
  GlyphMask& mask = cache.masks[slot(ch) * kPenPhases + static_cast<std::size_t>(phase)];
  if (mask.offset >= 0) return mask;
  // Room for overhangs on every side of the widest glyph.
  const int margin = cache.line_height + 16;
  if (cache.scratch.isNull())
    cache.scratch = QImage(2 * margin + 2 * cache.max_width, 3 * margin, QImage::Format_RGB32);
  QImage& img = cache.scratch;
  img.fill(0xFF000000u);
  {
    QPainter painter(&img);
    painter.setFont(cache.font);
    painter.setPen(Qt::white);
    painter.drawText(QPointF(margin + static_cast<qreal>(phase) / kPenPhases, margin + cache.ascent),
                     char_text(ch));
  }
  int x0 = img.width(), y0 = img.height(), x1 = -1, y1 = -1;
  for (int y = 0; y < img.height(); ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      if ((row[x] & 0xFFFFFFu) == 0) continue;
      x0 = std::min(x0, x), x1 = std::max(x1, x);
      y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
  }
  mask.offset = static_cast<std::int32_t>(cache.coverage.size());
  if (x1 < 0) return mask;  // no ink
  mask.left = static_cast<std::int16_t>(x0 - margin);
  mask.top = static_cast<std::int16_t>(y0 - margin);
  mask.width = static_cast<std::uint16_t>(x1 - x0 + 1);
  mask.height = static_cast<std::uint16_t>(y1 - y0 + 1);
  for (int y = y0; y <= y1; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(img.constScanLine(y));
    for (int x = x0; x <= x1; ++x) cache.coverage.push_back(static_cast<std::uint8_t>(row[x] & 0xFF));
  }
  return mask;
}

// Each channel of `x` times a / 255, rounded.
std::uint32_t byte_mul(std::uint32_t x, std::uint32_t a) {
  std::uint32_t t = (x & 0xFF00FFu) * a;
  t = ((t + ((t >> 8) & 0xFF00FFu) + 0x800080u) >> 8) & 0xFF00FFu;
  std::uint32_t u = ((x >> 8) & 0xFF00FFu) * a;
  u = (u + ((u >> 8) & 0xFF00FFu) + 0x800080u) & 0xFF00FF00u;
  return u | t;
}

// Qt's blend of an opaque colour at coverage a over an opaque pixel: the two
// products are rounded each on its own, as the raster engine does.
std::uint32_t blend(std::uint32_t colour, std::uint32_t a, std::uint32_t dst) {
  return byte_mul(colour, a) + byte_mul(dst, 255 - a);
}

void blit(const GlyphCache& cache, const GlyphMask& mask, const PixelBuffer& buffer, int x, int y,
          std::uint32_t argb, PixelBox& dirty) {
  const int left = x + mask.left, top = y + mask.top;
  const int c0 = std::max(left, 0), c1 = std::min(left + mask.width, buffer.width);
  const int r0 = std::max(top, 0), r1 = std::min(top + mask.height, buffer.height);
  if (c0 >= c1 || r0 >= r1) return;
  for (int r = r0; r < r1; ++r) {
    const std::uint8_t* cover =
        cache.coverage.data() + mask.offset + static_cast<std::ptrdiff_t>(r - top) * mask.width;
    std::uint32_t* row = buffer.bits + static_cast<std::ptrdiff_t>(r) * buffer.stride;
    for (int c = c0; c < c1; ++c) {
      const std::uint32_t a = cover[c - left];
      if (a == 255)
        row[c] = argb;
      else if (a != 0)
        row[c] = blend(argb, a, row[c]);
    }
  }
  dirty.add(c0, r0);
  dirty.add(c1 - 1, r1 - 1);
}

}  // namespace

std::unique_ptr<GlyphCache> make_glyph_cache(const QFont& font) {
  auto cache = std::make_unique<GlyphCache>();
  cache->font = font;
  cache->usable = !font.underline() && !font.overline() && !font.strikeOut();
  const QFontMetrics metrics(font);
  cache->ascent = metrics.ascent();
  cache->line_height = metrics.height();
  cache->max_width = std::max(metrics.maxWidth(), 1);
  cache->advance.fill(-1);
  cache->pair_step.assign(static_cast<std::size_t>(kGlyphCount) * kGlyphCount, kStepUnknown);
  cache->masks.resize(static_cast<std::size_t>(kGlyphCount) * kPenPhases);
  if (cache->usable) {
    // Coloured fringes mean sub-pixel antialiasing, which one coverage value
    // per pixel cannot reproduce: such a font is left to Qt.
    mask_of(*cache, 'W', 0);
    const QImage& probe = cache->scratch;
    for (int y = 0; y < probe.height() && cache->usable; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(probe.constScanLine(y));
      for (int x = 0; x < probe.width(); ++x) {
        const std::uint32_t p = row[x];
        if ((p & 0xFF) != ((p >> 8) & 0xFF) || (p & 0xFF) != ((p >> 16) & 0xFF)) cache->usable = false;
      }
    }
  }
  return cache;
}

GlyphCache& find_glyph_cache(std::vector<std::unique_ptr<GlyphCache>>& caches, const QFont& font) {
  auto it = std::find_if(caches.begin(), caches.end(), [&](const auto& c) { return c->font == font; });
  if (it == caches.end()) {
    if (caches.size() >= kMaxFonts) caches.erase(caches.begin());
    caches.push_back(make_glyph_cache(font));
  } else {
    std::rotate(it, it + 1, caches.end());
  }
  return *caches.back();
}

int cached_text_width(GlyphCache& cache, std::string_view text) {
  if (!cache.usable) return -1;
  if (text.empty()) return 0;
  std::int32_t pen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto ch = static_cast<unsigned char>(text[i]);
    if (!cached_char(ch)) return -1;
    if (i + 1 == text.size()) {
      pen += advance_of(cache, ch);
      break;
    }
    const auto next = static_cast<unsigned char>(text[i + 1]);
    if (!cached_char(next)) return -1;
    const std::int32_t step = step_of(cache, ch, next);
    if (step == kStepShaped) return -1;
    pen += step;
  }
  return std::max(0, (pen + kPenPhases / 2) / kPenPhases);
}

int draw_cached_text(GlyphCache& cache, const PixelBuffer& buffer, int x, int y,
                     std::uint32_t argb, std::string_view text, PixelBox& dirty) {
  const int width = cached_text_width(cache, text);  // also fills the pair steps
  if (width < 0) return width;
  std::int64_t pen = static_cast<std::int64_t>(x) * kPenPhases;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto ch = static_cast<unsigned char>(text[i]);
    const auto phase = static_cast<int>(pen & (kPenPhases - 1));
    if (ch != ' ') {  // a blank has no ink
      const GlyphMask& mask = mask_of(cache, ch, phase);
      const auto column = static_cast<int>((pen - phase) / kPenPhases);
      if (mask.width > 0) blit(cache, mask, buffer, column, y, argb, dirty);
    }
    if (i + 1 < text.size())
      pen += cache.pair_step[slot(ch) * kGlyphCount + slot(static_cast<unsigned char>(text[i + 1]))];
  }
  return width;
}

}  // namespace qtl
