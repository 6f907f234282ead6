// The main program and the menu commands on the recording layer: start-up,
// the menu states, cancel requests, the graph limit.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/app_state.h"
#include "app/main_program.h"
#include "input/language.h"
#include "render/cancel.h"
#include "support/fake_platform.h"

namespace {

// Runs the program as the runtime does, on a thread of its own; joined when
// the test ends it through the graph limit.
class MainProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::reset();
    runtime_ = std::thread([] { wnd_runtime_main(0, nullptr, main_program); });
    ASSERT_TRUE(fake::wait_until([] { return menu_flags(kGraphMenu, 0) == kMenuEnabled; }));
  }
  void TearDown() override {
    // Commands up to the limit end the idle loop; the eleventh starts no run.
    while (graph_counter.load() < kGraphCounterLimit) fake::choose_menu(kGraphMenu, kItemNewGraph);
    runtime_.join();
  }

  static int menu_flags(int menu, int item) {
    auto menus = fake::menus();
    if (static_cast<int>(menus.size()) < menu) return -1;
    if (static_cast<int>(menus[menu - 1].size()) <= item) return -1;
    return menus[menu - 1][item].flags;
  }

  std::thread runtime_;
};

TEST_F(MainProgramTest, StartsWithInfoWindowMenuAndAboutText) {
  const auto children = fake::children();
  ASSERT_FALSE(children.empty());
  EXPECT_EQ(children[0].unit, 9);
  EXPECT_EQ(children[0].title, " VELTRA: Info");
  EXPECT_EQ(children[0].kind, ChildKind::text);
  EXPECT_EQ(fake::lines(9), std::vector<std::string>{" * VELTRA Graph Started"});

  const auto menus = fake::menus();
  ASSERT_EQ(menus.size(), 7u);
  const auto& graph = menus[kGraphMenu - 1];
  ASSERT_EQ(graph.size(), 6u);
  EXPECT_EQ(graph[0].text, "&NEW GRAPH");
  EXPECT_EQ(graph[1].text, "&NEW Graph");
  EXPECT_EQ(graph[2].text, "&BACK to Settings");
  EXPECT_EQ(graph[3].text, "&CANCEL Draw");
  EXPECT_EQ(graph[4].flags & kMenuSeparator, kMenuSeparator);
  EXPECT_EQ(graph[5].text, "&EXIT");
  EXPECT_EQ(graph[5].routine, &wnd_menu_exit_action);
  EXPECT_EQ(graph[1].flags, kMenuEnabled);
  EXPECT_EQ(graph[2].flags & kMenuDisabled, kMenuDisabled);
  EXPECT_EQ(graph[3].flags & kMenuDisabled, kMenuDisabled);

  EXPECT_EQ(menu_flags(kHelpMenu, 1) & kMenuDisabled, kMenuDisabled);
  EXPECT_EQ(menu_flags(kHelpMenu, 2) & kMenuDisabled, kMenuDisabled);
  EXPECT_EQ(menu_flags(kHelpMenu, 3) & (kMenuDisabled | kMenuGreyed), 0);
  const std::string about = fake::about_text();
  EXPECT_EQ(about.rfind("VELTRA for TARVEK\n", 0), 0u);
  EXPECT_EQ(std::count(about.begin(), about.end(), '\n'), 2);
  EXPECT_LE(about.size(), 100u);  // the about text's field

  // Disabled items refuse the choice.
  EXPECT_FALSE(fake::choose_menu(kGraphMenu, kItemBackToSettings));
  EXPECT_FALSE(fake::choose_menu(kGraphMenu, kItemCancelDraw));
}

TEST_F(MainProgramTest, FirstNewGraphEnablesBackAndCancelEvenWhenAbandoned) {
  // No file choice is queued: the chooser is cancelled.
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemNewGraph));
  EXPECT_EQ(graph_counter.load(), 10);
  EXPECT_EQ(menu_flags(kGraphMenu, kItemBackToSettings) & (kMenuEnabled | kMenuDisabled | kMenuGreyed),
            kMenuEnabled);
  EXPECT_EQ(menu_flags(kGraphMenu, kItemCancelDraw) & (kMenuEnabled | kMenuDisabled | kMenuGreyed),
            kMenuEnabled);
  ASSERT_TRUE(fake::wait_until([] {
    const auto lines = fake::lines(9);
    return !lines.empty() && lines.back() == " * Returning ...";
  }));
}

