// Memory as a resource, like a file.
//
// The counts of a result folder size the program's tables. A count that the
// files back (a sparse file, or a real model too big for the machine) can
// still ask for more memory than the process can have; the allocation would
// then fail deep inside the program. check_memory tells it beforehand, as a
// Status that says what asks for how much and how much there is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/status.h"

// Bytes the process can still take: the smaller of what its address-space
// limit (RLIMIT_AS) leaves beyond what it has mapped now and the machine's
// available memory (MemAvailable in /proc/meminfo), and of the cap
// cap_available_memory set; -1 when none of them can be told.
std::int64_t available_memory();

// Caps what available_memory reports at `bytes` (-1: no cap), for the whole
// process. For a fuzz target or test that must see a small budget where an
// address-space limit cannot be set (the sanitizers reserve terabytes).
void cap_available_memory(std::int64_t bytes);

// A byte count as a person writes it, in decimal units with two or three
// digits: "512 bytes", "12 kB", "1.9 GB", "137 GB". The last digit is
// rounded down, or up with `round_up` (for a need, so that a need is never
// shown smaller than it is, nor what is available larger).
std::string byte_size_text(std::int64_t bytes, bool round_up = false);

// Ok when `bytes` fit into `available` less `reserved` (what the caller
// takes besides), or when `available` is -1 (not known); otherwise an
// out_of_memory Status "<what> needs 1.9 GB of memory; 1.2 GB is available"
// (the need rounded up, what is available rounded down).
Status check_memory(std::string_view what, std::int64_t bytes, std::int64_t available, std::int64_t reserved = 0);

// check_memory against available_memory().
Status check_memory(std::string_view what, std::int64_t bytes);
