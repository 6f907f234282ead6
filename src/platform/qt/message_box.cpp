// Message boxes and the end of the program.
#include <QMessageBox>
#include <QPushButton>
#include <atomic>
#include <cstdio>
#include <vector>

#include "platform/qt/dialog_builder.h"
#include "platform/qt/end_program.h"
#include "platform/qt/frame_window.h"
#include "platform/qt/gui_thread.h"
#include "platform/qt/qt_text.h"
#include "platform/wnd.h"

namespace {

constexpr int kBoxResultAbort = 3;
constexpr int kBoxResultIgnore = 5;
constexpr int kDefaultSecond = 0x100;  // style bits: which button is the default
constexpr int kDefaultThird = 0x200;
constexpr char kRuntimeCaption[] = "VELTRA";

std::atomic<bool> program_ended{false};
std::atomic<int> end_code{0};

struct BoxButton {
  QMessageBox::StandardButton button;
  int result;
};

// The buttons of a style's low four bits, in their classic order.
std::vector<BoxButton> buttons_of(int style) {
  using B = QMessageBox;
  switch (style & 0xF) {
    case 1: return {{B::Ok, kBoxResultOk}, {B::Cancel, kBoxResultCancel}};
    case 2: return {{B::Abort, kBoxResultAbort}, {B::Retry, kBoxResultRetry}, {B::Ignore, kBoxResultIgnore}};
    case 3: return {{B::Yes, kBoxResultYes}, {B::No, kBoxResultNo}, {B::Cancel, kBoxResultCancel}};
    case 4: return {{B::Yes, kBoxResultYes}, {B::No, kBoxResultNo}};
    case 5: return {{B::Retry, kBoxResultRetry}, {B::Cancel, kBoxResultCancel}};
    default: return {{B::Ok, kBoxResultOk}};
  }
}

QMessageBox::Icon icon_of(int style) {
  switch (style & 0xF0) {
    case 0x10: return QMessageBox::Critical;
    case 0x20: return QMessageBox::Question;
    case 0x30: return QMessageBox::Warning;
    case 0x40: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

// What closing the box without a button means: Cancel where there is one,
// No in a Yes/No box, else the only button.
int escape_result(const std::vector<BoxButton>& buttons) {
  for (const BoxButton& b : buttons)
    if (b.result == kBoxResultCancel) return b.result;
  for (const BoxButton& b : buttons)
    if (b.result == kBoxResultNo) return b.result;
  return buttons.back().result;
}

}  // namespace

namespace qtl {
int exit_code_at_close() { return program_ended ? end_code.load() : 0; }
}  // namespace qtl

int wnd_message_box(std::string_view text, std::string_view caption, int style) {
  const QString body = qtl::system_text(text);
  const QString title = qtl::system_text(caption);
  const std::vector<BoxButton> buttons = buttons_of(style);
  const int fallback = escape_result(buttons);
  const bool from_gui = qtl::on_gui_thread();
  // Asked for by a dialog's callback (which runs on the GUI thread): the box
  // is owned by that dialog and window-modal to it, not ownerless. Without an
  // owner a box shown on the GUI thread has to be application-modal and would
  // hold every other run's file chooser and message box until answered; this
  // one holds only the frame window's side: the dialog that asked, the frame
  // and the dialogs opened before the box. Other runs' settings dialogs gain
  // nothing by it: each is window-modal to the frame (dlg_run_modal), so of
  // several open at once only the newest takes input, box or no box.
  QWidget* asking = from_gui ? qtl::dialog_in_callback() : nullptr;
  const int result = qtl::run_dialog(
      [&]() -> QDialog* {
        auto* box = new QMessageBox(icon_of(style), title, body, QMessageBox::NoButton, asking);
        std::size_t default_index = (style & kDefaultThird) ? 2 : (style & kDefaultSecond) ? 1 : 0;
        if (default_index >= buttons.size()) default_index = 0;
        for (std::size_t i = 0; i < buttons.size(); ++i) {
          QPushButton* b = box->addButton(buttons[i].button);
          if (i == default_index) box->setDefaultButton(b);
          if (buttons[i].result == fallback) box->setEscapeButton(b);
        }
        // Otherwise no owner: the box blocks only the thread that asked
        // (run_dialog shows it without modality when that is not the GUI
        // thread).
        box->setWindowModality(asking != nullptr ? Qt::WindowModal
                               : from_gui        ? Qt::ApplicationModal
                                                 : Qt::NonModal);
        qtl::keep_above_frame(box);
        return box;
      },
      [&](QDialog* dialog, int) {
        auto* box = static_cast<QMessageBox*>(dialog);
        const QMessageBox::StandardButton pressed = box->standardButton(box->clickedButton());
        for (const BoxButton& b : buttons)
          if (b.button == pressed) return b.result;
        return fallback;
      });
  return result < 0 ? fallback : result;
}

void wnd_end_program(int exit_code) {
  if (!program_ended.exchange(true)) {
    end_code = exit_code;
    // Exit handlers: whatever the program wrote is flushed.
    std::fflush(nullptr);
    qtl::run_on_gui([] {
      if (qtl::FrameWindow* frame = qtl::frame_window()) frame->grey_program_items();
    });
    const std::string prompt =
        "Program Terminated with exit code " + std::to_string(exit_code) + "\nExit Window?";
    if (wnd_message_box(prompt, kRuntimeCaption, kBoxQuestionYesNo | kDefaultSecond) ==
        kBoxResultYes)
      wnd_quit(exit_code);
  }
  if (!qtl::on_gui_thread()) qtl::block_forever();
}

void wnd_stop_with_message(std::string_view text) {
  if (!program_ended) wnd_message_box(text, kRuntimeCaption, kBoxWarningOk);
  wnd_end_program(0);
}
