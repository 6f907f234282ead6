// veltra-export: renders the frames of a result folder with the viewer's
// drawing code and window layer, offscreen, into a PNG folder, a movie or
// both, and writes the drawn steps as a ParaView collection.
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/memory_budget.h"
#include "command_line.h"
#include "exit_status.h"
#include "export_command_line.h"
#include "export_options.h"
#include "frame_sink.h"
#include "input/step_records.h"
#include "interrupt.h"
#include "platform/surface.h"
#include "platform/wnd.h"
#include "progress.h"
#include "result_folder.h"
#include "render/animation.h"
#include "render/graph_run.h"
#include "render/step_source.h"
#include "render/view_mapping.h"
#include "render/window_setup.h"
#include "settings/graph_settings.h"
#include "vtk_series.h"

namespace {

constexpr char kProgram[] = "veltra-export";

// What the program thread works on, filled before the runtime starts.
ExportOptions options;
ExportSettings chosen;
std::shared_ptr<Problem> problem;
std::vector<std::unique_ptr<FrameSink>> sinks;
std::unique_ptr<Progress> progress;
std::unique_ptr<VtkSeries> vtk;  // --vtk

// Ends the process with one line on stderr and the exit status of `status`;
// nothing half-written stays.
[[noreturn]] void fail(const Status& status) {
  if (progress) progress->finish();
  for (auto& sink : sinks) sink->abandon();
  if (vtk) vtk->abandon();
  wnd_quit(report_failure(kProgram, status));
}

// The frames to write: all of the graph's, or the one of --frame.
struct FrameRange {
  std::int64_t first = 0, end = 0;
};

Status frames_to_write(const GraphSettings& settings, FrameRange* range) {
  const std::int64_t frames = frame_count(settings);
  if (frames <= 0) {
    // Without a stored step the folder is at fault, otherwise the steps asked for.
    if (Status steps = check_stored_steps(*problem, "draw"); !steps.is_ok()) return steps;
    return Status::invalid_argument("no frame to render: the start step lies after the end step");
  }
  if (options.only_frame >= frames)
    return Status::invalid_argument("--frame " + std::to_string(options.only_frame) + ": the graph has " +
                                    std::to_string(frames) + " frames");
  *range = options.only_frame >= 0 ? FrameRange{options.only_frame, options.only_frame + 1} : FrameRange{0, frames};
  return Status::ok();
}

// The run's step files, watched: each step read first checks for an
// interrupt, and the steps of the extents pass are counted on a terminal.
class WatchedSteps : public StepSource {
 public:
  explicit WatchedSteps(StepSource& steps) : steps_(steps) {}
  // Counts the steps read from now on, of `total`, until stop_counting.
  void count_steps(std::int64_t total, const char* unit) {
    progress_ = std::make_unique<Progress>(total, unit, options.quiet, false);
    read_ = 0;
  }
  void stop_counting() { progress_.reset(); }

  Status read_node_step(int step, std::vector<float>* displacements) override {
    if (interrupted()) return interrupted_status();
    Status status = steps_.read_node_step(step, displacements);
    if (progress_) progress_->done(++read_);
    return status;
  }
  Status read_element_step(int step, std::vector<float>* values, std::vector<std::int32_t>* codes) override {
    if (interrupted()) return interrupted_status();
    return steps_.read_element_step(step, values, codes);
  }
  void close_displacements() override { steps_.close_displacements(); }
  void read_ahead(int step, bool elements) override { steps_.read_ahead(step, elements); }

