// The thread that draws the Explorer's window: it owns its ExplorerFrames
// (step files, run, offscreen picture) and hands every finished picture to
// the GUI thread by value, with a queued signal, as Qt's Mandelbrot example
// does. The GUI posts requests and never waits: a request supersedes one
// not yet begun, and a long pass over the range stops for a newer request.
// While the GUI has nothing new to ask, the worker indexes the positions it
// drew for picking.
#pragma once

#include <QImage>
#include <memory>

#include "explorer_frames.h"
#include "joined_thread.h"
#include "request_slot.h"

using FrameResultPtr = std::shared_ptr<const FrameResult>;
using PickIndexPtr = std::shared_ptr<const PickIndex>;

class FrameWorker : public JoinedThread {
  Q_OBJECT
 public:
  explicit FrameWorker(ProblemPtr problem, QObject* parent = nullptr);
  // Stops the thread and waits for it (it finishes the picture it draws).
  ~FrameWorker() override;

  // Asks for a picture; returns the request's serial, which its result
  // carries. Any thread.
  std::uint64_t request(const FrameRequest& request);

 signals:
  // A finished picture and what it shows (queued to the receiver's thread).
  void frameReady(QImage picture, FrameResultPtr result);
  // An index of the node positions `positions` (FrameResult::positions).
  void pickIndexReady(quint64 positions, PickIndexPtr index);

 protected:
  void work() override;

 private:
  ProblemPtr problem_;
  RequestSlot<FrameRequest> slot_;
};

Q_DECLARE_METATYPE(FrameResultPtr)
Q_DECLARE_METATYPE(PickIndexPtr)
