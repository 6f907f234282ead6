// The dialog builder: layout in dialog units, the values shown, callbacks on
// the user's actions only, closing, ownership and nesting.
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QFile>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "platform/dlg.h"
#include "platform/qt/dialog_builder.h"
#include "platform/qt/frame_window.h"
#include "qt_harness.h"

using qt_test::dialog_control;
using qt_test::on_gui;
using qt_test::running_dialog;
using qt_test::wait_for;

namespace {

enum : int { kCheck = 10, kEdit = 11, kList = 12, kDrop = 13, kCombo = 14, kLabel = 15, kNested = 16 };

DialogTemplate test_template() {
  DialogTemplate t;
  t.number = 900;
  t.caption = "Test Settings";
  t.font_face = "MS Sans Serif";
  t.font_points = 8;
  t.width = 200;
  t.height = 150;
  t.controls = {
      {kCheck, ControlKind::check_box, "&Grid", 10, 10, 60, 10, 0, nullptr},
      {kLabel, ControlKind::static_text, "&Start:\nstep", 10, 24, 40, 16, 0, nullptr},
      {kEdit, ControlKind::edit, "", 60, 24, 40, 12, kStyleBorder, nullptr},
      {kList, ControlKind::list_box, "", 10, 44, 60, 40, kStyleVScroll, nullptr},
      {kDrop, ControlKind::drop_down_list, "", 80, 44, 60, 60, 0, nullptr},
      {kCombo, ControlKind::simple_combo, "", 150, 10, 44, 60, 0, nullptr},
      {kNested, ControlKind::push_button, "More...", 80, 100, 40, 14, 0, nullptr},
      {1, ControlKind::push_button, "OK", 100, 126, 40, 14, kStyleDefault, nullptr},
      {2, ControlKind::push_button, "Cancel", 150, 126, 40, 14, 0, nullptr},
  };
  return t;
}

struct Seen {
  int id;
  int reason;
  bool checked;
  std::string text;
  int selection;
  bool on_gui;
};
std::vector<Seen> seen;  // written by callbacks on the GUI thread, read after the run

void record(Dialog& d, int id, int reason) {
  bool checked = false;
  std::string text;
  int selection = 0;
  dlg_get_logical(d, id, &checked);
  dlg_get_text(d, id, &text, 6);
  dlg_get_integer(d, id, &selection);
  seen.push_back({id, reason, checked, text, selection, wnd_on_gui_thread()});
}

// On a click of the check box the program fills the edit field and the list;
// none of that raises a callback.
void on_check(Dialog& d, int id, int reason) {
  record(d, id, reason);
  dlg_set_text(d, kEdit, "12");
  dlg_set_integer(d, kList, 2, DlgProperty::item_count);
  dlg_set_text(d, kList, "one", DlgProperty::item, 1);
  dlg_set_text(d, kList, "two", DlgProperty::item, 2);
  dlg_set_integer(d, kList, 2, DlgProperty::item);
  dlg_set_logical(d, kDrop, false, DlgProperty::enabled);
}

// Runs `user` on the GUI thread once the dialog is open, then returns what
// dlg_run_modal returned on this thread.
int run_with(Dialog& d, const std::function<void()>& user) {
  std::atomic<int> result{-100};
  std::thread runner([&] { result = dlg_run_modal(d); });
  EXPECT_TRUE(wait_for([] { return running_dialog() != nullptr; }));
  on_gui(user);
  runner.join();
  return result;
}

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seen.clear();
    dlg_init(tmpl, dialog);
  }
  void TearDown() override { dlg_release(dialog); }
  DialogTemplate tmpl = test_template();
  Dialog dialog;
};

