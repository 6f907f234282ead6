#include "platform/raster.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double kFar = kPixelFar;

}  // namespace

namespace {

bool fill_bit(const FillMask& mask, int x, int y) {
  return (mask[static_cast<unsigned>(y) & 7u] & (0x80u >> (static_cast<unsigned>(x) & 7u))) != 0;
}

bool is_solid(const FillMask& mask) {
  return std::all_of(mask.begin(), mask.end(), [](std::uint8_t b) { return b == 0xFF; });
}

// Clips the segment to [lo_x, hi_x] x [lo_y, hi_y] (Liang-Barsky); returns
// the parameters of the visible part, false when nothing is visible.
bool clip_segment(double x0, double y0, double x1, double y1, double lo_x, double lo_y,
                  double hi_x, double hi_y, double& t0, double& t1) {
  t0 = 0.0;
  t1 = 1.0;
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - lo_x, hi_x - x0, y0 - lo_y, hi_y - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0.0) {
      if (r > t1) return false;
      t0 = std::max(t0, r);
    } else {
      if (r < t0) return false;
      t1 = std::min(t1, r);
    }
  }
  return true;
}

// Integer Bresenham from (x0, y0) to (x1, y1); `plot(x, y, k)` gets each
// pixel with its index along the line.
template <class Plot>
void bresenham(int x0, int y0, int x1, int y1, Plot&& plot) {
  const int dx = std::abs(x1 - x0);
  const int sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0);
  const int sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  unsigned k = 0;
  for (;;) {
    plot(x0, y0, k++);
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void fill_span(const PixelBuffer& b, int y, int xa, int xb, std::uint32_t colour,
               const FillMask& mask, bool solid, PixelBox& dirty) {
  if (y < 0 || y >= b.height) return;
  xa = std::max(xa, 0);
  xb = std::min(xb, b.width - 1);
  if (xa > xb) return;
  std::uint32_t* row = b.bits + static_cast<std::ptrdiff_t>(y) * b.stride;
  if (solid) {
    std::fill(row + xa, row + xb + 1, colour);
  } else {
    const unsigned bits = mask[static_cast<unsigned>(y) & 7u];
    if (bits == 0) return;
    for (int x = xa; x <= xb; ++x)
      if (bits & (0x80u >> (static_cast<unsigned>(x) & 7u))) row[x] = colour;
  }
  dirty.add(xa, y);
  dirty.add(xb, y);
}

// The masked pixels of a line's path (the outline part of a filled polygon).
void fill_line(const PixelBuffer& b, double x0, double y0, double x1, double y1,
               std::uint32_t colour, const FillMask& mask, PixelBox& dirty) {
  double t0, t1;
  if (!clip_segment(x0, y0, x1, y1, -1.0, -1.0, b.width, b.height, t0, t1)) return;
  const double dx = x1 - x0, dy = y1 - y0;
  bresenham(to_pixel(x0 + t0 * dx), to_pixel(y0 + t0 * dy), to_pixel(x0 + t1 * dx),
            to_pixel(y0 + t1 * dy), [&](int x, int y, unsigned) {
              if (static_cast<unsigned>(x) >= static_cast<unsigned>(b.width) ||
                  static_cast<unsigned>(y) >= static_cast<unsigned>(b.height))
                return;
              if (!fill_bit(mask, x, y)) return;
              b.bits[static_cast<std::ptrdiff_t>(y) * b.stride + x] = colour;
              dirty.add(x, y);
            });
}

}  // namespace

