#include "export_options.h"

#include <charconv>
#include <cmath>
#include <climits>
#include <cstdio>
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

bool takes_value(const std::string& name) {
  for (const IntegerField& f : kIntegers)
    if (name == f.name) return true;
  return name == "displacement-factor" || name == "min-size-factor" || name == "colour-scheme" ||
         name == "language";
}

bool is_switch(const std::string& name) {
  for (const Switch& s : kSwitches)
    if (name == s.name || name == std::string("no-") + s.name) return true;
  return false;
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

std::string export_usage() {
  return "usage: veltra-export DIR --out FOLDER [--size WxH] [--frame J]\n"
         "  [--start-step N] [--end-step N] [--step-frequency N] [--time-output-item N]\n"
         "  [--displacement-factor X|auto] [--min-size-factor X|auto] [--frame-delay-ms N]\n"
         "  [--[no-]reverse-vertical] [--[no-]reverse-y] [--[no-]show-node-indices]\n"
         "  [--[no-]show-element-indices] [--[no-]show-grid-and-scale]\n"
         "  [--[no-]show-time-output] [--[no-]show-all-positions]\n"
         "  [--colour-scheme standard|all-black] [--language english|romanian]\n"
         "Renders the frames of the result folder DIR to FOLDER/frame-0000.png, ...\n";
}

Status parse_export_options(const std::vector<std::string>& args, ExportOptions* options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string* out) -> bool {
      if (i + 1 >= args.size()) return false;
      *out = args[++i];
      return true;
    };
    if (arg == "-platform") {
      if (!value(&options->platform)) return Status::invalid_argument("-platform: a platform name was expected");
      continue;
    }
    if (arg.rfind("--", 0) != 0) {
      if (!options->folder.empty()) return Status::invalid_argument("more than one result folder: " + arg);
      options->folder = arg;
      continue;
    }
    const std::string name = arg.substr(2);
    std::string v;
    if (name == "out") {
      if (!value(&options->out)) return Status::invalid_argument("--out: a folder was expected");
    } else if (name == "size") {
      int w = 0, h = 0;
      char x = 0, rest = 0;
      if (!value(&v) || std::sscanf(v.c_str(), "%d%c%d%c", &w, &x, &h, &rest) != 3 || x != 'x' || w < 1 ||
          h < 1 || w > 16000 || h > 16000)
        return Status::invalid_argument("--size: WIDTHxHEIGHT was expected, found \"" + v + "\"");
      options->width = w;
      options->height = h;
    } else if (name == "frame") {
      if (!value(&v) || !read_integer(v, &options->only_frame) || options->only_frame < 0)
        return Status::invalid_argument("--frame: a frame number from 0 was expected, found \"" + v + "\"");
    } else if (takes_value(name)) {
      if (!value(&v)) return Status::invalid_argument(arg + ": a value was expected");
      options->fields.emplace_back(name, v);
    } else if (is_switch(name)) {
      options->fields.emplace_back(name, "");
    } else {
      return Status::invalid_argument("unknown option " + arg);
    }
  }
  if (options->folder.empty()) return Status::invalid_argument("no result folder given");
  if (options->out.empty()) return Status::invalid_argument("no output folder given (--out FOLDER)");
  // Check the values now, so that a typing error is told before any reading.
  ExportSettings probe;
  return export_settings(*options, INT32_MAX, &probe);
}

Status export_settings(const ExportOptions& options, std::int32_t last_step, ExportSettings* result) {
  result->settings = default_settings;
  result->colour_scheme = kSchemeStandard;
  prepare_new_graph(result->settings, last_step);
  for (const auto& [name, value] : options.fields) {
    Status status = apply_field(name, value, last_step, result);
    if (!status) return status;
  }
  if (correct_frequency(result->settings)) result->notes.push_back(kInvalidFrequencyLine);
  return Status::ok();
}
