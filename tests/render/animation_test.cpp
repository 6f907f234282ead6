#include "render/animation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "render/cancel.h"
#include "render/view_mapping.h"
#include "render/window_setup.h"
#include "render_fixtures.h"
#include "support/fake_platform.h"

using namespace render_test;

namespace {

struct Animated {
  MemorySteps steps;
  GraphRun run;
  Animated(int start, int end, int frequency, int unit = 10) {
    auto p = plane_frame();
    steps.node_values = 6;
    steps.elements = 3;
    GraphSettings s;
    s.start_step = start;
    s.end_step = end;
    s.step_frequency = frequency;
    s.frame_delay_ms = 3;
    prepare_graph_run(run, p, s, kSchemeStandard, &steps);
    run.unit = unit;
    EXPECT_TRUE(measure_extents(run).is_ok());
    EXPECT_EQ(setup_graph_window(run), WindowSetup::ready);
    steps.node_reads.clear();
  }
};

int count(const std::vector<fake::GfxCall>& calls, const std::string& op) {
  int n = 0;
  for (const auto& c : calls) n += c.op == op;
  return n;
}

}  // namespace

TEST(Animation, FramesStepsDelayBeepAndClose) {
  fake::reset();
  cancel_requested = false;
  Animated a(0, 10, 3);
  std::vector<std::int64_t> hooked;
  AnimationOptions options;
  options.after_frame = [&](std::int64_t frame, std::int64_t step) {
    hooked.push_back(frame * 100 + step);
    return true;
  };
  // Each next step is asked for only after the pause of the frame before it
  // (so what is drawn was read after that pause): step, pauses so far.
  std::vector<std::pair<int, std::size_t>> aheads;
  a.steps.on_read_ahead = [&](int step) { aheads.emplace_back(step, fake::sleeps().size()); };
  ASSERT_TRUE(run_animation(a.run, options).is_ok());
  EXPECT_EQ(aheads, (std::vector<std::pair<int, std::size_t>>{{3, 1}, {6, 2}, {9, 3}}));
  EXPECT_EQ(a.steps.node_reads, (std::vector<int>{0, 3, 6, 9}));
  EXPECT_EQ(a.steps.element_reads, (std::vector<int>{0, 3, 6, 9}));
  EXPECT_EQ(hooked, (std::vector<std::int64_t>{0, 103, 206, 309}));
  EXPECT_EQ(fake::sleeps(), (std::vector<int>{3, 3, 3, 3}));
  ASSERT_EQ(fake::beeps().size(), 1u);
  EXPECT_EQ(fake::beeps()[0].frequency_hz, 1000);
  EXPECT_EQ(fake::beeps()[0].duration_ms, 200);
  EXPECT_EQ(a.steps.closes, 1);
  // Frames are drawn centred: the last one shows step 9 at t = 4.5.
  EXPECT_EQ(a.run.plot_x[0], -2.0f);
  bool label = false;
  for (const auto& c : fake::gfx_calls(10)) label = label || c.text == "t = 4.5";
  EXPECT_TRUE(label);
}

TEST(Animation, OnlyOneFrameWhenAsked) {
  fake::reset();
  cancel_requested = false;
  Animated a(0, 10, 1);
  AnimationOptions options;
  options.only_frame = 7;
  ASSERT_TRUE(run_animation(a.run, options).is_ok());
  EXPECT_EQ(a.steps.node_reads, (std::vector<int>{7}));
}

TEST(Animation, NoFrameStillBeepsAndCloses) {
  fake::reset();
  cancel_requested = false;
  Animated a(6, 5, 1);
  ASSERT_TRUE(run_animation(a.run).is_ok());
  EXPECT_TRUE(a.steps.node_reads.empty());
  EXPECT_EQ(fake::beeps().size(), 1u);
  EXPECT_EQ(a.steps.closes, 1);
}

TEST(Animation, CancelBeforeTheFirstFrameLeavesTheClearedWindow) {
  fake::reset();
  Animated a(0, 10, 1);
  fake::clear_gfx_calls(10);
  request_cancel();
  ASSERT_TRUE(run_animation(a.run).is_ok());
  cancel_requested = false;
  EXPECT_TRUE(a.steps.node_reads.empty());
  EXPECT_EQ(count(fake::gfx_calls(10), "line_to"), 0);
  EXPECT_EQ(fake::beeps().size(), 1u);
  EXPECT_EQ(a.steps.closes, 1);
}

TEST(Animation, DoubleClickStopsBeforeTheNextFrame) {
  fake::reset();
  cancel_requested = false;
  Animated a(0, 10, 1);
  AnimationOptions options;
  options.after_frame = [&](std::int64_t frame, std::int64_t) {
    if (frame == 2) {
      EXPECT_TRUE(fake::double_click(10));
    }
    // The main program's idle loop may withdraw the flag; the generation
    // still tells the animation.
    cancel_requested = false;
    return true;
  };
  ASSERT_TRUE(run_animation(a.run, options).is_ok());
  EXPECT_EQ(a.steps.node_reads, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(fake::beeps().size(), 1u);
}

TEST(Animation, ReadErrorEndsTheAnimation) {
  fake::reset();
  cancel_requested = false;
  Animated a(0, 10, 1);
  a.steps.last_step = 4;
  Status status = run_animation(a.run);
  ASSERT_FALSE(status.is_ok());
  EXPECT_EQ(status.message(), "u01.unf: no record for step 5");
  EXPECT_EQ(a.steps.closes, 1);
}

TEST(Animation, TwoRunsAnimateInTheirOwnWindows) {
  fake::reset();
  cancel_requested = false;
  std::atomic<bool> ok1{false}, ok2{false};
  std::thread t1([&] {
    Animated a(0, 20, 1, 10);
    ok1 = run_animation(a.run).is_ok();
  });
  std::thread t2([&] {
    Animated b(0, 20, 1, 11);
    b.run.settings.reverse_vertical = true;
    ok2 = run_animation(b.run).is_ok();
  });
  t1.join();
  t2.join();
  EXPECT_TRUE(ok1);
  EXPECT_TRUE(ok2);
  EXPECT_EQ(count(fake::gfx_calls(10), "clear"), 22);
  EXPECT_EQ(count(fake::gfx_calls(11), "clear"), 22);
  EXPECT_EQ(fake::beeps().size(), 2u);
}
