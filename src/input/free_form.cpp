#include "input/free_form.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "input/blanks.h"

namespace {

bool is_separator_space(char c) { return c == ' ' || c == '\t'; }
bool ends_token(char c) { return is_separator_space(c) || c == ',' || c == '/'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
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

FreeFormReader::FreeFormReader(std::string file_name, std::vector<std::string> lines)
    : file_name_(std::move(file_name)), lines_(std::move(lines)) {}

Status FreeFormReader::error_at(std::size_t line, std::string_view text) const {
  return Status::damaged(file_name_ + ", line " + std::to_string(line) + ": " + std::string(text));
}

Status FreeFormReader::end_of_file() const {
  return Status::damaged(file_name_ + ": the file ends within " + what_);
}

Status FreeFormReader::read_integers(std::string_view what, std::span<std::int32_t> values) {
  if (Status status = begin_group(what); !status.is_ok()) return status;
  for (std::int32_t& v : values) {
    if (Status status = read_value(FreeFormSlot::of(&v)); !status.is_ok()) return status;
  }
  end_group();
  return Status::ok();
}

Status FreeFormReader::read_reals(std::string_view what, std::span<float> values) {
  if (Status status = begin_group(what); !status.is_ok()) return status;
  for (float& v : values) {
    if (Status status = read_value(FreeFormSlot::of(&v)); !status.is_ok()) return status;
  }
  end_group();
  return Status::ok();
}

Status FreeFormReader::read_group(std::string_view what, std::span<const FreeFormSlot> slots) {
  if (Status status = begin_group(what); !status.is_ok()) return status;
  for (const FreeFormSlot& slot : slots) {
    if (Status status = read_value(slot); !status.is_ok()) return status;
  }
  end_group();
  return Status::ok();
}

Status FreeFormReader::begin_group(std::string_view what) {
  what_ = std::string(what);
  if (next_line_ >= lines_.size()) return end_of_file();
  line_ = next_line_;
  column_ = 0;
  after_value_ = false;
  slashed_ = false;
  repeat_left_ = 0;
  repeat_token_ = {};
  last_line_ = line_ + 1;
  return Status::ok();
}

void FreeFormReader::end_group() {
  // Whatever follows the group's last value on its line is ignored.
  next_line_ = line_ + 1;
}

Status FreeFormReader::read_value(FreeFormSlot slot) {
  if (slashed_) return Status::ok();
  std::string_view token;
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
      const std::string* text = &lines_[line_];
      while (column_ < text->size() && is_separator_space((*text)[column_])) ++column_;
      if (column_ >= text->size()) {
        if (line_ + 1 >= lines_.size()) return end_of_file();
        ++line_;
        column_ = 0;
        continue;
      }
      token_line = line_;
      char c = (*text)[column_];
      if (c == '/') {
        slashed_ = true;
        last_line_ = line_ + 1;
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
      while (column_ < text->size() && !ends_token((*text)[column_])) ++column_;
      token = std::string_view(*text).substr(start, column_ - start);
      after_value_ = true;
      std::size_t star = token.find('*');
      if (star != std::string_view::npos) {
        std::int32_t count = 0;
        if (star == 0 || !is_digit(token[0]) ||
            parse_fortran_integer(token.substr(0, star), &count) != NumberError::none || count < 1) {
          return error_at(token_line + 1, "a bad repeat count in " + std::string(token));
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

  last_line_ = token_line + 1;
  if (null_value) return Status::ok();
  if (slot.integer != nullptr) {
    std::int32_t value = 0;
    NumberError error = parse_fortran_integer(token, &value);
    if (error == NumberError::bad_form) {
      return error_at(token_line + 1, "an integer was expected, found " + std::string(token));
    }
    if (error == NumberError::out_of_range) {
      return error_at(token_line + 1, "the integer " + std::string(token) + " is out of range");
    }
    *slot.integer = value;
  } else {
    float value = 0;
    NumberError error = parse_fortran_real(token, &value);
    if (error == NumberError::bad_form) {
      return error_at(token_line + 1, "a real number was expected, found " + std::string(token));
    }
    if (error == NumberError::out_of_range) {
      return error_at(token_line + 1, "the real number " + std::string(token) + " is out of range");
    }
    *slot.real = value;
  }
  return Status::ok();
}

Status FreeFormReader::read_text(std::string_view what, std::size_t width, std::string* text) {
  what_ = std::string(what);
  if (next_line_ >= lines_.size()) return end_of_file();
  std::string_view line(lines_[next_line_]);
  line = line.substr(0, width);
  *text = std::string(without_trailing_blanks(line));
  last_line_ = ++next_line_;
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
