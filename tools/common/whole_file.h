// A file that appears whole or not at all: it is written under a hidden
// temporary name in the same folder (".NAME.part-PID") and renamed to its
// own name only when complete, so that a reader never meets half a file and
// a failure leaves nothing behind.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "base/status.h"

class WholeFile {
 public:
  // Names the file; nothing is made yet.
  explicit WholeFile(std::string path);
  // Removes the temporary file unless it was committed.
  ~WholeFile();
  WholeFile(const WholeFile&) = delete;
  WholeFile& operator=(const WholeFile&) = delete;

  const std::string& path() const { return path_; }
  // Where the content is written until commit.
  const std::string& temporary_path() const { return temporary_; }

  // Writes the pieces, one after the other, as the whole content of the
  // temporary file. Errors ("PATH: cannot be written: reason") name the file.
  Status write(std::initializer_list<std::string_view> pieces) const;

  // Gives the temporary file its own name. An error ("PATH: cannot be
  // written: reason") removes the temporary file.
  Status commit();
  // Removes the temporary file, if there is one; nothing once committed.
  void discard();

 private:
  std::string path_;
  std::string temporary_;
  bool committed_ = false;
};

// Writes `bytes` as the whole content of `path`, through a WholeFile.
// Errors name the file and the system's reason.
Status write_whole_file(const std::string& path, std::string_view bytes);
