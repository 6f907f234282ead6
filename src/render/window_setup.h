// Opening and preparing a run's graph window, without deciding what a
// failure does to the program (the viewer ends it, a tool reports it).
#pragma once

struct GraphRun;

enum class WindowSetup {
  ready,
  not_open,     // no current window after opening
  font_error,   // the graphics status was not 0 after preparing the fonts
};

// compute_view, then the child window on run.unit with run.caption, its
// configuration into run.window, maximised, the world window, a white
// background cleared, the fonts prepared. Stops at the first failure.
WindowSetup setup_graph_window(GraphRun& run);

// On the calling thread's current window, which is open and sized already
// (an offscreen surface): its configuration into run.window, the world
// window, a white background cleared, the fonts prepared.
WindowSetup prepare_current_window(GraphRun& run);

// compute_view, then prepare_current_window.
WindowSetup setup_current_window(GraphRun& run);
