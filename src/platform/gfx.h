// Drawing operations on the calling thread's current window.
//
// Every operation acts on the window that is current for the calling thread
// (see wnd_open_child / wnd_set_active in wnd.h). Coordinates are world
// coordinates of that window's world window (gfx_set_window); text lengths and
// font sizes are pixels. Colours are packed RGB values 0x00BBGGRR (red in the
// low byte). Every operation may be called from any thread; operations on one
// window are serialised with each other and with its repaint.
//
// Every operation leaves a status for gfx_status to tell (GfxStatus): the
// drawing interface reports its outcome this way, as a code the caller asks
// for after the call, rather than as a Status value.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

using Rgb = std::uint32_t;

constexpr Rgb kRgbBlack = 0x000000;
constexpr Rgb kRgbWhite = 0xFFFFFF;

// The channels of a packed colour (the top byte is ignored), and the packed
// colour of three channels of 0 to 255.
constexpr unsigned rgb_red(Rgb rgb) { return rgb & 0xFFu; }
constexpr unsigned rgb_green(Rgb rgb) { return (rgb >> 8) & 0xFFu; }
constexpr unsigned rgb_blue(Rgb rgb) { return (rgb >> 16) & 0xFFu; }
constexpr Rgb make_rgb(unsigned red, unsigned green, unsigned blue) {
  return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}

// Status codes of the drawing layer: 0 success, negative error, positive
// warning; each value has one meaning.
enum GfxStatus : int {
  kGfxOk = 0,
  kGfxErrorNoWindow = -1,     // the calling thread has no current window
  kGfxErrorInvalid = -4,      // a bad argument: a vertex count, a shape mode, a coordinate
                              // that is not finite, the syntax of a font option string
  kGfxErrorEqualBounds = -5,  // gfx_set_window with x1 == x2 or y1 == y2
  kGfxErrorNoFont = -6,       // the window has no fonts, or none answers gfx_set_font
  kGfxWarnCorrected = 3,      // the request was corrected and carried out: bounds in the
                              // wrong order swapped, or of contradicting font options
                              // (f/p, r/v) the later one taken
};

// Shape modes.
constexpr int kGfxBorder = 2;
constexpr int kGfxFilled = 3;

// Line styles: 16-bit masks repeated along the line, bit set = pixel drawn,
// most significant bit first.
constexpr std::uint16_t kLineSolid = 0xFFFF;
constexpr std::uint16_t kLineDashed = 0xEEEE;
constexpr std::uint16_t kLineDotted = 0xAAAA;

constexpr int kGfxMaxPolygonVertices = 16381;

struct WorldPoint {
  double x = 0;
  double y = 0;
};

using FillMask = std::array<std::uint8_t, 8>;  // one byte per row, bit 7 = left pixel
constexpr FillMask kFillSolid = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
constexpr FillMask kFillHalfTone = {0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55};

// What gfx_font_info reports of the current font.
struct FontInfo {
  int ascent = 0;          // pixels above the base line
  int pixel_width = 0;     // 0 for proportional fonts
  int pixel_height = 0;    // full cell height in pixels
  int avg_char_width = 0;  // average character width in pixels
  std::string face_name;
};

// Sets the world window. y_up: y1 maps to the bottom row and y2 to the top
// row; otherwise y1 to the top. Bounds in the wrong order are swapped (status
// kGfxWarnCorrected). Equal bounds on an axis fail: false, status
// kGfxErrorEqualBounds, the old window stays.
bool gfx_set_window(bool y_up, double x1, double y1, double x2, double y2);

// Fills the whole window with the background colour.
void gfx_clear();

// Set a colour; each returns the previous value.
Rgb gfx_set_colour(Rgb rgb);             // lines, shapes, graphic text
Rgb gfx_set_background_colour(Rgb rgb);  // gfx_clear and the cells of gfx_out_text
Rgb gfx_set_text_colour(Rgb rgb);        // gfx_out_text

// Sets the current position and returns the previous one. Draws nothing.
WorldPoint gfx_move_to(double x, double y);

// One-pixel line from the current position to (x, y) in the drawing colour and
// line style, without antialiasing; (x, y) becomes the current position.
bool gfx_line_to(double x, double y);

