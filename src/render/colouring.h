// Colouring the elements by a quantity of the step, with a colour bar beside
// the structure. An option of the drawing that any caller (veltra-export, the
// Explorer) sets in its GraphRun before the extents pass; left at its default
// (ColourBy::none) the drawing is the viewer's: elements in the line colour,
// no bar, and the extents pass reads nothing more.
//
// A coloured element is still one exact pixel-wide line in its line style;
// only its colour changes. By displacement its colour runs along the line
// from the colour of one end node's displacement magnitude to the other's;
// by value or code the whole line takes its element's colour. A value that is
// not a finite number is drawn grey (kNoValueColour) and left out of every
// range.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/status.h"
#include "platform/gfx.h"
#include "render/colour_map.h"

struct GraphRun;

enum class ColourBy {
  none,          // the line colour, as the viewer draws
  displacement,  // the length of each node's displacement vector
  value,         // element_value of the step
  code,          // element_code of the step
};

enum class ColourRange {
  all_steps,  // from the lowest to the highest value over every drawn step
  frame,      // over the frame being drawn
  fixed,      // from Colouring::low to Colouring::high
};

struct Colouring {
  ColourBy by = ColourBy::none;
  const ColourMap* map = nullptr;  // nullptr: default_colour_map(by)
  ColourRange range = ColourRange::all_steps;
  float low = 0, high = 0;         // the fixed range, low below high
};

// Grey, for a value that is not a number.
constexpr Rgb kNoValueColour = 0x808080;

// The most codes a colour bar lists; more are shown as "...".
constexpr std::size_t kMaxBarCodes = 16;

// What a run's drawing keeps of its colouring; prepare_graph_run resets it.
struct ColourState {
  // Over every drawn step, filled by the extents pass.
  bool measured = false;
  float low = 0, high = 0;
  std::vector<std::int32_t> codes;  // ascending, at most kMaxBarCodes + 1
  // Of the frame drawn last, likewise.
  bool frame_measured = false;
  float frame_low = 0, frame_high = 0;
  std::vector<std::int32_t> frame_codes;
  // Scratch of the frame being drawn.
  std::vector<float> magnitude;          // one a node
  std::vector<std::uint32_t> node_shade;  // one a node
};

// viridis for displacement, coolwarm for value, tab10 for code.
const ColourMap& default_colour_map(ColourBy by);
const ColourMap& colour_map_of(const Colouring& colouring);

// Whether `map` can colour `by`: codes take a qualitative map, the other
// quantities a sequential or diverging one.
inline bool colour_map_fits(ColourBy by, const ColourMap& map) {
  return (by == ColourBy::code) == (map.kind == ColourMapKind::qualitative);
}

// "Displacement", "Element value", "Element code": the name the bar shows.
const char* colour_quantity_name(ColourBy by);

// Whether the extents pass reads the element records of each step.
bool colouring_reads_elements(const GraphRun& run);

// Widens the run's ColourState by the step just projected: its displacements
// (run.node_step) or, reading them now, its element records. Nothing
// without a colouring over all steps. `next` is the step read after this
// one, read ahead with its elements when they are needed.
Status measure_step_colours(GraphRun& run, int step, std::optional<int> next);

// Draws the run's elements in their colours, at the centred positions, in
// the line styles of element_line_style; the drawing colour is left as it
// was. By displacement the frame's magnitudes come from run.node_step (the
// displacements of the step projected last).
void draw_coloured_elements(GraphRun& run);

// The colour bar at the right edge of the window: the quantity's name, the
// map from low (bottom) to high (top) with numbered ticks, or for codes one
// swatch and number a code. Drawn over a white box in black, with the
// current font changed.
void draw_colour_bar(GraphRun& run);

// The range the frame being drawn is coloured with, after the elements are
// drawn: all steps, the frame's or the fixed range; for a diverging map
// symmetric about 0, so that 0 takes the middle entry.
struct ColourScale {
  double low = 0, high = 0;
};
ColourScale colour_scale(const GraphRun& run);

// The numbered ticks of a bar from `low` to `high`: multiples of 1, 2, 2.5 or
// 5 times a power of ten, at least 4 of them; both ends when fewer fit (one when
// the range is a single value).
std::vector<double> colour_ticks(double low, double high);

// A tick's number, with as many decimals as the ticks' spacing needs (an
// exponent for very large or small ranges).
std::string colour_tick_text(double value, double spacing);
