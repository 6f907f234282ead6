// Windows, text output, message boxes, sounds, sleeping and the end of the
// program in the recording layer.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <thread>

#include "support/fake_state.h"

namespace fake::detail {

int record_box(State& s, std::string_view text, std::string_view caption, int style) {
  int result = kBoxResultOk;
  switch (style & 0xF) {
    case 4: result = kBoxResultNo; break;       // Yes / No
    case 5: result = kBoxResultCancel; break;   // Retry / Cancel
    default: break;
  }
  if (!s.box_answers.empty()) {
    result = s.box_answers.front();
    s.box_answers.pop_front();
  }
  s.boxes.push_back(BoxRecord{std::string(text), std::string(caption), style, result});
  return result;
}

}  // namespace fake::detail

namespace {

using fake::detail::State;
using fake::detail::Window;

[[noreturn]] void block_forever() {
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

bool is_program_routine(MenuRoutine routine) {
  return routine != nullptr && routine != wnd_menu_no_action && routine != wnd_menu_exit_action;
}

// The end prompt; the first code is kept. Program items are greyed first so
// that nothing of the program can be started any more.
void record_end(int exit_code) {
  std::lock_guard lock(fake::detail::state_mutex());
  State& s = fake::detail::state();
  if (!s.ended_with) s.ended_with = exit_code;
  for (auto& menu : s.menus)
    for (auto& item : menu.items)
      if (is_program_routine(item.routine))
        item.flags = (item.flags & ~(kMenuDisabled | kMenuEnabled)) | kMenuGreyed;
  fake::detail::record_box(
      s, "Program Terminated with exit code " + std::to_string(exit_code) + "\nExit Window?",
      "VELTRA", kBoxQuestionYesNo);
}

void sleep_capped(int milliseconds, int cap) {
  int ms = std::min(milliseconds, cap);
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

// The program runs on a thread of its own while the calling thread counts as
// the GUI thread. When it returns, the end prompt of exit code 0 is recorded.
// When the program ends through wnd_end_program instead, the thread that
// called it is left blocked (detached) and no second prompt is recorded.
int wnd_runtime_main(int, char**, void (*program)()) {
  fake::detail::GuiScope gui;
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread thread([program, done] {
    if (program != nullptr) program();
    done->store(true);
  });
  fake::wait_until([&] { return done->load() || fake::ended_with().has_value(); },
                   24 * 3600 * 1000);
  if (done->load()) {
    thread.join();
    record_end(0);
  } else {
    thread.detach();
  }
  return 0;
}

void wnd_set_graph_area_size(int width, int height) {
  std::lock_guard lock(fake::detail::state_mutex());
  State& s = fake::detail::state();
  bool valid = width > 0 && height > 0;
  s.graph_width = valid ? width : 0;
  s.graph_height = valid ? height : 0;
}

int wnd_set_size(int unit, const WindowSize& size) {
  std::lock_guard lock(fake::detail::state_mutex());
  State& s = fake::detail::state();
  if (unit == kFrameWindow) {
    s.frame_size = size;
    return 0;
  }
  Window* w = fake::detail::window_of(s, unit);
  if (w == nullptr || !w->record.on_screen) return -1;
  w->record.size = size;
  return 0;
}

// A unit that is still open when it is opened again gets a new window; the
// old one is taken off the screen.
void wnd_open_child(int unit, std::string_view title, ChildKind kind) {
  std::lock_guard lock(fake::detail::state_mutex());
  State& s = fake::detail::state();
  if (Window* old = fake::detail::window_of(s, unit); old != nullptr && old->record.open) {
    old->record.open = false;
    old->record.on_screen = false;
  }
  auto w = std::make_unique<Window>();
  w->record.unit = unit;
  w->record.title = std::string(title);
  w->record.kind = kind;
  bool fixed = kind == ChildKind::graph && s.graph_width > 0;
  w->width = fixed ? s.graph_width : s.default_width;
  w->height = fixed ? s.graph_height : s.default_height;
  w->x2 = w->width - 1;
  w->y2 = w->height - 1;
  s.windows.push_back(std::move(w));
  s.by_unit[unit] = s.windows.size() - 1;
  fake::detail::set_current_window(s, s.windows.size() - 1);
}

void wnd_close_child(int unit, bool keep) {
  std::lock_guard lock(fake::detail::state_mutex());
  Window* w = fake::detail::window_of(fake::detail::state(), unit);
  if (w == nullptr || !w->record.open) return;
  w->record.open = false;
  if (keep)
    w->record.title += "-Closed";
  else
    w->record.on_screen = false;
}

bool wnd_get_config(WindowConfig* config) {
  std::lock_guard lock(fake::detail::state_mutex());
  const Window* w = fake::detail::current_window(fake::detail::state());
  if (w == nullptr || config == nullptr) return false;
  config->width = static_cast<std::int16_t>(w->width);
  config->height = static_cast<std::int16_t>(w->height);
  config->text_columns = static_cast<std::int16_t>(w->width / fake::detail::kCellWidth);
  config->text_rows = static_cast<std::int16_t>(w->height / fake::detail::kCellHeight);
  config->colours = 1 << 24;
  config->font_size = fake::detail::kCellHeight;
  config->title = w->record.title;
  config->bits_per_pixel = 24;
  return true;
}

bool wnd_set_active(int unit) {
  std::lock_guard lock(fake::detail::state_mutex());
  State& s = fake::detail::state();
  auto it = s.by_unit.find(unit);
  if (it == s.by_unit.end() || !s.windows[it->second]->record.open) return false;
  fake::detail::set_current_window(s, it->second);
  return true;
}

// Lines written to a unit that is not open are dropped.
void wnd_write_line(int unit, std::string_view line) {
  std::lock_guard lock(fake::detail::state_mutex());
  Window* w = fake::detail::window_of(fake::detail::state(), unit);
  if (w != nullptr && w->record.open) w->lines.emplace_back(line);
}

int wnd_message_box(std::string_view text, std::string_view caption, int style) {
  std::lock_guard lock(fake::detail::state_mutex());
  return fake::detail::record_box(fake::detail::state(), text, caption, style);
}

void wnd_beep(int frequency_hz, int duration_ms) {
  int cap = 0;
  {
    std::lock_guard lock(fake::detail::state_mutex());
    fake::detail::state().beeps.push_back({frequency_hz, duration_ms});
    cap = fake::detail::state().max_sleep_ms;
  }
  sleep_capped(duration_ms, cap);
}

void wnd_sleep(int milliseconds) {
  int cap = 0;
  {
    std::lock_guard lock(fake::detail::state_mutex());
    fake::detail::state().sleeps.push_back(milliseconds);
    cap = fake::detail::state().max_sleep_ms;
  }
  sleep_capped(milliseconds, cap);
}

void wnd_end_program(int exit_code) {
  record_end(exit_code);
  if (!wnd_on_gui_thread()) block_forever();
}

void wnd_stop_with_message(std::string_view text) {
  {
    std::lock_guard lock(fake::detail::state_mutex());
    State& s = fake::detail::state();
    if (!s.stop_message) s.stop_message = std::string(text);
  }
  wnd_end_program(0);
}

// The process ends at once with the code, as the real call does; tests reach
// it through a death test. The line on stderr names the code.
void wnd_quit(int exit_code) {
  std::fprintf(stderr, "fake layer: quit with exit code %d\n", exit_code);
  std::fflush(nullptr);
  std::_Exit(exit_code);
}

// Writes no picture: the file holds "fake image <width> <height>" and then
// one line per recorded drawing call (name, arguments, text), so that a test
// can see that and what was saved. false when the unit has no graph window on
// screen or the file cannot be written.
bool wnd_save_image(int unit, std::string_view path) {
  std::lock_guard lock(fake::detail::state_mutex());
  const Window* w = fake::detail::window_of(fake::detail::state(), unit);
  if (w == nullptr || w->record.kind != ChildKind::graph || !w->record.on_screen) return false;
  std::ofstream out{std::string(path)};
  if (!out) return false;
  out << "fake image " << w->width << ' ' << w->height << '\n';
  for (const auto& call : w->calls) {
    out << call.op;
    for (double a : call.args) out << ' ' << a;
    if (!call.text.empty()) out << " \"" << call.text << '"';
    out << '\n';
  }
  return static_cast<bool>(out.flush());
}

// A white picture of the window's size: the recording layer draws no pixels.
bool wnd_copy_image(int unit, WndImage* image) {
  std::lock_guard lock(fake::detail::state_mutex());
  const Window* w = fake::detail::window_of(fake::detail::state(), unit);
  if (w == nullptr || w->record.kind != ChildKind::graph || !w->record.on_screen) return false;
  image->width = w->width;
  image->height = w->height;
  image->pixels.assign(static_cast<std::size_t>(w->width) * static_cast<std::size_t>(w->height), 0xFFFFFFFFu);
  return true;
}
