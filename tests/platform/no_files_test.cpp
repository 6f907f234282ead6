// The program writes no files: the colour chooser, given user-defined colours,
// and the file chooser leave an empty home folder empty. Qt's own dialogs
// otherwise keep such state in the user's settings file.
#include <stdlib.h>

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <thread>

#include "platform/dlg.h"
#include "platform/qt/test_hooks.h"

namespace {

namespace fs = std::filesystem;

// Before main, and so before the QApplication and any settings file, HOME and
// XDG_CONFIG_HOME point at a new empty folder.
std::string make_empty_home() {
  std::string folder = (fs::temp_directory_path() / "veltra-home-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) return {};
  setenv("HOME", folder.c_str(), 1);
  setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  return folder;
}
const std::string empty_home = make_empty_home();

template <typename Chooser>
Chooser* visible_chooser() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* chooser = qobject_cast<Chooser*>(widget);
    if (chooser != nullptr && chooser->isVisible()) return chooser;
  }
  return nullptr;
}

template <typename Chooser>
bool no_chooser_left() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (qobject_cast<Chooser*>(widget) != nullptr) return false;
  return true;
}

TEST(NoFiles, TheChoosersWriteNothingIntoTheHomeFolder) {
  ASSERT_FALSE(empty_home.empty());

  // The colour chooser with user-defined cells, accepted; then again, with a
  // cell the user changed.
  std::array<Rgb, 16> cells{};
  for (std::size_t i = 0; i < cells.size(); ++i) cells[i] = static_cast<Rgb>(0x101010 * (i + 1));
  for (int round = 0; round < 2; ++round) {
    Rgb chosen = 0;
    bool accepted = false;
    std::thread chooser([&] { accepted = dlg_choose_colour(nullptr, 0x0000FF, &cells, &chosen); });
    ASSERT_TRUE(qt_test::wait_for([] { return visible_chooser<QColorDialog>() != nullptr; }));
    qt_test::on_gui([round] {
      QColorDialog* dialog = visible_chooser<QColorDialog>();
      if (round == 1) QColorDialog::setCustomColor(3, QColor(1, 2, 3));
      dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
      dialog->accept();
    });
    chooser.join();
    EXPECT_TRUE(accepted);
    EXPECT_EQ(chosen, 0x563412u);
  }
  EXPECT_EQ(cells[3], 0x030201u);

  // The file chooser, cancelled.
  std::thread file_chooser([] {
    FileChooserRequest request;
    request.title = "Select Any File in the Working Directory";
    request.initial_directory = empty_home;
    std::string path;
    dlg_choose_file(request, &path);
  });
  ASSERT_TRUE(qt_test::wait_for([] { return visible_chooser<QFileDialog>() != nullptr; }));
  qt_test::on_gui([] { visible_chooser<QFileDialog>()->reject(); });
  file_chooser.join();

  // The choosers are gone (they write their state when they are deleted).
  ASSERT_TRUE(qt_test::wait_for([] { return no_chooser_left<QColorDialog>() && no_chooser_left<QFileDialog>(); }));
  std::vector<std::string> written;
  for (const auto& entry : fs::recursive_directory_iterator(empty_home)) written.push_back(entry.path().string());
  EXPECT_TRUE(written.empty()) << "first written: " << written.front();
  fs::remove_all(empty_home);
}

}  // namespace
