// The structure of one frame: elements as lines in the style their records
// select, a symbol for every supported node, node and element numbers and
// the time label.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/gfx.h"

struct GraphRun;

// Draws elements, nodes, the time label and element numbers, in that order,
// at the run's centred positions. `t` is the frame time. Leaves the drawing
// colour, line style and current font changed.
void draw_structure(GraphRun& run, float t);

// The line style of an element: solid when its value is not 0, else dashed
// when its code is -1 and dotted otherwise.
inline std::uint16_t element_line_style(float value, std::int32_t code) {
  return value != 0 ? kLineSolid : code == -1 ? kLineDashed : kLineDotted;
}

// The run's elements that join two nodes (from 0), in order; listed by the
// first call of a run.
const std::vector<int>& drawn_elements(GraphRun& run);

// Elements go to the window in batches of up to this many segments: one
// window access per batch instead of three per element, large enough for
// the window layer to draw each on two cores, and short enough that a
// window's repaint never waits long for its picture.
constexpr std::size_t kSegmentBatch = 65536;

// The line style of element e (from 0) by the run's records of the step.
std::uint16_t element_line_style(const GraphRun& run, int e);

// Draws the drawn elements below `recorded` in batches of kSegmentBatch:
// draw(count, source) for each batch, where source (a GfxSegmentSource)
// makes segment i of the batch as make(e) of its element e, on either of
// two threads (so make must depend on e alone). The first drawn element's
// line style is set before the first batch, whatever the window had.
template <class Segment, class Make, class Draw>
void draw_element_batches(GraphRun& run, int recorded, Make&& make, Draw&& draw) {
  const std::vector<int>& drawn = drawn_elements(run);
  const std::size_t count =
      static_cast<std::size_t>(std::lower_bound(drawn.begin(), drawn.end(), recorded) - drawn.begin());
  if (count == 0) return;
  gfx_set_line_style(element_line_style(run, drawn[0]));
  for (std::size_t first = 0; first < count; first += kSegmentBatch) {
    const std::size_t used = std::min(kSegmentBatch, count - first);
    const int* elements = drawn.data() + first;
    draw(used, GfxSegmentSource<Segment>([&make, elements](std::size_t begin, std::size_t end, Segment* out) {
           for (std::size_t i = begin; i < end; ++i) out[i - begin] = make(elements[i]);
         }));
  }
}

// Rigid support for direction k at (x, y): a half-tone triangle with its apex
// at the node and a base line beyond it; a, b are world lengths.
void draw_rigid_support(const GraphRun& run, double x, double y, double a, double b, int k);

// Elastic support (a spring) for direction k at (x, y).
void draw_elastic_support(const GraphRun& run, double x, double y, double a, double b, int k);

// The font of node or element numbers and the width of their number field,
// chosen by the number of nodes or elements.
struct NumberStyle {
  const char* font;
  int field_width;
};
NumberStyle node_number_style(int nodes);
NumberStyle element_number_style(int elements);

// Calls visit(n) for each node n (from 1, in order) that draw_structure
// draws anything at, its number among them: every node while node numbers
// are on, else only the nodes restrained in some direction (listed once a
// run, so that a frame of a million free nodes does not look at each).
void for_each_drawn_node(GraphRun& run, const std::function<void(int)>& visit);

// Where the number of node n (1-based) or of element e, whose end nodes both
// exist, is drawn: the top-left corner of its text at the run's centred
// positions.
WorldPoint node_number_anchor(const GraphRun& run, int n);
WorldPoint element_number_anchor(const GraphRun& run, int e);

// The 1-based item of the time-output list that a run uses: an item outside
// the list of the run's problem (left over from a larger problem) counts as 1.
int time_label_item(const GraphRun& run);

// The text of the time label drawn last in any graph of the process
// (24 characters, blank at start).
std::string previous_time_label();
