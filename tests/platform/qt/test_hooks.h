// Hooks for the layer's own tests: start the runtime without a program,
// look at what the user sees, and act as the user would. Not for the program.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

class QDialog;
class QFileDialog;
class QMessageBox;
class QWidget;

namespace qt_test {

// Creates the frame window with the runtime menus (GUI thread, QApplication
// existing), as wnd_runtime_main does before it starts the program.
void start_runtime();
// Deletes the frame window with every child window (GUI thread).
void stop_runtime();

// Runs `work` on the GUI thread and waits for it.
void on_gui(const std::function<void()>& work);

// Polls `condition` on the GUI thread until it holds or `timeout_ms` passes.
bool wait_for(const std::function<bool()>& condition, int timeout_ms = 5000);

// Menus as shown: counts, item texts, whether an item can be chosen.
int menu_count();
int item_count(int menu);
QString menu_title(int menu);
QString item_text(int menu, int item);
bool item_enabled(int menu, int item);  // the action can be triggered
bool item_checked(int menu, int item);
bool menu_enabled(int menu);
// Chooses an item as the user would (on the GUI thread); false when refused.
bool choose_menu(int menu, int item);
QString about_text();

// The picture of the unit's graph window; the caption of its window; the
// lines of a text window with the colour of each.
QImage graph_image(int unit);
QString window_title(int unit);
QStringList text_lines(int unit);
QList<QColor> text_colours(int unit);
// The texts of the unit's window system menu.
QStringList system_menu_texts(int unit);

// The innermost running template dialog, and a control of it by id (the edit
// part of a simple combo box); both on the GUI thread only.
QDialog* running_dialog();
QWidget* dialog_control(int id);

// How many beeps have sounded (and returned) so far.
int beep_count();

// The visible message box shown most recently, or nullptr (GUI thread).
QMessageBox* open_message_box();

// The visible file chooser, or nullptr (GUI thread).
QFileDialog* open_file_chooser();

// Whether the innermost running template dialog is visible with this title
// (any thread).
bool dialog_titled(const char* title);

}  // namespace qt_test
