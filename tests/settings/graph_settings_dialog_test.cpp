#include "settings/graph_settings_dialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "settings/dialog_templates.h"
#include "settings/time_settings.h"
#include "settings/graph_settings.h"
#include "support/fake_platform.h"
#include "test_problem.h"

namespace {

using fake::choose;
using fake::click;
using fake::set_text;

constexpr const char* kTitle = "(1) Frame A";

class GraphSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::reset();
    settings_startup();
  }
  // Runs the dialog on `problem` with the script; returns whether cancelled.
  static bool run(const Problem& problem, std::vector<fake::Action> script) {
    fake::push_dialog_script(kGraphSettingsTemplate, std::move(script));
    return show_graph_settings(problem, kTitle, 11) == DialogEnd::cancelled;
  }
  static GraphSettings current() { return settings_copy(); }
  static const fake::DialogRun& last_run() {
    static std::vector<fake::DialogRun> runs;
    runs = fake::dialog_runs();
    for (auto it = runs.rbegin(); it != runs.rend(); ++it)
      if (it->template_number == kGraphSettingsTemplate) return *it;
    ADD_FAILURE() << "no Graph Settings run";
    return runs.at(0);
  }
  static const DialogControl& opened(int id) { return *last_run().at_open.find(id); }
  static const DialogControl& closed(int id) { return *last_run().at_close.find(id); }
};

TEST_F(GraphSettingsTest, FirstGraphOpensWithTheDefaults) {
  EXPECT_FALSE(run(make_problem(3, 2, 1), {}));
  EXPECT_TRUE(opened(kIdNodeIndices).checked);
  EXPECT_EQ(opened(kIdNodeIndices).text, "ON ");
  EXPECT_FALSE(opened(kIdElementIndices).checked);
  EXPECT_EQ(opened(kIdElementIndices).text, "OFF");
  EXPECT_EQ(opened(kIdGridAndScale).text, "ON ");
  EXPECT_EQ(opened(kIdTimeOutput).text, "ON ");
  EXPECT_FALSE(opened(kIdShowAllPositions).checked);
  EXPECT_EQ(opened(kIdShowAllPositions).text, "NO ");
  EXPECT_FALSE(opened(kIdReverseX).checked);
  EXPECT_EQ(opened(kIdColourScheme).items,
            (std::vector<std::string>{"Standard", "All Black", "Custom"}));
  EXPECT_EQ(opened(kIdColourScheme).selection, 1);
  EXPECT_EQ(opened(kIdMinSizeFactor).text, "Auto");
  EXPECT_EQ(opened(kIdDisplacementFactor).text, "1");
  EXPECT_EQ(opened(kIdGraphTitle).text, kTitle);
  EXPECT_TRUE(opened(kIdTimeOutputList).enabled);
  EXPECT_EQ(opened(kIdTimeOutputList).selection, 1);
  EXPECT_EQ(opened(kIdTimeOutputList).items,
            (std::vector<std::string>{"1 (Origin)", "2", "3"}));
  EXPECT_TRUE(fake::message_boxes().empty());
}

TEST_F(GraphSettingsTest, TitleIsCutToItsLengthAndAtMostEighty) {
  fake::push_dialog_script(kGraphSettingsTemplate, {});
  show_graph_settings(make_problem(3, 2, 1), "(2) Frame B      ", 7);
  EXPECT_EQ(opened(kIdGraphTitle).text, "(2) Fra");
  const std::string long_title(100, 'T');
  show_graph_settings(make_problem(3, 2, 1), long_title, 100);
  EXPECT_EQ(opened(kIdGraphTitle).text, std::string(80, 'T'));
  show_graph_settings(make_problem(3, 2, 1), kTitle, -4);
  EXPECT_EQ(opened(kIdGraphTitle).text, "");
  show_graph_settings(make_problem(3, 2, 1), "(3)", 40);  // shorter than its length
  EXPECT_EQ(opened(kIdGraphTitle).text, "(3)");
}

