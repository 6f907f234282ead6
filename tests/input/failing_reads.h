// Injected read failures: the test executable is linked with
// -Wl,--wrap=pread, so every positioned read of the program's code passes
// through here, and reads of a chosen file can be made to fail as a failing
// disk would make them fail.
#pragma once

#include <string>

namespace input_test {

// From now on every pread of a file whose name (last path component) is
// `name` fails with `error_number`; an empty name ends the failures.
void fail_reads_of(const std::string& name, int error_number);

}  // namespace input_test
