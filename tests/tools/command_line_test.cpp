// The command lines of the four tools: --help and --version, and every kind
// of wrong use answered by one line on stderr and exit status 2.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "run_tool.h"

using namespace tools_test;

namespace {

struct Case {
  const char* tool;      // program path, nullptr when not built here
  std::string args;      // DIR stands for a sample result folder
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
      {VELTRA_INFO, "DIR --step 9 --csv", 2, "u01.unf: step 9 is beyond the end of the file"},
      {VELTRA_PLOT, "DIR --node 1 --out p.jpg", 2, "p.jpg: unknown picture format"},
      {VELTRA_PLOT, "DIR --node 1 --direction 3 --out p.png", 2, "directions 1 to 2"},
      {VELTRA_PLOT, "DIR --node x --out p.png", 2, "--node"},
  };
  for (const Case& c : cases) {
    if (c.tool == nullptr) continue;
    std::string args = c.args;
    for (std::size_t at; (at = args.find("DIR")) != std::string::npos;) args.replace(at, 3, dir);
    const std::string command = std::string(c.tool) + " " + args;
    const ToolRun run = run_tool("cd " + scratch.path() + " && " + command, scratch);
    EXPECT_EQ(run.status, c.status) << command << "\n" << run.err;
    const std::string& text = c.status == 0 ? run.out : run.err;
    EXPECT_NE(text.find(c.expected), std::string::npos) << command << "\n" << text;
    if (c.status != 0) {
      EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << command << "\n" << run.err;
      EXPECT_TRUE(run.out.empty()) << command;
    }
  }
}

}  // namespace
