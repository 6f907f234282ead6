// The Time Settings dialog (template 106): which time steps are drawn and how
// fast, and the frequency check that follows it.
#pragma once

#include <cstdint>

#include "input/problem.h"
#include "platform/dlg.h"
#include "settings/dialog_end.h"

// What a running Time Settings dialog knows of its run (Dialog::context).
struct TimeSettingsContext {
  std::int32_t step_count = 0;  // the last stored step as the run holds it
  float end_time = 0;
};

// Shows the Time Settings dialog for `problem` in a dialog object of its own:
// the fields Start Time ("0."), End Time (control.end_time) and No. of Steps
// (control.step_count, the last stored step) for information, and Start Step,
// End Step, Frequency and Delay from the working settings. Whatever closes the
// dialog, the four edit fields are read back into the settings
// (on_time_settings_changed). Returns DialogEnd::cancelled when the dialog
// was closed with Cancel (time_settings_cancelled); a dialog that could not be
// shown counts as accepted. Blocks the calling thread while the dialog runs.
DialogEnd show_time_settings(const Problem& problem);
DialogEnd show_time_settings(std::int32_t step_count, float end_time);

// Callback of the four edit fields: reads Start Step, End Step (cut to the
// step count of the dialog's TimeSettingsContext), Frequency and Delay as
// integers into the working settings.
void on_time_settings_changed(Dialog& dialog, int control_id, int reason);

// The frequency check run after an accepted Time Settings dialog: when
// step_frequency is 0 or exceeds end_step - start_step + 1, writes
// " * Invalid Frequency: Frequency set to 1" to the info window (unit 9) and
// sets step_frequency to 1. Returns whether it corrected the frequency.
bool check_frequency();
