#include "movie_export.h"

#include <exception>

#include "frame_sink.h"

MovieExport::MovieExport(ProblemPtr problem, FrameRequest view, std::string path, int fps, QObject* parent)
    : JoinedThread(parent), problem_(std::move(problem)), view_(std::move(view)), path_(std::move(path)), fps_(fps) {}

MovieExport::~MovieExport() {
  cancel();
  join();
}

void MovieExport::work() {
  std::unique_ptr<FrameSink> movie = make_movie_file(path_, fps_);
  try {
    ExplorerFrames frames(problem_);
    frames.attach();
    FrameRequest request = view_;
    request.highlight = PickHit{};
    WndImage image;
    std::int64_t total = -1;
    for (std::int64_t j = 0; total < 0 || j < total; ++j) {
      if (cancelled_) {
        movie->abandon();
        emit done(QString(), true);
        return;
      }
      request.frame = j;
      request.next_frame = j + 1;
      FrameResult result;
      frames.draw(request, [this] { return cancelled_.load(); }, &result);
      if (cancelled_) continue;  // told at the top of the loop
      if (!result.status.is_ok()) {
        movie->abandon();
        emit done(QString::fromStdString(result.status.message()), false);
        return;
      }
      if (total < 0) {
        total = result.frames;
        if (Status status = movie->begin(result.width, result.height); !status.is_ok()) {
          emit done(QString::fromStdString(status.message()), false);
          return;
        }
      }
      frames.copy_picture(&image);
      if (Status status = movie->add(image, j); !status.is_ok()) {
        emit done(QString::fromStdString(status.message()), false);
        return;
      }
      emit progress(j + 1, total);
    }
    if (Status status = movie->finish(); !status.is_ok()) {
      emit done(QString::fromStdString(status.message()), false);
      return;
    }
    emit done(QString(), false);
  } catch (const std::exception& e) {
    movie->abandon();
    emit done(QString::fromStdString(path_ + ": the movie stopped: " + e.what()), false);
  }
}
