// x.unf and nei.unf: origin node, incidence, elastic marks, and the checks
// of counts against what the files hold.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>

#include "input/load_problem.h"
#include "input_fixtures.h"

namespace {

using input_test::comdin;
using input_test::nei_file;
using input_test::TempFolder;
using input_test::x_file;

std::string sizes(int nodes, int restrained, int elastic, int elements, int ngl, int width) {
  return " " + std::to_string(nodes) + " " + std::to_string(restrained) + " " + std::to_string(elastic) + " " +
         std::to_string(elements) + " " + std::to_string(ngl) + " " + std::to_string(width) + " 1 1";
}

// A folder with the four files (u01.unf empty) of a model.
void write_model(const TempFolder& folder, const std::string& comdin_text, int ngl,
                 const std::vector<std::vector<float>>& nodes, const std::vector<std::vector<std::int32_t>>& records) {
  folder.write("comdin.dat", comdin_text);
  folder.write("x.unf", x_file(ngl, nodes));
  folder.write("nei.unf", nei_file(records));
  folder.write("u01.unf", std::string());
}

TEST(Geometry, PlaneOriginAndIncidenceExample) {
  TempFolder folder;
  write_model(folder, comdin(sizes(3, 0, 0, 2, 2, 4), ""), 2, {{1, 1}, {0, 0}, {0, 2}},
              {{1, 0, 0, 0}, {2, 1, 0, 0}, {0, 2, 0, 0}});
  LoadResult loaded = load_problem(folder.path());
  ASSERT_TRUE(loaded.status.is_ok()) << loaded.status.message();
  const Problem& p = *loaded.problem;
  EXPECT_EQ(p.working_directory, folder.path());
  EXPECT_EQ(p.origin_node, 2);
  EXPECT_TRUE(p.origin_is_node);
  EXPECT_EQ(p.element_node1, (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(p.element_node2, (std::vector<std::int32_t>{2, 3}));
  EXPECT_EQ(p.node_coords(3, 2), 2.0f);
  EXPECT_EQ(p.control.step_count, 10);
  // The input file does not exist: the title comes from its name.
  EXPECT_EQ(loaded.info_lines, (std::vector<std::string>{" Input File Not Found: /nowhere/beam.dat",
                                                         " Problem title is set as: beam"}));
  EXPECT_EQ(p.control.problem_title, "beam");
}

TEST(Geometry, NoOriginAndSpatialOrigin) {
  TempFolder plane;
  write_model(plane, comdin(sizes(2, 0, 0, 0, 2, 0), ""), 2, {{1, 0}, {0, 1}}, {{}, {}});
  LoadResult loaded = load_problem(plane.path());
  ASSERT_TRUE(loaded.status.is_ok()) << loaded.status.message();
  EXPECT_EQ(loaded.problem->origin_node, 0);
  EXPECT_FALSE(loaded.problem->origin_is_node);

  TempFolder space;
  write_model(space, comdin(sizes(3, 0, 0, 0, 3, 0), ""), 3, {{0, 0, 5}, {0, -0.0f, 0}, {0, 0, 0}}, {{}, {}, {}});
  loaded = load_problem(space.path());
  ASSERT_TRUE(loaded.status.is_ok()) << loaded.status.message();
  EXPECT_EQ(loaded.problem->origin_node, 2);  // -0 equals 0
}

TEST(Geometry, HighestNodeWinsOddWidthAndExtraRecordData) {
  TempFolder folder;
  // Width 3: the third integer of each record is not used; records carry
  // two further integers, which are skipped.
  write_model(folder, comdin(sizes(3, 0, 0, 3, 2, 3), ""), 2, {{0, 0}, {1, 0}, {2, 0}},
              {{1, 2, 3, 99, 99}, {1, 0, 3, 99, 99}, {0, 2, 0, 99, 99}});
  LoadResult loaded = load_problem(folder.path());
  ASSERT_TRUE(loaded.status.is_ok()) << loaded.status.message();
  EXPECT_EQ(loaded.problem->element_node1, (std::vector<std::int32_t>{2, 0, 0}));
  EXPECT_EQ(loaded.problem->element_node2, (std::vector<std::int32_t>{0, 3, 0}));

  TempFolder narrow;
  write_model(narrow, comdin(sizes(2, 0, 0, 1, 2, 1), ""), 2, {{0, 0}, {1, 0}}, {{1}, {1}});
  loaded = load_problem(narrow.path());
  ASSERT_TRUE(loaded.status.is_ok()) << loaded.status.message();
  EXPECT_EQ(loaded.problem->element_node1, std::vector<std::int32_t>{0});
  EXPECT_EQ(loaded.problem->element_node2, std::vector<std::int32_t>{0});
}

TEST(Geometry, RestraintTablesAndElasticMarks) {
  TempFolder folder;
  const std::string lists =
      " 1 1 1 0\n"
      " 1 0.0 0.0 0.0\n"    // all zero: not marked
      " 2 0.0 4.5E4 0.0\n"  // direction 2 only
      " 3 NaN 0 0\n";       // not a number counts as not 0
  write_model(folder, comdin(sizes(3, 1, 3, 0, 3, 0), lists), 3, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, {{}, {}, {}});
  LoadResult loaded = load_problem(folder.path());
  ASSERT_TRUE(loaded.status.is_ok()) << loaded.status.message();
  const Problem& p = *loaded.problem;
  EXPECT_EQ(p.restraint(1, 1), 1);
  EXPECT_EQ(p.restraint(1, 3), 0);
  EXPECT_EQ(p.restraint(2, 1), 0);
  EXPECT_EQ(p.elastic_support[0].flag, 0);
  EXPECT_EQ(p.elastic_support[1].flag, -1);
  EXPECT_EQ(p.elastic_support[1].value[0], 0.0f);
  EXPECT_EQ(p.elastic_support[1].value[1], 4.5e4f);
  EXPECT_EQ(p.elastic_support[1].value[2], 0.0f);
  EXPECT_EQ(p.elastic_support[2].flag, -1);
  EXPECT_TRUE(std::isnan(p.elastic_support[2].value[0]));
}

TEST(Geometry, ShortFilesAreReadErrorsNamingTheFile) {
  TempFolder folder;
  write_model(folder, comdin(sizes(3, 0, 0, 2, 2, 4), ""), 2, {{0, 0}, {1, 0}},
              {{1, 0, 0, 0}, {2, 1, 0, 0}, {0, 2, 0, 0}});
  EXPECT_EQ(load_problem(folder.path()).status.message(), "x.unf: 2 records, 3 needed");

  folder.write("x.unf", x_file(2, {{0, 0}, {1, 0}, {2, 0}}));
  folder.write("nei.unf", nei_file({{1, 0, 0, 0}, {2, 1, 0}, {0, 2, 0, 0, 0}}));
  EXPECT_EQ(load_problem(folder.path()).status.message(), "nei.unf: the record of node 2 holds 3 integers, 4 needed");

  folder.write("nei.unf", nei_file({{1, 0, 0, 0}, {2, 1, 0, 0}}));
  EXPECT_EQ(load_problem(folder.path()).status.message(), "nei.unf: 48 bytes, too short for 3 records of 4 integers");

  // A record whose closing length marker does not match its opening one.
  std::vector<unsigned char> damaged = nei_file({{1, 0, 0, 0}, {2, 1, 0, 0}, {0, 2, 0, 0}, {0, 0, 0, 0}});
  damaged[4 + 16] = 15;
  folder.write("nei.unf", damaged);
  EXPECT_EQ(load_problem(folder.path()).status.message(),
            "nei.unf: the record of node 1 is damaged (its length markers do not match)");

  std::filesystem::remove(folder.file("x.unf"));
  EXPECT_EQ(load_problem(folder.path()).status.message(), "x.unf: not found in " + folder.path());
}

TEST(Geometry, HugeCountsGiveReadErrorsWithoutAllocating) {
  TempFolder folder;
  auto start = std::chrono::steady_clock::now();
  write_model(folder, comdin(sizes(2000000000, 0, 0, 0, 3, 4), ""), 3, {{0, 0, 0}}, {{0, 0, 0, 0}});
  EXPECT_EQ(load_problem(folder.path()).status.message(), "x.unf: 1 record, 2000000000 needed");

  write_model(folder, comdin(sizes(2, 0, 0, 0, 2, 2000000000), ""), 2, {{0, 0}, {1, 0}}, {{0, 0}, {0, 0}});
  EXPECT_EQ(load_problem(folder.path()).status.message(),
            "nei.unf: 32 bytes, too short for 2 records of 2000000000 integers");

  write_model(folder, comdin(sizes(2, 0, 0, 2000000000, 2, 2), ""), 2, {{0, 0}, {1, 0}}, {{1, 0}, {0, 1}});
  EXPECT_EQ(load_problem(folder.path()).status.message(),
            "comdin.dat: element_count 2000000000 is more than el.unf and nei.unf can reference "
            "(el.unf holds 0 records, nei.unf 8 integers)");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

  // An element count backed by el.unf is accepted even when nei.unf names
  // only a few of the elements.
  folder.write("el.unf", std::string(static_cast<std::size_t>(20 * (16 * 2 + 112)), '\0'));
  write_model(folder, comdin(sizes(2, 0, 0, 20, 2, 2), ""), 2, {{0, 0}, {1, 0}}, {{1, 0}, {0, 1}});
  LoadResult loaded = load_problem(folder.path());
  ASSERT_TRUE(loaded.status.is_ok()) << loaded.status.message();
  EXPECT_EQ(loaded.problem->element_node1.size(), 20u);
}

TEST(Geometry, AnotherProblemHasArraysOfItsOwnSizes) {
  TempFolder big, small;
  write_model(big, comdin(sizes(3, 0, 0, 2, 2, 4), ""), 2, {{1, 1}, {0, 0}, {0, 2}},
              {{1, 0, 0, 0}, {2, 1, 0, 0}, {0, 2, 0, 0}});
  write_model(small, comdin(sizes(1, 0, 0, 0, 3, 0), ""), 3, {{4, 5, 6}}, {{}});
  LoadResult first = load_problem(big.path());
  LoadResult second = load_problem(small.path());
  ASSERT_TRUE(first.status.is_ok() && second.status.is_ok());
  EXPECT_EQ(second.problem->node_coords_table, (std::vector<float>{4, 5, 6}));
  EXPECT_EQ(second.problem->restraint_table.size(), 3u);
  EXPECT_TRUE(second.problem->element_node1.empty());
  EXPECT_EQ(first.problem->node_coords_table.size(), 6u);  // the first problem is untouched
}

}  // namespace
