// Progress of long work on stderr. On a terminal, once the work has taken a
// second, a bar redrawn in place with the count done, the total and the time
// left ("[#####     ] 12/121 frames, 3 s left"); work that ends sooner shows
// nothing. Off a terminal, with `log_lines`, a line at every tenth unit and
// at the last, for a log; without, nothing. Quiet writes nothing.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

class Progress {
 public:
  // `unit` names what is counted ("frames", "steps of u01.unf").
  Progress(std::int64_t total, std::string unit, bool quiet, bool log_lines, std::FILE* out = stderr);
  ~Progress() { finish(); }
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // `done` of the total are done.
  void done(std::int64_t done);
  // Ends the bar's line, if one is shown.
  void finish();

  // The text of one report, for a terminal or for a log.
  std::string bar_text(std::int64_t done, double seconds_left) const;
  std::string line_text(std::int64_t done, double seconds_left) const;

 private:
  std::int64_t total_;
  std::string unit_;
  bool quiet_;
  bool log_lines_;
  bool terminal_;
  bool bar_shown_ = false;
  std::FILE* out_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point last_;  // of the last bar drawn
};
