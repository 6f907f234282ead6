// The test program of the Qt layer: the QApplication and the frame window live
// on the main thread (the GUI thread) and the tests run on a thread of their
// own, as the program's code does under wnd_runtime_main.
#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

#include "platform/qt/gui_thread.h"
#include "platform/qt/test_hooks.h"

int main(int argc, char** argv) {
  // Headless unless told otherwise (ctest sets it; test discovery does not).
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  qt_test::start_runtime();
  int result = 1;
  std::thread tests([&result] {
    result = RUN_ALL_TESTS();
    qtl::post_to_gui([] { QCoreApplication::quit(); });
  });
  app.exec();
  tests.join();
  qt_test::stop_runtime();
  return result;
}
