// Movies written by veltra-export: each format as ffprobe reads it back
// (frame count and size equal to the PNG frames of the same export), and
// every failure to write a movie or a ParaView series leaving no file behind.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "run_tool.h"
#include "sample_model.h"
#include "sample_writer.h"
#include "support/sanitized.h"

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
    EXPECT_NE(run.err.find("10 of "), std::string::npos) << run.err;  // progress, not a terminal
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
  const std::string big = scratch.file("big.mp4");
  // A folder whose u01.unf ends half way: a series fails after some steps.
  const std::string cut = scratch.file("cut");
  std::filesystem::copy(dir, cut);
  std::filesystem::resize_file(cut + "/u01.unf", std::filesystem::file_size(cut + "/u01.unf") / 2);
  const std::string series = scratch.file("s.pvd");
  // The program alone, without its movie writer in ../VELTRA_MODULE_DIR/.
  const std::string lone = scratch.file("lone/bin/veltra-export"), lone_movie = scratch.file("lone.mp4");
  std::filesystem::create_directories(scratch.file("lone/bin"));
  std::filesystem::copy_file(VELTRA_EXPORT, lone);
  const std::vector<Failure> failures = {
      {lone + " " + dir + " --size 322x240 --movie " + lone_movie, lone_movie, 1,
       "veltra-export: " + lone_movie + ": the movie writer cannot be loaded: " + scratch.file(std::string("lone/") + VELTRA_MODULE_DIR + "/")},
      {export_tool + "--movie " + nowhere, nowhere, 1,
       "veltra-export: " + nowhere + ": cannot be written: No such file or directory\n"},
      {export_tool + "--movie " + scratch.file("m.avi"), scratch.file("m.avi"), 2,
       "veltra-export: " + scratch.file("m.avi") + ": unknown movie format"},
      // A file-size limit makes writes fail part way, as a full disk does.
      {"trap '' XFSZ; ulimit -f 8; exec " + export_tool + "--quiet --movie " + too_big, too_big, 1,
       "veltra-export: " + too_big + ": cannot be written: File too large\n"},
#ifndef VELTRA_SANITIZED
      // Pictures larger than the memory at hand are refused before a frame
      // is drawn (the sanitizers cannot run under an address-space limit).
      {"ulimit -v 1310720; exec " + export_tool + "--size 8192x8192 --movie " + big, big, 1,
       "veltra-export: --size 8192x8192 needs 4.3 GB of memory; "},
#endif
      {export_tool + "--vtk " + scratch.file("no-such-folder/s.pvd"), scratch.file("no-such-folder/s.pvd"), 1,
       "veltra-export: " + scratch.file("no-such-folder/s-0000.vtu") + ": cannot be written: No such file or directory\n"},
      {std::string(VELTRA_EXPORT) + " " + cut + " --quiet --vtk " + series, series, 1, "veltra-export: u01.unf: step "},
  };
  for (const Failure& f : failures) {
    const ToolRun run = run_tool("sh -c \"" + f.command + "\"", scratch);
    EXPECT_EQ(run.status, f.status) << f.command;
    EXPECT_EQ(run.err.find(f.line), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_FALSE(std::filesystem::exists(f.file));
    EXPECT_EQ(files_with(scratch.path(), ".part"), 0);
    EXPECT_EQ(files_with(scratch.path(), ".vtu"), 0);
  }

  // A Ctrl-C or a SIGTERM while the frames are written: the exit status of
  // the signal, and neither the movie, its temporary file nor the frames of
  // the export stay behind.
  for (const auto& [signal, status] : {std::pair{"INT", 130}, std::pair{"TERM", 143}}) {
    const std::string movie = scratch.file("stopped.webm"), frames = scratch.file("stopped-frames");
    const std::string script = scratch.file("stop.sh");
    // The export runs in the script's place (exec), in the foreground, where
    // a script's background jobs would ignore SIGINT.
    std::ofstream(script) << "(until ls -a " << scratch.path() << " | grep -q part; do sleep 0.02; done; kill -"
                          << signal << " $$) &\n"
                          << "exec " << export_tool << "--quiet --step-frequency 1 --movie " << movie << " --out "
                          << frames << "\n";
    const ToolRun run = run_tool("sh " + script, scratch);
    EXPECT_EQ(run.status, status) << signal << "\n" << run.err;
    EXPECT_EQ(run.err, std::string("veltra-export: interrupted by SIG") + signal + "\n");
    EXPECT_FALSE(std::filesystem::exists(movie));
    EXPECT_FALSE(std::filesystem::exists(frames));
    EXPECT_EQ(files_with(scratch.path(), ".part"), 0);
  }
}

// A frame folder holds the frames of the last export only: an export into a
// folder of earlier frames removes them first and says so; a folder of
// other files is refused and left as it is.
TEST(VeltraExportFrames, AFolderHoldsTheLastExportOnly) {
  Scratch scratch;
  const std::string dir = scratch.file("cantilever");
  ASSERT_TRUE(sample::write_sample(sample::make_sample(sample::Kind::cantilever, {.steps = 40}), dir).is_ok());
  const std::string frames = scratch.file("frames");
  const std::string export_tool = std::string(VELTRA_EXPORT) + " " + dir + " --quiet --size 64x48 --out " + frames;
  ASSERT_EQ(run_tool(export_tool, scratch).status, 0);
  const int earlier = files_with(frames, "frame-");
  ASSERT_GT(earlier, 2);

  ToolRun run = run_tool(export_tool + " --frame 1", scratch);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "veltra-export: " + frames + ": " + std::to_string(earlier) +
                         " frames of an earlier export removed\n");
  EXPECT_EQ(files_with(frames, "frame-"), 1);
  EXPECT_TRUE(std::filesystem::exists(frames + "/frame-0001.png"));

  std::ofstream(frames + "/notes.txt") << "mine\n";
  run = run_tool(export_tool, scratch);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.find("veltra-export: " + frames + ": holds files that are not frames of veltra-export (notes.txt)"),
            0u)
      << run.err;
  EXPECT_TRUE(std::filesystem::exists(frames + "/notes.txt"));
  EXPECT_TRUE(std::filesystem::exists(frames + "/frame-0001.png"));
}

}  // namespace
