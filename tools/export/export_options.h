// What veltra-export is asked to do: which result folder, where the frames
// go (a PNG folder, a movie or both), at what size, and every field of the
// settings record a graph is drawn with. The command line itself is read in
// export_command_line.h.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/status.h"
#include "colour_options.h"
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
  std::string platform;          // -platform NAME, handed to the window system
  ColourOptions colour;          // --colour-by, --colour-map, --colour-range
  // The settings options in the order given, as (option name without "--",
  // value; empty for the logical switches).
  std::vector<std::pair<std::string, std::string>> fields;
};

// The settings options that take a value, and the logical switches (each
// also as no-NAME), by name without "--", for the command line.
std::vector<std::string> export_value_fields();
std::vector<std::string> export_switch_fields();

// Checks one settings option given on the command line, before any reading.
Status check_export_field(const std::string& name, const std::string& value);

// What a graph of the export is drawn with.
struct ExportSettings {
  GraphSettings settings;
  std::int32_t colour_scheme = kSchemeStandard;
  bool romanian_messages = false;
  std::vector<std::string> notes;  // lines for stderr (the frequency check)
};

// A first graph's settings for a problem whose last stored step is
// `last_step`: the defaults with the new-graph end step and frequency and no
// frame delay (a file is written, nobody watches), then
// the options in order (an end step beyond the last step is cut to it, as the
// Time Settings dialog does; a zero factor counts as Auto, as the Graph
// Settings dialog does), then the frequency check.
Status export_settings(const ExportOptions& options, std::int32_t last_step, ExportSettings* result);
