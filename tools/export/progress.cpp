#include "progress.h"

#include <unistd.h>

#include <cmath>

namespace {

std::string duration_text(double seconds) {
  if (!std::isfinite(seconds) || seconds < 0) return "?";
  const long s = std::lround(seconds);
  char text[32];
  if (s >= 60)
    std::snprintf(text, sizeof text, "%ld min %02ld s", s / 60, s % 60);
  else
    std::snprintf(text, sizeof text, "%ld s", s);
  return text;
}

}  // namespace

Progress::Progress(std::int64_t total, bool quiet, std::FILE* out)
    : total_(total), quiet_(quiet), terminal_(isatty(fileno(out)) == 1), out_(out),
      start_(std::chrono::steady_clock::now()) {}

std::string Progress::bar_text(std::int64_t done, std::int64_t total, double seconds_left) {
  constexpr int kWidth = 30;
  const int filled = total > 0 ? static_cast<int>(kWidth * done / total) : kWidth;
  std::string bar = "[" + std::string(filled, '#') + std::string(kWidth - filled, ' ') + "] ";
  return bar + std::to_string(done) + "/" + std::to_string(total) + " frames, " + duration_text(seconds_left) +
         " left";
}

std::string Progress::line_text(std::int64_t done, std::int64_t total, double seconds_left) {
  return "frame " + std::to_string(done) + " of " + std::to_string(total) + ", " + duration_text(seconds_left) +
         " left";
}

void Progress::frames_done(std::int64_t done) {
  if (quiet_) return;
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const double left = done > 0 ? elapsed / static_cast<double>(done) * static_cast<double>(total_ - done) : NAN;
  if (terminal_) {
    // Blanks after the text wipe a longer previous one.
    std::fprintf(out_, "\r%s   ", bar_text(done, total_, left).c_str());
    bar_shown_ = true;
  } else if (done % 10 == 0 || done == total_) {
    std::fprintf(out_, "%s\n", line_text(done, total_, left).c_str());
  }
  std::fflush(out_);
}

void Progress::finish() {
  if (bar_shown_) std::fputc('\n', out_);
  bar_shown_ = false;
}
