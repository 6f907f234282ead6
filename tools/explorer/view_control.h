// Zoom, pan and orbit as the Explorer hands them to the drawing code: a
// world window other than the one compute_view chose, and for a spatial
// problem an orthographic projection in place of the oblique one.
//
// Every picture position here is in pixels of the picture, mapped as the
// window layer maps the world window (platform/world_window.h).
#pragma once

#include <array>

#include "platform/world_window.h"

struct ViewMapping;

// A world window, x1 < x2 and y1 < y2.
struct WorldRect {
  double x1 = 0, y1 = 0, x2 = 1, y2 = 1;
  double width() const { return x2 - x1; }
  double height() const { return y2 - y1; }
};

// The world window compute_view left in a view, its bounds ordered.
WorldRect window_of(const ViewMapping& view);

// How `window` lies on a picture of width x height pixels.
PixelMapping mapping_of(const WorldRect& window, bool y_up, int width, int height);

// The window `factor` times closer (below 1: farther) about the picture
// position (px, py): the world point under it stays under it. The window
// stays between kMaxZoomOut times larger and kMaxZoomIn times smaller than
// `fit` (the window that shows the whole structure); a zoom beyond is held
// at the limit.
constexpr double kMaxZoomIn = 1e5;
constexpr double kMaxZoomOut = 20;
WorldRect zoom_about(const WorldRect& window, const WorldRect& fit, bool y_up, int width, int height, double px,
                     double py, double factor);

// The window after the picture was dragged by (dx, dy) pixels: what lay
// under the cursor stays under it.
WorldRect pan_by(const WorldRect& window, bool y_up, int width, int height, double dx, double dy);

// The direction a spatial model is looked at from, in radians: turned by
// `yaw` about the vertical (third) axis, then tilted by `pitch` about the
// picture's horizontal.
struct Orbit {
  double yaw = 0;
  double pitch = 0;
};

// The orbit a first drag starts from: close to the oblique view, the
// second axis running up and to the right.
constexpr Orbit kFirstOrbit = {0.61, 0.52};

// The orbit after a drag of (dx, dy) pixels; the pitch stays within a
// quarter turn either way.
Orbit orbit_by(const Orbit& orbit, double dx, double dy);

// The orthographic projection of `orbit` for GraphRun::projection: picture
// x and y of a displaced point (x, y, z). With `reverse_y` the second axis
// points the other way, as in the oblique view.
std::array<double, 6> orbit_projection(const Orbit& orbit, bool reverse_y);
