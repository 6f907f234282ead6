// The runtime menus, the program's menu, the "&" rule and the item states.
#include <QClipboard>
#include <QGuiApplication>
#include <atomic>
#include <gtest/gtest.h>

#include "qt_harness.h"

using namespace qt_test;

namespace {

std::atomic<int> runs{0};
std::atomic<bool> ran_on_gui{false};
std::atomic<bool> last_checked{false};
void routine(bool checked) {
  ++runs;
  ran_on_gui = wnd_on_gui_thread();
  last_checked = checked;
}

TEST(Menus, RuntimeMenusComeFirst) {
  ASSERT_EQ(menu_count(), 6);
  const char* titles[] = {"&File", "&Edit", "&View", "&State", "&Window", "&Help"};
  for (int m = 1; m <= 6; ++m) EXPECT_EQ(menu_title(m), titles[m - 1]);
  ASSERT_EQ(item_count(6), 3);
  EXPECT_EQ(item_text(6, 1), "&Contents");
  EXPECT_EQ(item_text(6, 2), "Using &Help");
  EXPECT_EQ(item_text(6, 3), "&About");
  // Disabling Help's first two items leaves About.
  EXPECT_TRUE(wnd_menu_set_flags(6, 1, kMenuDisabled));
  EXPECT_TRUE(wnd_menu_set_flags(6, 2, kMenuDisabled));
  EXPECT_FALSE(item_enabled(6, 1));
  EXPECT_FALSE(choose_menu(6, 2));
  EXPECT_TRUE(item_enabled(6, 3));
  EXPECT_TRUE(wnd_set_about_text("VELTRA for TARVEK\nline two\nline three"));
  EXPECT_EQ(about_text(), "VELTRA for TARVEK\nline two\nline three");
}

TEST(Menus, CopyNeedsAGraphWindow) {
  EXPECT_FALSE(choose_menu(2, 1));  // Edit, Copy: no graph window yet
  EXPECT_FALSE(choose_menu(1, 1));  // File, Save
  harness::open_graph(10, 50, 40);
  EXPECT_TRUE(choose_menu(2, 1));
  QImage copied;
  on_gui([&] { copied = QGuiApplication::clipboard()->image(); });
  EXPECT_EQ(copied.size(), QSize(50, 40));
}

TEST(Menus, ProgramMenuAtSevenWithTheAccessKeyRule) {
  ASSERT_TRUE(wnd_menu_insert(7, 0, kMenuGreyed, "NEW GRAPH", wnd_menu_no_action));
  ASSERT_TRUE(wnd_menu_append(7, kMenuEnabled, "NEW Graph", routine));
  ASSERT_TRUE(wnd_menu_append(7, kMenuDisabled + kMenuUnchecked, "BACK to Settings", routine));
  ASSERT_TRUE(wnd_menu_append(7, kMenuDisabled, "CANCEL Draw", routine));
  ASSERT_TRUE(wnd_menu_append(7, kMenuSeparator, "", wnd_menu_no_action));
  ASSERT_TRUE(wnd_menu_append(7, kMenuEnabled, "E&XIT", wnd_menu_exit_action));
  EXPECT_EQ(menu_count(), 7);
  EXPECT_EQ(menu_title(7), "&NEW GRAPH");
  EXPECT_EQ(item_count(7), 5);
  EXPECT_EQ(item_text(7, 1), "&NEW Graph");
  EXPECT_EQ(item_text(7, 2), "&BACK to Settings");
  EXPECT_EQ(item_text(7, 5), "E&XIT");  // has its own "&"
  EXPECT_FALSE(wnd_menu_append(9, kMenuEnabled, "nowhere", routine));
  EXPECT_FALSE(wnd_menu_insert(9, 0, kMenuEnabled, "gap", routine));
  EXPECT_FALSE(wnd_menu_set_flags(7, 6, kMenuEnabled));

  // The greyed top-level menu makes every item unreachable.
  EXPECT_FALSE(menu_enabled(7));
  EXPECT_FALSE(choose_menu(7, 1));
  EXPECT_FALSE(item_enabled(7, 1));
  EXPECT_EQ(runs, 0);

  // Enabling it restores the items' own states.
  ASSERT_TRUE(wnd_menu_set_flags(7, 0, kMenuEnabled));
  EXPECT_TRUE(menu_enabled(7));
  EXPECT_TRUE(item_enabled(7, 1));
  EXPECT_FALSE(item_enabled(7, 2));
  EXPECT_FALSE(choose_menu(7, 2));
  EXPECT_FALSE(choose_menu(7, 4));  // a separator
  EXPECT_EQ(runs, 0);
  EXPECT_TRUE(choose_menu(7, 1));
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(ran_on_gui);

  ASSERT_TRUE(wnd_menu_set_flags(7, 2, kMenuEnabled));
  ASSERT_TRUE(wnd_menu_set_flags(7, 3, kMenuEnabled));
  EXPECT_TRUE(choose_menu(7, 2));
  EXPECT_TRUE(choose_menu(7, 3));
  EXPECT_EQ(runs, 3);

  // Greyed again: refused again.
  ASSERT_TRUE(wnd_menu_set_flags(7, 0, kMenuGreyed));
  EXPECT_FALSE(choose_menu(7, 1));
  EXPECT_EQ(runs, 3);
}

TEST(Menus, CheckedStateIsTheItemsOwn) {
  ASSERT_TRUE(wnd_menu_insert(7, 0, kMenuEnabled, "Test", wnd_menu_no_action));
  ASSERT_TRUE(wnd_menu_append(7, kMenuEnabled + kMenuChecked, "Marked", routine));
  EXPECT_TRUE(item_checked(7, 1));
  EXPECT_TRUE(choose_menu(7, 1));
  EXPECT_TRUE(last_checked);
  EXPECT_TRUE(item_checked(7, 1));  // choosing does not toggle it
  ASSERT_TRUE(wnd_menu_set_flags(7, 1, kMenuUnchecked));
  EXPECT_FALSE(item_checked(7, 1));
  EXPECT_TRUE(choose_menu(7, 1));
  EXPECT_FALSE(last_checked);
  // An item inserted before it takes its number.
  ASSERT_TRUE(wnd_menu_insert(7, 1, kMenuEnabled, "First", routine));
  EXPECT_EQ(item_text(7, 1), "&First");
  EXPECT_EQ(item_text(7, 2), "&Marked");
}

TEST(Menus, ViewAndStateItemsToggle) {
  EXPECT_FALSE(item_checked(4, 1));
  EXPECT_TRUE(choose_menu(4, 1));  // Always on Top
  EXPECT_TRUE(item_checked(4, 1));
  EXPECT_TRUE(choose_menu(4, 1));
  EXPECT_FALSE(item_checked(4, 1));
  EXPECT_TRUE(choose_menu(3, 1));  // Full Screen
  EXPECT_TRUE(item_checked(3, 1));
  EXPECT_TRUE(choose_menu(3, 1));
  EXPECT_FALSE(item_checked(3, 1));
}

}  // namespace
