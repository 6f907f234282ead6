// Progress of an export on stderr: on a terminal a bar redrawn in place with
// the frames done, the total and the time left; otherwise a line at every
// tenth frame and at the last. Quiet writes nothing.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

class Progress {
 public:
  Progress(std::int64_t total, bool quiet, std::FILE* out = stderr);
  // `done` frames of the total are written.
  void frames_done(std::int64_t done);
  // Ends the bar's line (a terminal only).
  void finish();

  // The text of one report, for a terminal or for a log.
  static std::string bar_text(std::int64_t done, std::int64_t total, double seconds_left);
  static std::string line_text(std::int64_t done, std::int64_t total, double seconds_left);

 private:
  std::int64_t total_;
  bool quiet_;
  bool terminal_;
  bool bar_shown_ = false;
  std::FILE* out_;
  std::chrono::steady_clock::time_point start_;
};