TEST_F(GraphSettingsTest, PlaneProblemGreysTheYBoxAndKeepsReverseY) {
  {
    SettingsGuard guard;
    guard->settings.reverse_y = true;
  }
  run(make_problem(3, 2, 1), {click(kIdReverseY), click(kIdReverseVertical)});
  EXPECT_FALSE(opened(kIdReverseY).enabled);
  ASSERT_EQ(last_run().refused.size(), 1u);
  EXPECT_EQ(last_run().refused[0].id, kIdReverseY);
  EXPECT_TRUE(current().reverse_y);
  EXPECT_TRUE(current().reverse_vertical);
}

TEST_F(GraphSettingsTest, SpatialProblemStoresTheYBox) {
  {
    SettingsGuard guard;
    guard->settings.reverse_y = true;
  }
  run(make_problem(3, 3, 1), {click(kIdReverseY)});
  EXPECT_TRUE(opened(kIdReverseY).enabled);
  EXPECT_TRUE(opened(kIdReverseY).checked);
  EXPECT_FALSE(current().reverse_y);
}

TEST_F(GraphSettingsTest, CheckBoxesStoreTheirStateAndRewriteTheirCaptions) {
  run(make_problem(3, 2, 1), {click(kIdNodeIndices), click(kIdElementIndices),
                              click(kIdGridAndScale), click(kIdTimeOutput)});
  const GraphSettings s = current();
  EXPECT_FALSE(s.show_node_indices);
  EXPECT_TRUE(s.show_element_indices);
  EXPECT_FALSE(s.show_grid_and_scale);
  EXPECT_FALSE(s.show_time_output);
  EXPECT_EQ(closed(kIdNodeIndices).text, "OFF");
  EXPECT_EQ(closed(kIdElementIndices).text, "ON ");
  EXPECT_EQ(closed(kIdGridAndScale).text, "OFF");
  EXPECT_EQ(closed(kIdTimeOutput).text, "OFF");
  EXPECT_EQ(closed(kIdShowAllPositions).text, "NO ");
}

TEST_F(GraphSettingsTest, TickingXStoresNothingOfItsOwnButReadsBothFactorTexts) {
  {
    SettingsGuard guard;
    guard->settings.min_size_factor = 2.5f;
    guard->settings.min_size_factor_auto = false;
    guard->settings.displacement_factor = 30.0f;
    guard->settings.displacement_factor_auto = false;
  }
  run(make_problem(3, 2, 1), {click(kIdReverseX)});
  const GraphSettings s = current();
  EXPECT_FALSE(s.reverse_x);
  EXPECT_TRUE(s.min_size_factor_auto);
  EXPECT_FLOAT_EQ(s.min_size_factor, 2.5f);  // "Auto" keeps the value
  EXPECT_TRUE(s.displacement_factor_auto);
  EXPECT_FLOAT_EQ(s.displacement_factor, 1.0f);
}

TEST_F(GraphSettingsTest, WithoutAnyChangeTheFactorsAreThoseTheFieldsShow) {
  {
    SettingsGuard guard;
    guard->settings.min_size_factor = 2.5f;
    guard->settings.min_size_factor_auto = false;
    guard->settings.displacement_factor = 8.0f;
    guard->settings.displacement_factor_auto = false;
  }
  run(make_problem(3, 2, 1), {click(kIdAccept)});
  const GraphSettings s = current();
  EXPECT_TRUE(s.displacement_factor_auto);
  EXPECT_FLOAT_EQ(s.displacement_factor, 1.0f);
  EXPECT_TRUE(s.min_size_factor_auto);
  EXPECT_FLOAT_EQ(s.min_size_factor, 2.5f);  // "Auto" keeps the value
  EXPECT_TRUE(fake::message_boxes().empty());
}

TEST_F(GraphSettingsTest, ZeroDisplacementFactorIsRefusedAndTheFieldReset) {
  run(make_problem(3, 2, 1), {set_text(kIdDisplacementFactor, "")});
  EXPECT_FLOAT_EQ(current().displacement_factor, 0.0f);  // emptied: no warning
  EXPECT_FALSE(current().displacement_factor_auto);
  EXPECT_TRUE(fake::message_boxes().empty());

  fake::reset();
  run(make_problem(3, 2, 1), {set_text(kIdDisplacementFactor, ""),
                              set_text(kIdDisplacementFactor, "0")});
  const auto boxes = fake::message_boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "VELTRA Message");
  EXPECT_EQ(boxes[0].text,
            "WARNING: Displacement Factor can not equal 0.:\n\nDisplacement Factor set to 1.");
  EXPECT_EQ(boxes[0].style, kBoxWarningOk);
  EXPECT_EQ(closed(kIdDisplacementFactor).text, "1");
  EXPECT_FLOAT_EQ(current().displacement_factor, 1.0f);
  EXPECT_TRUE(current().displacement_factor_auto);
}

