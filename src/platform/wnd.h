// Windows, menus, messages, sounds and the end of the program.
//
// The runtime owns one frame window with a menu bar and child windows bound to
// unit numbers (9 the info window, 10 upwards graph windows). It runs a window
// thread (the GUI thread) that dispatches menu and mouse routines; the program
// itself runs on a thread of its own (wnd_runtime_main). Every operation here
// may be called from any thread; the runtime serialises them internally.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The frame window, for wnd_set_size.
constexpr int kFrameWindow = -1;

// The units of the program's child windows: the info window, and the first
// of the graph windows (one unit each from here on).
constexpr int kInfoUnit = 9;
constexpr int kFirstGraphUnit = 10;

// Window size states of WindowSize::state.
constexpr std::int16_t kSizeMinimised = 1;
constexpr std::int16_t kSizeMaximised = 2;
constexpr std::int16_t kSizeRestored = 3;
constexpr std::int16_t kSizePlaced = 4;

struct WindowSize {
  std::int16_t state = kSizeMaximised;
  std::int16_t x = 0;
  std::int16_t y = 0;
  std::int16_t height = 0;
  std::int16_t width = 0;
};

// What wnd_get_config reports of the calling thread's current window.
struct WindowConfig {
  std::int16_t width = 0;         // drawing area, pixels
  std::int16_t height = 0;
  std::int16_t text_columns = 0;  // cells of the window's cell font
  std::int16_t text_rows = 0;
  std::int32_t colours = 0;
  std::int32_t font_size = 0;
  std::string title;
  std::int32_t bits_per_pixel = 0;
};

// Menu flags, summed.
constexpr int kMenuGreyed = 1;
constexpr int kMenuDisabled = 2;
constexpr int kMenuEnabled = 4;
constexpr int kMenuSeparator = 8;
constexpr int kMenuChecked = 16;
constexpr int kMenuUnchecked = 32;

// The menu bar as the program finds it: the runtime's six top-level menus, the
// last of them Help with the items Contents, Using Help and About. The
// program's own menu goes after them.
constexpr int kRuntimeMenuCount = 6;
constexpr int kHelpMenu = 6;
constexpr int kHelpContents = 1;
constexpr int kHelpUsingHelp = 2;
constexpr int kHelpAbout = 3;
constexpr int kProgramMenu = kRuntimeMenuCount + 1;

// Called on the GUI thread when a menu item is chosen, with its checked state.
using MenuRoutine = void (*)(bool checked);

// The two predefined routines: nothing, and the runtime's exit (the process
// ends at once, whatever threads are running).
void wnd_menu_no_action(bool checked);
void wnd_menu_exit_action(bool checked);

// Mouse events (mask bits).
constexpr int kMouseLeftDown = 1;
constexpr int kMouseLeftUp = 2;
constexpr int kMouseLeftDoubleClick = 4;
constexpr int kMouseRightDown = 8;
constexpr int kMouseRightUp = 16;
constexpr int kMouseRightDoubleClick = 32;
constexpr int kMouseMove = 64;

// Called on the GUI thread for each event of the registered mask.
using MouseRoutine = void (*)(int unit, int event, int key_state, int x, int y);

// Message box styles and results.
constexpr int kBoxOk = 0;                  // OK only
constexpr int kBoxRetryCancelError = 21;   // error icon, Retry and Cancel
constexpr int kBoxWarningOk = 48;          // warning icon, OK
constexpr int kBoxInformationOk = 64;      // information icon, OK
constexpr int kBoxQuestionYesNo = 36;      // question icon, Yes and No (the end prompt)
constexpr int kBoxResultOk = 1;
constexpr int kBoxResultCancel = 2;
constexpr int kBoxResultRetry = 4;
constexpr int kBoxResultYes = 6;
constexpr int kBoxResultNo = 7;

// What kind of child window wnd_open_child makes.
enum class ChildKind {
  text,   // lines of text (wnd_write_line); gfx_out_text appends to the last line
  graph,  // a retained picture for the gfx_ operations
};

