// The whole road of a graph on the recording layer: directory choice,
// loading, both dialogs, the extents pass, the window and the animation, and
// the early ends.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <thread>

#include "app/app_state.h"
#include "app/main_program.h"
#include "app/runs.h"
#include "render/cancel.h"
#include "sample_model.h"
#include "sample_writer.h"
#include "support/fake_platform.h"

namespace {

namespace fs = std::filesystem;

constexpr int kTimeSettings = 106;
constexpr int kGraphSettings = 101;
constexpr int kCancel = 2;

class RunsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    start_directory_ = cwd;
    root_ = fs::temp_directory_path() / ("veltra-runs-" + std::to_string(getpid()));
    fs::remove_all(root_);
    for (auto kind : {sample::Kind::portal, sample::Kind::cantilever}) {
      const auto model = sample::make_sample(kind, {12, 0});
      const auto folder = root_ / std::string(sample::kind_name(kind));
      ASSERT_TRUE(sample::write_sample(model, folder.string()).is_ok());
    }
    fake::reset();
    runtime_ = std::thread([] { wnd_runtime_main(0, nullptr, main_program); });
    ASSERT_TRUE(fake::wait_until([] {
      auto menus = fake::menus();
      return menus.size() >= 7 && menus[6][0].flags == kMenuEnabled;
    }));
  }

  void TearDown() override {
    if (!runtime_.joinable()) {
      // The test ended the program itself and joined it.
    } else if (fake::ended_with()) {
      runtime_.detach();  // the program ended from inside a run
    } else {
      while (graph_counter.load() < kGraphCounterLimit) fake::choose_menu(kGraphMenu, kItemNewGraph);
      runtime_.join();
    }
    ASSERT_EQ(chdir(start_directory_.c_str()), 0);
    fs::remove_all(root_);
  }

  std::string comdin(const char* kind) const { return (root_ / kind / "comdin.dat").string(); }
  std::string folder(const char* kind) const { return (root_ / kind).string() + "/"; }

  // Chooses a menu item and waits until the run it starts has beeped, or the
  // info window shows `last_line`.
  static bool wait_for_beeps(std::size_t count) {
    return fake::wait_until([count] { return fake::beeps().size() >= count; });
  }
  static bool wait_for_line(const std::string& line) {
    return fake::wait_until([&line] {
      const auto lines = fake::lines(9);
      return std::find(lines.begin(), lines.end(), line) != lines.end();
    });
  }
  static std::vector<fake::ChildRecord> graph_windows() {
    std::vector<fake::ChildRecord> graphs;
    for (const auto& child : fake::children())
      if (child.kind == ChildKind::graph) graphs.push_back(child);
    return graphs;
  }

  std::string start_directory_;
  fs::path root_;
  std::thread runtime_;
};

TEST_F(RunsTest, CompleteRunWritesItsLinesInOrderAndDrawsIntoUnitTen) {
  fake::push_file_choice(comdin("portal"));
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemNewGraph));
  ASSERT_TRUE(wait_for_beeps(1));

  const std::vector<std::string> expected = {
      " * VELTRA Graph Started", " Work Directory: " + folder("portal"), " Graf. No.: 1",
      " * Reading Data ...", " * Finished."};
  EXPECT_EQ(fake::lines(9), expected);

  const auto graphs = graph_windows();
  ASSERT_EQ(graphs.size(), 1u);
  EXPECT_EQ(graphs[0].unit, 10);
  EXPECT_EQ(graphs[0].title.rfind("(1) ", 0), 0u);
  EXPECT_GT(graphs[0].title.size(), 4u);
  EXPECT_EQ(graphs[0].size.state, kSizeMaximised);

  const auto calls = fake::gfx_calls(10);
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls[0].op, "set_window");
  const auto lines = std::count_if(calls.begin(), calls.end(),
                                   [](const fake::GfxCall& c) { return c.op == "line_to"; });
  EXPECT_GT(lines, 0);
  EXPECT_EQ(fake::beeps()[0].frequency_hz, 1000);
  EXPECT_EQ(fake::beeps()[0].duration_ms, 200);

  // Both dialogs were shown, Time Settings first.
  const auto runs = fake::dialog_runs();
  ASSERT_GE(runs.size(), 2u);
  EXPECT_EQ(runs[0].template_number, kTimeSettings);
  EXPECT_EQ(runs[1].template_number, kGraphSettings);
}

