// Packed colours (gfx.h) as Qt's colours and back.
#pragma once

#include <QColor>

#include "platform/gfx.h"

namespace qtl {

inline QColor to_qcolor(Rgb rgb) {
  return QColor(static_cast<int>(rgb_red(rgb)), static_cast<int>(rgb_green(rgb)),
                static_cast<int>(rgb_blue(rgb)));
}

inline Rgb to_rgb(const QColor& c) {
  return make_rgb(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
                  static_cast<unsigned>(c.blue()));
}

}  // namespace qtl
