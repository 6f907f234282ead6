// veltra-explorer-bench: what an Explorer user waits for, measured through
// the Explorer's own classes (FrameWorker, ExplorerFrames, PickIndex) on
// the Qt layer offscreen, as the window uses them.
//
//   veltra-explorer-bench DIR [--size WxH] [--count N]
//
// Loads the problem, asks the worker for the first picture (which runs the
// extents pass), then, each request posted from this (the GUI) thread and
// its picture waited for in the event loop as the window receives it:
//   scrub_ms    median of N requests of a random frame (read and drawn)
//   play_fps    frames a second of N frames in order, each asked for when
//               the one before arrives, with the next frame read ahead, as
//               the window's playback does at full speed
//   play_cpu_ms processor time of the whole process (every thread) per
//               frame of that playback: at two cores, a frame cannot take
//               less than half of it
//   zoom_ms     median of N requests of the same frame at a new zoom about
//               a random point (drawn from the positions already read)
//   pan_ms      the same for a drag of 40 pixels
//   first_index_ms, index_ms
//               building the pick index of a frame's positions (the worker
//               does it while the window is idle), the first time with the
//               node-element lists made once per problem, then again
//   pick_us     median of N*50 picks at random points of the picture,
//               through the index the worker made
//   maxrss_kb   peak resident set once the worker has made its index (the
//               window's share: before the timing of the index build)
// Prints one line of NAME=VALUE pairs.
#include <sys/resource.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "explorer_frames.h"
#include "frame_worker.h"
#include "bench_clock.h"
#include "input/load_problem.h"

namespace {

[[noreturn]] void fail(const std::string& message) {
  std::fprintf(stderr, "veltra-explorer-bench: %s\n", message.c_str());
  std::exit(2);
}

// Receives the worker's pictures on this thread, as the window does.
class Receiver : public QObject {
 public:
  FrameResultPtr last;
  void wait_for(std::uint64_t serial) {
    QEventLoop loop;
    while (!last || last->serial < serial) loop.processEvents(QEventLoop::WaitForMoreEvents);
    if (!last->status.is_ok()) fail(last->status.message());
  }
};

// Processor time of the whole process so far, in milliseconds.
double process_cpu_ms() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
  };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  std::string folder;
  int width = 1280, height = 800, count = 40;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--size" && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2) fail("--size takes WxH");
    } else if (arg == "--count" && i + 1 < argc) {
      count = std::max(1, std::atoi(argv[++i]));
    } else {
      folder = arg;
    }
  }
  if (folder.empty()) fail("usage: veltra-explorer-bench DIR [--size WxH] [--count N]");

  settings_startup();
  const LoadResult loaded = load_problem(folder);
  if (!loaded.status.is_ok()) fail(loaded.status.message());
  const ProblemPtr problem = loaded.problem;

  FrameRequest request;
  request.width = width;
  request.height = height;
  request.settings = default_settings;
  request.settings.start_step = 0;
  request.settings.end_step = problem->control.step_count;
  request.settings.step_frequency = 1;
  request.settings.show_node_indices = false;
  const std::int64_t frames = problem->control.step_count + 1;

  FrameWorker worker(problem);
  Receiver receiver;
  QObject::connect(&worker, &FrameWorker::frameReady, &receiver,
                   [&](const QImage&, const FrameResultPtr& r) { receiver.last = r; });
  worker.start();
  Clock::time_point start = Clock::now();
  receiver.wait_for(worker.request(request));
  const double first_ms = ms_since(start);
  const FrameResult fitted = *receiver.last;

  std::mt19937 random(1);
  std::uniform_int_distribution<std::int64_t> any_frame(0, frames - 1);
  std::vector<double> scrub;
  for (int i = 0; i < count; ++i) {
    std::int64_t frame = any_frame(random);
    if (frame == request.frame) frame = (frame + 1) % frames;
    request.frame = frame;
    start = Clock::now();
    receiver.wait_for(worker.request(request));
    scrub.push_back(ms_since(start));
  }

  start = Clock::now();
  const double play_cpu_start = process_cpu_ms();
  for (int i = 0; i < count; ++i) {
    request.frame = i % frames;
    request.next_frame = (i + 1) % frames;
    receiver.wait_for(worker.request(request));
  }
  const double play_fps = count / (ms_since(start) / 1000);
  const double play_cpu_ms = (process_cpu_ms() - play_cpu_start) / count;
  request.next_frame.reset();

  std::uniform_real_distribution<double> px(0, width - 1), py(0, height - 1);
  std::vector<double> zoom, pan;
  WorldRect window = fitted.fit_window;
  for (int i = 0; i < count; ++i) {
    window = zoom_about(window, fitted.fit_window, fitted.y_up, width, height, px(random), py(random),
                        i % 2 ? 0.8 : 1.25);
    request.zoom = window;
    start = Clock::now();
    receiver.wait_for(worker.request(request));
    zoom.push_back(ms_since(start));
  }
  for (int i = 0; i < count; ++i) {
    window = pan_by(window, fitted.y_up, width, height, i % 2 ? -40 : 40, 40);
    request.zoom = window;
    start = Clock::now();
    receiver.wait_for(worker.request(request));
    pan.push_back(ms_since(start));
  }

  // Picking: the index the worker makes once the window asks for nothing
  // new, queried as a click does. The peak memory is taken here, with the
  // worker and its index as in the window.
  PickIndexPtr index;
  quint64 indexed = 0;
  QObject::connect(&worker, &FrameWorker::pickIndexReady, &receiver, [&](quint64 positions, const PickIndexPtr& i) {
    indexed = positions;
    index = i;
  });
  request.zoom.reset();
  receiver.wait_for(worker.request(request));
  {
    QEventLoop loop;
    while (!index || indexed != receiver.last->positions) loop.processEvents(QEventLoop::WaitForMoreEvents);
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const PixelMapping mapping = receiver.last->mapping();
  std::vector<double> picks;
  int hits = 0;
  for (int i = 0; i < count * 50; ++i) {
    const double x = px(random), y = py(random);
    start = Clock::now();
    const PickHit hit = index->pick(mapping, x, y, 6);
    picks.push_back(ms_since(start) * 1000);
    hits += hit.kind != PickHit::none;
  }

  // Building an index, timed here by the same class on a frame of its own:
  // the first with the node-element lists it makes once, then a second.
  ExplorerFrames frames_here(problem);
  frames_here.attach();
  FrameResult result;
  if (!frames_here.draw(request, [] { return false; }, &result) || !result.status.is_ok()) fail(result.status.message());
  start = Clock::now();
  frames_here.build_pick_index();
  const double first_index_ms = ms_since(start);
  start = Clock::now();
  frames_here.build_pick_index();
  const double index_ms = ms_since(start);

  std::printf("first_ms=%.1f scrub_ms=%.2f play_fps=%.1f play_cpu_ms=%.1f zoom_ms=%.2f pan_ms=%.2f first_index_ms=%.1f "
              "index_ms=%.1f pick_us=%.1f picks_hit=%d/%d index_mb=%.1f maxrss_kb=%ld\n",
              first_ms, median(scrub), play_fps, play_cpu_ms, median(zoom), median(pan), first_index_ms, index_ms, median(picks),
              hits, count * 50, index->bytes() / 1e6, usage.ru_maxrss);
  return 0;
}
