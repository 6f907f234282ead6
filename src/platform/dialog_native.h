// The part of the dialog layer that each window-system layer supplies.
//
// dialog_record.cpp keeps the Dialog record; while a dialog runs
// (dialog.native != nullptr) every change the program makes to a control is
// passed on here so that the shown control follows it at once.
#pragma once

#include "platform/dlg.h"

// Shows the record's current values of `control` in the running dialog.
// Called on the thread that runs the dialog's callbacks.
void dlg_native_sync(Dialog& dialog, const DialogControl& control);
