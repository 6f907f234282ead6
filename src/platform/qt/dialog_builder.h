// A QDialog built from a DialogTemplate and bound to its Dialog record.
//
// The controls are placed in dialog units measured from the dialog font.
// User actions update the record first and then raise the bound callback;
// values the program sets are shown with signals ignored, so they raise none.
// Lives on the GUI thread.
#pragma once

#include <QDialog>
#include <vector>

#include "platform/dlg.h"

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace qtl {

class TemplateDialog : public QDialog {
  Q_OBJECT
 public:
  TemplateDialog(Dialog& record, QWidget* owner);

  // Shows the record's values of `control` (a control of this record).
  void show_values(const DialogControl& control);

  // The widget of control `id` (the edit part for a simple combo box), or
  // nullptr.
  QWidget* control_widget(int id) const;

  // The id of the button that closed the dialog (2 for the close box).
  int closed_by() const { return record_.closed_by; }

  // Dialog units to pixels, from the dialog font.
  int x_pixels(int units) const { return (units * base_width_ + 2) / 4; }
  int y_pixels(int units) const { return (units * base_height_ + 4) / 8; }

 protected:
  void reject() override;  // Escape and the close box count as button 2
  // Closing while a callback runs (one that waits in a message box, say)
  // waits for the callback to finish, so that dlg_run_modal never returns,
  // and its caller never releases the record, under a running callback.
  void done(int result) override;

 private:
  struct Control {
    QWidget* widget = nullptr;  // the whole control
    QLineEdit* edit = nullptr;
    QListWidget* list = nullptr;
    QComboBox* combo = nullptr;
    QAbstractButton* button = nullptr;
    QLabel* label = nullptr;
    QGroupBox* group = nullptr;
  };

  void build();
  void make_control(std::size_t index, const ControlTemplate& t);
  void connect_user_actions(std::size_t index);
  DialogControl& record_of(std::size_t index) { return record_.controls[index]; }
  void fire(int id, int reason);
  bool has_callback(int id, int reason) const;
  void close_with(int id);

  Dialog& record_;
  std::vector<Control> controls_;  // in template order, as record_.controls
  int base_width_ = 6;
  int base_height_ = 13;
  bool programmatic_ = false;  // showing the program's values: signals are no user action
  int callbacks_running_ = 0;
  int pending_result_ = 0;
  bool close_pending_ = false;
};

// The innermost dialog whose callback is running on the GUI thread, or
// nullptr: the owner of a dialog run from that callback.
TemplateDialog* dialog_in_callback();

}  // namespace qtl
