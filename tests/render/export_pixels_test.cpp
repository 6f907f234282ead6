// Pixel checks of frames rendered by veltra-export on the Qt layer.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "render_fixtures.h"
#include "result_folder.h"

using namespace render_test;

namespace {

constexpr QRgb kLine = qRgb(128, 0, 0);  // standard line colour 0x000080

// Renders `dir` with the given options into `out`; returns the exit status.
int render(const std::string& dir, const std::string& out, const std::string& options) {
  std::filesystem::remove_all(out);
  const std::string command = std::string(VELTRA_EXPORT) + " " + dir + " --out " + out + " --size 800x600 " +
                              options + " > /dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

QImage frame(const std::string& out, int j) {
  char name[32];
  std::snprintf(name, sizeof name, "/frame-%04d.png", j);
  QImage image(QString::fromStdString(out + name));
  return image.convertToFormat(QImage::Format_RGB32);
}

// Rows holding at least `minimum` pixels of `colour`, in order.
std::vector<int> rows_with(const QImage& image, QRgb colour, int minimum) {
  std::vector<int> rows;
  for (int y = 0; y < image.height(); ++y) {
    int n = 0;
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    if (n >= minimum) rows.push_back(y);
  }
  return rows;
}

// Lengths of the runs of `colour` pixels and of the gaps between them on a row.
void runs(const QImage& image, int y, QRgb colour, int* longest_on, int* longest_gap, int* shortest_on) {
  *longest_on = *longest_gap = 0;
  *shortest_on = 1 << 20;
  int first = -1, last = -1;
  for (int x = 0; x < image.width(); ++x)
    if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) {
      if (first < 0) first = x;
      last = x;
    }
  int on = 0, gap = 0;
  for (int x = first; x <= last && first >= 0; ++x) {
    if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) {
      if (gap) *longest_gap = std::max(*longest_gap, gap);
      gap = 0;
      ++on;
    } else {
      if (on) *shortest_on = std::min(*shortest_on, on), *longest_on = std::max(*longest_on, on);
      on = 0;
      ++gap;
    }
  }
  if (on) *shortest_on = std::min(*shortest_on, on), *longest_on = std::max(*longest_on, on);
}

// Three horizontal elements one above the other: solid, dashed, dotted.
std::string styles_folder() {
  auto p = make_problem(2,
                        {{1, 0, 0, {}, {}}, {9, 0, 0, {}, {}}, {1, 2, 0, {}, {}}, {9, 2, 0, {}, {}},
                         {1, 4, 0, {}, {}}, {9, 4, 0, {}, {}}},
                        {{1, 2}, {3, 4}, {5, 6}});
  StepData s{std::vector<float>(12, 0.0f), {1.0f, 0.0f, 0.0f}, {0, -1, 2}};
  const std::string dir = scratch_path("pixels-styles");
  write_result_folder(dir, *p, {s, s});
  return dir;
}

const char* kPlain = "--no-show-grid-and-scale --no-show-node-indices --no-show-time-output";

}  // namespace

TEST(ExportPixels, SolidDashedAndDottedWhereTheRecordsSay) {
  const std::string dir = styles_folder(), out = scratch_path("pixels-styles-out");
  ASSERT_EQ(render(dir, out, kPlain), 0);
  ASSERT_TRUE(std::filesystem::exists(out + "/frame-0000.png"));
  ASSERT_TRUE(std::filesystem::exists(out + "/frame-0001.png"));
  const QImage image = frame(out, 1);
  ASSERT_EQ(image.width(), 800);
  ASSERT_EQ(image.height(), 600);
  const std::vector<int> rows = rows_with(image, kLine, 100);
  ASSERT_EQ(rows.size(), 3u);
  // y grows upwards: the bottom row is element 1 (solid).
  int on, gap, shortest;
  runs(image, rows[2], kLine, &on, &gap, &shortest);
  EXPECT_EQ(gap, 0);
  runs(image, rows[1], kLine, &on, &gap, &shortest);  // element 2: dashed 0xEEEE
  EXPECT_EQ(on, 3);
  EXPECT_EQ(gap, 1);
  runs(image, rows[0], kLine, &on, &gap, &shortest);  // element 3: dotted 0xAAAA
  EXPECT_EQ(on, 1);
  EXPECT_EQ(gap, 1);
}

