// Ctrl-C, SIGTERM and SIGHUP while a tool works.
//
// catch_interrupts installs handlers that only note the signal. The work
// polls interrupted() at its steps (a chunk read, a frame drawn), stops,
// removes what it was writing and ends with interrupted_status(): the tool
// then exits with 128 + the signal's number (130 for SIGINT, 143 for
// SIGTERM, 129 for SIGHUP), as a shell reports a program that a signal
// ended. A second signal ends the program at once, and so does SIGALRM when
// the work has not stopped ten seconds after the first.
#pragma once

#include "base/status.h"

// Installs the handlers, for the rest of the process; a signal that was
// ignored when the program started stays ignored.
void catch_interrupts();

// Whether one of the signals has come since catch_interrupts.
bool interrupted();

// The cancelled Status of interrupted work: "interrupted by SIGINT".
Status interrupted_status();

// 128 + the signal that came; 130 (SIGINT) when none has.
int interrupt_exit_status();
