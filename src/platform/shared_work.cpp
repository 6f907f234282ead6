#include "platform/shared_work.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <system_error>
#include <thread>

#include "base/mutex.h"

namespace {

// One caller's work: the chunks are handed out by `next`, or in order by
// `taken`.
struct Job {
  std::size_t count = 0;
  std::size_t chunk = 1;
  const std::function<void(std::size_t, std::size_t, int)>* part = nullptr;
  std::atomic<std::size_t> next{0};
  bool in_order = false;
  const std::atomic<bool>* helper_stop = nullptr;  // in order: the helper claims no more once set
  std::uint64_t chunks = 0;  // in order: how many chunks, fewer than 2^31
  // In order: the chunks taken from the front (low half) and from the back
  // (high half). Each claim adds one to its half; the first `chunks` claims
  // are the valid ones, so the front's and the back's meet without a gap.
  std::atomic<std::uint64_t> taken{0};

  void run(int worker) {
    if (in_order) {
      run_in_order(worker);
      return;
    }
    for (;;) {
      const std::size_t begin = next.fetch_add(chunk, std::memory_order_relaxed);
      if (begin >= count) return;
      (*part)(begin, std::min(begin + chunk, count), worker);
    }
  }

  void run_in_order(int worker) {
    const std::uint64_t claim = worker == 0 ? 1 : std::uint64_t{1} << 32;
    for (;;) {
      if (worker == 1 && helper_stop != nullptr && helper_stop->load(std::memory_order_relaxed)) return;
      const std::uint64_t now = taken.fetch_add(claim, std::memory_order_relaxed) + claim;
      const std::uint64_t front = now & 0xFFFFFFFFu, back = now >> 32;
      if (front + back > chunks) return;
      const std::uint64_t index = worker == 0 ? front - 1 : chunks - back;
      const std::size_t begin = static_cast<std::size_t>(index) * chunk;
      (*part)(begin, std::min(begin + chunk, count), worker);
    }
  }
};

class Helper {
 public:
  Helper() {
    if (std::thread::hardware_concurrency() < 2) return;
    try {
      thread_ = std::thread([this] { serve(); });
    } catch (const std::system_error&) {
      // No helper: every caller does its own work.
    }
  }
  ~Helper() {
    {
      MutexLock lock(mutex_);
      stop_ = true;
      wake_.signal();
    }
    if (thread_.joinable()) thread_.join();
  }

  // Runs `job` with the helper when no other caller has it; false when the
  // caller must do the work alone.
  bool share(Job& job) {
    if (!thread_.joinable() || !caller_.try_lock()) return false;
    {
      MutexLock lock(mutex_);
      job_ = &job;
      taken_ = finished_ = false;
      wake_.signal();
    }
    job.run(0);
    {
      MutexLock lock(mutex_);
      if (taken_) {
        while (!finished_) done_.wait(mutex_);
      }
      // Not taken yet: the helper finds no job when it wakes.
      job_ = nullptr;
    }
    caller_.unlock();
    return true;
  }

 private:
  void serve() {
    mutex_.lock();
    for (;;) {
      while (!stop_ && (job_ == nullptr || taken_)) wake_.wait(mutex_);
      if (stop_) break;
      Job* job = job_;
      taken_ = true;
      mutex_.unlock();
      job->run(1);
      mutex_.lock();
      finished_ = true;
      done_.signal();
    }
    mutex_.unlock();
  }

  Mutex caller_;  // held by the one caller whose work the helper shares
  Mutex mutex_;
  CondVar wake_;  // a job, or the end
  CondVar done_;  // the helper has run out of chunks
  Job* job_ GUARDED_BY(mutex_) = nullptr;
  bool taken_ GUARDED_BY(mutex_) = false;
  bool finished_ GUARDED_BY(mutex_) = false;
  bool stop_ GUARDED_BY(mutex_) = false;
  std::thread thread_;
};

// The one helper of the process, started by the first shared work.
Helper& the_helper() {
  static Helper helper;
  return helper;
}

// Runs part over [0, count) in chunks, with the helper when it is free.
void run_job(std::size_t count, std::size_t chunk, const std::function<void(std::size_t, std::size_t, int)>& part,
             bool in_order, const std::atomic<bool>* helper_stop) {
  Job job;
  job.count = count;
  job.chunk = chunk == 0 ? 1 : chunk;
  job.part = &part;
  job.chunks = (count + job.chunk - 1) / job.chunk;
  job.in_order = in_order;
  job.helper_stop = helper_stop;
  // The in-order claims count chunks in 32-bit halves of one word.
  if (in_order && job.chunks >= (std::uint64_t{1} << 31)) {
    part(0, count, 0);
    return;
  }
  if (!the_helper().share(job)) job.run(0);
}

}  // namespace

void share_work(std::size_t count, std::size_t chunk,
                const std::function<void(std::size_t, std::size_t, int)>& part) {
  run_job(count, chunk, part, false, nullptr);
}

void share_work_in_order(std::size_t count, std::size_t chunk,
                         const std::function<void(std::size_t, std::size_t, int)>& part,
                         const std::atomic<bool>* helper_stop) {
  run_job(count, chunk, part, true, helper_stop);
}
