#include "settings/colour_schemes.h"

#include <gtest/gtest.h>

#include "settings/dialog_templates.h"
#include "settings/graph_settings.h"
#include "settings/graph_settings_dialog.h"
#include "support/fake_platform.h"
#include "test_problem.h"

namespace {

using fake::choose;
using fake::click;

class ColourSchemesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::reset();
    settings_startup();
  }
  static ColourTable colours() {
    const GraphSettings s = settings_copy();
    return {s.line_colour, s.grid_colour, s.scale_colour, s.node_index_colour,
            s.element_index_colour, s.text_colour};
  }
  static int scheme() {
    SettingsGuard guard;
    return guard->colour_scheme;
  }
  // Picks Custom in the Graph Settings dialog with `custom_script` for the
  // custom colours dialog.
  static void pick_custom(std::vector<fake::Action> custom_script) {
    fake::push_dialog_script(kCustomColoursTemplate, std::move(custom_script));
    fake::push_dialog_script(kGraphSettingsTemplate, {choose(kIdColourScheme, 3)});
    show_graph_settings(make_problem(3, 2, 1), "(1) A", 5);
  }
};

TEST_F(ColourSchemesTest, SchemeItemsCopyWholeTables) {
  apply_colour_scheme(2);
  EXPECT_EQ(scheme(), kSchemeAllBlack);
  EXPECT_EQ(colours(), all_black_colours);
  {
    SettingsGuard guard;
    guard->settings.line_colour = 0x707070;
  }
  apply_colour_scheme(1);
  EXPECT_EQ(scheme(), kSchemeStandard);
  EXPECT_EQ(colours(), standard_colours);
  apply_colour_scheme(2);
  apply_colour_scheme(0);  // no selection
  EXPECT_EQ(scheme(), kSchemeStandard);
  EXPECT_EQ(colours(), standard_colours);
  apply_colour_scheme(7);
  EXPECT_EQ(colours(), standard_colours);
  EXPECT_TRUE(fake::dialog_runs().empty());
}

TEST_F(ColourSchemesTest, CustomForTheFirstTimeAppliesTheStandardColours) {
  apply_colour_scheme(2);
  pick_custom({});
  EXPECT_EQ(scheme(), kSchemeCustom);
  EXPECT_EQ(colours(), standard_colours);
  // The custom colours dialog ran inside the Graph Settings dialog.
  const auto runs = fake::dialog_runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].template_number, kGraphSettingsTemplate);
  EXPECT_EQ(runs[1].template_number, kCustomColoursTemplate);
}

TEST_F(ColourSchemesTest, ChangingOnlyGridChangesOnlyTheGridColour) {
  fake::push_colour_choice(0x123456);
  pick_custom({click(1041), click(kIdAccept)});
  ColourTable expected = standard_colours;
  expected[1] = 0x123456;
  EXPECT_EQ(colours(), expected);
  const auto requests = fake::colour_requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].initial, standard_colours[1]);
  EXPECT_NE(requests[0].owner, nullptr);

  // The next opening starts from the colours set last time.
  fake::push_colour_choice(0x654321);
  pick_custom({click(1041)});
  EXPECT_EQ(fake::colour_requests().back().initial, 0x123456u);
  EXPECT_EQ(colours()[1], 0x654321u);
}

TEST_F(ColourSchemesTest, CancelledChooserKeepsTheSlotButKeepsTheUserCells) {
  std::array<Rgb, 16> cells{};
  cells[0] = 0x0000FF;
  cells[15] = 0x00FFFF;
  fake::push_colour_choice(std::nullopt, cells);  // cells edited, then cancelled
  fake::push_colour_choice(0xABCDEF);
  pick_custom({click(1045), click(1040)});
  const auto requests = fake::colour_requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].initial, standard_colours[5]);
  for (Rgb cell : requests[0].custom_cells) EXPECT_EQ(cell, kRgbBlack);
  EXPECT_EQ(requests[1].custom_cells, cells);  // kept for the later chooser
  EXPECT_EQ(colours()[5], standard_colours[5]);
  EXPECT_EQ(colours()[0], 0xABCDEFu);

  // And they survive into a later custom dialog of the same program run.
  pick_custom({click(1042)});
  EXPECT_EQ(fake::colour_requests().back().custom_cells, cells);
}

TEST_F(ColourSchemesTest, CustomDialogHasItsHiddenCancelAndAnyCloseApplies) {
  fake::push_colour_choice(0x010203);
  pick_custom({click(kIdCancel), click(1043), fake::close(kIdCancel)});
  const auto runs = fake::dialog_runs();
  ASSERT_EQ(runs.size(), 2u);
  ASSERT_EQ(runs[1].refused.size(), 1u);  // the hidden Cancel cannot be clicked
  EXPECT_EQ(runs[1].refused[0].id, kIdCancel);
  EXPECT_EQ(colours()[3], 0x010203u);
}

TEST_F(ColourSchemesTest, OnlyClicksOpenTheChooser) {
  Dialog dialog;
  dlg_init(custom_colours_template(), dialog);
  on_colour_button(dialog, 1040, kReasonSelChange);
  on_colour_button(dialog, 1039, kReasonClicked);
  on_colour_button(dialog, kIdAccept, kReasonClicked);
  EXPECT_TRUE(fake::colour_requests().empty());
  dlg_release(dialog);
}

}  // namespace
