// The PNG folder sink: each frame encoded (png_encode.h) and written as
// FOLDER/frame-NNNN.png on a thread of its own, so that the next frame is
// drawn while the last one is encoded.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <thread>

#include "base/mutex.h"
#include "frame_sink.h"
#include "png_encode.h"
#include "whole_file.h"

namespace {

class PngFolder : public FrameSink {
 public:
  explicit PngFolder(std::string folder) : folder_(std::move(folder)) {}
  ~PngFolder() override { stop(); }

  Status begin(int, int) override {
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    if (ec || !std::filesystem::is_directory(folder_))
      return Status::io_error(folder_ + ": the output folder cannot be made" + (ec ? ": " + ec.message() : ""));
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

  void abandon() override { stop(); }  // the frames written so far are whole pictures

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

  Status write(const Job& job, std::vector<unsigned char>* png) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%04lld.png", static_cast<long long>(job.frame));
    const std::string path = (std::filesystem::path(folder_) / name).string();
    if (!encode_png(job.image, png)) return Status::io_error(path + ": the frame cannot be encoded");
    // Whole or not at all: no truncated picture stays behind.
    return write_whole_file(path, std::string_view(reinterpret_cast<const char*>(png->data()), png->size()));
  }

  std::string folder_;
  std::thread worker_;
  Mutex mutex_;
  CondVar changed_;
  std::optional<Job> waiting_ GUARDED_BY(mutex_);  // the frame the encoder takes next
  bool stopping_ GUARDED_BY(mutex_) = false;
  Status error_ GUARDED_BY(mutex_);
};

}  // namespace

std::unique_ptr<FrameSink> make_png_folder(const std::string& folder) { return std::make_unique<PngFolder>(folder); }
