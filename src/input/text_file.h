// Reading text files line by line, regular files only.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

#include "base/status.h"

// A text file read one line at a time through a fixed buffer, so that
// finding a line never takes more memory than the line's kept part.
class TextLines {
 public:
  TextLines() = default;
  ~TextLines() { close(); }
  TextLines(const TextLines&) = delete;
  TextLines& operator=(const TextLines&) = delete;

  // Opens `path` (a regular file only, see open_regular_file); messages name
  // the file by shown_name(path).
  Status open(const std::string& path);
  void close();
  const std::string& name() const { return name_; }

  // Reads the next line into *line without its line end and sets *got; at
  // the end of the file *got is false. LF and CR LF line ends read alike; a
  // last line without a line end still counts, while a line end at the very
  // end of the file adds no empty line. A UTF-8 byte-order mark at the start
  // of the file is skipped, as editors write it and readers skip it. At most
  // `max_length` characters of the line are kept, the rest of a longer line
  // is read past. With `skip_blanks`, the blanks and tabs that begin the line are read past
  // however many there are, and the `max_length` characters are kept from
  // the first other one. A failed read is an io_error naming the file.
  Status next(std::string* line, bool* got, std::size_t max_length = std::numeric_limits<std::size_t>::max(),
              bool skip_blanks = false);

 private:
  // Fills the buffer; false at the end of the file or on a failure.
  Status fill(bool* more);

  int fd_ = -1;
  std::string name_;
  std::vector<char> buffer_ = std::vector<char>(65536);
  std::size_t start_ = 0;
  std::size_t end_ = 0;
  bool at_start_ = false;  // nothing has been read since the open
};
