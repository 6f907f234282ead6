#include "render/animation.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string>

#include "platform/wnd.h"
#include "render/cancel.h"
#include "render/frame.h"
#include "render/graph_run.h"
#include "render/view_mapping.h"

namespace {

// Reads and projects the records of `step`.
Status read_frame(GraphRun& run, std::int64_t step) {
  if (step < std::numeric_limits<std::int32_t>::min() || step > std::numeric_limits<std::int32_t>::max())
    return Status::damaged("u01.unf: step " + std::to_string(step) + " does not exist");
  const int s = static_cast<int>(step);
  Status status = project_step(run, s);
  if (!status.is_ok()) return status;
  centre_frame(run);
  if (run.element_count() > 0) {
    status = run.steps->read_element_step(s, &run.element_value, &run.element_code);
    if (!status.is_ok()) return status;
    const std::size_t elements = static_cast<std::size_t>(run.element_count());
    if (run.element_value.size() < elements || run.element_code.size() < elements)
      return Status::damaged("el.unf, step " + std::to_string(step) + ": fewer records than elements");
  }
  return Status::ok();
}

}  // namespace

void on_graph_double_click(int, int, int, int, int) { request_cancel(); }

Status run_animation(GraphRun& run, const AnimationOptions& options) {
  wnd_register_mouse_event(run.unit, kMouseLeftDoubleClick, on_graph_double_click);
  run.cancel_generation = cancel_generation.load();
  const std::int64_t frames = frame_count(run.settings);
  std::int64_t first = 0, end = frames;
  if (options.only_frame >= 0) {
    first = options.only_frame;
    end = std::min(frames, first + 1);
  }
  for (std::int64_t j = first; j < end; ++j) {
    if (cancel_seen_since(run.cancel_generation)) break;
    const std::int64_t step = frame_step(run.settings, j);
    Status status = read_frame(run, step);
    if (!status.is_ok()) {
      if (run.steps) run.steps->close_displacements();
      return status;
    }
    wnd_sleep(run.settings.frame_delay_ms);
    // The next step is read while this one is drawn, and only after the
    // pause: files rewritten during the pause (an analysis run again into
    // the folder) are drawn as they are now, never from before the pause.
    if (run.steps != nullptr)
      if (const std::optional<int> next = next_frame_step(run.settings, j, end))
        run.steps->read_ahead(*next, run.element_count() > 0);
    const float t = static_cast<float>(step) * run.problem->control.time_step;
    draw_frame(run, t);
    if (options.after_frame && !options.after_frame(j, step)) break;
  }
  wnd_beep(1000, 200);
  if (run.steps) run.steps->close_displacements();
  return Status::ok();
}
