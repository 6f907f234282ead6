// The whole road of two graphs on the real Qt layer, offscreen: NEW Graph from
// the menu, the file chooser answered with a sample problem, both dialogs
// accepted, the animation drawn, then BACK to Settings drawing graph 2 beside
// it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <thread>

#include "app/main_program.h"
#include "platform/qt/test_hooks.h"
#include "sample_model.h"
#include "sample_writer.h"

namespace {

namespace fs = std::filesystem;

// Replaces the text of an edit field as the user would: select all, type.
void type_into(int id, const char* text) {
  qt_test::on_gui([&] {
    auto* edit = qobject_cast<QLineEdit*>(qt_test::dialog_control(id));
    ASSERT_NE(edit, nullptr) << "control " << id;
    edit->selectAll();
    QTest::keyClicks(edit, text);
  });
}

void press(int id) {
  qt_test::on_gui([&] {
    auto* button = qobject_cast<QAbstractButton*>(qt_test::dialog_control(id));
    ASSERT_NE(button, nullptr) << "button " << id;
    button->click();
  });
}

// Whether the picture holds pixels of colour (r, g, b) in rows [top, bottom).
int count_pixels(const QImage& image, int r, int g, int b, int top = 0, int bottom = -1) {
  if (bottom < 0) bottom = image.height();
  int count = 0;
  for (int y = top; y < bottom && y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qRed(p) == r && qGreen(p) == g && qBlue(p) == b) ++count;
    }
  return count;
}

// Accepts both settings dialogs; the Time Settings dialog draws steps 0 to 4
// without a pause.
void accept_dialogs() {
  ASSERT_TRUE(qt_test::wait_for([] { return qt_test::dialog_titled("VELTRA: Time Settings"); }));
  type_into(1023, "4");
  type_into(1024, "1");
  type_into(1025, "0");
  press(1);
  ASSERT_TRUE(qt_test::wait_for([] { return qt_test::dialog_titled("VELTRA: Graph Settings"); }));
  press(1);
}

TEST(QtRoad, TwoGraphsFromTheMenuSideBySide) {
  const fs::path root = fs::temp_directory_path() / ("veltra-qt-road-" + std::to_string(getpid()));
  fs::remove_all(root);
  const auto model = sample::make_sample(sample::Kind::portal, {10, 0});
  ASSERT_TRUE(sample::write_sample(model, (root / "portal").string()).is_ok());
  const std::string chosen = (root / "portal" / "comdin.dat").string();

  // The program runs on a thread of its own, as under wnd_runtime_main; it
  // idles until the process ends.
  std::thread(main_program).detach();
  ASSERT_TRUE(qt_test::wait_for([] { return qt_test::menu_enabled(kGraphMenu); }));

  const int beeps = qt_test::beep_count();
  ASSERT_TRUE(qt_test::choose_menu(kGraphMenu, kItemNewGraph));
  ASSERT_TRUE(qt_test::wait_for([] { return qt_test::open_file_chooser() != nullptr; }));
  qt_test::on_gui([&] {
    QFileDialog* chooser = qt_test::open_file_chooser();
    chooser->selectFile(QString::fromStdString(chosen));
    static_cast<QDialog*>(chooser)->accept();  // as the Open button does
  });
  accept_dialogs();

  // The structure in the line colour, dark red (128, 0, 0), and the heading
  // in the text colour, purple (128, 0, 128), in the top text rows.
  ASSERT_TRUE(qt_test::wait_for([] {
    const QImage image = qt_test::graph_image(10);
    return !image.isNull() && count_pixels(image, 128, 0, 0) > 100;
  }));
  // The animation runs to its closing beep.
  ASSERT_TRUE(qt_test::wait_for([beeps] { return qt_test::beep_count() > beeps; }));
  EXPECT_TRUE(qt_test::window_title(10).startsWith(QStringLiteral("(1) ")));
  const QImage first = qt_test::graph_image(10);
  EXPECT_GT(count_pixels(first, 128, 0, 128, 0, 64), 50);

  ASSERT_TRUE(qt_test::choose_menu(kGraphMenu, kItemBackToSettings));
  accept_dialogs();
  ASSERT_TRUE(qt_test::wait_for([] {
    const QImage image = qt_test::graph_image(11);
    return !image.isNull() && count_pixels(image, 128, 0, 0) > 100;
  }));
  ASSERT_TRUE(qt_test::wait_for([beeps] { return qt_test::beep_count() > beeps + 1; }));
  EXPECT_TRUE(qt_test::window_title(11).startsWith(QStringLiteral("(2) ")));
  EXPECT_TRUE(qt_test::text_lines(9).contains(QStringLiteral(" Graf. No.: 2")));
  // Graph 1 stays on screen with its picture.
  EXPECT_GT(count_pixels(qt_test::graph_image(10), 128, 0, 0), 100);

  fs::remove_all(root);
}

}  // namespace