void gfx_set_line_style(std::uint16_t mask);
void gfx_set_fill_mask(const FillMask& mask);

// A line from (x1, y1) to (x2, y2) in line style `style`, for gfx_segments.
struct GfxSegment {
  double x1, y1, x2, y2;
  std::uint16_t style;
};

// Draws `count` segments exactly as these calls would for each in turn:
// gfx_set_line_style(style) when it differs from the current style,
// gfx_move_to(x1, y1), gfx_line_to(x2, y2); the same pixels, current position
// and line style result, and the status is that of the last segment's line.
// A segment whose end is refused draws nothing and the others are still
// drawn; false when any was refused. The window is taken once for the whole
// batch, which is what makes it faster than the single calls for large models.
bool gfx_segments(const GfxSegment* segments, std::size_t count);

// A segment whose colour runs along it, for gfx_shaded_segments: shade1 at
// (x1, y1) and shade2 at (x2, y2) are positions in a palette with 8
// fractional bits (entry i is i * 256).
struct GfxShadedSegment {
  double x1, y1, x2, y2;
  std::uint32_t shade1, shade2;
  std::uint16_t style;
};

constexpr std::size_t kGfxMaxPalette = 1024;

// Draws the segments as gfx_segments does (the same pixels, current
// position, line style and status), but each pixel in the entry of
// `palette` (packed colours) nearest to its share of the way from one end's
// shade to the other's: both end pixels take their end's entry exactly. A
// shade beyond the last entry counts as the last. The drawing colour is
// neither used nor changed. An empty palette or one of more than
// kGfxMaxPalette entries: false, status kGfxErrorInvalid, nothing drawn.
bool gfx_shaded_segments(const GfxShadedSegment* segments, std::size_t count, const Rgb* palette,
                         std::size_t palette_size);

// The segments of a sequence made on request, for the generated forms below:
// make(begin, end, out) writes segments begin .. end - 1 of the sequence to
// out[0] .. out[end - begin - 1]. It is called for chunks of the sequence,
// on the calling thread and on a helper thread at once, each index at least
// once, so each segment must depend on its index alone.
template <class Segment>
using GfxSegmentSource = std::function<void(std::size_t begin, std::size_t end, Segment* out)>;

// gfx_segments and gfx_shaded_segments of the `count` segments that `make`
// gives, with the same pixels, state and status, but without an array of
// them: each chunk is made by the thread that draws it, while it is in that
// thread's cache.
bool gfx_generated_segments(std::size_t count, const GfxSegmentSource<GfxSegment>& make);
bool gfx_generated_shaded_segments(std::size_t count, const GfxSegmentSource<GfxShadedSegment>& make,
                                   const Rgb* palette, std::size_t palette_size);

// Closed polygon (the last vertex is joined to the first). mode kGfxBorder or
// kGfxFilled. Fewer than 3 or more than kGfxMaxPolygonVertices vertices:
// false, status kGfxErrorInvalid, nothing drawn.
bool gfx_polygon(int mode, const WorldPoint* vertices, int count);

// Axis-parallel rectangle / inscribed ellipse with the opposite corners given.
bool gfx_rectangle(int mode, double x1, double y1, double x2, double y2);
bool gfx_ellipse(int mode, double x1, double y1, double x2, double y2);

// Prepares the font list of the current window; returns the number of fonts
// (none: status kGfxErrorNoFont).
int gfx_init_fonts();

// Status of the calling thread's last drawing operation.
GfxStatus gfx_status();

// Selects the current font by an option string (font_options.h); returns the
// font's number in the list, or -1 (the previous font stays current; status
// kGfxErrorInvalid for a syntax error, kGfxErrorNoFont when no font answers).
int gfx_set_font(std::string_view options);

FontInfo gfx_font_info();
int gfx_text_width(std::string_view text);

// Draws text in the current font and drawing colour, transparent background,
// top-left corner at the current position; the position then moves right by
// the text's width.
void gfx_out_graphic_text(std::string_view text);

WorldPoint gfx_current_position();

// Cell text: row and column are 1-based character cells of the window's cell
// font. gfx_out_text fills each cell with the background colour first
// (opaque), then writes the character in the text colour.
void gfx_set_text_position(int row, int column);
void gfx_out_text(std::string_view text);
