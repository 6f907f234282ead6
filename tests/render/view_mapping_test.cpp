#include "render/view_mapping.h"

#include <gtest/gtest.h>

#include "render/graph_run.h"
#include "render/window_setup.h"
#include "render_fixtures.h"
#include "support/fake_platform.h"

using namespace render_test;

namespace {

GraphSettings settings_for(int start, int end, int frequency) {
  GraphSettings s;
  s.start_step = start;
  s.end_step = end;
  s.step_frequency = frequency;
  return s;
}

struct Fixture {
  MemorySteps steps;
  GraphRun run;
  Fixture(std::shared_ptr<Problem> p, const GraphSettings& s) {
    steps.node_values = static_cast<std::size_t>(p->control.node_count * p->control.NGL);
    steps.elements = static_cast<std::size_t>(p->control.element_count);
    prepare_graph_run(run, p, s, kSchemeStandard, &steps);
  }
};

}  // namespace

TEST(FrameCount, StepsFromStartByFrequency) {
  EXPECT_EQ(frame_count(settings_for(0, 10, 3)), 4);
  EXPECT_EQ(frame_step(settings_for(0, 10, 3), 3), 9);
  EXPECT_EQ(frame_count(settings_for(5, 5, 1)), 1);
  EXPECT_LE(frame_count(settings_for(6, 5, 1)), 0);
  EXPECT_EQ(frame_count(settings_for(0, 10, 0)), 11);  // as the frequency check leaves it
  EXPECT_EQ(frame_count(settings_for(0, 0, -3)), 1);
  // No overflow with extreme steps typed into the dialog.
  EXPECT_GT(frame_count(settings_for(-2000000000, 2000000000, 1)), 0);
}

TEST(ProjectStep, PlaneAddsMagnifiedDisplacements) {
  GraphSettings s = settings_for(0, 0, 1);
  s.displacement_factor = 2.5f;
  Fixture f(plane_frame(), s);
  f.steps.displacements = {{0.1f, 0.2f, 0, 0, -0.3f, 0.7f}};
  ASSERT_TRUE(project_step(f.run, 0).is_ok());
  EXPECT_EQ(f.run.displaced[0], 0.0f + 2.5f * 0.1f);
  EXPECT_EQ(f.run.plot_y[0], 0.0f + 2.5f * 0.2f);
  EXPECT_EQ(f.run.plot_x[2], 4.0f + 2.5f * -0.3f);
  EXPECT_EQ(f.run.plot_y[2], 3.0f + 2.5f * 0.7f);
}

TEST(ProjectStep, ObliqueProjectionSigns) {
  auto p = make_problem(3, {{1, 2, 3, {}, {}}}, {});
  const double c = 0.7071067811865476;
  struct Case {
    bool reverse_vertical, reverse_y;
    double sx, sy;
  } cases[] = {{false, false, 1, 1}, {true, false, 1, -1}, {false, true, -1, -1}, {true, true, -1, 1}};
  for (const Case& k : cases) {
    GraphSettings s = settings_for(0, 0, 1);
    s.reverse_vertical = k.reverse_vertical;
    s.reverse_y = k.reverse_y;
    Fixture f(p, s);
    ASSERT_TRUE(project_step(f.run, 0).is_ok());
    EXPECT_EQ(f.run.plot_x[0], static_cast<float>(1.0 + k.sx * c * 2.0)) << k.reverse_vertical << k.reverse_y;
    EXPECT_EQ(f.run.plot_y[0], static_cast<float>(3.0 + k.sy * c * 2.0)) << k.reverse_vertical << k.reverse_y;
  }
}