TEST_F(DialogTest, LayoutInDialogUnitsAndValuesSetBeforeTheRun) {
  dlg_set_logical(dialog, kCheck, true);
  dlg_set_text(dialog, kEdit, "7");
  dlg_set_integer(dialog, kDrop, 3, DlgProperty::item_count);
  for (int i = 1; i <= 3; ++i) dlg_set_text(dialog, kDrop, "item " + std::to_string(i), DlgProperty::item, i);
  dlg_set_integer(dialog, kDrop, 2);
  dlg_set_callback(dialog, kCheck, record);
  dlg_set_callback(dialog, kEdit, record);
  dlg_set_callback(dialog, kDrop, record);
  const int result = run_with(dialog, [] {
    auto* d = static_cast<qtl::TemplateDialog*>(running_dialog());
    EXPECT_EQ(d->windowTitle(), "Test Settings");
    EXPECT_EQ(d->font().family(), "Liberation Sans");
    EXPECT_EQ(d->size(), QSize(d->x_pixels(200), d->y_pixels(150)));
    EXPECT_GT(d->x_pixels(200), 250);
    QWidget* edit = dialog_control(kEdit);
    EXPECT_EQ(edit->geometry().topLeft(), QPoint(d->x_pixels(60), d->y_pixels(24)));
    EXPECT_EQ(edit->width(), d->x_pixels(40));
    EXPECT_TRUE(static_cast<QCheckBox*>(dialog_control(kCheck))->isChecked());
    EXPECT_EQ(static_cast<QLineEdit*>(edit)->text(), "7");
    auto* drop = static_cast<QComboBox*>(dialog_control(kDrop));
    EXPECT_EQ(drop->count(), 3);
    EXPECT_EQ(drop->currentText(), "item 2");
    auto* label = static_cast<QLabel*>(dialog_control(kLabel));
    EXPECT_EQ(label->text(), "&Start:\nstep");
    EXPECT_EQ(label->buddy(), edit);
    // Owned by the frame window, whose menu takes no input meanwhile.
    EXPECT_EQ(d->parentWidget(), qtl::frame_window());
    EXPECT_EQ(d->windowModality(), Qt::WindowModal);
    EXPECT_EQ(QApplication::activeModalWidget(), d);
    static_cast<QPushButton*>(dialog_control(1))->click();
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(dialog.closed_by, 1);
  EXPECT_TRUE(seen.empty());  // opening raised nothing
  EXPECT_EQ(dialog.native, nullptr);
}

TEST_F(DialogTest, ClickAndTypingRaiseCallbacksProgramChangesDoNot) {
  dlg_set_callback(dialog, kCheck, on_check);
  dlg_set_callback(dialog, kEdit, record);
  dlg_set_callback(dialog, kList, record);
  const int result = run_with(dialog, [] {
    QWidget* check = dialog_control(kCheck);
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
    auto* edit = static_cast<QLineEdit*>(dialog_control(kEdit));
    EXPECT_EQ(edit->text(), "12");  // the program's value is shown at once
    auto* list = static_cast<QListWidget*>(dialog_control(kList));
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_FALSE(dialog_control(kDrop)->isEnabled());
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "34");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    running_dialog()->reject();  // the close box
  });
  EXPECT_EQ(result, 2);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].id, kCheck);
  EXPECT_EQ(seen[0].reason, kReasonClicked);
  EXPECT_TRUE(seen[0].checked);  // the record has the click already
  EXPECT_TRUE(seen[0].on_gui);
  EXPECT_EQ(seen[1].id, kEdit);
  EXPECT_EQ(seen[1].reason, kReasonChanged);
  EXPECT_EQ(seen[1].text, "3     ");
  EXPECT_EQ(seen[2].text, "34    ");
  EXPECT_EQ(seen[3].id, kList);
  EXPECT_EQ(seen[3].reason, kReasonSelChange);
  EXPECT_EQ(seen[3].selection, 1);
  std::string text;
  dlg_get_text(dialog, kEdit, &text, 2);
  EXPECT_EQ(text, "34");
}

TEST_F(DialogTest, ComboAndDropDownReasons) {
  dlg_set_integer(dialog, kCombo, 2, DlgProperty::item_count);
  dlg_set_text(dialog, kCombo, "red", DlgProperty::item, 1);
  dlg_set_text(dialog, kCombo, "green", DlgProperty::item, 2);
  dlg_set_integer(dialog, kDrop, 2, DlgProperty::item_count);
  dlg_set_text(dialog, kDrop, "a", DlgProperty::item, 1);
  dlg_set_text(dialog, kDrop, "b", DlgProperty::item, 2);
  dlg_set_integer(dialog, kDrop, 1);
  dlg_set_callback(dialog, kCombo, record, kReasonUpdate);
  dlg_set_callback(dialog, kCombo, record, kReasonSelChange);
  dlg_set_callback(dialog, kDrop, record);
  run_with(dialog, [] {
    auto* edit = static_cast<QLineEdit*>(dialog_control(kCombo));
    QTest::keyClicks(edit, "x");
    auto* list = edit->parentWidget()->findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(edit->text(), "green");
    auto* drop = static_cast<QComboBox*>(dialog_control(kDrop));
    drop->setFocus();
    QTest::keyClick(drop, Qt::Key_Down);
    static_cast<QPushButton*>(dialog_control(2))->click();
  });
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].reason, kReasonUpdate);
  EXPECT_EQ(seen[0].text, "x     ");
  EXPECT_EQ(seen[1].reason, kReasonSelChange);
  EXPECT_EQ(seen[1].selection, 2);
  EXPECT_EQ(seen[1].text, "green ");
  EXPECT_EQ(seen[2].id, kDrop);
  EXPECT_EQ(seen[2].reason, kReasonSelChange);
  EXPECT_EQ(seen[2].selection, 2);
}

