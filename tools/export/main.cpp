// veltra-export: renders the frames of a result folder with the viewer's
// drawing code and window layer, offscreen, into a PNG folder, a movie or
// both.
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "command_line.h"
#include "exit_status.h"
#include "export_command_line.h"
#include "export_options.h"
#include "frame_sink.h"
#include "input/step_records.h"
#include "platform/wnd.h"
#include "progress.h"
#include "result_folder.h"
#include "render/animation.h"
#include "render/graph_run.h"
#include "render/step_source.h"
#include "render/view_mapping.h"
#include "render/window_setup.h"
#include "settings/graph_settings.h"

namespace {

constexpr char kProgram[] = "veltra-export";
constexpr int kGraphUnit = 10;

// What the program thread works on, filled before the runtime starts.
ExportOptions options;
ExportSettings chosen;
std::shared_ptr<Problem> problem;
std::vector<std::unique_ptr<FrameSink>> sinks;
std::unique_ptr<Progress> progress;

// Ends the process with one line on stderr and the exit status of `status`;
// nothing half-written stays.
[[noreturn]] void fail(const Status& status) {
  if (progress) progress->finish();
  for (auto& sink : sinks) sink->abandon();
  wnd_quit(report_failure(kProgram, status));
}

void export_program() {
  settings_startup();
  StepRecords records(*problem);
  Status status = records.open_u01();
  if (!status.is_ok()) fail(status);
  StepRecordsSource source(records);

  GraphRun run;
  prepare_graph_run(run, problem, chosen.settings, chosen.colour_scheme, &source);
  run.unit = kGraphUnit;
  run.caption = "(1) " + problem->control.problem_title;
  run.romanian_messages = chosen.romanian_messages;
  status = measure_extents(run);
  if (!status.is_ok()) fail(status);

  wnd_set_graph_area_size(options.width, options.height);
  switch (setup_graph_window(run)) {
    case WindowSetup::ready:
      break;
    case WindowSetup::not_open:
      fail(Status::io_error("Window Not Open"));
    case WindowSetup::font_error:
      fail(Status::io_error(" ** Font Initialization Error"));
  }

  const std::int64_t frames = frame_count(run.settings);
  if (frames <= 0) {
    // Without a stored step the folder is at fault, otherwise the steps asked for.
    const std::string message = "no frame to render: the start step lies after the end step";
    fail(problem->control.step_count < 0 ? Status::damaged(message) : Status::invalid_argument(message));
  }
  if (options.only_frame >= frames)
    fail(Status::invalid_argument("--frame " + std::to_string(options.only_frame) + ": the graph has " +
                                  std::to_string(frames) + " frames"));
  const std::int64_t total = options.only_frame >= 0 ? 1 : frames;

  for (auto& sink : sinks)
    if (status = sink->begin(options.width, options.height); !status.is_ok()) fail(status);
  progress = std::make_unique<Progress>(total, options.quiet);

  // The frame loop: each drawn frame is copied once and handed to every sink.
  WndImage image;
  std::int64_t done = 0;
  Status save_error;
  AnimationOptions animation;
  animation.only_frame = options.only_frame;
  animation.after_frame = [&](std::int64_t frame, std::int64_t) {
    if (!wnd_copy_image(run.unit, &image)) {
      save_error = Status::io_error("the graph window's picture cannot be read");
      return false;
    }
    const std::int64_t number = options.only_frame >= 0 ? frame : done;
    for (auto& sink : sinks) {
      if (Status s = sink->add(image, number); !s.is_ok()) {
        save_error = s;
        return false;
      }
    }
    progress->frames_done(++done);
    return true;
  };
  status = run_animation(run, animation);
  if (!status.is_ok()) fail(status);
  if (!save_error.is_ok()) fail(save_error);
  for (auto& sink : sinks)
    if (status = sink->finish(); !status.is_ok()) fail(status);
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
  if (!loaded.status.is_ok()) return report_failure(kProgram, loaded.status);
  problem = loaded.problem;
  if (Status status = export_settings(options, problem->control.step_count, &chosen); !status.is_ok())
    return report_failure(kProgram, status);
  for (const std::string& note : chosen.notes) std::fprintf(stderr, "%s\n", note.c_str());

  if (!options.out.empty()) sinks.push_back(make_png_folder(options.out));
  if (!options.movie.empty()) sinks.push_back(make_movie_file(options.movie, options.fps));

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
