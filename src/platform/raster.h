// Pixel rasterising into a 32-bit image buffer: one-pixel patterned lines,
// filled spans, rectangles, polygons and ellipses with an 8 x 8 fill mask.
//
// Coordinates are pixels, pixel (i, j) centred on the integer point (i, j);
// everything is clipped to the buffer. Nothing here allocates, except the
// polygon fill growing its scratch vector to the largest polygon seen.
// No window system is involved: a layer hands in the scan lines of its
// picture (32 bits a pixel, 0xFFRRGGBB).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "platform/gfx.h"

// Packed 0x00BBGGRR to the buffer's pixel value 0xFFRRGGBB.
constexpr std::uint32_t to_argb(Rgb rgb) {
  return 0xFF000000u | (rgb_red(rgb) << 16) | (rgb_green(rgb) << 8) | rgb_blue(rgb);
}

// Pixel coordinates beyond +-kPixelFar are clamped before rounding, so that
// every result fits an int and shapes far outside the picture stay cheap.
constexpr double kPixelFar = 1.0e6;

// std::lround for v within the range of int (halves away from zero), without the
// library call or a branch on the fraction: v plus the largest double below
// one half, with v's sign, truncated. The sum reaches the next integer away
// from zero exactly when v's fraction is at least one half.
inline int round_pixel(double v) {
  if (v != v) return static_cast<int>(std::lround(v));
  return static_cast<int>(v + std::copysign(0.49999999999999994, v));
}

// The pixel nearest to a pixel coordinate.
inline int to_pixel(double v) { return round_pixel(std::clamp(v, -kPixelFar, kPixelFar)); }

struct PixelBuffer {
  std::uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // pixels per scan line
};

// Inclusive bounding box of the pixels written; empty while x0 > x1. An
// empty box holds the widest reversed bounds, so that adding a pixel is four
// comparisons without a branch (it is done for every line drawn).
struct PixelBox {
  int x0 = std::numeric_limits<int>::max(), y0 = std::numeric_limits<int>::max();
  int x1 = std::numeric_limits<int>::min(), y1 = std::numeric_limits<int>::min();
  bool empty() const { return x0 > x1 || y0 > y1; }
  void add(int x, int y) {
    x0 = std::min(x0, x);
    x1 = std::max(x1, x);
    y0 = std::min(y0, y);
    y1 = std::max(y1, y);
  }
  void add(const PixelBox& other) {
    if (other.empty()) return;
    add(other.x0, other.y0);
    add(other.x1, other.y1);
  }
};

// A line style and how far along it the next pixel is: pixel k of a line is
// drawn when bit (15 - (phase + k) % 16) of the mask is set.
struct LinePattern {
  std::uint16_t mask = kLineSolid;
  unsigned phase = 0;
};

// Line from (x0, y0) to (x1, y1), both end pixels included; `skip_first`
// leaves out the start pixel (the joint of a polyline). The pattern's phase
// advances by every pixel of the line, clipped away or not.
void raster_line(const PixelBuffer& buffer, double x0, double y0, double x1, double y1,
                 std::uint32_t colour, LinePattern& pattern, bool skip_first, PixelBox& dirty);

// raster_line (no joint skipped) for a line drawn while other threads draw
// other lines into the same buffer, all in the same colour: each pixel is
// stored as one relaxed atomic word, so that the picture is the union of the
// lines whichever thread comes first.
void raster_line_shared(const PixelBuffer& buffer, double x0, double y0, double x1, double y1,
                        std::uint32_t colour, LinePattern& pattern, PixelBox& dirty);

// The line of raster_line (no joint skipped) in a colour that runs along it
// from palette entry shade0 / 256 at (x0, y0) to shade1 / 256 at (x1, y1):
// shades are positions in the palette with 8 fractional bits, each pixel
// takes the entry nearest to its share of the way, and a clipped line keeps
// the colours it has unclipped. Neither shade may pass the palette's last
// entry.
void raster_shaded_line(const PixelBuffer& buffer, double x0, double y0, double x1, double y1,
                        const std::uint32_t* palette, std::uint32_t shade0, std::uint32_t shade1,
                        LinePattern& pattern, PixelBox& dirty);

// One pixel that a line would write: its place in the buffer's words and its
// value. A buffer that lists its writes has fewer than 2^32 words.
struct PixelWrite {
  std::uint32_t offset;
  std::uint32_t value;
};

// raster_shaded_line, with the pixels appended to `writes` in the order the
// line writes them instead of being written: a thread can draw lines that
// must land on top of others still being drawn, and the writes be applied
// when those are done.
void raster_shaded_line_recorded(const PixelBuffer& buffer, double x0, double y0, double x1, double y1,
                                 const std::uint32_t* palette, std::uint32_t shade0, std::uint32_t shade1,
                                 LinePattern& pattern, PixelBox& dirty, std::vector<PixelWrite>& writes);

// Writes the listed pixels in their order.
void raster_apply(const PixelBuffer& buffer, const std::vector<PixelWrite>& writes);

// Closed polyline through the points (xy holds x, y pairs), one pattern along
// the whole outline.
void raster_outline(const PixelBuffer& buffer, const double* xy, int count, std::uint32_t colour,
                    LinePattern pattern, PixelBox& dirty);

// Filled shapes: a pixel is painted in `colour` when the fill mask has its bit
// set for (x mod 8, y mod 8), bit 7 being the leftmost pixel.
void raster_fill_rectangle(const PixelBuffer& buffer, double x0, double y0, double x1, double y1,
                           std::uint32_t colour, const FillMask& mask, PixelBox& dirty);
// Even-odd interior at pixel centres plus the outline pixels.
void raster_fill_polygon(const PixelBuffer& buffer, const double* xy, int count,
                         std::uint32_t colour, const FillMask& mask, std::vector<double>& scratch,
                         PixelBox& dirty);
// The ellipse inscribed in the pixel box with corners (x0, y0), (x1, y1).
void raster_fill_ellipse(const PixelBuffer& buffer, double x0, double y0, double x1, double y1,
                         std::uint32_t colour, const FillMask& mask, PixelBox& dirty);
void raster_ellipse_outline(const PixelBuffer& buffer, double x0, double y0, double x1, double y1,
                            std::uint32_t colour, LinePattern pattern, PixelBox& dirty);
