#include "integer_text.h"

#include <charconv>

bool read_integer(std::string_view text, std::int64_t low, std::int64_t high, std::int64_t* value) {
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, *value);
  return !text.empty() && error == std::errc() && stop == end && *value >= low && *value <= high;
}

bool read_size_form(std::string_view text, std::int64_t* width, std::int64_t* height) {
  const std::size_t x = text.find('x');
  return x != std::string_view::npos && read_integer(text.substr(0, x), 0, INT64_MAX, width) &&
         read_integer(text.substr(x + 1), 0, INT64_MAX, height);
}

bool read_size(std::string_view text, int low, int high, int* width, int* height) {
  std::int64_t w = 0, h = 0;
  if (!read_size_form(text, &w, &h) || w < low || w > high || h < low || h > high) return false;
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return true;
}
