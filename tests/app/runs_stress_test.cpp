// Ten runs that overlap on the recording layer (run under ThreadSanitizer by
// the TSan build): NEW Graph and BACK to Settings mixed, one abandoned at the
// file chooser, three cancelled in a settings dialog, the others animating
// while further commands come; then the program ends through EXIT, or through
// the eleventh command's limit, while animations still draw.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "app/app_state.h"
#include "app/main_program.h"
#include "sample_model.h"
#include "sample_writer.h"
#include "support/fake_platform.h"

namespace {

namespace fs = std::filesystem;

constexpr int kTimeSettings = 106;
constexpr int kGraphSettings = 101;
constexpr int kCancel = 2;
constexpr std::size_t kRuns = 10;
fs::path write_samples() {
  const fs::path root = fs::temp_directory_path() / ("veltra-overlap-" + std::to_string(getpid()));
  fs::remove_all(root);
  for (auto kind : {sample::Kind::portal, sample::Kind::cantilever}) {
    const auto model = sample::make_sample(kind, {12, 0});
    if (!sample::write_sample(model, (root / sample::kind_name(kind)).string()).is_ok()) return {};
  }
  return root;
}

// Starts the program on the recording layer; the thread that returns ends
// with the program.
std::thread start_program() {
  fake::reset();
  std::thread runtime([] { wnd_runtime_main(0, nullptr, main_program); });
  fake::wait_until([] {
    auto menus = fake::menus();
    return menus.size() >= 7 && menus[6][0].flags == kMenuEnabled;
  });
  return runtime;
}

// Gives the ten commands; returns false when one is refused.
bool give_ten_overlapping_commands(const fs::path& root) {
  const std::string portal = (root / "portal" / "comdin.dat").string();
  const std::string cantilever = (root / "cantilever" / "comdin.dat").string();
  fake::set_max_sleep(10);  // frames of 10 ms: the animations overlap
  fake::push_file_choice(portal);
  fake::push_dialog_script(kTimeSettings, {fake::set_text(1025, "20"), fake::click(1)});
  if (!fake::choose_menu(kGraphMenu, kItemNewGraph)) return false;
  if (!fake::wait_until([] { return !fake::gfx_calls(10).empty(); })) return false;

  // The next nine at once, while graph 1 animates. Choices and dialog
  // scripts go to whichever run asks first.
  fake::push_file_choice(std::nullopt);
  fake::push_file_choice(cantilever);
  fake::push_file_choice(portal);
  fake::push_dialog_script(kTimeSettings, {fake::click(kCancel)});
  fake::push_dialog_script(kTimeSettings, {fake::set_text(1025, "20"), fake::click(1)});
  fake::push_dialog_script(kTimeSettings, {fake::click(kCancel)});
  fake::push_dialog_script(kGraphSettings, {fake::click(kCancel)});
  const int commands[] = {kItemBackToSettings, kItemNewGraph,       kItemBackToSettings,
                          kItemCancelDraw,     kItemNewGraph,       kItemBackToSettings,
                          kItemBackToSettings, kItemNewGraph,       kItemBackToSettings,
                          kItemBackToSettings};
  for (int item : commands) {
    if (!fake::choose_menu(kGraphMenu, item)) return false;
  }
  return true;
}

// The runs that have ended, by how each ends: abandoned at the file chooser
// (one), cancelled in a dialog, animated to the closing beep, or (a BACK to
// Settings run that starts after the end released the problem) told that no
// problem is loaded.
std::size_t ended_runs() {
  std::size_t ended = 1 + fake::beeps().size();
  for (const auto& run : fake::dialog_runs()) ended += run.result == kCancel;
  for (const auto& box : fake::message_boxes()) ended += box.caption == "BackGraf Message";
  return ended;
}

TEST(OverlappingRuns, TheEleventhCommandEndsTheProgramWhileAnimationsDraw) {
  const fs::path root = write_samples();
  ASSERT_FALSE(root.empty());
  char start_directory[4096];
  ASSERT_NE(getcwd(start_directory, sizeof start_directory), nullptr);
  std::thread runtime = start_program();
  ASSERT_TRUE(give_ten_overlapping_commands(root));
  ASSERT_TRUE(fake::choose_menu(kGraphMenu, kItemBackToSettings));  // the eleventh
  runtime.join();
  ASSERT_TRUE(fake::wait_until([] { return ended_runs() >= kRuns; }, 60000)) << ended_runs() << " runs ended";
  wnd_sleep(50);

  EXPECT_EQ(ended_runs(), kRuns);
  EXPECT_EQ(graph_counter.load(), kGraphCounterLimit);
  EXPECT_FALSE(fake::stop_message().has_value()) << *fake::stop_message();
  std::size_t graphs = 0;
  for (const auto& child : fake::children()) graphs += child.kind == ChildKind::graph;
  EXPECT_EQ(graphs, fake::beeps().size());
  bool limit_message = false;
  for (const auto& box : fake::message_boxes()) limit_message = limit_message || box.caption == "PLIXO Message:";
  EXPECT_TRUE(limit_message);
  const auto lines = fake::lines(9);
  EXPECT_NE(std::find(lines.begin(), lines.end(), " * VELTRA Graph Exited"), lines.end());

  ASSERT_EQ(chdir(start_directory), 0);
  fs::remove_all(root);
}

TEST(OverlappingRuns, ExitEndsTheProcessWhileAnimationsDraw) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const fs::path root = write_samples();
  ASSERT_FALSE(root.empty());
  EXPECT_EXIT(
      {
        std::thread runtime = start_program();
        runtime.detach();
        if (!give_ten_overlapping_commands(root)) std::exit(3);
        // Some animation still draws.
        if (!fake::wait_until([] { return fake::children().size() >= 3; })) std::exit(4);
        fake::choose_menu(kGraphMenu, kItemExit);
        std::exit(5);  // not reached: EXIT ends the process
      },
      ::testing::ExitedWithCode(0), "");
  fs::remove_all(root);
}

}  // namespace
