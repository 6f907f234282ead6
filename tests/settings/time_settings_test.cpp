#include "settings/time_settings.h"

#include <gtest/gtest.h>

#include "settings/dialog_templates.h"
#include "settings/graph_settings.h"
#include "support/fake_platform.h"
#include "test_problem.h"

namespace {

class TimeSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::reset();
    settings_startup();
    wnd_open_child(9, "Info", ChildKind::text);
  }
  static GraphSettings current() { return settings_copy(); }
  static std::string text_at_open(int id) {
    return fake::dialog_runs().at(0).at_open.find(id)->text;
  }
};

TEST_F(TimeSettingsTest, FirstGraphShowsTheProblemAndThePreparedSteps) {
  {
    SettingsGuard guard;
    prepare_new_graph(guard->settings, 200);
  }
  EXPECT_EQ(show_time_settings(make_problem(4, 2, 1, 200, 2.5f)), DialogEnd::accepted);
  ASSERT_EQ(fake::dialog_runs().size(), 1u);
  EXPECT_EQ(fake::dialog_runs()[0].template_number, kTimeSettingsTemplate);
  EXPECT_EQ(text_at_open(kIdStartTime), "0.");
  EXPECT_EQ(text_at_open(kIdEndTime), "2.5");
  EXPECT_EQ(text_at_open(kIdStepCount), "200");
  EXPECT_EQ(text_at_open(kIdStartStep), "0");
  EXPECT_EQ(text_at_open(kIdEndStep), "200");
  EXPECT_EQ(text_at_open(kIdFrequency), "10");
  EXPECT_EQ(text_at_open(kIdDelay), "400");
}

TEST_F(TimeSettingsTest, InformationFieldsForOtherProblems) {
  show_time_settings(make_problem(4, 2, 1, 0, 0.0f));
  EXPECT_EQ(text_at_open(kIdStartTime), "0.");
  EXPECT_EQ(text_at_open(kIdEndTime), "0.");
  EXPECT_EQ(text_at_open(kIdStepCount), "0");
  fake::reset();
  show_time_settings(make_problem(4, 2, 1, 5000, 12345678.0f));
  EXPECT_EQ(text_at_open(kIdStartTime), "0.");
  EXPECT_EQ(text_at_open(kIdEndTime), "0.123457E+08");
  EXPECT_EQ(text_at_open(kIdStepCount), "5000");
}

TEST_F(TimeSettingsTest, FieldsAreReadAsIntegerPrefixesAndEndStepIsCut) {
  fake::push_dialog_script(kTimeSettingsTemplate,
                           {fake::set_text(kIdStartStep, "12abc"), fake::set_text(kIdEndStep, "99999"),
                            fake::set_text(kIdFrequency, "   3"), fake::set_text(kIdDelay, "-1"),
                            fake::click(kIdAccept)});
  EXPECT_EQ(show_time_settings(make_problem(4, 2, 1, 200)), DialogEnd::accepted);
  const GraphSettings s = current();
  EXPECT_EQ(s.start_step, 12);
  EXPECT_EQ(s.end_step, 200);
  EXPECT_EQ(s.step_frequency, 3);
  EXPECT_EQ(s.frame_delay_ms, -1);

  fake::push_dialog_script(kTimeSettingsTemplate, {fake::set_text(kIdStartStep, "letters"),
                                                   fake::set_text(kIdEndStep, "-5")});
  show_time_settings(make_problem(4, 2, 1, 200));
  EXPECT_EQ(current().start_step, 0);
  EXPECT_EQ(current().end_step, -5);  // bounded from above only
}

TEST_F(TimeSettingsTest, CancelStillStoresTheFieldsAndIsReported) {
  fake::push_dialog_script(kTimeSettingsTemplate,
                           {fake::set_text(kIdDelay, "50"), fake::click(kIdCancel)});
  EXPECT_EQ(show_time_settings(make_problem(4, 2, 1)), DialogEnd::cancelled);
  EXPECT_EQ(current().frame_delay_ms, 50);
}

TEST_F(TimeSettingsTest, FieldsAreReadOnceMoreAfterTheDialogCloses) {
  // An end step left from a larger problem is shown as it is; untouched, it
  // is still cut when the dialog closes, by whatever button.
  {
    SettingsGuard guard;
    guard->settings.end_step = 500;
  }
  fake::push_dialog_script(kTimeSettingsTemplate, {fake::close(kIdCancel)});
  EXPECT_EQ(show_time_settings(make_problem(4, 2, 1, 200)), DialogEnd::cancelled);
  EXPECT_EQ(text_at_open(kIdEndStep), "500");
  EXPECT_EQ(current().end_step, 200);
}

struct FrequencyCase {
  int start, end, frequency;
  int expected;
  bool line;
};

TEST_F(TimeSettingsTest, FrequencyCheck) {
  const FrequencyCase cases[] = {
      {0, 10, 0, 1, true},    // zero
      {0, 10, 11, 11, false},  // a window of 11 steps
      {0, 10, 12, 1, true},
      {20, 10, 1, 1, true},   // start beyond end: any frequency >= 1 is refused
      {20, 10, 5, 1, true},
      {5, 10, -3, -3, false},  // negative passes while end >= start
      {-2147483647 - 1, 2147483647, 2147483647, 2147483647, false},  // no overflow
  };
  for (const auto& c : cases) {
    fake::reset();
    wnd_open_child(9, "Info", ChildKind::text);
    {
      SettingsGuard guard;
      guard->settings.start_step = c.start;
      guard->settings.end_step = c.end;
      guard->settings.step_frequency = c.frequency;
    }
    EXPECT_EQ(check_frequency(), c.line);
    const GraphSettings s = current();
    EXPECT_EQ(s.step_frequency, c.expected) << c.start << " " << c.end << " " << c.frequency;
    EXPECT_EQ(s.start_step, c.start);
    EXPECT_EQ(s.end_step, c.end);
    const auto lines = fake::lines(9);
    if (c.line) {
      ASSERT_EQ(lines.size(), 1u);
      EXPECT_EQ(lines[0], " * Invalid Frequency: Frequency set to 1");
    } else {
      EXPECT_TRUE(lines.empty());
    }
  }
}

}  // namespace
