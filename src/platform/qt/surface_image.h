// The picture of an offscreen surface as a QImage, for programs built on
// Qt that hand it to their widgets.
#pragma once

#include <QImage>

#include "platform/surface.h"

namespace qtl {

// A copy of the surface's picture (Format_RGB32), taken under its lock.
QImage surface_image(const GfxSurface& surface);

}  // namespace qtl
