// Dialog runs and the two system choosers of the recording layer, answered
// from the scripts the test queued.
#include "platform/dialog_native.h"
#include "support/fake_state.h"

namespace {

using fake::Action;

// What Dialog::native points at while a dialog runs.
struct NativeDialog {
  int template_number = 0;
};

DialogCallback bound_callback(const Dialog& dialog, int id, int reason) {
  for (const auto& binding : dialog.bindings)
    if (binding.control_id == id && binding.reason == reason) return binding.callback;
  return nullptr;
}

// Runs the callback bound to (id, reason), if any; callbacks run as on the
// GUI thread.
void raise(Dialog& dialog, int id, int reason) {
  if (DialogCallback callback = bound_callback(dialog, id, reason)) {
    fake::detail::GuiScope gui;
    callback(dialog, id, reason);
  }
}

bool is_check(ControlKind kind) {
  return kind == ControlKind::check_box || kind == ControlKind::push_check_box;
}

bool is_list(ControlKind kind) {
  return kind == ControlKind::list_box || kind == ControlKind::drop_down_list ||
         kind == ControlKind::simple_combo;
}

// Carries out one user action. Returns false when the user could not have
// done it (control absent, disabled, hidden or of another kind, item out of
// range). Sets *closed_with when the action closes the dialog.
bool perform(Dialog& dialog, const Action& action, std::optional<int>* closed_with) {
  if (action.kind == Action::close) {
    *closed_with = action.id;
    return true;
  }
  DialogControl* control = dialog.find(action.id);
  if (control == nullptr || !control->enabled || (control->style & kStyleHidden)) return false;
  switch (action.kind) {
    case Action::set_text:
      if (control->kind == ControlKind::edit) {
        control->text = action.text;
        raise(dialog, action.id, kReasonChanged);
        return true;
      }
      if (control->kind == ControlKind::simple_combo) {
        control->text = action.text;
        raise(dialog, action.id, kReasonUpdate);
        return true;
      }
      return false;
    case Action::click:
      if (is_check(control->kind)) {
        control->checked = !control->checked;
        raise(dialog, action.id, kReasonClicked);
        return true;
      }
      if (control->kind == ControlKind::push_button) {
        if (bound_callback(dialog, action.id, kReasonClicked) != nullptr)
          raise(dialog, action.id, kReasonClicked);
        else if (action.id == 1 || action.id == 2)
          *closed_with = action.id;
        return true;
      }
      return false;
    case Action::choose:
      if (!is_list(control->kind) || action.item < 1 ||
          action.item > static_cast<int>(control->items.size()))
        return false;
      control->selection = action.item;
      if (control->kind == ControlKind::simple_combo)
        control->text = control->items[static_cast<std::size_t>(action.item - 1)];
      raise(dialog, action.id, kReasonSelChange);
      return true;
    case Action::close:
      break;
  }
  return false;
}

}  // namespace

// The record is what the fake dialog shows, so there is nothing to pass on.
void dlg_native_sync(Dialog&, const DialogControl&) {}

// Actions left in a script after the dialog has closed count as refused.
int dlg_run_modal(Dialog& dialog) {
  if (dialog.tmpl == nullptr || dialog.native != nullptr) return -1;
  NativeDialog native{dialog.tmpl->number};
  dialog.native = &native;
  dialog.closed_by = 0;

  std::vector<Action> script;
  std::size_t run_index = 0;
  {
    std::lock_guard lock(fake::detail::state_mutex());
    fake::detail::State& s = fake::detail::state();
    auto& queue = s.dialog_scripts[native.template_number];
    if (!queue.empty()) {
      script = std::move(queue.front());
      queue.pop_front();
    }
    run_index = s.dialog_runs.size();
    s.dialog_runs.push_back(fake::DialogRun{native.template_number, dialog, {}, 0, {}});
  }

  std::optional<int> closed;
  std::vector<Action> refused;
  for (const Action& action : script) {
    if (closed || !perform(dialog, action, &closed)) refused.push_back(action);
  }
  int closed_with = closed.value_or(1);
  dialog.closed_by = closed_with;

  {
    std::lock_guard lock(fake::detail::state_mutex());
    fake::DialogRun& run = fake::detail::state().dialog_runs[run_index];
    run.at_close = dialog;
    run.result = closed_with;
    run.refused = std::move(refused);
  }
  dialog.native = nullptr;
  return closed_with;
}

void* dlg_owner_window(const Dialog& dialog) { return dialog.native; }

bool dlg_choose_file(const FileChooserRequest& request, std::string* chosen_path) {
  std::optional<std::string> answer;
  {
    std::lock_guard lock(fake::detail::state_mutex());
    fake::detail::State& s = fake::detail::state();
    s.file_requests.push_back(request);
    if (!s.file_answers.empty()) {
      answer = std::move(s.file_answers.front());
      s.file_answers.pop_front();
    }
  }
  if (!answer) return false;
  if (chosen_path != nullptr) *chosen_path = std::move(*answer);
  return true;
}

bool dlg_choose_colour(void* owner, Rgb initial, std::array<Rgb, 16>* custom_cells, Rgb* chosen) {
  std::lock_guard lock(fake::detail::state_mutex());
  fake::detail::State& s = fake::detail::state();
  fake::ColourRequest request{owner, initial, {}};
  if (custom_cells != nullptr) request.custom_cells = *custom_cells;
  s.colour_requests.push_back(request);
  if (s.colour_answers.empty()) return false;
  fake::detail::ColourAnswer answer = s.colour_answers.front();
  s.colour_answers.pop_front();
  if (answer.cells && custom_cells != nullptr) *custom_cells = *answer.cells;
  if (!answer.colour) return false;
  if (chosen != nullptr) *chosen = *answer.colour;
  return true;
}
