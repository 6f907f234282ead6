// The drawing passes reading real step files, and the export's options.
#include <gtest/gtest.h>

#include "export_options.h"
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

TEST(ExportOptions, EveryFieldByName) {
  ExportOptions o;
  ASSERT_TRUE(parse_export_options({"dir", "--out", "frames", "--size", "640x480", "--start-step", "2", "--end-step",
                                    "99", "--step-frequency", "3", "--displacement-factor", "2.5",
                                    "--min-size-factor", "auto", "--time-output-item", "4", "--reverse-vertical",
                                    "--no-show-node-indices", "--show-all-positions", "--colour-scheme", "all-black",
                                    "--language", "romanian", "--frame", "1"},
                                   &o)
                  .is_ok());
  EXPECT_EQ(o.width, 640);
  EXPECT_EQ(o.height, 480);
  EXPECT_EQ(o.only_frame, 1);
  ExportSettings e;
  ASSERT_TRUE(export_settings(o, 40, &e).is_ok());
  EXPECT_EQ(e.settings.start_step, 2);
  EXPECT_EQ(e.settings.end_step, 40);  // cut to the last step
  EXPECT_EQ(e.settings.step_frequency, 3);
  EXPECT_EQ(e.settings.displacement_factor, 2.5f);
  EXPECT_FALSE(e.settings.displacement_factor_auto);
  EXPECT_TRUE(e.settings.min_size_factor_auto);
  EXPECT_EQ(e.settings.time_output_item, 4);
  EXPECT_TRUE(e.settings.reverse_vertical);
  EXPECT_FALSE(e.settings.show_node_indices);
  EXPECT_TRUE(e.settings.show_all_positions);
  EXPECT_EQ(e.colour_scheme, kSchemeAllBlack);
  EXPECT_EQ(e.settings.line_colour, 0u);
  EXPECT_TRUE(e.romanian_messages);
  EXPECT_TRUE(e.notes.empty());
}

TEST(ExportOptions, DefaultsAreAFirstGraphsAndTheFrequencyIsChecked) {
  ExportOptions o;
  ASSERT_TRUE(parse_export_options({"dir", "--out", "frames"}, &o).is_ok());
  EXPECT_EQ(o.width, 1280);
  EXPECT_EQ(o.height, 800);
  ExportSettings e;
  ASSERT_TRUE(export_settings(o, 1000, &e).is_ok());
  EXPECT_EQ(e.settings.end_step, 1000);
  EXPECT_EQ(e.settings.step_frequency, 50);
  EXPECT_EQ(e.settings.frame_delay_ms, 400);  // the tool's own default of 0 is applied by main

  ExportOptions bad;
  ASSERT_TRUE(parse_export_options({"dir", "--out", "f", "--start-step", "5", "--end-step", "6",
                                    "--step-frequency", "3"},
                                   &bad)
                  .is_ok());
  ASSERT_TRUE(export_settings(bad, 10, &e).is_ok());
  EXPECT_EQ(e.settings.step_frequency, 1);
  EXPECT_EQ(e.notes, (std::vector<std::string>{" * Invalid Frequency: Frequency set to 1"}));

  EXPECT_FALSE(parse_export_options({"dir", "--out", "f", "--size", "12x"}, &o).is_ok());
  EXPECT_FALSE(parse_export_options({"dir", "--out", "f", "--end-step", "ten"}, &o).is_ok());
  EXPECT_FALSE(parse_export_options({"dir", "--out", "f", "--colour-scheme", "custom"}, &o).is_ok());
  EXPECT_FALSE(parse_export_options({"dir", "--out", "f", "--shiny"}, &o).is_ok());
  EXPECT_FALSE(parse_export_options({"dir"}, &o).is_ok());
}
