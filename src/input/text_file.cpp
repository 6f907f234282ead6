#include "input/text_file.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>

#include "input/file_lookup.h"
#include "input/regular_file.h"

Status TextLines::open(const std::string& path) {
  close();
  name_ = shown_name(path);
  at_start_ = true;
  return open_regular_file(path, name_, &fd_);
}

void TextLines::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  start_ = end_ = 0;
}

Status TextLines::fill(bool* more) {
  start_ = end_ = 0;
  *more = false;
  if (fd_ < 0) return Status::ok();
  for (;;) {
    const ssize_t got = ::read(fd_, buffer_.data(), buffer_.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return Status::from_errno(name_ + ": cannot be read", errno);
    }
    end_ = static_cast<std::size_t>(got);
    *more = got > 0;
    // A file's first read holds its start; a read of a regular file returns
    // at least the three bytes of a mark when the file has them.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (at_start_ && std::string_view(buffer_.data(), end_).starts_with(kByteOrderMark)) {
      start_ = kByteOrderMark.size();
    }
    at_start_ = false;
    return Status::ok();
  }
}

Status TextLines::next(std::string* line, bool* got, std::size_t max_length, bool skip_blanks) {
  line->clear();
  *got = false;
  bool leading = skip_blanks;
  // One character beyond max_length is kept, so that a CR ending a line of
  // exactly max_length characters is still recognised as part of its end.
  const std::size_t keep = max_length == std::numeric_limits<std::size_t>::max() ? max_length : max_length + 1;
  bool cut = false;
  for (;;) {
    if (start_ == end_) {
      bool more = false;
      if (Status status = fill(&more); !status.is_ok()) return status;
      if (!more) break;
      continue;  // the fill may have held nothing but a byte-order mark
    }
    const char* from = buffer_.data() + start_;
    const char* to = buffer_.data() + end_;
    if (leading) {
      while (from != to && (*from == ' ' || *from == '\t')) ++from;
      start_ = static_cast<std::size_t>(from - buffer_.data());
      leading = from == to;
    }
    const char* stop = std::find(from, to, '\n');
    const std::size_t room = keep - line->size();
    const std::size_t span = static_cast<std::size_t>(stop - from);
    line->append(from, std::min(span, room));
    cut = cut || span > room;
    *got = true;
    if (stop != to) {
      start_ += span + 1;
      break;
    }
    start_ = end_;
  }
  if (!cut && !line->empty() && line->back() == '\r') line->pop_back();
  if (line->size() > max_length) line->resize(max_length);
  return Status::ok();
}
