#include "pick_index.h"

#include <algorithm>
#include <cmath>

namespace {

// An element covering more cells than this is kept aside, so that one long
// line cannot make the index large.
constexpr int kMaxCellsPerElement = 16;

double squared(double v) { return v * v; }

// Squared distance from (px, py) to the segment (ax, ay)-(bx, by).
double segment_distance2(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return squared(px - (ax + t * dx)) + squared(py - (ay + t * dy));
}

// Fills compressed rows from (cell, item) pairs already counted per cell.
void fill_rows(std::vector<std::uint32_t>& start, std::vector<std::uint32_t>& items,
               const std::vector<std::pair<std::uint32_t, std::uint32_t>>& pairs, std::size_t cells) {
  start.assign(cells + 1, 0);
  for (const auto& p : pairs) ++start[p.first + 1];
  for (std::size_t c = 0; c < cells; ++c) start[c + 1] += start[c];
  items.resize(pairs.size());
  std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
  for (const auto& p : pairs) items[next[p.first]++] = p.second;
}

}  // namespace

PickIndex::PickIndex(ProblemPtr problem, std::vector<float> x, std::vector<float> y)
    : problem_(std::move(problem)), x_(std::move(x)), y_(std::move(y)) {
  const Problem& p = *problem_;
  const int nodes = std::min<int>({p.control.node_count, static_cast<int>(x_.size()), static_cast<int>(y_.size())});
  double lo_x = INFINITY, hi_x = -INFINITY, lo_y = INFINITY, hi_y = -INFINITY;
  int finite = 0;
  for (int n = 0; n < nodes; ++n) {
    if (!std::isfinite(x_[n]) || !std::isfinite(y_[n])) continue;
    lo_x = std::min<double>(lo_x, x_[n]), hi_x = std::max<double>(hi_x, x_[n]);
    lo_y = std::min<double>(lo_y, y_[n]), hi_y = std::max<double>(hi_y, y_[n]);
    ++finite;
  }
  if (finite == 0) {
    node_start_.assign(2, 0);
    element_start_.assign(2, 0);
    return;
  }
  // About two nodes a cell, the cells as square as the extents allow.
  const double span_x = std::max(hi_x - lo_x, 1e-30), span_y = std::max(hi_y - lo_y, 1e-30);
  const double cells = std::max(1.0, finite / 2.0);
  const double aspect = std::clamp(span_x / span_y, 1e-6, 1e6);
  columns_ = static_cast<int>(std::clamp(std::sqrt(cells * aspect), 1.0, 4096.0));
  rows_ = static_cast<int>(std::clamp(cells / columns_, 1.0, 4096.0));
  x0_ = lo_x;
  y0_ = lo_y;
  cell_w_ = span_x / columns_;
  cell_h_ = span_y / rows_;
  const std::size_t cell_count = static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_);

  std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs;
  pairs.reserve(static_cast<std::size_t>(finite));
  for (int n = 0; n < nodes; ++n) {
    if (!std::isfinite(x_[n]) || !std::isfinite(y_[n])) continue;
    int c0, r0, c1, r1;
    cell_range(x_[n], y_[n], x_[n], y_[n], &c0, &r0, &c1, &r1);
    pairs.emplace_back(static_cast<std::uint32_t>(r0 * columns_ + c0), static_cast<std::uint32_t>(n + 1));
  }
  fill_rows(node_start_, node_items_, pairs, cell_count);

  pairs.clear();
  const int elements = std::min<int>({p.control.element_count, static_cast<int>(p.element_node1.size()),
                                      static_cast<int>(p.element_node2.size())});
  for (int e = 0; e < elements; ++e) {
    const int a = p.element_node1[e], b = p.element_node2[e];
    if (a < 1 || b < 1 || a > nodes || b > nodes) continue;
    const float ax = x_[a - 1], ay = y_[a - 1], bx = x_[b - 1], by = y_[b - 1];
    if (!std::isfinite(ax) || !std::isfinite(ay) || !std::isfinite(bx) || !std::isfinite(by)) continue;
    int c0, r0, c1, r1;
    cell_range(std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by), &c0, &r0, &c1, &r1);
    if ((c1 - c0 + 1) * (r1 - r0 + 1) > kMaxCellsPerElement) {
      long_elements_.push_back(static_cast<std::uint32_t>(e + 1));
      continue;
    }
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c)
        pairs.emplace_back(static_cast<std::uint32_t>(r * columns_ + c), static_cast<std::uint32_t>(e + 1));
  }
  fill_rows(element_start_, element_items_, pairs, cell_count);
}

