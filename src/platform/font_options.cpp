#include "platform/font_options.h"

#include <cctype>
#include <cstdlib>
#include <limits>

#include "platform/gfx.h"

namespace {

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Reads the digits at `pos` (none: 0), saturating instead of overflowing.
int read_number(std::string_view s, std::size_t& pos) {
  long long value = 0;
  while (pos < s.size() && is_digit(s[pos])) {
    if (value < std::numeric_limits<int>::max()) value = value * 10 + (s[pos] - '0');
    ++pos;
  }
  if (value > std::numeric_limits<int>::max()) value = std::numeric_limits<int>::max();
  return static_cast<int>(value);
}

FontRequest syntax_error() {
  FontRequest r;
  r.status = kGfxErrorInvalid;
  return r;
}

}  // namespace

FontRequest parse_font_options(std::string_view s) {
  FontRequest r;
  bool pitch_given = false;
  bool kind_given = false;
  std::size_t pos = 0;
  while (pos < s.size()) {
    char c = lower(s[pos++]);
    switch (c) {
      case 't': {
        if (pos >= s.size() || s[pos] != '\'') return syntax_error();
        std::size_t close = s.find('\'', pos + 1);
        if (close == std::string_view::npos) return syntax_error();
        std::size_t length = close - pos - 1;
        if (length > static_cast<std::size_t>(kFontMaxFaceLength)) return syntax_error();
        r.face = std::string(s.substr(pos + 1, length));
        pos = close + 1;
        break;
      }
      case 'h': r.height = read_number(s, pos); break;
      case 'w': r.width = read_number(s, pos); break;
      case 'f':
      case 'p': {
        FontPitch pitch = c == 'f' ? FontPitch::fixed : FontPitch::proportional;
        if (pitch_given && r.pitch != pitch) r.status = kGfxWarnCorrected;
        r.pitch = pitch;
        pitch_given = true;
        break;
      }
      case 'r':
      case 'v': {
        FontKind kind = c == 'r' ? FontKind::bitmap : FontKind::scalable;
        if (kind_given && r.kind != kind) r.status = kGfxWarnCorrected;
        r.kind = kind;
        kind_given = true;
        break;
      }
      case 'e': r.bold = true; break;
      case 'i': r.italic = true; break;
      case 'u': r.underline = true; break;
      case 'b': r.best_fit = true; break;
      case 'n':
        r.number = read_number(s, pos);
        return r;
      default: break;  // not an option: skipped
    }
  }
  return r;
}

bool same_face(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

std::vector<std::string> substitute_face(const std::string& name) {
  // The old face names stand for the present-day faces, and these for the
  // metric-compatible free faces found where the originals are not installed.
  if (same_face(name, "Tms Rmn")) return {"Times New Roman", "Liberation Serif"};
  if (same_face(name, "Courier")) return {"Courier New", "Liberation Mono"};
  if (same_face(name, "Helv")) return {"Arial", "Liberation Sans"};
  return {name};
}

FontChoice search_font(const FontRequest& request, const std::vector<FontCandidate>& fonts,
                       int current) {
  FontChoice choice;
  const int count = static_cast<int>(fonts.size());
  if (request.number > 0) {
    if (request.number <= count) choice.number = request.number;
    return choice;
  }
  std::vector<std::string> names;
  if (!request.face.empty()) names = substitute_face(request.face);

  // The faces are tried in the order of the substitution list, so that an
  // installed original is preferred over its stand-in.
  auto search_face = [&](const std::string* face, int& best, long long& best_difference) {
    for (int i = 0; i < count; ++i) {
      const FontCandidate& f = fonts[static_cast<std::size_t>(i)];
      if (face != nullptr && !same_face(f.face, *face)) continue;
      if (request.pitch == FontPitch::fixed && !f.fixed_pitch) continue;
      if (request.pitch == FontPitch::proportional && f.fixed_pitch) continue;
      if (request.kind == FontKind::bitmap && f.scalable) continue;
      if (request.kind == FontKind::scalable && !f.scalable) continue;
      if (f.scalable) return i + 1;
      if (!request.best_fit) {
        if ((request.height == 0 || request.height == f.height) &&
            (request.width == 0 || request.width == f.width))
          return i + 1;
        continue;
      }
      long long difference = 0;
      if (request.height != 0) difference += std::llabs(static_cast<long long>(request.height) - f.height);
      if (request.width != 0) difference += std::llabs(static_cast<long long>(request.width) - f.width);
      if (best == 0 || difference < best_difference) {
        best = i + 1;
        best_difference = difference;
      }
    }
    return 0;
  };

  int best = 0;
  long long best_difference = 0;
  if (names.empty()) {
    if (int found = search_face(nullptr, best, best_difference)) choice.number = found;
  } else {
    for (const std::string& name : names) {
      if (int found = search_face(&name, best, best_difference)) {
        choice.number = found;
        break;
      }
    }
  }
  if (choice.number > 0 || !request.best_fit) return choice;
  if (best > 0 && best_difference < 200) {
    choice.number = best;
  } else {
    choice.reselected_current = true;
    choice.number = current > 0 ? current : -1;
  }
  return choice;
}
