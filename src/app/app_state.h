// Process-wide state of the application shell: the graph counter, the texts
// composed at start-up and the problem in memory.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "input/problem.h"
#include "platform/wnd.h"


// 9 at start, plus one per graph command; the unit of the newest graph window.
// The idle loop ends when it reaches kGraphCounterLimit, the eleventh command.
extern std::atomic<std::int32_t> graph_counter;
constexpr std::int32_t kGraphCounterStart = 9;
constexpr std::int32_t kGraphCounterLimit = 20;


// The graph-limit message, composed at start-up in the language of that moment.
extern std::string limit_message;

// The text of Help / About: three lines, at most 100 characters.
extern const char* const kAboutText;

// The caption of the info window.
extern const char* const kInfoTitle;

// The problem that the last successful new-graph run loaded; null before.
// A run takes its own reference when its run tail starts.
ProblemPtr current_problem();
void publish_problem(ProblemPtr problem);

void compose_startup_texts(bool romanian);
