// Picking on a drawn frame: which node or element lies under a click,
// through a uniform grid over the frame's world positions, so that a pick
// looks at the few items near the click whatever the model's size.
//
// An index is built once per drawn frame from its positions and is then
// immutable: the thread that draws builds it, the GUI thread queries it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "input/problem.h"
#include "platform/world_window.h"

struct PickHit {
  enum Kind { none, node, element };
  Kind kind = none;
  int item = 0;           // 1-based node or element
  double distance = 0;    // pixels from the click
};

// Which elements meet at each node, for finding elements through the nodes
// near a click: made once per problem and shared by every frame's index.
struct NodeElements {
  explicit NodeElements(const Problem& problem);
  // The elements of node n (1-based) are items[start[n - 1] .. start[n]).
  std::vector<std::uint32_t> start, items;
};

class PickIndex {
 public:
  // Indexes nodes 1..node_count at (x[n-1], y[n-1]) and every element whose
  // two end nodes exist; positions that are not finite are left out. Keeps
  // the positions, the problem and `elements` (made when null).
  PickIndex(ProblemPtr problem, std::vector<float> x, std::vector<float> y,
            std::shared_ptr<const NodeElements> elements = nullptr);

  // The node nearest to picture position (px, py) within `radius` pixels;
  // else the element whose line passes nearest within it; else none.
  // Distances are measured in pixels through `mapping`, as the frame was
  // drawn.
  PickHit pick(const PixelMapping& mapping, double px, double py, double radius) const;

  // Bytes the index holds (the shared element lists not counted).
  std::size_t bytes() const;

  const std::shared_ptr<const NodeElements>& node_elements() const { return elements_; }

 private:
  // Cells of the grid a world rectangle covers, clamped to the grid.
  void cell_range(double x1, double y1, double x2, double y2, int* c0, int* r0, int* c1, int* r1) const;
  bool usable(int n) const;  // node n has a finite position

  ProblemPtr problem_;
  std::vector<float> x_, y_;  // the frame's world positions
  std::shared_ptr<const NodeElements> elements_;
  double x0_ = 0, y0_ = 0, cell_w_ = 1, cell_h_ = 1;
  int columns_ = 1, rows_ = 1;
  // The nodes of each cell: nodes[start[c] .. start[c + 1]).
  std::vector<std::uint32_t> node_start_, node_items_;
  // Elements longer than kShortCells cells on an axis: their end nodes may
  // lie far from a click on them, so each pick looks at them all.
  std::vector<std::uint32_t> long_elements_;
};
