#include "export_options.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "integer_text.h"

namespace {

template <bool GraphSettings::*Field>
bool set_switch(const std::string& value, std::int32_t, ExportSettings* r) {
  r->settings.*Field = value == "on";
  return value == "on" || value == "off";
}

template <std::int32_t GraphSettings::*Field>
bool set_integer(const std::string& value, std::int32_t, ExportSettings* r) {
  std::int64_t v = 0;
  if (!read_integer(value, INT32_MIN, INT32_MAX, &v)) return false;
  r->settings.*Field = static_cast<std::int32_t>(v);
  return true;
}

// An end step beyond the last stored step is cut to it, as the Time
// Settings dialog does.
bool set_end_step(const std::string& value, std::int32_t last_step, ExportSettings* r) {
  if (!set_integer<&GraphSettings::end_step>(value, last_step, r)) return false;
  if (r->settings.end_step > last_step) r->settings.end_step = last_step;
  return true;
}

// A factor is a finite number or "auto"; 0 and 1 count as Auto, as the
// Graph Settings dialog takes them.
bool read_factor(const std::string& value, float* factor, bool* automatic) {
  *automatic = value == "auto";
  if (*automatic) return true;
  if (value.empty()) return false;
  char* end = nullptr;
  *factor = std::strtof(value.c_str(), &end);
  if (end != value.c_str() + value.size() || !std::isfinite(*factor)) return false;
  *automatic = *factor == 0 || *factor == 1;
  return true;
}

// Auto leaves the minimum-size factor as it was and resets the
// magnification to 1, as the Graph Settings dialog does.
template <float GraphSettings::*Factor, bool GraphSettings::*Automatic, bool kAutoResetsToOne>
bool set_factor(const std::string& value, std::int32_t, ExportSettings* r) {
  float factor = 0;
  bool automatic = false;
  if (!read_factor(value, &factor, &automatic)) return false;
  r->settings.*Automatic = automatic;
  if (!automatic) r->settings.*Factor = factor;
  if (automatic && kAutoResetsToOne) r->settings.*Factor = 1.0f;
  return true;
}

bool set_colour_scheme(const std::string& value, std::int32_t, ExportSettings* r) {
  if (value == "standard") {
    r->colour_scheme = kSchemeStandard;
    set_colours(r->settings, standard_colours);
  } else if (value == "all-black") {
    r->colour_scheme = kSchemeAllBlack;
    set_colours(r->settings, all_black_colours);
  } else {
    return false;
  }
  return true;
}

bool set_language(const std::string& value, std::int32_t, ExportSettings* r) {
  r->romanian_messages = value == "romanian";
  return value == "english" || value == "romanian";
}

bool set_colour_by(const std::string& value, std::int32_t, ExportSettings* r) {
  if (value == "displacement") r->colouring.by = ColourBy::displacement;
  else if (value == "value") r->colouring.by = ColourBy::value;
  else if (value == "code") r->colouring.by = ColourBy::code;
  else return false;
  return true;
}

bool set_colour_map(const std::string& value, std::int32_t, ExportSettings* r) {
  r->colouring.map = find_colour_map(value);
  return r->colouring.map != nullptr;
}

bool read_float(std::string_view text, float* value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, *value);
  return ec == std::errc() && ptr == end && std::isfinite(*value);
}

bool set_colour_range(const std::string& value, std::int32_t, ExportSettings* r) {
  Colouring& c = r->colouring;
  if (value == "auto") {
    c.range = ColourRange::all_steps;
    return true;
  }
  if (value == "frame") {
    c.range = ColourRange::frame;
    return true;
  }
  const std::size_t colon = value.find(':', 1);
  const std::string_view text(value);
  if (colon == std::string::npos || !read_float(text.substr(0, colon), &c.low) ||
      !read_float(text.substr(colon + 1), &c.high) || !(c.low < c.high))
    return false;
  c.range = ColourRange::fixed;
  return true;
}

// The colour options together: a map or range needs a quantity, and a map
// must fit it.
Status check_colouring(const Colouring& c) {
  if (c.by == ColourBy::none) {
    if (c.map != nullptr) return Status::invalid_argument("--colour-map: give --colour-by too");
    if (c.range != ColourRange::all_steps) return Status::invalid_argument("--colour-range: give --colour-by too");
    return Status::ok();
  }
  if (c.map == nullptr || colour_map_fits(c.by, *c.map)) return Status::ok();
  const std::string names = c.by == ColourBy::code ? colour_map_names(ColourMapKind::qualitative)
                                                   : colour_map_names(ColourMapKind::sequential) + ", " +
                                                         colour_map_names(ColourMapKind::diverging);
  const char* quantity = c.by == ColourBy::code ? "code" : c.by == ColourBy::value ? "value" : "displacement";
  return Status::invalid_argument(std::string("--colour-map: for --colour-by ") + quantity +
                                  " one of " + names + " was expected, found \"" + c.map->name + "\"");
}

