// Fixed-width number texts.
//
// Rounding is done on the exact decimal value of the double, not on its
// binary approximation: printf("%.*e") (exact in glibc for any precision)
// gives the decimal digits, and the digit string is then rounded to nearest
// with ties away from zero. printf's own rounding would round ties to even
// and, for values such as 2.675, would decide on a text that is already
// rounded. A first pass prints 40 digits after the point; only when the digits
// beyond the rounding position read exactly "5000..." (a tie, or a value a
// hair below or above one) is the value printed again with all the digits a
// double can have, which decides exactly.
#include "settings/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Enough digits after the point to show any double exactly: its decimal
// expansion has at most 767 significant digits.
constexpr int kExactPrecision = 780;
constexpr int kFirstPrecision = 40;

struct Digits {
  std::string digits;  // d0 d1 d2 ...: the value is d0.d1d2... x 10^exponent
  int exponent = 0;
};

// The decimal digits of a finite magnitude > 0 with `precision` digits after
// the point of the %e form.
Digits print_digits(double magnitude, int precision) {
  std::string buffer(static_cast<std::size_t>(precision) + 32, '\0');
  int n = std::snprintf(buffer.data(), buffer.size(), "%.*e", precision, magnitude);
  buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  Digits result;
  const std::size_t e = buffer.find('e');
  for (std::size_t i = 0; i < e && i < buffer.size(); ++i)
    if (buffer[i] >= '0' && buffer[i] <= '9') result.digits.push_back(buffer[i]);
  if (e != std::string::npos) result.exponent = std::atoi(buffer.c_str() + e + 1);
  return result;
}

// Whether the digits from `from` on are "5" followed only by zeros.
bool reads_as_tie(const std::string& digits, std::size_t from) {
  if (from >= digits.size() || digits[from] != '5') return false;
  for (std::size_t i = from + 1; i < digits.size(); ++i)
    if (digits[i] != '0') return false;
  return true;
}