void PickIndex::cell_range(double x1, double y1, double x2, double y2, int* c0, int* r0, int* c1, int* r1) const {
  auto column = [&](double x) {
    return static_cast<int>(std::clamp(std::floor((x - x0_) / cell_w_), 0.0, columns_ - 1.0));
  };
  auto row = [&](double y) { return static_cast<int>(std::clamp(std::floor((y - y0_) / cell_h_), 0.0, rows_ - 1.0)); };
  *c0 = column(x1), *c1 = column(x2), *r0 = row(y1), *r1 = row(y2);
}

PickHit PickIndex::pick(const PixelMapping& m, double px, double py, double radius) const {
  PickHit hit;
  if (node_items_.empty() || m.sx == 0 || m.sy == 0 || !(radius >= 0)) return hit;
  // The world rectangle of the pixels within the radius.
  const double xa = m.to_x(px - radius), xb = m.to_x(px + radius);
  const double ya = m.to_y(py - radius), yb = m.to_y(py + radius);
  int c0, r0, c1, r1;
  cell_range(std::min(xa, xb), std::min(ya, yb), std::max(xa, xb), std::max(ya, yb), &c0, &r0, &c1, &r1);
  const double limit2 = radius * radius;

  double best2 = limit2;
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c) {
      const std::size_t cell = static_cast<std::size_t>(r) * columns_ + c;
      for (std::uint32_t i = node_start_[cell]; i < node_start_[cell + 1]; ++i) {
        const std::uint32_t n = node_items_[i];
        const double d2 = squared(m.to_px(x_[n - 1]) - px) + squared(m.to_py(y_[n - 1]) - py);
        if (d2 <= best2 && (hit.kind == PickHit::none || d2 < best2 || n < static_cast<std::uint32_t>(hit.item))) {
          best2 = d2;
          hit = {PickHit::node, static_cast<int>(n), 0};
        }
      }
    }
  if (hit.kind == PickHit::node) {
    hit.distance = std::sqrt(best2);
    return hit;
  }

  const Problem& p = *problem_;
  auto consider = [&](std::uint32_t e) {
    const int a = p.element_node1[e - 1], b = p.element_node2[e - 1];
    const double d2 = segment_distance2(px, py, m.to_px(x_[a - 1]), m.to_py(y_[a - 1]), m.to_px(x_[b - 1]),
                                        m.to_py(y_[b - 1]));
    if (d2 <= best2 && (hit.kind == PickHit::none || d2 < best2 || e < static_cast<std::uint32_t>(hit.item))) {
      best2 = d2;
      hit = {PickHit::element, static_cast<int>(e), 0};
    }
  };
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c) {
      const std::size_t cell = static_cast<std::size_t>(r) * columns_ + c;
      for (std::uint32_t i = element_start_[cell]; i < element_start_[cell + 1]; ++i) consider(element_items_[i]);
    }
  for (std::uint32_t e : long_elements_) consider(e);
  if (hit.kind != PickHit::none) hit.distance = std::sqrt(best2);
  return hit;
}

std::size_t PickIndex::bytes() const {
  return sizeof(std::uint32_t) * (node_start_.size() + node_items_.size() + element_start_.size() +
                                  element_items_.size() + long_elements_.size()) +
         sizeof(float) * (x_.size() + y_.size());
}
