// The world window as gfx_set_window takes it, shared by every layer so that
// all of them accept, order and refuse the same bounds.
#pragma once

#include "platform/gfx.h"

struct WorldWindow {
  bool y_up = false;
  double x1 = 0, y1 = 0, x2 = 1, y2 = 1;  // x1 < x2, y1 < y2
};

// Checks and orders the bounds. Returns kGfxOk, or kGfxWarnCorrected when a pair
// came in the wrong order (it is swapped); or refuses them, leaving *window
// untouched: kGfxErrorInvalid for a bound that is not finite,
// kGfxErrorEqualBounds for equal bounds on an axis.
GfxStatus order_world_window(bool y_up, double x1, double y1, double x2, double y2, WorldWindow* window);