TEST_F(RunsTest, ThreeCommandsGiveUnitsTenToTwelveAndNumbersOneToThree) {
  for (int i = 0; i < 3; ++i) {
    fake::push_file_choice(comdin("portal"));
    ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemNewGraph));
    ASSERT_TRUE(wait_for_beeps(static_cast<std::size_t>(i + 1)));
  }
  const auto graphs = graph_windows();
  ASSERT_EQ(graphs.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(graphs[i].unit, 10 + i);
    EXPECT_EQ(graphs[i].title.rfind("(" + std::to_string(i + 1) + ") ", 0), 0u);
    EXPECT_TRUE(graphs[i].on_screen);
  }
  EXPECT_TRUE(wait_for_line(" Graf. No.: 3"));
}

TEST_F(RunsTest, BackToSettingsAfterACancelledChoiceDrawsThePreviousProblem) {
  fake::push_file_choice(comdin("cantilever"));
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemNewGraph));
  ASSERT_TRUE(wait_for_beeps(1));
  const std::string first_title = graph_windows()[0].title;

  fake::push_file_choice(std::nullopt);
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemNewGraph));
  ASSERT_TRUE(wait_for_line(" * Returning ..."));

  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemBackToSettings));
  ASSERT_TRUE(wait_for_beeps(2));
  const auto graphs = graph_windows();
  ASSERT_EQ(graphs.size(), 2u);
  EXPECT_EQ(graphs[1].unit, 12);
  EXPECT_EQ(graphs[1].title, "(3) " + first_title.substr(4));
}

TEST_F(RunsTest, CancelledTimeSettingsOpensNoWindowAndUsesUpItsNumber) {
  fake::push_file_choice(comdin("portal"));
  fake::push_dialog_script(kTimeSettings, {fake::click(kCancel)});
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemNewGraph));
  ASSERT_TRUE(fake::wait_until([] { return !fake::dialog_runs().empty(); }));
  ASSERT_TRUE(fake::wait_until([] { return fake::dialog_runs()[0].result == kCancel; }));

  // The Graph Settings dialog is never shown, and no window opens.
  fake::push_dialog_script(kGraphSettings, {fake::click(kCancel)});
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemBackToSettings));
  ASSERT_TRUE(fake::wait_until([] { return fake::dialog_runs().size() >= 3; }));
  const auto runs = fake::dialog_runs();
  EXPECT_EQ(runs[0].template_number, kTimeSettings);
  EXPECT_EQ(runs[1].template_number, kTimeSettings);
  EXPECT_EQ(runs[2].template_number, kGraphSettings);
  wnd_sleep(50);
  EXPECT_TRUE(graph_windows().empty());
  EXPECT_EQ(graph_counter.load(), 11);

  // The next graph gets number 3 and unit 12.
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemBackToSettings));
  ASSERT_TRUE(wait_for_beeps(1));
  ASSERT_EQ(graph_windows().size(), 1u);
  EXPECT_EQ(graph_windows()[0].unit, 12);
  EXPECT_TRUE(wait_for_line(" Graf. No.: 3"));
}

TEST_F(RunsTest, TenGraphsStayOnScreenAndTheEleventhCommandEndsTheProgram) {
  fake::push_file_choice(comdin("cantilever"));
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemNewGraph));
  ASSERT_TRUE(wait_for_beeps(1));
  for (std::size_t n = 2; n <= 10; ++n) {
    ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemBackToSettings));
    ASSERT_TRUE(wait_for_beeps(n));
  }
  const auto graphs = graph_windows();
  ASSERT_EQ(graphs.size(), 10u);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(graphs[i].unit, 10 + i);
    EXPECT_TRUE(graphs[i].on_screen);
  }
  EXPECT_EQ(graphs[9].title.rfind("(10) ", 0), 0u);
  EXPECT_TRUE(wait_for_line(" Graf. No.:10"));
  EXPECT_TRUE(fake::message_boxes().empty());

  // The eleventh command starts no run and ends the program.
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemBackToSettings));
  runtime_.join();
  EXPECT_EQ(graph_windows().size(), 10u);
  const auto boxes = fake::message_boxes();
  ASSERT_GE(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "PLIXO Message:");
  EXPECT_EQ(fake::lines(9).back(), " * VELTRA Graph Exited");
}

