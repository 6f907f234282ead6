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
