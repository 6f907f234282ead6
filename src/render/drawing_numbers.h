// The irrational numbers the drawing is built from, each spelt once, at the
// precision it is taken at: the pictures depend on these exact values.
#pragma once

// √½, the cosine of 45 degrees, as a 64-bit real: the oblique axis of a
// spatial problem (its projection and its axis arrow) runs at 45 degrees.
constexpr double kSqrtHalf = 0.7071067811865476;

// √½ rounded to 32 bits (0.70710677): the rigid support of the oblique
// direction is turned by it in 32-bit reals.
constexpr double kSqrtHalfFloat = static_cast<float>(kSqrtHalf);
static_assert(kSqrtHalfFloat == 0.70710677f);

// √2 to eight significant digits, a 64-bit real: the spring of the oblique
// direction is sized by it (the product then rounded to 32 bits).
constexpr double kSqrtTwoEightDigits = 1.4142135;
