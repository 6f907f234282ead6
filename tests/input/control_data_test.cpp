// comdin.dat: the groups, the lists, counts, and the errors naming the file.
#include <gtest/gtest.h>

#include <chrono>

#include "input/control_data.h"
#include "input_fixtures.h"

namespace {

using input_test::comdin;
using input_test::TempFolder;

Status read(const TempFolder& folder, ControlData* data) { return read_control_data(folder.path(), data); }

TEST(ControlData, SizesTimesAndNoLists) {
  TempFolder folder;
  folder.write("comdin.dat", comdin(" 3 0 0 2 2 4 1 1", "", 21, "/job/beam.dat", 0.5f));
  ControlData data;
  ASSERT_TRUE(read(folder, &data).is_ok()) << read(folder, &data).message();
  const ProblemControl& c = data.control;
  EXPECT_EQ(c.node_count, 3);
  EXPECT_EQ(c.restrained_count, 0);
  EXPECT_EQ(c.elastic_count, 0);
  EXPECT_EQ(c.element_count, 2);
  EXPECT_EQ(c.NGL, 2);
  EXPECT_EQ(c.incidence_width, 4);
  EXPECT_EQ(c.time_step, 0.5f);
  EXPECT_EQ(c.end_time, 10.0f);
  EXPECT_EQ(c.step_count, 20);  // the last stored step
  EXPECT_EQ(c.input_file_path, "/job/beam.dat");
  EXPECT_TRUE(data.restraint_rows.empty());
  EXPECT_TRUE(data.elastic_rows.empty());
  EXPECT_EQ(data.file_name, "comdin.dat");
}

TEST(ControlData, ListsOverLinesOverwritesNullsAndOutsideNodes) {
  TempFolder folder;
  const std::string lists =
      " 2 1\n 0\n"      // node 2 written over two lines
      " 3 1 1\n"
      " 3,,5\n"         // node 3 again: a null keeps the earlier 1
      " 9 1 1\n"        // outside 1..3: read, not kept
      " 1 0.0 2.5E3\n"  // elastic lists
      " 1 1.0 /\n";     // a slash keeps the earlier 2.5E3
  folder.write("comdin.dat", comdin(" 3 4 2 2 2 4 1 1", lists));
  ControlData data;
  ASSERT_TRUE(read(folder, &data).is_ok()) << read(folder, &data).message();
  ASSERT_EQ(data.restraint_rows.size(), 2u);
  EXPECT_EQ(data.restraint_rows.at(2)[0], 1);
  EXPECT_EQ(data.restraint_rows.at(2)[1], 0);
  EXPECT_EQ(data.restraint_rows.at(3)[0], 1);
  EXPECT_EQ(data.restraint_rows.at(3)[1], 5);
  ASSERT_EQ(data.elastic_rows.size(), 1u);
  EXPECT_EQ(data.elastic_rows.at(1)[0], 1.0f);
  EXPECT_EQ(data.elastic_rows.at(1)[1], 2500.0f);
}

TEST(ControlData, NegativeSizesCountAsZeroAndCrLfReadsAlike) {
  TempFolder folder;
  std::string text = comdin(" -3 -1 -2 -5 2 -4 0 0", "", -7);
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  folder.write("comdin.dat", crlf);
  ControlData data;
  ASSERT_TRUE(read(folder, &data).is_ok()) << read(folder, &data).message();
  EXPECT_EQ(data.control.node_count, 0);
  EXPECT_EQ(data.control.restrained_count, 0);
  EXPECT_EQ(data.control.elastic_count, 0);
  EXPECT_EQ(data.control.element_count, 0);
  EXPECT_EQ(data.control.incidence_width, 0);
  EXPECT_EQ(data.control.step_count, -1);  // no stored step at all
  EXPECT_EQ(data.control.input_file_path, "/nowhere/beam.dat");  // no CR left in the text
}

TEST(ControlData, FoundInAnyLetterCase) {
  TempFolder folder;
  folder.write("COMDIN.DAT", comdin(" 1 0 0 0 4 2 0 0", ""));
  ControlData data;
  Status status = read(folder, &data);
  EXPECT_EQ(status.message(), "COMDIN.DAT, line 1: NGL must be 2 or 3, found 4");
}

TEST(ControlData, ReadErrorsNameTheFileAndWhere) {
  TempFolder folder;
  ControlData data;
  folder.write("comdin.dat", comdin(" 3 1 0 2 2 4 1 1", " 1 1.5 0\n"));
  EXPECT_EQ(read(folder, &data).message(), "comdin.dat, line 2: an integer was expected, found 1.5");

  // Without group 13 the file ends early.
  std::string text = comdin(" 3 0 0 2 2 4 1 1", "");
  text.resize(text.size() - std::string("English\n").size());
  folder.write("comdin.dat", text);
  EXPECT_EQ(read(folder, &data).message(), "comdin.dat: the file ends within the last line (group 13)");

  folder.write("comdin.dat", std::string(" 3 0 0 2 3 4 1 1\n 1 0.1 x 1 0.25 10 0.5\n"));
  EXPECT_EQ(read(folder, &data).message(), "comdin.dat, line 2: a real number was expected, found x");

  std::filesystem::remove(folder.file("comdin.dat"));
  EXPECT_EQ(read(folder, &data).message(), "comdin.dat: not found in " + folder.path());
}

TEST(ControlData, HugeListCountsRunOutOfText) {
  TempFolder folder;
  folder.write("comdin.dat", std::string(" 2000000000 2000000000 2000000000 2000000000 3 4 1 1\n"
                                         " 1 1 1 1\n 2 0 1 0\n"));
  ControlData data;
  auto start = std::chrono::steady_clock::now();
  Status status = read(folder, &data);
  ASSERT_FALSE(status.is_ok());
  EXPECT_EQ(status.message(), "comdin.dat: the file ends within the restraint lists (group 2)");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

}  // namespace
