// The command lines of the four tools: --help and --version; every kind of
// wrong use, a missing result folder and an output that cannot be written,
// each answered by one line "veltra-NAME: ..." on stderr and the exit status
// --help documents (2 a wrong command line, 1 the work failed).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "run_tool.h"

using namespace tools_test;

namespace {

struct Case {
  const char* tool;      // program path, nullptr when not built here
  std::string args;      // DIR stands for a sample result folder, NONE for a missing
                         // one, FILE for a plain file (where a folder belongs)
  int status;
  const char* expected;  // text the output must hold (stdout on 0, stderr otherwise)
};

#ifndef VELTRA_EXPORT
#define VELTRA_EXPORT nullptr
#endif
#ifndef VELTRA_PLOT
#define VELTRA_PLOT nullptr
#endif

TEST(ToolCommandLines, HelpVersionAndEveryWrongUse) {
  Scratch scratch;
  const std::string dir = scratch.file("portal");
  ASSERT_EQ(run_tool(std::string(VELTRA_SAMPLE) + " --kind portal --steps 4 " + dir, scratch).status, 0);
  const std::string none = scratch.file("none"), file = scratch.file("plain");
  std::ofstream(file) << "not a folder\n";

  const std::vector<Case> cases = {
      // Help and version, for each tool.
      {VELTRA_SAMPLE, "--help", 0, "--kind"},
      {VELTRA_INFO, "--help", 0, "--history"},
      {VELTRA_EXPORT, "--help", 0, "--movie"},
      {VELTRA_PLOT, "--help", 0, "--direction"},
      {VELTRA_SAMPLE, "--version", 0, "veltra-sample " VELTRA_VERSION "\n"},
      {VELTRA_INFO, "--version", 0, "veltra-info " VELTRA_VERSION "\n"},
      {VELTRA_EXPORT, "--version", 0, "veltra-export " VELTRA_VERSION "\n"},
      {VELTRA_PLOT, "--version", 0, "veltra-plot " VELTRA_VERSION "\n"},
      // An unknown option.
      {VELTRA_SAMPLE, "--shiny DIR", 2, "shiny"},
      {VELTRA_INFO, "DIR --shiny", 2, "shiny"},
      {VELTRA_EXPORT, "DIR --out f --shiny", 2, "shiny"},
      {VELTRA_PLOT, "DIR --node 1 --out p.png --shiny", 2, "shiny"},
      // Missing or surplus arguments.
      {VELTRA_SAMPLE, "DIR", 2, "--kind"},
      {VELTRA_INFO, "", 2, "DIR"},
      {VELTRA_EXPORT, "DIR", 2, "nothing to write"},
      {VELTRA_EXPORT, "DIR DIR --out f", 2, "more than one result folder"},
      {VELTRA_PLOT, "DIR --out p.png", 2, "--node"},
      // Values out of range or of the wrong kind.
      {VELTRA_SAMPLE, "--kind bridge DIR", 2, "bridge"},
      {VELTRA_SAMPLE, "--kind grid --nodes 0 DIR", 2, "--nodes"},
      {VELTRA_INFO, "DIR --step -1", 2, "--step"},
      {VELTRA_INFO, "DIR --history 2 --tables", 2, "--tables"},
      {VELTRA_INFO, "DIR --history 99", 2, "u01.unf: there is no node 99"},
      {VELTRA_EXPORT, "DIR --out f --size 12x", 2, "--size"},
      {VELTRA_EXPORT, "DIR --out f --size 100000x100000", 2,
       "--size 100000x100000: each side must be 1 to 16000 pixels"},
      {VELTRA_EXPORT, "DIR --out f --fps 0", 2, "--fps"},
      {VELTRA_EXPORT, "DIR --out f --end-step ten", 2, "--end-step"},
      {VELTRA_EXPORT, "DIR --out f --colour-scheme custom", 2, "--colour-scheme"},
      {VELTRA_EXPORT, "DIR --movie m.avi", 2, "m.avi: unknown movie format"},
      {VELTRA_EXPORT, "DIR --vtk s.vtu", 2, "--vtk: a file name ending in .pvd"},
      {VELTRA_EXPORT, "DIR --out f --colour-by stress", 2, "--colour-by: displacement, value or code"},
      {VELTRA_EXPORT, "DIR --out f --colour-map viridis", 2, "--colour-map: give --colour-by too"},
      {VELTRA_EXPORT, "DIR --out f --colour-by code --colour-map viridis", 2, "one of tab10, tab20"},
      {VELTRA_EXPORT, "DIR --out f --colour-by value --colour-map tab10", 2, "one of viridis,"},
      {VELTRA_EXPORT, "DIR --out f --colour-by value --colour-range 1:1", 2, "MIN below MAX"},
      {VELTRA_EXPORT, "DIR --out f --colour-by value --colour-range 0:nan", 2, "--colour-range"},
      {VELTRA_INFO, "DIR --csv", 2, "--step"},
      {VELTRA_INFO, "DIR --step 1 --elements", 2, "--csv"},
      {VELTRA_INFO, "DIR --step 9 --csv", 2, "--step 9: the problem has steps 0 to 4"},
      {VELTRA_PLOT, "DIR --node 1 --out p.jpg", 2, "p.jpg: unknown picture format"},
      {VELTRA_PLOT, "DIR --node 1 --direction 3 --out p.png", 2, "directions 1 to 2"},
      {VELTRA_PLOT, "DIR --node x --out p.png", 2, "--node"},
      {VELTRA_PLOT, "DIR --node 1 --out p.png --size 99x600", 2, "--size"},
      // The help pages tell the exit statuses.
      {VELTRA_SAMPLE, "--help", 0, "  1  the work failed: "},
      {VELTRA_INFO, "--help", 0, "  2  a wrong command line"},
      {VELTRA_EXPORT, "--help", 0, "  1  the work failed: "},
      {VELTRA_PLOT, "--help", 0, "  2  a wrong command line"},
      // A result folder that is not there.
      {VELTRA_INFO, "NONE", 1, "NONE: missing needed files: comdin.dat"},
      {VELTRA_EXPORT, "NONE --out f", 1, "NONE: missing needed files: comdin.dat"},
      {VELTRA_PLOT, "NONE --node 1 --out p.png", 1, "NONE: missing needed files: comdin.dat"},
      // A name with control bytes: escaped, the message one line.
      {VELTRA_INFO, "\"$(printf 'red\\033[31m\\nname')\"", 1, "red\\x1b[31m\\nname: missing needed files"},
      // An output that cannot be written.
      {VELTRA_SAMPLE, "--kind portal FILE/portal", 1, "FILE/portal: cannot be created"},
      {VELTRA_INFO, "DIR >/dev/full", 1, "standard output: cannot be written"},
      {VELTRA_EXPORT, "DIR --out FILE/frames", 1, "FILE/frames: the output folder cannot be made"},
      {VELTRA_EXPORT, "DIR --movie FILE/m.gif", 1, "FILE/m.gif: cannot be written"},
      {VELTRA_PLOT, "DIR --node 1 --out FILE/p.svg", 1, "FILE/p.svg: cannot be written"},
  };
  // The expected texts name the missing folder and the plain file; "DIR"
  // there is the word of the usage line.
  auto place = [&](std::string text, bool with_dir) {
    std::vector<std::pair<std::string, std::string>> marks = {{"NONE", none}, {"FILE", file}};
    if (with_dir) marks.emplace_back("DIR", dir);
    for (const auto& [mark, path] : marks)
      for (std::size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, mark.size(), path);
    return text;
  };
  for (const Case& c : cases) {
    if (c.tool == nullptr) continue;
    const std::string command = std::string(c.tool) + " " + place(c.args, true);
    const ToolRun run = run_tool("cd " + scratch.path() + " && (" + command + ")", scratch);
    EXPECT_EQ(run.status, c.status) << command << "\n" << run.err;
    const std::string& text = c.status == 0 ? run.out : run.err;
    EXPECT_NE(text.find(place(c.expected, false)), std::string::npos) << command << "\n" << text;
    if (c.status != 0) {
      const std::string program = std::filesystem::path(c.tool).filename().string();
      EXPECT_EQ(run.err.rfind(program + ": ", 0), 0u) << command << "\n" << run.err;
      EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << command << "\n" << run.err;
      EXPECT_TRUE(run.out.empty()) << command;
    }
  }
}

}  // namespace
