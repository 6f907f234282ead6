// One complete frame of an animation: background or trail, heading lines,
// problem title, grid and scale, axis arrows, structure and origin box.
#pragma once

#include <string>

#include "platform/gfx.h"

struct GraphRun;

// Draws the frame for time `t` into the calling thread's current window (the
// run's graph window). In show-all mode with a scheme other than All Black
// the line colour is brightened first, in the run's copy and in the shared
// settings record, unless the shared record has meanwhile been given All
// Black or another colour by a scheme picked in a dialog.
void draw_frame(GraphRun& run, float t);

// Axis arrow a: 1 horizontal X, 3 vertical, 2 oblique Y of a spatial problem.
void draw_axis_arrow(const GraphRun& run, int a);

// The next line colour of a show-all trail: 0x101010 brighter, back to
// 0x000080 when that reaches white.
Rgb brightened_line_colour(Rgb colour);

// The two heading lines, each 80 characters.
std::string heading_line_1(const GraphRun& run);
std::string heading_line_2(const GraphRun& run);

// Text column of the problem title on a window of `columns` text columns;
// a title wider than the window starts at column 1.
int title_column(int columns, int title_length);
