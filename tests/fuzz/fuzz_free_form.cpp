// Fuzz target: the free-form text files. The input is written as comdin.dat,
// language.dat and work_dir.dat of a scratch folder and read the ways the
// program reads them: the control data groups, the language word (also by
// the fallback through work_dir.dat and Comdin.dat), and the first free-form
// value of work_dir.dat.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "input/control_data.h"
#include "input/free_form.h"
#include "input/language.h"
#include "input/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz_bytes(data, size);
  const std::string& folder = fuzz_scratch_folder();
  fuzz_write_file("comdin.dat", text);
  fuzz_write_file("language.dat", text);
  fuzz_write_file("work_dir.dat", text);

  ControlData control;
  if (Status status = read_control_data(folder, &control); !status.is_ok()) {
    fuzz_check_message("read_control_data", status.message());
  } else if (control.control.NGL != 2 && control.control.NGL != 3) {
    __builtin_trap();  // accepted an NGL the geometry cannot hold
  }

  std::string word;
  if (Status status = read_language(folder, &word); !status.is_ok()) {
    fuzz_check_message("read_language", status.message());
  } else if (word.size() > kLanguageWordWidth) {
    __builtin_trap();
  }
  if (Status status = fallback_language(2, folder, &word); !status.is_ok()) {
    fuzz_check_message("fallback_language", status.message());
  }

  std::vector<std::string> lines;
  TextLines file;
  if (Status status = file.open(folder + "/work_dir.dat"); !status.is_ok()) {
    fuzz_check_message("TextLines::open", status.message());
    return 0;
  }
  for (;;) {
    std::string line;
    bool got = false;
    if (Status status = file.next(&line, &got); !status.is_ok()) {
      fuzz_check_message("TextLines::next", status.message());
      return 0;
    }
    if (!got) break;
    lines.push_back(std::move(line));
  }
  std::string value;
  if (Status status = first_free_form_text(lines, "work_dir.dat", 260, &value); !status.is_ok()) {
    fuzz_check_message("first_free_form_text", status.message());
  } else if (value.size() > 260) {
    __builtin_trap();
  }
  return 0;
}
