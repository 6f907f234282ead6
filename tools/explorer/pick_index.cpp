#include "pick_index.h"

#include <algorithm>
#include <cmath>

namespace {

// An element spanning at most this many cells on each axis is found through
// its end nodes: every point of it lies within that many cells of both.
constexpr int kShortCells = 2;

double squared(double v) { return v * v; }

// Squared distance from (px, py) to the segment (ax, ay)-(bx, by).
double segment_distance2(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return squared(px - (ax + t * dx)) + squared(py - (ay + t * dy));
}

// The two end nodes of element e (1-based), or false when one is missing.
bool ends(const Problem& p, int e, int nodes, int* a, int* b) {
  *a = p.element_node1[e - 1];
  *b = p.element_node2[e - 1];
  return *a >= 1 && *b >= 1 && *a <= nodes && *b <= nodes;
}

int element_limit(const Problem& p) {
  return std::min<int>({p.control.element_count, static_cast<int>(p.element_node1.size()),
                        static_cast<int>(p.element_node2.size())});
}

}  // namespace

NodeElements::NodeElements(const Problem& p) {
  const int nodes = std::max(p.control.node_count, 0);
  const int elements = element_limit(p);
  start.assign(static_cast<std::size_t>(nodes) + 1, 0);
  for (int e = 1; e <= elements; ++e) {
    int a, b;
    if (!ends(p, e, nodes, &a, &b)) continue;
    ++start[static_cast<std::size_t>(a)];
    if (b != a) ++start[static_cast<std::size_t>(b)];
  }
  for (int n = 0; n < nodes; ++n) start[static_cast<std::size_t>(n) + 1] += start[static_cast<std::size_t>(n)];
  items.resize(start.back());
  std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
  for (int e = 1; e <= elements; ++e) {
    int a, b;
    if (!ends(p, e, nodes, &a, &b)) continue;
    items[next[static_cast<std::size_t>(a - 1)]++] = static_cast<std::uint32_t>(e);
    if (b != a) items[next[static_cast<std::size_t>(b - 1)]++] = static_cast<std::uint32_t>(e);
  }
}

PickIndex::PickIndex(ProblemPtr problem, std::vector<float> x, std::vector<float> y,
                     std::shared_ptr<const NodeElements> elements)
    : problem_(std::move(problem)), x_(std::move(x)), y_(std::move(y)), elements_(std::move(elements)) {
  const Problem& p = *problem_;
  if (!elements_) elements_ = std::make_shared<const NodeElements>(p);
  const int nodes = std::min<int>({p.control.node_count, static_cast<int>(x_.size()), static_cast<int>(y_.size())});
  double lo_x = INFINITY, hi_x = -INFINITY, lo_y = INFINITY, hi_y = -INFINITY;
  int finite = 0;
  for (int n = 1; n <= nodes; ++n) {
    if (!usable(n)) continue;
    lo_x = std::min<double>(lo_x, x_[n - 1]), hi_x = std::max<double>(hi_x, x_[n - 1]);
    lo_y = std::min<double>(lo_y, y_[n - 1]), hi_y = std::max<double>(hi_y, y_[n - 1]);
    ++finite;
  }
  if (finite == 0) return;
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

  // The nodes sorted by cell (a counting sort).
  const std::size_t cell_count = static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_);
  std::vector<std::uint32_t> cell_of(static_cast<std::size_t>(nodes));
  node_start_.assign(cell_count + 1, 0);
  for (int n = 1; n <= nodes; ++n) {
    if (!usable(n)) continue;
    int c, r, c1, r1;
    cell_range(x_[n - 1], y_[n - 1], x_[n - 1], y_[n - 1], &c, &r, &c1, &r1);
    const std::uint32_t cell = static_cast<std::uint32_t>(r) * static_cast<std::uint32_t>(columns_) +
                               static_cast<std::uint32_t>(c);
    cell_of[static_cast<std::size_t>(n - 1)] = cell;
    ++node_start_[cell + 1];
  }
  for (std::size_t c = 0; c < cell_count; ++c) node_start_[c + 1] += node_start_[c];
  node_items_.resize(node_start_.back());
  std::vector<std::uint32_t> next(node_start_.begin(), node_start_.end() - 1);
  for (int n = 1; n <= nodes; ++n)
    if (usable(n)) node_items_[next[cell_of[static_cast<std::size_t>(n - 1)]]++] = static_cast<std::uint32_t>(n);

  const double reach_x = kShortCells * cell_w_, reach_y = kShortCells * cell_h_;
  const int element_count = element_limit(p);
  for (int e = 1; e <= element_count; ++e) {
    int a, b;
    if (!ends(p, e, nodes, &a, &b) || !usable(a) || !usable(b)) continue;
    if (std::fabs(x_[a - 1] - x_[b - 1]) > reach_x || std::fabs(y_[a - 1] - y_[b - 1]) > reach_y)
      long_elements_.push_back(static_cast<std::uint32_t>(e));
  }
}

bool PickIndex::usable(int n) const { return std::isfinite(x_[n - 1]) && std::isfinite(y_[n - 1]); }

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
  double best2 = radius * radius;
  auto take = [&](PickHit::Kind kind, std::uint32_t item, double d2) {
    if (d2 < best2 || (d2 == best2 && (hit.kind == PickHit::none || item < static_cast<std::uint32_t>(hit.item)))) {
      best2 = d2;
      hit = {kind, static_cast<int>(item), 0};
    }
  };
  auto each_node = [&](int ca, int ra, int cb, int rb, auto&& visit) {
    for (int r = std::max(ra, 0); r <= std::min(rb, rows_ - 1); ++r)
      for (int c = std::max(ca, 0); c <= std::min(cb, columns_ - 1); ++c) {
        const std::size_t cell = static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) +
                                 static_cast<std::size_t>(c);
        for (std::uint32_t i = node_start_[cell]; i < node_start_[cell + 1]; ++i) visit(node_items_[i]);
      }
  };

  each_node(c0, r0, c1, r1, [&](std::uint32_t n) {
    take(PickHit::node, n, squared(m.to_px(x_[n - 1]) - px) + squared(m.to_py(y_[n - 1]) - py));
  });
  if (hit.kind == PickHit::node) {
    hit.distance = std::sqrt(best2);
    return hit;
  }

  // Short elements through the nodes near the click, then the long ones.
  const Problem& p = *problem_;
  auto element = [&](std::uint32_t e) {
    const int a = p.element_node1[e - 1], b = p.element_node2[e - 1];
    take(PickHit::element, e,
         segment_distance2(px, py, m.to_px(x_[a - 1]), m.to_py(y_[a - 1]), m.to_px(x_[b - 1]), m.to_py(y_[b - 1])));
  };
  const NodeElements& incident = *elements_;
  each_node(c0 - kShortCells, r0 - kShortCells, c1 + kShortCells, r1 + kShortCells, [&](std::uint32_t n) {
    for (std::uint32_t i = incident.start[n - 1]; i < incident.start[n]; ++i) {
      const std::uint32_t e = incident.items[i];
      const int a = p.element_node1[e - 1], b = p.element_node2[e - 1];
      if (usable(a) && usable(b)) element(e);
    }
  });
  for (std::uint32_t e : long_elements_) element(e);
  if (hit.kind != PickHit::none) hit.distance = std::sqrt(best2);
  return hit;
}

std::size_t PickIndex::bytes() const {
  return sizeof(std::uint32_t) * (node_start_.size() + node_items_.size() + long_elements_.size()) +
         sizeof(float) * (x_.size() + y_.size());
}
