#include "json_out.h"

#include <cmath>
#include <cstdio>

namespace {

bool is_utf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t follow = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : 9;
    if (follow == 9) return false;
    for (std::size_t k = 1; k <= follow; ++k) {
      if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) >> 6) != 0x2) return false;
    }
    i += follow + 1;
  }
  return true;
}

}  // namespace

void JsonOut::before_value() {
  if (need_comma_) text_ += ',';
  need_comma_ = true;
}

void JsonOut::begin_object() {
  before_value();
  text_ += '{';
  need_comma_ = false;
  ++depth_;
}

void JsonOut::end_object() {
  text_ += '}';
  need_comma_ = true;
  if (--depth_ == 0) text_ += '\n';
}

void JsonOut::begin_array() {
  before_value();
  text_ += '[';
  need_comma_ = false;
  ++depth_;
}

void JsonOut::end_array() {
  text_ += ']';
  need_comma_ = true;
  --depth_;
}

void JsonOut::key(std::string_view name) {
  if (need_comma_) text_ += ",";
  // One key a line at the top level keeps the output readable.
  if (depth_ == 1) text_ += "\n ";
  need_comma_ = false;
  string(name);
  text_ += ':';
  need_comma_ = false;
}

void JsonOut::integer(std::int64_t number) {
  before_value();
  text_ += std::to_string(number);
}

void JsonOut::real(float number) {
  before_value();
  if (std::isnan(number)) {
    text_ += "NaN";
  } else if (std::isinf(number)) {
    text_ += number > 0 ? "Infinity" : "-Infinity";
  } else {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(number));
    text_ += buffer;
  }
}

void JsonOut::boolean(bool truth) {
  before_value();
  text_ += truth ? "true" : "false";
}

void JsonOut::string(std::string_view text) {
  before_value();
  text_ += '"';
  const bool utf8 = is_utf8(text);
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      text_ += '\\';
      text_ += c;
    } else if (u < 0x20 || (u >= 0x80 && !utf8)) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", u);
      text_ += buffer;
    } else {
      text_ += c;
    }
  }
  text_ += '"';
}
