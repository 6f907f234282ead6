// The retained picture of a graph window and the drawing state of a window.
//
// A Canvas owns both behind its mutex; the only way in is Canvas::locked,
// which runs a function on the state with the mutex held. Every gfx_
// operation goes in once, paints into the image, widens the dirty box and,
// when no repaint is pending yet, posts one to the GUI thread. The window's
// paint event copies from the image the same way, so a covered window
// repaints itself and drawing never interleaves with a repaint.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/gfx.h"
#include "base/mutex.h"
#include "platform/qt/glyph_cache.h"
#include "platform/raster.h"
#include "base/thread_annotations.h"

namespace qtl {

// What a Canvas guards.
struct CanvasState {
  // The picture (graph windows; a text window has a null image and only
  // uses the colours).
  QImage image;

  // World window and its mapping px = ox + sx * x, py = oy + sy * y.
  bool y_up = false;
  double x1 = 0, y1 = 0, x2 = 1, y2 = 1;
  double sx = 1, sy = 1, ox = 0, oy = 0;

  WorldPoint position;
  Rgb colour = kRgbBlack;
  Rgb background = kRgbWhite;
  Rgb text_colour = kRgbBlack;
  std::uint16_t line_style = kLineSolid;
  FillMask fill = kFillSolid;

  QFont font;  // current font of graphic text
  std::optional<QFontMetrics> metrics;
  int font_number = 0;  // 0: the window's default font
  // Glyph masks of the fonts used last; `glyphs` is the current font's, found
  // on first use after set_font.
  std::vector<std::unique_ptr<GlyphCache>> glyph_caches;
  GlyphCache* glyphs = nullptr;
  int text_row = 1;
  int text_column = 1;

  std::vector<double> points;     // polygon vertices in pixels, reused
  std::vector<double> crossings;  // polygon fill scratch, reused

  // Repaint scheduling.
  PixelBox dirty;
  bool repaint_pending = false;

  // A white picture of width x height pixels (at least 1 x 1) whose world
  // coordinates are its pixels.
  void new_picture(int width, int height);

  // Sets the world window (no checks) and its mapping.
  void set_world(bool y_up, double x1, double y1, double x2, double y2);
  double to_px(double x) const { return ox + sx * x; }
  double to_py(double y) const { return oy + sy * y; }

  void set_font(const QFont& f, int number);
  // The glyph cache of the current font.
  GlyphCache& glyph_cache();

  PixelBuffer buffer();

  // Adds `box` to the dirty area; true when the caller must post a repaint
  // (call post_repaint after unlocking).
  bool mark_dirty(const PixelBox& box);
};

class Canvas {
 public:
  // A canvas of width x height pixels (at least 1 x 1), or without an image.
  Canvas(int width, int height, bool with_image);
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // Runs fn(state) with the canvas locked and returns (a copy of) what it
  // returns. fn must not hand work to the GUI thread and wait for it: the
  // GUI thread takes the same lock to repaint.
  template <class Fn>
  auto locked(Fn&& fn) EXCLUDES(mutex_) {
    MutexLock lock(mutex_);
    return std::forward<Fn>(fn)(state_);
  }

  // The view that shows the canvas; read and written on the GUI thread only.
  QPointer<QWidget> view;

 private:
  Mutex mutex_;
  CanvasState state_ GUARDED_BY(mutex_);
};

// Posts a repaint of the canvas's dirty area to the GUI thread.
void post_repaint(const std::shared_ptr<Canvas>& canvas);

// Copy of the picture, taken under the canvas lock.
QImage snapshot(Canvas& canvas);

}  // namespace qtl
