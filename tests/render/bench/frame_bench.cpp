// Time of one frame of a 100,000-node, 100,000-element model on the layer the
// executable links (the recording layer here, the Qt layer in the Qt build).
#include <benchmark/benchmark.h>

#include "render/frame.h"
#include "render/view_mapping.h"
#include "render/window_setup.h"
#include "big_model.h"
#include "support/fake_platform.h"

using namespace render_test;

namespace {

void BM_Frame(benchmark::State& state) {
  fake::reset();
  MemorySteps steps;
  auto p = big_model(100000);
  steps.node_values = 200000;
  steps.elements = 100000;
  GraphSettings s;
  s.show_node_indices = state.range(0) != 0;
  GraphRun run;
  prepare_graph_run(run, p, s, kSchemeStandard, &steps);
  if (!measure_extents(run).is_ok()) state.SkipWithError("the extents pass failed");
  setup_graph_window(run);
  for (auto _ : state) {
    draw_frame(run, 1.0f);
    state.PauseTiming();
    fake::clear_gfx_calls(run.unit);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Frame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
