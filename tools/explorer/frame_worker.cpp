#include "frame_worker.h"

#include <exception>

FrameWorker::FrameWorker(ProblemPtr problem, QObject* parent) : QThread(parent), problem_(std::move(problem)) {
  qRegisterMetaType<FrameResultPtr>();
  qRegisterMetaType<PickIndexPtr>();
}

FrameWorker::~FrameWorker() {
  slot_.close();
  wait();
}

std::uint64_t FrameWorker::request(const FrameRequest& request) { return slot_.post(request); }

void FrameWorker::run() {
  try {
    ExplorerFrames frames(problem_);
    frames.attach();
    std::uint64_t indexed = 0;  // positions of the last index handed out
    while (auto taken = slot_.take()) {
      const std::uint64_t serial = taken->first;
      auto result = std::make_shared<FrameResult>();
      result->serial = serial;
      const bool drawn = frames.draw(taken->second, [&] { return slot_.superseded(serial); }, result.get());
      if (!drawn) continue;  // a newer request waits
      emit frameReady(result->status ? frames.picture() : QImage(), result);
      // Picking needs an index of what is shown: made when no new picture is
      // wanted, so that it never holds up playback or a scrub.
      if (result->status && result->positions != indexed && !slot_.pending()) {
        indexed = result->positions;
        emit pickIndexReady(indexed, frames.build_pick_index());
      }
    }
  } catch (const std::exception& e) {
    // The last guard: what escapes the drawing ends the pictures, not the program.
    auto result = std::make_shared<FrameResult>();
    result->status = Status::io_error(std::string("the pictures stopped: ") + e.what());
    emit frameReady(QImage(), result);
  }
}
