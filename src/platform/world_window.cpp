#include "platform/world_window.h"

#include <cmath>
#include <utility>

#include "platform/gfx.h"

GfxStatus order_world_window(bool y_up, double x1, double y1, double x2, double y2, WorldWindow* window) {
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
    return kGfxErrorInvalid;
  if (x1 == x2 || y1 == y2) return kGfxErrorEqualBounds;
  GfxStatus status = kGfxOk;
  if (x1 > x2) std::swap(x1, x2), status = kGfxWarnCorrected;
  if (y1 > y2) std::swap(y1, y2), status = kGfxWarnCorrected;
  *window = WorldWindow{y_up, x1, y1, x2, y2};
  return status;
}

PixelMapping pixel_mapping(const WorldWindow& w, int width, int height) {
  PixelMapping m;
  m.sx = (width - 1) / (w.x2 - w.x1);
  m.ox = -w.x1 * m.sx;
  if (w.y_up) {
    m.sy = -(height - 1) / (w.y2 - w.y1);
    m.oy = -w.y2 * m.sy;
  } else {
    m.sy = (height - 1) / (w.y2 - w.y1);
    m.oy = -w.y1 * m.sy;
  }
  if (width == 1) m.sx = 0, m.ox = 0;
  if (height == 1) m.sy = 0, m.oy = 0;
  return m;
}
