#include "input/free_form.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "base/shown_text.h"
#include "input/blanks.h"
#include "input/text_file.h"

namespace {

bool is_separator_space(char c) { return c == ' ' || c == '\t'; }
bool ends_token(char c) { return is_separator_space(c) || c == ',' || c == '/'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
// A token quoted in a message: a number is short, so a long token is cut
// early.
constexpr std::size_t kShownTokenLength = 40;

char lower_ascii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equals_ignoring_case(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (lower_ascii(text[i]) != lower[i]) return false;
  }
  return true;
}

// "NaN", "NaN(...)", "Inf", "Infinity" after an optional sign.
bool parse_special_real(std::string_view body, bool negative, float* value) {
  if (equals_ignoring_case(body, "inf") || equals_ignoring_case(body, "infinity")) {
    *value = negative ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    return true;
  }
  if (body.size() >= 3 && equals_ignoring_case(body.substr(0, 3), "nan") &&
      (body.size() == 3 || (body[3] == '(' && body.back() == ')'))) {
    *value = std::numeric_limits<float>::quiet_NaN();
    return true;
  }
  return false;
}

}  // namespace

NumberError parse_fortran_integer(std::string_view token, std::int32_t* value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
  if (i == token.size()) return NumberError::bad_form;
  std::int64_t magnitude = 0;
  bool too_large = false;
  for (; i < token.size(); ++i) {
    if (!is_digit(token[i])) return NumberError::bad_form;
    if (!too_large) {
      magnitude = magnitude * 10 + (token[i] - '0');
      if (magnitude > std::int64_t{1} << 31) too_large = true;
    }
  }
  std::int64_t signed_value = negative ? -magnitude : magnitude;
  if (too_large || signed_value > std::numeric_limits<std::int32_t>::max() ||
      signed_value < std::numeric_limits<std::int32_t>::min()) {
    return NumberError::out_of_range;
  }
  *value = static_cast<std::int32_t>(signed_value);
  return NumberError::none;
}

NumberError parse_fortran_real(std::string_view token, float* value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
  if (parse_special_real(token.substr(i), negative, value)) return NumberError::none;

  // Mantissa: digits with at most one point, at least one digit.
  std::string normal;
  if (negative) normal += '-';
  std::size_t digits = 0;
  bool point = false;
  for (; i < token.size(); ++i) {
    char c = token[i];
    if (is_digit(c)) {
      ++digits;
      normal += c;
    } else if (c == '.' && !point) {
      point = true;
      normal += c;
    } else {
      break;
    }
  }
  if (digits == 0) return NumberError::bad_form;
  // Exponent: a letter E, D or Q with an optional sign, or a sign alone.
  if (i < token.size()) {
    char c = lower_ascii(token[i]);
    if (c == 'e' || c == 'd' || c == 'q') {
      ++i;
    } else if (c != '+' && c != '-') {
      return NumberError::bad_form;
    }
    normal += 'e';
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) normal += token[i++];
    std::size_t exponent_digits = 0;
    for (; i < token.size() && is_digit(token[i]); ++i, ++exponent_digits) normal += token[i];
    if (exponent_digits == 0 || i != token.size()) return NumberError::bad_form;
  }

  float result = 0;
  auto [end, error] = std::from_chars(normal.data(), normal.data() + normal.size(), result);
  if (end != normal.data() + normal.size()) return NumberError::bad_form;
  if (error == std::errc::result_out_of_range) {
    // Too large or too small for 32 bits: tell them apart in double precision.
    double wide = std::strtod(normal.c_str(), nullptr);
    if (!std::isfinite(wide) || std::fabs(wide) > FLT_MAX) return NumberError::out_of_range;
    result = static_cast<float>(wide);
  } else if (error != std::errc()) {
    return NumberError::bad_form;
  }
  *value = result;
  return NumberError::none;
}

FreeFormReader::FreeFormReader(std::string file_name, TextLines* file)
    : file_name_(std::move(file_name)), file_(file) {}

FreeFormReader::FreeFormReader(std::string file_name, std::vector<std::string> lines)
    : file_name_(std::move(file_name)), given_(std::move(lines)) {}

Status FreeFormReader::error_at(std::size_t line, std::string_view text) const {
  return Status::damaged(file_name_ + ", line " + std::to_string(line) + ": " + std::string(text));
}

Status FreeFormReader::end_of_file() const {
  return Status::damaged(file_name_ + ": the file ends within " + what_);
}

Status FreeFormReader::bad_token(std::size_t line, std::string_view expected, std::string_view token) const {
  std::string text = std::string(expected) + shown_text(token, kShownTokenLength);
  // A file whose lines end in CR alone reads as one line: say so, since the
  // CR is what makes the token unreadable.
  if (token.find('\r') != std::string_view::npos) text += " (a line ends in CR alone; lines end in LF or CR LF)";
  return error_at(line, text);
}

Status FreeFormReader::next_line(bool* got) {
  *got = false;
  if (file_ != nullptr) {
    if (Status status = file_->next(&text_, got, kFreeFormLineLength + 1); !status.is_ok()) return status;
  } else if (given_next_ < given_.size()) {
    text_ = std::move(given_[given_next_++]);
    *got = true;
  }
  if (!*got) return Status::ok();
  ++line_;
  text_cut_ = text_.size() > kFreeFormLineLength;
  if (text_cut_) text_.resize(kFreeFormLineLength);
  return Status::ok();
}

Status FreeFormReader::read_integers(std::string_view what, std::span<std::int32_t> values) {
  if (Status status = begin_group(what); !status.is_ok()) return status;
  for (std::int32_t& v : values) {
    if (Status status = read_value(FreeFormSlot::of(&v)); !status.is_ok()) return status;
  }
  return Status::ok();
}