TEST_F(RunsTest, MissingFilesAndCancelEndTheProgram) {
  fs::remove(root_ / "portal" / "nei.unf");
  fake::push_file_choice(comdin("portal"));
  fake::push_box_answer(kBoxResultCancel);
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemNewGraph));
  ASSERT_TRUE(fake::wait_until([] { return fake::ended_with().has_value(); }));
  EXPECT_EQ(*fake::ended_with(), 0);
  EXPECT_EQ(fake::lines(9).back(), " * Missing Files: Exiting...");
  const auto boxes = fake::message_boxes();
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes[0].style, kBoxRetryCancelError);
  EXPECT_EQ(boxes[0].caption, "\"VELTRA: Verify\" Message");
}

TEST_F(RunsTest, ReadErrorStopsTheProgramWithAMessageNamingTheFile) {
  fs::resize_file(root_ / "portal" / "x.unf", 10);
  fake::push_file_choice(comdin("portal"));
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemNewGraph));
  ASSERT_TRUE(fake::wait_until([] { return fake::stop_message().has_value(); }));
  EXPECT_NE(fake::stop_message()->find("x.unf"), std::string::npos);
  EXPECT_TRUE(graph_windows().empty());
}

TEST_F(RunsTest, WhatEscapesARunIsALineInTheInfoWindowAndTheEnd) {
  std::thread([] { run_thread_root([](int) { throw std::bad_alloc(); }, 1); }).detach();
  ASSERT_TRUE(fake::wait_until([] { return fake::ended_with().has_value(); }));
  EXPECT_EQ(*fake::ended_with(), 0);
  EXPECT_EQ(fake::lines(9).back(), " * Graph Run Failed: not enough memory");
  EXPECT_EQ(fake::stop_message(), "Graph run failed: not enough memory");
}

TEST_F(RunsTest, CancelDrawStopsTwoAnimationsAtOnce) {
  // Slow frames so that both animations are still running when the cancel comes.
  fake::set_max_sleep(40);
  fake::push_file_choice(comdin("portal"));
  fake::push_dialog_script(kTimeSettings, {fake::set_text(1023, "12"), fake::set_text(1024, "1"),
                                           fake::set_text(1025, "40"), fake::click(1)});
  // The frames a window has drawn so far: each frame writes the heading.
  const auto frames_of = [](int unit) {
    const auto calls = fake::gfx_calls(unit);
    return std::count_if(calls.begin(), calls.end(), [](const fake::GfxCall& c) {
      return c.op == "out_text" && c.text.find("Structure VELTRA Graph") != std::string::npos;
    });
  };
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemNewGraph));
  ASSERT_TRUE(fake::wait_until([&] { return frames_of(10) >= 1; }));
  fake::push_dialog_script(kTimeSettings, {fake::set_text(1025, "40"), fake::click(1)});
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemBackToSettings));
  // Cancel only once the second animation has drawn a frame: a window that
  // is open but not yet drawn into would stop before its first frame.
  ASSERT_TRUE(fake::wait_until([&] { return frames_of(11) >= 1; }));
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemCancelDraw));
  ASSERT_TRUE(wait_for_beeps(2));

  // Each window got far fewer than its 13 frames.
  for (int unit : {10, 11}) {
    const auto frames = frames_of(unit);
    EXPECT_GE(frames, 1) << "unit " << unit;
    EXPECT_LT(frames, 13) << "unit " << unit;
  }
}

// The caption is cut to its 80 characters first; blanks left at the cut are
// then dropped with the other trailing blanks.
TEST(GraphTitle, CutToEightyThenTrailingBlanksDropped) {
  struct Case {
    int number;
    std::string title;
    std::string expected;
  };
  const std::string a74(74, 'A'), a76(76, 'A'), a80(80, 'A');
  const Case cases[] = {
      {3, "Frame A", "(3) Frame A"},
      {10, "Frame A", "(10) Frame A"},
      {1, a74 + "  BBBB", "(1) " + a74},         // the cut falls after two blanks
      {10, a74 + "  BBBB", "(10) " + a74},        // ...and here on the first of them
      {1, a76 + "BBBB", "(1) " + a76},
      {1, a80, "(1) " + a80.substr(0, 76)},
      {1, "", "(1)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    ProblemControl control;
    control.problem_title = c.title;
    control.problem_title_length = static_cast<std::int32_t>(c.title.size());
    EXPECT_EQ(make_graph_title(c.number, control), c.expected);
  }
}

}  // namespace
