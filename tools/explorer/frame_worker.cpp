#include "frame_worker.h"

#include <chrono>
#include <exception>

namespace {
// How long the window must have asked for nothing before the worker indexes
// the positions it drew.
constexpr std::chrono::milliseconds kIndexAfterIdle{80};
}  // namespace

FrameWorker::FrameWorker(ProblemPtr problem, QObject* parent) : JoinedThread(parent), problem_(std::move(problem)) {
  qRegisterMetaType<FrameResultPtr>();
  qRegisterMetaType<PickIndexPtr>();
}

FrameWorker::~FrameWorker() {
  slot_.close();
  join();
}

std::uint64_t FrameWorker::request(const FrameRequest& request) { return slot_.post(request); }

void FrameWorker::work() {
  try {
    ExplorerFrames frames(problem_);
    frames.attach();
    std::uint64_t shown = 0;    // positions of the last picture
    std::uint64_t indexed = 0;  // positions of the last index handed out
    for (;;) {
      // Picking needs an index of what is shown: made once the window has
      // asked for nothing new for a moment, so that it never holds up
      // playback or a scrub.
      if (shown != indexed && !slot_.wait_pending(kIndexAfterIdle)) {
        indexed = shown;
        emit pickIndexReady(indexed, frames.build_pick_index());
        continue;
      }
      auto taken = slot_.take();
      if (!taken) break;
      const std::uint64_t serial = taken->first;
      auto result = std::make_shared<FrameResult>();
      result->serial = serial;
      const bool drawn = frames.draw(taken->second, [&] { return slot_.superseded(serial); }, result.get());
      if (!drawn) continue;  // a newer request waits
      emit frameReady(result->status.is_ok() ? frames.picture() : QImage(), result);
      if (result->status.is_ok()) shown = result->positions;
    }
  } catch (const std::exception& e) {
    // The last guard: what escapes the drawing ends the pictures, not the program.
    auto result = std::make_shared<FrameResult>();
    result->status = Status::io_error(std::string("the pictures stopped: ") + e.what());
    emit frameReady(QImage(), result);
  }
}
