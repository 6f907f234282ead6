#include "app/menu_commands.h"

#include <system_error>
#include <thread>

#include "app/app_state.h"
#include "app/main_program.h"
#include "app/runs.h"
#include "platform/wnd.h"
#include "render/cancel.h"

namespace {

// Starts `body` for graph `graph_number` on a detached thread under
// run_thread_root, which catches what escapes the run; nothing ever
// joins a run. false when the thread could not be created.
bool start_run(void (*body)(int), int graph_number) {
  try {
    std::thread(run_thread_root, body, graph_number).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

// Counts the command and starts its run; the eleventh command only ends the
// main program's idle loop and starts nothing, so that the shutdown never
// releases data a run still uses. Returns false when the run could not start.
bool graph_command(void (*body)(int), const char* failure_caption) {
  const std::int32_t counter = graph_counter.fetch_add(1) + 1;
  if (counter >= kGraphCounterLimit) return true;
  if (!start_run(body, counter - kGraphCounterStart)) {
    wnd_message_box("Failed to create thread for PLIXO", failure_caption, kBoxOk);
    wnd_end_program(0);
    return false;
  }
  return true;
}

}  // namespace

void on_new_graph(bool) {
  if (!graph_command(new_graph_run, "NewGraf Message")) return;
  wnd_menu_set_flags(kGraphMenu, kItemBackToSettings, kMenuEnabled);
  wnd_menu_set_flags(kGraphMenu, kItemCancelDraw, kMenuEnabled);
}

void on_back_to_settings(bool) { graph_command(back_to_settings_run, "BackGraf Message"); }

void on_cancel_draw(bool) { request_cancel(); }
