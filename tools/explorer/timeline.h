// The Explorer's time line: the frames of the chosen range, the frame shown
// at a moment of playback, and the texts that tell the time and the step.
//
// Frames are those of the viewer's animation: frame j shows step
// start_step + j x step_frequency (render/view_mapping.h).
#pragma once

#include <cstdint>
#include <string>

struct GraphSettings;

// How fast playback runs: a multiple of real time (the analysis time of one
// frame, time_step x step_frequency, passes `value` times faster than on the
// clock) or `value` frames a second.
struct PlaySpeed {
  bool real_time = true;
  double value = 1;
};

// Milliseconds from one frame to the next. A speed or frame span that is
// not positive and finite plays at 30 frames a second.
double frame_interval_ms(const PlaySpeed& speed, float time_step, std::int32_t step_frequency);

// The frame whose time is nearest to `t` (ties to the earlier), within the
// range's frames; 0 when the range has none.
std::int64_t frame_at_time(const GraphSettings& settings, float time_step, double t);

// Where playback stands `elapsed_ms` after it started at frame `first`,
// one frame every `interval_ms`: with `loop` it wraps from the last frame to
// the first, otherwise it stops on the last (finished).
struct PlayPosition {
  std::int64_t frame = 0;
  bool finished = false;
};
PlayPosition play_position(std::int64_t first, double elapsed_ms, double interval_ms, std::int64_t frames,
                           bool loop);

// "t = 1.26": the step's time with up to six significant digits.
std::string time_text(float t);
// "step 63 of 400": the step and the number of the last stored step.
std::string step_text(std::int64_t step, std::int32_t last_step);
