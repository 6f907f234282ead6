// An offscreen drawing surface: a picture that no window shows, drawn into
// with the ordinary gfx_ operations.
//
// make_current makes the surface the calling thread's current window, in
// place of any child window: wnd_get_config then reports the picture's size
// and text cells, and every gfx_ operation (world window, lines, shapes,
// fonts, graphic and cell text) draws into the picture exactly as into a
// graph window of the same size. Nothing is repainted or shown. The finished
// picture is handed out by value, so the thread that draws keeps its surface
// and the picture's reader needs no lock of its.
//
// A surface is drawn into by one thread at a time; its picture may be copied
// from any thread.
#pragma once

#include <memory>

#include "platform/wnd.h"

class GfxSurface {
 public:
  // A white picture of width x height pixels (at least 1 x 1), world
  // coordinates its pixels. `text_scale` multiplies the pixel size of every
  // font, for pictures in the device pixels of a high-density screen; at 1
  // text is as in a graph window.
  GfxSurface(int width, int height, double text_scale = 1);
  // A thread for which the surface is still current has no current window
  // afterwards (its gfx_ operations report kGfxErrorNoWindow).
  ~GfxSurface();
  GfxSurface(const GfxSurface&) = delete;
  GfxSurface& operator=(const GfxSurface&) = delete;

  // The calling thread's current window becomes this surface.
  void make_current();

  // A new white picture of that size (and text scale), world coordinates its
  // pixels and the default font current, as in a newly opened window; the
  // colours, line style and fill mask are kept.
  void resize(int width, int height, double text_scale = 1);

  int width() const;
  int height() const;

  // The picture: rows top to bottom, one word 0xFFRRGGBB a pixel.
  void copy_image(WndImage* image) const;

  // The layer's own record of the surface (for the layer's extensions).
  struct Impl;
  const Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};
