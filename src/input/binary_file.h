// Reading binary files: positioned reads, a buffered sequential window, and
// explicit little-endian decoding (portable, no casts of unaligned memory).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "input/status.h"

inline std::uint32_t decode_u32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
         (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}
inline std::int32_t decode_i32(const unsigned char* bytes) { return static_cast<std::int32_t>(decode_u32(bytes)); }
inline float decode_f32(const unsigned char* bytes) { return std::bit_cast<float>(decode_u32(bytes)); }

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
