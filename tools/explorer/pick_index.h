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

class PickIndex {
 public:
  // Indexes nodes 1..node_count at (x[n-1], y[n-1]) and every element whose
  // two end nodes exist; positions that are not finite are left out. Keeps
  // the positions and the problem.
  PickIndex(ProblemPtr problem, std::vector<float> x, std::vector<float> y);

  // The node nearest to picture position (px, py) within `radius` pixels;
  // else the element whose line passes nearest within it; else none.
  // Distances are measured in pixels through `mapping`, as the frame was
  // drawn.
  PickHit pick(const PixelMapping& mapping, double px, double py, double radius) const;

  // Bytes the index holds.
  std::size_t bytes() const;

 private:
  // Cells of the grid a world rectangle covers, clamped to the grid.
  void cell_range(double x1, double y1, double x2, double y2, int* c0, int* r0, int* c1, int* r1) const;

  ProblemPtr problem_;
  std::vector<float> x_, y_;  // the frame's world positions
  double x0_ = 0, y0_ = 0, cell_w_ = 1, cell_h_ = 1;
  int columns_ = 1, rows_ = 1;
  // Per cell, the nodes and the elements that touch it (compressed rows:
  // the items of cell c are items[start[c] .. start[c + 1])).
  std::vector<std::uint32_t> node_start_, node_items_;
  std::vector<std::uint32_t> element_start_, element_items_;
  // Elements covering too many cells to be listed in each; looked at in
  // every pick.
  std::vector<std::uint32_t> long_elements_;
};
