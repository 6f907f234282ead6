// The recorded state shared by the parts of the recording layer.
//
// Everything here is guarded by state_mutex(). No code holds that mutex while
// it calls back into the program (menu, mouse and dialog routines).
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "support/fake_platform.h"

namespace fake::detail {

constexpr int kDefaultAreaWidth = 1000;
constexpr int kDefaultAreaHeight = 700;
constexpr int kCellWidth = 8;
constexpr int kCellHeight = 16;
constexpr int kDefaultFontHeight = 16;

// One child window with its drawing state. A window stays in State::windows
// after it is closed, so that its record can still be read.
struct Window {
  ChildRecord record;
  int width = kDefaultAreaWidth;   // drawing area, pixels
  int height = kDefaultAreaHeight;

  // World window; until gfx_set_window it is the pixel grid itself.
  bool y_up = false;
  double x1 = 0, y1 = 0, x2 = kDefaultAreaWidth - 1, y2 = kDefaultAreaHeight - 1;
  WorldPoint position;
  Rgb colour = kRgbBlack;
  Rgb background = kRgbWhite;
  Rgb text_colour = kRgbBlack;
  std::uint16_t line_style = kLineSolid;
  FillMask fill = kFillSolid;
  bool fonts_ready = false;  // gfx_init_fonts was called
  int font_height = kDefaultFontHeight;
  std::string font_face = "Fake Sans";
  int text_row = 1, text_column = 1;

  std::vector<GfxCall> calls;
  std::vector<std::string> lines;
  int mouse_mask = 0;
  MouseRoutine mouse = nullptr;
};

struct Menu {
  MenuItemRecord head;  // the top-level menu itself
  std::vector<MenuItemRecord> items;
};

struct ColourAnswer {
  std::optional<Rgb> colour;
  std::optional<std::array<Rgb, 16>> cells;
};

struct State {
  std::uint64_t generation = 1;  // bumped by reset(); stale thread-locals are ignored
  int default_width = kDefaultAreaWidth;
  int default_height = kDefaultAreaHeight;
  int graph_width = 0;  // wnd_set_graph_area_size; 0 = the default
  int graph_height = 0;

  std::vector<std::unique_ptr<Window>> windows;  // in order of opening
  std::map<int, std::size_t> by_unit;            // unit -> its newest window
  WindowSize frame_size;

  std::vector<Menu> menus;
  std::string about;

  std::deque<int> box_answers;
  std::vector<BoxRecord> boxes;
  std::vector<BeepRecord> beeps;
  int max_sleep_ms = 5;
  std::vector<int> sleeps;
  std::optional<int> ended_with;
  std::optional<std::string> stop_message;

  std::deque<std::optional<std::string>> file_answers;
  std::vector<FileChooserRequest> file_requests;
  std::deque<ColourAnswer> colour_answers;
  std::vector<ColourRequest> colour_requests;

  std::map<int, std::deque<std::vector<Action>>> dialog_scripts;
  std::vector<DialogRun> dialog_runs;
};

std::mutex& state_mutex();
// The state; only with state_mutex() held.
State& state();

// The calling thread's current window, or nullptr (none, closed, or left over
// from before the last reset). Only with state_mutex() held.
Window* current_window(State& s);
// Makes the window at `index` of State::windows the calling thread's current
// window. Only with state_mutex() held.
void set_current_window(const State& s, std::size_t index);
// The newest window of `unit`, or nullptr. Only with state_mutex() held.
Window* window_of(State& s, int unit);

// The status of the calling thread's last drawing operation (gfx_status).
GfxStatus& thread_status();

// The calling thread counts as the GUI thread while a GuiScope lives on it
// (menu and mouse routines, dialog callbacks, wnd_runtime_main).
class GuiScope {
 public:
  GuiScope();
  ~GuiScope();
  GuiScope(const GuiScope&) = delete;
  GuiScope& operator=(const GuiScope&) = delete;
};

// The six runtime menus as they are at start.
std::vector<Menu> runtime_menus();

// Records a message box and returns its answer. Only with state_mutex() held.
int record_box(State& s, std::string_view text, std::string_view caption, int style);

}  // namespace fake::detail
