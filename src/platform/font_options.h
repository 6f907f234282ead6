// Font option strings of gfx_set_font and the search over a font list.
//
// Both are plain procedures without a window system, so that every layer
// chooses fonts the same way. An option string is read from left to right,
// letters in any case, characters that are no option skipped:
//   t'name'  face name (at most 31 characters)
//   hN, wN   height and width in pixels
//   f / p    fixed / proportional pitch      (the later of the pair wins, kGfxWarnCorrected)
//   r / v    bitmap / scalable kind          (the later of the pair wins, kGfxWarnCorrected)
//   e i u    bold, italic, underline
//   b        best fit
//   nN       font number N of the list; the rest of the string is ignored
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx.h"

enum class FontPitch { any, fixed, proportional };
enum class FontKind { any, bitmap, scalable };

constexpr int kFontMaxFaceLength = 31;

// What an option string asks for. status: kGfxOk, kGfxWarnCorrected, or
// kGfxErrorInvalid for a syntax error (then nothing else is meaningful).
struct FontRequest {
  std::string face;  // empty: any face
  int height = 0;    // 0: not given
  int width = 0;     // 0: not given
  FontPitch pitch = FontPitch::any;
  FontKind kind = FontKind::any;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool best_fit = false;
  int number = 0;  // n option; 0: not given
  GfxStatus status = kGfxOk;
};

// Parses an option string. A t without an opening quote, a name without its
// closing quote and a name longer than kFontMaxFaceLength are syntax errors.
FontRequest parse_font_options(std::string_view options);

// One font of a font list.
struct FontCandidate {
  std::string face;
  int height = 0;  // pixels; for bitmap fonts the size it has
  int width = 0;   // pixels; 0 for scalable fonts
  bool fixed_pitch = false;
  bool scalable = true;
};

// The face names that stand for an old face name, or {name} when it is none
// of "Tms Rmn", "Courier", "Helv" (compared without regard to case).
std::vector<std::string> substitute_face(const std::string& name);

// Case-insensitive comparison of two face names.
bool same_face(std::string_view a, std::string_view b);

// Result of a search: the 1-based number of the font in the list, or -1.
struct FontChoice {
  int number = -1;
  bool reselected_current = false;  // best fit found nothing: the current font stays
};

// Searches `fonts` for `request` (which must have parsed without error).
// `current` is the number of the window's current font (0 when it is the
// window's default font, which is not in the list).
FontChoice search_font(const FontRequest& request, const std::vector<FontCandidate>& fonts,
                       int current);
