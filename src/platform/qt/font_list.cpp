#include "platform/qt/font_list.h"

#include <QFontDatabase>
#include <QList>
#include <QStringList>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace qtl {

namespace {

constexpr int kDefaultPixelHeight = 16;

std::vector<FontCandidate> build_font_list() {
  std::vector<FontCandidate> list;
  for (const QString& family : QFontDatabase::families()) {
    FontCandidate c;
    c.face = family.toStdString();
    c.fixed_pitch = QFontDatabase::isFixedPitch(family);
    c.scalable = QFontDatabase::isScalable(family);
    if (c.scalable) {
      list.push_back(c);
      continue;
    }
    for (int size : QFontDatabase::pointSizes(family)) {
      c.height = size;
      QFont f(family);
      f.setPixelSize(size);
      c.width = QFontMetrics(f).averageCharWidth();
      list.push_back(c);
    }
  }
  return list;
}

int scaled_pixels(int pixels, double scale) {
  return scale == 1 ? pixels : std::max(1, static_cast<int>(std::lround(pixels * scale)));
}

QFont family_font(const char* family, int pixel_size) {
  QFont f(QString::fromLatin1(family));
  f.setPixelSize(pixel_size);
  return f;
}

// Graphic text is drawn without antialiasing: every pixel of a glyph is ink
// or untouched, so the same text drawn again in white over white paper wipes
// it without a trace (the time label of show-all mode relies on it).
QFont solid_glyphs(QFont f) {
  f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

}  // namespace

const std::vector<FontCandidate>& font_list() {
  static const std::vector<FontCandidate> list = build_font_list();
  return list;
}

QFont make_font(const FontCandidate& candidate, const FontRequest& request, double scale) {
  QFont f(QString::fromStdString(candidate.face));
  const int height = request.height > 0 ? request.height
                     : candidate.height > 0 ? candidate.height
                                            : kDefaultPixelHeight;
  f.setPixelSize(scaled_pixels(height, scale));
  f.setWeight(request.bold ? QFont::Bold : QFont::Normal);
  f.setItalic(request.italic);
  f.setUnderline(request.underline);
  if (request.width > 0 && candidate.scalable) {
    const int natural = QFontMetrics(f).averageCharWidth();
    if (natural > 0) f.setStretch(std::clamp(100 * scaled_pixels(request.width, scale) / natural, 1, 4000));
  }
  return solid_glyphs(f);
}

QFont default_graphic_font(double scale) {
  return solid_glyphs(family_font("Liberation Sans", scaled_pixels(kDefaultPixelHeight, scale)));
}

CellFont make_cell_font(double scale) {
  CellFont c;
  c.font = family_font("Liberation Mono", scaled_pixels(14, scale));
  c.font.setStyleHint(QFont::Monospace);
  c.font.setFixedPitch(true);
  QFontMetrics m(c.font);
  c.width = std::max(1, m.horizontalAdvance(QLatin1Char('M')));
  c.height = std::max(1, m.height());
  c.ascent = m.ascent();
  return c;
}

const CellFont& cell_font() {
  static const CellFont cell = make_cell_font(1);
  return cell;
}

QFont dialog_font(const std::string& face, int points) {
  QString family = QString::fromStdString(face);
  if (face.empty() || same_face(face, "MS Sans Serif") || same_face(face, "MS Shell Dlg") ||
      same_face(face, "MS Shell Dlg 2") || !QFontDatabase::hasFamily(family))
    family = QStringLiteral("Liberation Sans");
  QFont f(family);
  f.setPointSize(points > 0 ? points : 8);
  return f;
}

}  // namespace qtl
