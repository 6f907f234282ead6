// The settings record's preparation, the colour tables, the time-output list
// and the dialog resources.
#include <gtest/gtest.h>

#include <set>

#include "settings/dialog_templates.h"
#include "settings/graph_settings.h"
#include "settings/time_output.h"

namespace {

TEST(PrepareNewGraph, FrequencyFollowsTheStepCount) {
  const std::pair<int, int> cases[] = {{20, 1}, {21, 1}, {39, 1}, {40, 2}, {59, 2}, {60, 3},
                                       {1000, 50}, {0, 1}};
  for (auto [steps, frequency] : cases) {
    GraphSettings s;
    s.start_step = 7;
    s.frame_delay_ms = 55;
    prepare_new_graph(s, steps);
    EXPECT_EQ(s.end_step, steps);
    EXPECT_EQ(s.step_frequency, frequency) << steps;
    EXPECT_EQ(s.start_step, 7);
    EXPECT_EQ(s.frame_delay_ms, 55);
  }
}

TEST(SettingsStartup, DefaultsSchemeAndTables) {
  {
    SettingsGuard guard;
    guard->settings.show_node_indices = false;
    guard->colour_scheme = 3;
    guard->custom_colours.fill(0x123456);
    guard->chooser_custom_colours.fill(0xABCDEF);
  }
  settings_startup();
  SettingsGuard guard;
  EXPECT_TRUE(guard->settings.show_node_indices);
  EXPECT_EQ(guard->settings.frame_delay_ms, 400);
  EXPECT_EQ(guard->colour_scheme, kSchemeStandard);
  EXPECT_EQ(guard->custom_colours, standard_colours);
  for (Rgb cell : guard->chooser_custom_colours) EXPECT_EQ(cell, kRgbBlack);
  // The record's default colours are the Standard scheme, slot by slot.
  GraphSettings s;
  set_colours(s, standard_colours);
  EXPECT_EQ(s.line_colour, default_settings.line_colour);
  EXPECT_EQ(s.text_colour, 0x800080u);
  EXPECT_EQ(s.element_index_colour, default_settings.element_index_colour);
}

Problem problem_with(int nodes, int origin_node) {
  Problem p;
  p.control.node_count = nodes;
  p.control.NGL = 2;
  p.origin_node = origin_node;
  p.origin_is_node = origin_node != 0;
  return p;
}

TEST(TimeOutputList, NodeNumbersWithTheOriginMarkedOrAppended) {
  const auto small = time_output_items(problem_with(4, 3));
  ASSERT_EQ(small.size(), 4u);
  EXPECT_EQ(small[0], "1");
  EXPECT_EQ(small[2], "3 (Origin)");
  EXPECT_EQ(small[3], "4");

  const auto cut = time_output_items(problem_with(150, 123));
  EXPECT_EQ(cut[9], "10");
  EXPECT_EQ(cut[122], "123 (Origi");

  const auto two_digits = time_output_items(problem_with(12, 12));
  EXPECT_EQ(two_digits[11], "12 (Origin");

  const auto no_origin = time_output_items(problem_with(3, 0));
  ASSERT_EQ(no_origin.size(), 4u);
  EXPECT_EQ(no_origin[3], "Origin");
  EXPECT_EQ(time_output_item_count(problem_with(3, 0)), 4);
  EXPECT_TRUE(time_output_is_origin(4, problem_with(3, 0)));
  EXPECT_FALSE(time_output_is_origin(4, problem_with(4, 1)));
}

TEST(TimeOutputList, StoredItemOutsideTheListCountsAsFirst) {
  const Problem with_origin = problem_with(5, 2);
  const Problem without_origin = problem_with(5, 0);
  EXPECT_EQ(effective_time_output_item(5, with_origin), 5);
  EXPECT_EQ(effective_time_output_item(6, with_origin), 1);  // no origin item here
  EXPECT_EQ(effective_time_output_item(6, without_origin), 6);
  EXPECT_EQ(effective_time_output_item(7, without_origin), 1);
  EXPECT_EQ(effective_time_output_item(0, with_origin), 1);
  EXPECT_EQ(effective_time_output_item(-3, with_origin), 1);
  EXPECT_EQ(effective_time_output_item(1000, problem_with(0, 0)), 1);
}

void expect_well_formed(const DialogTemplate& t) {
  std::set<int> ids;
  for (const auto& c : t.controls) {
    if (c.id != kNoId) {
      EXPECT_TRUE(ids.insert(c.id).second) << t.number << " id " << c.id;
    }
    EXPECT_GE(c.x, 0);
    EXPECT_GE(c.y, 0);
    EXPECT_LE(c.x + c.width, t.width) << t.number << " " << c.text;
    EXPECT_LE(c.y + c.height, t.height) << t.number << " " << c.text;
  }
}

const ControlTemplate* find(const DialogTemplate& t, int id) {
  for (const auto& c : t.controls)
    if (c.id == id) return &c;
  return nullptr;
}

TEST(DialogTemplates, ControlsTheCodeAddressesExistWithTheirKinds) {
  const DialogTemplate& g = graph_settings_template();
  EXPECT_EQ(g.number, 101);
  EXPECT_EQ(g.caption, "VELTRA: Graph Settings");
  EXPECT_EQ(g.controls.size(), 29u);
  expect_well_formed(g);
  for (int id : {kIdReverseVertical, kIdReverseY, kIdReverseX, kIdNodeIndices, kIdElementIndices,
                 kIdGridAndScale, kIdTimeOutput}) {
    ASSERT_NE(find(g, id), nullptr) << id;
    EXPECT_EQ(find(g, id)->kind, ControlKind::check_box) << id;
  }
  EXPECT_EQ(find(g, kIdShowAllPositions)->kind, ControlKind::push_check_box);
  EXPECT_EQ(find(g, kIdMinSizeFactor)->kind, ControlKind::simple_combo);
  EXPECT_EQ(find(g, kIdDisplacementFactor)->kind, ControlKind::simple_combo);
  EXPECT_EQ(find(g, kIdTimeOutputList)->kind, ControlKind::list_box);
  EXPECT_EQ(find(g, kIdColourScheme)->kind, ControlKind::drop_down_list);
  EXPECT_EQ(find(g, kIdGraphTitle)->text, "My Problem");
  EXPECT_EQ(find(g, kIdAccept)->text, "DRAW");
  EXPECT_TRUE(find(g, kIdAccept)->style & kStyleDefault);
  int pictures = 0;
  for (const auto& c : g.controls)
    if (c.kind == ControlKind::picture) {
      ++pictures;
      EXPECT_EQ(c.bitmap, &orientation_bitmap());
    }
  EXPECT_EQ(pictures, 1);

  const DialogTemplate& t = time_settings_template();
  EXPECT_EQ(t.number, 106);
  EXPECT_EQ(t.caption, "VELTRA: Time Settings");
  EXPECT_EQ(t.controls.size(), 18u);
  expect_well_formed(t);
  for (int id : {kIdStartStep, kIdEndStep, kIdFrequency, kIdDelay})
    EXPECT_EQ(find(t, id)->kind, ControlKind::edit) << id;
  for (int id : {kIdStartTime, kIdEndTime, kIdStepCount})
    EXPECT_TRUE(find(t, id)->style & kStyleSunken) << id;

  const DialogTemplate& c = custom_colours_template();
  EXPECT_EQ(c.number, 108);
  EXPECT_EQ(c.caption, "Dialog");
  EXPECT_EQ(c.font_face, "MS Shell Dlg");
  expect_well_formed(c);
  EXPECT_TRUE(find(c, kIdCancel)->style & kStyleHidden);
  EXPECT_FALSE(find(c, kIdAccept)->style & kStyleHidden);
  for (int id = kIdFirstColourButton; id <= kIdLastColourButton; ++id)
    EXPECT_TRUE(find(c, id)->style & kStyleFlat) << id;
}

TEST(OrientationBitmap, SixteenColourPictureWithBlueAxesAndMagentaY) {
  const Bitmap& b = orientation_bitmap();
  EXPECT_EQ(b.width, 54);
  EXPECT_EQ(b.height, 53);
  ASSERT_EQ(b.indices.size(), 54u * 53u);
  int blue = 0, magenta = 0;
  for (std::uint8_t i : b.indices) {
    ASSERT_LT(i, 16);
    if (b.palette[i] == 0xFF0000) ++blue;
    if (b.palette[i] == 0xFF00FF) ++magenta;
  }
  EXPECT_GT(blue, 100);
  EXPECT_GT(magenta, 10);
  // The Y axis runs up to the right: a magenta pixel above and right of the
  // lower-left quarter, none in the lower-right corner.
  auto at = [&](int x, int y) { return b.palette[b.indices[static_cast<std::size_t>(y * 54 + x)]]; };
  int upper_right = 0, lower_right_magenta = 0;
  for (int y = 0; y < 53; ++y)
    for (int x = 0; x < 54; ++x) {
      if (at(x, y) != 0xFF00FF) continue;
      if (x > 20 && y < 30) ++upper_right;
      if (x > 30 && y > 40) ++lower_right_magenta;
    }
  EXPECT_GT(upper_right, 5);
  EXPECT_EQ(lower_right_magenta, 0);
}

}  // namespace
