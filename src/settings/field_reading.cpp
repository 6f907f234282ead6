#include "settings/field_reading.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

#include "settings/number_text.h"

namespace {
bool is_digit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::int32_t read_integer_prefix(std::string_view text) {
  text = without_leading_blanks(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  for (; i < text.size() && is_digit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) value = kLimit;  // keeps the sum small; clamped below
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

float read_real_prefix(std::string_view text) {
  text = without_leading_blanks(text);
  std::string number;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number.push_back(text[i++]);
  int digits = 0;
  for (; i < text.size() && is_digit(text[i]); ++i, ++digits) number.push_back(text[i]);
  if (i < text.size() && text[i] == '.') {
    number.push_back(text[i++]);
    for (; i < text.size() && is_digit(text[i]); ++i, ++digits) number.push_back(text[i]);
  }
  if (digits == 0) return 0.0f;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent.push_back(text[j++]);
    const std::size_t first_digit = j;
    for (; j < text.size() && is_digit(text[j]); ++j) exponent.push_back(text[j]);
    if (j > first_digit) number += exponent;
  }
  // from_chars reads the C form whatever locale the process has set.
  const bool negative = number[0] == '-';
  const char* first = number.c_str() + ((number[0] == '+' || negative) ? 1 : 0);
  double value = 0;
  const auto [end, error] = std::from_chars(first, number.c_str() + number.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // Only the exponent can take a short text out of range: a negative one
    // makes it vanish, a positive one makes it huge.
    const std::size_t e = number.find('e');
    const bool tiny = e != std::string::npos && e + 1 < number.size() && number[e + 1] == '-';
    value = tiny ? 0.0 : HUGE_VAL;
  } else if (error != std::errc{}) {
    value = 0;
  }
  if (negative) value = -value;
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

bool matches_literal(std::string_view text, std::initializer_list<std::string_view> literals) {
  const std::string_view value = without_trailing_blanks(text);
  for (std::string_view literal : literals)
    if (value == literal) return true;
  return false;
}

std::string field_text(std::string_view text) {
  std::string value(text.substr(0, kFieldTextLength));
  value.resize(kFieldTextLength, ' ');
  return value;
}

std::string shown_real(double value) {
  const std::string tidied = trim_number_text(format_general(value, 24, 6));
  return std::string(without_trailing_blanks(without_leading_blanks(tidied)));
}

std::string shown_integer(std::int64_t value) {
  const std::string tidied = trim_number_text(format_integer(value, 24));
  return std::string(without_trailing_blanks(without_leading_blanks(tidied)));
}
