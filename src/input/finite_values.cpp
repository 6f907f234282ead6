#include "input/finite_values.h"

#include <algorithm>
#include <bit>
#include <cmath>

std::size_t first_non_finite(const float* values, std::size_t count) {
  // A value is not finite when all its exponent bits are set. Checking a
  // block before looking for the value lets the compiler check eight or
  // sixteen values at a time: the extents pass looks at every displacement.
  constexpr std::uint32_t kExponent = 0x7F800000u;
  constexpr std::size_t kBlock = 256;
  for (std::size_t start = 0; start < count; start += kBlock) {
    const std::size_t end = std::min(count, start + kBlock);
    bool any = false;
    for (std::size_t i = start; i < end; ++i) any |= (std::bit_cast<std::uint32_t>(values[i]) & kExponent) == kExponent;
    if (!any) continue;
    for (std::size_t i = start; i < end; ++i)
      if (!std::isfinite(values[i])) return i;
  }
  return count;
}

std::string non_finite_line(std::string_view file, std::optional<std::int64_t> step, std::size_t index, int ngl,
                            std::string_view what, float value, std::string_view consequence) {
  const std::size_t directions = ngl > 0 ? static_cast<std::size_t>(ngl) : 1;
  std::string line(file);
  if (step) line += ", step " + std::to_string(*step);
  line += ", node " + std::to_string(index / directions + 1) + ": " + std::string(what) + " " +
          std::to_string(index % directions + 1) + " is " +
          (std::isnan(value) ? "NaN" : value > 0 ? "+Inf" : "-Inf") +
          ", not a finite number" + std::string(consequence);
  return line;
}
