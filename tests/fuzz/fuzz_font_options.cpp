// Fuzz target: the font option strings of gfx_set_font and the search over a
// font list of scalable and bitmap fonts.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/font_options.h"
#include "platform/gfx.h"

namespace {

const std::vector<FontCandidate>& fonts() {
  static const std::vector<FontCandidate> list = {
      {"Liberation Serif", 0, 0, false, true}, {"Courier", 13, 8, true, false},
      {"Courier", 16, 9, true, false},        {"Helv", 11, 6, false, false},
      {"Tms Rmn", 12, 0, false, false},       {"Times New Roman", 0, 0, false, true},
      {"Fixed", 2147483647, 2147483647, true, false},
  };
  return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FontRequest request = parse_font_options(fuzz_bytes(data, size));
  if (request.status == kGfxErrorInvalid) return 0;
  if ((request.status != kGfxOk && request.status != kGfxWarnCorrected) ||
      request.face.size() > static_cast<std::size_t>(kFontMaxFaceLength) || request.height < 0 ||
      request.width < 0 || request.number < 0) {
    __builtin_trap();
  }
  const int count = static_cast<int>(fonts().size());
  for (int current : {0, 3}) {
    FontChoice choice = search_font(request, fonts(), current);
    if (choice.number != -1 && (choice.number < 1 || choice.number > count)) __builtin_trap();
    if (choice.reselected_current && choice.number != (current > 0 ? current : -1)) __builtin_trap();
  }
  return 0;
}