// Adds one to the last digit of a digit string; a carry out of the first
// digit prepends "1".
void increment(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

// A magnitude rounded to a multiple of 10^position: the result is
// integer_digits x 10^position. integer_digits has no leading zeros ("0" for
// zero).
std::string round_at(double magnitude, int position) {
  if (magnitude == 0) return "0";
  int precision = kFirstPrecision;
  Digits d = print_digits(magnitude, precision);
  // Digits kept: those of weight 10^position or more.
  auto kept_count = [&] { return static_cast<long>(d.exponent) - position + 1; };
  if (kept_count() >= static_cast<long>(d.digits.size())) {
    precision = static_cast<int>(std::min<long>(kept_count() + 20, kExactPrecision));
    d = print_digits(magnitude, precision);
  }
  if (kept_count() >= 0 && reads_as_tie(d.digits, static_cast<std::size_t>(kept_count())) &&
      precision < kExactPrecision) {
    precision = kExactPrecision;
    d = print_digits(magnitude, precision);
  }
  const long keep = kept_count();
  if (keep < 0) return "0";
  std::string kept;
  bool up = false;
  if (static_cast<std::size_t>(keep) >= d.digits.size()) {
    kept = d.digits;
    kept.append(static_cast<std::size_t>(keep) - d.digits.size(), '0');
  } else {
    kept = d.digits.substr(0, static_cast<std::size_t>(keep));
    up = d.digits[static_cast<std::size_t>(keep)] >= '5';
  }
  if (kept.empty()) kept = "0";
  if (up) increment(kept);
  const std::size_t first = kept.find_first_not_of('0');
  return first == std::string::npos ? "0" : kept.substr(first);
}

std::string right_justified(const std::string& text, int width) {
  if (width <= 0) return {};
  if (static_cast<int>(text.size()) > width) return std::string(static_cast<std::size_t>(width), '*');
  return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

// Not-a-number and infinities, as the edits show them.
bool special_text(double value, std::string* text) {
  if (std::isnan(value)) {
    *text = "NaN";
    return true;
  }
  if (std::isinf(value)) {
    *text = value < 0 ? "-Infinity" : "Infinity";
    return true;
  }
  return false;
}

// "int.frac" from the digits of value / 10^-decimals; `leading_zero` writes
// "0" before the point of a magnitude below 1.
std::string fixed_text(bool negative, const std::string& scaled, int decimals, bool leading_zero) {
  std::string digits = scaled;
  if (static_cast<int>(digits.size()) <= decimals)
    digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
  const std::size_t int_len = digits.size() - static_cast<std::size_t>(decimals);
  std::string int_part = digits.substr(0, int_len);
  if (int_part == "0" && !leading_zero) int_part.clear();
  std::string text = negative ? "-" : "";
  text += int_part;
  text += '.';
  text += digits.substr(int_len);
  return text;
}

}  // namespace

std::string format_general(double value, int width, int significant) {
  std::string special;
  if (special_text(value, &special)) return right_justified(special, width);
  if (significant < 1) significant = 1;
  const int fixed_width = width - 4;
  const std::string tail(4, ' ');
  const double magnitude = std::fabs(value);
  if (magnitude == 0) {
    // Zero shows no sign.
    return right_justified(fixed_text(false, "0", significant - 1, true), fixed_width) + tail;
  }
  const bool negative = value < 0;
  // Decimal exponent of the first significant digit, then rounding to
  // `significant` digits; a carry (9.99..5 -> 10.0) moves the exponent.
  int exponent = print_digits(magnitude, kFirstPrecision).exponent;
  std::string digits = round_at(magnitude, exponent + 1 - significant);
  if (static_cast<int>(digits.size()) > significant) {
    ++exponent;
    digits.resize(static_cast<std::size_t>(significant));
  }
  // Rounded magnitude 0.digits x 10^(exponent + 1).
  if (exponent >= -1 && exponent <= significant - 1) {
    const int before_point = exponent >= 0 ? exponent + 1 : 0;
    const int decimals = significant - before_point;
    // digits x 10^(exponent + 1 - significant) = digits / 10^decimals when
    // exponent >= 0; below 1 (exponent -1) likewise with before_point 0.
    return right_justified(fixed_text(negative, digits, decimals, true), fixed_width) + tail;
  }
  const int shown_exponent = exponent + 1;
  char exp_text[16];
  std::snprintf(exp_text, sizeof exp_text, "E%c%02d", shown_exponent < 0 ? '-' : '+',
                std::abs(shown_exponent));
  std::string text = negative ? "-0." : "0.";
  text += digits;
  text += exp_text;
  return right_justified(text, width);
}

std::string format_fixed(double value, int width, int decimals) {
  std::string special;
  if (special_text(value, &special)) return right_justified(special, width);
  if (decimals < 0) decimals = 0;
  const double magnitude = std::fabs(value);
  // A magnitude of 10^width or more can never fit; skip printing its digits.
  if (magnitude >= std::pow(10.0, width)) return std::string(static_cast<std::size_t>(std::max(width, 0)), '*');
  const std::string scaled = round_at(magnitude, -decimals);
  // A value that rounds to zero shows no sign.
  const bool negative = value < 0 && scaled != "0";
  std::string text = fixed_text(negative, scaled, decimals, true);
  if (static_cast<int>(text.size()) > width) text = fixed_text(negative, scaled, decimals, false);
  return right_justified(text, width);
}

std::string format_integer(std::int64_t value, int width) {
  return right_justified(std::to_string(value), width);
}

std::string trim_number_text(std::string_view text) {
  const std::size_t n = text.size();
  const std::string_view adjusted = without_trailing_blanks(without_leading_blanks(text));
  std::string result(adjusted);
  const std::size_t k = adjusted.find_first_of("EDed");
  std::string_view mantissa = adjusted.substr(0, k);
  std::string_view exponent =
      k == std::string_view::npos ? std::string_view{} : adjusted.substr(k, 5);
  mantissa = mantissa.substr(0, 19);
  const std::size_t point = mantissa.find('.');
  if (point != std::string_view::npos) {
    mantissa = without_trailing_blanks(mantissa);
    while (mantissa.size() > point + 1 && mantissa.back() == '0') mantissa.remove_suffix(1);
    result = std::string(mantissa);
    result += without_trailing_blanks(exponent);
  }
  if (result.size() < n) result.resize(n, ' ');
  return result;
}
