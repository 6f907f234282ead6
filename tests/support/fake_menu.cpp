// Menus, the about text and mouse routines of the recording layer, and the
// test's way of choosing menu items and double-clicking windows.
#include <cstdio>
#include <cstdlib>

#include "platform/runtime_menus.h"
#include "support/fake_state.h"

namespace fake::detail {

std::vector<Menu> runtime_menus() {
  std::vector<Menu> menus;
  for (const char* name : kRuntimeMenuTitles)
    menus.push_back(Menu{MenuItemRecord{name, kMenuEnabled, nullptr}, {}});
  for (const char* item : kHelpMenuItems)
    menus[kHelpMenu - 1].items.push_back(MenuItemRecord{item, kMenuEnabled, nullptr});
  return menus;
}

}  // namespace fake::detail

namespace {

using fake::MenuItemRecord;
using fake::detail::Menu;
using fake::detail::State;

constexpr int kAvailability = kMenuGreyed | kMenuDisabled | kMenuEnabled;
constexpr int kCheck = kMenuChecked | kMenuUnchecked;

bool unavailable(int flags) { return (flags & (kMenuGreyed | kMenuDisabled)) != 0; }

// The entry `item` of menu `menu` (item 0: the menu itself), or nullptr.
MenuItemRecord* find_item(State& s, int menu, int item) {
  if (menu < 1 || menu > static_cast<int>(s.menus.size()) || item < 0) return nullptr;
  Menu& m = s.menus[static_cast<std::size_t>(menu - 1)];
  if (item == 0) return &m.head;
  if (item > static_cast<int>(m.items.size())) return nullptr;
  return &m.items[static_cast<std::size_t>(item - 1)];
}

MenuItemRecord make_item(int flags, std::string_view text, MenuRoutine routine) {
  bool separator = (flags & kMenuSeparator) != 0;
  return MenuItemRecord{separator ? std::string() : with_access_key(text), flags, routine};
}

}  // namespace

void wnd_menu_no_action(bool) {}

// The exit action ends the process at once, as the real one does; tests reach
// it through a death test. The line on stderr names the cause.
void wnd_menu_exit_action(bool) {
  std::fputs("fake layer: exit action\n", stderr);
  std::fflush(nullptr);
  std::_Exit(0);
}

bool wnd_menu_insert(int menu, int item, int flags, std::string_view text, MenuRoutine routine) {
  std::lock_guard lock(fake::detail::state_mutex());
  State& s = fake::detail::state();
  if (item == 0) {
    if (menu < 1 || menu > static_cast<int>(s.menus.size()) + 1) return false;
    s.menus.insert(s.menus.begin() + (menu - 1), Menu{make_item(flags, text, routine), {}});
    return true;
  }
  if (menu < 1 || menu > static_cast<int>(s.menus.size()) || item < 1) return false;
  auto& items = s.menus[static_cast<std::size_t>(menu - 1)].items;
  if (item > static_cast<int>(items.size()) + 1) return false;
  items.insert(items.begin() + (item - 1), make_item(flags, text, routine));
  return true;
}

bool wnd_menu_append(int menu, int flags, std::string_view text, MenuRoutine routine) {
  std::lock_guard lock(fake::detail::state_mutex());
  State& s = fake::detail::state();
  if (menu < 1 || menu > static_cast<int>(s.menus.size())) return false;
  s.menus[static_cast<std::size_t>(menu - 1)].items.push_back(make_item(flags, text, routine));
  return true;
}

// Availability (greyed, disabled, enabled) and check state change
// independently: a call that names neither of a pair leaves that pair alone.
bool wnd_menu_set_flags(int menu, int item, int flags) {
  std::lock_guard lock(fake::detail::state_mutex());
  MenuItemRecord* entry = find_item(fake::detail::state(), menu, item);
  if (entry == nullptr) return false;
  int result = entry->flags;
  if (flags & kAvailability) result = (result & ~kAvailability) | (flags & kAvailability);
  if (flags & kCheck) result = (result & ~kCheck) | (flags & kCheck);
  entry->flags = result;
  return true;
}

bool wnd_set_about_text(std::string_view text) {
  if (text.size() > 512) return false;
  std::lock_guard lock(fake::detail::state_mutex());
  fake::detail::state().about = std::string(text);
  return true;
}

bool wnd_register_mouse_event(int unit, int mask, MouseRoutine routine) {
  std::lock_guard lock(fake::detail::state_mutex());
  fake::detail::Window* w = fake::detail::window_of(fake::detail::state(), unit);
  if (w == nullptr) return false;
  bool before = w->mouse != nullptr;
  w->mouse = routine;
  w->mouse_mask = mask;
  return before;
}

namespace fake {

bool choose_menu(int menu, int item) {
  MenuRoutine routine = nullptr;
  bool checked = false;
  {
    std::lock_guard lock(detail::state_mutex());
    State& s = detail::state();
    MenuItemRecord* head = find_item(s, menu, 0);
    MenuItemRecord* entry = item >= 1 ? find_item(s, menu, item) : nullptr;
    if (head == nullptr || entry == nullptr || unavailable(head->flags) ||
        unavailable(entry->flags) || (entry->flags & kMenuSeparator))
      return false;
    routine = entry->routine;
    checked = (entry->flags & kMenuChecked) != 0;
  }
  if (routine != nullptr) {
    detail::GuiScope gui;
    routine(checked);
  }
  return true;
}

bool double_click(int unit) {
  MouseRoutine routine = nullptr;
  {
    std::lock_guard lock(detail::state_mutex());
    detail::Window* w = detail::window_of(detail::state(), unit);
    if (w == nullptr || !w->record.on_screen || w->mouse == nullptr || !(w->mouse_mask & kMouseLeftDoubleClick))
      return false;
    routine = w->mouse;
  }
  detail::GuiScope gui;
  routine(unit, kMouseLeftDoubleClick, 0, 0, 0);
  return true;
}

}  // namespace fake
