// Text written the way a Fortran program's list-directed output writes it:
// each line begins with a blank, integers take 12 columns and reals 16 (nine
// significant digits, so that they read back exactly), runs of equal values
// are written as a repeat count ("3*0.00000000"), and a line is broken
// before a value that would pass column 80.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace sample {

using ListValue = std::variant<std::int32_t, float>;

// One list-directed record (possibly over several lines), with its line ends.
std::string list_directed(const std::vector<ListValue>& values);

// A real as list-directed output writes it, without padding: "1.00000000",
// "0.500000000", "1.99999996E-02".
std::string list_real(float value);

}  // namespace sample
