// The in-memory problem model: the control data of comdin.dat and the
// geometry of x.unf and nei.unf, for one result folder.
//
// A Problem is built whole by one loading pass and then shared read-only
// (std::shared_ptr<const Problem>): a run keeps the problem it started with,
// so loading another problem never changes or frees what an older run draws.
// Tables are sized for this problem alone. Node and element numbers are
// 1-based in the accessors, as in the files.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct ProblemControl {
  std::int32_t node_count = 0;
  std::int32_t restrained_count = 0;
  std::int32_t elastic_count = 0;
  std::int32_t element_count = 0;
  std::int32_t NGL = 0;              // coordinates per node: 2 plane, 3 spatial
  std::int32_t incidence_width = 0;  // integers per node record of nei.unf
  float time_step = 0;
  float end_time = 0;
  std::int32_t step_count = 0;       // number of the last stored step (steps 0..step_count)
  std::string input_file_path;       // at most 255 characters, trailing blanks removed
  std::string problem_title;         // at most 80 characters, trailing blanks removed
  std::int32_t problem_title_length = 0;
};

// Per node: flag -1 when the node has an elastic support in some direction,
// then its non-zero elastic values in directions 1..3 (0 elsewhere).
struct ElasticSupport {
  std::int32_t flag = 0;
  float value[3] = {0, 0, 0};
};

struct Problem {
  ProblemControl control;
  std::string working_directory;  // absolute folder of the result files, no trailing '/'

  // node_count x NGL, node-major: entry (n, j) at (n - 1) * NGL + (j - 1).
  std::vector<std::int32_t> restraint_table;
  std::vector<float> elastic_values_table;
  std::vector<float> node_coords_table;

  std::vector<ElasticSupport> elastic_support;  // node_count entries, node n at n - 1
  std::vector<std::int32_t> element_node1;      // element_count entries, element e at e - 1; 0 = none
  std::vector<std::int32_t> element_node2;
  std::int32_t origin_node = 0;  // first node with all coordinates 0; 0 when none
  bool origin_is_node = false;

  std::int32_t restraint(int n, int j) const { return restraint_table[index(n, j)]; }
  float elastic_values(int n, int j) const { return elastic_values_table[index(n, j)]; }
  float node_coords(int n, int j) const { return node_coords_table[index(n, j)]; }

  // Whether element e (1-based) joins two of the problem's nodes; an element
  // with an end 0 or beyond node_count is left out of pictures and series.
  bool element_joins_nodes(int e) const {
    const std::int32_t a = element_node1[static_cast<std::size_t>(e - 1)];
    const std::int32_t b = element_node2[static_cast<std::size_t>(e - 1)];
    return a >= 1 && b >= 1 && a <= control.node_count && b <= control.node_count;
  }

  std::size_t index(int n, int j) const {
    return static_cast<std::size_t>(n - 1) * static_cast<std::size_t>(control.NGL) +
           static_cast<std::size_t>(j - 1);
  }
};

// The memory one graph of a problem takes, per node and per element: the
// problem's own tables (restraint, elastic values and coordinates of NGL
// values each, the elastic-support mark of 16 bytes) and those of a run that
// draws it (the displaced coordinates, one step's displacements and the copy
// read ahead, NGL values each, then plot_x and plot_y); per element the two
// end nodes and a run's values and codes with their read-ahead copies. The
// loading compares them with the memory at hand before it allocates.
constexpr std::int64_t graph_bytes_per_node(int ngl) { return (4 * 3 * ngl + 16) + (4 * 3 * ngl + 8); }
constexpr std::int64_t kGraphBytesPerElement = 8 + 8 + 8;

using ProblemPtr = std::shared_ptr<const Problem>;
