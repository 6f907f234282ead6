#include "failing_reads.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <mutex>
#include <string>

namespace {

std::mutex failing_mutex;
std::string failing_name;
int failing_errno = 0;

// The last path component of the file open on `fd`.
std::string name_of_fd(int fd) {
  char target[PATH_MAX];
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
  if (length <= 0) return "";
  const std::string path(target, static_cast<std::size_t>(length));
  return path.substr(path.rfind('/') + 1);
}

}  // namespace

namespace input_test {

void fail_reads_of(const std::string& name, int error_number) {
  std::lock_guard lock(failing_mutex);
  failing_name = name;
  failing_errno = error_number;
}

}  // namespace input_test

extern "C" ssize_t __real_pread(int fd, void* buffer, size_t count, off_t offset);

extern "C" ssize_t __wrap_pread(int fd, void* buffer, size_t count, off_t offset) {
  {
    std::lock_guard lock(failing_mutex);
    if (!failing_name.empty() && name_of_fd(fd) == failing_name) {
      errno = failing_errno;
      return -1;
    }
  }
  return __real_pread(fd, buffer, count, offset);
}
