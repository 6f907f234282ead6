// u01.unf and el.unf: record arithmetic, whole-step reads, errors, and the
// connections of each run.
#include <gtest/gtest.h>

#include "input/step_records.h"
#include "input_fixtures.h"

namespace {

using input_test::Bytes;
using input_test::TempFolder;

Problem problem_in(const TempFolder& folder, int nodes, int elements, int ngl, float time_step = 0.5f) {
  Problem p;
  p.working_directory = folder.path();
  p.control.node_count = nodes;
  p.control.element_count = elements;
  p.control.NGL = ngl;
  p.control.time_step = time_step;
  return p;
}

// u01.unf of `steps` steps: node n of step s has displacement (100 s + n,
// -(100 s + n)) in NGL 2, and unused reals after it.
std::vector<unsigned char> u01(int steps, int nodes) {
  Bytes b;
  for (int s = 0; s < steps; ++s) {
    for (int n = 1; n <= nodes; ++n) {
      float v = static_cast<float>(100 * s + n);
      b.f32(v).f32(-v).f32(7).f32(7).zeros(48);
    }
  }
  return b.data;
}

// el.unf (NGL 2): element e of step s has value 0.25 s (0 for step 0), and
// code s - e.
std::vector<unsigned char> el(int steps, int elements) {
  Bytes b;
  for (int s = 0; s < steps; ++s) {
    for (int e = 1; e <= elements; ++e) {
      b.f32(1).f32(2).f32(3).f32(0.25f * static_cast<float>(s)).i32(s - e).f32(9).f32(9).f32(9).f32(9).zeros(108);
    }
  }
  return b.data;
}

TEST(StepRecordArithmetic, RecordNumbersOffsetsAndTimes) {
  // NGL 2, 3 nodes: step 0 node 1 is record 1 (bytes 0 to 63), step 2 node 3
  // is record 9 (bytes 512 to 575).
  EXPECT_EQ(u01_record_bytes(2), 64);
  EXPECT_EQ(step_record_number(0, 3, 1), 1);
  EXPECT_EQ(record_offset(1, 64), 0);
  EXPECT_EQ(step_record_number(2, 3, 3), 9);
  EXPECT_EQ(record_offset(9, 64), 512);
  EXPECT_EQ(el_record_bytes(3), 160);
  // Large models pass the 32-bit range.
  EXPECT_EQ(step_record_number(30000, 100000, 1), 3000000001LL);
  EXPECT_EQ(step_time(7, 0.5f), 3.5f);
  EXPECT_EQ(step_time(0, 0.02f), 0.0f);
  EXPECT_EQ(step_time(3, 0.1f), 3.0f * 0.1f);
}

TEST(StepRecords, ReadsWholeStepsNodeMajor) {
  TempFolder folder;
  std::vector<unsigned char> bytes = u01(3, 3);
  // The displacement components of step 2 node 3 are the reals at bytes 512 and 516.
  Bytes probe;
  probe.f32(-1.25f).f32(8.5f);
  std::copy(probe.data.begin(), probe.data.end(), bytes.begin() + 512);
  folder.write("u01.unf", bytes);
  Problem p = problem_in(folder, 3, 0, 2);
  StepRecords records(p);
  ASSERT_TRUE(records.open_u01().is_ok());
  std::vector<float> d;
  ASSERT_TRUE(records.read_node_step(2, &d).is_ok());
  EXPECT_EQ(d, (std::vector<float>{201, -201, 202, -202, -1.25f, 8.5f}));
  const float* buffer = d.data();
  ASSERT_TRUE(records.read_node_step(0, &d).is_ok());
  EXPECT_EQ(d, (std::vector<float>{1, -1, 2, -2, 3, -3}));
  EXPECT_EQ(d.data(), buffer);  // the caller's buffer is reused
  EXPECT_EQ(records.step_time(2), 1.0f);
}

TEST(StepRecords, ElementValuesAndCodesConnectingOnFirstUse) {
  TempFolder folder;
  folder.write("u01.unf", u01(4, 2));
  folder.write("EL.UNF", el(4, 3));
  Problem p = problem_in(folder, 2, 3, 2);
  StepRecords records(p);
  EXPECT_FALSE(records.el_connected());
  std::vector<float> value;
  std::vector<std::int32_t> code;
  ASSERT_TRUE(records.read_element_step(3, &value, &code).is_ok());
  EXPECT_TRUE(records.el_connected());
  EXPECT_EQ(value, (std::vector<float>{0.75f, 0.75f, 0.75f}));
  EXPECT_EQ(code, (std::vector<std::int32_t>{2, 1, 0}));
  ASSERT_TRUE(records.open_el().is_ok());  // already connected: no effect
  ASSERT_TRUE(records.read_element_step(0, &value, &code).is_ok());
  EXPECT_EQ(value, (std::vector<float>{0, 0, 0}));
  EXPECT_EQ(code, (std::vector<std::int32_t>{-1, -2, -3}));
}

TEST(StepRecords, ReadErrorsNameTheFileAndTheStep) {
  TempFolder folder;
  std::vector<unsigned char> bytes = u01(3, 2);
  bytes.erase(bytes.end() - 10, bytes.end());  // the last step is incomplete
  folder.write("u01.unf", bytes);
  Problem p = problem_in(folder, 2, 1, 2);
  StepRecords records(p);
  std::vector<float> d;
  EXPECT_EQ(records.read_node_step(0, &d).message(), "u01.unf: not connected");
  ASSERT_TRUE(records.open_u01().is_ok());
  ASSERT_TRUE(records.read_node_step(1, &d).is_ok());
  EXPECT_EQ(records.read_node_step(2, &d).message(),
            "u01.unf: step 2 is beyond the end of the file, which holds steps 0 to 1");
  EXPECT_EQ(records.read_node_step(2000000000, &d).message(),
            "u01.unf: step 2000000000 is beyond the end of the file, which holds steps 0 to 1");
  EXPECT_EQ(records.read_node_step(-1, &d).message(), "u01.unf: step -1 does not exist");
  std::vector<float> value;
  std::vector<std::int32_t> code;
  EXPECT_EQ(records.read_element_step(0, &value, &code).message(), "el.unf: not found in " + folder.path());

  // A problem with a single stored step needs only its first records.
  folder.write("u01.unf", u01(1, 2));
  StepRecords single(p);
  ASSERT_TRUE(single.open_u01().is_ok());
  EXPECT_TRUE(single.read_node_step(0, &d).is_ok());
  EXPECT_EQ(single.read_node_step(1, &d).message(),
            "u01.unf: step 1 is beyond the end of the file, which holds steps 0 to 0");
}

// A step read ahead on the helper thread, whatever is asked next, gives
// exactly what a plain read of the asked step gives: values or message. The
// large model's steps span several chunks of el.unf, which the helper and
// the reader of the step share out between them.
TEST(StepRecords, ReadAheadGivesWhatAPlainReadGives) {
  TempFolder folder, large_folder;
  folder.write("u01.unf", u01(4, 3));
  std::vector<unsigned char> elements = el(4, 3);
  elements.resize(elements.size() - 144);  // el.unf holds steps 0 to 2 only
  folder.write("el.unf", elements);
  constexpr int kLarge = 6000;  // el.unf records of a step: about 3.3 chunks
  large_folder.write("u01.unf", u01(4, 3));
  elements = el(4, kLarge);
  elements.resize(elements.size() - 144);
  large_folder.write("el.unf", elements);
  const Problem small_problem = problem_in(folder, 3, 3, 2), large_problem = problem_in(large_folder, 3, kLarge, 2);
  enum What { kNodes, kBoth, kElementsOnly };  // read_ahead(false), read_ahead(true), read_elements_ahead
  struct Case {
    int ahead;
    What what;
    int read;
    bool reopen_between;  // open_u01 again after the read-ahead
    bool large = false;
  } cases[] = {
      {2, kBoth, 2, false},         {2, kNodes, 2, false},         {1, kBoth, 3, false},
      {3, kBoth, 3, false},         {9, kBoth, 9, false},          {-1, kBoth, -1, false},
      {0, kBoth, 0, true},          {2, kBoth, 1, true},           {2, kElementsOnly, 2, false},
      {1, kElementsOnly, 2, false}, {3, kElementsOnly, 3, false},  {0, kElementsOnly, 0, true},
      {2, kElementsOnly, 2, false, true}, {1, kElementsOnly, 1, true, true}, {3, kElementsOnly, 3, false, true},
      {1, kElementsOnly, 2, false, true}, {2, kBoth, 2, false, true},        {0, kElementsOnly, 0, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("ahead " + std::to_string(c.ahead) + " read " + std::to_string(c.read) + (c.large ? " large" : ""));
    const Problem& p = c.large ? large_problem : small_problem;
    StepRecords plain(p), ahead(p);
    ASSERT_TRUE(plain.open_u01().is_ok());
    ASSERT_TRUE(ahead.open_u01().is_ok());
    if (c.what == kElementsOnly) {
      ahead.read_elements_ahead(c.ahead);
    } else {
      ahead.read_ahead(c.ahead, c.what == kBoth);
    }
    if (c.reopen_between) {
      ASSERT_TRUE(ahead.open_u01().is_ok());
    }
    std::vector<float> want_d, got_d, want_v, got_v;
    std::vector<std::int32_t> want_c, got_c;
    Status want = plain.read_node_step(c.read, &want_d);
    Status got = ahead.read_node_step(c.read, &got_d);
    EXPECT_EQ(got.message(), want.message());
    if (want.is_ok()) {
      EXPECT_EQ(got_d, want_d);
    }
    want = plain.read_element_step(c.read, &want_v, &want_c);
    got = ahead.read_element_step(c.read, &got_v, &got_c);
    EXPECT_EQ(got.message(), want.message());
    if (want.is_ok()) {
      EXPECT_EQ(got_v, want_v);
      EXPECT_EQ(got_c, want_c);
    }
    // A second read of the same step reads it again.
    std::vector<float> again;
    want = plain.read_node_step(c.read, &want_d);
    EXPECT_EQ(ahead.read_node_step(c.read, &again).message(), want.message());
    if (want.is_ok()) {
      EXPECT_EQ(again, want_d);
    }
    // A read-ahead left running when the records go is waited for.
    ahead.read_ahead(c.read, true);
  }
}

TEST(StepRecords, EachRunHasConnectionsOfItsOwn) {
  TempFolder folder;
  folder.write("u01.unf", u01(2, 2));
  Problem p = problem_in(folder, 2, 0, 2);
  StepRecords first(p), second(p);
  ASSERT_TRUE(first.open_u01().is_ok());
  ASSERT_TRUE(second.open_u01().is_ok());
  first.close();
  EXPECT_FALSE(first.u01_connected());
  std::vector<float> d;
  ASSERT_TRUE(second.read_node_step(1, &d).is_ok());
  EXPECT_EQ(d[0], 101.0f);
  // Even with the file renamed away the open connection reads on.
  std::filesystem::rename(folder.file("u01.unf"), folder.file("moved.unf"));
  EXPECT_TRUE(second.read_node_step(0, &d).is_ok());
}

}  // namespace
