// Free-form (list-directed) reading of text files as Fortran programs write
// and read them.
//
// A numeric group starts on a new line; its values are separated by blanks,
// tabs or commas and may run over as many lines as needed; whatever follows
// the group's last value on its last line is ignored. "r*c" stands for r
// copies of c and "r*" for r null values; a null value (also an empty place
// between two commas) leaves its variable as it was; a "/" ends the group at
// once and leaves the remaining variables as they were. Empty lines hold no
// values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

// Why a token is not a number of the kind asked for.
enum class NumberError { none, bad_form, out_of_range };

// An integer: optional sign and decimal digits, within 32 bits. A point or an
// exponent makes it bad_form.
NumberError parse_fortran_integer(std::string_view token, std::int32_t* value);

// A real in any Fortran form: "2.5", "2.", ".5", "-1E3", "1.0D+00", "1.0d-3",
// "+3", "1.5+3" (exponent without letter), exponent letters E, D or Q in
// either case; also "Inf", "Infinity" and "NaN". Rounded once to 32 bits; a
// finite value beyond the 32-bit range is out_of_range, one too small becomes
// 0 or a subnormal.
NumberError parse_fortran_real(std::string_view token, float* value);

// One variable of a numeric group: exactly one of the two pointers is set.
struct FreeFormSlot {
  std::int32_t* integer = nullptr;
  float* real = nullptr;
  static FreeFormSlot of(std::int32_t* target) { return {target, nullptr}; }
  static FreeFormSlot of(float* target) { return {nullptr, target}; }
};

class TextLines;

// Lines longer than this are kept only to this length. A numeric group that
// needs a value from beyond it is an error; a text line is cut anyway.
constexpr std::size_t kFreeFormLineLength = 65536;

// Reads the groups of one text file in order, taking its lines one at a time
// as the groups need them: nothing after the last group read is read, and
// only the current line is kept.
class FreeFormReader {
 public:
  // Reads the lines of `file` (open; it must outlive the reader).
  // `file_name` names the file in messages ("comdin.dat, line 12: ...").
  FreeFormReader(std::string file_name, TextLines* file);
  // Reads `lines` as the lines of a file named `file_name`.
  FreeFormReader(std::string file_name, std::vector<std::string> lines);

  // Reads one numeric group into `slots`. `what` names the group in messages
  // about an early end of the file. Errors: a value of the wrong kind, a
  // malformed repeat count, the end of the file before the group is complete,
  // a value beyond the kept part of a line too long, a failed read.
  Status read_group(std::string_view what, std::span<const FreeFormSlot> slots);

  // The same step by step, for groups whose later variables depend on an
  // earlier value: begin_group, then read_value for each variable in order;
  // the next group begins on the line after. After a "/" read_value leaves
  // every variable as it was.
  Status begin_group(std::string_view what);
  Status read_value(FreeFormSlot slot);
  Status read_integers(std::string_view what, std::span<std::int32_t> values);
  Status read_reals(std::string_view what, std::span<float> values);

  // Reads the next whole line as a text field of `width` characters: cut to
  // `width`, trailing blanks removed. Error at the end of the file.
  Status read_text(std::string_view what, std::size_t width, std::string* text);

  // 1-based line number of the last line a group or text was read from (0
  // before the first read).
  std::size_t last_line() const { return last_line_; }
  const std::string& file_name() const { return file_name_; }

  // An error message "<file>, line <n>: <text>".
  Status error_at(std::size_t line, std::string_view text) const;

 private:
  Status end_of_file() const;
  // Makes the next line of the file the current one; *got false at the end.
  Status next_line(bool* got);
  // The error for a token of the wrong kind: `expected`, then the token as a
  // message shows it.
  Status bad_token(std::size_t line, std::string_view expected, std::string_view token) const;

  std::string file_name_;
  TextLines* file_ = nullptr;         // the source, or else:
  std::vector<std::string> given_;    // the lines given
  std::size_t given_next_ = 0;

  std::string text_;         // the current line, at most kFreeFormLineLength characters
  bool text_cut_ = false;    // the line went on beyond them
  std::size_t line_ = 0;     // its 1-based number; 0 before the first
  std::size_t last_line_ = 0;

  // The group being read.
  std::string what_;
  std::size_t column_ = 0;
  bool after_value_ = false;        // a comma now would only end the value just read
  bool slashed_ = false;            // a "/" has ended the group
  std::int64_t repeat_left_ = 0;    // copies of repeat_token_ still to hand out
  std::string repeat_token_;        // empty: null values
  std::size_t repeat_line_ = 0;
};

// The first free-form text value of `lines` (as read into a character
// variable of `width` characters): leading blanks and empty lines are
// skipped; the value ends at a blank, a tab, a comma or the end of its line,
// unless it is enclosed in apostrophes or quotation marks (a doubled quote
// inside stands for one). A "/" is part of the value (folder names). A
// leading comma is a null value: the result is empty. Cut to `width`. Error
// naming `file_name` when the lines hold no value at all.
Status first_free_form_text(const std::vector<std::string>& lines, const std::string& file_name,
                            std::size_t width, std::string* value);