namespace {

// The colour of every pixel of a line is the same.
struct FlatInk {
  std::uint32_t colour;
  void begin(unsigned) {}
  std::uint32_t at(unsigned) const { return colour; }
};

// Pixel `along` of a line of n + 1 pixels takes the palette entry nearest to
// shade0 + (shade1 - shade0) * along / n; shades are palette positions with
// 8 fractional bits, so both end pixels take exactly their end's entry.
struct ShadedInk {
  const std::uint32_t* palette;
  std::int64_t shade0, shade1;
  unsigned last = 0;
  std::int64_t start = 0, step = 0;  // 24 fractional bits
  void begin(unsigned n) {
    last = n;
    start = shade0 << 16;
    // Most lines of a large model are one or two pixels long, n = 0 or 1:
    // no 64-bit division for them.
    const std::int64_t rise = (shade1 - shade0) << 16;
    step = n == 0 ? 0 : n == 1 ? rise : rise / n;
  }
  std::uint32_t at(unsigned along) const {
    const std::int64_t position = along >= last ? shade1 << 16 : start + step * along;
    return palette[(position + (std::int64_t{1} << 23)) >> 24];
  }
};

// How a line's pixels are written: plainly; as relaxed atomic words, when
// other threads write the same buffer at the same time (on the usual
// processors the same single store); or kept as a list of writes for later.
struct PlainPut {
  void operator()(std::uint32_t* pixel, std::uint32_t value) const { *pixel = value; }
};
struct SharedPut {
  void operator()(std::uint32_t* pixel, std::uint32_t value) const {
    std::atomic_ref<std::uint32_t>(*pixel).store(value, std::memory_order_relaxed);
  }
};
struct RecordedPut {
  const std::uint32_t* bits;
  std::vector<PixelWrite>* writes;
  void operator()(std::uint32_t* pixel, std::uint32_t value) const {
    writes->push_back({static_cast<std::uint32_t>(pixel - bits), value});
  }
};

// The line of raster_line in the colours `ink` gives along it: ink.begin(n)
// once with the index n of the line's far end pixel, then ink.at(k) for the
// pixel k along the whole line.
template <class Ink, class Put = PlainPut>
void draw_line(const PixelBuffer& b, double x0, double y0, double x1, double y1, Ink ink,
               LinePattern& pattern, bool skip_first, PixelBox& dirty, Put put = {}) {
  const double dx = x1 - x0, dy = y1 - y0;
  // Pixel k of the whole line (k = 0 .. total) takes pattern bit base + k;
  // a clipped line starts `offset` pixels along, so the visible part keeps
  // the pattern it would have had unclipped.
  const double span = std::min(std::max(std::fabs(dx), std::fabs(dy)), 4.0 * kFar);
  const unsigned total = static_cast<unsigned>(round_pixel(span));
  const unsigned skip = skip_first ? 1u : 0u;
  const unsigned base = pattern.phase - skip;  // wraps harmlessly: pixel 0 is then skipped
  pattern.phase += total + 1u - skip;
  const std::uint16_t mask = pattern.mask;
  const double w = b.width, h = b.height;
  // A line wholly beyond one edge of the clip bounds has no pixel in the
  // buffer: most lines of a model zoomed into end here, before the clip.
  if ((x0 < -1.0 && x1 < -1.0) || (x0 > w && x1 > w) || (y0 < -1.0 && y1 < -1.0) || (y0 > h && y1 > h)) return;
  if (x0 >= -1.0 && x0 <= w && x1 >= -1.0 && x1 <= w && y0 >= -1.0 && y0 <= h && y1 >= -1.0 && y1 <= h) {
    // Within the clip bounds the clip keeps the whole line (t0 = 0, t1 = 1
    // exactly), so the end pixels are those of the general case below. When
    // they lie in the buffer, so does every pixel between them.
    const int xa = to_pixel(x0), ya = to_pixel(y0), xb = to_pixel(x0 + dx), yb = to_pixel(y0 + dy);
    if (static_cast<unsigned>(xa) < static_cast<unsigned>(b.width) &&
        static_cast<unsigned>(xb) < static_cast<unsigned>(b.width) &&
        static_cast<unsigned>(ya) < static_cast<unsigned>(b.height) &&
        static_cast<unsigned>(yb) < static_cast<unsigned>(b.height)) {
      std::uint32_t* const bits = b.bits;
      const std::ptrdiff_t stride = b.stride;
      ink.begin(static_cast<unsigned>(std::max(std::abs(xb - xa), std::abs(yb - ya))));
      if (mask == kLineSolid) {
        bresenham(xa, ya, xb, yb, [&](int x, int y, unsigned k) {
          if (k >= skip) put(&bits[y * stride + x], ink.at(k));
        });
      } else {
        bresenham(xa, ya, xb, yb, [&](int x, int y, unsigned k) {
          if (k >= skip && (mask & (0x8000u >> ((base + k) & 15u))))
            put(&bits[y * stride + x], ink.at(k));
        });
      }
      dirty.add(xa, ya);
      dirty.add(xb, yb);
      return;
    }
  }
  double t0, t1;
  if (!clip_segment(x0, y0, x1, y1, -1.0, -1.0, b.width, b.height, t0, t1)) return;
  const unsigned offset = static_cast<unsigned>(round_pixel(t0 * span));
  const int xa = to_pixel(x0 + t0 * dx), ya = to_pixel(y0 + t0 * dy);
  const int xb = to_pixel(x0 + t1 * dx), yb = to_pixel(y0 + t1 * dy);
  ink.begin(total);
  bresenham(xa, ya, xb, yb, [&](int x, int y, unsigned k) {
    const unsigned along = offset + k;
    if (along < skip) return;
    if (!(mask & (0x8000u >> ((base + along) & 15u)))) return;
    if (static_cast<unsigned>(x) >= static_cast<unsigned>(b.width) ||
        static_cast<unsigned>(y) >= static_cast<unsigned>(b.height))
      return;
    put(&b.bits[static_cast<std::ptrdiff_t>(y) * b.stride + x], ink.at(along));
  });
  dirty.add(std::clamp(xa, 0, b.width - 1), std::clamp(ya, 0, b.height - 1));
  dirty.add(std::clamp(xb, 0, b.width - 1), std::clamp(yb, 0, b.height - 1));
}

}  // namespace

