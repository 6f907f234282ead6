// Reading binary files: positioned reads and a buffered sequential window.
// The records read through them are laid out in input/result_format.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"

// A read-only file descriptor.
class BinaryFile {
 public:
  BinaryFile() = default;
  ~BinaryFile() { close(); }
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;
  BinaryFile(BinaryFile&& other) noexcept;
  BinaryFile& operator=(BinaryFile&& other) noexcept;

  // Opens `path`, a regular file only (open_regular_file); errors name the
  // file by `name`.
  Status open(const std::string& path, std::string name);
  void close();
  bool is_open() const { return fd_ >= 0; }
  const std::string& name() const { return name_; }

  // Current size in bytes; -1 when it cannot be told.
  std::int64_t size() const;

  // Reads up to `length` bytes at `offset` into `destination` and sets *got
  // to the number read, short only where the file ends. A failed read is an
  // io_error naming the file, the offset and the system's reason.
  Status read_at(std::int64_t offset, std::size_t length, unsigned char* destination, std::size_t* got) const;

 private:
  int fd_ = -1;
  std::string name_;
};

// How a read of a stretch of a file ended.
enum class ReadEnd {
  complete,     // every byte asked for was read
  end_of_file,  // the file ends before the stretch does
  failed,       // the system failed to read; see BufferedReader::failure
};

// Sequential reading through a window of the file, so that many small reads
// cost few system calls.
class BufferedReader {
 public:
  explicit BufferedReader(const BinaryFile& file, std::size_t window = std::size_t{1} << 20);

  // Copies `length` bytes at `offset` into `destination`.
  ReadEnd read(std::int64_t offset, std::size_t length, unsigned char* destination);

  // The io_error of the last read that ended with ReadEnd::failed.
  const Status& failure() const { return failure_; }

 private:
  const BinaryFile& file_;
  Status failure_;
  std::vector<unsigned char> buffer_;
  std::int64_t buffer_offset_ = 0;
  std::size_t buffer_length_ = 0;
};