TEST_F(MainProgramTest, CancelDrawIsWithdrawnByTheIdleLoop) {
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemNewGraph));
  const auto generation = cancel_generation.load();
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemCancelDraw));
  EXPECT_NE(cancel_generation.load(), generation);
  EXPECT_TRUE(fake::wait_until([] { return !cancel_requested.load(); }, 2000));
}

TEST_F(MainProgramTest, BackToSettingsWithoutAProblemSaysSoAndOpensNoWindow) {
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemNewGraph));  // cancelled at the chooser
  ASSERT_TRUE(fake::wait_until([] {
    const auto lines = fake::lines(9);
    return !lines.empty() && lines.back() == " * Returning ...";
  }));
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemBackToSettings));
  ASSERT_TRUE(fake::wait_until([] { return !fake::message_boxes().empty(); }));
  EXPECT_EQ(fake::message_boxes()[0].caption, "BackGraf Message");
  EXPECT_EQ(fake::lines(9).back(), " * No Problem Loaded: Choose NEW Graph first.");
  for (const auto& child : fake::children()) EXPECT_EQ(child.kind, ChildKind::text);
}

// The graph limit: not a fixture test, because it ends the program itself.
// The runs read a language.dat that asks for Romanian; the limit message was
// composed at start-up and stays English.
TEST(MainProgramLimit, EleventhCommandEndsTheProgramInEnglish) {
  char cwd[PATH_MAX];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  const auto folder = std::filesystem::temp_directory_path() /
                      ("veltra-limit-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "language.dat") << "Romanian\n";
  ASSERT_EQ(chdir(folder.c_str()), 0);

  fake::reset();
  std::thread runtime([] { wnd_runtime_main(0, nullptr, main_program); });
  ASSERT_TRUE(fake::wait_until([] {
    auto menus = fake::menus();
    return menus.size() >= 7 && menus[6][0].flags == kMenuEnabled;
  }));
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemNewGraph));
  // Ten graph commands leave the program running.
  wnd_sleep(0);
  EXPECT_TRUE(fake::wait_until([] { return fake::lines(9).size() >= 1 + 3 * 10; }));
  EXPECT_TRUE(fake::message_boxes().empty());
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemNewGraph));
  runtime.join();

  const auto boxes = fake::message_boxes();
  ASSERT_GE(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "10 graphs limit is reaches.\rRun a new instance of PLIXO");
  EXPECT_EQ(boxes[0].caption, "PLIXO Message:");
  EXPECT_EQ(boxes[0].style, kBoxInformationOk);
  EXPECT_EQ(boxes.back().text, "Program Terminated with exit code 0\nExit Window?");
  EXPECT_EQ(fake::lines(9).back(), " * VELTRA Graph Exited");
  EXPECT_EQ(fake::children()[0].title, " VELTRA: Info-Closed");
  EXPECT_EQ(fake::menus()[kGraphMenu - 1][0].flags & kMenuGreyed, kMenuGreyed);
  EXPECT_FALSE(fake::choose_menu(kGraphMenu, kItemNewGraph));
  EXPECT_TRUE(romanian_messages.load());

  ASSERT_EQ(chdir(cwd), 0);
  std::filesystem::remove_all(folder);
  romanian_messages.store(false);
}

// EXIT ends the process at once: no limit message, no farewell line.
TEST(MainProgramExit, ExitEndsTheProcessAtOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        fake::reset();
        std::thread([] { wnd_runtime_main(0, nullptr, main_program); }).detach();
        fake::wait_until([] {
          auto menus = fake::menus();
          return menus.size() >= 7 && menus[6][0].flags == kMenuEnabled;
        });
        fake::choose_menu(kGraphMenu, kItemExit);
        // Not reached: the exit action ends the process.
        std::fprintf(stderr, "still running\n");
        std::exit(3);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
