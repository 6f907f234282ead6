// Node and element numbers only where they can be read: the Explorer's
// rule for the tables GraphRun::node_number_shown and element_number_shown.
//
// A number is legible when its text lies wholly inside the picture and
// clear of every number kept before it: node numbers in node order first,
// then element numbers in element order. So a zoomed-out million-node model
// shows none of its crowded numbers, and zooming in brings them back where
// they have room. Text boxes are measured in pixels at the run's current
// positions and world window.
#pragma once

#include "platform/world_window.h"

struct GraphRun;

// The size of one number's text in pixels: a field of n characters is
// n x char_width wide (digits are of one width; the field's leading blanks
// count in full, which keeps a little room) and `height` high.
struct NumberBox {
  int char_width = 0;
  int height = 0;
};

// Fills run.node_number_shown (node numbers drawn at all: for_each_drawn_node)
// and run.element_number_shown (when element numbers are on) for a picture
// of width x height pixels mapped by `mapping`.
void choose_legible_numbers(GraphRun& run, const PixelMapping& mapping, int width, int height, NumberBox nodes,
                            NumberBox elements);
