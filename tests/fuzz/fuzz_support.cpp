#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#if defined(__SANITIZE_ADDRESS__)
#define VELTRA_WATCH_ALLOCATIONS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELTRA_WATCH_ALLOCATIONS 1
#endif
#endif
#ifdef VELTRA_WATCH_ALLOCATIONS
// The sanitizer runtimes' allocation hooks (gcc ships no header for them).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, std::size_t),
                                                         void (*free_hook)(const volatile void*));
#endif

namespace {

// The largest single allocation since the last check.
std::size_t largest_allocation = 0;

#ifdef VELTRA_WATCH_ALLOCATIONS
void on_allocation(const volatile void*, std::size_t size) {
  if (size > largest_allocation) largest_allocation = size;
}
void on_release(const volatile void*) {}
const int watching = __sanitizer_install_malloc_and_free_hooks(on_allocation, on_release);
#else
const int watching = 0;
#endif

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

void fuzz_reset_allocations() { largest_allocation = 0; }

void fuzz_check_allocations(const char* what, std::size_t backed) {
  if (watching != 0 && largest_allocation > backed + 65536) {
    std::fprintf(stderr, "%s: an allocation of %zu bytes, where what it read backs %zu\n", what, largest_allocation,
                 backed);
    std::abort();
  }
  largest_allocation = 0;
}

void fuzz_check_message(const char* what, const std::string& message) {
  if (message.empty() || message[0] == ' ' || message[0] == ':' || message[0] == ',') {
    std::fprintf(stderr, "%s: a failure message that names no file: \"%s\"\n", what, message.c_str());
    std::abort();
  }
}
