#include "legible_numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "render/graph_run.h"
#include "render/structure.h"

namespace {

// The picture in blocks of kBlock x kBlock pixels, each taken once a kept
// number covers any of it: a coarse but cheap test of overlap.
constexpr int kBlock = 4;

class Occupancy {
 public:
  Occupancy(int width, int height)
      : width_(width), height_(height), columns_((width + kBlock - 1) / kBlock),
        blocks_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>((height + kBlock - 1) / kBlock)) {}

  // Takes the blocks of the box with top-left (x, y), when it lies inside
  // the picture and none of them is taken yet.
  bool take(double x, double y, int w, int h) {
    if (!std::isfinite(x) || !std::isfinite(y) || x < 0 || y < 0 || x + w > width_ || y + h > height_) return false;
    const int c0 = static_cast<int>(x) / kBlock, c1 = static_cast<int>(x + w - 1) / kBlock;
    const int r0 = static_cast<int>(y) / kBlock, r1 = static_cast<int>(y + h - 1) / kBlock;
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c)
        if (blocks_[index(r, c)]) return false;
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c) blocks_[index(r, c)] = 1;
    return true;
  }

 private:
  std::size_t index(int r, int c) const {
    return static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(c);
  }
  int width_, height_, columns_;
  std::vector<std::uint8_t> blocks_;
};

int field_length(std::int64_t number, int field_width) {
  int digits = 1;
  for (std::int64_t v = number; v >= 10; v /= 10) ++digits;
  return std::max(digits, field_width);
}

}  // namespace

void choose_legible_numbers(GraphRun& run, const PixelMapping& m, int width, int height, NumberBox nodes,
                            NumberBox elements) {
  Occupancy taken(width, height);
  const int node_count = run.node_count();
  run.node_number_shown.assign(static_cast<std::size_t>(std::max(node_count, 0)), 0);
  const int node_field = node_number_style(node_count).field_width;
  for_each_drawn_node(run, [&](int n) {
    const WorldPoint at = node_number_anchor(run, n);
    run.node_number_shown[n - 1] =
        taken.take(m.to_px(at.x), m.to_py(at.y), field_length(n, node_field) * nodes.char_width, nodes.height);
  });

  const int element_count = run.element_count();
  run.element_number_shown.assign(static_cast<std::size_t>(std::max(element_count, 0)), 0);
  if (!run.settings.show_element_indices || element_count <= 0) return;
  const Problem& p = *run.problem;
  const int element_field = element_number_style(element_count).field_width;
  for (int e = 1; e <= element_count; ++e) {
    if (!p.element_joins_nodes(e)) continue;
    const WorldPoint at = element_number_anchor(run, e);
    run.element_number_shown[e - 1] = taken.take(m.to_px(at.x), m.to_py(at.y),
                                                 field_length(e, element_field) * elements.char_width, elements.height);
  }
}
