// Integers given on a command line, read whole: no blanks, no trailing
// characters, in a stated range.
#pragma once

#include <cstdint>
#include <string_view>

// The decimal integer `text` in low..high; false (and *value unspecified)
// for anything else.
bool read_integer(std::string_view text, std::int64_t low, std::int64_t high, std::int64_t* value);

// "WIDTHxHEIGHT", each side in low..high.
bool read_size(std::string_view text, int low, int high, int* width, int* height);

// "WIDTHxHEIGHT" of any two decimal integers from 0, for a caller that tells
// a size out of its range apart from text that is no size.
bool read_size_form(std::string_view text, std::int64_t* width, std::int64_t* height);
