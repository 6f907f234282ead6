#include "settings/time_settings.h"

#include <algorithm>
#include <string>

#include "platform/wnd.h"
#include "settings/dialog_templates.h"
#include "settings/field_reading.h"
#include "settings/graph_settings.h"

namespace {
constexpr int kEditFields[] = {kIdStartStep, kIdEndStep, kIdFrequency, kIdDelay};

std::int32_t field_integer(const Dialog& dialog, int id) {
  std::string text;
  dlg_get_text(dialog, id, &text, kFieldTextLength);
  return read_integer_prefix(text);
}
}  // namespace

DialogEnd show_time_settings(const Problem& problem) {
  return show_time_settings(problem.control.step_count, problem.control.end_time);
}

DialogEnd show_time_settings(std::int32_t step_count, float end_time) {
  TimeSettingsContext context{step_count, end_time};
  Dialog dialog;
  dlg_init(time_settings_template(), dialog);
  dialog.context = &context;
  for (int id : kEditFields) dlg_set_callback(dialog, id, on_time_settings_changed);

  dlg_set_text(dialog, kIdStartTime, "0.");
  dlg_set_text(dialog, kIdEndTime, shown_real(end_time));
  dlg_set_text(dialog, kIdStepCount, shown_integer(step_count));

  GraphSettings current = settings_copy();
  dlg_set_text(dialog, kIdStartStep, shown_integer(current.start_step));
  dlg_set_text(dialog, kIdEndStep, shown_integer(current.end_step));
  dlg_set_text(dialog, kIdDelay, shown_integer(current.frame_delay_ms));
  dlg_set_text(dialog, kIdFrequency, shown_integer(current.step_frequency));

  const int closed_by = dlg_run_modal(dialog);
  // The fields count whatever closed the dialog, Cancel included.
  on_time_settings_changed(dialog, kIdStartStep, kReasonChanged);
  dlg_release(dialog);
  return closed_by == kIdCancel ? DialogEnd::cancelled : DialogEnd::accepted;
}

void on_time_settings_changed(Dialog& dialog, int /*control_id*/, int /*reason*/) {
  const auto* context = static_cast<const TimeSettingsContext*>(dialog.context);
  const std::int32_t start = field_integer(dialog, kIdStartStep);
  std::int32_t end = field_integer(dialog, kIdEndStep);
  if (context != nullptr) end = std::min(end, context->step_count);
  const std::int32_t frequency = field_integer(dialog, kIdFrequency);
  const std::int32_t delay = field_integer(dialog, kIdDelay);

  SettingsGuard guard;
  guard->settings.start_step = start;
  guard->settings.end_step = end;
  guard->settings.frame_delay_ms = delay;
  guard->settings.step_frequency = frequency;
}

bool check_frequency() {
  bool corrected;
  {
    SettingsGuard guard;
    corrected = correct_frequency(guard->settings);
  }
  if (corrected) wnd_write_line(kInfoUnit, kInvalidFrequencyLine);
  return corrected;
}
