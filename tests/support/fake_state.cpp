// The shared state of the recording layer, its reset and the read-back
// functions of namespace fake.
#include <chrono>
#include <thread>

#include "support/fake_state.h"

namespace fake::detail {
namespace {

struct CurrentWindow {
  std::uint64_t generation = 0;  // 0: none
  std::size_t index = 0;
};

thread_local CurrentWindow t_current;
thread_local GfxStatus t_status = kGfxOk;
thread_local int t_gui_depth = 0;

// Never destroyed: threads that a test leaves behind (a main program still
// idling after a run ended the program, a run blocked in wnd_end_program) may
// use the layer until the very end of the process.
State& make_state() {
  static State* s = [] {
    auto* fresh = new State;
    fresh->menus = runtime_menus();
    return fresh;
  }();
  return *s;
}

}  // namespace

std::mutex& state_mutex() {
  static std::mutex* m = new std::mutex;  // never destroyed, as the state
  return *m;
}

State& state() { return make_state(); }

Window* current_window(State& s) {
  if (t_current.generation != s.generation || t_current.index >= s.windows.size())
    return nullptr;
  Window* w = s.windows[t_current.index].get();
  return w->record.open ? w : nullptr;
}

void set_current_window(const State& s, std::size_t index) {
  t_current = {s.generation, index};
}

Window* window_of(State& s, int unit) {
  auto it = s.by_unit.find(unit);
  return it == s.by_unit.end() ? nullptr : s.windows[it->second].get();
}

GfxStatus& thread_status() { return t_status; }

GuiScope::GuiScope() { ++t_gui_depth; }
GuiScope::~GuiScope() { --t_gui_depth; }

}  // namespace fake::detail

bool wnd_on_gui_thread() { return fake::detail::t_gui_depth > 0; }

namespace fake {

using detail::state;
using detail::state_mutex;

void reset() {
  std::lock_guard lock(state_mutex());
  detail::State& s = state();
  std::uint64_t next = s.generation + 1;
  s = detail::State{};
  s.generation = next;
  s.menus = detail::runtime_menus();
  detail::set_current_window(s, static_cast<std::size_t>(-1));
  detail::thread_status() = kGfxOk;
}

void set_window_size(int width, int height) {
  std::lock_guard lock(state_mutex());
  state().default_width = width;
  state().default_height = height;
}

std::vector<GfxCall> gfx_calls(int unit) {
  std::lock_guard lock(state_mutex());
  const detail::Window* w = detail::window_of(state(), unit);
  return w ? w->calls : std::vector<GfxCall>{};
}

void clear_gfx_calls(int unit) {
  std::lock_guard lock(state_mutex());
  if (detail::Window* w = detail::window_of(state(), unit)) w->calls.clear();
}

std::vector<std::string> lines(int unit) {
  std::lock_guard lock(state_mutex());
  const detail::Window* w = detail::window_of(state(), unit);
  return w ? w->lines : std::vector<std::string>{};
}

std::vector<ChildRecord> children() {
  std::lock_guard lock(state_mutex());
  std::vector<ChildRecord> out;
  for (const auto& w : state().windows) out.push_back(w->record);
  return out;
}

std::vector<std::vector<MenuItemRecord>> menus() {
  std::lock_guard lock(state_mutex());
  std::vector<std::vector<MenuItemRecord>> out;
  for (const auto& m : state().menus) {
    std::vector<MenuItemRecord> menu{m.head};
    menu.insert(menu.end(), m.items.begin(), m.items.end());
    out.push_back(std::move(menu));
  }
  return out;
}

std::string about_text() {
  std::lock_guard lock(state_mutex());
  return state().about;
}

void push_box_answer(int result) {
  std::lock_guard lock(state_mutex());
  state().box_answers.push_back(result);
}

std::vector<BoxRecord> message_boxes() {
  std::lock_guard lock(state_mutex());
  return state().boxes;
}

std::vector<BeepRecord> beeps() {
  std::lock_guard lock(state_mutex());
  return state().beeps;
}

void set_max_sleep(int max_ms) {
  std::lock_guard lock(state_mutex());
  state().max_sleep_ms = max_ms;
}

std::vector<int> sleeps() {
  std::lock_guard lock(state_mutex());
  return state().sleeps;
}

std::optional<int> ended_with() {
  std::lock_guard lock(state_mutex());
  return state().ended_with;
}

std::optional<std::string> stop_message() {
  std::lock_guard lock(state_mutex());
  return state().stop_message;
}

bool wait_until(const std::function<bool()>& condition, int timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void push_file_choice(std::optional<std::string> path) {
  std::lock_guard lock(state_mutex());
  state().file_answers.push_back(std::move(path));
}

std::vector<FileChooserRequest> file_requests() {
  std::lock_guard lock(state_mutex());
  return state().file_requests;
}

void push_colour_choice(std::optional<Rgb> colour, std::optional<std::array<Rgb, 16>> cells) {
  std::lock_guard lock(state_mutex());
  state().colour_answers.push_back({colour, cells});
}

std::vector<ColourRequest> colour_requests() {
  std::lock_guard lock(state_mutex());
  return state().colour_requests;
}

void push_dialog_script(int template_number, std::vector<Action> actions) {
  std::lock_guard lock(state_mutex());
  state().dialog_scripts[template_number].push_back(std::move(actions));
}

std::vector<DialogRun> dialog_runs() {
  std::lock_guard lock(state_mutex());
  return state().dialog_runs;
}

Action set_text(int id, std::string text) { return {Action::set_text, id, std::move(text), 0}; }
Action click(int id) { return {Action::click, id, {}, 0}; }
Action choose(int id, int item) { return {Action::choose, id, {}, item}; }
Action close(int id) { return {Action::close, id, {}, 0}; }

}  // namespace fake