 private:
  StepSource& steps_;
  std::unique_ptr<Progress> progress_;
  std::int64_t read_ = 0;
};

// --vtk alone: the steps' records straight into the series, with no
// drawing and no window system.
Status write_series() {
  FrameRange range;
  if (Status s = frames_to_write(chosen.settings, &range); !s.is_ok()) return s;
  StepRecords records(*problem);
  if (Status s = records.open_u01(); !s.is_ok()) return s;
  StepRecordsSource records_source(records);
  WatchedSteps source(records_source);
  if (Status s = vtk->begin(*problem, range.end - range.first); !s.is_ok()) return s;
  progress = std::make_unique<Progress>(range.end - range.first, "steps", options.quiet, true);
  const bool elements = problem->control.element_count > 0;
  std::vector<float> displacements, values;
  std::vector<std::int32_t> codes;
  for (std::int64_t j = range.first; j < range.end; ++j) {
    const std::int64_t step = frame_step(chosen.settings, j);
    const int s = static_cast<int>(step);
    Status status = source.read_node_step(s, &displacements);
    if (status.is_ok() && elements) status = source.read_element_step(s, &values, &codes);
    if (!status.is_ok()) return status;
    // The two cores share the reading: the helper reads the next step's
    // el.unf records while this thread writes this step and then reads the
    // next one's u01.unf records.
    if (const std::optional<int> next = next_frame_step(chosen.settings, j, range.end)) {
      if (elements) records_source.read_elements_ahead(*next);
      else source.read_ahead(*next, false);
    }
    const float t = static_cast<float>(step) * problem->control.time_step;
    if (status = vtk->add(t, displacements, values, codes); !status.is_ok()) return status;
    progress->done(j - range.first + 1);
  }
  return vtk->finish();
}

void export_program() {
  settings_startup();
  StepRecords records(*problem);
  Status status = records.open_u01();
  if (!status.is_ok()) fail(status);
  StepRecordsSource records_source(records);
  WatchedSteps source(records_source);

  GraphRun run;
  prepare_graph_run(run, problem, chosen.settings, chosen.colour_scheme, &source);
  run.caption = "(1) " + problem->control.problem_title;
  run.romanian_messages = chosen.romanian_messages;
  run.colouring = chosen.colouring;

  FrameRange range;
  if (status = frames_to_write(run.settings, &range); !status.is_ok()) fail(status);
  const std::int64_t total = range.end - range.first;

  source.count_steps(frame_count(run.settings), "steps of u01.unf for the extents");
  std::string note;
  status = measure_extents(run, &note);
  source.stop_counting();
  if (!status.is_ok()) fail(status);
  if (!note.empty()) report_note(kProgram, note);

  // The frames are drawn into an offscreen surface of the chosen size.
  GfxSurface surface(options.width, options.height);
  surface.make_current();
  switch (setup_current_window(run)) {
    case WindowSetup::ready:
      break;
    case WindowSetup::not_open:
      fail(Status::io_error("Window Not Open"));
    case WindowSetup::font_error:
      fail(Status::io_error(" ** Font Initialization Error"));
  }

  for (auto& sink : sinks)
    if (status = sink->begin(options.width, options.height); !status.is_ok()) fail(status);
  if (vtk)
    if (status = vtk->begin(*problem, total); !status.is_ok()) fail(status);
  progress = std::make_unique<Progress>(total, "frames", options.quiet, true);

  // The frame loop: each drawn frame is copied once and handed to every sink.
  WndImage image;
  std::int64_t done = 0;
  Status save_error;
  AnimationOptions animation;
  animation.only_frame = options.only_frame;
  animation.after_frame = [&](std::int64_t frame, std::int64_t step) {
    if (interrupted()) {
      save_error = interrupted_status();
      return false;
    }
    surface.copy_image(&image);
    const std::int64_t number = options.only_frame >= 0 ? frame : done;
    for (auto& sink : sinks) {
      if (Status s = sink->add(image, number); !s.is_ok()) {
        save_error = s;
        return false;
      }
    }
    if (vtk) {
      const float t = static_cast<float>(step) * problem->control.time_step;
      if (Status s = vtk->add(t, run.node_step, run.element_value, run.element_code); !s.is_ok()) {
        save_error = s;
        return false;
      }
    }
    progress->done(++done);
    return true;
  };
  status = run_animation(run, animation);
  if (!status.is_ok()) fail(status);
  if (!save_error.is_ok()) fail(save_error);
  for (auto& sink : sinks)
    if (status = sink->finish(); !status.is_ok()) fail(status);
  if (vtk)
    if (status = vtk->finish(); !status.is_ok()) fail(status);
  progress->finish();
  wnd_quit(kExitDone);
}

}  // namespace

// Qt's notes and warnings about the offscreen platform (no runtime folder, no
// window manager hints) say nothing to the user of a command-line tool;
// critical messages still show.
void quiet_qt_messages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

int main(int argc, char** argv) {
  qInstallMessageHandler(quiet_qt_messages);
  CommandLine command_line(kProgram, kExportDescription, kExportFailures);
  add_export_options(&command_line, &options);
  if (std::optional<int> exit = command_line.parse(argc, argv)) return *exit;

  LoadResult loaded = load_result_folder(options.folder);
  for (const std::string& line : loaded.warnings) report_note(kProgram, line);
  if (!loaded.status.is_ok()) return report_failure(kProgram, loaded.status);
  problem = loaded.problem;
  if (Status status = export_settings(options, problem->control.step_count, &chosen); !status.is_ok())
    return report_failure(kProgram, status);
  for (const std::string& note : chosen.notes) std::fprintf(stderr, "%s\n", note.c_str());

  if (!options.out.empty())
    sinks.push_back(make_png_folder(options.out, [](const std::string& line) { report_note(kProgram, line); }));
  if (!options.movie.empty()) sinks.push_back(make_movie_file(options.movie, options.fps));
  if (!options.vtk.empty()) vtk = std::make_unique<VtkSeries>(options.vtk);
  // The pictures' memory, before a frame is drawn.
  std::int64_t bytes = 0;
  for (const auto& sink : sinks) bytes += sink->memory_bytes(options.width, options.height);
  const std::string size_text = std::to_string(options.width) + "x" + std::to_string(options.height);
  if (Status status = check_memory("--size " + size_text, bytes); !status.is_ok())
    return report_failure(kProgram, status);
  // From here on the export writes files: a Ctrl-C or a SIGTERM stops it
  // at the next step or frame, and what it was writing is removed.
  catch_interrupts();
  if (sinks.empty()) {
    const Status status = write_series();
    if (progress) progress->finish();
    if (!status.is_ok()) vtk->abandon();
    return report_failure(kProgram, status);
  }

  // Offscreen unless a platform is asked for.
  std::vector<char*> qt_args = {argv[0]};
  std::string platform_flag = "-platform";
  if (!options.platform.empty()) {
    qt_args.push_back(platform_flag.data());
    qt_args.push_back(options.platform.data());
  } else {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
  qt_args.push_back(nullptr);
  int qt_argc = static_cast<int>(qt_args.size()) - 1;
  return wnd_runtime_main(qt_argc, qt_args.data(), export_program);
}
