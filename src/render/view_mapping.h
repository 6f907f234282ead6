// View mapping: from node coordinates and displacements to the plane world
// coordinates that are drawn, and the world window of a graph.
//
// Model data and per-node tables are 32-bit; the view values are 64-bit, with
// the roundings to 32 bits done exactly where noted.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/status.h"

struct GraphRun;
struct GraphSettings;

// One per graph, fixed for its whole animation.
struct ViewMapping {
  double coord_min[3] = {0, 0, 0};  // range of each displaced coordinate direction
  double coord_max[3] = {0, 0, 0};
  double plot_x_min = 0, plot_x_max = 0;  // plane ranges; relative to the centre
  double plot_y_min = 0, plot_y_max = 0;  // once compute_view has run
  double centre_x = 0, centre_y = 0;
  double window_x1 = 0, window_x2 = 0, window_y1 = 0, window_y2 = 0;
  double grid_dx = 0, grid_dy = 0;
  double box_x1 = 0, box_x2 = 0, box_y1 = 0, box_y2 = 0;
  double origin_x = 0, origin_y = 0;
  double marker_dx = 0, marker_dy = 0;
};

// Number of frames: (end - start + frequency) / frequency, truncating, in
// 64-bit arithmetic; 0 or less means no frame. A frequency of 0 (which the
// frequency check never lets through) counts as 1.
std::int64_t frame_count(const GraphSettings& settings);

// Step shown by frame j.
std::int64_t frame_step(const GraphSettings& settings, std::int64_t j);

// The step of frame j + 1, for reading it ahead: none when j + 1 is not
// before `end` or its step is not a step number a file can hold.
std::optional<int> next_frame_step(const GraphSettings& settings, std::int64_t j, std::int64_t end);

// Reads the displacements of every node at `step` through the run's step
// source and fills displaced, plot_x and plot_y (uncentred). With `ahead`,
// the source is told that step comes next once this one is read, so that it
// can be read while this one is projected.
Status project_step(GraphRun& run, int step, std::optional<int> ahead = std::nullopt);

// Fills displaced, plot_x and plot_y from the undisplaced coordinates.
void project_undisplaced(GraphRun& run);

// The extents pass over every frame to be drawn. With no frame at all the
// undisplaced structure is measured, so that the empty window still frames it.
// When `note` is given it is set to the line (non_finite_line) that names the
// first displacement of the frames that is not a finite number, empty when
// there is none: the arithmetic takes such a value as it is, and the line
// tells the user why the picture looks as it does.
Status measure_extents(GraphRun& run, std::string* note = nullptr);

// The same, asking `stop` before each step: when it answers true the pass
// ends there, with *stopped set and the extents unfinished.
Status measure_extents(GraphRun& run, const std::function<bool()>& stop, bool* stopped,
                       std::string* note = nullptr);

// Centre, world window, grid units and grid box from the extents; centres
// plot_x and plot_y. A zero span takes the other span (1 when both are zero),
// so the window is always valid.
void compute_view(GraphRun& run);

// Sets the world window and the grid units that follow from it; every size
// on screen (markers, symbols, label offsets) is a share of the grid units,
// so a smaller window (a zoom) magnifies the structure while those keep
// their size in pixels. compute_view ends with it.
void set_world_window(ViewMapping& view, double x1, double y1, double x2, double y2);

// gfx_set_window on the current window, y upwards unless reverse_vertical.
bool apply_world_window(const GraphRun& run);

// origin_x, origin_y, marker_dx, marker_dy.
void frame_units(ViewMapping& view);

// Subtracts the centre from plot_x and plot_y.
void centre_frame(GraphRun& run);
