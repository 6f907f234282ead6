// Colour schemes (Standard, All Black, Custom) and the custom colours dialog
// (template 108) with the system colour chooser.
#pragma once

#include "platform/dlg.h"

// Applies item `item` of the scheme list to the working settings: 1 Standard,
// 2 All Black, 3 Custom (first runs the custom colours dialog, then copies the
// custom table), anything else Standard. Sets colour_scheme to the scheme
// applied and replaces all six colour fields. Blocks while the custom colours
// dialog runs; holds the settings guard only while copying.
void apply_colour_scheme(int item);

// Runs the custom colours dialog modally in a dialog object of its own; when
// called from a callback of a running dialog it is owned by that dialog.
// Whatever closes it, the custom table stands as the buttons left it.
void show_custom_colours();

// Callback of the six colour buttons 1040 to 1045: on a click opens the colour
// chooser owned by the custom colours dialog, on the slot's present custom
// colour, with the sixteen user cells kept for the program run; an accepted
// colour becomes the slot's custom colour, a cancelled chooser keeps it.
void on_colour_button(Dialog& dialog, int control_id, int reason);

// The colour slot (0 line .. 5 text) of a colour button, -1 for other ids.
int colour_slot(int control_id);
