// Child windows, text windows, message boxes, the mouse and the program end.
#include <QApplication>
#include <QFileDialog>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>

#include "platform/dlg.h"
#include "platform/qt/child_window.h"
#include "platform/qt/frame_window.h"
#include "qt_harness.h"

using namespace std::chrono;
using qt_test::on_gui;
using qt_test::wait_for;

namespace {

// The sub-window shown for `unit` (connected or kept after closing).
QMdiSubWindow* sub_window(int unit) {
  for (QMdiSubWindow* sub : qtl::frame_window()->mdi()->subWindowList())
    if (sub->property("veltra_unit").toInt() == unit) return sub;
  return nullptr;
}

TEST(Windows, TextWindowLinesAndTheWhiteFarewell) {
  wnd_open_child(9, " VELTRA: Info", ChildKind::text);
  wnd_write_line(9, " * VELTRA Graph Started");
  wnd_write_line(9, " Work Directory: /tmp");
  wnd_open_child(10, "graph", ChildKind::graph);  // the text window is no longer current
  ASSERT_TRUE(wnd_set_active(9));
  gfx_set_text_colour(kRgbWhite);
  gfx_out_text(" * VELTRA Graph Exited");
  const QStringList lines = qt_test::text_lines(9);
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], " * VELTRA Graph Started");
  EXPECT_EQ(lines[2], " * VELTRA Graph Exited");
  const QList<QColor> colours = qt_test::text_colours(9);
  EXPECT_EQ(colours[2], QColor(Qt::white));
  EXPECT_GT(colours[0].lightness(), 150);  // light text ...
  QColor base;
  on_gui([&] { base = sub_window(9)->widget()->palette().color(QPalette::Base); });
  EXPECT_LT(base.lightness(), 60);  // ... on a dark background
  WindowConfig config;
  ASSERT_TRUE(wnd_get_config(&config));
  EXPECT_EQ(config.title, " VELTRA: Info");
  EXPECT_GT(config.text_columns, 10);
}

TEST(Windows, CloseWithKeepLeavesAClosableWindow) {
  wnd_open_child(9, " VELTRA: Info", ChildKind::text);
  wnd_write_line(9, "last line");
  bool closable = true;
  on_gui([&] { closable = sub_window(9)->close(); });
  EXPECT_FALSE(closable);  // bound to its unit: the user cannot close it
  EXPECT_FALSE(qt_test::system_menu_texts(9).contains("&Close\tCtrl+F4"));

  wnd_close_child(9, true);
  EXPECT_EQ(qt_test::window_title(9), " VELTRA: Info-Closed");
  EXPECT_TRUE(qt_test::system_menu_texts(9).contains("&Close\tCtrl+F4"));
  EXPECT_EQ(qt_test::text_lines(9).last(), "last line");
  wnd_write_line(9, "after closing");  // the unit is disconnected: nothing is written
  EXPECT_EQ(qt_test::text_lines(9).last(), "last line");
  WindowConfig config;
  EXPECT_FALSE(wnd_get_config(&config));

  on_gui([] {
    for (QAction* a : sub_window(9)->systemMenu()->actions()) {
      if (a->text() != "&Close\tCtrl+F4") continue;
      EXPECT_EQ(a->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F4));
      a->trigger();
    }
  });
  EXPECT_TRUE(wait_for([] { return sub_window(9) == nullptr; }));
}

TEST(Windows, CloseWithoutKeepRemovesTheWindow) {
  harness::open_graph(10, 40, 40);
  wnd_close_child(10, false);
  EXPECT_TRUE(wait_for([] { return sub_window(10) == nullptr; }));
  EXPECT_FALSE(gfx_line_to(1, 1));
  EXPECT_EQ(gfx_status(), kGfxErrorNoWindow);
  EXPECT_FALSE(wnd_set_active(10));
}

TEST(Windows, AGraphWindowOpensMaximisedWithItsSize) {
  wnd_open_child(10, "(1) Frame", ChildKind::graph);
  WindowConfig config;
  ASSERT_TRUE(wnd_get_config(&config));
  QSize viewport, view;
  bool maximised = false;
  on_gui([&] {
    viewport = qtl::frame_window()->mdi()->viewport()->size();
    view = sub_window(10)->widget()->size();
    maximised = sub_window(10)->isMaximized();
  });
  EXPECT_TRUE(maximised);
  EXPECT_EQ(QSize(config.width, config.height), view);
  EXPECT_GT(config.width, viewport.width() / 2);
  EXPECT_LE(config.width, viewport.width());
  EXPECT_EQ(wnd_set_size(10, WindowSize{}), 0);
  EXPECT_EQ(wnd_set_size(kFrameWindow, WindowSize{}), 0);
  EXPECT_EQ(wnd_set_size(55, WindowSize{}), -1);
}

