// Shows one settings dialog on the Qt layer, for looking at it:
//   settings_dialog_demo 101|106|108
// The dialog is filled as the first graph of a small spatial problem would
// fill it; the program ends when the dialog closes.
#include <cstdlib>
#include <string>

#include "platform/wnd.h"
#include "settings/colour_schemes.h"
#include "settings/dialog_templates.h"
#include "settings/graph_settings.h"
#include "settings/graph_settings_dialog.h"
#include "settings/time_settings.h"
#include "test_problem.h"

namespace {

int shown_template = kGraphSettingsTemplate;

void program() {
  settings_startup();
  wnd_open_child(9, "Info", ChildKind::text);
  const Problem problem = make_problem(12, 3, 5, 200, 2.0f);
  {
    SettingsGuard guard;
    prepare_new_graph(guard->settings, problem.control.step_count);
  }
  if (shown_template == kTimeSettingsTemplate) {
    show_time_settings(problem);
  } else if (shown_template == kCustomColoursTemplate) {
    show_custom_colours();
  } else {
    const std::string title = "(1) Portal frame under ground motion";
    show_graph_settings(problem, title, static_cast<std::int32_t>(title.size()));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) shown_template = std::atoi(argv[1]);
  return wnd_runtime_main(argc, argv, program);
}
