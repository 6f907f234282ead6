#include "platform/qt/gui_thread.h"

#include <QApplication>
#include <QDialog>
#include <QMetaObject>
#include <QThread>
#include <chrono>
#include <future>
#include <thread>

namespace qtl {

bool on_gui_thread() {
  QCoreApplication* app = QCoreApplication::instance();
  return app != nullptr && QThread::currentThread() == app->thread();
}

bool run_on_gui(const std::function<void()>& work) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return false;
  if (QThread::currentThread() == app->thread()) {
    work();
    return true;
  }
  return QMetaObject::invokeMethod(app, [&work] { work(); }, Qt::BlockingQueuedConnection);
}

bool post_to_gui(std::function<void()> work) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return false;
  return QMetaObject::invokeMethod(app, std::move(work), Qt::QueuedConnection);
}

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
