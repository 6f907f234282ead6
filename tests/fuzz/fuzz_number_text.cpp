// Fuzz target: the number texts. The input starts with a double, an int64 and
// three bytes (width, significant digits, decimals); the formatters must give
// texts of exactly the width asked for. The rest of the input is a field text
// that is tidied and read back as an integer and a real. A finite 32-bit real
// shown as the Time Settings fields show it reads back within its 6 digits.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "settings/field_reading.h"
#include "settings/number_text.h"

namespace {

constexpr std::size_t kHeader = 19;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kHeader) return 0;
  double value;
  std::int64_t integer;
  std::memcpy(&value, data, 8);
  std::memcpy(&integer, data + 8, 8);
  const int significant = 1 + data[17] % 9;
  const int width = data[16] % 48;
  const int decimals = data[18] % 24;

  if (width >= significant + 7 && format_general(value, width, significant).size() != static_cast<std::size_t>(width)) {
    __builtin_trap();
  }
  if (format_fixed(value, width, decimals).size() != static_cast<std::size_t>(width)) __builtin_trap();
  if (format_integer(integer, width).size() != static_cast<std::size_t>(width)) __builtin_trap();

  const float real = static_cast<float>(value);
  if (std::isnormal(real)) {
    const std::string shown = shown_real(real);
    const float back = read_real_prefix(shown);
    if (!(std::fabs(back - real) <= 1e-5f * std::fabs(real))) __builtin_trap();
  }
  if (read_integer_prefix(shown_integer(integer)) !=
      (integer > INT32_MAX ? INT32_MAX : integer < INT32_MIN ? INT32_MIN : integer)) {
    __builtin_trap();
  }

  const std::string_view text = fuzz_bytes(data + kHeader, size - kHeader);
  if (trim_number_text(text).size() < text.size()) __builtin_trap();
  (void)read_integer_prefix(text);
  (void)read_real_prefix(text);
  (void)field_text(text);
  return 0;
}
