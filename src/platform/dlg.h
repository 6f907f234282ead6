// Dialog boxes built from templates, and the system file and colour choosers.
//
// A Dialog is a plain record that holds the controls of a template with their
// current values. The caller prepares it (dlg_init), sets values, attaches
// callbacks and runs it (dlg_run_modal); the layer shows it, updates the
// record from the user's actions and raises the callbacks. Only the user's
// actions raise callbacks; values set by the program never do.
//
// Threads: dlg_run_modal may be called from any thread; the calling thread
// waits while the dialog runs and the callbacks run one at a time on the GUI
// thread. A dialog run from a callback of a running dialog is owned by that
// dialog; any other dialog is owned by the frame window, whose menu then takes
// no input. A Dialog is used by one running dialog at a time.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gfx.h"

enum class ControlKind {
  check_box,
  push_check_box,   // a check box that looks like a push button
  edit,             // one-line edit field
  simple_combo,     // always-visible edit part with a list
  drop_down_list,   // a list that drops down; no edit part
  list_box,
  static_text,
  group_box,
  picture,          // shows `bitmap`
  push_button,
};

// Style bits of ControlTemplate::style.
constexpr int kStyleSunken = 1;    // static text with a sunken frame
constexpr int kStyleHidden = 2;    // present but not shown
constexpr int kStyleFlat = 4;      // flat push button
constexpr int kStyleDefault = 8;   // the default push button
constexpr int kStyleVScroll = 16;  // vertical scroll bar (list box)
constexpr int kStyleBorder = 32;   // bordered edit field
constexpr int kStyleHScroll = 64;  // edit field scrolls horizontally

// A picture of 16 colours: `indices` holds width x height palette indices,
// row by row from the top.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::array<Rgb, 16> palette{};
  std::vector<std::uint8_t> indices;
};

constexpr int kNoId = -1;  // a control the program never addresses

// One control of a template; positions and sizes in dialog units.
struct ControlTemplate {
  int id = kNoId;
  ControlKind kind = ControlKind::static_text;
  std::string text;  // caption; "\n" separates lines of a static text
  int x = 0, y = 0, width = 0, height = 0;
  int style = 0;
  const Bitmap* bitmap = nullptr;  // for ControlKind::picture
};

// A dialog template. Dialog units are measured from the font: x units are a
// quarter of its average character width, y units an eighth of its height.
struct DialogTemplate {
  int number = 0;
  std::string caption;
  std::string font_face;  // "MS Sans Serif" and "MS Shell Dlg" mean a sans face
  int font_points = 8;
  int width = 0, height = 0;
  std::vector<ControlTemplate> controls;  // in template (tab) order
};

// Callback reasons.
constexpr int kReasonDefault = 0;    // for dlg_set_callback: the control's own reason
constexpr int kReasonClicked = 1;    // buttons and check boxes
constexpr int kReasonSelChange = 2;  // list boxes, drop-down lists, combo lists
constexpr int kReasonChanged = 3;    // edit fields: the text has changed
constexpr int kReasonUpdate = 4;     // combo edit part: after each edit, before display

// Properties for the set and get operations.
enum class DlgProperty {
  state,       // check: checked; edit/combo: text; lists: selected item (1-based)
  title,       // caption of a button or check box
  enabled,
  item_count,  // number of list items
  item,        // text of item n (dlg_set_text); item 1 of a list box as an
               // integer is its selected item
};

struct Dialog;
using DialogCallback = void (*)(Dialog& dialog, int control_id, int reason);

struct DialogControl {
  int id = kNoId;
  ControlKind kind = ControlKind::static_text;
  int style = 0;
  std::string text;  // caption, or the text of an edit / combo edit part
  bool checked = false;
  bool enabled = true;
  std::vector<std::string> items;
  int selection = 0;  // 1-based; 0 = none
};

struct DialogBinding {
  int control_id = kNoId;
  int reason = kReasonDefault;  // the concrete reason it fires on
  DialogCallback callback = nullptr;
};

struct Dialog {
  const DialogTemplate* tmpl = nullptr;
  std::vector<DialogControl> controls;
  std::vector<DialogBinding> bindings;
  void* context = nullptr;  // the caller's data, for its callbacks
  void* native = nullptr;   // the layer's window while the dialog runs
  int closed_by = 0;        // id of the button that closed it

  DialogControl* find(int id);
  const DialogControl* find(int id) const;
};

// The reason a control raises when attached with kReasonDefault.
int dlg_default_reason(ControlKind kind);

// Fills `dialog` with the template's controls and their template values;
// shows nothing. The template must outlive the dialog.
bool dlg_init(const DialogTemplate& tmpl, Dialog& dialog);

bool dlg_set_callback(Dialog& dialog, int control_id, DialogCallback callback,
                      int reason = kReasonDefault);

// Before the run the values are shown when the dialog opens; from a callback
// they take effect at once. None raises a callback.
bool dlg_set_logical(Dialog& dialog, int control_id, bool value,
                     DlgProperty property = DlgProperty::state);
bool dlg_set_integer(Dialog& dialog, int control_id, int value,
                     DlgProperty property = DlgProperty::state);
bool dlg_set_text(Dialog& dialog, int control_id, std::string_view text,
                  DlgProperty property = DlgProperty::state, int item = 0);

bool dlg_get_logical(const Dialog& dialog, int control_id, bool* value);
bool dlg_get_integer(const Dialog& dialog, int control_id, int* value,
                     DlgProperty property = DlgProperty::state);
// The current text cut to `length` characters or padded with blanks.
bool dlg_get_text(const Dialog& dialog, int control_id, std::string* text, int length);

// Shows the dialog and returns the id of the button that closed it, -1 when it
// could not be shown. Buttons 1 and 2 without a callback of their own close it.
int dlg_run_modal(Dialog& dialog);

// Frees what dlg_init prepared.
void dlg_release(Dialog& dialog);

// The native window of a running dialog, as owner of the colour chooser.
void* dlg_owner_window(const Dialog& dialog);

// The system file chooser, with no owner: the frame window stays usable.
struct FileFilter {
  std::string description;  // "All files (*.*)"
  std::string pattern;      // "*.*"
};
struct FileChooserRequest {
  std::string title;
  std::vector<FileFilter> filters;
  int filter_index = 1;            // 1-based
  std::string initial_directory;   // empty: the chooser's default
  std::string preset_name;         // shown in the name field
  std::string default_extension;   // without the point
  bool path_must_exist = true;
};
// true with the full path of the chosen file; false when cancelled or failed.
bool dlg_choose_file(const FileChooserRequest& request, std::string* chosen_path);

// The system colour chooser, owned by `owner` (dlg_owner_window), opening on
// `initial`, with the full chooser shown and `custom_cells` as its sixteen
// user-defined colours (which the user may change). true with *chosen set
// when accepted.
bool dlg_choose_colour(void* owner, Rgb initial, std::array<Rgb, 16>* custom_cells, Rgb* chosen);
