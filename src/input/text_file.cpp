#include "input/text_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "input/file_lookup.h"

Status read_text_lines(const std::string& path, std::vector<std::string>* lines) {
  lines->clear();
  std::string name(name_of(path));
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    return Status::from_errno(name + ": cannot be opened", errno);
  }
  std::string content;
  char buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, got);
  const int error = std::ferror(file) != 0 ? errno : 0;
  std::fclose(file);
  if (error != 0) return Status::from_errno(name + ": cannot be read", error);

  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::size_t stop = end;
    if (stop > start && content[stop - 1] == '\r') --stop;
    lines->emplace_back(content, start, stop - start);
    start = end + 1;
  }
  return Status::ok();
}
