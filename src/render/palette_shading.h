// From a quantity to its position in a colour map's palette, as the coloured
// elements take it: a position has 8 fractional bits (entry i at i x 256),
// the map's entries spread over a scale from `low` to `high`, values beyond
// it taking the end entries.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "render/colour_map.h"

// The length of a node's displacement, the kNgl reals at d (for kNgl 0, the
// ngl reals): the root of the sum of their squares, taken in double, as a
// float.
template <std::size_t kNgl>
inline float displacement_length(const float* d, std::size_t ngl) {
  const std::size_t width = kNgl == 0 ? ngl : kNgl;
  double sum = 0;
  for (std::size_t k = 0; k < width; ++k) sum += static_cast<double>(d[k]) * d[k];
  return static_cast<float>(std::sqrt(sum));
}

class PaletteShader {
 public:
  // The entries of `map` over [low, high]. With high not above low every
  // number takes the first entry, or the middle one of a diverging map.
  PaletteShader(const ColourMap& map, double low, double high);

  // The position of `value`: the nearest to its share of the scale (halves
  // away from zero), or none() for a value that is not a finite number.
  std::uint32_t operator()(float value) const;

  // One past the last entry: the position of a value that is not a number.
  std::uint32_t none() const { return none_; }

  // Fills out[n - begin], for nodes n in [begin, end), with the position of
  // the displacement_length of node n: u holds `ngl` reals a node. The same
  // positions as operator() of each length.
  void shade_lengths(const float* u, std::size_t ngl, std::size_t begin, std::size_t end,
                     std::uint32_t* out) const;

 private:
  template <std::size_t kNgl>
  void shade_lengths_of(const float* u, std::size_t ngl, std::size_t begin, std::size_t end,
                        std::uint32_t* out) const;

  double last_;
  std::uint32_t none_;
  double low_, span_, middle_;
  double per_unit_;  // last_ / span_, or 0 when that is not a usable factor
};
