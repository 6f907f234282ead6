// Values of the binary files that are not finite numbers.
//
// A coordinate or displacement of +Inf, -Inf or NaN is kept as it is: the
// picture's arithmetic takes it as it comes, and one such value can leave a
// graph without any structure. The user is told, once per file, which value
// in which file did it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The index of the first of `count` values that is not a finite number;
// `count` when every one is.
std::size_t first_non_finite(const float* values, std::size_t count);

// What such a value does to the viewer's picture, the end of its line.
constexpr const char* kSpoilsTheGraph = "; the graph is drawn with it and may show no structure";

// The line that tells of such a value at `index` of node-major values of
// `ngl` directions: "<file>, step 3, node 1: displacement 2 is NaN, not a
// finite number" (no step for x.unf) and `consequence`. `what` names the
// value ("coordinate", "displacement").
std::string non_finite_line(std::string_view file, std::optional<std::int64_t> step, std::size_t index, int ngl,
                            std::string_view what, float value, std::string_view consequence = kSpoilsTheGraph);
