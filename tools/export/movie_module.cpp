#include "movie_module.h"

#include <dlfcn.h>

#include <filesystem>
#include <memory>
#include <system_error>

#include "base/shown_text.h"
#include "export_command_line.h"
#include "frame_sink.h"

namespace {

namespace fs = std::filesystem;

// The module's one entry: a movie sink for `path` in the format of its
// extension (".mp4", ".webm", ".gif"), or null when there is no memory.
using MakeMovie = FrameSink* (*)(const char* path, const char* format_ext, int fps);

// The module once loaded, or why it could not be. It stays loaded for the
// life of the process: its sinks may outlive any caller.
struct MovieModule {
  MakeMovie make = nullptr;
  std::string error;
};

MovieModule load_module() {
  MovieModule module;
  const std::string path = movie_module_path();
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    module.error = why != nullptr ? why : path + ": cannot be loaded";
    return module;
  }
  module.make = reinterpret_cast<MakeMovie>(dlsym(handle, "veltra_make_movie_file"));
  if (module.make == nullptr) module.error = path + ": not the movie writer (it has no veltra_make_movie_file)";
  return module;
}

// A movie that cannot be made: every call but abandon tells why.
class UnmadeMovie : public FrameSink {
 public:
  explicit UnmadeMovie(std::string message) : message_(std::move(message)) {}
  Status begin(int, int) override { return Status::io_error(message_); }
  Status add(const WndImage&, std::int64_t) override { return Status::io_error(message_); }
  Status finish() override { return Status::io_error(message_); }
  void abandon() override {}
  std::int64_t memory_bytes(int, int) const override { return 0; }

 private:
  std::string message_;
};

}  // namespace

std::string movie_module_path() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  const fs::path folder = error ? fs::path(".") : program.parent_path();
  return (folder.parent_path() / VELTRA_MODULE_DIR / "veltra-movie.so").string();
}

std::unique_ptr<FrameSink> make_movie_file(const std::string& path, int fps) {
  static const MovieModule module = load_module();
  const std::string told = shown_text(path) + ": the movie writer cannot be loaded: ";
  if (module.make == nullptr) return std::make_unique<UnmadeMovie>(told + shown_text(module.error));
  FrameSink* movie = module.make(path.c_str(), movie_format_of(path).c_str(), fps);
  if (movie == nullptr) return std::make_unique<UnmadeMovie>(shown_text(path) + ": not enough memory for the movie writer");
  return std::unique_ptr<FrameSink>(movie);
}
