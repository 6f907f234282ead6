// The drawing passes reading real step files.
#include <gtest/gtest.h>

#include "input/load_problem.h"
#include "input/step_records.h"
#include "render/animation.h"
#include "render/cancel.h"
#include "render/view_mapping.h"
#include "render/window_setup.h"
#include "render_fixtures.h"
#include "result_folder.h"
#include "support/fake_platform.h"

using namespace render_test;

TEST(StepFiles, ExtentsAndAnimationThroughStepRecords) {
  fake::reset();
  cancel_requested = false;
  auto model = plane_frame();
  std::vector<StepData> steps(4);
  for (int s = 0; s < 4; ++s) {
    steps[s].displacements.assign(6, 0.0f);
    steps[s].displacements[4] = 0.5f * s;  // node 3 sways
    steps[s].values = {1.0f, 0.0f, 1.0f};
    steps[s].codes = {0, -1, 0};
  }
  const std::string dir = scratch_path("render-steps");
  write_result_folder(dir, *model, steps);
  LoadResult loaded = load_problem(dir);
  ASSERT_TRUE(loaded.status.is_ok()) << loaded.status.message();
  EXPECT_EQ(loaded.problem->control.step_count, 3);

  StepRecords records(*loaded.problem);
  ASSERT_TRUE(records.open_u01().is_ok());
  StepRecordsSource source(records);
  GraphRun run;
  GraphSettings s;
  prepare_new_graph(s, loaded.problem->control.step_count);
  s.frame_delay_ms = 0;
  prepare_graph_run(run, loaded.problem, s, kSchemeStandard, &source);
  ASSERT_TRUE(measure_extents(run).is_ok());
  EXPECT_DOUBLE_EQ(run.view.plot_x_max, 5.5);
  ASSERT_EQ(setup_graph_window(run), WindowSetup::ready);
  ASSERT_TRUE(run_animation(run).is_ok());
  EXPECT_EQ(run.element_code[1], -1);
  EXPECT_FALSE(records.u01_connected());
  EXPECT_TRUE(records.el_connected());  // the animation's end closes the displacement file only

  // A step beyond the file is a read error naming the file.
  StepRecords again(*loaded.problem);
  ASSERT_TRUE(again.open_u01().is_ok());
  StepRecordsSource source2(again);
  s.end_step = 5;
  prepare_graph_run(run, loaded.problem, s, kSchemeStandard, &source2);
  Status status = measure_extents(run);
  ASSERT_FALSE(status.is_ok());
  EXPECT_NE(status.message().find("u01.unf"), std::string::npos);
}