Status FreeFormReader::read_reals(std::string_view what, std::span<float> values) {
  if (Status status = begin_group(what); !status.is_ok()) return status;
  for (float& v : values) {
    if (Status status = read_value(FreeFormSlot::of(&v)); !status.is_ok()) return status;
  }
  return Status::ok();
}

Status FreeFormReader::read_group(std::string_view what, std::span<const FreeFormSlot> slots) {
  if (Status status = begin_group(what); !status.is_ok()) return status;
  for (const FreeFormSlot& slot : slots) {
    if (Status status = read_value(slot); !status.is_ok()) return status;
  }
  return Status::ok();
}

Status FreeFormReader::begin_group(std::string_view what) {
  // A group starts on a new line: whatever followed the last group's last
  // value on its line is ignored.
  what_ = std::string(what);
  bool got = false;
  if (Status status = next_line(&got); !status.is_ok()) return status;
  if (!got) return end_of_file();
  column_ = 0;
  after_value_ = false;
  slashed_ = false;
  repeat_left_ = 0;
  repeat_token_.clear();
  last_line_ = line_;
  return Status::ok();
}

Status FreeFormReader::read_value(FreeFormSlot slot) {
  if (slashed_) return Status::ok();
  auto too_long = [this] {
    return error_at(line_, "the line is longer than " + std::to_string(kFreeFormLineLength) + " characters");
  };
  std::string token;
  bool null_value = false;
  std::size_t token_line = line_;
  if (repeat_left_ > 0) {
    --repeat_left_;
    token = repeat_token_;
    null_value = token.empty();
    token_line = repeat_line_;
  } else {
    for (;;) {
      // Find the next item, moving over blanks and line ends.
      while (column_ < text_.size() && is_separator_space(text_[column_])) ++column_;
      if (column_ >= text_.size()) {
        if (text_cut_) return too_long();
        bool got = false;
        if (Status status = next_line(&got); !status.is_ok()) return status;
        if (!got) return end_of_file();
        column_ = 0;
        continue;
      }
      token_line = line_;
      char c = text_[column_];
      if (c == '/') {
        slashed_ = true;
        last_line_ = line_;
        return Status::ok();
      }
      if (c == ',') {
        ++column_;
        if (after_value_) {
          after_value_ = false;  // the separator after the previous value
          continue;
        }
        null_value = true;  // an empty place between commas
        break;
      }
      std::size_t start = column_;
      while (column_ < text_.size() && !ends_token(text_[column_])) ++column_;
      if (column_ == text_.size() && text_cut_) return too_long();
      token = text_.substr(start, column_ - start);
      after_value_ = true;
      std::size_t star = token.find('*');
      if (star != std::string::npos) {
        std::int32_t count = 0;
        if (star == 0 || !is_digit(token[0]) ||
            parse_fortran_integer(std::string_view(token).substr(0, star), &count) != NumberError::none ||
            count < 1) {
          return bad_token(token_line, "a bad repeat count in ", token);
        }
        repeat_token_ = token.substr(star + 1);
        repeat_left_ = count - 1;
        repeat_line_ = token_line;
        token = repeat_token_;
        null_value = token.empty();
      }
      break;
    }
  }

  last_line_ = token_line;
  if (null_value) return Status::ok();
  if (slot.integer != nullptr) {
    std::int32_t value = 0;
    NumberError error = parse_fortran_integer(token, &value);
    if (error == NumberError::bad_form) return bad_token(token_line, "an integer was expected, found ", token);
    if (error == NumberError::out_of_range) {
      return error_at(token_line, "the integer " + shown_text(token, kShownTokenLength) + " is out of range");
    }
    *slot.integer = value;
  } else {
    float value = 0;
    NumberError error = parse_fortran_real(token, &value);
    if (error == NumberError::bad_form) return bad_token(token_line, "a real number was expected, found ", token);
    if (error == NumberError::out_of_range) {
      return error_at(token_line, "the real number " + shown_text(token, kShownTokenLength) + " is out of range");
    }
    *slot.real = value;
  }
  return Status::ok();
}

Status FreeFormReader::read_text(std::string_view what, std::size_t width, std::string* text) {
  what_ = std::string(what);
  bool got = false;
  if (Status status = next_line(&got); !status.is_ok()) return status;
  if (!got) return end_of_file();
  *text = std::string(without_trailing_blanks(std::string_view(text_).substr(0, width)));
  last_line_ = line_;
  return Status::ok();
}

Status first_free_form_text(const std::vector<std::string>& lines, const std::string& file_name,
                            std::size_t width, std::string* value) {
  for (const std::string& text : lines) {
    std::size_t column = 0;
    while (column < text.size() && is_separator_space(text[column])) ++column;
    if (column == text.size()) continue;
    char c = text[column];
    std::string result;
    if (c == ',') {
      // A null value: the variable keeps its (blank) contents.
    } else if (c == '\'' || c == '"') {
      for (std::size_t i = column + 1; i < text.size(); ++i) {
        if (text[i] == c) {
          if (i + 1 < text.size() && text[i + 1] == c) {
            result += c;
            ++i;
            continue;
          }
          break;
        }
        result += text[i];
      }
    } else {
      std::size_t end = column;
      while (end < text.size() && !is_separator_space(text[end]) && text[end] != ',') ++end;
      result = text.substr(column, end - column);
    }
    if (result.size() > width) result.resize(width);
    *value = std::string(without_trailing_blanks(result));
    return Status::ok();
  }
  return Status::damaged(file_name + ": the file ends before a value was read");
}