constexpr const char* kInteger = "an integer from -2147483648 to 2147483647";
constexpr const char* kFactor = "a number or auto";

constexpr SettingOption kSettingOptions[] = {
    {"start-step", "N", "First step drawn (default 0).", kInteger, set_integer<&GraphSettings::start_step>},
    {"end-step", "N", "Last step drawn (default and limit: the last stored step).", kInteger, set_end_step},
    {"step-frequency", "N", "Draw every Nth step (default: about 20 frames over the steps).", kInteger,
     set_integer<&GraphSettings::step_frequency>},
    {"time-output-item", "N", "Node whose displacement the time label shows.", kInteger,
     set_integer<&GraphSettings::time_output_item>},
    {"frame-delay-ms", "MS", "Pause after each frame, in milliseconds (default 0).", kInteger,
     set_integer<&GraphSettings::frame_delay_ms>},
    {"displacement-factor", "X|auto", "Magnification of the displacements (default auto).", kFactor,
     set_factor<&GraphSettings::displacement_factor, &GraphSettings::displacement_factor_auto, true>},
    {"min-size-factor", "X|auto", "Minimum-size factor of the drawing (default auto).", kFactor,
     set_factor<&GraphSettings::min_size_factor, &GraphSettings::min_size_factor_auto, false>},
    {"colour-scheme", "NAME", "standard or all-black (default standard).", "standard or all-black",
     set_colour_scheme},
    {"language", "NAME", "Language of the graph heading: english or romanian (default english).",
     "english or romanian", set_language},
    {"reverse-vertical", nullptr, "Draw the vertical axis reversed.", nullptr,
     set_switch<&GraphSettings::reverse_vertical>},
    {"reverse-y", nullptr, "Draw the y axis reversed.", nullptr, set_switch<&GraphSettings::reverse_y>},
    {"show-node-indices", nullptr, "Write the node numbers.", nullptr, set_switch<&GraphSettings::show_node_indices>},
    {"show-element-indices", nullptr, "Write the element numbers.", nullptr,
     set_switch<&GraphSettings::show_element_indices>},
    {"show-grid-and-scale", nullptr, "Draw the grid and the scale.", nullptr,
     set_switch<&GraphSettings::show_grid_and_scale>},
    {"show-time-output", nullptr, "Write the time label.", nullptr, set_switch<&GraphSettings::show_time_output>},
    {"show-all-positions", nullptr, "Keep every drawn position on the picture.", nullptr,
     set_switch<&GraphSettings::show_all_positions>},
    {"colour-by", "QUANTITY",
     "Colour the elements by displacement (the length of their end nodes' displacements; the colour runs "
     "along each line), value (their element value) or code (their element code), with a colour bar beside "
     "the structure.",
     "displacement, value or code", set_colour_by},
    {"colour-map", "NAME",
     "The colour map: viridis (the default for displacement), plasma, inferno, magma, cividis or coolwarm "
     "(the default for value, centred on 0) for displacement and value; tab10 (the default) or tab20 for code.",
     "the name of a colour map", set_colour_map},
    {"colour-range", "auto|frame|MIN:MAX",
     "The values the colour map spans: auto (the default), from the lowest to the highest over all drawn "
     "steps; frame, over each frame; or MIN:MAX.",
     "auto, frame or MIN:MAX with MIN below MAX", set_colour_range},
};

Status wrong_value(const SettingOption& option, const std::string& value) {
  return Status::invalid_argument("--" + std::string(option.name) + ": " +
                                  (option.expected != nullptr ? option.expected : "on or off") +
                                  " was expected, found \"" + value + "\"");
}

}  // namespace

std::span<const SettingOption> setting_options() { return kSettingOptions; }

const SettingOption* find_setting_option(std::string_view name) {
  for (const SettingOption& option : kSettingOptions)
    if (name == option.name) return &option;
  return nullptr;
}

Status check_setting_value(const SettingOption& option, const std::string& value) {
  ExportSettings probe;
  probe.settings = default_settings;
  return option.apply(value, INT32_MAX, &probe) ? Status::ok() : wrong_value(option, value);
}

Status export_settings(const ExportOptions& options, std::int32_t last_step, ExportSettings* result) {
  result->settings = default_settings;
  result->colour_scheme = kSchemeStandard;
  result->colouring = Colouring{};
  prepare_new_graph(result->settings, last_step);
  result->settings.frame_delay_ms = 0;
  for (const auto& [name, value] : options.fields) {
    const SettingOption* option = find_setting_option(name);
    if (option == nullptr) return Status::invalid_argument("unknown option --" + name);
    if (!option->apply(value, last_step, result)) return wrong_value(*option, value);
  }
  if (Status status = check_colouring(result->colouring); !status.is_ok()) return status;
  if (correct_frequency(result->settings)) result->notes.push_back(kInvalidFrequencyLine);
  return Status::ok();
}
