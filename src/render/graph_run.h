// GraphRun: everything one graph's drawing needs and owns, from the extents
// pass to the last frame of its animation.
//
// A run draws with its own copy of the settings (taken when its Graph Settings
// dialog was accepted), its own problem, view, tables and window
// configuration, so that another run's dialog or window never changes a
// running animation. The only thing it writes back to shared state is the
// brightened line colour of show-all mode.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "input/problem.h"
#include "platform/wnd.h"
#include "render/colouring.h"
#include "render/step_source.h"
#include "render/view_mapping.h"
#include "settings/graph_settings.h"

// "TARVEK:" padded with blanks to 12 characters.
extern const std::string identity_label;

struct GraphRun {
  ProblemPtr problem;
  GraphSettings settings;          // the run's own copy
  std::int32_t colour_scheme = kSchemeStandard;  // as it stood with the copy
  StepSource* steps = nullptr;     // the run's step files; not owned
  bool romanian_messages = false;
  std::string identity = identity_label;

  int unit = 10;                   // graph window unit
  std::string caption;             // "(n) " and the problem title
  WindowConfig window;             // of this run's graph window, read when it opened

  ViewMapping view;
  std::vector<float> displaced;    // node_count x NGL, node-major
  std::vector<float> plot_x;       // node_count, the current frame's world positions
  std::vector<float> plot_y;
  std::vector<float> node_step;    // scratch: one step's displacements
  std::vector<float> element_value;          // element_count
  std::vector<std::int32_t> element_code;    // element_count
  // The elements that join two nodes (from 0), in order, listed once a run
  // by the first frame (structure.h's draw_element_batches).
  bool drawn_listed = false;
  std::vector<int> drawn_elements;
  // The nodes (from 1) restrained in some direction, in order, listed once a
  // run by the first frame (structure.h's for_each_drawn_node): with node
  // numbers off, the only nodes a frame draws anything at.
  bool restrained_listed = false;
  std::vector<int> restrained_nodes;

  // Elements coloured by a quantity, with a colour bar; none by default (the
  // viewer's drawing). Set before the extents pass.
  Colouring colouring;
  ColourState colour_state;

  std::uint32_t cancel_generation = 0;  // read at the start of the animation

  // What a program other than the viewer may change; the defaults draw as
  // the viewer does.
  // A spatial problem's projection: plot_x = m[0..2] . displaced and
  // plot_y = m[3..5] . displaced instead of the oblique one (an orbit).
  std::optional<std::array<double, 6>> projection;
  bool axis_arrows = true;  // the three axis arrows of the frame
  // Node and element numbers are drawn only where the entry is non-zero
  // (one per node, one per element); all of them while a table is empty.
  std::vector<std::uint8_t> node_number_shown;
  std::vector<std::uint8_t> element_number_shown;

  // The rectangle of the ellipse drawn around this window's last time label,
  // covered in show-all mode before the next label is drawn.
  bool has_label_ellipse = false;
  double label_ellipse[4] = {0, 0, 0, 0};

  // Derived once per run from the problem.
  int node_count() const { return problem ? problem->control.node_count : 0; }
  int element_count() const { return problem ? problem->control.element_count : 0; }
  int ngl() const { return problem ? problem->control.NGL : 0; }
};

// Fills the run's problem, settings and step source and sizes every table for
// the problem (all zero). Negative sizes count as 0.
void prepare_graph_run(GraphRun& run, ProblemPtr problem, const GraphSettings& settings,
                       std::int32_t colour_scheme, StepSource* steps);

// A length of `pixels` pixels in world units with the horizontal factor
// (world width per pixel) or the vertical one (world height per pixel) of the
// run's window. A window reporting no pixels counts as one pixel.
double horizontal_pixels(const GraphRun& run, double pixels);
double vertical_pixels(const GraphRun& run, double pixels);
