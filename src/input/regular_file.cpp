#include "input/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

Status open_regular_file(const std::string& path, const std::string& name, int* fd) {
  *fd = -1;
  const int opened = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (opened < 0) return Status::from_errno(name + ": cannot be opened", errno);
  struct stat info;
  if (::fstat(opened, &info) != 0) {
    const int error = errno;
    ::close(opened);
    return Status::from_errno(name + ": cannot be opened", error);
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(opened);
    return Status::not_regular_file(name + ": is not a regular file");
  }
  const int flags = ::fcntl(opened, F_GETFL);
  if (flags < 0 || ::fcntl(opened, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    const int error = errno;
    ::close(opened);
    return Status::from_errno(name + ": cannot be opened", error);
  }
  *fd = opened;
  return Status::ok();
}
