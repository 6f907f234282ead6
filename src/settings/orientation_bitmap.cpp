// Bitmap 102: the standard orientation of the axes, drawn pixel by pixel.
//
// The origin sits low on the left; X runs to the right and Z upwards, both in
// blue with filled arrow heads; Y runs dotted in magenta at 45 degrees up and
// to the right. Each axis carries its letter near its tip.
#include <cstdlib>

#include "settings/dialog_templates.h"

namespace {

constexpr int kWidth = 54;
constexpr int kHeight = 53;

// The 16 standard colours, 0x00BBGGRR.
constexpr std::array<Rgb, 16> kPalette = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};
constexpr std::uint8_t kBlue = 12;
constexpr std::uint8_t kMagenta = 13;
constexpr std::uint8_t kWhite = 15;

// Letters of 5 x 7 pixels, one row per byte, bit 4 the leftmost pixel.
constexpr std::uint8_t kGlyphX[7] = {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11};
constexpr std::uint8_t kGlyphY[7] = {0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0x04};
constexpr std::uint8_t kGlyphZ[7] = {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F};

struct Canvas {
  Bitmap bitmap;

  void set(int x, int y, std::uint8_t colour) {
    if (x < 0 || y < 0 || x >= bitmap.width || y >= bitmap.height) return;
    bitmap.indices[static_cast<std::size_t>(y * bitmap.width + x)] = colour;
  }
  void glyph(const std::uint8_t (&rows)[7], int left, int top, std::uint8_t colour) {
    for (int r = 0; r < 7; ++r)
      for (int c = 0; c < 5; ++c)
        if (rows[r] & (0x10 >> c)) set(left + c, top + r, colour);
  }
};

Bitmap draw() {
  Canvas canvas;
  canvas.bitmap.width = kWidth;
  canvas.bitmap.height = kHeight;
  canvas.bitmap.palette = kPalette;
  canvas.bitmap.indices.assign(static_cast<std::size_t>(kWidth * kHeight), kWhite);

  const int ox = 11;  // origin
  const int oy = 41;

  // Y: dotted magenta diagonal, then a filled head whose right angle is the
  // tip, so that it points up and to the right.
  const int y_length = 22;
  for (int i = 2; i <= y_length; i += 2) canvas.set(ox + i, oy - i, kMagenta);
  const int tip = y_length + 4;  // tip at (ox + tip, oy - tip)
  for (int i = 0; i <= 4; ++i)
    for (int j = 0; j <= 4 - i; ++j) canvas.set(ox + tip - i, oy - tip + j, kMagenta);
  canvas.glyph(kGlyphY, ox + tip + 3, oy - tip - 6, kMagenta);

  // X: two pixels thick to the right, filled head.
  const int x_end = 44;
  for (int x = ox; x <= x_end; ++x) {
    canvas.set(x, oy, kBlue);
    canvas.set(x, oy + 1, kBlue);
  }
  for (int d = 0; d <= 4; ++d)
    for (int y = oy - 4 + d; y <= oy + 5 - d; ++y) canvas.set(x_end + 1 + d, y, kBlue);
  canvas.glyph(kGlyphX, x_end - 3, oy + 5, kBlue);

  // Z: two pixels thick upwards, filled head.
  const int z_end = 10;
  for (int y = z_end; y <= oy + 1; ++y) {
    canvas.set(ox, y, kBlue);
    canvas.set(ox - 1, y, kBlue);
  }
  for (int d = 0; d <= 4; ++d)
    for (int x = ox - 5 + d; x <= ox + 4 - d; ++x) canvas.set(x, z_end - 1 - d, kBlue);
  canvas.glyph(kGlyphZ, ox + 7, z_end - 9, kBlue);

  return canvas.bitmap;
}

}  // namespace

const Bitmap& orientation_bitmap() {
  static const Bitmap bitmap = draw();
  return bitmap;
}
