#include "whole_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "base/shown_text.h"

WholeFile::WholeFile(std::string path) : path_(std::move(path)) {
  const std::filesystem::path p(path_);
  // Built by appending: GCC 12 warns falsely (-Wrestrict) of "." + a
  // temporary string once the code is position-independent.
  std::string name = ".";
  name += p.filename().string();
  name += ".part-";
  name += std::to_string(::getpid());
  temporary_ = (p.parent_path() / name).string();
}

WholeFile::~WholeFile() { discard(); }

Status WholeFile::commit() {
  std::error_code error;
  std::filesystem::rename(temporary_, path_, error);
  if (error) {
    discard();
    return Status::io_error(shown_text(path_) + ": cannot be written: " + error.message());
  }
  committed_ = true;
  return Status::ok();
}

void WholeFile::discard() {
  if (committed_) return;
  std::error_code error;
  std::filesystem::remove(temporary_, error);
}

Status WholeFile::write(std::initializer_list<std::string_view> pieces) const {
  errno = 0;
  std::FILE* out = std::fopen(temporary_.c_str(), "wb");
  if (out == nullptr) return Status::from_errno(shown_text(path_) + ": cannot be written", errno);
  std::setvbuf(out, nullptr, _IOFBF, 1 << 20);
  bool written = true;
  for (std::string_view piece : pieces)
    written = written && std::fwrite(piece.data(), 1, piece.size(), out) == piece.size();
  int error = written ? 0 : errno;
  if (std::fclose(out) != 0 && written) {  // a full disk often shows only here
    written = false;
    error = errno;
  }
  if (!written) return Status::from_errno(shown_text(path_) + ": cannot be written", error != 0 ? error : EIO);
  return Status::ok();
}

Status write_whole_file(const std::string& path, std::string_view bytes) {
  WholeFile file(path);
  if (Status status = file.write({bytes}); !status.is_ok()) return status;
  return file.commit();
}
