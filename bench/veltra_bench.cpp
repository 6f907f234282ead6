// veltra-bench: what a user waits for, measured on a result folder with the
// viewer's own code and the Qt layer offscreen.
//
//   veltra-bench DIR [--size WxH] [--frames N] [--node-numbers] [--colour-by Q] [--dump FOLDER]
//
// Loads the problem, runs the extents pass over every stored step (five
// times, the page cache warm after the first), opens the graph window and
// animates every stored step with no frame delay through run_animation, over
// again until N frames (default 20) are drawn. Prints one line of NAME=VALUE
// pairs: load_ms, extents_ms (median pass), u01_bytes, frames, frame_ms
// (median of the frame times: reading, projecting and drawing one frame),
// frame_ms_min, maxrss_kb. --dump writes the elements of the first frame as
// world segments (float32 x1 y1 x2 y2 each) to FOLDER/segments.f32 and the
// world window to FOLDER/window.txt, for the peer programs. --colour-by
// colours the elements by displacement, value or code, as veltra-export does.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "input/load_problem.h"
#include "input/step_records.h"
#include "platform/wnd.h"
#include "render/animation.h"
#include "render/colouring.h"
#include "render/graph_run.h"
#include "render/step_source.h"
#include "render/view_mapping.h"
#include "render/window_setup.h"
#include "settings/graph_settings.h"

namespace {

std::string folder, dump;
int width = 1280, height = 800;
int min_frames = 20;
bool node_numbers = false;
ColourBy colour_by = ColourBy::none;

[[noreturn]] void fail(const std::string& message) {
  std::fprintf(stderr, "veltra-bench: %s\n", message.c_str());
  wnd_quit(2);
  std::exit(2);
}

void dump_segments(const GraphRun& run) {
  std::filesystem::create_directories(dump);
  std::ofstream segments(dump + "/segments.f32", std::ios::binary);
  const Problem& p = *run.problem;
  for (int e = 0; e < run.element_count(); ++e) {
    const int a = p.element_node1[e], b = p.element_node2[e];
    if (a <= 0 || b <= 0 || a > run.node_count() || b > run.node_count()) continue;
    const float xy[4] = {run.plot_x[a - 1], run.plot_y[a - 1], run.plot_x[b - 1], run.plot_y[b - 1]};
    segments.write(reinterpret_cast<const char*>(xy), sizeof xy);
  }
  std::ofstream window(dump + "/window.txt");
  const ViewMapping& v = run.view;
  window << width << " " << height << " " << std::min(v.window_x1, v.window_x2) << " "
         << std::max(v.window_x1, v.window_x2) << " " << std::min(v.window_y1, v.window_y2) << " "
         << std::max(v.window_y1, v.window_y2) << "\n";
}

void bench_program() {
  settings_startup();
  Clock::time_point start = Clock::now();
  LoadResult loaded = load_problem(folder);
  if (!loaded.status.is_ok()) fail(loaded.status.message());
  const double load_ms = ms_since(start);
  const ProblemPtr problem = loaded.problem;
  const ProblemControl& control = problem->control;

  GraphSettings settings = default_settings;
  prepare_new_graph(settings, control.step_count);
  settings.step_frequency = 1;
  settings.frame_delay_ms = 0;
  settings.show_node_indices = node_numbers;

  StepRecords records(*problem);
  StepRecordsSource source(records);
  GraphRun run;
  prepare_graph_run(run, problem, settings, kSchemeStandard, &source);
  run.caption = "(1) " + control.problem_title;
  run.colouring.by = colour_by;

  std::vector<double> passes;
  for (int i = 0; i < 5; ++i) {
    if (Status s = records.open_u01(); !s.is_ok()) fail(s.message());
    start = Clock::now();
    std::string note;  // as the viewer asks for it: the first value that is not finite
    if (Status s = measure_extents(run, &note); !s.is_ok()) fail(s.message());
    passes.push_back(ms_since(start));
  }

  wnd_set_graph_area_size(width, height);
  if (setup_graph_window(run) != WindowSetup::ready) fail("the graph window could not be prepared");

  std::vector<double> frames;
  bool dumped = dump.empty();
  while (static_cast<int>(frames.size()) < min_frames) {
    if (Status s = records.open_u01(); !s.is_ok()) fail(s.message());
    AnimationOptions options;
    Clock::time_point last = Clock::now();
    options.after_frame = [&](std::int64_t, std::int64_t) {
      frames.push_back(ms_since(last));
      if (!dumped) {
        dump_segments(run);
        dumped = true;
      }
      last = Clock::now();
      return true;
    };
    const std::size_t before = frames.size();
    if (Status s = run_animation(run, options); !s.is_ok()) fail(s.message());
    if (frames.size() == before) fail("no frame was drawn");
  }

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const std::int64_t u01_bytes = std::int64_t{control.step_count + 1} * control.node_count *
                                 u01_record_bytes(control.NGL);
  std::printf("load_ms=%.2f extents_ms=%.2f u01_bytes=%lld frames=%zu frame_ms=%.2f frame_ms_min=%.2f "
              "maxrss_kb=%ld\n",
              load_ms, median(passes), static_cast<long long>(u01_bytes), frames.size(), median(frames),
              *std::min_element(frames.begin(), frames.end()), usage.ru_maxrss);
  wnd_quit(0);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool more = i + 1 < argc;
    if (arg == "--size" && more) {
      if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width < 1 || height < 1) return 2;
    } else if (arg == "--frames" && more) {
      min_frames = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--node-numbers") {
      node_numbers = true;
    } else if (arg == "--colour-by" && more) {
      const std::string by = argv[++i];
      colour_by = by == "displacement" ? ColourBy::displacement
                  : by == "value"      ? ColourBy::value
                  : by == "code"       ? ColourBy::code
                                       : ColourBy::none;
      if (colour_by == ColourBy::none) return 2;
    } else if (arg == "--dump" && more) {
      dump = argv[++i];
    } else if (folder.empty() && !arg.empty() && arg[0] != '-') {
      folder = std::filesystem::absolute(arg).lexically_normal().string();
    } else {
      std::fprintf(stderr, "usage: veltra-bench DIR [--size WxH] [--frames N] [--node-numbers] [--colour-by Q] "
                   "[--dump FOLDER]\n");
      return 2;
    }
  }
  if (folder.empty()) return 2;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  char* qt_args[] = {argv[0], nullptr};
  int qt_argc = 1;
  return wnd_runtime_main(qt_argc, qt_args, bench_program);
}
