#include "progress.h"

#include <unistd.h>

#include <cmath>

namespace {

// The work shows a bar once it has taken this long, redrawn at most this often.
constexpr std::chrono::milliseconds kFirstBar{1000};
constexpr std::chrono::milliseconds kRedraw{100};

std::string duration_text(double seconds) {
  if (!std::isfinite(seconds) || seconds < 0) return "?";
  const long s = std::lround(seconds);
  char text[48];
  if (s >= 3600)
    std::snprintf(text, sizeof text, "%ld h %02ld min", s / 3600, s / 60 % 60);
  else if (s >= 60)
    std::snprintf(text, sizeof text, "%ld min %02ld s", s / 60, s % 60);
  else
    std::snprintf(text, sizeof text, "%ld s", s);
  return text;
}

}  // namespace

Progress::Progress(std::int64_t total, std::string unit, bool quiet, bool log_lines, std::FILE* out)
    : total_(total), unit_(std::move(unit)), quiet_(quiet), log_lines_(log_lines),
      terminal_(isatty(fileno(out)) == 1), out_(out), start_(std::chrono::steady_clock::now()) {}

std::string Progress::bar_text(std::int64_t done, double seconds_left) const {
  constexpr int kWidth = 30;
  const int filled = total_ > 0 ? static_cast<int>(kWidth * done / total_) : kWidth;
  std::string bar = "[" + std::string(filled, '#') + std::string(kWidth - filled, ' ') + "] ";
  return bar + std::to_string(done) + "/" + std::to_string(total_) + " " + unit_ + ", " +
         duration_text(seconds_left) + " left";
}

std::string Progress::line_text(std::int64_t done, double seconds_left) const {
  return std::to_string(done) + " of " + std::to_string(total_) + " " + unit_ + ", " + duration_text(seconds_left) +
         " left";
}

void Progress::done(std::int64_t done) {
  if (quiet_) return;
  const auto now = std::chrono::steady_clock::now();
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  const double left = done > 0 ? elapsed / static_cast<double>(done) * static_cast<double>(total_ - done) : NAN;
  if (terminal_) {
    if (now - start_ < kFirstBar || (bar_shown_ && now - last_ < kRedraw && done != total_)) return;
    // Blanks after the text wipe a longer previous one.
    std::fprintf(out_, "\r%s   ", bar_text(done, left).c_str());
    bar_shown_ = true;
    last_ = now;
  } else if (log_lines_ && (done % 10 == 0 || done == total_)) {
    std::fprintf(out_, "%s\n", line_text(done, left).c_str());
  }
  std::fflush(out_);
}

void Progress::finish() {
  if (bar_shown_) std::fputc('\n', out_);
  bar_shown_ = false;
}
