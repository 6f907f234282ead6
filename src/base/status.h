// Status: the outcome of an operation that can fail, as a value.
//
// A Status is either ok or an error of one kind with a message for the user
// that names the file and says where and what, e.g. "comdin.dat, line 12: an
// integer was expected, found 1.5", or, for a failure of the system, its own
// reason: "x.unf: cannot be read: Input/output error". Errors are carried up
// to where the program reports them.
#pragma once

#include <string>
#include <system_error>
#include <utility>

enum class StatusKind {
  ok,
  not_found,         // a file or folder that is not there
  not_regular_file,  // a folder, FIFO, device or socket where a file belongs
  damaged,           // the content does not hold what it must (short, malformed, counts it cannot back)
  io_error,          // the system failed to open, read or write what is there
  out_of_memory,     // counts the files back, but more memory than the process can have
  invalid_argument,  // a command-line value of a tool that is not valid
  cancelled,         // the work was stopped before it was done (a signal)
};

class [[nodiscard]] Status {
 public:
  Status() = default;  // ok
  static Status ok() { return Status(); }
  static Status not_found(std::string message) { return Status(StatusKind::not_found, std::move(message)); }
  static Status not_regular_file(std::string message) {
    return Status(StatusKind::not_regular_file, std::move(message));
  }
  static Status damaged(std::string message) { return Status(StatusKind::damaged, std::move(message)); }
  static Status io_error(std::string message) { return Status(StatusKind::io_error, std::move(message)); }
  static Status out_of_memory(std::string message) {
    return Status(StatusKind::out_of_memory, std::move(message));
  }
  static Status invalid_argument(std::string message) {
    return Status(StatusKind::invalid_argument, std::move(message));
  }
  static Status cancelled(std::string message) { return Status(StatusKind::cancelled, std::move(message)); }

  // A failed system call: `what` (naming the file, e.g. "x.unf: cannot be
  // opened"), a colon and the system's reason for `error_number` (errno).
  // The kind follows the reason: not_found for ENOENT and ENOTDIR,
  // not_regular_file for EISDIR, io_error otherwise.
  static Status from_errno(const std::string& what, int error_number) {
    const auto code = static_cast<std::errc>(error_number);
    StatusKind kind = StatusKind::io_error;
    if (code == std::errc::no_such_file_or_directory || code == std::errc::not_a_directory) {
      kind = StatusKind::not_found;
    } else if (code == std::errc::is_a_directory) {
      kind = StatusKind::not_regular_file;
    }
    return Status(kind, what + ": " + std::generic_category().message(error_number));
  }

  // The one test of a Status: whether the operation succeeded.
  bool is_ok() const { return kind_ == StatusKind::ok; }
  StatusKind kind() const { return kind_; }
  const std::string& message() const { return message_; }

 private:
  Status(StatusKind kind, std::string message) : kind_(kind), message_(std::move(message)) {}
  StatusKind kind_ = StatusKind::ok;
  std::string message_;
};
