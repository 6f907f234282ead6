#include "base/shown_text.h"

#include <cstdint>

namespace {

// The length of the valid UTF-8 sequence at the start of `text` and its code
// point; 0 when the first byte starts none (a stray continuation byte, an
// overlong form, a surrogate, a value beyond U+10FFFF, a cut sequence).
std::size_t utf8_sequence(std::string_view text, std::uint32_t* code_point) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  std::uint32_t value = 0;
  std::uint32_t minimum = 0;
  if (lead < 0x80) {
    *code_point = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1Fu, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0Fu, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07u, minimum = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(i) & 0x3Fu);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *code_point = value;
  return length;
}

bool reorders_text(std::uint32_t c) { return (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069); }

void append_hex(std::string* out, const char* prefix, std::uint32_t value, int digits) {
  static const char kDigits[] = "0123456789abcdef";
  *out += prefix;
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) *out += kDigits[(value >> shift) & 0xF];
}

}  // namespace

std::string shown_text(std::string_view text, std::size_t length) {
  std::string out;
  std::size_t shown = 0;  // characters written so far
  std::size_t i = 0;
  while (i < text.size()) {
    std::uint32_t c = 0;
    const std::size_t bytes = utf8_sequence(text.substr(i), &c);
    std::string piece;
    bool raw = false;  // the character itself, one character wide
    if (bytes == 0) {
      append_hex(&piece, "\\x", static_cast<unsigned char>(text[i]), 2);
    } else if (c == '\n') {
      piece = "\\n";
    } else if (c == '\r') {
      piece = "\\r";
    } else if (c == '\t') {
      piece = "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      append_hex(&piece, "\\x", c, 2);
    } else if (c >= 0x80 && c <= 0x9F) {
      for (std::size_t k = 0; k < bytes; ++k) append_hex(&piece, "\\x", static_cast<unsigned char>(text[i + k]), 2);
    } else if (reorders_text(c)) {
      append_hex(&piece, "\\u", c, 4);
    } else {
      piece = std::string(text.substr(i, bytes));
      raw = true;
    }
    const std::size_t width = raw ? 1 : piece.size();
    if (shown + width > length) {
      out += "…";
      return out;
    }
    out += piece;
    shown += width;
    i += bytes == 0 ? 1 : bytes;
  }
  return out;
}
