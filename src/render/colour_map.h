// The colour maps an element can be coloured with: tables of packed colours
// compiled in from the data files of colour_maps/ (their source and licence
// are noted there).
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/gfx.h"

enum class ColourMapKind {
  sequential,   // from low to high, for magnitudes
  diverging,    // two hues meeting at the middle entry, for values signed about 0
  qualitative,  // distinct colours, one a code
};

struct ColourMap {
  const char* name;
  ColourMapKind kind;
  const Rgb* colours;  // packed 0x00BBGGRR, first entry the low end
  int count;           // 256 for sequential and diverging maps
};

// Every map, in the order of colour_maps/index.csv.
std::span<const ColourMap> colour_maps();

// The map of that name (exact, lower case); nullptr when there is none.
const ColourMap* find_colour_map(std::string_view name);

// The names of the maps of `kind`, separated by ", ", for messages and help.
std::string colour_map_names(ColourMapKind kind);
