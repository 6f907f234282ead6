// A QThread whose end its owner can wait for in a way ThreadSanitizer sees.
//
// QThread::wait orders the thread's end before the waiter through Qt's own
// futexes, which the checker cannot see, so an owner that frees what the
// thread used right after wait() looks like a race to it. Here the thread's
// last act is to take a lock of ours, and join() takes the same lock after
// waiting: everything the thread did is ordered before join() returns.
#pragma once

#include <QThread>

#include "base/mutex.h"

class JoinedThread : public QThread {
 public:
  using QThread::QThread;

  // Waits for the thread's end (at once when it never started).
  void join() EXCLUDES(end_mutex_) {
    wait();
    MutexLock lock(end_mutex_);
  }

 protected:
  // What the thread does.
  virtual void work() = 0;

 private:
  void run() final EXCLUDES(end_mutex_) {
    work();
    MutexLock lock(end_mutex_);
  }
  Mutex end_mutex_;
};
