// Mutex, its scoped lock and a condition variable beside it, all known to
// clang's thread-safety analysis (std::mutex carries no annotations in
// libstdc++). Data shared between threads is declared GUARDED_BY its Mutex,
// and functions that expect the lock held are declared REQUIRES it, so that
// clang with -Wthread-safety finds every access made without the lock.
#pragma once

#include <condition_variable>
#include <mutex>

#include "base/thread_annotations.h"

class CondVar;

class CAPABILITY("mutex") Mutex {
 public:
  Mutex() = default;
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;

  void lock() ACQUIRE() { mutex_.lock(); }
  void unlock() RELEASE() { mutex_.unlock(); }
  // Takes the mutex when it is free; false, without waiting, when not.
  bool try_lock() TRY_ACQUIRE(true) { return mutex_.try_lock(); }

 private:
  friend class CondVar;
  std::mutex mutex_;
};

// Holds `mutex` from construction to the end of the scope.
class SCOPED_CAPABILITY MutexLock {
 public:
  explicit MutexLock(Mutex& mutex) ACQUIRE(mutex) : mutex_(mutex) { mutex_.lock(); }
  ~MutexLock() RELEASE() { mutex_.unlock(); }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

 private:
  Mutex& mutex_;
};

// A condition variable for a Mutex. wait() releases the mutex while it waits
// and holds it again when it returns, on a signal or spuriously: callers test
// their condition in a loop, under the lock, so the analysis sees each test.
class CondVar {
 public:
  CondVar() = default;
  CondVar(const CondVar&) = delete;
  CondVar& operator=(const CondVar&) = delete;

  void wait(Mutex& mutex) REQUIRES(mutex) {
    std::unique_lock<std::mutex> lock(mutex.mutex_, std::adopt_lock);
    cv_.wait(lock);
    lock.release();  // the caller's lock keeps holding it
  }
  void signal() { cv_.notify_one(); }
  void signal_all() { cv_.notify_all(); }

 private:
  std::condition_variable cv_;
};
