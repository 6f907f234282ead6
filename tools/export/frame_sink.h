// Where veltra-export puts its frames. A sink is begun once with the size of
// the pictures, given every frame in order, then finished; a sink that is
// abandoned instead (an error elsewhere, a cancel) leaves no partial file
// behind. Errors are one line naming the file.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/status.h"
#include "platform/wnd.h"

class FrameSink {
 public:
  virtual ~FrameSink() = default;
  virtual Status begin(int width, int height) = 0;
  // `frame` counts from 0; `image` has the size given to begin.
  virtual Status add(const WndImage& image, std::int64_t frame) = 0;
  virtual Status finish() = 0;
  virtual void abandon() = 0;
  // The memory an export with this sink takes beyond what it has when it
  // starts, for pictures of width x height pixels: everything the frames
  // need, the window's picture, its copy, the encoder's buffers, frames and
  // threads. Measured on the sample cantilever (four frames) as the smallest
  // address-space limit under which the export works, at sizes from 512x512
  // to 4096x4096, less what the export had mapped when it checked; a line
  // fitted to the largest sizes, rounded up.
  virtual std::int64_t memory_bytes(int width, int height) const = 0;
};

// FOLDER/frame-NNNN.png, one file a frame (NNNN the frame number); the
// folder is made with its parents. The frames an earlier export left in the
// folder are removed first, and `note` says how many; a folder that holds
// other files is refused.
std::unique_ptr<FrameSink> make_png_folder(const std::string& folder, std::function<void(const std::string&)> note);

// One movie file through FFmpeg's libraries; the format follows the
// extension (.mp4 H.264, .webm VP9, .gif with a palette per picture). The
// frames go to a hidden temporary file in the same folder, which is renamed
// to `path` by finish and removed by abandon. The writer is a module loaded
// by the first call (movie_module.h); when it cannot be loaded, the sink's
// begin says so, naming `path`.
std::unique_ptr<FrameSink> make_movie_file(const std::string& path, int fps);
