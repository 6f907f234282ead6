// The problem title: comment lines, the base-name rule and its info lines.
#include <gtest/gtest.h>

#include "input/problem_title.h"
#include "input_fixtures.h"

namespace {

using input_test::TempFolder;

TEST(ProblemTitle, BaseNameRule) {
  EXPECT_EQ(title_base_name("C:\\job\\beam.dat"), "beam");
  EXPECT_EQ(title_base_name("/home/user/job/beam.dat"), "beam");
  EXPECT_EQ(title_base_name("C:\\job/mixed\\frame.v2.dat"), "frame");
  EXPECT_EQ(title_base_name("C:\\ver1.2\\beam.dat"), "");  // the first point lies before the last separator
  EXPECT_EQ(title_base_name("beam.dat"), "beam");
  EXPECT_EQ(title_base_name("C:\\job\\beam"), "");  // no point at all
  EXPECT_EQ(title_base_name(std::string(200, 'a') + ".dat").size(), 128u);
}

TEST(ProblemTitle, FirstLineAfterTheCommentLines) {
  TempFolder folder;
  folder.write("beam.dat", std::string("// TARVEK input\r\n//second comment\r\n  Cantilever beam, 4 elements  \r\n"
                                       "// not a comment any more\r\n"));
  ProblemControl control;
  control.input_file_path = folder.file("beam.dat");
  std::vector<std::string> lines;
  ASSERT_TRUE(read_problem_title(folder.path(), &control, &lines).is_ok());
  EXPECT_EQ(control.problem_title, "  Cantilever beam, 4 elements");
  EXPECT_EQ(control.problem_title_length, 29);
  EXPECT_TRUE(lines.empty());

  // A long title is cut to 80 characters; a relative name is found in the
  // working directory, in any letter case.
  folder.write("FRAME.DAT", std::string(100, 'T') + "\n");
  control.input_file_path = "frame.dat";
  ASSERT_TRUE(read_problem_title(folder.path(), &control, &lines).is_ok());
  EXPECT_EQ(control.problem_title, std::string(80, 'T'));
  EXPECT_EQ(control.problem_title_length, 80);
}

TEST(ProblemTitle, InputFileNotFound) {
  TempFolder folder;
  ProblemControl control;
  control.input_file_path = "C:\\job\\beam.dat";
  std::vector<std::string> lines;
  ASSERT_TRUE(read_problem_title(folder.path(), &control, &lines).is_ok());
  EXPECT_EQ(control.problem_title, "beam");
  EXPECT_EQ(control.problem_title_length, 4);
  EXPECT_EQ(lines, (std::vector<std::string>{" Input File Not Found: C:\\job\\beam.dat",
                                             " Problem title is set as: beam"}));

  lines.clear();
  control.input_file_path = "C:\\ver1.2\\beam.dat";
  ASSERT_TRUE(read_problem_title(folder.path(), &control, &lines).is_ok());
  EXPECT_EQ(control.problem_title, "");
  EXPECT_EQ(control.problem_title_length, 0);
  EXPECT_EQ(lines, (std::vector<std::string>{" Input File Not Found: C:\\ver1.2\\beam.dat",
                                             " Problem title is set as: "}));

  lines.clear();
  control.input_file_path = folder.file("missing/job.dat");
  ASSERT_TRUE(read_problem_title(folder.path(), &control, &lines).is_ok());
  EXPECT_EQ(control.problem_title, "job");
}

TEST(ProblemTitle, OnlyCommentLinesIsAReadError) {
  TempFolder folder;
  folder.write("c.dat", std::string("// one\n// two\n"));
  ProblemControl control;
  control.input_file_path = folder.file("c.dat");
  std::vector<std::string> lines;
  EXPECT_EQ(read_problem_title(folder.path(), &control, &lines).message(),
            "c.dat: the file ends before the problem title");
  folder.write("e.dat", std::string());
  control.input_file_path = folder.file("e.dat");
  EXPECT_EQ(read_problem_title(folder.path(), &control, &lines).message(),
            "e.dat: the file ends before the problem title");
}

}  // namespace
