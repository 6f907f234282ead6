// The rasteriser on a small buffer of its own, without a window system: each
// case draws one shape and compares every pixel with the expected picture
// ('#' painted, '.' untouched), and every painted pixel must lie inside the
// dirty box the case reports (else a repaint would miss it). Also the work
// the rasteriser's callers share with the helper thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/raster.h"
#include "platform/shared_work.h"

namespace {

constexpr int kW = 16;
constexpr int kH = 8;
constexpr std::uint32_t kInk = to_argb(0x0000FF);  // red
// A palette of ten shades, drawn as the digits 0 to 9.
constexpr std::uint32_t kShades[10] = {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004, 0xFF000005,
                                       0xFF000006, 0xFF000007, 0xFF000008, 0xFF000009, 0xFF00000A};
constexpr std::uint32_t shade(int entry) { return static_cast<std::uint32_t>(entry) << 8; }

struct Picture {
  std::vector<std::uint32_t> bits = std::vector<std::uint32_t>(kW * kH, 0);
  PixelBuffer buffer() { return PixelBuffer{bits.data(), kW, kH, kW}; }
  std::string row(int y) const {
    std::string s;
    for (int x = 0; x < kW; ++x) {
      const std::uint32_t p = bits[static_cast<std::size_t>(y * kW + x)];
      s += p == kInk ? '#' : p >= kShades[0] && p <= kShades[9] ? static_cast<char>('0' + (p - kShades[0])) : '.';
    }
    return s;
  }
};

constexpr FillMask kColumns = {0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55};

struct Case {
  const char* name;
  std::function<void(const PixelBuffer&, PixelBox&)> draw;
  std::vector<std::string> rows;  // kH rows of kW pixels
};

TEST(Raster, ShapesPixelByPixel) {
  const std::vector<Case> cases = {
      {"dashed line: three on, one off, from the first pixel",
       [](const PixelBuffer& b, PixelBox& d) {
         LinePattern p{kLineDashed, 0};
         raster_line(b, 0, 0, 15, 0, kInk, p, false, d);
       },
       {"###.###.###.###.", "................", "................", "................",
        "................", "................", "................", "................"}},
      {"a line clipped on the left keeps the pattern it has unclipped",
       [](const PixelBuffer& b, PixelBox& d) {
         LinePattern p{kLineDashed, 0};
         raster_line(b, -4, 1, 11, 1, kInk, p, false, d);
       },
       {"................", "###.###.###.....", "................", "................",
        "................", "................", "................", "................"}},
      {"a polyline joint is drawn once and the pattern runs on across it",
       [](const PixelBuffer& b, PixelBox& d) {
         LinePattern p{kLineDashed, 0};
         raster_line(b, 0, 2, 5, 2, kInk, p, false, d);
         raster_line(b, 5, 2, 10, 2, kInk, p, true, d);
       },
       {"................", "................", "###.###.###.....", "................",
        "................", "................", "................", "................"}},
      {"coordinates far beyond the picture are clamped, the visible part drawn",
       [](const PixelBuffer& b, PixelBox& d) {
         LinePattern p{kLineSolid, 0};
         raster_line(b, -1e12, 3, 1e12, 3, kInk, p, false, d);
       },
       {"................", "................", "................", "################",
        "................", "................", "................", "................"}},
      {"lines wholly beyond an edge draw nothing, yet move the pattern on",
       [](const PixelBuffer& b, PixelBox& d) {
         LinePattern p{kLineDashed, 0};
         raster_line(b, -9, 4, -3, 4, kInk, p, false, d);        // 7 pixels beyond the left
         raster_line(b, 2, kH + 3, 2, kH + 6, kInk, p, false, d);  // 4 below the bottom
         // Beyond the right, one end so far off that a clip in doubles
         // once left a stray pixel on the picture's left edge.
         LinePattern q{kLineSolid, 0};
         raster_line(b, 1e173, 5, kW + 4, 6, kInk, q, false, d);
         raster_line(b, 0, 4, 7, 4, kInk, p, false, d);
       },
       {"................", "................", "................", "................",
        ".###.###........", "................", "................", "................"}},
      {"a shaded line runs through the palette, both ends their own entry, either way",
       [](const PixelBuffer& b, PixelBox& d) {
         LinePattern p{kLineSolid, 0};
         raster_shaded_line(b, 0, 0, 9, 0, kShades, shade(0), shade(9), p, d);
         raster_shaded_line(b, 0, 1, 3, 4, kShades, shade(9), shade(6), p, d);
         // Ends of different shades that round to one entry: flat in it.
         raster_shaded_line(b, 10, 1, 15, 1, kShades, shade(5) - 128, shade(5) + 127, p, d);
       },
       {"0123456789......", "9.........555555", ".8..............", "..7.............",
        "...6............", "................", "................", "................"}},
      {"a shaded line clipped on the left keeps its colours and its pattern",
       [](const PixelBuffer& b, PixelBox& d) {
         LinePattern p{kLineDashed, 0};
         raster_shaded_line(b, -4, 6, 5, 6, kShades, shade(0), shade(9), p, d);
         LinePattern q{kLineSolid, 0};
         raster_shaded_line(b, 0, 7, 4, 7, kShades, shade(2), shade(2) + 128, q, d);
       },
       {"................", "................", "................", "................",
        "................", "................", "456.89..........", "22223..........."}},
      {"filled rectangle with a mask: bit 7 is the leftmost of every eight pixels",
       [](const PixelBuffer& b, PixelBox& d) {
         raster_fill_rectangle(b, 4, 2, 1, 1, kInk, kColumns, d);
       },
       {"................", ".#.#............", ".#.#............", "................",
        "................", "................", "................", "................"}},
      {"filled polygon: interior and outline, corners given in any order",
       [](const PixelBuffer& b, PixelBox& d) {
         const double xy[] = {1, 1, 4, 1, 4, 4, 1, 4};
         std::vector<double> scratch;
         raster_fill_polygon(b, xy, 4, kInk, kFillSolid, scratch, d);
       },
       {"................", ".####...........", ".####...........", ".####...........",
        ".####...........", "................", "................", "................"}},
      {"polygon outline closes back to the first vertex",
       [](const PixelBuffer& b, PixelBox& d) {
         const double xy[] = {8, 1, 12, 1, 12, 4, 8, 4};
         raster_outline(b, xy, 4, kInk, {kLineSolid, 0}, d);
       },
       {"................", "........#####...", "........#...#...", "........#...#...",
        "........#####...", "................", "................", "................"}},
      {"filled ellipse inscribed in its box: the middle of each side, no corner",
       [](const PixelBuffer& b, PixelBox& d) {
         raster_fill_ellipse(b, 0, 0, 6, 6, kInk, kFillSolid, d);
       },
       {"..###...........", ".#####..........", "#######.........", "#######.........",
        "#######.........", ".#####..........", "..###...........", "................"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Picture picture;
    PixelBox dirty;
    c.draw(picture.buffer(), dirty);
    for (int y = 0; y < kH; ++y) {
      EXPECT_EQ(picture.row(y), c.rows[static_cast<std::size_t>(y)]) << "row " << y;
      for (int x = 0; x < kW; ++x) {
        if (picture.bits[static_cast<std::size_t>(y * kW + x)] == 0) continue;
        EXPECT_TRUE(!dirty.empty() && x >= dirty.x0 && x <= dirty.x1 && y >= dirty.y0 &&
                    y <= dirty.y1)
            << "pixel " << x << "," << y << " outside the dirty box";
      }
    }
  }
}

TEST(Raster, PackedColourBecomesOpaquePixel) {
  EXPECT_EQ(to_argb(0x0000FF), 0xFFFF0000u);  // red in the low byte
  EXPECT_EQ(to_argb(0x00FF00), 0xFF00FF00u);
  EXPECT_EQ(to_argb(0xFF0000), 0xFF0000FFu);
  EXPECT_EQ(to_argb(0xFF123456), to_argb(0x123456));  // the top byte is ignored
}

}  // namespace

// The inline rounding the rasteriser uses must agree with std::lround at the
// values where a shortcut (adding one half, rounding to even) would not.
TEST(Raster, PixelRoundingIsLround) {
  const double values[] = {0.0,  -0.0, 0.5,  -0.5, 1.5,  -1.5, 2.5,    -2.5,     0.49999999999999994,
                           -0.49999999999999994, 1e6,  -1e6, 799.5, 1279.4999, 4503599627370495.5 / 8388608.0,
                           std::nextafter(2.5, 0.0), std::nextafter(-2.5, 0.0), std::nextafter(1e6 - 0.5, 0.0),
                           1e6 - 0.5, -1e6 + 0.5, 4e6 + 0.5, std::nextafter(4e6 + 0.5, 0.0), 2147483647.0,
                           -2147483648.0};
  for (double v : values) EXPECT_EQ(round_pixel(v), static_cast<int>(std::lround(v))) << v;
}

// Work shared with the helper thread: every chunk runs once, with the
// bounds of its place in [0, count); in order, the caller runs its chunks
// from the first onwards, the helper from the last backwards, and each of
// the helper's comes after all of the caller's. Each chunk spins a little so
// that the helper, when the machine has one, takes a part.
TEST(SharedWork, EveryChunkOnceAndTheHelpersLastInOrder) {
  struct Case {
    std::size_t count, chunk;
  };
  const Case cases[] = {{0, 4}, {1, 4}, {10, 3}, {7, 0}, {4096, 2048}, {40000, 2048}, {100000, 1000}};
  for (const bool in_order : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(c.count) + "/" + std::to_string(c.chunk) + (in_order ? " in order" : ""));
      const std::size_t chunk = c.chunk == 0 ? 1 : c.chunk;
      std::mutex mutex;
      std::vector<std::vector<std::size_t>> begins(2);  // by worker, in the order run
      std::vector<int> runs((c.count + chunk - 1) / chunk, 0);
      const auto part = [&](std::size_t begin, std::size_t end, int worker) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(20);
        while (std::chrono::steady_clock::now() < until) {
        }
        std::lock_guard<std::mutex> lock(mutex);
        ASSERT_TRUE(worker == 0 || worker == 1);
        ASSERT_EQ(begin % chunk, 0u);
        ASSERT_EQ(end, std::min(begin + chunk, c.count));
        ++runs[begin / chunk];
        begins[static_cast<std::size_t>(worker)].push_back(begin);
      };
      if (in_order) share_work_in_order(c.count, c.chunk, part);
      else share_work(c.count, c.chunk, part);
      EXPECT_EQ(std::count(runs.begin(), runs.end(), 1), static_cast<long>(runs.size()));
      if (!in_order) continue;
      EXPECT_TRUE(std::is_sorted(begins[0].begin(), begins[0].end()));
      EXPECT_TRUE(std::is_sorted(begins[1].rbegin(), begins[1].rend()));
      if (!begins[0].empty() && !begins[1].empty()) {
        EXPECT_LT(begins[0].back(), begins[1].back());
      }
    }
  }
}
