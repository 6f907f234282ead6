// --colour-by, --colour-map and --colour-range of veltra-export, read into
// the Colouring of the drawing code (render/colouring.h).
#pragma once

#include <string>

#include "base/status.h"
#include "render/colouring.h"

struct ColourOptions {
  std::string by;     // displacement, value or code; empty: no colouring
  std::string map;    // a map's name; empty: the quantity's own
  std::string range;  // auto, frame or MIN:MAX; empty: auto
};

// Checks the three options together and fills `colouring`; an error names
// the option and what it expected.
Status read_colour_options(const ColourOptions& options, Colouring* colouring);

// The help texts of the three options.
std::string colour_by_help();
std::string colour_map_help();
std::string colour_range_help();
