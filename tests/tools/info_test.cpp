// veltra-info on sample folders: the summary, the tables and a step's records
// against what the sample writer wrote, and --history against the step
// records of the same folder.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>

#include "input/load_problem.h"
#include "input/step_records.h"
#include "run_tool.h"
#include "sample_model.h"
#include "sample_writer.h"

using namespace tools_test;

namespace {

using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, std::int64_t,
                                  std::uint64_t, float>;

ToolRun info(const std::string& args, const Scratch& scratch) {
  return run_tool(std::string(VELTRA_INFO) + " " + args, scratch);
}

// The CSV of --history as rows of numbers (the header checked apart).
std::vector<std::vector<float>> read_csv(const std::string& text, std::string* header) {
  std::istringstream in(text);
  std::getline(in, *header);
  std::vector<std::vector<float>> rows;
  for (std::string line; std::getline(in, line);) {
    std::vector<float> row;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, ',');) row.push_back(std::strtof(field.c_str(), nullptr));
    rows.push_back(row);
  }
  return rows;
}

TEST(VeltraInfo, HistoryAgreesWithTheStepRecords) {
  struct Case {
    sample::Kind kind;
    std::vector<std::int32_t> nodes;  // 0 stands for the last node
    const char* header;
  };
  const Case cases[] = {
      {sample::Kind::portal, {1, 7, 0}, "t,u1,u2"},
      {sample::Kind::space, {1, 0}, "t,u1,u2,u3"},
      {sample::Kind::cantilever, {0}, "t,u1,u2"},
  };
  for (const Case& c : cases) {
    Scratch scratch;
    const std::string dir = scratch.file("result");
    ASSERT_TRUE(sample::write_sample(sample::make_sample(c.kind, {.steps = 12}), dir).is_ok());
    LoadResult loaded = load_problem(dir);
    ASSERT_TRUE(loaded.status.is_ok()) << loaded.status.message();
    const ProblemControl& control = loaded.problem->control;
    StepRecords records(*loaded.problem);
    ASSERT_TRUE(records.open_u01().is_ok());
    for (std::int32_t node : c.nodes) {
      if (node == 0) node = control.node_count;
      const ToolRun run = info(dir + " --history " + std::to_string(node), scratch);
      ASSERT_EQ(run.status, 0) << run.err;
      std::string header;
      const auto rows = read_csv(run.out, &header);
      EXPECT_EQ(header, c.header);
      ASSERT_EQ(rows.size(), static_cast<std::size_t>(control.step_count) + 1);
      std::vector<float> step;
      for (std::int32_t s = 0; s <= control.step_count; ++s) {
        ASSERT_TRUE(records.read_node_step(s, &step).is_ok());
        ASSERT_EQ(rows[s].size(), static_cast<std::size_t>(control.NGL) + 1);
        EXPECT_EQ(rows[s][0], records.step_time(s));
        for (int j = 1; j <= control.NGL; ++j)
          EXPECT_EQ(rows[s][j], step[loaded.problem->index(node, j)])
              << sample::kind_name(c.kind) << " node " << node << " step " << s << " direction " << j;
      }
      // The records of one step as veltra-info --step prints them.
      const ToolRun at = info(dir + " --step 7", scratch);
      ASSERT_EQ(at.status, 0) << at.err;
      const Json json = Json::parse(at.out);
      for (int j = 1; j <= control.NGL; ++j)
        EXPECT_EQ(json["displacements"][node - 1][j - 1].get<float>(), rows[7][j]);
    }
  }
}

