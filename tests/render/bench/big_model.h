// A model of 100,000 nodes and elements for the frame benchmarks.
#pragma once

#include "render_fixtures.h"

namespace render_test {

// A chain of nodes zig-zagging over a 400 x 250 grid, every 50th supported.
inline std::shared_ptr<Problem> big_model(int nodes) {
  std::vector<NodeSpec> specs;
  specs.reserve(static_cast<std::size_t>(nodes));
  std::vector<std::pair<int, int>> elements;
  for (int i = 0; i < nodes; ++i) {
    NodeSpec n{static_cast<float>(i % 400), static_cast<float>(i / 400), 0, {}, {}};
    if (i % 50 == 0) n.restraint = {1, i % 100 == 0 ? 1 : 0};
    specs.push_back(n);
    elements.push_back({i + 1, i + 1 < nodes ? i + 2 : 1});
  }
  return make_problem(2, specs, elements);
}

}  // namespace render_test
