#include "base/memory_budget.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

std::atomic<std::int64_t> available_cap{-1};

// Bytes the process has mapped now (the first field of /proc/self/statm, in
// pages); -1 when it cannot be told.
std::int64_t mapped_bytes() {
  std::FILE* file = std::fopen("/proc/self/statm", "re");
  if (file == nullptr) return -1;
  long long pages = -1;
  if (std::fscanf(file, "%lld", &pages) != 1) pages = -1;
  std::fclose(file);
  const long page = ::sysconf(_SC_PAGESIZE);
  return pages < 0 || page <= 0 ? -1 : static_cast<std::int64_t>(pages) * page;
}

// MemAvailable of /proc/meminfo in bytes; -1 when it cannot be told.
std::int64_t machine_available_bytes() {
  std::FILE* file = std::fopen("/proc/meminfo", "re");
  if (file == nullptr) return -1;
  char line[256];
  std::int64_t bytes = -1;
  while (std::fgets(line, sizeof line, file) != nullptr) {
    long long kib = 0;
    if (std::sscanf(line, "MemAvailable: %lld kB", &kib) == 1) {
      bytes = static_cast<std::int64_t>(kib) * 1024;
      break;
    }
  }
  std::fclose(file);
  return bytes;
}

}  // namespace

std::int64_t available_memory() {
  std::int64_t available = machine_available_bytes();
  struct rlimit limit;
  if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
    const std::int64_t mapped = mapped_bytes();
    if (mapped >= 0) {
      const auto limit_bytes = static_cast<std::int64_t>(std::min<rlim_t>(limit.rlim_cur, INT64_MAX));
      const std::int64_t left = std::max<std::int64_t>(limit_bytes - mapped, 0);
      available = available < 0 ? left : std::min(available, left);
    }
  }
  const std::int64_t cap = available_cap.load(std::memory_order_relaxed);
  if (cap >= 0) available = available < 0 ? cap : std::min(available, cap);
  return available;
}

void cap_available_memory(std::int64_t bytes) { available_cap.store(bytes, std::memory_order_relaxed); }

std::string byte_size_text(std::int64_t bytes, bool round_up) {
  if (bytes < 1000) return std::to_string(std::max<std::int64_t>(bytes, 0)) + " bytes";
  static const char* const kUnits[] = {"kB", "MB", "GB", "TB", "PB", "EB"};
  double value = static_cast<double>(bytes) / 1000;
  int unit = 0;
  while (value >= 999.5 && unit < 5) {
    value /= 1000;
    ++unit;
  }
  // One decimal below 100, none from 100 on; rounded as asked, then written
  // without a decimal that the rounding made unnecessary ("1.0 GB" stays).
  const double scale = value < 100 ? 10 : 1;
  const double scaled = round_up ? std::ceil(value * scale - 1e-9) : std::floor(value * scale + 1e-9);
  char text[32];
  if (scale == 10 && scaled < 1000)
    std::snprintf(text, sizeof text, "%.1f %s", scaled / 10, kUnits[unit]);
  else
    std::snprintf(text, sizeof text, "%.0f %s", scale == 10 ? scaled / 10 : scaled, kUnits[unit]);
  return text;
}

Status check_memory(std::string_view what, std::int64_t bytes, std::int64_t available, std::int64_t reserved) {
  if (available < 0) return Status::ok();
  const std::int64_t left = std::max<std::int64_t>(available - std::max<std::int64_t>(reserved, 0), 0);
  if (bytes <= left) return Status::ok();
  return Status::out_of_memory(std::string(what) + " needs " + byte_size_text(bytes, true) + " of memory; " +
                               byte_size_text(left) + " is available");
}

Status check_memory(std::string_view what, std::int64_t bytes) {
  return check_memory(what, bytes, available_memory());
}
