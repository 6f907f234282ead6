// The step files of a result folder: u01.unf (the displacements of every node
// at every stored step) and el.unf (a record per element per step), both
// direct access with fixed-length records, all items of step 0 first.
//
// The records of one step are contiguous; a step is read in positioned reads
// of whole records, about a quarter megabyte each, into a buffer that is kept
// for the next step, so memory stays bounded whatever the model's size.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "base/mutex.h"
#include "base/status.h"
#include "input/binary_file.h"
#include "input/problem.h"
#include "input/result_format.h"

// The time of a step: the 32-bit product of the step as a real and time_step.
float step_time(std::int32_t step, float time_step);

// The step files of one run; each run has connections of its own.
class StepRecords {
 public:
  // Takes the working directory and sizes of `problem`; connects nothing.
  // With an empty working directory (no problem loaded) nothing connects.
  explicit StepRecords(const Problem& problem);
  // Waits for a read-ahead still running.
  ~StepRecords();
  StepRecords(const StepRecords&) = delete;
  StepRecords& operator=(const StepRecords&) = delete;

  // Connects u01.unf of the working directory (found in any letter case).
  Status open_u01();
  // Connects el.unf; connecting it while it is connected has no effect.
  Status open_el();
  // Disconnects u01.unf only (the end of an animation).
  void close_u01();
  // Disconnects both files (also done when the object goes).
  void close();
  bool u01_connected() const { return u01_.is_open(); }
  bool el_connected() const { return el_.is_open(); }

  // The displacements of every node at `step`: node_count x NGL reals,
  // node-major (node n direction j at (n - 1) * NGL + j - 1). Errors: u01.unf
  // not connected, a negative step, a step beyond the end of the file (the
  // message names the file and the step).
  Status read_node_step(std::int32_t step, std::vector<float>* displacements);

  // The value and code of every element at `step` (element e at e - 1).
  // Connects el.unf on first use. Errors as for read_node_step, naming el.unf.
  Status read_element_step(std::int32_t step, std::vector<float>* element_value,
                           std::vector<std::int32_t>* element_code);

  // Starts reading the u01.unf records of `step` (and its el.unf records when
  // `elements`) on a helper thread, so that the caller can draw meanwhile;
  // the next read_node_step / read_element_step of that step takes them
  // instead of reading. A read of another step, or a new read-ahead, waits
  // for the helper and drops what it read. Whatever fails on the helper is
  // left for the caller's own read of the step to meet and report. Costs a
  // thread and a second copy of one step's values: worth it for large steps.
  void read_ahead(std::int32_t step, bool elements);

  // Starts reading only the el.unf records of `step` on the helper thread,
  // for a caller about to read that step's nodes itself: the two files are
  // then read at once, on two cores. read_node_step does not wait for this
  // helper; read_element_step of the step reads the chunks the helper has
  // not yet taken, alongside it, and returns the whole step.
  void read_elements_ahead(std::int32_t step);

  // Bytes of one step's records in u01.unf, plus in el.unf when `elements`.
  std::int64_t step_bytes(bool elements) const;

  float step_time(std::int32_t step) const { return ::step_time(step, time_step_); }

 private:
  // Reads the `count` records of `step` of `file` chunk by chunk into
  // `buffer`, calling decode(records, first item, item count) for each chunk.
  // With `claim`, the chunks are taken from it instead, so that two threads
  // reading the same step each read the chunks they claim (see Shared).
  template <class Decode>
  Status read_step(const BinaryFile& file, std::int32_t step, std::int32_t count, std::int64_t record_bytes,
                   std::vector<unsigned char>& buffer, Decode&& decode,
                   std::atomic<std::int64_t>* claim = nullptr) const;
  Status read_nodes(std::int32_t step, std::vector<float>* displacements,
                    std::vector<unsigned char>& buffer) const;
  // Sizes the outputs and reads the chunks of the step, or with `claim`
  // those it claims (the outputs are then sized by the caller beforehand).
  Status read_elements(std::int32_t step, std::vector<float>* element_value,
                       std::vector<std::int32_t>* element_code, std::vector<unsigned char>& buffer,
                       std::atomic<std::int64_t>* claim = nullptr) const;
  Status open_in_folder(const char* name, BinaryFile* file);
  // Waits for the read-ahead helper, if one runs.
  void finish_ahead();
  // finish_ahead, and forgets what the helper read.
  void drop_ahead();
  // Starts the helper on `step`: its nodes, its elements or both.
  void start_ahead(std::int32_t step, bool nodes, bool elements);

  // The nodes of a step read on the helper thread. The helper holds `mutex`
  // for the whole of its read, and the caller takes it to look at what was
  // read, so each sees the other's writes whole; the thread-safety analysis
  // checks that no field is touched without the lock. Its elements go to
  // `shared_`.
  struct Ahead {
    Mutex mutex;
    std::int32_t step GUARDED_BY(mutex) = -1;
    bool nodes GUARDED_BY(mutex) = false;     // displacements hold the step's nodes
    std::vector<float> displacements GUARDED_BY(mutex);
    std::vector<unsigned char> buffer GUARDED_BY(mutex);
  };

  // The el.unf records of one step read by the helper and the caller
  // together: each claims chunks from `next` and writes only the elements of
  // the chunks it claimed. The caller sizes the arrays before the helper
  // starts, sets the step once it has started, and looks at the whole only
  // after the join, which orders the helper's writes before it.
  struct Shared {
    std::int32_t step = -1;  // the caller's: the step being read, or -1
    std::vector<float> values;
    std::vector<std::int32_t> codes;
    std::atomic<std::int64_t> next{0};  // the first item not yet claimed
    bool helper_ok = false;             // the helper's, read after the join
  };

  std::string folder_;
  std::int32_t node_count_ = 0;
  std::int32_t element_count_ = 0;
  int ngl_ = 0;
  float time_step_ = 0;
  BinaryFile u01_;
  BinaryFile el_;
  std::vector<unsigned char> buffer_;
  std::thread ahead_thread_;  // started and joined by the caller only
  bool ahead_reads_nodes_ = false;  // the running helper reads u01.unf; set and read by the caller
  Ahead ahead_;
  Shared shared_;
};
