#include "exit_status.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include "interrupt.h"

int exit_status_of(const Status& status) {
  if (status.is_ok()) return kExitDone;
  if (status.kind() == StatusKind::cancelled) return interrupt_exit_status();
  return status.kind() == StatusKind::invalid_argument ? kExitUsage : kExitFailed;
}

int report_failure(std::string_view program, const Status& status) {
  if (!status.is_ok()) {
    const std::string line = std::string(program) + ": " + status.message() + "\n";
    std::fputs(line.c_str(), stderr);
  }
  return exit_status_of(status);
}

void report_note(std::string_view program, std::string_view line) {
  const std::string text = std::string(program) + ": " + std::string(line) + "\n";
  std::fputs(text.c_str(), stderr);
}

Status write_standard_output(std::string_view text) {
  errno = 0;
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
  if (written) return Status::ok();
  return Status::from_errno("standard output: cannot be written", errno != 0 ? errno : EIO);
}