// --step S --csv and --csv --elements hold every node and element of the
// step with the values --tables --step S prints as JSON, bit for bit.
TEST(VeltraInfo, StepCsvAgreesWithStepJson) {
  for (const sample::Kind kind : {sample::Kind::portal, sample::Kind::space}) {
    SCOPED_TRACE(sample::kind_name(kind));
    Scratch scratch;
    const std::string dir = scratch.file("result");
    ASSERT_TRUE(sample::write_sample(sample::make_sample(kind, {.steps = 12}), dir).is_ok());
    const ToolRun json_run = info(dir + " --tables --step 9", scratch);
    ASSERT_EQ(json_run.status, 0) << json_run.err;
    const Json json = Json::parse(json_run.out);
    const int ngl = json["NGL"];

    const ToolRun nodes_run = info(dir + " --step 9 --csv", scratch);
    ASSERT_EQ(nodes_run.status, 0) << nodes_run.err;
    std::string header;
    const auto nodes = read_csv(nodes_run.out, &header);
    EXPECT_EQ(header, ngl == 2 ? "node,x1,x2,u1,u2" : "node,x1,x2,x3,u1,u2,u3");
    ASSERT_EQ(nodes.size(), json["node_count"].get<std::size_t>());
    for (std::size_t n = 0; n < nodes.size(); ++n) {
      ASSERT_EQ(nodes[n].size(), 1 + 2 * static_cast<std::size_t>(ngl));
      EXPECT_EQ(nodes[n][0], static_cast<float>(n + 1));
      for (int j = 0; j < ngl; ++j) {
        EXPECT_EQ(nodes[n][1 + j], json["node_coords"][n][j].get<float>()) << "node " << n + 1;
        EXPECT_EQ(nodes[n][1 + ngl + j], json["displacements"][n][j].get<float>()) << "node " << n + 1;
      }
    }

    const ToolRun elements_run = info(dir + " --step 9 --csv --elements", scratch);
    ASSERT_EQ(elements_run.status, 0) << elements_run.err;
    const auto elements = read_csv(elements_run.out, &header);
    EXPECT_EQ(header, "element,node1,node2,value,code");
    ASSERT_EQ(elements.size(), json["element_count"].get<std::size_t>());
    for (std::size_t e = 0; e < elements.size(); ++e) {
      const std::vector<float> expected = {static_cast<float>(e + 1), json["element_node1"][e].get<float>(),
                                           json["element_node2"][e].get<float>(),
                                           json["element_value"][e].get<float>(),
                                           json["element_code"][e].get<float>()};
      EXPECT_EQ(elements[e], expected) << "element " << e + 1;
    }
  }
}

TEST(VeltraInfo, SummaryTablesStepAndErrors) {
  Scratch scratch;
  const std::string dir = scratch.file("cantilever");
  const sample::SampleModel model = sample::make_sample(sample::Kind::cantilever, {.steps = 10});
  ASSERT_TRUE(sample::write_sample(model, dir).is_ok());

  ToolRun run = info(dir, scratch);
  ASSERT_EQ(run.status, 0) << run.err;
  Json summary = Json::parse(run.out);
  EXPECT_EQ(summary["node_count"], 5);
  EXPECT_EQ(summary["element_count"], 4);
  EXPECT_EQ(summary["NGL"], 2);
  EXPECT_EQ(summary["step_count"], 10);
  EXPECT_EQ(summary["stored_steps"], 11);
  EXPECT_EQ(summary["time_step"].get<float>(), model.time_step);
  EXPECT_EQ(summary["problem_title"], "Cantilever beam, 4 elements");
  EXPECT_FALSE(summary.contains("node_coords"));
  for (int j = 0; j < 2; ++j) {
    float low = INFINITY, high = -INFINITY;
    for (std::int32_t n = 1; n <= model.node_count(); ++n)
      low = std::min(low, model.coord(n, j + 1)), high = std::max(high, model.coord(n, j + 1));
    EXPECT_EQ(summary["extents"]["min"][j].get<float>(), low);
    EXPECT_EQ(summary["extents"]["max"][j].get<float>(), high);
  }
  // The largest displacement, found here by looking at every value written.
  float largest = -1, value = 0;
  int node = 0, direction = 0, at_step = 0;
  std::vector<float> d;
  for (std::int32_t s = 0; s <= model.last_step; ++s) {
    sample::step_displacements(model, s, &d);
    for (std::size_t i = 0; i < d.size(); ++i)
      if (std::fabs(d[i]) > largest)
        largest = std::fabs(d[i]), value = d[i], node = static_cast<int>(i / 2) + 1,
        direction = static_cast<int>(i % 2) + 1, at_step = s;
  }
  EXPECT_EQ(summary["largest_displacement"]["value"].get<float>(), value);
  EXPECT_EQ(summary["largest_displacement"]["node"], node);
  EXPECT_EQ(summary["largest_displacement"]["direction"], direction);
  EXPECT_EQ(summary["largest_displacement"]["step"], at_step);

  run = info(dir + " --tables --step 10", scratch);
  ASSERT_EQ(run.status, 0) << run.err;
  Json full = Json::parse(run.out);
  EXPECT_EQ(full["origin_node"], 0);
  EXPECT_EQ(full["element_node1"], Json({1, 2, 3, 4}));
  EXPECT_EQ(full["step_time"].get<float>(), step_time(10, model.time_step));
  sample::step_displacements(model, 10, &d);
  EXPECT_EQ(full["displacements"][4], Json({d[8], d[9]}));

  run = info(dir + " --step 11", scratch);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "veltra-info: --step 11: the problem has steps 0 to 10\n");
  std::filesystem::remove(dir + "/nei.unf");
  run = info(dir, scratch);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "veltra-info: " + dir + ": missing needed files: nei.unf\n");
}

}  // namespace
