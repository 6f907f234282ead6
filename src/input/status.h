// Status: the outcome of an operation that can fail, as a value.
//
// A Status is either ok or carries a message for the user that names the file
// and says where and what, e.g. "comdin.dat, line 12: an integer was expected,
// found 1.5". Errors are carried up to where the program reports them.
#pragma once

#include <string>
#include <utility>

class Status {
 public:
  Status() = default;  // ok
  static Status ok() { return Status(); }
  static Status error(std::string message) { return Status(std::move(message)); }

  bool is_ok() const { return !failed_; }
  explicit operator bool() const { return is_ok(); }
  const std::string& message() const { return message_; }

 private:
  explicit Status(std::string message) : failed_(true), message_(std::move(message)) {}
  bool failed_ = false;
  std::string message_;
};
