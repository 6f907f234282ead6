// One frame of a 100,000-node, 100,000-element model on the Qt layer,
// offscreen, plain, with node numbers and coloured: the benchmarks run on the
// program thread of the runtime.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "big_model.h"
#include "platform/wnd.h"
#include "render/frame.h"
#include "render/view_mapping.h"
#include "render/window_setup.h"

using namespace render_test;

namespace {

void BM_QtFrame(benchmark::State& state) {
  static MemorySteps steps;
  static GraphRun run;
  static bool ready = false;
  if (!ready) {
    auto p = big_model(100000);
    steps.node_values = 200000;
    steps.elements = 100000;
    prepare_graph_run(run, p, GraphSettings{}, kSchemeStandard, &steps);
    if (!measure_extents(run).is_ok()) state.SkipWithError("the extents pass failed");
    wnd_set_graph_area_size(1280, 800);
    setup_graph_window(run);
    ready = true;
  }
  // 0 plain, 1 node numbers on, 2 coloured by displacement.
  run.settings.show_node_indices = state.range(0) == 1;
  run.colouring.by = state.range(0) == 2 ? ColourBy::displacement : ColourBy::none;
  for (auto _ : state) draw_frame(run, 1.0f);
}
BENCHMARK(BM_QtFrame)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

int bench_argc = 0;
char** bench_argv = nullptr;

void program() {
  benchmark::Initialize(&bench_argc, bench_argv);
  benchmark::RunSpecifiedBenchmarks();
  wnd_quit(0);
}

}  // namespace

int main(int argc, char** argv) {
  bench_argc = argc;
  bench_argv = argv;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  return wnd_runtime_main(1, argv, program);
}
