// Reading numbers and literals back from the texts of dialog fields.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// Field texts are read back into this many characters (longer text is cut).
constexpr int kFieldTextLength = 10;

// The integer at the start of `text`: leading blanks skipped, an optional sign,
// then the decimal digits that follow; 0 when there are none; the rest is
// ignored. A value beyond the 32-bit range is held at its nearest end.
std::int32_t read_integer_prefix(std::string_view text);

// The decimal number at the start of `text`: leading blanks skipped, then the
// longest prefix that forms a number (optional sign, digits, optional point
// and fraction digits, optional exponent "E", "e", "D" or "d" with an optional
// sign and digits; at least one digit before or after the point); 0 when
// there is none; the rest is ignored. A magnitude beyond the 32-bit real range
// is held at the largest finite value of that sign.
float read_real_prefix(std::string_view text);

// Whether `text`, without its trailing blanks, equals one of `literals`
// exactly (case kept, leading blanks count).
bool matches_literal(std::string_view text, std::initializer_list<std::string_view> literals);

// The text of a control cut or blank-padded to kFieldTextLength characters.
std::string field_text(std::string_view text);

// A value as the Time Settings fields show it: the general edit of width 24
// with 6 significant digits, tidied, without blanks on either side.
std::string shown_real(double value);

// An integer as the Time Settings fields show it: its decimal digits.
std::string shown_integer(std::int64_t value);
