// veltra-sample's writer writes a result folder; the loader and the step
// records read back exactly what was written.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <set>
#include <thread>

#include "input/load_problem.h"
#include "input/required_files.h"
#include "input/step_records.h"
#include "input_fixtures.h"
#include "sample_model.h"
#include "sample_writer.h"

namespace {

using input_test::TempFolder;

void expect_round_trip(const sample::SampleModel& model) {
  TempFolder folder;
  ASSERT_TRUE(sample::write_sample(model, folder.path()).is_ok());
  ASSERT_TRUE(check_required_files(folder.file("comdin.dat")).all_present);
  LoadResult loaded = load_problem(folder.path());
  ASSERT_TRUE(loaded.status.is_ok()) << loaded.status.message();
  EXPECT_TRUE(loaded.info_lines.empty());
  const Problem& p = *loaded.problem;
  const ProblemControl& c = p.control;
  const int ngl = model.NGL;

  EXPECT_EQ(c.node_count, model.node_count());
  EXPECT_EQ(c.element_count, model.element_count());
  EXPECT_EQ(c.restrained_count, static_cast<std::int32_t>(model.restraints.size()));
  EXPECT_EQ(c.elastic_count, static_cast<std::int32_t>(model.elastic.size()));
  EXPECT_EQ(c.NGL, ngl);
  EXPECT_EQ(c.incidence_width, model.incidence_width);
  EXPECT_EQ(c.time_step, model.time_step);
  EXPECT_EQ(c.end_time, static_cast<float>(model.last_step) * model.time_step);
  EXPECT_EQ(c.step_count, model.last_step);
  EXPECT_EQ(c.input_file_path, folder.file(sample::input_file_name(model)));
  EXPECT_EQ(c.problem_title, model.title);
  EXPECT_EQ(c.problem_title_length, static_cast<std::int32_t>(model.title.size()));

  EXPECT_EQ(p.node_coords_table, model.coords);
  for (const sample::RestraintList& list : model.restraints) {
    for (int j = 1; j <= ngl; ++j) EXPECT_EQ(p.restraint(list.node, j), list.code[j - 1]);
  }
  std::set<std::int32_t> springs;
  for (const sample::ElasticList& list : model.elastic) {
    springs.insert(list.node);
    for (int j = 1; j <= ngl; ++j) {
      EXPECT_EQ(p.elastic_values(list.node, j), list.value[j - 1]);
      EXPECT_EQ(p.elastic_support[list.node - 1].value[j - 1], list.value[j - 1]);
    }
  }
  for (std::int32_t n = 1; n <= c.node_count; ++n) {
    EXPECT_EQ(p.elastic_support[n - 1].flag, springs.count(n) ? -1 : 0) << n;
  }
  for (std::int32_t e = 1; e <= c.element_count; ++e) {
    EXPECT_EQ(p.element_node1[e - 1], model.elements[e - 1][0]) << e;
    EXPECT_EQ(p.element_node2[e - 1], model.elements[e - 1][1]) << e;
  }

  StepRecords records(p);
  ASSERT_TRUE(records.open_u01().is_ok());
  std::vector<float> read, expected, value, expected_value;
  std::vector<std::int32_t> code, expected_code;
  for (std::int32_t s = 0; s <= c.step_count; ++s) {
    ASSERT_TRUE(records.read_node_step(s, &read).is_ok());
    sample::step_displacements(model, s, &expected);
    ASSERT_EQ(read, expected) << "step " << s;
    ASSERT_TRUE(records.read_element_step(s, &value, &code).is_ok());
    sample::element_states(model, expected, &expected_value, &expected_code);
    ASSERT_EQ(value, expected_value) << "step " << s;
    ASSERT_EQ(code, expected_code) << "step " << s;
  }
  EXPECT_FALSE(records.read_node_step(c.step_count + 1, &read).is_ok());
}

TEST(SampleRoundTrip, Portal) {
  sample::SampleModel model = sample::make_sample(sample::Kind::portal);
  EXPECT_EQ(model.NGL, 2);
  EXPECT_EQ(model.coord(1, 1), 0.0f);
  EXPECT_EQ(model.coord(1, 2), 0.0f);
  expect_round_trip(model);
}

TEST(SampleRoundTrip, SpaceFrame) {
  sample::SampleModel model = sample::make_sample(sample::Kind::space, {.steps = 40});
  EXPECT_EQ(model.NGL, 3);
  expect_round_trip(model);
}

TEST(SampleRoundTrip, CantileverWithNoNodeAtTheOrigin) {
  sample::SampleModel model = sample::make_sample(sample::Kind::cantilever);
  expect_round_trip(model);
  TempFolder folder;
  ASSERT_TRUE(sample::write_sample(model, folder.path()).is_ok());
  LoadResult loaded = load_problem(folder.path());
  ASSERT_TRUE(loaded.status.is_ok());
  EXPECT_EQ(loaded.problem->origin_node, 0);
  EXPECT_EQ(loaded.problem->control.problem_title, "Cantilever beam, 4 elements");
}

TEST(SampleRoundTrip, Grid) { expect_round_trip(sample::make_sample(sample::Kind::grid, {.steps = 4, .nodes = 157})); }

TEST(SampleModels, VibrationLooksRealAndEveryLineStyleOccurs) {
  for (sample::Kind kind : {sample::Kind::portal, sample::Kind::space, sample::Kind::cantilever}) {
    sample::SampleModel model = sample::make_sample(kind);
    float size = 0, largest = 0;
    for (float v : model.coords) size = std::max(size, std::fabs(v));
    bool solid = false, dashed = false, dotted = false;
    std::vector<float> d, value;
    std::vector<std::int32_t> code;
    for (std::int32_t s = 0; s <= model.last_step; ++s) {
      sample::step_displacements(model, s, &d);
      for (float v : d) largest = std::max(largest, std::fabs(v));
      sample::element_states(model, d, &value, &code);
      for (std::size_t e = 0; e < value.size(); ++e) {
        solid = solid || value[e] != 0;
        dashed = dashed || (value[e] == 0 && code[e] == -1);
        dotted = dotted || (value[e] == 0 && code[e] != -1);
      }
    }
    EXPECT_GT(largest, 0.01f * size) << sample::kind_name(kind);
    EXPECT_LT(largest, 0.10f * size) << sample::kind_name(kind);
    EXPECT_TRUE(solid && dashed && dotted) << sample::kind_name(kind);
  }
}

}  // namespace

