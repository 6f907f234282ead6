#include "interrupt.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <string>

namespace {

// The signal that came, 0 before any: a lock-free word, the one thing a
// handler may touch.
std::atomic<int> caught{0};
static_assert(std::atomic<int>::is_always_lock_free);

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
// Seconds the work has to stop after the first signal, before SIGALRM ends
// the program.
constexpr unsigned kSecondsToStop = 10;

void note_signal(int number) {
  caught.store(number, std::memory_order_relaxed);
  // The next signal takes its default course: a user who presses Ctrl-C
  // again does not wait for the cleaning up.
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(number, &action, nullptr);
  // Work that does not come to a step to poll at (a read that hangs) is
  // ended all the same.
  alarm(kSecondsToStop);
}

}  // namespace

void catch_interrupts() {
  struct sigaction action = {};
  action.sa_handler = note_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // reads and writes go on; the work polls
  for (int number : kSignals) {
    // A signal ignored when the program started (nohup, a background job of
    // a script) stays ignored, as the one who started it asked.
    struct sigaction before = {};
    if (sigaction(number, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
    sigaction(number, &action, nullptr);
  }
}

bool interrupted() { return caught.load(std::memory_order_relaxed) != 0; }

Status interrupted_status() {
  const int number = caught.load(std::memory_order_relaxed);
  const char* name = number == SIGTERM ? "SIGTERM" : number == SIGHUP ? "SIGHUP" : "SIGINT";
  return Status::cancelled(std::string("interrupted by ") + name);
}

int interrupt_exit_status() {
  const int number = caught.load(std::memory_order_relaxed);
  return 128 + (number != 0 ? number : SIGINT);
}
