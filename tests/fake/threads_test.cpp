// The recording layer used from several threads at once.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "support/fake_platform.h"

namespace {

constexpr int kCount = 2000;

// Draws kCount lines into a window of its own; the coordinates name the
// thread, so a call that lands in the wrong window is seen.
void draw_run(int unit, std::vector<int>* errors) {
  wnd_open_child(unit, "graph " + std::to_string(unit));
  gfx_set_window(true, 0, 0, 100, 100);
  gfx_init_fonts();
  gfx_set_font("t'tms rmn'h10");  // 5 px per character
  for (int i = 0; i < kCount; ++i) {
    gfx_move_to(unit, i);
    if (!gfx_line_to(unit, i + 1) || gfx_status() != kGfxOk) ++(*errors)[0];
    gfx_out_graphic_text("ab");
    if (std::abs(gfx_current_position().x - (unit + 1000.0 / 999)) > 1e-9) ++(*errors)[1];
  }
}

TEST(FakeThreads, TwoThreadsDrawIntoTheirOwnWindows) {
  fake::reset();
  std::vector<int> errors10(2, 0), errors11(2, 0);
  std::thread a(draw_run, 10, &errors10);
  std::thread b(draw_run, 11, &errors11);
  a.join();
  b.join();
  EXPECT_EQ(errors10, (std::vector<int>{0, 0}));
  EXPECT_EQ(errors11, (std::vector<int>{0, 0}));
  for (int unit : {10, 11}) {
    auto calls = fake::gfx_calls(unit);
    ASSERT_EQ(calls.size(), 3u + 3u * kCount);
    for (std::size_t k = 3; k < calls.size(); ++k)
      ASSERT_EQ(calls[k].args[0], unit) << "call " << k << " of unit " << unit;
    EXPECT_EQ(calls.back().op, "out_graphic_text");
    EXPECT_EQ(calls[calls.size() - 2].args[1], kCount);
  }
}

TEST(FakeThreads, TwoThreadsWriteLinesAndBoxes) {
  fake::reset();
  wnd_open_child(9, " VELTRA: Info", ChildKind::text);
  auto writer = [](char tag) {
    for (int i = 0; i < kCount; ++i) {
      wnd_write_line(9, std::string(1, tag) + std::to_string(i));
      if (i % 100 == 0) wnd_message_box(std::string(1, tag), "caption", kBoxInformationOk);
      if (i % 500 == 0) {
        fake::lines(9);
        fake::children();
      }
    }
  };
  std::thread a(writer, 'a');
  std::thread b(writer, 'b');
  a.join();
  b.join();
  auto lines = fake::lines(9);
  ASSERT_EQ(lines.size(), 2u * kCount);
  int next_a = 0, next_b = 0;
  for (const auto& line : lines) {
    int& next = line[0] == 'a' ? next_a : next_b;
    ASSERT_EQ(line.substr(1), std::to_string(next)) << line;
    ++next;
  }
  EXPECT_EQ(fake::message_boxes().size(), 2u * kCount / 100);
}

}  // namespace