namespace {

// Two runs load and read different folders at the same time, each with
// its own problem and connections.
TEST(SampleRoundTrip, OverlappingRunsKeepTheirOwnProblems) {
  TempFolder portal, space;
  sample::SampleModel portal_model = sample::make_sample(sample::Kind::portal, {.steps = 30});
  sample::SampleModel space_model = sample::make_sample(sample::Kind::space, {.steps = 30});
  ASSERT_TRUE(sample::write_sample(portal_model, portal.path()).is_ok());
  ASSERT_TRUE(sample::write_sample(space_model, space.path()).is_ok());
  auto run = [](const std::string& folder, const sample::SampleModel* model, bool* ok) {
    *ok = false;
    LoadResult loaded = load_problem(folder);
    if (!loaded.status.is_ok()) return;
    ProblemPtr problem = loaded.problem;
    StepRecords records(*problem);
    if (!records.open_u01().is_ok()) return;
    std::vector<float> read, expected;
    for (std::int32_t s = 0; s <= problem->control.step_count; ++s) {
      if (!records.read_node_step(s, &read).is_ok()) return;
      sample::step_displacements(*model, s, &expected);
      if (read != expected) return;
    }
    *ok = problem->control.NGL == model->NGL;
  };
  bool portal_ok = false, space_ok = false;
  std::thread first(run, portal.path(), &portal_model, &portal_ok);
  std::thread second(run, space.path(), &space_model, &space_ok);
  first.join();
  second.join();
  EXPECT_TRUE(portal_ok);
  EXPECT_TRUE(space_ok);
}

}  // namespace
