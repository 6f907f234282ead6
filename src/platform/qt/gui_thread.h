// Carrying work over to the GUI thread.
//
// Widgets are touched only on the GUI thread (the thread of the
// QApplication). Operations called from other threads hand their widget work
// over with these helpers and wait for it, or post it and go on.
#pragma once

#include <functional>
#include <memory>

class QDialog;

namespace qtl {

// Whether the calling thread is the thread of the QApplication (false when
// none exists).
bool on_gui_thread();

// Runs `work` on the GUI thread and returns when it is done: directly on the
// GUI thread, else queued (in order with everything posted before it) while
// the calling thread waits. false when no QApplication exists (nothing runs).
bool run_on_gui(const std::function<void()>& work);

// Queues `work` for the GUI thread and returns at once (in order with every
// other call queued or run from the same thread). false without QApplication.
// Work queued here or by run_on_gui must not run a modal event loop (exec):
// work queued after it would wait until that loop ends.
bool post_to_gui(std::function<void()> work);

// Shows a dialog and returns its result. `make` runs on the GUI thread and
// returns the dialog (with its owner and modality set), or nullptr.
// On the GUI thread the dialog runs modally with exec(); from another thread
// it is shown without a nested event loop and the calling thread waits for
// it to finish, so that the GUI thread stays free for everything else.
// `done` runs on the GUI thread when the dialog has finished, before the
// dialog is deleted, and turns the dialog's result into the one returned.
// Returns -1 when nothing was shown.
int run_dialog(const std::function<QDialog*()>& make,
               const std::function<int(QDialog*, int)>& done = nullptr);

// Suspends the calling thread for good (a caller that must never return).
[[noreturn]] void block_forever();

}  // namespace qtl