// A dialog run from a callback is owned by the running dialog.
DialogTemplate inner_template = [] {
  DialogTemplate t;
  t.number = 901;
  t.caption = "Inner";
  t.width = 100;
  t.height = 50;
  t.controls = {{1, ControlKind::push_button, "OK", 10, 30, 40, 14, kStyleDefault, nullptr}};
  return t;
}();
std::atomic<bool> inner_owned_by_outer{false};
std::atomic<int> inner_result{0};

void on_nested(Dialog& outer, int, int) {
  Dialog inner;
  dlg_init(inner_template, inner);
  QTimer::singleShot(0, [&outer] {
    QDialog* shown = running_dialog();
    inner_owned_by_outer = shown != nullptr && shown->parentWidget() == outer.native;
    static_cast<QPushButton*>(dialog_control(1))->click();
  });
  inner_result = dlg_run_modal(inner);
  dlg_release(inner);
}

TEST_F(DialogTest, NestedDialogIsOwnedByTheOuterOne) {
  dlg_set_callback(dialog, kNested, on_nested);
  const int result = run_with(dialog, [] {
    static_cast<QPushButton*>(dialog_control(kNested))->click();
    static_cast<QPushButton*>(dialog_control(1))->click();
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(inner_result, 1);
  EXPECT_TRUE(inner_owned_by_outer);
}

// While the callback waits in a message box, OK is pressed: the dialog closes
// only once the callback has finished.
std::atomic<bool> open_after_box{false};
void on_check_with_box(Dialog&, int, int) {
  QTimer::singleShot(0, [] {
    static_cast<QPushButton*>(dialog_control(1))->click();
    QTimer::singleShot(0, [] { qt_test::open_message_box()->button(QMessageBox::Ok)->click(); });
  });
  wnd_message_box("Hint", "Settings Message", kBoxInformationOk);
  open_after_box = running_dialog() != nullptr;
}

TEST_F(DialogTest, ClosingWaitsForTheRunningCallback) {
  dlg_set_callback(dialog, kCheck, on_check_with_box);
  const int result = run_with(dialog, [] {
    QWidget* check = dialog_control(kCheck);
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
  });
  EXPECT_TRUE(open_after_box);
  EXPECT_EQ(result, 1);
}

TEST_F(DialogTest, ButtonsWithTheirOwnCallbackDoNotClose) {
  dlg_set_callback(dialog, 1, record);
  const int result = run_with(dialog, [] {
    static_cast<QPushButton*>(dialog_control(1))->click();
    EXPECT_NE(running_dialog(), nullptr);
    static_cast<QPushButton*>(dialog_control(2))->click();
  });
  EXPECT_EQ(result, 2);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].id, 1);
}

template <class D>
D* shown_dialog() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = qobject_cast<D*>(w); d != nullptr && d->isVisible()) return d;
  return nullptr;
}

// One run's dialog whose callback waits in a message box holds only that
// dialog: a file chooser and a box other threads ask for, and a settings
// dialog another run opens meanwhile (the newest, so the one that takes
// input), still take the user's clicks.
std::atomic<int> hints_shown{0};
std::atomic<int> hint_answer{0};
std::atomic<int> second_clicks{0};
void on_check_with_hint(Dialog&, int, int) {
  ++hints_shown;
  hint_answer = wnd_message_box("Hint", "Settings Message", kBoxInformationOk);
}
void count_click(Dialog&, int, int) { ++second_clicks; }

QMessageBox* box_captioned(const QString& caption) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible() && box->windowTitle() == caption)
      return box;
  return nullptr;
}

QWidget* check_of(const Dialog& d) {
  return static_cast<qtl::TemplateDialog*>(static_cast<QDialog*>(d.native))->control_widget(kCheck);
}