TEST(Windows, SavedImageHasThePicture) {
  harness::open_graph(10, 30, 20);
  gfx_set_colour(0x0000FF);
  gfx_move_to(0, 5);
  gfx_line_to(29, 5);
  QTemporaryDir dir;
  const QString path = dir.filePath("picture.png");
  ASSERT_TRUE(wnd_save_image(10, path.toStdString()));
  QImage saved(path);
  ASSERT_EQ(saved.size(), QSize(30, 20));
  EXPECT_EQ(saved.pixel(7, 5), qRgb(255, 0, 0));
  EXPECT_EQ(saved.pixel(7, 6), qRgb(255, 255, 255));
  EXPECT_FALSE(wnd_save_image(77, path.toStdString()));
}

// Answers the visible message box with `button` once it is open, from the
// GUI thread, after checking that nothing is modal meanwhile.
void answer_box(QMessageBox::StandardButton button, bool* frame_was_free) {
  ASSERT_TRUE(wait_for([] { return qt_test::open_message_box() != nullptr; }));
  on_gui([&] {
    *frame_was_free = QApplication::activeModalWidget() == nullptr &&
                      qtl::frame_window()->isEnabled();
    qt_test::open_message_box()->button(button)->click();
  });
}

TEST(Windows, MessageBoxBlocksOnlyTheAskingThread) {
  std::atomic<int> result{0};
  std::thread asker([&] { result = wnd_message_box("Missing files\r\nin folder", "Verify", kBoxRetryCancelError); });
  ASSERT_TRUE(wait_for([] { return qt_test::open_message_box() != nullptr; }));
  QString text, caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  on_gui([&] {
    QMessageBox* box = qt_test::open_message_box();
    text = box->text();
    caption = box->windowTitle();
    icon = box->icon();
  });
  EXPECT_EQ(text, "Missing files\nin folder");
  EXPECT_EQ(caption, "Verify");
  EXPECT_EQ(icon, QMessageBox::Critical);
  // The menu stays usable while the box is open.
  EXPECT_TRUE(qt_test::choose_menu(5, 1));
  bool free = false;
  answer_box(QMessageBox::Retry, &free);
  asker.join();
  EXPECT_TRUE(free);
  EXPECT_EQ(result, kBoxResultRetry);

  std::thread second([&] { result = wnd_message_box("Hint", "Settings Message", kBoxInformationOk); });
  answer_box(QMessageBox::Ok, &free);
  second.join();
  EXPECT_EQ(result, kBoxResultOk);
}

// With the frame set always on top, the windows without an owner (message
// boxes, the end prompt, the file chooser) open above it too; without it they
// are ordinary windows.
TEST(Windows, OwnerlessWindowsOpenAboveAnAlwaysOnTopFrame) {
  const auto stays_on_top = [](QWidget* w) { return w->windowFlags().testFlag(Qt::WindowStaysOnTopHint); };
  for (bool on_top : {true, false}) {
    SCOPED_TRACE(on_top);
    if (qt_test::item_checked(4, 1) != on_top) {
      ASSERT_TRUE(qt_test::choose_menu(4, 1));
    }
    on_gui([&] { EXPECT_EQ(stays_on_top(qtl::frame_window()), on_top); });

    std::atomic<int> result{0};
    std::thread asker([&] { result = wnd_message_box("Missing files", "Verify", kBoxRetryCancelError); });
    ASSERT_TRUE(wait_for([] { return qt_test::open_message_box() != nullptr; }));
    on_gui([&] {
      QMessageBox* box = qt_test::open_message_box();
      EXPECT_EQ(stays_on_top(box), on_top);
      box->button(QMessageBox::Cancel)->click();
    });
    asker.join();

    FileChooserRequest request;
    request.title = "Select Any File in the Working Directory";
    std::thread chooser([&] { dlg_choose_file(request, nullptr); });
    ASSERT_TRUE(wait_for([&] { return qt_test::open_file_chooser() != nullptr; }));
    on_gui([&] {
      EXPECT_EQ(stays_on_top(qt_test::open_file_chooser()), on_top);
      qt_test::open_file_chooser()->reject();
    });
    chooser.join();
  }
}

