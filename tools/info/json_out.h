// A small JSON writer for veltra-info: objects, arrays, numbers and texts
// appended to a string. Reals are written with nine significant digits
// ("%.9g"), enough to read every 32-bit real back exactly; a value that is
// not a number is written NaN and infinities Infinity / -Infinity (as
// Python's json module writes and reads them).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class JsonOut {
 public:
  void begin_object();
  void end_object();
  void begin_array();
  void end_array();
  // The key of the next value inside an object.
  void key(std::string_view name);
  void integer(std::int64_t number);
  void real(float number);
  void boolean(bool truth);
  // Valid UTF-8 is written as it is; other text is taken as Latin-1.
  void string(std::string_view text);
  const std::string& text() const { return text_; }

 private:
  void before_value();
  std::string text_;
  bool need_comma_ = false;
  int depth_ = 0;
};
