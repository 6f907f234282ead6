#include "list_output.h"

#include <cmath>
#include <cstdio>

namespace sample {

namespace {

constexpr std::size_t kLineWidth = 80;

std::string item_text(const ListValue& value) {
  if (const std::int32_t* integer = std::get_if<std::int32_t>(&value)) return std::to_string(*integer);
  return list_real(std::get<float>(value));
}

std::string padded(const std::string& text, bool real) {
  // Integers right-aligned in 12 columns; reals with three leading blanks in
  // a field of 16 (the rest of the field trails).
  if (!real) return std::string(text.size() < 12 ? 12 - text.size() : 1, ' ') + text;
  std::string field = "   " + text;
  if (field.size() < 16) field.append(16 - field.size(), ' ');
  return field;
}

}  // namespace

std::string list_real(float value) {
  char buffer[48];
  double v = value;
  double magnitude = std::fabs(v);
  if (v == 0) {
    std::snprintf(buffer, sizeof buffer, "%s0.00000000", std::signbit(v) ? "-" : "");
  } else if (magnitude >= 0.1 && magnitude < 1e9) {
    int before = magnitude < 1 ? 0 : static_cast<int>(std::floor(std::log10(magnitude))) + 1;
    std::snprintf(buffer, sizeof buffer, "%.*f", std::max(9 - before, 0), v);
  } else {
    std::snprintf(buffer, sizeof buffer, "%.8E", v);
  }
  return buffer;
}

std::string list_directed(const std::vector<ListValue>& values) {
  std::string out;
  std::string line;
  std::size_t i = 0;
  while (i < values.size()) {
    std::size_t run = 1;
    while (i + run < values.size() && values[i + run].index() == values[i].index() &&
           item_text(values[i + run]) == item_text(values[i])) {
      ++run;
    }
    std::string text = item_text(values[i]);
    if (run > 1) text = std::to_string(run) + "*" + text;
    std::string field = padded(text, values[i].index() == 1);
    if (!line.empty() && line.size() + field.size() > kLineWidth) {
      out += line + "\n";
      line.clear();
    }
    if (line.empty()) line.push_back(' ');
    line += field;
    i += run;
  }
  // Trailing blanks of the last field stay, as list-directed output leaves them.
  out += (line.empty() ? std::string(" ") : line) + "\n";
  return out;
}

}  // namespace sample