TEST_F(GraphSettingsTest, ZeroMinimumSizeFactorIsRefusedKeepingItsValue) {
  {
    SettingsGuard guard;
    guard->settings.min_size_factor = 4.0f;
  }
  run(make_problem(3, 2, 1), {set_text(kIdMinSizeFactor, ".0")});
  const auto boxes = fake::message_boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "VELTRA Message");
  EXPECT_EQ(boxes[0].text, "WARNING: Scale Factor can not equal 0: \n\nScale Factor has been set to 1.");
  EXPECT_EQ(boxes[0].style, kBoxWarningOk);
  EXPECT_EQ(closed(kIdMinSizeFactor).text, "1");
  EXPECT_TRUE(current().min_size_factor_auto);
  EXPECT_FLOAT_EQ(current().min_size_factor, 4.0f);
}

TEST_F(GraphSettingsTest, FactorTextsReadAsTheirNumericPrefix) {
  run(make_problem(3, 2, 1), {set_text(kIdDisplacementFactor, ".5"),
                              set_text(kIdMinSizeFactor, "auto")});
  EXPECT_FLOAT_EQ(current().displacement_factor, 0.5f);
  EXPECT_FALSE(current().displacement_factor_auto);
  EXPECT_FLOAT_EQ(current().min_size_factor, 0.0f);  // lower-case auto is not automatic
  EXPECT_FALSE(current().min_size_factor_auto);
  EXPECT_TRUE(fake::message_boxes().empty());

  run(make_problem(3, 2, 1), {set_text(kIdDisplacementFactor, "1.0       25")});
  EXPECT_TRUE(current().displacement_factor_auto);  // judged on 10 characters
  run(make_problem(3, 2, 1), {set_text(kIdDisplacementFactor, "25x")});
  EXPECT_FLOAT_EQ(current().displacement_factor, 25.0f);
}

TEST_F(GraphSettingsTest, SettingsHintsRepeatWhileTheConditionHolds) {
  run(make_problem(3, 2, 1), {click(kIdShowAllPositions), click(kIdReverseX),
                              click(kIdTimeOutput), click(kIdNodeIndices), click(kIdReverseX)});
  const auto boxes = fake::message_boxes();
  ASSERT_EQ(boxes.size(), 3u);
  for (const auto& box : boxes) {
    EXPECT_EQ(box.caption, "Settings Message");
    EXPECT_EQ(box.style, kBoxInformationOk);
  }
  EXPECT_EQ(boxes[0].text, "Normally, Check OFF \"Node Indices\" & \"Time Output\"!");
  EXPECT_EQ(boxes[1].text, "Normally, Check OFF \"Node Indices\" & \"Time Output\"!");
  EXPECT_EQ(boxes[2].text, "Normally, Check OFF \"Node Indices\"!");
  EXPECT_TRUE(current().show_all_positions);
  EXPECT_EQ(closed(kIdShowAllPositions).text, "YES");

  fake::reset();
  settings_startup();
  run(make_problem(3, 2, 1), {click(kIdNodeIndices), click(kIdShowAllPositions)});
  ASSERT_EQ(fake::message_boxes().size(), 1u);
  EXPECT_EQ(fake::message_boxes()[0].text, "Normally, Check OFF \"Time Output\"!");
}

TEST_F(GraphSettingsTest, TimeOutputListFollowsTheTimeOutputBox) {
  run(make_problem(3, 2, 0), {choose(kIdTimeOutputList, 4)});
  EXPECT_EQ(opened(kIdTimeOutputList).items.back(), "Origin");
  EXPECT_EQ(current().time_output_item, 4);

  run(make_problem(3, 2, 0), {click(kIdTimeOutput), choose(kIdTimeOutputList, 2)});
  EXPECT_FALSE(closed(kIdTimeOutputList).enabled);
  EXPECT_EQ(last_run().refused.size(), 1u);
  EXPECT_EQ(current().time_output_item, 4);  // kept while unticked
  EXPECT_FALSE(current().show_time_output);

  // Unticked, the list opens greyed and without a selection.
  run(make_problem(3, 2, 0), {click(kIdTimeOutput), choose(kIdTimeOutputList, 2)});
  EXPECT_FALSE(opened(kIdTimeOutputList).enabled);
  EXPECT_EQ(opened(kIdTimeOutputList).selection, 0);
  EXPECT_EQ(current().time_output_item, 2);
}

