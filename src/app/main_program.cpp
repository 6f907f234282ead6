#include "app/main_program.h"

#include "app/app_state.h"
#include "app/menu_commands.h"
#include "input/language.h"
#include "platform/gfx.h"
#include "platform/wnd.h"
#include "render/cancel.h"
#include "settings/graph_settings.h"

namespace {

constexpr int kIdlePeriodMs = 500;

bool start_up() {
  compose_startup_texts(romanian_messages.load());

  WindowSize maximised;
  maximised.state = kSizeMaximised;
  wnd_set_size(kFrameWindow, maximised);

  wnd_open_child(kInfoUnit, kInfoTitle, ChildKind::text);
  WindowConfig config;
  if (!wnd_get_config(&config)) {
    wnd_stop_with_message("Window Not Open");
    return false;
  }

  // Help's Contents and Using Help; About stays.
  wnd_menu_set_flags(kHelpMenu, kHelpContents, kMenuDisabled);
  wnd_menu_set_flags(kHelpMenu, kHelpUsingHelp, kMenuDisabled);

  wnd_menu_insert(kGraphMenu, 0, kMenuGreyed, "NEW GRAPH", wnd_menu_no_action);
  wnd_menu_append(kGraphMenu, kMenuEnabled, "NEW Graph", on_new_graph);
  wnd_menu_append(kGraphMenu, kMenuDisabled | kMenuUnchecked, "BACK to Settings",
                  on_back_to_settings);
  wnd_menu_append(kGraphMenu, kMenuDisabled, "CANCEL Draw", on_cancel_draw);
  wnd_menu_append(kGraphMenu, kMenuSeparator, "", wnd_menu_no_action);
  wnd_menu_append(kGraphMenu, kMenuEnabled, "EXIT", wnd_menu_exit_action);

  wnd_set_about_text(kAboutText);
  wnd_write_line(kInfoUnit, " * VELTRA Graph Started");

  settings_startup();
  graph_counter.store(kGraphCounterStart);

  wnd_menu_set_flags(kGraphMenu, 0, kMenuEnabled);
  cancel_requested.store(false);
  return true;
}

void idle() {
  for (;;) {
    if (cancel_requested.load()) cancel_requested.store(false);
    // The limit is tested with >= so that two commands within one idle period
    // cannot carry the counter past it unseen.
    if (graph_counter.load() >= kGraphCounterLimit) return;
    wnd_sleep(kIdlePeriodMs);
  }
}

void shut_down() {
  wnd_menu_set_flags(kGraphMenu, 0, kMenuGreyed);
  wnd_message_box(limit_message, "PLIXO Message:", kBoxInformationOk);
  // Runs that still draw hold their own reference to their problem, so
  // releasing the one in memory frees nothing they use.
  publish_problem(nullptr);
  wnd_menu_set_flags(kGraphMenu, 0, kMenuGreyed);

  wnd_set_active(kInfoUnit);
  gfx_set_text_colour(kRgbWhite);
  gfx_out_text(" * VELTRA Graph Exited");
  wnd_close_child(kInfoUnit, true);
}

}  // namespace

void main_program() {
  if (!start_up()) return;
  idle();
  shut_down();
}
