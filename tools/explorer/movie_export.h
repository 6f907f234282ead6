// Export Movie: every frame of the range at the window's view, drawn on a
// thread of its own (with its own step files and picture, so the window
// goes on showing and answering) and written by veltra-export's movie
// writer. Cancelling, or any error, abandons the movie: no partial file is
// left.
#pragma once

#include <QString>
#include <atomic>
#include <string>

#include "explorer_frames.h"
#include "joined_thread.h"

class MovieExport : public JoinedThread {
  Q_OBJECT
 public:
  // `view` is the window's request: its range, settings and view are the
  // movie's; its frame is ignored. The picture's size is the request's, an
  // .mp4's rounded down to even numbers by the writer.
  MovieExport(ProblemPtr problem, FrameRequest view, std::string path, int fps, QObject* parent = nullptr);
  ~MovieExport() override;

  // Stops at the next frame and removes what was written (any thread).
  void cancel() { cancelled_ = true; }

 signals:
  void progress(qint64 done, qint64 total);
  // `error` is empty when the movie was written; `cancelled` when the user
  // stopped it (nothing is left then either).
  void done(QString error, bool cancelled);

 protected:
  void work() override;

 private:
  ProblemPtr problem_;
  FrameRequest view_;
  std::string path_;
  int fps_;
  std::atomic<bool> cancelled_{false};
};
