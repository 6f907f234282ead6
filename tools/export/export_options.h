// What veltra-export is asked to do: which result folder, where the frames
// go (a PNG folder, a movie, a ParaView series), at what size, every field of
// the settings record a graph is drawn with and the colouring of its
// elements. The settings options are one table
// (setting_options), which the command line (export_command_line.h) reads
// its options, their help and their checks from, and which export_settings
// applies.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/status.h"
#include "render/colouring.h"
#include "settings/graph_settings.h"

struct ExportOptions {
  std::string folder;            // the result folder
  std::string out;               // where frame-NNNN.png go; empty for none
  std::string movie;             // the movie file (.mp4, .webm, .gif); empty for none
  std::string vtk;               // the ParaView collection (.pvd); empty for none
  int fps = 10;                  // frames a second of the movie
  bool quiet = false;            // no progress on stderr
  int width = 1280;              // drawing area in pixels
  int height = 800;
  std::int64_t only_frame = -1;  // --frame J
  std::string platform;          // --platform NAME, handed to the window system
  // The settings options in the order given, as (option name without "--",
  // value; "on" or "off" for a switch).
  std::vector<std::pair<std::string, std::string>> fields;
};

// What a graph of the export is drawn with.
struct ExportSettings {
  GraphSettings settings;
  std::int32_t colour_scheme = kSchemeStandard;
  bool romanian_messages = false;
  Colouring colouring;             // --colour-by, --colour-map, --colour-range
  std::vector<std::string> notes;  // lines for stderr (the frequency check)
};

// One option that sets a field of what the graph is drawn with.
struct SettingOption {
  const char* name;        // without "--"
  const char* value_name;  // nullptr for a switch, which also comes as --no-NAME
  const char* help;
  const char* expected;    // what a value must be, for the error line
  // Sets the field from `value` ("on" or "off" for a switch) for a problem
  // whose last stored step is `last_step`; false for a value it does not take.
  bool (*apply)(const std::string& value, std::int32_t last_step, ExportSettings* settings);
};

// Every settings option, in the order --help lists them.
std::span<const SettingOption> setting_options();

// The settings option called `name`; nullptr when there is none.
const SettingOption* find_setting_option(std::string_view name);

// Whether `value` is one the option takes, before any file is read:
// invalid_argument "--NAME: EXPECTED was expected, found "VALUE"" otherwise.
Status check_setting_value(const SettingOption& option, const std::string& value);

// A first graph's settings for a problem whose last stored step is
// `last_step`: the defaults with the new-graph end step and frequency and no
// frame delay (a file is written, nobody watches), then
// the options in order (an end step beyond the last step is cut to it, as the
// Time Settings dialog does; a zero factor counts as Auto, as the Graph
// Settings dialog does), then the frequency check and the check that the
// colour options go together (a map that fits the quantity, a map or range
// only with --colour-by).
Status export_settings(const ExportOptions& options, std::int32_t last_step, ExportSettings* result);
