#include "platform/qt/gui_thread.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMetaObject>
#include <QThread>
#include <chrono>
#include <deque>
#include <future>
#include <thread>

#include "base/mutex.h"

namespace qtl {

bool on_gui_thread() {
  QCoreApplication* app = QCoreApplication::instance();
  return app != nullptr && QThread::currentThread() == app->thread();
}

namespace {

// Work handed to the GUI thread, in order. The queue is guarded by a mutex of
// its own (not only by Qt's event queue), so that every handover is ordered
// by a lock the thread checker sees; one queued drain call at a time runs it.
Mutex queue_mutex;
std::deque<std::function<void()>> queue GUARDED_BY(queue_mutex);
bool drain_posted GUARDED_BY(queue_mutex) = false;

void drain() {
  for (;;) {
    std::function<void()> work;
    {
      MutexLock lock(queue_mutex);
      // A task that runs a nested event loop lets a later drain carry on.
      drain_posted = false;
      if (queue.empty()) return;
      work = std::move(queue.front());
      queue.pop_front();
    }
    work();
  }
}

// Runs drain() on the GUI thread for each event posted to it. A plain event
// rather than a queued functor: the only object handed between threads
// through Qt's queue is this event, made and read under queue_mutex.
class DrainReceiver : public QObject {
 public:
  static constexpr QEvent::Type kDrain = QEvent::User;
  bool event(QEvent* e) override {
    // The drain event was made under queue_mutex by the posting thread; its
    // type is read under the same lock, so the hand-off is ordered by a lock
    // the thread checker sees and not only by Qt's own (futex) queue lock.
    bool ours;
    {
      MutexLock lock(queue_mutex);
      ours = e->type() == kDrain;
    }
    if (!ours) return QObject::event(e);
    drain();
    return true;
  }
};

bool enqueue(std::function<void()> work) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return false;
  // Made once, on first use, and moved to the GUI thread; it lives as long
  // as the process.
  static DrainReceiver* const receiver = [app] {
    auto* r = new DrainReceiver;
    r->moveToThread(app->thread());
    return r;
  }();
  QEvent* post = nullptr;
  {
    MutexLock lock(queue_mutex);
    queue.push_back(std::move(work));
    if (!drain_posted) post = new QEvent(DrainReceiver::kDrain);
    drain_posted = true;
  }
  if (post != nullptr) QCoreApplication::postEvent(receiver, post);
  return true;
}

}  // namespace

bool run_on_gui(const std::function<void()>& work) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return false;
  if (QThread::currentThread() == app->thread()) {
    work();
    return true;
  }
  // The caller waits here until the GUI thread has run the work.
  struct Handshake {
    Mutex mutex;
    CondVar ran;
    bool done GUARDED_BY(mutex) = false;
  } handshake;
  enqueue([&handshake, &work] {
    work();
    MutexLock lock(handshake.mutex);
    handshake.done = true;
    handshake.ran.signal();
  });
  MutexLock lock(handshake.mutex);
  while (!handshake.done) handshake.ran.wait(handshake.mutex);
  return true;
}

bool post_to_gui(std::function<void()> work) { return enqueue(std::move(work)); }

int run_dialog(const std::function<QDialog*()>& make,
               const std::function<int(QDialog*, int)>& done) {
  if (QCoreApplication::instance() == nullptr) return -1;
  if (on_gui_thread()) {
    QDialog* dialog = make();
    if (dialog == nullptr) return -1;
    int result = dialog->exec();
    if (done) result = done(dialog, result);
    delete dialog;
    return result;
  }
  auto answer = std::make_shared<std::promise<int>>();
  std::future<int> future = answer->get_future();
  run_on_gui([&] {
    QDialog* dialog = make();
    if (dialog == nullptr) {
      answer->set_value(-1);
      return;
    }
    auto answered = std::make_shared<bool>(false);
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, answer, answered, done](int result) {
      if (*answered) return;
      *answered = true;
      if (done) result = done(dialog, result);
      dialog->deleteLater();
      answer->set_value(result);
    });
    dialog->show();
  });
  return future.get();
}

void block_forever() {
  for (;;) std::this_thread::sleep_for(std::chrono::hours(24));
}

}  // namespace qtl
