// Reading binary files: positioned reads and a buffered sequential window.
// The records read through them are laid out in input/result_format.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "input/status.h"

// A read-only file descriptor.
class BinaryFile {
 public:
  BinaryFile() = default;
  ~BinaryFile() { close(); }
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;
  BinaryFile(BinaryFile&& other) noexcept;
  BinaryFile& operator=(BinaryFile&& other) noexcept;

  // Opens `path`; errors name the file by `name`.
  Status open(const std::string& path, std::string name);
  void close();
  bool is_open() const { return fd_ >= 0; }
  const std::string& name() const { return name_; }

  // Current size in bytes; -1 when it cannot be told.
  std::int64_t size() const;

  // Reads up to `length` bytes at `offset` into `destination`; the number of
  // bytes read (short only at the end of the file), or -1 on an error.
  std::int64_t read_at(std::int64_t offset, std::size_t length, unsigned char* destination) const;

 private:
  int fd_ = -1;
  std::string name_;
};

// Sequential reading through a window of the file, so that many small reads
// cost few system calls.
class BufferedReader {
 public:
  explicit BufferedReader(const BinaryFile& file, std::size_t window = std::size_t{1} << 20);

  // Copies `length` bytes at `offset` into `destination`; false when the
  // file ends first or cannot be read.
  bool read(std::int64_t offset, std::size_t length, unsigned char* destination);

 private:
  const BinaryFile& file_;
  std::vector<unsigned char> buffer_;
  std::int64_t buffer_offset_ = 0;
  std::size_t buffer_length_ = 0;
};
