// The beep: a sine tone of a given pitch and length, played through the
// sound system.
#pragma once

#include <cstdint>
#include <vector>

namespace qtl {

// The samples of a sine tone of `frequency_hz` lasting `duration_ms` at
// `sample_rate` samples a second: signed 16-bit, `channels` interleaved, at a
// quarter of full scale, faded in and out over 5 ms so that it starts and
// ends without a click. The frequency is held between 20 Hz and just below
// half the sample rate; no samples for a duration, rate or channel count
// below 1.
std::vector<std::int16_t> tone_samples(int frequency_hz, int duration_ms, int sample_rate,
                                       int channels);

// Whether tones are heard: not on the offscreen and minimal platforms (tests
// and headless runs), nor when VELTRA_SILENT is set in the environment.
bool tones_audible();

// Starts the tone on the default audio output and returns at once; the
// output is released when the tone has played. Without an audio output, or
// one that takes no 16-bit samples, the system bell rings instead. GUI
// thread only.
void play_tone(int frequency_hz, int duration_ms);

}  // namespace qtl
