// The settings options of veltra-export: every field by name, the defaults
// of a first graph, the order in which repeated switches count.
#include <gtest/gtest.h>

#include "export_command_line.h"
#include "export_options.h"
#include "settings/graph_settings.h"

TEST(ExportOptions, EveryFieldByName) {
  ExportOptions o;
  ASSERT_TRUE(parse_export_options({"dir", "--out", "frames", "--size", "640x480", "--start-step", "2", "--end-step",
                                    "99", "--step-frequency", "3", "--displacement-factor", "2.5",
                                    "--min-size-factor", "auto", "--time-output-item", "4", "--reverse-vertical",
                                    "--no-show-node-indices", "--show-all-positions", "--colour-scheme", "all-black",
                                    "--language", "romanian", "--frame", "1", "--reverse-y", "--no-reverse-y",
                                    "--show-grid-and-scale", "--no-show-grid-and-scale", "--show-grid-and-scale"},
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
  EXPECT_FALSE(e.settings.reverse_y);           // the last of a switch and its no- form counts
  EXPECT_TRUE(e.settings.show_grid_and_scale);
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
  EXPECT_EQ(e.settings.frame_delay_ms, 0);  // a file is written, nobody watches

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
  ASSERT_TRUE(parse_export_options({"dir", "--movie", "a.GIF", "--fps", "25", "--quiet"}, &o).is_ok());
  EXPECT_EQ(o.movie, "a.GIF");
  EXPECT_EQ(o.fps, 25);
  EXPECT_TRUE(o.quiet);
  EXPECT_TRUE(o.out.empty());
  // Options also come with one dash, as Qt's own programs take them.
  ASSERT_TRUE(parse_export_options({"dir", "-out", "frames", "-platform", "xcb"}, &o).is_ok());
  EXPECT_EQ(o.out, "frames");
  EXPECT_EQ(o.platform, "xcb");
}
