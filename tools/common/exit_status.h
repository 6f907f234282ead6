// How our command-line programs end: the exit status, taken from the kind of
// the Status that ended the work, and the one line on stderr that says why.
//
//   0  the work was done
//   1  the work failed: a result folder missing or damaged, an output that
//      cannot be written (the line names which)
//   2  a wrong command line: an unknown option, a value out of range
//   128 + N  the work was stopped by signal N (interrupt.h): 130 for
//      SIGINT (Ctrl-C), 143 for SIGTERM
#pragma once

#include <string_view>

#include "base/status.h"

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// kExitDone for ok, kExitUsage for invalid_argument (a value of the command
// line), interrupt_exit_status() for cancelled, kExitFailed for every other
// kind (out_of_memory among them: a folder too big for the memory at hand).
int exit_status_of(const Status& status);

// Writes "PROGRAM: message" on stderr, one line, and returns the exit status
// of `status`. Nothing is written for an ok status.
int report_failure(std::string_view program, const Status& status);

// Writes "PROGRAM: line" on stderr: a note about work that goes on (a value
// of the folder that is not a finite number).
void report_note(std::string_view program, std::string_view line);

// Writes `text` on stdout and flushes it: an io_error naming standard output
// when not all of it could be written (a full disk, a closed pipe).
Status write_standard_output(std::string_view text);
