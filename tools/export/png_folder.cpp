// The PNG folder sink: each frame encoded by Qt in memory and written as
// FOLDER/frame-NNNN.png.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "frame_sink.h"

namespace {

class PngFolder : public FrameSink {
 public:
  explicit PngFolder(std::string folder) : folder_(std::move(folder)) {}

  Status begin(int, int) override {
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    if (ec || !std::filesystem::is_directory(folder_))
      return Status::io_error(folder_ + ": the output folder cannot be made" + (ec ? ": " + ec.message() : ""));
    return Status::ok();
  }

  Status add(const WndImage& image, std::int64_t frame) override {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%04lld.png", static_cast<long long>(frame));
    const std::string path = (std::filesystem::path(folder_) / name).string();
    const QImage picture(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                         static_cast<qsizetype>(image.width) * 4, QImage::Format_RGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) return Status::io_error(path + ": the frame cannot be encoded");
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file != nullptr && std::fwrite(bytes.constData(), 1, bytes.size(), file) == std::size_t(bytes.size());
    int error = errno;
    if (file != nullptr && std::fclose(file) != 0) {
      written = false;  // a full disk often shows only here
      if (error == 0) error = errno;
    }
    if (written) return Status::ok();
    std::error_code ec;
    std::filesystem::remove(path, ec);  // no truncated picture stays behind
    return Status::from_errno(path + ": cannot be written", error != 0 ? error : EIO);
  }

  Status finish() override { return Status::ok(); }
  void abandon() override {}  // the frames written so far are whole pictures

 private:
  std::string folder_;
};

}  // namespace

std::unique_ptr<FrameSink> make_png_folder(const std::string& folder) { return std::make_unique<PngFolder>(folder); }
