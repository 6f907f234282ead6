// The Graph Settings dialog (template 101): axis orientation, what is drawn,
// the colour scheme, where the time label goes and the two factors.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "input/problem.h"
#include "platform/dlg.h"
#include "settings/dialog_end.h"

// What a running Graph Settings dialog knows of its run (Dialog::context).
struct GraphSettingsContext {
  const Problem* problem = nullptr;
  std::string title;  // the text shown in 1011
};

// Shows the Graph Settings dialog for `problem` in a dialog object of its own,
// with the first `graph_title_length` characters of `graph_title` (at most
// 80; a negative length shows nothing) as its title line. The controls start
// from the working settings; the factor fields start from "Auto" and "1"
// whatever the settings hold, and the two factors are set to what those texts
// mean (both automatic, the displacement factor 1), so that what is drawn is
// what the fields show. Every change the user makes is stored at once by
// on_graph_settings_changed. Returns DialogEnd::cancelled when the dialog
// was closed with Cancel (graph_settings_cancelled); DRAW, or a dialog that
// could not be shown, is accepted. Blocks the calling thread while the dialog
// runs.
DialogEnd show_graph_settings(const Problem& problem, std::string_view graph_title,
                         std::int32_t graph_title_length);

// The callback of every editable control of the dialog: reads the check
// boxes, the time-output list and both factor texts into the working
// settings, rewrites the check boxes' captions, shows the "Settings Message"
// hints and the zero-factor warnings, and applies the colour scheme when the
// scheme list called.
void on_graph_settings_changed(Dialog& dialog, int control_id, int reason);

// Captions of the state check boxes: "ON " / "OFF", and "YES" / "NO ".
std::string_view on_off_caption(bool value);
std::string_view yes_no_caption(bool value);

// The reading of a factor field's text (cut to 10 characters).
enum class FactorText {
  automatic,  // "Auto", "1", "1." or "1.0"
  zero,       // "0", "0.", "0.0" or ".0": refused
  number,     // anything else: its numeric prefix
};
FactorText classify_factor_text(std::string_view text);