void raster_line(const PixelBuffer& b, double x0, double y0, double x1, double y1,
                 std::uint32_t colour, LinePattern& pattern, bool skip_first, PixelBox& dirty) {
  draw_line(b, x0, y0, x1, y1, FlatInk{colour}, pattern, skip_first, dirty);
}

void raster_line_shared(const PixelBuffer& b, double x0, double y0, double x1, double y1,
                        std::uint32_t colour, LinePattern& pattern, PixelBox& dirty) {
  draw_line(b, x0, y0, x1, y1, FlatInk{colour}, pattern, false, dirty, SharedPut{});
}

namespace {

// The palette entry nearest to a shade, as ShadedInk takes it.
std::uint32_t shade_entry(std::uint32_t shade) { return (shade + 128u) >> 8; }

// A shaded line whose two ends take the same palette entry is drawn flat in
// it: the positions along the line run monotonically from one end's to the
// other's, so every pixel between takes that entry too. Most lines of a
// large model are a few pixels long between nodes of nearly equal values.
template <class Put>
void draw_shaded_line(const PixelBuffer& b, double x0, double y0, double x1, double y1,
                      const std::uint32_t* palette, std::uint32_t shade0, std::uint32_t shade1,
                      LinePattern& pattern, PixelBox& dirty, Put put) {
  if (shade_entry(shade0) == shade_entry(shade1)) {
    draw_line(b, x0, y0, x1, y1, FlatInk{palette[shade_entry(shade0)]}, pattern, false, dirty, put);
  } else {
    draw_line(b, x0, y0, x1, y1, ShadedInk{palette, shade0, shade1}, pattern, false, dirty, put);
  }
}

}  // namespace

void raster_shaded_line(const PixelBuffer& b, double x0, double y0, double x1, double y1,
                        const std::uint32_t* palette, std::uint32_t shade0, std::uint32_t shade1,
                        LinePattern& pattern, PixelBox& dirty) {
  draw_shaded_line(b, x0, y0, x1, y1, palette, shade0, shade1, pattern, dirty, PlainPut{});
}

void raster_shaded_line_recorded(const PixelBuffer& b, double x0, double y0, double x1, double y1,
                                 const std::uint32_t* palette, std::uint32_t shade0, std::uint32_t shade1,
                                 LinePattern& pattern, PixelBox& dirty, std::vector<PixelWrite>& writes) {
  draw_shaded_line(b, x0, y0, x1, y1, palette, shade0, shade1, pattern, dirty, RecordedPut{b.bits, &writes});
}

void raster_apply(const PixelBuffer& b, const std::vector<PixelWrite>& writes) {
  for (const PixelWrite& w : writes) b.bits[w.offset] = w.value;
}

void raster_outline(const PixelBuffer& b, const double* xy, int count, std::uint32_t colour,
                    LinePattern pattern, PixelBox& dirty) {
  for (int i = 0; i < count; ++i) {
    const int j = (i + 1) % count;
    raster_line(b, xy[2 * i], xy[2 * i + 1], xy[2 * j], xy[2 * j + 1], colour, pattern, i > 0,
                dirty);
  }
}

void raster_fill_rectangle(const PixelBuffer& b, double x0, double y0, double x1, double y1,
                           std::uint32_t colour, const FillMask& mask, PixelBox& dirty) {
  int left = to_pixel(std::min(x0, x1)), right = to_pixel(std::max(x0, x1));
  int top = to_pixel(std::min(y0, y1)), bottom = to_pixel(std::max(y0, y1));
  top = std::max(top, 0);
  bottom = std::min(bottom, b.height - 1);
  const bool solid = is_solid(mask);
  for (int y = top; y <= bottom; ++y) fill_span(b, y, left, right, colour, mask, solid, dirty);
}

