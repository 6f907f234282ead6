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

// How a world window lies on a picture of width x height pixels: pixel
// column ox + sx * x and row oy + sy * y, the window's corners on the corner
// pixels (y1 on the bottom row when y_up). An axis of one pixel maps
// everything onto it.
struct PixelMapping {
  double sx = 1, sy = 1, ox = 0, oy = 0;
  double to_px(double x) const { return ox + sx * x; }
  double to_py(double y) const { return oy + sy * y; }
  // The world point at a pixel position (0 on an axis of one pixel).
  double to_x(double px) const { return sx != 0 ? (px - ox) / sx : 0; }
  double to_y(double py) const { return sy != 0 ? (py - oy) / sy : 0; }
};
PixelMapping pixel_mapping(const WorldWindow& window, int width, int height);
