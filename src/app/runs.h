// The two runs behind the graph commands, each on a thread of its own.
//
// A new-graph run chooses a working directory, loads its problem and goes on
// with the run tail; a back-to-settings run is the run tail alone, on the
// problem in memory. The run tail: the Time Settings dialog, the Graph
// Settings dialog, the extents pass, the graph window and the animation.
#pragma once

#include <cstdint>
#include <string>

#include "input/problem.h"

// Graph `graph_number` (1 to 10) of the program run; its window is unit
// graph_number + 9.
void new_graph_run(int graph_number);
void back_to_settings_run(int graph_number);

// The root of every run thread: runs `run` for `graph_number` and catches
// whatever escapes it (a failed allocation, any exception), writes
// " * Graph Run Failed: " and the cause to the info window and ends the
// program through the end prompt with that cause, as a read error does.
void run_thread_root(void (*run)(int), int graph_number) noexcept;

// "(n) " followed by the problem title, at most 80 characters.
std::string make_graph_title(int graph_number, const ProblemControl& control);

// The " Graf. No.:" line: the number right-aligned in two digits.
std::string graph_number_line(int graph_number);
