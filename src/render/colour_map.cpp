#include "render/colour_map.h"

#include <string>

namespace {

#include "colour_map_data.inc"

}  // namespace

std::span<const ColourMap> colour_maps() { return kColourMaps; }

const ColourMap* find_colour_map(std::string_view name) {
  for (const ColourMap& map : kColourMaps)
    if (name == map.name) return &map;
  return nullptr;
}

std::string colour_map_names(ColourMapKind kind) {
  std::string names;
  for (const ColourMap& map : kColourMaps) {
    if (map.kind != kind) continue;
    if (!names.empty()) names += ", ";
    names += map.name;
  }
  return names;
}
