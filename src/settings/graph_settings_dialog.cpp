#include "settings/graph_settings_dialog.h"

#include <algorithm>
#include <vector>

#include "platform/wnd.h"
#include "settings/colour_schemes.h"
#include "settings/dialog_templates.h"
#include "settings/field_reading.h"
#include "settings/graph_settings.h"
#include "settings/time_output.h"

namespace {

constexpr int kTitleLimit = 80;
constexpr const char* kHintCaption = "Settings Message";
constexpr const char* kWarningCaption = "VELTRA Message";
constexpr const char* kMinSizeWarning =
    "WARNING: Scale Factor can not equal 0: \n\nScale Factor has been set to 1.";
constexpr const char* kDisplacementWarning =
    "WARNING: Displacement Factor can not equal 0.:\n\nDisplacement Factor set to 1.";

// The controls that raise the callback with their default reason.
constexpr int kDefaultReasonControls[] = {
    kIdReverseX,     kIdReverseY,         kIdReverseVertical, kIdNodeIndices,  kIdElementIndices,
    kIdGridAndScale, kIdShowAllPositions, kIdTimeOutput,      kIdColourScheme, kIdTimeOutputList};

bool checked(const Dialog& dialog, int id) {
  bool value = false;
  dlg_get_logical(dialog, id, &value);
  return value;
}

void set_captions(Dialog& dialog, const GraphSettings& s) {
  dlg_set_text(dialog, kIdNodeIndices, on_off_caption(s.show_node_indices), DlgProperty::title);
  dlg_set_text(dialog, kIdElementIndices, on_off_caption(s.show_element_indices),
               DlgProperty::title);
  dlg_set_text(dialog, kIdGridAndScale, on_off_caption(s.show_grid_and_scale), DlgProperty::title);
  dlg_set_text(dialog, kIdTimeOutput, on_off_caption(s.show_time_output), DlgProperty::title);
  dlg_set_text(dialog, kIdShowAllPositions, yes_no_caption(s.show_all_positions),
               DlgProperty::title);
}

// The hint shown while Show ALL Positions is on together with node numbers
// or the time label; nullptr when none applies.
const char* settings_hint(const GraphSettings& s) {
  if (!s.show_all_positions) return nullptr;
  if (s.show_node_indices && s.show_time_output)
    return "Normally, Check OFF \"Node Indices\" & \"Time Output\"!";
  if (s.show_time_output) return "Normally, Check OFF \"Time Output\"!";
  if (s.show_node_indices) return "Normally, Check OFF \"Node Indices\"!";
  return nullptr;
}

std::string factor_field(const Dialog& dialog, int id) {
  std::string text;
  dlg_get_text(dialog, id, &text, kFieldTextLength);
  return text;
}

// Steps 1 to 3 of the callback: the check boxes and the list, under the guard.
GraphSettings read_states(Dialog& dialog, const Problem* problem) {
  const bool three_d = problem != nullptr && problem->control.NGL == 3;
  SettingsGuard guard;
  GraphSettings& s = guard->settings;
  s.reverse_vertical = checked(dialog, kIdReverseVertical);
  if (three_d) s.reverse_y = checked(dialog, kIdReverseY);
  s.show_node_indices = checked(dialog, kIdNodeIndices);
  s.show_element_indices = checked(dialog, kIdElementIndices);
  s.show_grid_and_scale = checked(dialog, kIdGridAndScale);
  s.show_time_output = checked(dialog, kIdTimeOutput);
  s.show_all_positions = checked(dialog, kIdShowAllPositions);
  if (s.show_time_output) {
    int item = 0;
    dlg_get_integer(dialog, kIdTimeOutputList, &item, DlgProperty::item);
    s.time_output_item = item == 0 ? 1 : item;
  }
  return s;
}

struct FactorKinds {
  FactorText min_size;
  FactorText displacement;
};

// Stores what the two factor texts mean in the working settings, under the
// guard: a number is taken as it reads; "Auto" (or 1) and a refused zero make
// the factor automatic, the displacement factor then being 1 and the
// minimum-size factor keeping its value. Shows nothing: the caller warns.
FactorKinds store_factor_texts(std::string_view min_text, std::string_view displacement_text) {
  const FactorKinds kinds{classify_factor_text(min_text), classify_factor_text(displacement_text)};
  SettingsGuard guard;
  GraphSettings& s = guard->settings;
  s.min_size_factor_auto = kinds.min_size != FactorText::number;
  if (!s.min_size_factor_auto) s.min_size_factor = read_real_prefix(min_text);
  s.displacement_factor_auto = kinds.displacement != FactorText::number;
  s.displacement_factor = s.displacement_factor_auto ? 1.0f : read_real_prefix(displacement_text);
  return kinds;
}

}  // namespace

std::string_view on_off_caption(bool value) { return value ? "ON " : "OFF"; }
std::string_view yes_no_caption(bool value) { return value ? "YES" : "NO "; }

FactorText classify_factor_text(std::string_view text) {
  const std::string field = field_text(text);
  if (matches_literal(field, {"Auto", "1", "1.", "1.0"})) return FactorText::automatic;
  if (matches_literal(field, {"0", "0.", "0.0", ".0"})) return FactorText::zero;
  return FactorText::number;
}

