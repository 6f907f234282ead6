// The animation of a run: the chosen steps one after another in the run's
// graph window, cancelled between frames, ended by a beep.
#pragma once

#include <cstdint>
#include <functional>

#include "base/status.h"

struct GraphRun;

struct AnimationOptions {
  // Called after each drawn frame with the frame number and its step; a
  // false result ends the animation as a cancel would.
  std::function<bool(std::int64_t frame, std::int64_t step)> after_frame;
  // When 0 or more, only this frame is read and drawn.
  std::int64_t only_frame = -1;
};

// Registers on_graph_double_click on the run's window, reads the cancel
// generation, then for every frame: the cancel check, the node positions
// and element records of the step through the run's step source, the frame
// delay, the read-ahead hint for the next frame's step (given after the delay,
// so that no frame is drawn from records read before the previous pause), the
// drawing. Ends with a beep of 1000 Hz for 200 ms and closes the
// displacement file. A read error ends the animation at once and is
// returned (the displacement file is closed, no beep).
Status run_animation(GraphRun& run, const AnimationOptions& options = {});

// The left double-click routine of graph windows: requests a cancel.
void on_graph_double_click(int unit, int event, int key_state, int x, int y);