// Entry point of the runtime: creates the frame window, starts `program` on a
// thread of its own and runs the window thread until the frame window closes.
// When `program` returns, the end prompt of wnd_end_program(0) is shown.
// Returns the process exit code.
int wnd_runtime_main(int argc, char** argv, void (*program)());

// Graph windows opened after this call get a drawing area of exactly
// width x height pixels instead of the size they have maximised in the frame
// window (used by tools that render without a screen). 0, 0 restores the
// default.
void wnd_set_graph_area_size(int width, int height);

// state kSizeMaximised maximises the frame window (kFrameWindow) or a child.
int wnd_set_size(int unit, const WindowSize& size);

// Opens a child window bound to `unit` with that caption; it becomes the
// calling thread's current window. Returns when the window exists.
void wnd_open_child(int unit, std::string_view title, ChildKind kind = ChildKind::graph);

// Disconnects the unit. With keep the window stays on screen, "-Closed" is
// appended to its caption and its system menu gains "&Close\tCtrl+F4", which
// removes it; without keep the window is destroyed.
void wnd_close_child(int unit, bool keep);

// false when the calling thread has no current window.
bool wnd_get_config(WindowConfig* config);

// Makes the unit's window the calling thread's current window (no focus).
bool wnd_set_active(int unit);

// Menus are numbered from 1, items from 1; item 0 is the top-level menu.
// An item text without "&" gets one in front of its first character.
bool wnd_menu_insert(int menu, int item, int flags, std::string_view text, MenuRoutine routine);
bool wnd_menu_append(int menu, int flags, std::string_view text, MenuRoutine routine);
bool wnd_menu_set_flags(int menu, int item, int flags);

// The text of Help / About; line feeds separate lines (at most 512 characters).
bool wnd_set_about_text(std::string_view text);

// Registers `routine` for the events of `mask` in the unit's window. Returns
// whether a routine was registered before.
bool wnd_register_mouse_event(int unit, int mask, MouseRoutine routine);

// Appends a line to the unit's text window and scrolls it into view.
void wnd_write_line(int unit, std::string_view line);

// A modal box with no owner: it blocks only the calling thread (modal on the
// GUI thread when called there). Called from a dialog's callback, the box is
// owned by that dialog and holds it and the frame window, while other runs'
// file choosers and boxes stay usable. Returns the button pressed (kBoxResult...).
int wnd_message_box(std::string_view text, std::string_view caption, int style);

// A tone of `frequency_hz` for `duration_ms` through the sound system (the
// system bell when there is none; silent on headless platforms); returns
// after `duration_ms`.
void wnd_beep(int frequency_hz, int duration_ms);

// Suspends the calling thread; a negative value does not sleep.
void wnd_sleep(int milliseconds);

// Ends the program: exit handlers, program menu items greyed, then the prompt
// "Program Terminated with exit code N" / "Exit Window?" (Yes, No default).
// Yes closes the frame window and ends the process; No keeps every window
// until the user closes the frame window. On a thread other than the GUI
// thread this call never returns.
void wnd_end_program(int exit_code);

// As wnd_end_program(0), after showing `text` to the user.
void wnd_stop_with_message(std::string_view text);

// Closes the frame window and ends the process with `exit_code` at once,
// without a prompt (the EXIT item; tools that render without a screen).
[[noreturn]] void wnd_quit(int exit_code);

// Saves the current picture of the unit's graph window as a PNG file.
bool wnd_save_image(int unit, std::string_view path);

// A copy of a graph window's picture: rows top to bottom, each pixel one
// word 0xFFRRGGBB.
struct WndImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // width * height words
};

// Copies the current picture of the unit's graph window into `image`; false
// when the unit has no graph window.
bool wnd_copy_image(int unit, WndImage* image);

// Whether the calling thread is the GUI thread.
bool wnd_on_gui_thread();