TEST(MeasureExtents, WidensOverTheDrawnFramesOnly) {
  Fixture f(plane_frame(), settings_for(0, 4, 2));
  f.steps.displacements.assign(5, std::vector<float>(6, 0.0f));
  f.steps.displacements[2][4] = 1.0f;    // node 3 moves right at step 2
  f.steps.displacements[4][1] = -2.0f;   // node 1 moves down at step 4
  f.steps.displacements[3][5] = 50.0f;   // step 3 is not drawn
  ASSERT_TRUE(measure_extents(f.run).is_ok());
  EXPECT_EQ(f.steps.node_reads, (std::vector<int>{0, 2, 4}));
  EXPECT_EQ(f.run.view.plot_x_max, 5.0);
  EXPECT_EQ(f.run.view.plot_y_min, -2.0);
  EXPECT_EQ(f.run.view.plot_y_max, 3.0);
  EXPECT_EQ(f.run.view.coord_min[1], -2.0);
  // The tables hold the last frame.
  EXPECT_EQ(f.run.plot_y[0], -2.0f);
  EXPECT_EQ(f.run.plot_x[2], 4.0f);
}

TEST(MeasureExtents, ReadErrorIsReturned) {
  Fixture f(plane_frame(), settings_for(0, 4, 1));
  f.steps.last_step = 2;
  Status status = measure_extents(f.run);
  ASSERT_FALSE(status.is_ok());
  EXPECT_EQ(status.message(), "u01.unf: no record for step 3");
}

TEST(ComputeView, PlaneFrameWindowGridAndBox) {
  Fixture f(plane_frame(), settings_for(0, 0, 1));
  ASSERT_TRUE(measure_extents(f.run).is_ok());
  compute_view(f.run);
  const ViewMapping& v = f.run.view;
  // dx = 4, dy = 3, r = 4/3, centre (2, 1.5).
  EXPECT_DOUBLE_EQ(v.centre_x, 2.0);
  EXPECT_DOUBLE_EQ(v.centre_y, 1.5);
  EXPECT_DOUBLE_EQ(v.window_x1, -2.8);
  EXPECT_DOUBLE_EQ(v.window_x2, 2.8);
  EXPECT_DOUBLE_EQ(v.window_y1, (-1.5 - 0.6) * 4 / 3);
  EXPECT_DOUBLE_EQ(v.window_y2, (1.5 + 0.45) * 4 / 3);
  EXPECT_DOUBLE_EQ(v.grid_dx, 5.6 / 5);
  EXPECT_DOUBLE_EQ(v.grid_dy, (v.window_y2 - v.window_y1) / 10);
  EXPECT_DOUBLE_EQ(v.box_x1, -2.0);
  EXPECT_DOUBLE_EQ(v.box_x2, 2.0);
  EXPECT_DOUBLE_EQ(v.box_y1, -1.5);
  EXPECT_DOUBLE_EQ(v.box_y2, 1.5);
  EXPECT_EQ(f.run.plot_x[0], -2.0f);
  EXPECT_EQ(f.run.plot_y[2], 1.5f);
  ViewMapping units = v;
  frame_units(units);
  EXPECT_DOUBLE_EQ(units.origin_x, -2.0);
  EXPECT_DOUBLE_EQ(units.marker_dy, v.grid_dy / 18);
}

TEST(ComputeView, MinimumSizeFactorStretchesTheSmallerSpan) {
  // A frame 10 wide and 1 high with factor 2: dy = 2, r = 5.
  auto p = make_problem(2, {{0, 0, 0, {}, {}}, {10, 1, 0, {}, {}}}, {{1, 2}});
  GraphSettings s = settings_for(0, 0, 1);
  s.min_size_factor_auto = false;
  s.min_size_factor = 2;
  Fixture f(p, s);
  ASSERT_TRUE(measure_extents(f.run).is_ok());
  compute_view(f.run);
  EXPECT_DOUBLE_EQ(f.run.view.window_y1, (-0.5 - 0.4) * 5);
  EXPECT_DOUBLE_EQ(f.run.view.window_y2, (0.5 + 0.3) * 5);
  EXPECT_DOUBLE_EQ(f.run.view.window_x1, -5 - 2.0);

  // With a factor of 1 the window equals the automatic one.
  GraphSettings one = s;
  one.min_size_factor = 1;
  GraphSettings automatic = settings_for(0, 0, 1);
  Fixture a(p, one), b(p, automatic);
  ASSERT_TRUE(measure_extents(a.run).is_ok());
  ASSERT_TRUE(measure_extents(b.run).is_ok());
  compute_view(a.run);
  compute_view(b.run);
  EXPECT_EQ(a.run.view.window_y1, b.run.view.window_y1);
  EXPECT_EQ(a.run.view.window_x2, b.run.view.window_x2);
}

