// Number texts as the dialogs, the frame heading, the time label and the
// scale show them: fixed-width numeric edits and their tidying.
//
// All functions return a text of exactly `width` characters, right-justified
// (leading blanks), unless said otherwise. Rounding of the last shown digit is
// to nearest, ties away from zero.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "input/blanks.h"

// General numeric edit with `significant` digits (1..9) into `width`
// characters (width >= significant + 7). A value whose magnitude, rounded to
// `significant` digits, lies in [0.1, 10^significant) is written in
// fixed-point notation with (significant - k) decimals, k being the number of
// digits before the point (0 below 1), right-justified in the first width - 4
// characters, followed by 4 blanks. Zero is written with (significant - 1)
// decimals in the same way. Any other value in exponent form: "0." followed by
// `significant` digits, "E", the sign and two exponent digits (three when the
// exponent needs them), right-justified in `width`.
// format_general(10, 24, 6) -> "10.0000" right-justified in 20, then 4 blanks;
// format_general(0.005, 24, 6) -> "0.500000E-02"; format_general(150, 10, 2)
// -> "0.15E+03".
std::string format_general(double value, int width, int significant);

// Fixed-point with `decimals` decimals, right-justified in `width`; `width`
// asterisks when the text does not fit. format_fixed(-3.14159, 9, 2) ->
// "    -3.14". A magnitude below 1 is written with a leading "0" when there is
// room ("0.50"), without it otherwise (".50").
std::string format_fixed(double value, int width, int decimals);

// Plain decimal integer, right-justified in `width`; `width` asterisks when it
// does not fit.
std::string format_integer(std::int64_t value, int width);

// Tidies a formatted number: left-adjusts it; when its mantissa (the part
// before the first "E", "D", "e" or "d", at most 19 characters) contains a
// point, the zeros that end the mantissa after the point are dropped (the
// point stays) and the exponent part (at most 5 characters) follows directly.
// Without a point the left-adjusted text stays as it is. The result is padded
// with blanks to the length of `text`.
// "      10.0000    " -> "10.     ..."; "0.500000E-02" -> "0.5E-02"; "400" -> "400".
std::string trim_number_text(std::string_view text);
