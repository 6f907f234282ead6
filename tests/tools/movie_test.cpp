// Movies written by veltra-export: each format as ffprobe reads it back
// (frame count and size equal to the PNG frames of the same export), and
// every failure to write leaving no file behind.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>

#include "run_tool.h"
#include "sample_model.h"
#include "sample_writer.h"

using namespace tools_test;

namespace {

// Files of `folder` whose names hold `part`.
int files_with(const std::string& folder, const std::string& part) {
  int n = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    n += entry.path().filename().string().find(part) != std::string::npos;
  return n;
}

TEST(VeltraExportMovies, EveryFormatHoldsTheFramesAndFailuresLeaveNothing) {
  Scratch scratch;
  const std::string dir = scratch.file("cantilever");
  ASSERT_TRUE(sample::write_sample(sample::make_sample(sample::Kind::cantilever, {.steps = 60}), dir).is_ok());
  const std::string export_tool = std::string(VELTRA_EXPORT) + " " + dir + " --size 322x240 ";

  struct Format {
    const char* file;
    int width, height;  // as the movie holds them (an .mp4 has even sizes)
  };
  for (const Format f : {Format{"m.mp4", 322, 240}, Format{"m.webm", 322, 240}, Format{"m.gif", 322, 240}}) {
    const std::string movie = scratch.file(f.file), frames = scratch.file(std::string(f.file) + "-frames");
    const ToolRun run = run_tool(export_tool + "--movie " + movie + " --out " + frames + " --fps 12", scratch);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("frame 10 of "), std::string::npos) << run.err;  // progress, not a terminal
    const int png_count = files_with(frames, "frame-");
    ASSERT_GT(png_count, 10);
    const QImage first(QString::fromStdString(frames + "/frame-0000.png"));
    ASSERT_EQ(first.width(), 322);
    ASSERT_EQ(first.height(), 240);

    const ToolRun probe = run_tool(std::string(FFPROBE) +
                                       " -v error -count_frames -select_streams v:0 -show_entries "
                                       "stream=codec_name,width,height,nb_read_frames,r_frame_rate -of csv=p=0 " +
                                       movie,
                                   scratch);
    ASSERT_EQ(probe.status, 0) << probe.err;
    const std::string codec = movie.ends_with(".mp4") ? "h264" : movie.ends_with(".webm") ? "vp9" : "gif";
    EXPECT_EQ(probe.out, codec + "," + std::to_string(f.width) + "," + std::to_string(f.height) + ",12/1," +
                             std::to_string(png_count) + "\n")
        << f.file;
    EXPECT_EQ(files_with(scratch.path(), ".part"), 0);
  }

  // Failures: one line naming the file, the exit status of its kind, nothing left behind.
  struct Failure {
    std::string command;
    std::string file;  // the movie asked for
    int status;
    std::string line;  // what the one line says
  };
  const std::string nowhere = scratch.file("no-such-folder/m.mp4");
  const std::string too_big = scratch.file("full.webm");
  const std::vector<Failure> failures = {
      {export_tool + "--movie " + nowhere, nowhere, 1,
       "veltra-export: " + nowhere + ": cannot be written: No such file or directory\n"},
      {export_tool + "--movie " + scratch.file("m.avi"), scratch.file("m.avi"), 2,
       "veltra-export: " + scratch.file("m.avi") + ": unknown movie format"},
      // A file-size limit makes writes fail part way, as a full disk does.
      {"trap '' XFSZ; ulimit -f 8; exec " + export_tool + "--quiet --movie " + too_big, too_big, 1,
       "veltra-export: " + too_big + ": cannot be written: File too large\n"},
  };
  for (const Failure& f : failures) {
    const ToolRun run = run_tool("sh -c \"" + f.command + "\"", scratch);
    EXPECT_EQ(run.status, f.status) << f.command;
    EXPECT_EQ(run.err.find(f.line), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_FALSE(std::filesystem::exists(f.file));
    EXPECT_EQ(files_with(scratch.path(), ".part"), 0);
  }
}

}  // namespace
