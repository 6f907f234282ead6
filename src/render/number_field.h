// Node and element numbers as the drawing writes them: right-aligned in a
// field of a given width, without touching the heap.
#pragma once

#include <charconv>
#include <cstdint>
#include <string_view>

// Text of at most 15 characters held in place.
struct NumberField {
  char text[16];
  int length = 0;
  std::string_view view() const { return {text, static_cast<std::size_t>(length)}; }
};

// `value` right-aligned in `width` characters (leading blanks). A number
// wider than the field is written whole rather than as asterisks, so that
// every node of a large model can still be told apart.
inline NumberField number_field(std::int64_t value, int width) {
  char digits[24];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  (void)ec;
  const int count = static_cast<int>(end - digits);
  NumberField field;
  int blanks = width > count ? width - count : 0;
  if (blanks + count > 15) blanks = 15 - count;
  for (int i = 0; i < blanks; ++i) field.text[i] = ' ';
  for (int i = 0; i < count; ++i) field.text[blanks + i] = digits[i];
  field.length = blanks + count;
  return field;
}
