#include "settings/graph_settings.h"

Mutex settings_mutex;

namespace {
SharedSettings shared_state GUARDED_BY(settings_mutex);
}  // namespace

const GraphSettings default_settings{};
const ColourTable standard_colours = {0x000080, 0x00FF00, 0x800000, 0x000000, 0xFF00FF, 0x800080};
const ColourTable all_black_colours = {0, 0, 0, 0, 0, 0};

SettingsGuard::SettingsGuard() { settings_mutex.lock(); }
SettingsGuard::~SettingsGuard() { settings_mutex.unlock(); }
SharedSettings* SettingsGuard::operator->() { return &shared_state; }

void settings_startup() {
  SettingsGuard guard;
  guard->settings = default_settings;
  guard->colour_scheme = kSchemeStandard;
  guard->custom_colours = standard_colours;
  guard->chooser_custom_colours.fill(kRgbBlack);
}

GraphSettings settings_copy() {
  SettingsGuard guard;
  return guard->settings;
}

void prepare_new_graph(GraphSettings& settings, std::int32_t last_step) {
  settings.end_step = last_step;
  settings.step_frequency = last_step > 20 ? last_step / 20 : 1;
}

bool correct_frequency(GraphSettings& settings) {
  // In 64 bits: the window of steps cannot overflow for any field values.
  const std::int64_t window = std::int64_t{settings.end_step} - settings.start_step + 1;
  if (settings.step_frequency != 0 && window >= settings.step_frequency) return false;
  settings.step_frequency = 1;
  return true;
}

void set_colours(GraphSettings& settings, const ColourTable& table) {
  settings.line_colour = table[0];
  settings.grid_colour = table[1];
  settings.scale_colour = table[2];
  settings.node_index_colour = table[3];
  settings.element_index_colour = table[4];
  settings.text_colour = table[5];
}
