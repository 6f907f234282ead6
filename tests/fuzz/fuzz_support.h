// Helpers shared by the fuzz targets: a scratch folder of this process into
// which a target writes the files it has cut from its input, and the cutting.
//
// Inputs that hold several files separate them by kPartSeparator, so that a
// seed is simply the files of a result folder joined in a fixed order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr std::string_view kPartSeparator = "\n--veltra-part--\n";

// The scratch folder of this process (created on first use under $TMPDIR or
// /tmp, removed with its files when the process exits normally).
const std::string& fuzz_scratch_folder();

// Writes `bytes` as file `name` of the scratch folder, replacing it; aborts
// when it cannot (the harness, not the code under test, has failed).
void fuzz_write_file(const std::string& name, std::string_view bytes);

// Removes file `name` of the scratch folder if it is there.
void fuzz_remove_file(const std::string& name);

// Cuts `data` at each kPartSeparator into at most `most` parts (the last part
// keeps any further separators).
std::vector<std::string_view> fuzz_split_parts(std::string_view data, std::size_t most);

// Aborts with `what` and `message` on stderr when a failure message does not
// begin by naming a file: it must be non-empty and start with neither a blank
// nor a colon nor a comma.
void fuzz_check_message(const char* what, const std::string& message);

inline std::string_view fuzz_bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}
