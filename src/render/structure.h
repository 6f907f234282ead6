// The structure of one frame: elements as lines in the style their records
// select, a symbol for every supported node, node and element numbers and
// the time label.
#pragma once

#include <cstdint>
#include <string>

struct GraphRun;

// Draws elements, nodes, the time label and element numbers, in that order,
// at the run's centred positions. `t` is the frame time. Leaves the drawing
// colour, line style and current font changed.
void draw_structure(GraphRun& run, float t);

// The line style of an element: solid when its value is not 0, else dashed
// when its code is -1 and dotted otherwise.
std::uint16_t element_line_style(float value, std::int32_t code);

// Rigid support for direction k at (x, y): a half-tone triangle with its apex
// at the node and a base line beyond it; a, b are world lengths.
void draw_rigid_support(const GraphRun& run, double x, double y, double a, double b, int k);

// Elastic support (a spring) for direction k at (x, y).
void draw_elastic_support(const GraphRun& run, double x, double y, double a, double b, int k);

// The 1-based item of the time-output list that a run uses: an item outside
// the list of the run's problem (left over from a larger problem) counts as 1.
int time_label_item(const GraphRun& run);

// The text of the time label drawn last in any graph of the process
// (24 characters, blank at start).
std::string previous_time_label();
