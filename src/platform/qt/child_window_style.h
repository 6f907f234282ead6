// The application style, with one change: the title bar of a child window
// that is bound to its unit, and the window controls in the menu bar while it
// is maximised, show no close button (it cannot be closed until its unit is
// closed with keep). Install once on the GUI thread.
#pragma once

class QWidget;

namespace qtl {

void install_child_window_style();

// Marks a child window as bound (no close button) or not.
void set_closable(QWidget* sub_window, bool closable);

}  // namespace qtl
