#include "view_control.h"

#include <algorithm>
#include <cmath>

#include "render/view_mapping.h"

WorldRect window_of(const ViewMapping& v) {
  return {std::min(v.window_x1, v.window_x2), std::min(v.window_y1, v.window_y2),
          std::max(v.window_x1, v.window_x2), std::max(v.window_y1, v.window_y2)};
}

PixelMapping mapping_of(const WorldRect& w, bool y_up, int width, int height) {
  return pixel_mapping(WorldWindow{y_up, w.x1, w.y1, w.x2, w.y2}, width, height);
}

namespace {

// Scales one axis of the window by `scale` about the world value `at`.
void scale_axis(double& low, double& high, double at, double scale) {
  low = at + (low - at) * scale;
  high = at + (high - at) * scale;
}

}  // namespace

WorldRect zoom_about(const WorldRect& window, const WorldRect& fit, bool y_up, int width, int height, double px,
                     double py, double factor) {
  if (!(factor > 0) || !std::isfinite(factor)) return window;
  // The zoom is held within its limits as a share of the fitted window.
  const double now = fit.width() / window.width();
  const double wanted = std::clamp(now * factor, 1 / kMaxZoomOut, kMaxZoomIn);
  const double scale = now / wanted;
  const PixelMapping m = mapping_of(window, y_up, width, height);
  const double ax = m.sx != 0 ? m.to_x(px) : (window.x1 + window.x2) / 2;
  const double ay = m.sy != 0 ? m.to_y(py) : (window.y1 + window.y2) / 2;
  WorldRect zoomed = window;
  scale_axis(zoomed.x1, zoomed.x2, ax, scale);
  scale_axis(zoomed.y1, zoomed.y2, ay, scale);
  if (!(zoomed.x2 > zoomed.x1) || !(zoomed.y2 > zoomed.y1)) return window;
  return zoomed;
}

WorldRect pan_by(const WorldRect& window, bool y_up, int width, int height, double dx, double dy) {
  const PixelMapping m = mapping_of(window, y_up, width, height);
  WorldRect moved = window;
  if (m.sx != 0) moved.x1 -= dx / m.sx, moved.x2 -= dx / m.sx;
  if (m.sy != 0) moved.y1 -= dy / m.sy, moved.y2 -= dy / m.sy;
  return moved;
}

Orbit orbit_by(const Orbit& orbit, double dx, double dy) {
  constexpr double kRadiansPerPixel = 0.01;
  constexpr double kQuarter = 1.5707963267948966;
  Orbit turned;
  turned.yaw = std::remainder(orbit.yaw + dx * kRadiansPerPixel, 4 * kQuarter);
  turned.pitch = std::clamp(orbit.pitch + dy * kRadiansPerPixel, -kQuarter, kQuarter);
  return turned;
}

std::array<double, 6> orbit_projection(const Orbit& orbit, bool reverse_y) {
  const double cy = std::cos(orbit.yaw), sy = std::sin(orbit.yaw);
  const double cp = std::cos(orbit.pitch), sp = std::sin(orbit.pitch);
  const double y_sign = reverse_y ? -1 : 1;
  // Turned about the vertical: across = x cos + y sin, depth = -x sin + y cos;
  // tilted: up = z cos(pitch) + depth sin(pitch), so the far side rises.
  return {cy, y_sign * sy, 0, -sy * sp, y_sign * cy * sp, cp};
}
