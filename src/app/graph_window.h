// The graph window of a run: opened on the run's unit with its caption,
// maximised, with the world window of the run's view, a white background and
// the fonts ready.
#pragma once

struct GraphRun;

// Computes the run's view and opens and prepares its window (the calling
// thread's current window from then on). When no window is obtained, or the
// fonts cannot be prepared, writes "Window Not Open" or
// " ** Font Initialization Error" to the info window and ends the program
// with exit code 0; returns false only where that end returns (on the GUI
// thread).
bool open_graph_window(GraphRun& run);
