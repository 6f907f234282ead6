// Windows, menus, message boxes, sleeping and the end of the program in the
// recording layer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "support/fake_platform.h"

namespace {

class FakeWindows : public ::testing::Test {
 protected:
  void SetUp() override { fake::reset(); }
};

std::atomic<int> g_chosen{0};
std::atomic<bool> g_checked{false};
std::atomic<bool> g_on_gui{false};
void on_item(bool checked) {
  ++g_chosen;
  g_checked = checked;
  g_on_gui = wnd_on_gui_thread();
}

TEST_F(FakeWindows, MenusTextFlagsAndRefusal) {
  g_chosen = 0;
  auto start = fake::menus();
  ASSERT_EQ(start.size(), 6u);
  ASSERT_EQ(start[5].size(), 4u);
  EXPECT_EQ(start[5][0].text, "&Help");
  EXPECT_EQ(start[5][2].text, "Using &Help");

  ASSERT_TRUE(wnd_menu_insert(7, 0, kMenuGreyed, "NEW GRAPH", wnd_menu_no_action));
  ASSERT_TRUE(wnd_menu_append(7, kMenuEnabled, "NEW Graph", on_item));
  ASSERT_TRUE(wnd_menu_append(7, kMenuDisabled + kMenuUnchecked, "BACK to Settings", on_item));
  ASSERT_TRUE(wnd_menu_append(7, kMenuSeparator, "ignored", wnd_menu_no_action));
  ASSERT_TRUE(wnd_menu_append(7, kMenuEnabled, "E&XIT", on_item));
  EXPECT_FALSE(wnd_menu_append(9, kMenuEnabled, "no such menu", on_item));
  EXPECT_FALSE(wnd_menu_insert(9, 0, kMenuEnabled, "beyond the end", on_item));
  ASSERT_TRUE(wnd_menu_insert(1, 0, kMenuEnabled, "First", wnd_menu_no_action));
  auto m = fake::menus();
  ASSERT_EQ(m.size(), 8u);
  EXPECT_EQ(m[0][0].text, "&First");
  EXPECT_EQ(m[1][0].text, "&File");
  const auto& program = m[7];
  ASSERT_EQ(program.size(), 5u);
  EXPECT_EQ(program[0].text, "&NEW GRAPH");
  EXPECT_EQ(program[1].text, "&NEW Graph");
  EXPECT_EQ(program[3].text, "");
  EXPECT_EQ(program[4].text, "E&XIT");
  EXPECT_EQ(program[2].flags, kMenuDisabled + kMenuUnchecked);

  // The greyed top-level menu makes every item unreachable.
  EXPECT_FALSE(fake::choose_menu(8, 1));
  ASSERT_TRUE(wnd_menu_set_flags(8, 0, kMenuEnabled));
  EXPECT_TRUE(fake::choose_menu(8, 1));
  EXPECT_FALSE(fake::choose_menu(8, 2));  // disabled
  EXPECT_FALSE(fake::choose_menu(8, 3));  // separator
  EXPECT_FALSE(fake::choose_menu(8, 9));
  EXPECT_EQ(g_chosen, 1);
  EXPECT_TRUE(g_on_gui);
  EXPECT_FALSE(wnd_on_gui_thread());

  // Availability and check state change independently.
  ASSERT_TRUE(wnd_menu_set_flags(8, 2, kMenuEnabled));
  EXPECT_EQ(fake::menus()[7][2].flags, kMenuEnabled + kMenuUnchecked);
  ASSERT_TRUE(wnd_menu_set_flags(8, 2, kMenuChecked));
  EXPECT_EQ(fake::menus()[7][2].flags, kMenuEnabled + kMenuChecked);
  EXPECT_TRUE(fake::choose_menu(8, 2));
  EXPECT_TRUE(g_checked);
  ASSERT_TRUE(wnd_menu_set_flags(8, 0, kMenuDisabled));
  EXPECT_FALSE(fake::choose_menu(8, 2));
  EXPECT_EQ(g_chosen, 2);
}

TEST_F(FakeWindows, MessageBoxAnswersAndDefaults) {
  EXPECT_EQ(wnd_message_box("a", "c", kBoxInformationOk), kBoxResultOk);
  EXPECT_EQ(wnd_message_box("b", "c", kBoxRetryCancelError), kBoxResultCancel);
  EXPECT_EQ(wnd_message_box("c", "c", kBoxQuestionYesNo), kBoxResultNo);
  fake::push_box_answer(kBoxResultRetry);
  fake::push_box_answer(kBoxResultCancel);
  EXPECT_EQ(wnd_message_box("missing files", "VELTRA Message", kBoxRetryCancelError),
            kBoxResultRetry);
  EXPECT_EQ(wnd_message_box("again", "VELTRA Message", kBoxRetryCancelError), kBoxResultCancel);
  EXPECT_EQ(wnd_message_box("then", "x", kBoxOk), kBoxResultOk);
  auto boxes = fake::message_boxes();
  ASSERT_EQ(boxes.size(), 6u);
  EXPECT_EQ(boxes[3].text, "missing files");
  EXPECT_EQ(boxes[3].caption, "VELTRA Message");
  EXPECT_EQ(boxes[3].style, kBoxRetryCancelError);
  EXPECT_EQ(boxes[3].result, kBoxResultRetry);
}

TEST_F(FakeWindows, ClosingChildren) {
  wnd_open_child(9, " VELTRA: Info", ChildKind::text);
  wnd_open_child(10, "(1) graph");
  wnd_write_line(9, "first");
  wnd_close_child(9, true);
  wnd_close_child(10, false);
  wnd_write_line(9, "after closing");
  EXPECT_FALSE(wnd_set_active(9));
  EXPECT_FALSE(gfx_line_to(1, 1));  // 10 was current and is gone
  EXPECT_EQ(gfx_status(), kGfxErrorNoWindow);
  auto c = fake::children();
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(c[0].title, " VELTRA: Info-Closed");
  EXPECT_TRUE(c[0].on_screen);
  EXPECT_FALSE(c[0].open);
  EXPECT_EQ(c[0].kind, ChildKind::text);
  EXPECT_FALSE(c[1].on_screen);
  EXPECT_EQ(c[1].title, "(1) graph");
  EXPECT_EQ(fake::lines(9), (std::vector<std::string>{"first"}));
}

TEST_F(FakeWindows, SleepsAreCappedAndRecorded) {
  fake::set_max_sleep(5);
  auto start = std::chrono::steady_clock::now();
  wnd_sleep(60000);
  wnd_sleep(-1);
  wnd_beep(440, 60000);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(fake::sleeps(), (std::vector<int>{60000, -1}));
  ASSERT_EQ(fake::beeps().size(), 1u);
  EXPECT_EQ(fake::beeps()[0].frequency_hz, 440);
  EXPECT_EQ(fake::beeps()[0].duration_ms, 60000);
}

void on_end_item(bool) { wnd_end_program(3); }

TEST_F(FakeWindows, EndProgramBlocksOffTheGuiThreadOnly) {
  ASSERT_TRUE(wnd_menu_insert(7, 0, kMenuEnabled, "NEW GRAPH", wnd_menu_no_action));
  ASSERT_TRUE(wnd_menu_append(7, kMenuEnabled, "NEW Graph", on_item));
  ASSERT_TRUE(wnd_menu_append(7, kMenuEnabled, "EXIT", wnd_menu_exit_action));

  std::atomic<bool> returned{false};
  std::thread run([&returned] {
    wnd_end_program(4);
    returned = true;
  });
  run.detach();
  ASSERT_TRUE(fake::wait_until([] { return fake::ended_with().has_value(); }));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(returned);
  EXPECT_EQ(fake::ended_with(), 4);
  auto boxes = fake::message_boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Program Terminated with exit code 4\nExit Window?");
  EXPECT_EQ(boxes[0].style, kBoxQuestionYesNo);
  EXPECT_EQ(boxes[0].result, kBoxResultNo);
  // The program's items are greyed; the runtime's exit stays.
  EXPECT_FALSE(fake::choose_menu(7, 1));
  EXPECT_EQ(fake::menus()[6][2].flags, kMenuEnabled);

  // On the GUI thread the call returns; the first code is kept.
  ASSERT_TRUE(wnd_menu_append(7, kMenuEnabled, "END", on_end_item));
  EXPECT_TRUE(fake::choose_menu(7, 3));
  EXPECT_EQ(fake::ended_with(), 4);
  EXPECT_EQ(fake::message_boxes().size(), 2u);
}

TEST_F(FakeWindows, StopWithMessage) {
  std::thread run([] { wnd_stop_with_message("Window Not Open"); });
  run.detach();
  ASSERT_TRUE(fake::wait_until([] { return fake::ended_with().has_value(); }));
  EXPECT_EQ(fake::stop_message(), "Window Not Open");
  EXPECT_EQ(fake::ended_with(), 0);
}

std::atomic<bool> g_program_on_gui{true};
void program() {
  g_program_on_gui = wnd_on_gui_thread();
  wnd_open_child(9, " VELTRA: Info", ChildKind::text);
  wnd_write_line(9, " * VELTRA Graph Started");
}

TEST_F(FakeWindows, RuntimeMainRunsTheProgramThenPrompts) {
  char name[] = "viewer";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(wnd_runtime_main(1, argv, program), 0);
  EXPECT_FALSE(g_program_on_gui);
  EXPECT_EQ(fake::lines(9), (std::vector<std::string>{" * VELTRA Graph Started"}));
  auto boxes = fake::message_boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Program Terminated with exit code 0\nExit Window?");
  EXPECT_EQ(boxes[0].style, 36);
  EXPECT_EQ(fake::ended_with(), 0);
}

void ending_program() { wnd_end_program(2); }

TEST_F(FakeWindows, RuntimeMainReturnsWhenTheProgramEnds) {
  EXPECT_EQ(wnd_runtime_main(0, nullptr, ending_program), 0);
  EXPECT_EQ(fake::ended_with(), 2);
  EXPECT_EQ(fake::message_boxes().size(), 1u);
}

std::atomic<int> g_clicks{0};
void on_double_click(int, int event, int, int, int) {
  if (event == kMouseLeftDoubleClick && wnd_on_gui_thread()) ++g_clicks;
}

TEST_F(FakeWindows, DoubleClickAndSavedImage) {
  g_clicks = 0;
  EXPECT_FALSE(fake::double_click(10));
  wnd_open_child(10, "(1) graph");
  EXPECT_FALSE(wnd_register_mouse_event(10, kMouseLeftDoubleClick, on_double_click));
  EXPECT_TRUE(wnd_register_mouse_event(10, kMouseLeftDoubleClick, on_double_click));
  EXPECT_TRUE(fake::double_click(10));
  EXPECT_EQ(g_clicks, 1);

  gfx_line_to(3, 4);
  std::string path = ::testing::TempDir() + "fake_image.txt";
  ASSERT_TRUE(wnd_save_image(10, path));
  FILE* f = std::fopen(path.c_str(), "r");
  ASSERT_NE(f, nullptr);
  char text[64] = {};
  std::size_t n = std::fread(text, 1, sizeof text - 1, f);
  std::fclose(f);
  EXPECT_EQ(std::string(text, n), "fake image 1000 700\nline_to 3 4\n");
  EXPECT_FALSE(wnd_save_image(11, path));
}

TEST(FakeWindowsDeath, QuitAndExitEndTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(wnd_quit(3), ::testing::ExitedWithCode(3), "quit");
  EXPECT_EXIT(wnd_menu_exit_action(false), ::testing::ExitedWithCode(0), "exit action");
}

}  // namespace
