#include "platform/qt/tone.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QGuiApplication>
#include <QMediaDevices>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace qtl {

namespace {

constexpr double kAmplitude = 0.25 * 32767;
constexpr int kFadeMs = 5;
constexpr int kLowestHz = 20;
constexpr int kFallbackRate = 44100;

}  // namespace

std::vector<std::int16_t> tone_samples(int frequency_hz, int duration_ms, int sample_rate,
                                       int channels) {
  if (duration_ms < 1 || sample_rate < 1 || channels < 1) return {};
  const int highest = std::max(kLowestHz, (sample_rate - 1) / 2);
  const double frequency = std::clamp(frequency_hz, kLowestHz, highest);
  const auto frames = static_cast<std::size_t>(static_cast<std::int64_t>(sample_rate) * duration_ms / 1000);
  const std::size_t fade = std::min(frames / 2, static_cast<std::size_t>(sample_rate) * kFadeMs / 1000);
  std::vector<std::int16_t> samples(frames * static_cast<std::size_t>(channels));
  const double step = 2 * std::numbers::pi * frequency / sample_rate;
  for (std::size_t i = 0; i < frames; ++i) {
    double gain = 1.0;
    if (fade > 0) gain = std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(frames - 1 - i) / fade});
    const auto value = static_cast<std::int16_t>(std::lround(kAmplitude * gain * std::sin(step * static_cast<double>(i))));
    std::fill_n(samples.begin() + static_cast<std::ptrdiff_t>(i * static_cast<std::size_t>(channels)), channels, value);
  }
  return samples;
}

bool tones_audible() {
  if (std::getenv("VELTRA_SILENT") != nullptr) return false;
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

namespace {

// Whether a sound server listens where PulseAudio's clients look for one
// (PipeWire's PulseAudio service listens there too): the server PULSE_SERVER
// names, or the native socket in the user's runtime folder or the system's.
// Without one, Qt Multimedia's PulseAudio backend would only say on stderr
// that it cannot connect, and find no output.
bool sound_server_present() {
  if (const char* server = std::getenv("PULSE_SERVER"); server != nullptr && *server != '\0') return true;
  std::vector<std::string> sockets;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != '\0')
    sockets.push_back(std::string(runtime) + "/pulse/native");
  sockets.push_back("/run/user/" + std::to_string(::getuid()) + "/pulse/native");
  sockets.push_back("/run/pulse/native");
  for (const std::string& socket : sockets) {
    struct stat info;
    if (::stat(socket.c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) return true;
  }
  return false;
}

}  // namespace

void play_tone(int frequency_hz, int duration_ms) {
  if (duration_ms < 1) return;
  // Without a sound server the system's plain beep sounds, quietly.
  static const bool server = sound_server_present();
  if (!server) {
    QApplication::beep();
    return;
  }
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  QAudioFormat format;
  if (!device.isNull()) {
    const QAudioFormat preferred = device.preferredFormat();
    format.setSampleRate(preferred.sampleRate() > 0 ? preferred.sampleRate() : kFallbackRate);
    format.setChannelCount(std::clamp(preferred.channelCount(), 1, 2));
    format.setSampleFormat(QAudioFormat::Int16);
  }
  if (device.isNull() || !device.isFormatSupported(format)) {
    QApplication::beep();
    return;
  }
  const std::vector<std::int16_t> samples =
      tone_samples(frequency_hz, duration_ms, format.sampleRate(), format.channelCount());
  auto* sink = new QAudioSink(device, format, qApp);
  auto* buffer = new QBuffer(sink);
  buffer->setData(reinterpret_cast<const char*>(samples.data()),
                  static_cast<qsizetype>(samples.size() * sizeof(std::int16_t)));
  buffer->open(QIODevice::ReadOnly);
  // Idle: every sample has been played. Stopped: done, or the output failed.
  QObject::connect(sink, &QAudioSink::stateChanged, sink, [sink](QAudio::State state) {
    if (state == QAudio::IdleState) sink->stop();
    if (state == QAudio::StoppedState) sink->deleteLater();
  });
  // An output that never reports the end is released all the same.
  QTimer::singleShot(duration_ms + 2000, sink, [sink] {
    sink->stop();
    sink->deleteLater();
  });
  sink->start(buffer);
}

}  // namespace qtl
