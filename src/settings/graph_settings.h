// GraphSettings: everything the user chooses about how a graph is drawn, and
// the process-wide working record that the dialogs edit.
//
// The working record, the colour-scheme number and the colour tables live for
// the whole process behind one mutex (SettingsGuard). Dialog callbacks edit the
// record field by field under the guard; an animation takes its own copy when
// its Graph Settings dialog is accepted. Never hold the guard across anything
// that blocks (a message box, a dialog, a sleep).
#pragma once

#include <array>
#include <cstdint>
#include "base/mutex.h"
#include "platform/gfx.h"

struct GraphSettings {
  bool reverse_vertical = false;
  bool reverse_y = false;
  bool reverse_x = false;
  bool show_node_indices = true;
  bool show_element_indices = false;
  bool show_grid_and_scale = true;
  Rgb line_colour = 0x000080;
  Rgb grid_colour = 0x00FF00;
  Rgb scale_colour = 0x800000;
  Rgb node_index_colour = 0x000000;
  Rgb element_index_colour = 0xFF00FF;
  Rgb text_colour = 0x800080;
  float min_size_factor = 1.0f;
  bool min_size_factor_auto = true;
  float displacement_factor = 1.0f;
  bool displacement_factor_auto = true;
  std::int32_t start_step = 0;
  std::int32_t end_step = 0;
  std::int32_t frame_delay_ms = 400;
  std::int32_t step_frequency = 1;
  std::int32_t time_output_item = 1;
  bool show_all_positions = false;
  bool show_time_output = true;
};

// The six colours in slot order: line, grid, scale, node index, element index, text.
using ColourTable = std::array<Rgb, 6>;

constexpr int kSchemeStandard = 1;
constexpr int kSchemeAllBlack = 2;
constexpr int kSchemeCustom = 3;

extern const GraphSettings default_settings;
extern const ColourTable standard_colours;
extern const ColourTable all_black_colours;

// Process-wide state of the settings subsystem.
struct SharedSettings {
  GraphSettings settings;
  std::int32_t colour_scheme = kSchemeStandard;
  ColourTable custom_colours{};                 // changed only by the custom colours dialog
  std::array<Rgb, 16> chooser_custom_colours{};  // the colour chooser's user cells
};

// Guards the process-wide settings state; taken through SettingsGuard.
extern Mutex settings_mutex;

// Holds the settings mutex for its lifetime and gives access to the state.
class SCOPED_CAPABILITY SettingsGuard {
 public:
  SettingsGuard() ACQUIRE(settings_mutex);
  ~SettingsGuard() RELEASE();
  SettingsGuard(const SettingsGuard&) = delete;
  SettingsGuard& operator=(const SettingsGuard&) = delete;
  SharedSettings* operator->() REQUIRES(settings_mutex);
  SharedSettings& operator*() REQUIRES(settings_mutex) { return *operator->(); }
};

// Start-up: the working record becomes a copy of default_settings, the scheme
// Standard, the custom table the Standard colours, the chooser cells black.
void settings_startup();

// A copy of the working record, taken under the guard.
GraphSettings settings_copy();

// New-graph preparation for a problem whose last stored step is `last_step`:
// end_step = last_step; step_frequency = last_step / 20 when last_step > 20,
// else 1. Other fields are left as they are.
void prepare_new_graph(GraphSettings& settings, std::int32_t last_step);

// The frequency check that follows an accepted Time Settings dialog: a
// step_frequency of 0, or one larger than the window of steps
// end_step - start_step + 1, becomes 1. Returns whether it was corrected;
// the caller then reports kInvalidFrequencyLine.
bool correct_frequency(GraphSettings& settings);
constexpr const char* kInvalidFrequencyLine = " * Invalid Frequency: Frequency set to 1";

// Copies a colour table into the six colour fields.
void set_colours(GraphSettings& settings, const ColourTable& table);
