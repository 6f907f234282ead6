// A disk that fails while a folder is read: the user's message names the file
// and gives the system's reason, and the failure is told from an early end.
#include <gtest/gtest.h>

#include <cerrno>

#include "failing_reads.h"
#include "input/load_problem.h"
#include "input/step_records.h"
#include "sample_model.h"
#include "sample_writer.h"
#include "input_fixtures.h"

namespace {

TEST(ReadFailure, TheMessageNamesTheFileAndTheSystemsReason) {
  input_test::TempFolder folder;
  ASSERT_TRUE(sample::write_sample(sample::make_sample(sample::Kind::portal, {3, 0}), folder.path()).is_ok());

  input_test::fail_reads_of("nei.unf", EIO);
  LoadResult failed = load_problem(folder.path());
  input_test::fail_reads_of("", 0);
  EXPECT_EQ(failed.status.kind(), StatusKind::io_error);
  EXPECT_EQ(failed.status.message(), "nei.unf: cannot be read at byte 0: Input/output error");

  LoadResult loaded = load_problem(folder.path());
  ASSERT_TRUE(loaded.status.is_ok()) << loaded.status.message();
  StepRecords records(*loaded.problem);
  ASSERT_TRUE(records.open_u01().is_ok());
  std::vector<float> displacements;
  input_test::fail_reads_of("u01.unf", EIO);
  Status status = records.read_node_step(1, &displacements);
  input_test::fail_reads_of("", 0);
  EXPECT_EQ(status.kind(), StatusKind::io_error);
  const std::int64_t step_bytes = u01_record_bytes(loaded.problem->control.NGL) * loaded.problem->control.node_count;
  EXPECT_EQ(status.message(),
            "u01.unf: cannot be read at byte " + std::to_string(step_bytes) + ": Input/output error");
  // Past the failure the same step reads, and a step beyond the file is an
  // early end, not a failure.
  EXPECT_TRUE(records.read_node_step(1, &displacements).is_ok());
  EXPECT_EQ(records.read_node_step(4, &displacements).kind(), StatusKind::damaged);
}

}  // namespace
