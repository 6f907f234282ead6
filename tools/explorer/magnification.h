// The magnification "fit": the factor that shows the largest displacement
// of the drawn steps at a tenth of the model's larger extent.
#pragma once

#include <optional>
#include <vector>

#include "input/problem.h"

// The model's larger extent: the widest range of its undisplaced
// coordinates over the directions (values that are not finite left out).
double model_extent(const Problem& problem);

// The factor that shows a displacement of magnitude `largest` at a tenth of
// the model's larger extent; none when either is 0 or not finite, or the
// factor is beyond what a 32-bit real holds.
std::optional<float> fit_factor(const Problem& problem, double largest);

// The largest displacement component in magnitude among `values`; values
// that are not numbers or infinite are passed over.
double largest_magnitude(const std::vector<float>& values);
