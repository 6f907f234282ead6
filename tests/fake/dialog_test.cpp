// Dialog scripts and the choosers of the recording layer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_platform.h"

namespace {

constexpr int kEdit = 101, kCheck = 102, kCombo = 103, kList = 104, kButton = 105;
constexpr int kDisabled = 106, kHidden = 107;

DialogTemplate make_template(int number) {
  DialogTemplate t;
  t.number = number;
  t.caption = "Test";
  t.controls = {
      {kEdit, ControlKind::edit, ""},
      {kCheck, ControlKind::check_box, "Check"},
      {kCombo, ControlKind::simple_combo, "Auto"},
      {kList, ControlKind::list_box, ""},
      {kButton, ControlKind::push_button, "Colours"},
      {kDisabled, ControlKind::edit, ""},
      {kHidden, ControlKind::push_button, "Hidden", 0, 0, 0, 0, kStyleHidden},
      {1, ControlKind::push_button, "OK"},
      {2, ControlKind::push_button, "Cancel"},
  };
  return t;
}

// What a callback saw: the control, the reason and the control's value then.
struct Seen {
  int id;
  int reason;
  std::string value;
  bool operator==(const Seen&) const = default;
};
std::vector<Seen> g_seen;

std::string value_of(const Dialog& dialog, int id) {
  const DialogControl* c = dialog.find(id);
  if (c->kind == ControlKind::check_box) return c->checked ? "checked" : "unchecked";
  if (c->kind == ControlKind::list_box) return std::to_string(c->selection);
  return c->text;
}

void on_change(Dialog& dialog, int id, int reason) {
  EXPECT_TRUE(wnd_on_gui_thread());
  g_seen.push_back({id, reason, value_of(dialog, id)});
  // A value set by the program raises nothing.
  dlg_set_text(dialog, kEdit, "set by program");
}

class FakeDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::reset();
    g_seen.clear();
    tmpl_ = make_template(101);
    dlg_init(tmpl_, dialog_);
    dlg_set_integer(dialog_, kCombo, 2, DlgProperty::item_count);
    dlg_set_text(dialog_, kCombo, "0.5", DlgProperty::item, 1);
    dlg_set_text(dialog_, kCombo, "2", DlgProperty::item, 2);
    dlg_set_integer(dialog_, kList, 3, DlgProperty::item_count);
    dlg_set_logical(dialog_, kDisabled, false, DlgProperty::enabled);
    dlg_set_logical(dialog_, kCheck, true);
    for (int id : {kEdit, kCheck, kList}) dlg_set_callback(dialog_, id, on_change);
    dlg_set_callback(dialog_, kCombo, on_change, kReasonUpdate);
    dlg_set_callback(dialog_, kCombo, on_change, kReasonSelChange);
  }
  DialogTemplate tmpl_;
  Dialog dialog_;
};

TEST_F(FakeDialog, ScriptRaisesCallbacksAfterUpdatingTheRecord) {
  dlg_set_callback(dialog_, kButton, on_change);
  fake::push_dialog_script(101, {fake::set_text(kEdit, "12"), fake::click(kCheck),
                                 fake::choose(kCombo, 2), fake::set_text(kCombo, "7"),
                                 fake::choose(kList, 3), fake::click(kButton),
                                 fake::click(2)});
  EXPECT_EQ(dlg_run_modal(dialog_), 2);
  EXPECT_EQ(dialog_.closed_by, 2);
  EXPECT_EQ(dialog_.native, nullptr);
  EXPECT_EQ(g_seen, (std::vector<Seen>{{kEdit, kReasonChanged, "12"},
                                       {kCheck, kReasonClicked, "unchecked"},
                                       {kCombo, kReasonSelChange, "2"},
                                       {kCombo, kReasonUpdate, "7"},
                                       {kList, kReasonSelChange, "3"},
                                       {kButton, kReasonClicked, "Colours"}}));
  auto runs = fake::dialog_runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].template_number, 101);
  EXPECT_TRUE(runs[0].at_open.find(kCheck)->checked);  // as the program set it
  EXPECT_EQ(runs[0].at_open.find(kCombo)->text, "Auto");
  EXPECT_EQ(runs[0].at_close.find(kEdit)->text, "set by program");
  EXPECT_EQ(runs[0].at_close.find(kList)->selection, 3);
  EXPECT_EQ(runs[0].result, 2);
  EXPECT_TRUE(runs[0].refused.empty());
}