// A click near the left end of `w` as the window system delivers it: a window
// held by a modal one never sees it.
void user_click(QWidget* w) {
  QWidget* top = w->window();
  QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, w->mapTo(top, QPoint(6, w->height() / 2)));
}

TEST(Modality, ACallbacksMessageBoxHoldsOnlyItsOwnDialog) {
  const DialogTemplate tmpl = test_template();
  Dialog first, second;
  dlg_init(tmpl, first);
  dlg_init(tmpl, second);
  dlg_set_callback(first, kCheck, on_check_with_hint);
  dlg_set_callback(second, kCheck, count_click);
  std::thread first_run([&] { dlg_run_modal(first); });
  ASSERT_TRUE(wait_for([&] { return first.native != nullptr; }));

  // The user ticks the first run's box: its callback shows the hint, which
  // holds that dialog.
  on_gui([&] { QTimer::singleShot(0, qApp, [&] { user_click(check_of(first)); }); });
  ASSERT_TRUE(wait_for([] { return box_captioned("Settings Message") != nullptr; }));
  on_gui([&] {
    QMessageBox* hint = box_captioned("Settings Message");
    EXPECT_EQ(hint->windowModality(), Qt::WindowModal);
    EXPECT_EQ(hint->parentWidget(), static_cast<QDialog*>(first.native));
    user_click(check_of(first));
  });
  EXPECT_EQ(hints_shown, 1);

  // Meanwhile a second run's file chooser and Retry/Cancel box take clicks.
  FileChooserRequest request;
  request.title = "Select Any File in the Working Directory";
  std::atomic<int> chosen{0};
  std::thread chooser([&] { chosen = dlg_choose_file(request, nullptr) ? 1 : 2; });
  ASSERT_TRUE(wait_for([] { return shown_dialog<QFileDialog>() != nullptr; }));
  on_gui([] {
    auto* buttons = shown_dialog<QFileDialog>()->findChild<QDialogButtonBox*>();
    user_click(buttons->button(QDialogButtonBox::Cancel));
  });
  EXPECT_TRUE(wait_for([&] { return chosen != 0; }, 1000));
  if (chosen == 0) on_gui([] { shown_dialog<QFileDialog>()->reject(); });
  chooser.join();

  std::atomic<int> retry{0};
  std::thread asker([&] { retry = wnd_message_box("Missing files", "Verify", kBoxRetryCancelError); });
  ASSERT_TRUE(wait_for([] { return box_captioned("Verify") != nullptr; }));
  on_gui([] { user_click(box_captioned("Verify")->button(QMessageBox::Retry)); });
  EXPECT_TRUE(wait_for([&] { return retry != 0; }, 1000));
  if (retry == 0) on_gui([] { box_captioned("Verify")->button(QMessageBox::Cancel)->click(); });
  asker.join();
  EXPECT_EQ(retry, kBoxResultRetry);

  // ...and so does its settings dialog.
  std::thread second_run([&] { dlg_run_modal(second); });
  ASSERT_TRUE(wait_for([&] { return second.native != nullptr; }));
  on_gui([&] { user_click(check_of(second)); });
  EXPECT_EQ(second_clicks, 1);

  on_gui([] { box_captioned("Settings Message")->button(QMessageBox::Ok)->click(); });
  ASSERT_TRUE(wait_for([] { return hint_answer != 0; }));
  EXPECT_EQ(hint_answer, kBoxResultOk);
  for (Dialog* d : {&second, &first})
    on_gui([d] {
      auto* dialog = static_cast<qtl::TemplateDialog*>(static_cast<QDialog*>(d->native));
      static_cast<QPushButton*>(dialog->control_widget(2))->click();
    });
  first_run.join();
  second_run.join();
  dlg_release(first);
  dlg_release(second);
}

