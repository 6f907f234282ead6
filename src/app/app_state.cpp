#include "app/app_state.h"

#include "base/mutex.h"

std::atomic<std::int32_t> graph_counter{kGraphCounterStart};
std::string limit_message;

const char* const kAboutText =
    "VELTRA for TARVEK\n"
    "Copyright (c) 2026 the VELTRA developers.\n"
    "All rights reserved. No warranty.";

const char* const kInfoTitle = " VELTRA: Info";

namespace {
Mutex problem_mutex;
ProblemPtr problem_in_memory GUARDED_BY(problem_mutex);
}  // namespace

ProblemPtr current_problem() {
  MutexLock lock(problem_mutex);
  return problem_in_memory;
}

void publish_problem(ProblemPtr problem) {
  ProblemPtr old;
  {
    MutexLock lock(problem_mutex);
    old = std::move(problem_in_memory);
    problem_in_memory = std::move(problem);
  }
  // `old` is released here, outside the lock; runs that still draw it keep
  // their own references.
}

void compose_startup_texts(bool romanian) {
  // The carriage return splits the box text into its two lines.
  limit_message = romanian ? "S-a atins limita de 10 grafuri.\rRuleaza din nou PLIXO"
                           : "10 graphs limit is reaches.\rRun a new instance of PLIXO";
}
