#include "render/cancel.h"

std::atomic<bool> cancel_requested{false};
std::atomic<std::uint32_t> cancel_generation{0};

void request_cancel() {
  cancel_generation.fetch_add(1);
  cancel_requested.store(true);
}

bool cancel_seen_since(std::uint32_t generation) {
  return cancel_requested.load() || cancel_generation.load() != generation;
}
