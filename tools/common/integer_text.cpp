#include "integer_text.h"

#include <charconv>

bool read_integer(std::string_view text, std::int64_t low, std::int64_t high, std::int64_t* value) {
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, *value);
  return !text.empty() && error == std::errc() && stop == end && *value >= low && *value <= high;
}

bool read_size(std::string_view text, int low, int high, int* width, int* height) {
  const std::size_t x = text.find('x');
  std::int64_t w = 0, h = 0;
  if (x == std::string_view::npos || !read_integer(text.substr(0, x), low, high, &w) ||
      !read_integer(text.substr(x + 1), low, high, &h))
    return false;
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return true;
}
