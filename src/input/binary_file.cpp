#include "input/binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "input/regular_file.h"

BinaryFile::BinaryFile(BinaryFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), name_(std::move(other.name_)) {}

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = std::exchange(other.fd_, -1);
    name_ = std::move(other.name_);
  }
  return *this;
}

Status BinaryFile::open(const std::string& path, std::string name) {
  close();
  name_ = std::move(name);
  return open_regular_file(path, name_, &fd_);
}

void BinaryFile::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::int64_t BinaryFile::size() const {
  struct stat info;
  if (fd_ < 0 || ::fstat(fd_, &info) != 0) return -1;
  return static_cast<std::int64_t>(info.st_size);
}

Status BinaryFile::read_at(std::int64_t offset, std::size_t length, unsigned char* destination,
                           std::size_t* got) const {
  std::size_t done = 0;
  while (done < length) {
    ssize_t part = ::pread(fd_, destination + done, length - done, static_cast<off_t>(offset + done));
    if (part < 0) {
      if (errno == EINTR) continue;
      *got = done;
      return Status::from_errno(name_ + ": cannot be read at byte " + std::to_string(offset + done), errno);
    }
    if (part == 0) break;
    done += static_cast<std::size_t>(part);
  }
  *got = done;
  return Status::ok();
}

BufferedReader::BufferedReader(const BinaryFile& file, std::size_t window) : file_(file), buffer_(window) {}

ReadEnd BufferedReader::read(std::int64_t offset, std::size_t length, unsigned char* destination) {
  while (length > 0) {
    if (offset < buffer_offset_ || offset >= buffer_offset_ + static_cast<std::int64_t>(buffer_length_)) {
      std::size_t got = 0;
      Status status = file_.read_at(offset, buffer_.size(), buffer_.data(), &got);
      buffer_offset_ = offset;
      buffer_length_ = got;
      if (!status.is_ok()) {
        failure_ = std::move(status);
        buffer_length_ = 0;
        return ReadEnd::failed;
      }
      if (got == 0) return ReadEnd::end_of_file;
    }
    std::size_t start = static_cast<std::size_t>(offset - buffer_offset_);
    std::size_t take = std::min(length, buffer_length_ - start);
    std::memcpy(destination, buffer_.data() + start, take);
    destination += take;
    offset += static_cast<std::int64_t>(take);
    length -= take;
  }
  return ReadEnd::complete;
}
