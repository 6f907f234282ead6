#include "platform/gfx_checks.h"

#include <cmath>

namespace {

bool valid_mode(int mode) { return mode == kGfxBorder || mode == kGfxFilled; }

}  // namespace

GfxStatus check_point(double x, double y) {
  return std::isfinite(x) && std::isfinite(y) ? kGfxOk : kGfxErrorInvalid;
}

GfxStatus check_polygon(int mode, const WorldPoint* vertices, int count) {
  if (vertices == nullptr || count < 3 || count > kGfxMaxPolygonVertices || !valid_mode(mode))
    return kGfxErrorInvalid;
  for (int i = 0; i < count; ++i)
    if (check_point(vertices[i].x, vertices[i].y) != kGfxOk) return kGfxErrorInvalid;
  return kGfxOk;
}

GfxStatus check_box_shape(int mode, double x1, double y1, double x2, double y2) {
  if (!valid_mode(mode) || check_point(x1, y1) != kGfxOk || check_point(x2, y2) != kGfxOk)
    return kGfxErrorInvalid;
  return kGfxOk;
}
