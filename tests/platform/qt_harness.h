// Helpers of the Qt layer tests. Test bodies run on a thread of their own,
// as the program does, while the main thread runs the QApplication's event
// loop (qt_test_main.cpp).
#pragma once

#include <QImage>
#include <functional>
#include <thread>

#include "platform/gfx.h"
#include "platform/qt/test_hooks.h"
#include "platform/wnd.h"

namespace harness {

// Opens a graph window of exactly width x height pixels on `unit`; it becomes
// the calling thread's current window.
inline void open_graph(int unit, int width, int height) {
  wnd_set_graph_area_size(width, height);
  wnd_open_child(unit, "Test graph", ChildKind::graph);
  wnd_set_graph_area_size(0, 0);
}

// The colour of a pixel as a packed 0x00BBGGRR value.
inline Rgb pixel(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return make_rgb(static_cast<unsigned>(qRed(p)), static_cast<unsigned>(qGreen(p)),
                  static_cast<unsigned>(qBlue(p)));
}

// Runs `work` on another thread and waits for it.
inline void on_other_thread(const std::function<void()>& work) {
  std::thread t(work);
  t.join();
}

}  // namespace harness