TEST_F(FakeDialog, ActionsTheUserCannotTakeAreRefused) {
  fake::push_dialog_script(101, {fake::set_text(kDisabled, "x"), fake::click(kHidden),
                                 fake::choose(kList, 4), fake::set_text(kCheck, "x"),
                                 fake::click(999), fake::close(1), fake::click(kCheck)});
  EXPECT_EQ(dlg_run_modal(dialog_), 1);
  EXPECT_TRUE(g_seen.empty());
  auto runs = fake::dialog_runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].refused.size(), 6u);
  EXPECT_TRUE(dialog_.find(kCheck)->checked);
  EXPECT_EQ(dialog_.find(kDisabled)->text, "");
}

void on_ok(Dialog& dialog, int id, int reason) { g_seen.push_back({id, reason, value_of(dialog, kEdit)}); }

TEST_F(FakeDialog, ClosingButtons) {
  // No script: the dialog closes with button 1 at once.
  EXPECT_EQ(dlg_run_modal(dialog_), 1);
  // Button 1 with a callback of its own does not close; the script's end does.
  dlg_set_callback(dialog_, 1, on_ok);
  fake::push_dialog_script(101, {fake::click(1), fake::set_text(kEdit, "3")});
  EXPECT_EQ(dlg_run_modal(dialog_), 1);
  ASSERT_EQ(g_seen.size(), 2u);
  EXPECT_EQ(g_seen[0].id, 1);
  EXPECT_EQ(g_seen[1].id, kEdit);
  // Scripts belong to their template number.
  fake::push_dialog_script(106, {fake::close(2)});
  EXPECT_EQ(dlg_run_modal(dialog_), 1);
  EXPECT_EQ(fake::dialog_runs().size(), 3u);
  Dialog unprepared;
  EXPECT_EQ(dlg_run_modal(unprepared), -1);
}

// The nested dialog of the colour button, and its colour chooser.
std::array<Rgb, 16> g_cells{};
std::vector<Rgb> g_chosen;
void* g_inner_owner = nullptr;

void on_inner_button(Dialog& dialog, int, int) {
  g_inner_owner = dlg_owner_window(dialog);
  Rgb chosen = 0;
  if (dlg_choose_colour(dlg_owner_window(dialog), 0x0000FF, &g_cells, &chosen))
    g_chosen.push_back(chosen);
}

void on_colours(Dialog&, int, int) {
  static DialogTemplate inner = make_template(108);
  Dialog nested;
  dlg_init(inner, nested);
  dlg_set_callback(nested, kButton, on_inner_button);
  EXPECT_EQ(dlg_run_modal(nested), 2);
  dlg_release(nested);
}

TEST_F(FakeDialog, NestedDialogAndColourChooser) {
  g_cells = {};
  g_chosen.clear();
  dlg_set_callback(dialog_, kButton, on_colours);
  std::array<Rgb, 16> cells{};
  cells[3] = 0x00FF00;
  fake::push_colour_choice(0xABCDEF, cells);
  fake::push_colour_choice(std::nullopt);
  fake::push_dialog_script(101, {fake::click(kButton), fake::click(1)});
  fake::push_dialog_script(108, {fake::click(kButton), fake::click(kButton), fake::click(kButton),
                                 fake::close(2)});
  EXPECT_EQ(dlg_run_modal(dialog_), 1);

  EXPECT_EQ(g_chosen, (std::vector<Rgb>{0xABCDEF}));  // accepted, then two cancels
  EXPECT_EQ(g_cells[3], 0x00FF00u);
  auto requests = fake::colour_requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].initial, 0x0000FFu);
  EXPECT_EQ(requests[0].custom_cells[3], 0u);
  EXPECT_EQ(requests[1].custom_cells[3], 0x00FF00u);  // the user's cells come back
  auto runs = fake::dialog_runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].template_number, 101);  // in order of opening
  EXPECT_EQ(runs[1].template_number, 108);
  EXPECT_EQ(requests[0].owner, runs[1].at_open.native);
  EXPECT_NE(runs[0].at_open.native, runs[1].at_open.native);
}

TEST(FakeFileChooser, AnswersInOrderThenCancels) {
  fake::reset();
  FileChooserRequest request;
  request.title = "Select Any File in the Working Directory";
  request.filters = {{"All files (*.*)", "*.*"}};
  fake::push_file_choice("/data/p1/comdin.dat");
  fake::push_file_choice(std::nullopt);
  std::string path = "unchanged";
  EXPECT_TRUE(dlg_choose_file(request, &path));
  EXPECT_EQ(path, "/data/p1/comdin.dat");
  path = "unchanged";
  EXPECT_FALSE(dlg_choose_file(request, &path));
  EXPECT_FALSE(dlg_choose_file(request, &path));
  EXPECT_EQ(path, "unchanged");
  auto requests = fake::file_requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[2].title, request.title);
  EXPECT_EQ(requests[2].filters[0].pattern, "*.*");
}

}  // namespace
