#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

struct Scratch {
  std::string folder;
  Scratch() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/veltra-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
      std::perror("veltra fuzz: mkdtemp");
      std::abort();
    }
    folder = pattern;
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
};

}  // namespace

const std::string& fuzz_scratch_folder() {
  static Scratch scratch;
  return scratch.folder;
}

void fuzz_write_file(const std::string& name, std::string_view bytes) {
  std::string path = fuzz_scratch_folder() + "/" + name;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
      std::fclose(file) != 0) {
    std::perror(path.c_str());
    std::abort();
  }
}

void fuzz_remove_file(const std::string& name) { ::unlink((fuzz_scratch_folder() + "/" + name).c_str()); }

std::vector<std::string_view> fuzz_split_parts(std::string_view data, std::size_t most) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < most) {
    std::size_t at = data.find(kPartSeparator);
    if (at == std::string_view::npos) break;
    parts.push_back(data.substr(0, at));
    data.remove_prefix(at + kPartSeparator.size());
  }
  parts.push_back(data);
  return parts;
}

void fuzz_check_message(const char* what, const std::string& message) {
  if (message.empty() || message[0] == ' ' || message[0] == ':' || message[0] == ',') {
    std::fprintf(stderr, "%s: a failure message that names no file: \"%s\"\n", what, message.c_str());
    std::abort();
  }
}