TEST(ComputeView, ZeroSpansStillGiveAValidWindow) {
  fake::reset();
  // All nodes on one horizontal line: the height takes the width.
  auto line = make_problem(2, {{0, 2, 0, {}, {}}, {10, 2, 0, {}, {}}}, {{1, 2}});
  Fixture f(line, settings_for(0, 0, 1));
  ASSERT_TRUE(measure_extents(f.run).is_ok());
  compute_view(f.run);
  EXPECT_DOUBLE_EQ(f.run.view.window_y1, -2.0);
  EXPECT_DOUBLE_EQ(f.run.view.window_y2, 1.5);
  EXPECT_DOUBLE_EQ(f.run.view.box_y2 - f.run.view.box_y1, 0.0);  // no horizontal grid

  // A vertical line: the width takes the height.
  auto column = make_problem(2, {{3, 0, 0, {}, {}}, {3, 8, 0, {}, {}}}, {{1, 2}});
  Fixture g(column, settings_for(0, 0, 1));
  ASSERT_TRUE(measure_extents(g.run).is_ok());
  compute_view(g.run);
  EXPECT_DOUBLE_EQ(g.run.view.window_x1, -1.6);
  EXPECT_DOUBLE_EQ(g.run.view.window_x2, 1.6);

  // A single node: both spans count as 1.
  auto single = make_problem(2, {{7, 7, 0, {}, {}}}, {});
  Fixture h(single, settings_for(0, 0, 1));
  ASSERT_TRUE(measure_extents(h.run).is_ok());
  compute_view(h.run);
  EXPECT_DOUBLE_EQ(h.run.view.window_x1, -0.2);
  EXPECT_DOUBLE_EQ(h.run.view.window_y2, 0.15);
  EXPECT_GT(h.run.view.grid_dx, 0);
  EXPECT_GT(h.run.view.grid_dy, 0);

  wnd_open_child(10, "(1) Test");
  EXPECT_TRUE(apply_world_window(h.run));
  EXPECT_EQ(gfx_status(), kGfxOk);
}

TEST(ComputeView, NoFrameMeasuresTheUndisplacedStructure) {
  Fixture f(plane_frame(), settings_for(6, 5, 1));
  f.steps.displacements.assign(7, std::vector<float>(6, 9.0f));
  ASSERT_TRUE(measure_extents(f.run).is_ok());
  EXPECT_TRUE(f.steps.node_reads.empty());
  compute_view(f.run);
  EXPECT_DOUBLE_EQ(f.run.view.window_x1, -2.8);
  EXPECT_DOUBLE_EQ(f.run.view.centre_y, 1.5);
}

TEST(ApplyWorldWindow, ReverseVerticalTurnsTheWindowDown) {
  fake::reset();
  for (bool reverse : {false, true}) {
    GraphSettings s = settings_for(0, 0, 1);
    s.reverse_vertical = reverse;
    Fixture f(plane_frame(), s);
    f.run.unit = reverse ? 11 : 10;
    ASSERT_TRUE(measure_extents(f.run).is_ok());
    ASSERT_EQ(setup_graph_window(f.run), WindowSetup::ready);
    const auto calls = fake::gfx_calls(f.run.unit);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].op, "set_window");
    EXPECT_EQ(calls[0].args[0], reverse ? 0.0 : 1.0);
    EXPECT_DOUBLE_EQ(calls[0].args[1], -2.8);
    EXPECT_DOUBLE_EQ(calls[0].args[2], f.run.view.window_y1);
    EXPECT_DOUBLE_EQ(calls[0].args[4], f.run.view.window_y2);
  }
}