TEST(ExportPixels, ReverseVerticalMirrorsAndTurnsTheVerticalArrow) {
  const std::string dir = styles_folder(), up = scratch_path("pixels-up"), down = scratch_path("pixels-down");
  ASSERT_EQ(render(dir, up, std::string(kPlain) + " --frame 0"), 0);
  ASSERT_EQ(render(dir, down, std::string(kPlain) + " --frame 0 --reverse-vertical"), 0);
  const QImage a = frame(up, 0), b = frame(down, 0);
  const std::vector<int> ra = rows_with(a, kLine, 100), rb = rows_with(b, kLine, 100);
  ASSERT_EQ(ra.size(), 3u);
  ASSERT_EQ(rb.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(rb[2 - i], a.height() - 1 - ra[i], 1) << i;

  // The vertical arrow: black pixels just above the origin row, or below it.
  auto black_column = [](const QImage& image, int x, int from, int to) {
    int n = 0;
    for (int y = std::max(0, from); y < std::min(image.height(), to); ++y) n += (image.pixel(x, y) & 0xFFFFFF) == 0;
    return n;
  };
  // The origin (model 0, 0) lies on the row of element 1, left of the
  // structure; the arrow's column is the first with a run of black above
  // (or, reversed, below) that row.
  const int row_a = ra[2];
  const int row_b = rb[0];
  int x_origin = -1;
  for (int x = 0; x < a.width() && x_origin < 0; ++x)
    if (black_column(a, x, row_a - 30, row_a) > 15) x_origin = x;
  ASSERT_GE(x_origin, 0);
  EXPECT_GT(black_column(a, x_origin, row_a - 40, row_a), 15);
  EXPECT_LT(black_column(a, x_origin, row_a + 2, row_a + 40), 5);
  EXPECT_GT(black_column(b, x_origin, row_b, row_b + 40), 15);
  EXPECT_LT(black_column(b, x_origin, row_b - 40, row_b - 2), 5);
}

TEST(ExportPixels, ShowAllKeepsTheTrailAndBrightensIt) {
  auto p = make_problem(2, {{1, 0, 0, {}, {}}, {9, 0, 0, {}, {}}}, {{1, 2}});
  std::vector<StepData> steps;
  for (int s = 0; s < 3; ++s) steps.push_back({{0, 2.0f * s, 0, 2.0f * s}, {1.0f}, {0}});
  const std::string dir = scratch_path("pixels-trail"), out = scratch_path("pixels-trail-out");
  write_result_folder(dir, *p, steps);
  ASSERT_EQ(render(dir, out, std::string(kPlain) + " --show-all-positions"), 0);
  const QImage last = frame(out, 2);
  // Frame j is drawn in 0x000080 + (j + 1) x 0x101010, each at its height.
  std::vector<int> rows[3];
  for (int j = 0; j < 3; ++j) {
    const Rgb rgb = 0x000080 + 0x101010 * (j + 1);
    rows[j] = rows_with(last, qRgb(rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16), 100);
    ASSERT_EQ(rows[j].size(), 1u) << j;
  }
  EXPECT_GT(rows[0][0], rows[1][0]);
  EXPECT_GT(rows[1][0], rows[2][0]);
  // Without show-all only the newest position is left.
  const std::string plain = scratch_path("pixels-trail-plain");
  ASSERT_EQ(render(dir, plain, kPlain), 0);
  const QImage cleared = frame(plain, 2);
  EXPECT_EQ(rows_with(cleared, kLine, 100).size(), 1u);
  EXPECT_EQ(rows_with(cleared, kLine, 100)[0], rows[2][0]);
}

TEST(ExportPixels, ReadErrorsAndBadOptions) {
  EXPECT_EQ(render(scratch_path("no-such-folder"), scratch_path("pixels-none"), ""), 1);
  const std::string dir = styles_folder();
  EXPECT_EQ(render(dir, scratch_path("pixels-bad"), "--size 0x0"), 2);
  // A truncated displacement file: the step read fails.
  std::filesystem::resize_file(dir + "/u01.unf", 6 * 64 + 10);
  EXPECT_EQ(render(dir, scratch_path("pixels-bad"), ""), 1);
}
