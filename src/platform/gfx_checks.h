// The argument checks of the drawing operations, shared by every layer so
// that all of them refuse the same calls. Each returns kGfxOk, or
// kGfxErrorInvalid when the operation must draw nothing and fail.
#pragma once

#include "platform/gfx.h"

// gfx_polygon: mode kGfxBorder or kGfxFilled, 3 to kGfxMaxPolygonVertices
// vertices, every coordinate finite.
GfxStatus check_polygon(int mode, const WorldPoint* vertices, int count);

// gfx_rectangle and gfx_ellipse: mode kGfxBorder or kGfxFilled, finite corners.
GfxStatus check_box_shape(int mode, double x1, double y1, double x2, double y2);

// gfx_line_to: a finite end point.
GfxStatus check_point(double x, double y);
