#include "settings/colour_schemes.h"

#include "settings/dialog_templates.h"
#include "settings/graph_settings.h"

int colour_slot(int control_id) {
  if (control_id < kIdFirstColourButton || control_id > kIdLastColourButton) return -1;
  return control_id - kIdFirstColourButton;
}

void apply_colour_scheme(int item) {
  if (item == kSchemeCustom) {
    {
      SettingsGuard guard;
      guard->colour_scheme = kSchemeCustom;
    }
    show_custom_colours();  // no guard held: it waits for the user
    SettingsGuard guard;
    set_colours(guard->settings, guard->custom_colours);
    return;
  }
  SettingsGuard guard;
  if (item == kSchemeAllBlack) {
    guard->colour_scheme = kSchemeAllBlack;
    set_colours(guard->settings, all_black_colours);
  } else {
    guard->colour_scheme = kSchemeStandard;
    set_colours(guard->settings, standard_colours);
  }
}

void show_custom_colours() {
  Dialog dialog;
  dlg_init(custom_colours_template(), dialog);
  for (int id = kIdFirstColourButton; id <= kIdLastColourButton; ++id)
    dlg_set_callback(dialog, id, on_colour_button);
  dlg_run_modal(dialog);  // the closing button does not matter
  dlg_release(dialog);
}

void on_colour_button(Dialog& dialog, int control_id, int reason) {
  const int slot = colour_slot(control_id);
  if (slot < 0 || reason != kReasonClicked) return;
  Rgb colour = 0;
  std::array<Rgb, 16> cells{};
  {
    SettingsGuard guard;
    colour = guard->custom_colours[static_cast<std::size_t>(slot)];
    cells = guard->chooser_custom_colours;
  }
  Rgb chosen = colour;
  const bool accepted = dlg_choose_colour(dlg_owner_window(dialog), colour, &cells, &chosen);
  SettingsGuard guard;
  // The chooser may have changed its user cells, accepted or not.
  guard->chooser_custom_colours = cells;
  if (accepted) guard->custom_colours[static_cast<std::size_t>(slot)] = chosen;
}
