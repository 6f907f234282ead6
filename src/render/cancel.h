// The cancel request shared by every animation.
//
// cancel_requested is the flag that CANCEL Draw and a double-click in a graph
// window raise and the main program's idle loop withdraws. Each request also
// advances cancel_generation, so that an animation whose frame takes longer
// than one idle period still sees a request made after it started.
#pragma once

#include <atomic>
#include <cstdint>

extern std::atomic<bool> cancel_requested;
extern std::atomic<std::uint32_t> cancel_generation;

// Raises the flag and advances the generation.
void request_cancel();

// Whether a cancel was requested since `generation` was read
// (cancel_generation.load() at the start of the animation), or is pending now.
bool cancel_seen_since(std::uint32_t generation);
