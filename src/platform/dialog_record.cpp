#include <algorithm>

#include "platform/dialog_native.h"
#include "platform/dlg.h"

DialogControl* Dialog::find(int id) {
  if (id == kNoId) return nullptr;
  for (auto& control : controls)
    if (control.id == id) return &control;
  return nullptr;
}

const DialogControl* Dialog::find(int id) const {
  return const_cast<Dialog*>(this)->find(id);
}

int dlg_default_reason(ControlKind kind) {
  switch (kind) {
    case ControlKind::list_box:
    case ControlKind::drop_down_list:
    case ControlKind::simple_combo:
      return kReasonSelChange;
    case ControlKind::edit:
      return kReasonChanged;
    default:
      return kReasonClicked;
  }
}

bool dlg_init(const DialogTemplate& tmpl, Dialog& dialog) {
  dialog = Dialog{};
  dialog.tmpl = &tmpl;
  for (const auto& t : tmpl.controls) {
    DialogControl control;
    control.id = t.id;
    control.kind = t.kind;
    control.style = t.style;
    control.text = t.text;
    dialog.controls.push_back(std::move(control));
  }
  return true;
}

bool dlg_set_callback(Dialog& dialog, int control_id, DialogCallback callback, int reason) {
  DialogControl* control = dialog.find(control_id);
  if (control == nullptr || callback == nullptr) return false;
  if (reason == kReasonDefault) reason = dlg_default_reason(control->kind);
  for (auto& binding : dialog.bindings) {
    if (binding.control_id == control_id && binding.reason == reason) {
      binding.callback = callback;
      return true;
    }
  }
  dialog.bindings.push_back({control_id, reason, callback});
  return true;
}

namespace {
void sync(Dialog& dialog, const DialogControl& control) {
  if (dialog.native != nullptr) dlg_native_sync(dialog, control);
}

bool is_list(ControlKind kind) {
  return kind == ControlKind::list_box || kind == ControlKind::drop_down_list ||
         kind == ControlKind::simple_combo;
}
}  // namespace

bool dlg_set_logical(Dialog& dialog, int control_id, bool value, DlgProperty property) {
  DialogControl* control = dialog.find(control_id);
  if (control == nullptr) return false;
  if (property == DlgProperty::enabled) {
    control->enabled = value;
  } else if (property == DlgProperty::state) {
    control->checked = value;
  } else {
    return false;
  }
  sync(dialog, *control);
  return true;
}

bool dlg_set_integer(Dialog& dialog, int control_id, int value, DlgProperty property) {
  DialogControl* control = dialog.find(control_id);
  if (control == nullptr) return false;
  switch (property) {
    case DlgProperty::item_count:
      if (!is_list(control->kind) || value < 0) return false;
      control->items.resize(static_cast<std::size_t>(value));
      if (control->selection > value) control->selection = 0;
      break;
    case DlgProperty::state:
    case DlgProperty::item:
      if (!is_list(control->kind)) return false;
      control->selection =
          (value >= 1 && value <= static_cast<int>(control->items.size())) ? value : 0;
      break;
    default:
      return false;
  }
  sync(dialog, *control);
  return true;
}

bool dlg_set_text(Dialog& dialog, int control_id, std::string_view text, DlgProperty property,
                  int item) {
  DialogControl* control = dialog.find(control_id);
  if (control == nullptr) return false;
  if (property == DlgProperty::item) {
    if (!is_list(control->kind) || item < 1) return false;
    if (item > static_cast<int>(control->items.size()))
      control->items.resize(static_cast<std::size_t>(item));
    control->items[static_cast<std::size_t>(item - 1)] = std::string(text);
  } else if (property == DlgProperty::state || property == DlgProperty::title) {
    control->text = std::string(text);
  } else {
    return false;
  }
  sync(dialog, *control);
  return true;
}

bool dlg_get_logical(const Dialog& dialog, int control_id, bool* value) {
  const DialogControl* control = dialog.find(control_id);
  if (control == nullptr) return false;
  *value = control->checked;
  return true;
}

bool dlg_get_integer(const Dialog& dialog, int control_id, int* value, DlgProperty property) {
  const DialogControl* control = dialog.find(control_id);
  if (control == nullptr) return false;
  if (property == DlgProperty::item_count) {
    *value = static_cast<int>(control->items.size());
  } else {
    *value = control->selection;
  }
  return true;
}

bool dlg_get_text(const Dialog& dialog, int control_id, std::string* text, int length) {
  const DialogControl* control = dialog.find(control_id);
  if (control == nullptr || length < 0) return false;
  std::string value = control->text.substr(0, static_cast<std::size_t>(length));
  value.resize(static_cast<std::size_t>(length), ' ');
  *text = std::move(value);
  return true;
}

void dlg_release(Dialog& dialog) {
  dialog.controls.clear();
  dialog.bindings.clear();
  dialog.native = nullptr;
}
