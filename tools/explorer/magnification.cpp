#include "magnification.h"

#include <cmath>
#include <limits>

double model_extent(const Problem& p) {
  const int nodes = p.control.node_count, ngl = p.control.NGL;
  double widest = 0;
  for (int j = 1; j <= ngl; ++j) {
    double lo = INFINITY, hi = -INFINITY;
    for (int n = 1; n <= nodes; ++n) {
      const float v = p.node_coords(n, j);
      if (!std::isfinite(v)) continue;
      lo = std::min<double>(lo, v);
      hi = std::max<double>(hi, v);
    }
    if (hi >= lo) widest = std::max(widest, hi - lo);
  }
  return widest;
}

std::optional<float> fit_factor(const Problem& problem, double largest) {
  const double extent = model_extent(problem);
  if (!(largest > 0) || !std::isfinite(largest) || !(extent > 0)) return std::nullopt;
  const double factor = extent / 10 / largest;
  if (!(factor <= std::numeric_limits<float>::max())) return std::nullopt;
  return static_cast<float>(factor);
}

double largest_magnitude(const std::vector<float>& values) {
  float largest = 0;
  for (float v : values) {
    const float magnitude = std::fabs(v);
    if (magnitude > largest && magnitude <= std::numeric_limits<float>::max()) largest = magnitude;
  }
  return largest;
}
