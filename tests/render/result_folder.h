// Writes a tiny result folder (comdin.dat, x.unf, nei.unf, u01.unf, el.unf)
// for a Problem value and per-step records, for tests that read files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "input/problem.h"

namespace render_test {

// A folder name under /tmp of this test process alone, so that tests run in
// parallel (and other checkouts' tests) never share one.
inline std::string scratch_path(const std::string& name) {
  return "/tmp/veltra-" + name + "-" + std::to_string(::getpid());
}

// Removes every scratch folder of this process when the tests end.
class ScratchCleanup : public ::testing::Environment {
 public:
  void TearDown() override {
    const std::string suffix = "-" + std::to_string(::getpid());
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/tmp", error)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("veltra-", 0) == 0 && name.size() > suffix.size() &&
          name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
        std::filesystem::remove_all(entry.path(), error);
    }
  }
};
inline ::testing::Environment* const scratch_cleanup =
    ::testing::AddGlobalTestEnvironment(new ScratchCleanup);


struct StepData {
  std::vector<float> displacements;   // node_count x NGL
  std::vector<float> values;          // element_count
  std::vector<std::int32_t> codes;    // element_count
};

namespace detail {
inline void put(std::ofstream& f, const void* data, std::size_t bytes) {
  f.write(static_cast<const char*>(data), static_cast<std::streamsize>(bytes));
}
inline void zeros(std::ofstream& f, std::size_t bytes) {
  static const char none[256] = {};
  while (bytes > 0) {
    const std::size_t n = bytes < sizeof none ? bytes : sizeof none;
    f.write(none, static_cast<std::streamsize>(n));
    bytes -= n;
  }
}
inline std::string reals(int count) {
  std::string line;
  for (int i = 0; i < count; ++i) line += " 0.0";
  return line + "\n";
}
}  // namespace detail

// `steps` holds steps 0, 1, ...; the title comes from the name of a missing
// input file.
inline void write_result_folder(const std::string& dir, const Problem& p, const std::vector<StepData>& steps,
                                const std::string& title = "frame") {
  namespace fs = std::filesystem;
  fs::remove_all(dir);
  fs::create_directories(dir);
  const ProblemControl& c = p.control;
  const int n = c.node_count, g = c.NGL, e = c.element_count;
  {
    std::ofstream f(dir + "/comdin.dat");
    int restrained = 0, elastic = 0;
    std::string lists, springs;
    for (int k = 1; k <= n; ++k) {
      bool any = false, any_spring = false;
      std::string line = " " + std::to_string(k), sline = " " + std::to_string(k);
      for (int j = 1; j <= g; ++j) {
        line += " " + std::to_string(p.restraint(k, j));
        any = any || p.restraint(k, j) != 0;
        char v[32];
        std::snprintf(v, sizeof v, " %.6f", static_cast<double>(p.elastic_values(k, j)));
        sline += v;
        any_spring = any_spring || p.elastic_values(k, j) != 0;
      }
      if (any) ++restrained, lists += line + "\n";
      if (any_spring) ++elastic, springs += sline + "\n";
    }
    f << " " << n << " " << restrained << " " << elastic << " " << e << " " << g << " 2 0 0\n";
    f << lists << springs;
    char time[128];
    std::snprintf(time, sizeof time, " 1 %.6f %.6f 1 0.0 1 0.0\n", static_cast<double>(c.time_step),
                  static_cast<double>(c.time_step) * (steps.size() - 1));
    f << time;
    f << " 1 0.0 0.0 " << steps.size() << "\n";
    f << " 0.0 0.0 0.0 0.0 1\n";
    for (int i = 0; i < 3; ++i) f << detail::reals(3);
    for (int i = 0; i < 6; ++i) f << detail::reals(25);
    f << " 0.0 0.0 0.0 0.0 0.0 0 0 0 0 0\n";
    f << "/nowhere/" << title << ".dat\nx\nx\n" << "a\nb\nc\n" << "English\n";
  }
  {
    std::ofstream f(dir + "/x.unf", std::ios::binary);
    for (int k = 1; k <= n; ++k) {
      for (int j = 1; j <= g; ++j) {
        const float v = p.node_coords(k, j);
        detail::put(f, &v, 4);
      }
      detail::zeros(f, 12 * static_cast<std::size_t>(g));
    }
  }
  {
    std::ofstream f(dir + "/nei.unf", std::ios::binary);
    for (int k = 1; k <= n; ++k) {
      // One pair per node is enough when every node starts at most one
      // element and ends at most one.
      std::int32_t pair[2] = {0, 0};
      for (int el = 1; el <= e; ++el) {
        if (p.element_node1[el - 1] == k) pair[0] = el;
        if (p.element_node2[el - 1] == k) pair[1] = el;
      }
      const std::int32_t length = 8;
      detail::put(f, &length, 4);
      detail::put(f, pair, 8);
      detail::put(f, &length, 4);
    }
  }
  {
    std::ofstream u(dir + "/u01.unf", std::ios::binary), el(dir + "/el.unf", std::ios::binary);
    for (const StepData& s : steps) {
      for (int k = 0; k < n; ++k) {
        detail::put(u, s.displacements.data() + k * g, 4 * static_cast<std::size_t>(g));
        detail::zeros(u, 28 * static_cast<std::size_t>(g));
      }
      for (int k = 0; k < e; ++k) {
        detail::zeros(el, 4 * static_cast<std::size_t>(g) + 4);
        detail::put(el, &s.values[k], 4);
        detail::put(el, &s.codes[k], 4);
        detail::zeros(el, 12 * static_cast<std::size_t>(g) + 100);
      }
    }
  }
}

}  // namespace render_test