DialogEnd show_graph_settings(const Problem& problem, std::string_view graph_title,
                         std::int32_t graph_title_length) {
  GraphSettingsContext context;
  context.problem = &problem;
  const std::size_t title_length = static_cast<std::size_t>(
      std::clamp<std::int32_t>(graph_title_length, 0, kTitleLimit));
  context.title = std::string(graph_title.substr(0, std::min(title_length, graph_title.size())));

  GraphSettings s;
  std::int32_t scheme = 0;
  {
    SettingsGuard guard;
    s = guard->settings;
    scheme = guard->colour_scheme;
  }

  Dialog dialog;
  dlg_init(graph_settings_template(), dialog);
  dialog.context = &context;
  for (int id : kDefaultReasonControls) dlg_set_callback(dialog, id, on_graph_settings_changed);
  for (int id : {kIdMinSizeFactor, kIdDisplacementFactor}) {
    dlg_set_callback(dialog, id, on_graph_settings_changed, kReasonUpdate);
    dlg_set_callback(dialog, id, on_graph_settings_changed, kReasonSelChange);
  }

  dlg_set_logical(dialog, kIdReverseVertical, s.reverse_vertical);
  dlg_set_logical(dialog, kIdReverseY, s.reverse_y);
  dlg_set_logical(dialog, kIdReverseX, false);

  // The fields always open on "Auto" and "1"; the factors take what those
  // texts mean, so that a graph drawn without touching the fields is drawn
  // at the factors shown rather than at the previous graph's.
  dlg_set_text(dialog, kIdMinSizeFactor, "Auto");
  dlg_set_text(dialog, kIdDisplacementFactor, "1");
  store_factor_texts("Auto", "1");

  if (problem.control.NGL == 3) {
    dlg_set_logical(dialog, kIdReverseY, true, DlgProperty::enabled);
    dlg_set_logical(dialog, kIdReverseY, s.reverse_y);
  } else {
    dlg_set_logical(dialog, kIdReverseY, false, DlgProperty::enabled);
  }

  dlg_set_logical(dialog, kIdNodeIndices, s.show_node_indices);
  dlg_set_logical(dialog, kIdElementIndices, s.show_element_indices);
  dlg_set_logical(dialog, kIdGridAndScale, s.show_grid_and_scale);
  dlg_set_logical(dialog, kIdTimeOutput, s.show_time_output);
  dlg_set_logical(dialog, kIdShowAllPositions, s.show_all_positions);
  set_captions(dialog, s);

  dlg_set_text(dialog, kIdGraphTitle, context.title);

  dlg_set_integer(dialog, kIdColourScheme, 3, DlgProperty::item_count);
  dlg_set_text(dialog, kIdColourScheme, "Standard", DlgProperty::item, 1);
  dlg_set_text(dialog, kIdColourScheme, "All Black", DlgProperty::item, 2);
  dlg_set_text(dialog, kIdColourScheme, "Custom", DlgProperty::item, 3);

  const std::vector<std::string> items = time_output_items(problem);
  dlg_set_integer(dialog, kIdTimeOutputList, static_cast<int>(items.size()),
                  DlgProperty::item_count);
  for (std::size_t i = 0; i < items.size(); ++i)
    dlg_set_text(dialog, kIdTimeOutputList, items[i], DlgProperty::item, static_cast<int>(i) + 1);

  dlg_set_logical(dialog, kIdTimeOutputList, s.show_time_output, DlgProperty::enabled);
  if (s.show_time_output) {
    // 0, or an item left over from a larger problem, counts as the first.
    dlg_set_integer(dialog, kIdTimeOutputList,
                    effective_time_output_item(s.time_output_item, problem), DlgProperty::item);
  }

  if (scheme != 0) dlg_set_integer(dialog, kIdColourScheme, scheme);

  const int closed_by = dlg_run_modal(dialog);
  dlg_release(dialog);
  return closed_by == kIdCancel ? DialogEnd::cancelled : DialogEnd::accepted;
}

void on_graph_settings_changed(Dialog& dialog, int control_id, int /*reason*/) {
  const auto* context = static_cast<const GraphSettingsContext*>(dialog.context);
  const Problem* problem = context != nullptr ? context->problem : nullptr;

  // Check boxes and the list; the guard is released before any box is shown.
  const GraphSettings s = read_states(dialog, problem);
  set_captions(dialog, s);
  dlg_set_logical(dialog, kIdTimeOutputList, s.show_time_output, DlgProperty::enabled);

  if (const char* hint = settings_hint(s)) wnd_message_box(hint, kHintCaption, kBoxInformationOk);

  if (control_id == kIdColourScheme) {
    int item = 0;
    dlg_get_integer(dialog, kIdColourScheme, &item);
    apply_colour_scheme(item);
  }

  const FactorKinds kinds =
      store_factor_texts(factor_field(dialog, kIdMinSizeFactor), factor_field(dialog, kIdDisplacementFactor));
  if (kinds.min_size == FactorText::zero) {
    wnd_message_box(kMinSizeWarning, kWarningCaption, kBoxWarningOk);
    dlg_set_text(dialog, kIdMinSizeFactor, "1");
  }
  if (kinds.displacement == FactorText::zero) {
    wnd_message_box(kDisplacementWarning, kWarningCaption, kBoxWarningOk);
    dlg_set_text(dialog, kIdDisplacementFactor, "1");
  }
}
