#include "export_options.h"

#include <charconv>
#include <cmath>
#include <climits>
#include <cstdlib>

namespace {

// Logical fields, each with --NAME and --no-NAME.
struct Switch {
  const char* name;
  bool GraphSettings::*field;
};
constexpr Switch kSwitches[] = {
    {"reverse-vertical", &GraphSettings::reverse_vertical},
    {"reverse-y", &GraphSettings::reverse_y},
    {"show-node-indices", &GraphSettings::show_node_indices},
    {"show-element-indices", &GraphSettings::show_element_indices},
    {"show-grid-and-scale", &GraphSettings::show_grid_and_scale},
    {"show-time-output", &GraphSettings::show_time_output},
    {"show-all-positions", &GraphSettings::show_all_positions},
};

struct IntegerField {
  const char* name;
  std::int32_t GraphSettings::*field;
};
constexpr IntegerField kIntegers[] = {
    {"start-step", &GraphSettings::start_step},
    {"end-step", &GraphSettings::end_step},
    {"step-frequency", &GraphSettings::step_frequency},
    {"time-output-item", &GraphSettings::time_output_item},
    {"frame-delay-ms", &GraphSettings::frame_delay_ms},
};

bool read_integer(const std::string& text, std::int64_t* value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, *value);
  return ec == std::errc() && ptr == end;
}

bool read_real(const std::string& text, float* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  *value = std::strtof(text.c_str(), &end);
  return end == text.c_str() + text.size() && std::isfinite(*value);
}

Status apply_field(const std::string& name, const std::string& value, std::int32_t last_step, ExportSettings* r) {
  GraphSettings& s = r->settings;
  for (const Switch& sw : kSwitches) {
    if (name == sw.name) {
      s.*sw.field = true;
      return Status::ok();
    }
    if (name == std::string("no-") + sw.name) {
      s.*sw.field = false;
      return Status::ok();
    }
  }
  for (const IntegerField& f : kIntegers) {
    if (name != f.name) continue;
    std::int64_t v = 0;
    if (!read_integer(value, &v) || v < INT32_MIN || v > INT32_MAX)
      return Status::invalid_argument("--" + name + ": an integer was expected, found \"" + value + "\"");
    s.*f.field = static_cast<std::int32_t>(v);
    if (name == "end-step" && s.end_step > last_step) s.end_step = last_step;
    return Status::ok();
  }
  if (name == "displacement-factor" || name == "min-size-factor") {
    const bool displacement = name == "displacement-factor";
    float v = 0;
    if (value != "auto" && !read_real(value, &v))
      return Status::invalid_argument("--" + name + ": a number or auto was expected, found \"" + value + "\"");
    const bool automatic = value == "auto" || v == 0 || v == 1;
    if (displacement) {
      s.displacement_factor_auto = automatic;
      s.displacement_factor = automatic ? 1.0f : v;
    } else {
      s.min_size_factor_auto = automatic;
      if (!automatic) s.min_size_factor = v;
    }
    return Status::ok();
  }
  if (name == "colour-scheme") {
    if (value == "standard") {
      r->colour_scheme = kSchemeStandard;
      set_colours(s, standard_colours);
    } else if (value == "all-black") {
      r->colour_scheme = kSchemeAllBlack;
      set_colours(s, all_black_colours);
    } else {
      return Status::invalid_argument("--colour-scheme: standard or all-black was expected, found \"" + value + "\"");
    }
    return Status::ok();
  }
  if (name == "language") {
    if (value != "english" && value != "romanian")
      return Status::invalid_argument("--language: english or romanian was expected, found \"" + value + "\"");
    r->romanian_messages = value == "romanian";
    return Status::ok();
  }
  return Status::invalid_argument("unknown option --" + name);
}

}  // namespace

std::vector<std::string> export_value_fields() {
  std::vector<std::string> names;
  for (const IntegerField& f : kIntegers) names.emplace_back(f.name);
  for (const char* name : {"displacement-factor", "min-size-factor", "colour-scheme", "language"})
    names.emplace_back(name);
  return names;
}

std::vector<std::string> export_switch_fields() {
  std::vector<std::string> names;
  for (const Switch& s : kSwitches) names.emplace_back(s.name);
  return names;
}

Status check_export_field(const std::string& name, const std::string& value) {
  ExportSettings probe;
  probe.settings = default_settings;
  return apply_field(name, value, INT32_MAX, &probe);
}

Status export_settings(const ExportOptions& options, std::int32_t last_step, ExportSettings* result) {
  result->settings = default_settings;
  result->colour_scheme = kSchemeStandard;
  prepare_new_graph(result->settings, last_step);
  result->settings.frame_delay_ms = 0;
  for (const auto& [name, value] : options.fields) {
    Status status = apply_field(name, value, last_step, result);
    if (!status.is_ok()) return status;
  }
  if (correct_frequency(result->settings)) result->notes.push_back(kInvalidFrequencyLine);
  return Status::ok();
}