void raster_fill_polygon(const PixelBuffer& b, const double* xy, int count, std::uint32_t colour,
                         const FillMask& mask, std::vector<double>& scratch, PixelBox& dirty) {
  double min_y = xy[1], max_y = xy[1];
  for (int i = 1; i < count; ++i) {
    min_y = std::min(min_y, xy[2 * i + 1]);
    max_y = std::max(max_y, xy[2 * i + 1]);
  }
  const int top = std::max(static_cast<int>(std::ceil(std::max(min_y, -kFar))), 0);
  const int bottom = std::min(static_cast<int>(std::floor(std::min(max_y, kFar))), b.height - 1);
  const bool solid = is_solid(mask);
  if (scratch.size() < static_cast<std::size_t>(count)) scratch.resize(static_cast<std::size_t>(count));
  for (int y = top; y <= bottom; ++y) {
    const double yc = y;
    std::size_t n = 0;
    for (int i = 0; i < count; ++i) {
      const int j = (i + 1) % count;
      const double ya = xy[2 * i + 1], yb = xy[2 * j + 1];
      if ((ya <= yc && yb > yc) || (yb <= yc && ya > yc)) {
        const double xa = xy[2 * i], xb = xy[2 * j];
        scratch[n++] = xa + (yc - ya) * (xb - xa) / (yb - ya);
      }
    }
    std::sort(scratch.begin(), scratch.begin() + static_cast<std::ptrdiff_t>(n));
    for (std::size_t k = 0; k + 1 < n; k += 2) {
      const double xl = std::max(scratch[k], -kFar), xr = std::min(scratch[k + 1], kFar);
      fill_span(b, y, static_cast<int>(std::ceil(xl - 1e-9)), static_cast<int>(std::floor(xr + 1e-9)),
                colour, mask, solid, dirty);
    }
  }
  for (int i = 0; i < count; ++i) {
    const int j = (i + 1) % count;
    fill_line(b, xy[2 * i], xy[2 * i + 1], xy[2 * j], xy[2 * j + 1], colour, mask, dirty);
  }
}

namespace {

struct EllipseBox {
  double cx, cy, rx, ry;  // through the centres of the box's outer pixels
  int top, bottom;
};

EllipseBox ellipse_box(double x0, double y0, double x1, double y1) {
  const int left = to_pixel(std::min(x0, x1)), right = to_pixel(std::max(x0, x1));
  const int top = to_pixel(std::min(y0, y1)), bottom = to_pixel(std::max(y0, y1));
  return {(left + right) / 2.0, (top + bottom) / 2.0, (right - left) / 2.0, (bottom - top) / 2.0,
          top, bottom};
}

}  // namespace

void raster_fill_ellipse(const PixelBuffer& b, double x0, double y0, double x1, double y1,
                         std::uint32_t colour, const FillMask& mask, PixelBox& dirty) {
  const EllipseBox e = ellipse_box(x0, y0, x1, y1);
  // Pixel centres inside the ellipse that covers the outer pixels whole.
  const double rx = e.rx + 0.5, ry = e.ry + 0.5;
  const bool solid = is_solid(mask);
  const int top = std::max(e.top, 0), bottom = std::min(e.bottom, b.height - 1);
  for (int y = top; y <= bottom; ++y) {
    const double v = (y - e.cy) / ry;
    const double half = rx * std::sqrt(std::max(0.0, 1.0 - v * v));
    fill_span(b, y, static_cast<int>(std::ceil(e.cx - half - 1e-9)),
              static_cast<int>(std::floor(e.cx + half + 1e-9)), colour, mask, solid, dirty);
  }
}

void raster_ellipse_outline(const PixelBuffer& b, double x0, double y0, double x1, double y1,
                            std::uint32_t colour, LinePattern pattern, PixelBox& dirty) {
  const EllipseBox e = ellipse_box(x0, y0, x1, y1);
  // Chords of about two pixels follow the curve closely enough for a
  // one-pixel outline; one pattern runs along the whole of it.
  const double radius = std::max(e.rx, e.ry);
  const int steps = std::clamp(static_cast<int>(std::ceil(3.14159265358979 * radius)), 8, 8192);
  double px = e.cx + e.rx, py = e.cy;
  for (int i = 1; i <= steps; ++i) {
    const double a = 2.0 * 3.14159265358979323846 * i / steps;
    const double qx = e.cx + e.rx * std::cos(a), qy = e.cy + e.ry * std::sin(a);
    raster_line(b, px, py, qx, qy, colour, pattern, i > 1, dirty);
    px = qx;
    py = qy;
  }
}
