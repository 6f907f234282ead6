#include "render/window_setup.h"

#include "platform/gfx.h"
#include "platform/wnd.h"
#include "render/graph_run.h"
#include "render/view_mapping.h"

WindowSetup setup_graph_window(GraphRun& run) {
  compute_view(run);
  wnd_open_child(run.unit, run.caption, ChildKind::graph);
  if (!wnd_get_config(&run.window)) return WindowSetup::not_open;
  WindowSize size;
  size.state = kSizeMaximised;
  wnd_set_size(run.unit, size);
  // The drawing is sized by the window as it is once maximised.
  WindowConfig maximised;
  if (wnd_get_config(&maximised)) run.window = maximised;
  apply_world_window(run);
  gfx_set_background_colour(kRgbWhite);
  gfx_clear();
  gfx_init_fonts();
  if (gfx_status() != kGfxOk) return WindowSetup::font_error;
  return WindowSetup::ready;
}
