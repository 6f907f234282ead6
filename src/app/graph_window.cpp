#include "app/graph_window.h"

#include "app/app_state.h"
#include "platform/wnd.h"
#include "render/graph_run.h"
#include "render/window_setup.h"

bool open_graph_window(GraphRun& run) {
  switch (setup_graph_window(run)) {
    case WindowSetup::ready:
      return true;
    case WindowSetup::not_open:
      wnd_write_line(kInfoUnit, "Window Not Open");
      break;
    case WindowSetup::font_error:
      wnd_write_line(kInfoUnit, " ** Font Initialization Error");
      break;
  }
  wnd_end_program(0);
  return false;
}
