// The samples of the beep: pitch, length, channels, level, soft ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/qt/tone.h"

namespace {

// Rising zero crossings of channel `channel` per second (the silent last
// frame is no crossing).
double measured_frequency(const std::vector<std::int16_t>& samples, int channels, int channel,
                          int rate) {
  const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
  int rising = 0;
  std::size_t first = 0, last = 0;
  for (std::size_t i = 1; i + 1 < frames; ++i) {
    const int a = samples[(i - 1) * channels + channel], b = samples[i * channels + channel];
    if (a < 0 && b >= 0) {
      if (rising++ == 0) first = i;
      last = i;
    }
  }
  if (rising < 2) return 0;
  return static_cast<double>(rising - 1) * rate / static_cast<double>(last - first);
}

TEST(Tone, PitchLengthChannelsAndLevel) {
  struct Case {
    int frequency, duration_ms, rate, channels;
    double expected_hz;
  };
  const Case cases[] = {
      {1000, 200, 44100, 1, 1000},  {1000, 200, 48000, 2, 1000}, {440, 40, 22050, 1, 440},
      {37, 1000, 8000, 1, 37},      {5, 500, 8000, 1, 20},  // held at 20 Hz
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.frequency << " Hz, " << c.duration_ms << " ms, " << c.rate
                                      << " x " << c.channels);
    const auto samples = qtl::tone_samples(c.frequency, c.duration_ms, c.rate, c.channels);
    const std::size_t frames = static_cast<std::size_t>(c.rate) * c.duration_ms / 1000;
    ASSERT_EQ(samples.size(), frames * c.channels);
    for (int ch = 0; ch < c.channels; ++ch)
      EXPECT_NEAR(measured_frequency(samples, c.channels, ch, c.rate), c.expected_hz, c.expected_hz * 0.01);
    for (std::size_t i = 0; i < frames; ++i)
      for (int ch = 1; ch < c.channels; ++ch) ASSERT_EQ(samples[i * c.channels + ch], samples[i * c.channels]);
    const int peak = std::abs(*std::max_element(samples.begin(), samples.end(), [](int a, int b) {
      return std::abs(a) < std::abs(b);
    }));
    EXPECT_GT(peak, 32767 / 5);
    EXPECT_LE(peak, 32767 / 4 + 1);
    // Soft ends: the first and last frames are near silence.
    EXPECT_LT(std::abs(samples.front()), 200);
    EXPECT_LT(std::abs(samples[(frames - 1) * c.channels]), 200);
  }
  // Held below half the sample rate.
  EXPECT_EQ(qtl::tone_samples(30000, 100, 8000, 1), qtl::tone_samples(3999, 100, 8000, 1));
  EXPECT_TRUE(qtl::tone_samples(1000, 0, 44100, 1).empty());
  EXPECT_TRUE(qtl::tone_samples(1000, -5, 44100, 1).empty());
  EXPECT_TRUE(qtl::tone_samples(1000, 200, 0, 1).empty());
  EXPECT_TRUE(qtl::tone_samples(1000, 200, 44100, 0).empty());
}

}  // namespace
