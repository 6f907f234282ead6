// The Explorer's pictures: one problem's frames drawn offscreen with the
// viewer's reading and drawing code, at the view, step and settings a
// request asks for.
//
// An ExplorerFrames owns everything a picture needs (the step files, the
// GraphRun, the offscreen surface) and is used by one thread: the frame
// worker for the window, a movie export for its file, the benchmark.
#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "base/status.h"
#include "input/problem.h"
#include "input/step_records.h"
#include "pick_index.h"
#include "platform/surface.h"
#include "render/colouring.h"
#include "render/graph_run.h"
#include "render/step_source.h"
#include "render/view_mapping.h"
#include "settings/graph_settings.h"
#include "view_control.h"

// What one picture shows.
struct FrameRequest {
  std::int64_t frame = 0;                  // of the range in `settings`
  std::optional<std::int64_t> next_frame;  // the frame expected next, read meanwhile
  int width = 640;                         // picture, device pixels
  int height = 480;
  double text_scale = 1;                   // device pixels per pixel of text
  GraphSettings settings;                  // range, magnification and look
  std::int32_t colour_scheme = kSchemeStandard;
  Colouring colouring;                     // elements coloured by a quantity (none: the viewer's)
  bool fit_magnification = false;          // the factor is the fit's, not settings'
  bool find_peak = false;                  // find the frame of the largest displacement
  bool orbit = false;                      // a spatial problem seen orthographically
  Orbit orbit_angles;
  std::optional<WorldRect> zoom;           // none: the whole structure
  PickHit highlight;                       // the picked item, drawn marked
  bool legible_numbers = true;             // numbers only where they can be read
};

// What came of a request, with what the window shows beside the picture.
struct FrameResult {
  std::uint64_t serial = 0;
  Status status;                   // a read error; the picture is then the one before
  std::int64_t frames = 0;         // of the range
  std::int64_t frame = 0;
  std::int64_t step = 0;
  float time = 0;
  float displacement_factor = 0;   // drawn with (the fit's when chosen)
  std::int64_t peak_frame = -1;    // frame of the largest displacement; -1 unknown
  WorldRect window;                // the world window drawn
  WorldRect fit_window;            // the one that shows the whole structure
  bool y_up = true;
  int width = 0, height = 0;
  std::uint64_t positions = 0;     // which node positions the picture shows
  // The highlighted item at this step: a node's coordinates and
  // displacement (NGL each), an element's value and code.
  PickHit highlight;
  std::vector<float> coordinates;
  std::vector<float> displacement;
  float element_value = 0;
  std::int32_t element_code = 0;

  PixelMapping mapping() const { return mapping_of(window, y_up, width, height); }
};

class ExplorerFrames {
 public:
  explicit ExplorerFrames(ProblemPtr problem);
  ExplorerFrames(const ExplorerFrames&) = delete;
  ExplorerFrames& operator=(const ExplorerFrames&) = delete;

  // Makes the surface the calling thread's current window; call once on the
  // thread that draws, before draw.
  void attach();

  // Draws the picture of `request` into the surface and fills `result`.
  // `superseded` is asked between the steps of a pass over the range and
  // before drawing: when it answers true the work stops and false is
  // returned, nothing drawn. A read error is reported in result->status
  // (true is returned, the picture left as it was).
  bool draw(const FrameRequest& request, const std::function<bool()>& superseded, FrameResult* result);

  // A copy of the picture.
  QImage picture() const;
  // The picture as the movie writer takes it.
  void copy_picture(WndImage* image) const;

  // An index of the positions of the picture drawn last.
  std::shared_ptr<const PickIndex> build_pick_index();

  const ProblemPtr& problem() const { return problem_; }

 private:
  // The range, factor and orientation the view and positions were made for.
  struct Prepared {
    std::int32_t start = 0, end = -1, frequency = 1;
    float factor = 0;
    bool reverse_vertical = false, reverse_y = false;
    float min_size_factor = 1;
    bool min_size_auto = true;
    // A colouring over all steps is measured by the extents pass.
    ColourBy colour_by = ColourBy::none;
    ColourRange colour_range = ColourRange::all_steps;
    bool operator==(const Prepared&) const = default;
  };

  // The fit's pass over the range: the largest displacement and its frame.
  Status find_peak(const GraphSettings& range, const std::function<bool()>& superseded, bool* stopped);
  // The extents pass and the views for `settings` (with its factor set).
  Status prepare(const GraphSettings& settings, const std::function<bool()>& superseded, bool* stopped);
  // The view a request's projection is drawn in (its window the fit's).
  ViewMapping view_for(const FrameRequest& request);
  void draw_highlight(const PickHit& hit);
  void draw_axis_triad(const std::array<double, 6>& projection);

  ProblemPtr problem_;
  StepRecords records_;
  StepRecordsSource source_;
  GraphRun run_;
  GfxSurface surface_;

  // The fit's peak, for the range it was found over.
  std::optional<Prepared> peak_range_;
  double peak_ = 0;
  std::int64_t peak_frame_ = -1;

  std::shared_ptr<const NodeElements> node_elements_;  // made for the first index

  std::optional<Prepared> prepared_;
  ViewMapping oblique_view_;  // compute_view's, for the viewer's projection

  // The step whose positions the run holds, and for which projection.
  std::uint64_t positions_ = 0;  // counts every new set of positions
  std::int64_t positions_step_ = -1;
  std::optional<std::array<double, 6>> positions_projection_;
  // The step the step files were last asked to read ahead (-1: none).
  std::int64_t ahead_step_ = -1;

  // What the picture was last drawn with, to start a show-all trail afresh
  // when the view changes.
  bool drawn_ = false;
  WorldRect drawn_window_;
  int drawn_width_ = 0, drawn_height_ = 0;
  double drawn_scale_ = 1;
};
