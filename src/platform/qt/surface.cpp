// The offscreen surface on the Qt layer: a child record bound to no unit and
// shown by no view, whose canvas the gfx_ operations draw into as into any
// graph window's.
#include "platform/surface.h"

#include <algorithm>

#include "platform/qt/canvas.h"
#include "platform/qt/child_window.h"
#include "platform/qt/font_list.h"
#include "platform/qt/surface_image.h"

using namespace qtl;

struct GfxSurface::Impl {
  std::shared_ptr<Child> child;
};

namespace {

void new_surface_picture(CanvasState& s, int width, int height, double text_scale) {
  s.new_picture(width, height);
  s.shown = false;
  s.text_scale = text_scale > 0 ? text_scale : 1;
  if (s.text_scale == 1)
    s.scaled_cells.reset();
  else
    s.scaled_cells = make_cell_font(s.text_scale);
  s.set_font(default_graphic_font(s.text_scale), 0);
}

}  // namespace

GfxSurface::GfxSurface(int width, int height, double text_scale) : impl_(std::make_unique<Impl>()) {
  auto child = std::make_shared<Child>();
  child->unit = 0;
  child->kind = ChildKind::graph;
  child->canvas = std::make_shared<Canvas>(1, 1, true);
  child->canvas->locked([&](CanvasState& s) { new_surface_picture(s, width, height, text_scale); });
  impl_->child = std::move(child);
}

GfxSurface::~GfxSurface() {
  impl_->child->connected = false;
  if (current_child() == impl_->child) current_child().reset();
}

void GfxSurface::make_current() { current_child() = impl_->child; }

void GfxSurface::resize(int width, int height, double text_scale) {
  impl_->child->canvas->locked([&](CanvasState& s) { new_surface_picture(s, width, height, text_scale); });
}

int GfxSurface::width() const {
  return impl_->child->canvas->locked([](CanvasState& s) { return s.image.width(); });
}

int GfxSurface::height() const {
  return impl_->child->canvas->locked([](CanvasState& s) { return s.image.height(); });
}

void GfxSurface::copy_image(WndImage* image) const {
  impl_->child->canvas->locked([&](CanvasState& s) { copy_pixels(s.image, image); });
}

QImage qtl::surface_image(const GfxSurface& surface) {
  return snapshot(*surface.impl().child->canvas);
}
