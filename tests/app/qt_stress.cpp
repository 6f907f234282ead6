// A stress round on the real Qt layer, offscreen, for scripts/stress.sh:
//
//   app_qt_stress SEED exit|limit
//
// Ten graph commands, NEW Graph and BACK to Settings mixed by SEED, some
// abandoned at the file chooser or cancelled in a settings dialog, the others
// animating while the next commands come (with an occasional CANCEL Draw).
// Then, with animations still drawing, "exit" chooses EXIT and "limit" gives
// the eleventh command and answers the limit message and the end prompt.
// The process ends with code 0 through the program's own end; any other code
// is a failure (2: a step the user takes was refused or never came).
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "app/main_program.h"
#include "platform/qt/test_hooks.h"
#include "platform/wnd.h"
#include "sample_model.h"
#include "sample_writer.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWaitMs = 60000;  // generous: the sanitizer builds are slow

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "app_qt_stress: %s\n", what);
  std::fflush(nullptr);
  _exit(2);
}

void expect(bool holds, const char* what) {
  if (!holds) fail(what);
}

void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void type_into(int id, const std::string& text) {
  qt_test::on_gui([&] {
    auto* edit = qobject_cast<QLineEdit*>(qt_test::dialog_control(id));
    if (edit == nullptr) fail("an edit field is missing");
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromStdString(text));
  });
}

void press(int id) {
  qt_test::on_gui([&] {
    auto* button = qobject_cast<QAbstractButton*>(qt_test::dialog_control(id));
    if (button == nullptr) fail("a button is missing");
    button->click();
  });
}

// Chooses a menu item once the menu takes it (not while a dialog is modal).
void choose(int item) {
  expect(qt_test::wait_for([item] { return qt_test::item_enabled(kGraphMenu, item); }, kWaitMs),
         "a menu item stayed disabled");
  bool chosen = false;
  for (int tries = 0; tries < 600 && !chosen; ++tries) {
    chosen = qt_test::choose_menu(kGraphMenu, item);
    if (!chosen) sleep_ms(50);
  }
  expect(chosen, "the menu refused a command");
}

// Answers the visible message box titled `caption` with `button`.
void answer_box(const char* caption, QMessageBox::StandardButton button) {
  expect(qt_test::wait_for(
             [caption] {
               QMessageBox* box = qt_test::open_message_box();
               return box != nullptr && box->windowTitle() == caption;
             },
             kWaitMs),
         "a message box never came");
  qt_test::on_gui([button] {
    QAbstractButton* b = qt_test::open_message_box()->button(button);
    if (b == nullptr) fail("a message box lacks its button");
    b->click();
  });
}

void drive(unsigned seed, bool by_limit, const std::string& chosen_file) {
  std::mt19937 random(seed);
  auto chance = [&random](int in) { return random() % static_cast<unsigned>(in) == 0; };
  expect(qt_test::wait_for([] { return qt_test::menu_enabled(kGraphMenu); }, kWaitMs), "no menu");

  for (int command = 0; command < 10; ++command) {
    const bool new_graph = command == 0 || chance(3);
    choose(new_graph ? kItemNewGraph : kItemBackToSettings);
    if (new_graph) {
      expect(qt_test::wait_for([] { return qt_test::open_file_chooser() != nullptr; }, kWaitMs), "no file chooser");
      const bool abandon = command > 0 && chance(5);
      qt_test::on_gui([&] {
        QFileDialog* chooser = qt_test::open_file_chooser();
        if (abandon) {
          chooser->reject();
        } else {
          chooser->selectFile(QString::fromStdString(chosen_file));
          static_cast<QDialog*>(chooser)->accept();
        }
      });
      if (abandon) continue;
    }
    expect(qt_test::wait_for([] { return qt_test::dialog_titled("VELTRA: Time Settings"); }, kWaitMs), "no Time Settings");
    const unsigned ending = random() % 6;  // 0: cancel Time Settings, 1: cancel Graph Settings
    if (ending == 0) {
      press(2);
      continue;
    }
    type_into(1023, std::to_string(4 + random() % 7));
    type_into(1024, "1");
    type_into(1025, std::to_string(random() % 40));
    press(1);
    expect(qt_test::wait_for([] { return qt_test::dialog_titled("VELTRA: Graph Settings"); }, kWaitMs), "no Graph Settings");
    press(ending == 1 ? 2 : 1);
    if (chance(6)) choose(kItemCancelDraw);
    sleep_ms(static_cast<int>(random() % 120));
  }

  sleep_ms(static_cast<int>(random() % 300));
  if (!by_limit) {
    qt_test::choose_menu(kGraphMenu, kItemExit);
    fail("EXIT did not end the process");
  }
  // The eleventh command: the limit message, then the runtime's end prompt.
  choose(chance(2) ? kItemNewGraph : kItemBackToSettings);
  answer_box("PLIXO Message:", QMessageBox::Ok);
  answer_box("VELTRA", QMessageBox::Yes);
  sleep_ms(kWaitMs);
  fail("the end prompt did not end the process");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::string(argv[2]) != "exit" && std::string(argv[2]) != "limit")) {
    std::fprintf(stderr, "usage: app_qt_stress SEED exit|limit\n");
    return 64;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const unsigned seed = static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10));
  const bool by_limit = std::string(argv[2]) == "limit";

  const fs::path root = fs::temp_directory_path() / ("veltra-qt-stress-" + std::to_string(getpid()));
  fs::remove_all(root);
  const auto model = sample::make_sample(sample::Kind::portal, {10, 0});
  if (!sample::write_sample(model, (root / "portal").string()).is_ok()) fail("cannot write the sample");
  const std::string chosen_file = (root / "portal" / "comdin.dat").string();
  // The process ends through _exit: scripts/stress.sh removes the folder.

  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  qt_test::start_runtime();
  // The program's thread, as wnd_runtime_main starts it.
  std::thread([] {
    main_program();
    wnd_end_program(0);
  }).detach();
  std::thread([=] {
    drive(seed, by_limit, chosen_file);
  }).detach();
  app.exec();
  fail("the event loop ended");
}
