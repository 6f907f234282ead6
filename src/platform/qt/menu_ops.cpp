// The menu operations of wnd.h, carried out on the GUI thread.
#include <algorithm>

#include "platform/qt/frame_window.h"
#include "platform/qt/gui_thread.h"
#include "platform/qt/qt_text.h"
#include "platform/wnd.h"

using qtl::frame_window;
using qtl::run_on_gui;

void wnd_menu_no_action(bool) {}

void wnd_menu_exit_action(bool) { wnd_quit(0); }

bool wnd_menu_insert(int menu, int item, int flags, std::string_view text, MenuRoutine routine) {
  bool done = false;
  run_on_gui([&] {
    if (qtl::FrameWindow* frame = frame_window()) done = frame->insert(menu, item, flags, text, routine);
  });
  return done;
}

bool wnd_menu_append(int menu, int flags, std::string_view text, MenuRoutine routine) {
  bool done = false;
  run_on_gui([&] {
    if (qtl::FrameWindow* frame = frame_window()) done = frame->append(menu, flags, text, routine);
  });
  return done;
}

bool wnd_menu_set_flags(int menu, int item, int flags) {
  bool done = false;
  run_on_gui([&] {
    if (qtl::FrameWindow* frame = frame_window()) done = frame->set_flags(menu, item, flags);
  });
  return done;
}

bool wnd_set_about_text(std::string_view text) {
  constexpr std::size_t kMaxAbout = 512;
  const QString about = qtl::system_text(text.substr(0, std::min(text.size(), kMaxAbout)));
  bool done = false;
  run_on_gui([&] {
    if (qtl::FrameWindow* frame = frame_window()) {
      frame->set_about_text(about);
      done = true;
    }
  });
  return done && text.size() <= kMaxAbout;
}
