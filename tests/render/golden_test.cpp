// Golden pictures: the samples exported with every option that changes the
// drawing must come out pixel for pixel as the pictures in golden/. Drawing
// may get faster; it must not get different.
//
// With VELTRA_UPDATE_GOLDEN=1 the test writes the pictures instead of
// comparing (scripts/update-golden.sh), as 8-bit palette PNG when the palette
// holds every colour, else as 32-bit PNG.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "result_folder.h"
#include "sample_model.h"
#include "sample_writer.h"

namespace {

namespace fs = std::filesystem;
using render_test::scratch_path;

struct GoldenCase {
  std::string name;
  std::string sample;   // portal, space, cantilever or grid:NODES:STEPS
  std::string options;  // for veltra-export
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name << " (" << c.sample << c.options << ")"; }

std::vector<GoldenCase> read_cases() {
  std::vector<GoldenCase> cases;
  std::ifstream file(std::string(GOLDEN_DIR) + "/cases.txt");
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream in(line);
    GoldenCase c;
    if (!(in >> c.name >> c.sample)) continue;
    std::getline(in, c.options);
    cases.push_back(c);
  }
  return cases;
}

// Writes the case's sample into a scratch folder; empty on failure.
std::string write_case_sample(const std::string& spec) {
  sample::SampleSize size;
  std::string kind = spec;
  if (spec.rfind("grid:", 0) == 0) {
    kind = "grid";
    if (std::sscanf(spec.c_str(), "grid:%d:%d", &size.nodes, &size.steps) != 2) return "";
  }
  const auto k = sample::kind_from_name(kind);
  if (!k) return "";
  const std::string dir = scratch_path("golden-" + spec);
  fs::remove_all(dir);
  if (!sample::write_sample(sample::make_sample(*k, size), dir).is_ok()) return "";
  return dir;
}

// The file of the highest-numbered frame in `out`, or empty.
std::string last_frame(const std::string& out) {
  std::string last;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(out, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("frame-", 0) == 0 && name > fs::path(last).filename().string()) last = entry.path().string();
  }
  return last;
}

std::string hex(QRgb p) {
  char text[16];
  std::snprintf(text, sizeof text, "#%06X", p & 0xFFFFFFu);
  return text;
}

// Writes `image` to `path` as small as it stays exact.
bool save_golden(const QImage& image, const std::string& path) {
  const QString file = QString::fromStdString(path);
  const QImage palette = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
  if (palette.convertToFormat(QImage::Format_RGB32) == image && palette.save(file, "PNG", 0)) return true;
  return image.save(file, "PNG", 0);
}

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, LastFrameIsPixelIdentical) {
  const GoldenCase& c = GetParam();
  const std::string dir = write_case_sample(c.sample);
  ASSERT_FALSE(dir.empty()) << "sample " << c.sample << " could not be written";
  const std::string out = scratch_path("golden-out-" + c.name);
  fs::remove_all(out);
  const std::string command =
      std::string(VELTRA_EXPORT) + " " + dir + " --out " + out + " --frame-delay-ms 0 " + c.options +
      " > /dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const std::string frame = last_frame(out);
  ASSERT_FALSE(frame.empty()) << command << ": no frame written";
  const QImage actual = QImage(QString::fromStdString(frame)).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(actual.isNull()) << frame;

  const std::string golden_path = std::string(GOLDEN_DIR) + "/" + c.name + ".png";
  const char* update = std::getenv("VELTRA_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    ASSERT_TRUE(save_golden(actual, golden_path)) << golden_path;
    return;
  }
  const QImage golden = QImage(QString::fromStdString(golden_path)).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(golden.isNull()) << golden_path << " is missing: run scripts/update-golden.sh";
  ASSERT_EQ(actual.size(), golden.size()) << frame;

  long differing = 0;
  int fx = -1, fy = -1;
  for (int y = 0; y < golden.height(); ++y) {
    const QRgb* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
    const QRgb* g = reinterpret_cast<const QRgb*>(golden.constScanLine(y));
    for (int x = 0; x < golden.width(); ++x) {
      if ((a[x] & 0xFFFFFFu) == (g[x] & 0xFFFFFFu)) continue;
      if (differing++ == 0) fx = x, fy = y;
    }
  }
  if (differing > 0) {
    // Keep the picture for a look; the scratch folders go when the test ends.
    const std::string kept = "/tmp/veltra-golden-" + c.name + "-actual.png";
    actual.save(QString::fromStdString(kept), "PNG");
    ADD_FAILURE() << c.name << ": " << differing << " pixels differ from " << golden_path << "; the first at (x "
                  << fx << ", y " << fy << "): expected " << hex(golden.pixel(fx, fy)) << ", drawn "
                  << hex(actual.pixel(fx, fy)) << ". The picture drawn is kept as " << kept
                  << "; if the change is intended, run scripts/update-golden.sh";
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, Golden, ::testing::ValuesIn(read_cases()),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

}  // namespace
