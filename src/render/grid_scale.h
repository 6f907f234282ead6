// Grid and scale over the grid box: grid lines whose count adapts to how much
// of the window the box fills, and numbered ticks along its left and bottom
// edges showing model coordinates.
#pragma once

struct GraphRun;

// Base spacings of the grid box, shared by the grid and the scale.
struct GridSteps {
  double step_x = 0;  // (box_x2 - box_x1) / 5
  double step_y = 0;  // (box_y2 - box_y1) / 10
};

// Draws the grid lines in grid_colour and returns the spacings.
GridSteps draw_grid(const GraphRun& run);

// Draws the ticks and numbers in scale_colour.
void draw_scale(const GraphRun& run, const GridSteps& steps);
