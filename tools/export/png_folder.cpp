// The PNG folder sink: each frame encoded (png_encode.h) and written as
// FOLDER/frame-NNNN.png on a thread of its own, so that the next frame is
// drawn while the last one is encoded.
//
// The folder holds the frames of the last export only. Before the first
// frame, the frames an earlier export left there are removed (and the note
// says how many); a folder that holds anything else is refused, so that
// nothing of someone else's is removed. An abandoned export removes the
// frames it wrote, and the folder if it made it.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>
#include <vector>

#include "base/mutex.h"
#include "base/shown_text.h"
#include "frame_sink.h"
#include "png_encode.h"
#include "whole_file.h"

namespace {

namespace fs = std::filesystem;

// Whether `name` is "frame-" and four digits or more and ".png", or the
// hidden temporary name of such a frame (".frame-0001.png.part-PID", which a
// killed export may leave).
bool is_frame_name(const std::string& name) {
  std::string frame = name;
  if (frame.starts_with(".")) {
    const std::size_t part = frame.rfind(".part-");
    if (part == std::string::npos) return false;
    frame = frame.substr(1, part - 1);
  }
  if (!frame.starts_with("frame-") || !frame.ends_with(".png")) return false;
  const std::string digits = frame.substr(6, frame.size() - 10);
  if (digits.size() < 4) return false;
  for (char c : digits)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// Whether the entry is a frame an export wrote: a regular file with a
// frame's name whose first bytes are those encode_png writes (a temporary
// one may hold nothing yet).
bool is_exported_frame(const fs::directory_entry& entry) {
  std::error_code ec;
  const std::string name = entry.path().filename().string();
  if (!is_frame_name(name) || !entry.is_regular_file(ec) || entry.is_symlink(ec)) return false;
  std::ifstream file(entry.path(), std::ios::binary);
  std::string start(kPngMarkBytes, '\0');
  file.read(start.data(), static_cast<std::streamsize>(start.size()));
  start.resize(static_cast<std::size_t>(file.gcount()));
  return written_by_encode_png(start) || (name.starts_with(".") && start.empty());
}

class PngFolder : public FrameSink {
 public:
  PngFolder(std::string folder, std::function<void(const std::string&)> note)
      : folder_(std::move(folder)), note_(std::move(note)) {}
  ~PngFolder() override { stop(); }

  std::int64_t memory_bytes(int width, int height) const override { return std::int64_t{48} * width * height; }

  Status begin(int, int) override {
    std::error_code ec;
    if (fs::is_directory(folder_, ec)) {
      if (Status status = clear_earlier_frames(); !status.is_ok()) return status;
    } else {
      made_folder_ = fs::create_directories(folder_, ec);
      if (ec || !fs::is_directory(folder_))
        return Status::io_error(shown_text(folder_) + ": the output folder cannot be made" + (ec ? ": " + ec.message() : ""));
    }
    worker_ = std::thread([this] { work(); });
    return Status::ok();
  }

  // Waits while a frame is still waiting for the encoder, then leaves this
  // one waiting. An error of an earlier frame is returned instead.
  Status add(const WndImage& image, std::int64_t frame) override {
    MutexLock lock(mutex_);
    while (waiting_ && error_.is_ok()) changed_.wait(mutex_);
    if (!error_.is_ok()) return error_;
    waiting_ = Job{image, frame};
    changed_.signal_all();
    return Status::ok();
  }

  // Waits for the frames still being encoded; the first error, if any.
  Status finish() override {
    stop();
    MutexLock lock(mutex_);
    return error_;
  }

  // The frames written so far are removed: a folder of a part of the frames
  // would pass for a whole export.
  void abandon() override {
    stop();
    std::vector<std::int64_t> frames;
    {
      MutexLock lock(mutex_);
      frames.swap(written_);
    }
    std::error_code ec;
    for (std::int64_t frame : frames) fs::remove(frame_path(frame), ec);
    if (made_folder_) fs::remove(folder_, ec);  // only when it is empty again
  }

 private:
  struct Job {
    WndImage image;
    std::int64_t frame = 0;
  };

  void stop() {
    {
      MutexLock lock(mutex_);
      stopping_ = true;
    }
    changed_.signal_all();
    if (worker_.joinable()) worker_.join();
  }

  // The encoder thread: takes the waiting frame until told to stop and no
  // frame waits any more; the first error stops it.
  void work() {
    std::vector<unsigned char> png;
    for (;;) {
      Job job;
      {
        MutexLock lock(mutex_);
        while (!waiting_ && !stopping_) changed_.wait(mutex_);
        if (!waiting_) return;
        job = std::move(*waiting_);
        waiting_.reset();
      }
      changed_.signal_all();
      Status status;
      try {
        status = write(job, &png);
      } catch (const std::exception& e) {
        status = Status::io_error("frame " + std::to_string(job.frame) + ": " + e.what());
      }
      if (!status.is_ok()) {
        MutexLock lock(mutex_);
        error_ = status;
        waiting_.reset();
        changed_.signal_all();
        return;
      }
    }
  }

  std::string frame_path(std::int64_t frame) const {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%04lld.png", static_cast<long long>(frame));
    return (fs::path(folder_) / name).string();
  }

  // Removes the frames of an earlier export; refuses a folder that holds
  // anything else, naming the first such entry.
  Status clear_earlier_frames() {
    std::error_code ec;
    std::vector<fs::path> frames;
    std::vector<std::string> others;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
      if (is_exported_frame(*it))
        frames.push_back(it->path());
      else
        others.push_back(it->path().filename().string());
    }
    if (ec) return Status::io_error(shown_text(folder_) + ": the output folder cannot be read: " + ec.message());
    if (!others.empty()) {
      std::sort(others.begin(), others.end());
      const std::string more = others.size() > 1 ? " and " + std::to_string(others.size() - 1) + " more" : "";
      return Status::io_error(shown_text(folder_) + ": holds files that are not frames of veltra-export (" +
                              shown_text(others.front()) + more +
                              "); give an empty or a new folder, or one of earlier frames only");
    }
    for (const fs::path& frame : frames) {
      if (!fs::remove(frame, ec) && ec)
        return Status::io_error(shown_text(frame.string()) + ": the earlier frame cannot be removed: " + ec.message());
    }
    if (!frames.empty())
      note_(shown_text(folder_) + ": " + std::to_string(frames.size()) + (frames.size() == 1 ? " frame" : " frames") +
            " of an earlier export removed");
    return Status::ok();
  }

  Status write(const Job& job, std::vector<unsigned char>* png) {
    const std::string path = frame_path(job.frame);
    if (!encode_png(job.image, png)) return Status::io_error(shown_text(path) + ": the frame cannot be encoded");
    // Whole or not at all: no truncated picture stays behind.
    Status status = write_whole_file(path, std::string_view(reinterpret_cast<const char*>(png->data()), png->size()));
    if (status.is_ok()) {
      MutexLock lock(mutex_);
      written_.push_back(job.frame);
    }
    return status;
  }

  std::string folder_;
  std::function<void(const std::string&)> note_;
  bool made_folder_ = false;
  std::thread worker_;
  Mutex mutex_;
  CondVar changed_;
  std::optional<Job> waiting_ GUARDED_BY(mutex_);  // the frame the encoder takes next
  bool stopping_ GUARDED_BY(mutex_) = false;
  Status error_ GUARDED_BY(mutex_);
  std::vector<std::int64_t> written_ GUARDED_BY(mutex_);  // the frames written whole
};

}  // namespace

std::unique_ptr<FrameSink> make_png_folder(const std::string& folder, std::function<void(const std::string&)> note) {
  return std::make_unique<PngFolder>(folder, std::move(note));
}
