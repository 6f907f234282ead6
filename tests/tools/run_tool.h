// Running the command-line tools as a user does, in a scratch folder that
// goes with the test.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tools_test {

class Scratch {
 public:
  Scratch() {
    char name[] = "/tmp/veltra-tools-XXXXXX";
    const char* made = ::mkdtemp(name);
    path_ = made != nullptr ? made : "";
  }
  ~Scratch() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

struct ToolRun {
  int status = -1;  // exit status, -1 when the program did not exit
  std::string out, err;
};

inline std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs `command` through the shell with stdout and stderr caught.
inline ToolRun run_tool(const std::string& command, const Scratch& scratch) {
  const std::string out = scratch.file(".out"), err = scratch.file(".err");
  const int status = std::system((command + " >" + out + " 2>" + err).c_str());
  ToolRun run;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = slurp(out);
  run.err = slurp(err);
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return run;
}

}  // namespace tools_test
