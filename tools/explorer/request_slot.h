// The hand-over of drawing requests from the GUI thread to the thread that
// draws: one slot that holds only the newest request. Posting replaces a
// request not yet taken, so a burst of requests (a slider dragged, a wheel
// turned) costs one drawing, of the last; the drawing thread asks between
// its stages whether its request has been superseded meanwhile.
//
// The slot's lock is held only to copy a request in or out, never while
// drawing, so posting never waits for a picture.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <optional>
#include <utility>

#include "base/mutex.h"

template <class Request>
class RequestSlot {
 public:
  // Stores `request` under the next serial (from 1), replacing any request
  // not yet taken; returns the serial.
  std::uint64_t post(Request request) EXCLUDES(mutex_) {
    std::uint64_t serial;
    {
      MutexLock lock(mutex_);
      serial = ++posted_;
      pending_ = std::move(request);
    }
    wake_.notify_one();
    return serial;
  }

  // Waits for a request and takes it with its serial; none once closed.
  std::optional<std::pair<std::uint64_t, Request>> take() EXCLUDES(mutex_) {
    MutexLock lock(mutex_);
    while (!pending_ && !closed_) wake_.wait(mutex_);
    if (closed_) return std::nullopt;
    std::pair<std::uint64_t, Request> taken(posted_, std::move(*pending_));
    pending_.reset();
    return taken;
  }

  // Waits up to `limit` for a request to be posted (or the slot closed);
  // whether one is there.
  template <class Duration>
  bool wait_pending(Duration limit) EXCLUDES(mutex_) {
    MutexLock lock(mutex_);
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!pending_ && !closed_)
      if (wake_.wait_until(mutex_, until) == std::cv_status::timeout) break;
    return pending_.has_value() || closed_;
  }

  // Whether a request newer than `serial` has been posted.
  bool superseded(std::uint64_t serial) const EXCLUDES(mutex_) {
    MutexLock lock(mutex_);
    return closed_ || posted_ > serial;
  }

  // Whether a request waits to be taken.
  bool pending() const EXCLUDES(mutex_) {
    MutexLock lock(mutex_);
    return pending_.has_value();
  }

  // Ends take() for good: it returns none from now on.
  void close() EXCLUDES(mutex_) {
    {
      MutexLock lock(mutex_);
      closed_ = true;
    }
    wake_.notify_all();
  }

 private:
  mutable Mutex mutex_;
  std::condition_variable_any wake_;
  std::uint64_t posted_ GUARDED_BY(mutex_) = 0;
  std::optional<Request> pending_ GUARDED_BY(mutex_);
  bool closed_ GUARDED_BY(mutex_) = false;
};
