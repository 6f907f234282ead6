#include "platform/qt/canvas.h"
#include "platform/qt/child_window.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>

#include "platform/qt/font_list.h"
#include "platform/qt/gui_thread.h"
#include "platform/world_window.h"

namespace qtl {

Canvas::Canvas(int width, int height, bool with_image) {
  locked([&](CanvasState& s) {
    if (with_image) {
      s.new_picture(width, height);
    } else {
      // Until the program sets a world window, world coordinates are pixels.
      s.set_world(false, 0, 0, std::max(width, 1) - 1, std::max(height, 1) - 1);
    }
    s.set_font(default_graphic_font(), 0);
  });
}

void CanvasState::new_picture(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  image = QImage(width, height, QImage::Format_RGB32);
  image.fill(QColor(Qt::white));
  // Until the program sets a world window, world coordinates are pixels.
  set_world(false, 0, 0, width - 1, height - 1);
}

void CanvasState::set_world(bool up, double wx1, double wy1, double wx2, double wy2) {
  y_up = up;
  x1 = wx1;
  y1 = wy1;
  x2 = wx2;
  y2 = wy2;
  const int w = image.isNull() ? 1 : image.width();
  const int h = image.isNull() ? 1 : image.height();
  const PixelMapping m = pixel_mapping(WorldWindow{up, wx1, wy1, wx2, wy2}, w, h);
  sx = m.sx;
  sy = m.sy;
  ox = m.ox;
  oy = m.oy;
}

void CanvasState::set_font(const QFont& f, int number) {
  font = f;
  metrics.emplace(font);
  font_number = number;
  glyphs = nullptr;
}

GlyphCache& CanvasState::glyph_cache() {
  if (glyphs == nullptr) glyphs = &find_glyph_cache(glyph_caches, font);
  return *glyphs;
}

PixelBuffer CanvasState::buffer() {
  PixelBuffer b;
  if (image.isNull()) return b;
  b.bits = reinterpret_cast<std::uint32_t*>(image.bits());
  b.width = image.width();
  b.height = image.height();
  b.stride = static_cast<int>(image.bytesPerLine() / 4);
  return b;
}

bool CanvasState::mark_dirty(const PixelBox& box) {
  if (box.empty() || !shown) return false;
  dirty.add(box);
  if (repaint_pending) return false;
  repaint_pending = true;
  return true;
}

void post_repaint(const std::shared_ptr<Canvas>& canvas) {
  // The repaint waits a frame's time, so that everything drawn meanwhile
  // joins it: at most about sixty repaints a second, however many
  // operations a frame has.
  constexpr int kFrameMs = 16;
  post_to_gui([canvas] {
    QTimer::singleShot(kFrameMs, QCoreApplication::instance(), [canvas] {
      const PixelBox box = canvas->locked([](CanvasState& s) {
        const PixelBox taken = s.dirty;
        s.dirty = PixelBox{};
        s.repaint_pending = false;
        return taken;
      });
      auto* view = qobject_cast<GraphView*>(canvas->view.data());
      if (view != nullptr && !box.empty())
        view->update_picture_area(QRect(box.x0, box.y0, box.x1 - box.x0 + 1, box.y1 - box.y0 + 1));
    });
  });
}

QImage snapshot(Canvas& canvas) {
  return canvas.locked([](CanvasState& s) { return s.image.copy(); });
}

void copy_pixels(const QImage& source, WndImage* image) {
  const QImage picture = source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
  image->width = picture.width();
  image->height = picture.height();
  image->pixels.resize(static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height));
  for (int y = 0; y < image->height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(picture.constScanLine(y));
    std::copy(row, row + image->width, image->pixels.begin() + static_cast<std::ptrdiff_t>(y) * image->width);
  }
}

}  // namespace qtl
