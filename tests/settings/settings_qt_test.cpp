// The settings dialogs on the real Qt layer (offscreen), acted on as a user
// would: the code under test runs on a worker thread, as a run does, while
// the GUI thread serves events.
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

#include "platform/qt/gui_thread.h"
#include "platform/qt/test_hooks.h"
#include "settings/dialog_templates.h"
#include "settings/graph_settings.h"
#include "settings/graph_settings_dialog.h"
#include "test_problem.h"

using qt_test::dialog_control;
using qt_test::on_gui;
using qt_test::open_message_box;
using qt_test::running_dialog;
using qt_test::wait_for;

namespace {

// Queues `work` on the GUI thread without waiting: for actions that open a
// modal box or dialog, which would keep on_gui from returning. Handed over
// through the layer's own queue, whose ordering the thread checker sees, and
// run from the GUI thread's event loop rather than inside that queue's drain,
// so that the modal box's own loop still runs what the test queues next.
void post_to_gui(std::function<void()> work) {
  qtl::post_to_gui([work = std::move(work)] { QTimer::singleShot(0, qApp, work); });
}

// The Graph Settings dialog of a small plane problem, shown on a thread of
// its own like a run shows it.
class GraphSettingsOnQt : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_startup();
    runner_ = std::thread([this] {
      cancelled_ = show_graph_settings(problem_, "(1) Frame A", 11) == DialogEnd::cancelled;
      finished_ = true;
    });
    ASSERT_TRUE(wait_for([] {
      QDialog* d = running_dialog();
      return d != nullptr && d->windowTitle() == "VELTRA: Graph Settings";
    }));
  }
  void TearDown() override {
    if (!finished_) {
      on_gui([] {
        if (QDialog* d = running_dialog()) d->reject();
      });
    }
    runner_.join();
  }
  void press_draw() {
    on_gui([] { static_cast<QPushButton*>(dialog_control(kIdAccept))->click(); });
    EXPECT_TRUE(wait_for([this] { return finished_.load(); }));
  }

  const Problem problem_ = make_problem(3, 2, 1);
  std::thread runner_;
  std::atomic<bool> finished_{false};
  std::atomic<bool> cancelled_{false};
};

TEST_F(GraphSettingsOnQt, ClickingACheckBoxRewritesItsCaption) {
  on_gui([] {
    auto* box = qobject_cast<QCheckBox*>(dialog_control(kIdElementIndices));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "OFF");
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(box->text(), "ON ");
    auto* nodes = qobject_cast<QCheckBox*>(dialog_control(kIdNodeIndices));
    QTest::mouseClick(nodes, Qt::LeftButton);
    EXPECT_EQ(nodes->text(), "OFF");
  });
  press_draw();
  EXPECT_FALSE(cancelled_);
  const GraphSettings s = settings_copy();
  EXPECT_TRUE(s.show_element_indices);
  EXPECT_FALSE(s.show_node_indices);
}

TEST_F(GraphSettingsOnQt, ZeroTypedIntoTheEmptiedDisplacementFieldIsRefused) {
  on_gui([] {
    auto* edit = qobject_cast<QLineEdit*>(dialog_control(kIdDisplacementFactor));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "1");
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);  // emptied: no warning
    EXPECT_EQ(open_message_box(), nullptr);
  });
  EXPECT_FLOAT_EQ(settings_copy().displacement_factor, 0.0f);
  post_to_gui([] {
    QTest::keyClicks(qobject_cast<QLineEdit*>(dialog_control(kIdDisplacementFactor)), "0");
  });
  ASSERT_TRUE(wait_for([] { return open_message_box() != nullptr; }));
  on_gui([] {
    QMessageBox* box = open_message_box();
    EXPECT_EQ(box->windowTitle(), "VELTRA Message");
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_TRUE(box->text().startsWith("WARNING: Displacement Factor can not equal 0.:"));
    EXPECT_TRUE(box->text().endsWith("Displacement Factor set to 1."));
    box->button(QMessageBox::Ok)->click();
  });
  // The callback resets the field once the box's own event loop has
  // returned, which may be a moment after the box is hidden.
  ASSERT_TRUE(wait_for([] { return open_message_box() == nullptr; }));
  EXPECT_TRUE(wait_for([] {
    return qobject_cast<QLineEdit*>(dialog_control(kIdDisplacementFactor))->text() == "1";
  }));
  press_draw();
  const GraphSettings s = settings_copy();
  EXPECT_FLOAT_EQ(s.displacement_factor, 1.0f);
  EXPECT_TRUE(s.displacement_factor_auto);
}

TEST_F(GraphSettingsOnQt, PickingCustomOpensTheCustomColoursDialog) {
  QDialog* outer = nullptr;
  on_gui([&outer] { outer = running_dialog(); });
  post_to_gui([] {
    auto* combo = qobject_cast<QComboBox*>(dialog_control(kIdColourScheme));
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_End);  // the last item, "Custom"
  });
  ASSERT_TRUE(wait_for([] {
    QDialog* d = running_dialog();
    return d != nullptr && d->windowTitle() == "Dialog";
  }));
  on_gui([outer] {
    QDialog* custom = running_dialog();
    EXPECT_EQ(custom->parentWidget(), outer);  // owned by the Graph Settings dialog
    EXPECT_FALSE(dialog_control(kIdCancel)->isVisible());
    EXPECT_TRUE(dialog_control(1041)->isVisible());
  });
  // Grid: the chooser opens on the slot's colour; pick another.
  post_to_gui([] { static_cast<QPushButton*>(dialog_control(1041))->click(); });
  auto chooser = [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* c = qobject_cast<QColorDialog*>(w); c != nullptr && c->isVisible()) return c;
    return static_cast<QColorDialog*>(nullptr);
  };
  ASSERT_TRUE(wait_for([&] { return chooser() != nullptr; }));
  on_gui([&] {
    QColorDialog* c = chooser();
    EXPECT_EQ(c->currentColor(), QColor(0, 255, 0));
    c->setCurrentColor(QColor(0x12, 0x34, 0x56));
    c->accept();
  });
  ASSERT_TRUE(wait_for([&] { return chooser() == nullptr; }));
  on_gui([] { static_cast<QPushButton*>(dialog_control(kIdAccept))->click(); });
  ASSERT_TRUE(wait_for([] {
    QDialog* d = running_dialog();
    return d != nullptr && d->windowTitle() == "VELTRA: Graph Settings";
  }));
  press_draw();
  SettingsGuard guard;
  EXPECT_EQ(guard->colour_scheme, kSchemeCustom);
  EXPECT_EQ(guard->settings.grid_colour, 0x563412u);
  EXPECT_EQ(guard->settings.line_colour, standard_colours[0]);
}

}  // namespace
