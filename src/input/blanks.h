// Blank-padded texts: the fixed-length fields of the analysis program's files
// and of the dialogs are compared and shown without their padding.
#pragma once

#include <string_view>

// `text` without trailing blanks.
inline std::string_view without_trailing_blanks(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

// `text` without leading blanks.
inline std::string_view without_leading_blanks(std::string_view text) {
  const std::size_t start = text.find_first_not_of(' ');
  return start == std::string_view::npos ? std::string_view{} : text.substr(start);
}
