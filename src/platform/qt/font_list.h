// The fonts the Qt layer draws with: the list of the system's font families
// for gfx_set_font, the fixed cell font of cell text, and the dialog font.
// All of these may be used from any thread.
#pragma once

#include <QFont>
#include <string>
#include <vector>

#include "platform/font_options.h"

namespace qtl {

// The system's font families, one candidate each (bitmap families one per
// size); built on first use and then fixed for the process.
const std::vector<FontCandidate>& font_list();

// The font for a candidate of the list as `request` asks for it: pixel
// height (16 when not given), width through the stretch factor, bold, italic,
// underline; drawn without antialiasing, as all graphic text is. `scale`
// multiplies the pixel sizes (a picture in a high-density screen's device
// pixels); 1 keeps them.
QFont make_font(const FontCandidate& candidate, const FontRequest& request, double scale = 1);

// The font of graphic text before the program selects one (no antialiasing).
QFont default_graphic_font(double scale = 1);

// The cell font of cell text and text windows, and its cell size.
struct CellFont {
  QFont font;
  int width = 8;
  int height = 16;
  int ascent = 12;
};
const CellFont& cell_font();
// The cell font with its pixel size multiplied by `scale`.
CellFont make_cell_font(double scale);

// The dialog font for a template's face and point size: "MS Sans Serif",
// "MS Shell Dlg" and faces not installed become a sans face.
QFont dialog_font(const std::string& face, int points);

}  // namespace qtl