TEST(Windows, YesNoBoxDefaultsToNoAndEscapeMeansNo) {
  std::atomic<int> result{0};
  std::thread asker([&] { result = wnd_message_box("Exit?", "End", kBoxQuestionYesNo + 256); });
  ASSERT_TRUE(wait_for([] { return qt_test::open_message_box() != nullptr; }));
  on_gui([] {
    QMessageBox* box = qt_test::open_message_box();
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    box->reject();  // the close box or Escape
  });
  asker.join();
  EXPECT_EQ(result, kBoxResultNo);
}

TEST(Windows, SleepAndBeep) {
  auto start = steady_clock::now();
  wnd_sleep(-500);
  EXPECT_LT(steady_clock::now() - start, milliseconds(100));
  start = steady_clock::now();
  wnd_sleep(30);
  EXPECT_GE(steady_clock::now() - start, milliseconds(30));
  start = steady_clock::now();
  wnd_beep(440, 40);
  EXPECT_GE(steady_clock::now() - start, milliseconds(40));
}

std::atomic<int> clicked_unit{0};
std::atomic<bool> clicked_on_gui{false};
void on_double_click(int unit, int event, int, int, int) {
  if (event == kMouseLeftDoubleClick) clicked_unit = unit;
  clicked_on_gui = wnd_on_gui_thread();
}

TEST(Windows, DoubleClickRaisesTheRegisteredRoutine) {
  harness::open_graph(14, 100, 80);
  EXPECT_FALSE(wnd_register_mouse_event(14, kMouseLeftDoubleClick, on_double_click));
  EXPECT_TRUE(wnd_register_mouse_event(14, kMouseLeftDoubleClick, on_double_click));
  EXPECT_FALSE(wnd_register_mouse_event(33, kMouseLeftDoubleClick, on_double_click));
  on_gui([] { QTest::mouseDClick(sub_window(14)->widget(), Qt::LeftButton, {}, QPoint(20, 20)); });
  EXPECT_EQ(clicked_unit, 14);
  EXPECT_TRUE(clicked_on_gui);
  EXPECT_FALSE(wnd_on_gui_thread());
}

std::atomic<int> program_item_runs{0};
void program_item(bool) { ++program_item_runs; }

TEST(Windows, EndProgramGreysTheProgramAndAsks) {
  wnd_menu_insert(7, 0, kMenuEnabled, "NEW GRAPH", wnd_menu_no_action);
  wnd_menu_append(7, kMenuEnabled, "NEW Graph", program_item);
  wnd_menu_append(7, kMenuEnabled, "EXIT", wnd_menu_exit_action);
  wnd_open_child(9, " VELTRA: Info", ChildKind::text);
  std::atomic<bool> returned{false};
  std::thread([&returned] {
    wnd_end_program(3);
    returned = true;  // never reached
  }).detach();
  ASSERT_TRUE(wait_for([] { return qt_test::open_message_box() != nullptr; }));
  on_gui([] {
    QMessageBox* box = qt_test::open_message_box();
    EXPECT_EQ(box->text(), "Program Terminated with exit code 3\nExit Window?");
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    EXPECT_NE(box->button(QMessageBox::Yes), nullptr);
  });
  EXPECT_FALSE(qt_test::item_enabled(7, 1));  // the program's item is greyed
  EXPECT_FALSE(qt_test::choose_menu(7, 1));
  EXPECT_TRUE(qt_test::item_enabled(7, 2));   // EXIT is not the program's
  on_gui([] { qt_test::open_message_box()->button(QMessageBox::No)->click(); });
  EXPECT_TRUE(wait_for([] { return qt_test::open_message_box() == nullptr; }));
  std::this_thread::sleep_for(milliseconds(100));
  EXPECT_FALSE(returned);
  EXPECT_EQ(program_item_runs, 0);
  // No keeps every window.
  EXPECT_FALSE(qt_test::text_lines(9).isEmpty() && qt_test::window_title(9).isEmpty());
  EXPECT_EQ(qt_test::window_title(9), " VELTRA: Info");
}

}  // namespace