TEST_F(GraphSettingsTest, ALeftOverTimeOutputItemCountsAsTheFirst) {
  {
    SettingsGuard guard;
    guard->settings.time_output_item = 4;  // the origin item of a larger list
  }
  run(make_problem(3, 2, 2), {click(kIdReverseX)});
  EXPECT_EQ(opened(kIdTimeOutputList).selection, 1);
  EXPECT_EQ(current().time_output_item, 1);
  {
    SettingsGuard guard;
    guard->settings.time_output_item = 0;
  }
  run(make_problem(3, 2, 2), {});
  EXPECT_EQ(opened(kIdTimeOutputList).selection, 1);
}

TEST_F(GraphSettingsTest, CancelKeepsWhatTheCallbackStored) {
  EXPECT_TRUE(run(make_problem(3, 2, 1), {choose(kIdColourScheme, 2), click(kIdCancel)}));
  SettingsGuard guard;
  EXPECT_EQ(guard->colour_scheme, kSchemeAllBlack);
  EXPECT_EQ(guard->settings.line_colour, 0u);
  EXPECT_EQ(guard->settings.text_colour, 0u);
}

TEST_F(GraphSettingsTest, OpeningAgainSelectsTheSchemeWithoutCopyingItsColours) {
  {
    SettingsGuard guard;
    guard->colour_scheme = kSchemeAllBlack;
    guard->settings.line_colour = 0x303090;  // brightened by a show-all animation
  }
  run(make_problem(3, 2, 1), {click(kIdReverseX)});
  EXPECT_EQ(opened(kIdColourScheme).selection, 2);
  EXPECT_EQ(current().line_colour, 0x303090u);
  run(make_problem(3, 2, 1), {choose(kIdColourScheme, 1)});
  EXPECT_EQ(current().line_colour, 0x000080u);
}

}  // namespace

namespace {

// Two runs in their settings dialogs at the same time, with an animation
// reading the settings: each dialog shows its own run's problem and title.
TEST(SettingsDialogsConcurrency, TwoRunsShareNothingButTheSettings) {
  fake::reset();
  settings_startup();
  const Problem small = make_problem(3, 2, 1, 30);
  const Problem large = make_problem(7, 3, 0, 70);
  std::atomic<bool> done{false};
  std::thread animation([&] {
    while (!done.load()) {
      const GraphSettings s = settings_copy();
      (void)s;
    }
  });
  auto run = [](const Problem* problem, const char* title) {
    for (int i = 0; i < 40; ++i) {
      show_time_settings(*problem);
      show_graph_settings(*problem, title, 5);
    }
  };
  std::thread a(run, &small, "(1) A");
  std::thread b(run, &large, "(2) B");
  a.join();
  b.join();
  done.store(true);
  animation.join();

  int graph_runs = 0;
  for (const auto& r : fake::dialog_runs()) {
    if (r.template_number == kTimeSettingsTemplate) {
      const std::string steps = r.at_open.find(kIdStepCount)->text;
      EXPECT_TRUE(steps == "30" || steps == "70") << steps;
      continue;
    }
    ++graph_runs;
    const std::string title = r.at_open.find(kIdGraphTitle)->text;
    const std::size_t items = r.at_open.find(kIdTimeOutputList)->items.size();
    const bool spatial = r.at_open.find(kIdReverseY)->enabled;
    if (title == "(1) A") {
      EXPECT_EQ(items, 3u);
      EXPECT_FALSE(spatial);
    } else {
      EXPECT_EQ(title, "(2) B");
      EXPECT_EQ(items, 8u);
      EXPECT_TRUE(spatial);
    }
  }
  EXPECT_EQ(graph_runs, 80);
}

}  // namespace