TEST(Choosers, ColourChooserOpensOnTheColourAndKeepsTheUserCells) {
  std::array<Rgb, 16> cells{};
  cells[3] = 0x00FF00;
  Rgb chosen = 0;
  std::atomic<bool> accepted{false};
  std::thread asker([&] { accepted = dlg_choose_colour(nullptr, 0x0000FF, &cells, &chosen); });
  ASSERT_TRUE(wait_for([] { return shown_dialog<QColorDialog>() != nullptr; }));
  on_gui([] {
    QColorDialog* d = shown_dialog<QColorDialog>();
    EXPECT_EQ(d->currentColor(), QColor(255, 0, 0));
    EXPECT_EQ(QColorDialog::customColor(3), QColor(0, 255, 0));
    QColorDialog::setCustomColor(5, QColor(0, 0, 255));  // the user stores a colour
    d->setCurrentColor(QColor(10, 20, 30));
    d->accept();
  });
  asker.join();
  EXPECT_TRUE(accepted);
  EXPECT_EQ(chosen, 0x1E140Au);
  EXPECT_EQ(cells[3], 0x00FF00u);
  EXPECT_EQ(cells[5], 0xFF0000u);

  std::thread cancelled([&] { accepted = dlg_choose_colour(nullptr, 0, &cells, &chosen); });
  ASSERT_TRUE(wait_for([] { return shown_dialog<QColorDialog>() != nullptr; }));
  on_gui([] { shown_dialog<QColorDialog>()->reject(); });
  cancelled.join();
  EXPECT_FALSE(accepted);
  EXPECT_EQ(chosen, 0x1E140Au);
}

TEST(Choosers, FileChooserTakesTheRequestAndLeavesTheMenuUsable) {
  QTemporaryDir dir;
  QFile file(dir.filePath("comdin.dat"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  FileChooserRequest request;
  request.title = "Select Any File in the Working Directory";
  request.filters = {{"All files (*.*)", "*.*"}, {"Data files (*.dat)", "*.dat"}};
  request.filter_index = 1;
  request.initial_directory = dir.path().toStdString() + " ";  // a blank-padded field
  request.preset_name = "comdin.dat";
  request.default_extension = "dat";
  std::string path;
  std::atomic<bool> accepted{false};
  std::thread asker([&] { accepted = dlg_choose_file(request, &path); });
  ASSERT_TRUE(wait_for([] { return shown_dialog<QFileDialog>() != nullptr; }));
  const QString folder = dir.path();
  on_gui([&] {
    QFileDialog* d = shown_dialog<QFileDialog>();
    EXPECT_EQ(d->windowTitle(), "Select Any File in the Working Directory");
    EXPECT_EQ(QFileInfo(d->directory().absolutePath()).canonicalFilePath(),
              QFileInfo(folder).canonicalFilePath());
    EXPECT_EQ(d->nameFilters().size(), 2);
    EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(d->parentWidget(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  });
  EXPECT_TRUE(qt_test::choose_menu(5, 1));  // the menu stays usable
  on_gui([] { static_cast<QDialog*>(shown_dialog<QFileDialog>())->accept(); });
  asker.join();
  EXPECT_TRUE(accepted);
  EXPECT_EQ(QFileInfo(QString::fromStdString(path)).canonicalFilePath(),
            QFileInfo(dir.filePath("comdin.dat")).canonicalFilePath());
}

TEST(Choosers, FileChooserTakesThePresetNameInAnyLetterCase) {
  QTemporaryDir dir;
  QFile file(dir.filePath("COMDIN.DAT"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  FileChooserRequest request;
  request.title = "Select Any File in the Working Directory";
  request.initial_directory = dir.path().toStdString();
  request.preset_name = "comdin.dat";
  std::string path;
  std::atomic<bool> accepted{false}, returned{false};
  std::thread asker([&] {
    accepted = dlg_choose_file(request, &path);
    returned = true;
  });
  ASSERT_TRUE(wait_for([] { return shown_dialog<QFileDialog>() != nullptr; }));
  // Accepted as the Open button does; a chooser that refuses the name shows
  // its "File not found" box instead of closing.
  on_gui([] { QMetaObject::invokeMethod(shown_dialog<QFileDialog>(), "accept", Qt::QueuedConnection); });
  wait_for([&] { return returned.load() || shown_dialog<QMessageBox>() != nullptr; });
  on_gui([] {
    if (QMessageBox* box = shown_dialog<QMessageBox>()) {
      box->reject();
      static_cast<QDialog*>(shown_dialog<QFileDialog>())->reject();
    }
  });
  asker.join();
  EXPECT_TRUE(accepted);
  EXPECT_EQ(QFileInfo(QString::fromStdString(path)).canonicalFilePath(),
            QFileInfo(dir.filePath("COMDIN.DAT")).canonicalFilePath());
}

TEST(Dialogs, WithoutTemplateNothingIsShown) {
  Dialog empty;
  EXPECT_EQ(dlg_run_modal(empty), -1);
}

}  // namespace
