#include "timeline.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "render/view_mapping.h"
#include "settings/graph_settings.h"

double frame_interval_ms(const PlaySpeed& speed, float time_step, std::int32_t step_frequency) {
  constexpr double kFallback = 1000.0 / 30;
  if (!(speed.value > 0) || !std::isfinite(speed.value)) return kFallback;
  if (!speed.real_time) return 1000.0 / speed.value;
  const double span = static_cast<double>(time_step) * step_frequency;
  if (!(span > 0) || !std::isfinite(span)) return kFallback;
  return 1000.0 * span / speed.value;
}

std::int64_t frame_at_time(const GraphSettings& settings, float time_step, double t) {
  const std::int64_t frames = frame_count(settings);
  if (frames <= 0) return 0;
  if (!(time_step > 0) || !std::isfinite(t)) return 0;
  const double frequency = settings.step_frequency == 0 ? 1 : settings.step_frequency;
  const double j = (t / time_step - settings.start_step) / frequency;
  if (!(j > 0)) return 0;
  // Ties go to the earlier frame.
  const double nearest = std::ceil(j - 0.5);
  return nearest >= static_cast<double>(frames - 1) ? frames - 1 : static_cast<std::int64_t>(nearest);
}

PlayPosition play_position(std::int64_t first, double elapsed_ms, double interval_ms, std::int64_t frames,
                           bool loop) {
  if (frames <= 0) return {0, true};
  if (!(interval_ms > 0) || !(elapsed_ms > 0)) return {std::clamp<std::int64_t>(first, 0, frames - 1), false};
  const double advanced = std::floor(elapsed_ms / interval_ms);
  const double reached = static_cast<double>(first) + advanced;
  if (loop) return {static_cast<std::int64_t>(std::fmod(reached, static_cast<double>(frames))), false};
  if (reached >= static_cast<double>(frames - 1)) return {frames - 1, true};
  return {static_cast<std::int64_t>(reached), false};
}

std::string time_text(float t) {
  char text[48];
  std::snprintf(text, sizeof text, "t = %.6g", static_cast<double>(t));
  return text;
}

std::string step_text(std::int64_t step, std::int32_t last_step) {
  return "step " + std::to_string(step) + " of " + std::to_string(last_step);
}
