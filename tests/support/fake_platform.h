// The recording substitute layer: gfx.h, wnd.h and dlg.h without a window
// system, for tests.
//
// It records every operation with its arguments and answers message boxes,
// the file chooser, the colour chooser and dialogs from scripts that the test
// gives beforehand. All of it is safe to use from several threads at once.
// Call fake::reset() at the start of every test.
//
// Fake metrics: a graph window's drawing area is 1000 x 700 pixels unless
// set_window_size says otherwise; cells are 8 x 16 pixels (so 125 columns and
// 43 rows); text windows report the same. A font chosen with "h<N>" is N pixels
// high (16 when no height is given), its ascent is N * 4 / 5 (rounded down),
// its average character width N / 2 (rounded down) and every character is that
// wide. The world window maps onto the drawing area as the real layer does.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dlg.h"
#include "platform/gfx.h"
#include "platform/wnd.h"

namespace fake {

// Forgets everything recorded, every script and every window, menu, routine
// and setting.
void reset();

// ---- Windows and drawing ----------------------------------------------------

// Size of the drawing area reported for windows opened afterwards.
void set_window_size(int width, int height);

// One recorded drawing operation. `op` is the operation's name without the
// gfx_ prefix ("set_window", "clear", "set_colour", "set_background_colour",
// "set_text_colour", "move_to", "line_to", "set_line_style", "set_fill_mask",
// "polygon", "rectangle", "ellipse", "init_fonts", "set_font",
// "out_graphic_text", "set_text_position", "out_text").
// args, by op: set_window: y_up (1/0), x1, y1, x2, y2 as given; the colour ops:
// rgb; move_to, line_to: x, y; set_line_style: mask; set_fill_mask: the 8
// bytes; polygon: mode, count, then x, y of every vertex; rectangle and
// ellipse: mode, x1, y1, x2, y2; set_text_position: row, column. text: the
// option string of set_font, the text of out_graphic_text and out_text.
// For out_graphic_text, args holds the current position (x, y) where the text
// was drawn.
struct GfxCall {
  std::string op;
  std::vector<double> args;
  std::string text;
};

// Everything drawn into the window of `unit`, in order (also after the window
// was closed).
std::vector<GfxCall> gfx_calls(int unit);
// Forgets the calls recorded for `unit` so far.
void clear_gfx_calls(int unit);

// The lines of a text window: each wnd_write_line, and each gfx_out_text into
// a text window, is one entry.
std::vector<std::string> lines(int unit);

struct ChildRecord {
  int unit = 0;
  std::string title;  // the caption, with "-Closed" once closed with keep
  ChildKind kind = ChildKind::graph;
  bool open = true;   // the unit is connected
  bool on_screen = true;
  WindowSize size;    // the last wnd_set_size
};
// Every child window opened, in order of opening.
std::vector<ChildRecord> children();

// ---- Menus ------------------------------------------------------------------

struct MenuItemRecord {
  std::string text;  // after the "&" rule
  int flags = 0;
  MenuRoutine routine = nullptr;
};
// menus()[m - 1][0] is top-level menu m itself, [i] its item i. The six
// runtime menus exist from the start ("&File", "&Edit", "&View", "&State",
// "&Window", "&Help"; Help holds "&Contents", "Using &Help", "&About").
std::vector<std::vector<MenuItemRecord>> menus();

// Chooses item `item` of menu `menu` as the user would: refused (false) when
// the item or its top-level menu is greyed or disabled, or is a separator.
// The routine runs on the calling thread, which then counts as the GUI thread
// for as long as it runs.
bool choose_menu(int menu, int item);

std::string about_text();

// Raises the routine registered for left double-clicks in the unit's window;
// false when none is registered.
bool double_click(int unit);

// ---- Messages, sounds, sleeping, the end ------------------------------------

struct BoxRecord {
  std::string text;
  std::string caption;
  int style = 0;
  int result = 0;
};
// Answers for the next message boxes, in order. With no answer queued a box is
// answered kBoxResultOk, a Retry/Cancel box kBoxResultCancel, a Yes/No box
// kBoxResultNo.
void push_box_answer(int result);
std::vector<BoxRecord> message_boxes();

struct BeepRecord {
  int frequency_hz = 0;
  int duration_ms = 0;
};
std::vector<BeepRecord> beeps();

// Sleeps are real but shortened to at most `max_ms` each (default 5 ms).
void set_max_sleep(int max_ms);
// Every wnd_sleep argument, in order.
std::vector<int> sleeps();

// Exit code of the first wnd_end_program / wnd_stop_with_message, if any.
std::optional<int> ended_with();
// The text of wnd_stop_with_message, if one was called.
std::optional<std::string> stop_message();
// wnd_end_program on a thread other than the GUI thread blocks that thread
// for the rest of the test process, as the real layer never returns there.

// Waits up to `timeout_ms` for `condition` to hold, checking every few ms.
bool wait_until(const std::function<bool()>& condition, int timeout_ms = 5000);

// ---- Choosers ---------------------------------------------------------------

// Answers for the next file choosers: a path, or std::nullopt for Cancel.
// With none queued the chooser is cancelled.
void push_file_choice(std::optional<std::string> path);
// Every request the file chooser was given, in order.
std::vector<FileChooserRequest> file_requests();

struct ColourRequest {
  void* owner = nullptr;
  Rgb initial = 0;
  std::array<Rgb, 16> custom_cells{};
};
// Answers for the next colour choosers: a colour, or std::nullopt for Cancel;
// `cells`, when given, replaces the sixteen user cells as the user would.
// With none queued the chooser is cancelled.
void push_colour_choice(std::optional<Rgb> colour,
                        std::optional<std::array<Rgb, 16>> cells = std::nullopt);
std::vector<ColourRequest> colour_requests();

// ---- Dialogs ----------------------------------------------------------------

// One user action in a running dialog. Each raises the callbacks the real
// layer would raise:
//   set_text: an edit field or a combo's edit part gets the text as if typed
//     (kReasonChanged for an edit, kReasonUpdate for a combo), once;
//   click: a check box toggles and raises kReasonClicked; a push button raises
//     kReasonClicked, and buttons 1 and 2 without a callback of their own close
//     the dialog with their id;
//   choose: a list box, drop-down list or combo list selects item n
//     (1-based) and raises kReasonSelChange; a combo also takes the item's
//     text into its edit part;
//   close: the dialog closes with that button id, raising nothing.
// Actions the user could not take are ignored and recorded as refused: on a
// control that is absent, disabled, hidden (kStyleHidden) or of a kind the
// action does not apply to, choosing an item out of range, and every action
// after the dialog has closed.
struct Action {
  enum Kind { set_text, click, choose, close } kind = click;
  int id = 0;
  std::string text;
  int item = 0;
};
Action set_text(int id, std::string text);
Action click(int id);
Action choose(int id, int item);
Action close(int id);

// Script for the next dialog run of template `template_number`. Dialogs run
// with no script queued close with button 1 once they open. A script that
// ends without closing the dialog closes it with button 1.
void push_dialog_script(int template_number, std::vector<Action> actions);

// Each dialog run: the record when the run started (before any action) and
// when it closed, and the actions that were refused (see Action).
struct DialogRun {
  int template_number = 0;
  Dialog at_open;
  Dialog at_close;
  int result = 0;
  std::vector<Action> refused;
};
std::vector<DialogRun> dialog_runs();

}  // namespace fake
