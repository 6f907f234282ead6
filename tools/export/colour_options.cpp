#include "colour_options.h"

#include <charconv>
#include <cmath>

namespace {

bool read_float(std::string_view text, float* value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, *value);
  return ec == std::errc() && ptr == end && std::isfinite(*value);
}

Status bad(const std::string& option, const std::string& expected, const std::string& found) {
  return Status::invalid_argument("--" + option + ": " + expected + " was expected, found \"" + found + "\"");
}

}  // namespace

Status read_colour_options(const ColourOptions& o, Colouring* colouring) {
  Colouring c;
  if (o.by.empty()) {
    if (!o.map.empty()) return Status::invalid_argument("--colour-map: give --colour-by too");
    if (!o.range.empty()) return Status::invalid_argument("--colour-range: give --colour-by too");
    *colouring = c;
    return Status::ok();
  }
  if (o.by == "displacement") c.by = ColourBy::displacement;
  else if (o.by == "value") c.by = ColourBy::value;
  else if (o.by == "code") c.by = ColourBy::code;
  else return bad("colour-by", "displacement, value or code", o.by);

  if (!o.map.empty()) {
    c.map = find_colour_map(o.map);
    const ColourMapKind fits = c.by == ColourBy::code ? ColourMapKind::qualitative : ColourMapKind::sequential;
    if (c.map == nullptr || !colour_map_fits(c.by, *c.map)) {
      std::string names = colour_map_names(fits);
      if (fits == ColourMapKind::sequential) names += ", " + colour_map_names(ColourMapKind::diverging);
      return bad("colour-map", "for --colour-by " + o.by + " one of " + names, o.map);
    }
  }

  if (o.range.empty() || o.range == "auto") {
    c.range = ColourRange::all_steps;
  } else if (o.range == "frame") {
    c.range = ColourRange::frame;
  } else {
    const std::size_t colon = o.range.find(':', 1);
    const std::string_view text(o.range);
    if (colon == std::string::npos || !read_float(text.substr(0, colon), &c.low) ||
        !read_float(text.substr(colon + 1), &c.high) || !(c.low < c.high))
      return bad("colour-range", "auto, frame or MIN:MAX with MIN below MAX", o.range);
    c.range = ColourRange::fixed;
  }
  *colouring = c;
  return Status::ok();
}

std::string colour_by_help() {
  return "Colour the elements by the displacement of their end nodes (the colour runs along each line), by "
         "their element value or by their element code, with a colour bar beside the structure.";
}

std::string colour_map_help() {
  return "The colour map: " + colour_map_names(ColourMapKind::sequential) + " (default viridis) or " +
         colour_map_names(ColourMapKind::diverging) + " (default for value, centred on 0) for displacement and "
         "value; " + colour_map_names(ColourMapKind::qualitative) + " (default tab10) for code.";
}

std::string colour_range_help() {
  return "The values the map spans: auto (default), from the lowest to the highest over all drawn steps; "
         "frame, over each frame; or MIN:MAX.";
}
