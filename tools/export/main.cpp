// veltra-export: renders the frames of a result folder with the viewer's
// drawing code and window layer, offscreen, into a PNG folder, a movie or
// both.
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "export_command_line.h"
#include "export_options.h"
#include "frame_sink.h"
#include "input/load_problem.h"
#include "input/step_records.h"
#include "platform/wnd.h"
#include "progress.h"
#include "render/animation.h"
#include "render/graph_run.h"
#include "render/step_source.h"
#include "render/view_mapping.h"
#include "render/window_setup.h"
#include "settings/graph_settings.h"

namespace {

constexpr int kExitError = 2;
constexpr int kGraphUnit = 10;

// What the program thread works on, filled before the runtime starts.
ExportOptions options;
ExportSettings chosen;
std::shared_ptr<Problem> problem;
std::vector<std::unique_ptr<FrameSink>> sinks;
std::unique_ptr<Progress> progress;

// Ends the process with one line on stderr; nothing half-written stays.
[[noreturn]] void fail(const std::string& message) {
  if (progress) progress->finish();
  for (auto& sink : sinks) sink->abandon();
  std::fprintf(stderr, "%s\n", message.c_str());
  wnd_quit(kExitError);
}

void export_program() {
  settings_startup();
  StepRecords records(*problem);
  Status status = records.open_u01();
  if (!status.is_ok()) fail(status.message());
  StepRecordsSource source(records);

  GraphRun run;
  prepare_graph_run(run, problem, chosen.settings, chosen.colour_scheme, &source);
  run.unit = kGraphUnit;
  run.caption = "(1) " + problem->control.problem_title;
  run.romanian_messages = chosen.romanian_messages;
  status = measure_extents(run);
  if (!status.is_ok()) fail(status.message());

  wnd_set_graph_area_size(options.width, options.height);
  switch (setup_graph_window(run)) {
    case WindowSetup::ready:
      break;
    case WindowSetup::not_open:
      fail("Window Not Open");
    case WindowSetup::font_error:
      fail(" ** Font Initialization Error");
  }

  const std::int64_t frames = frame_count(run.settings);
  if (frames <= 0) fail("no frame to render: the start step lies after the end step");
  if (options.only_frame >= frames)
    fail("--frame " + std::to_string(options.only_frame) + ": the graph has " + std::to_string(frames) + " frames");
  const std::int64_t total = options.only_frame >= 0 ? 1 : frames;

  for (auto& sink : sinks)
    if (status = sink->begin(options.width, options.height); !status.is_ok()) fail(status.message());
  progress = std::make_unique<Progress>(total, options.quiet);

  // The frame loop: each drawn frame is copied once and handed to every sink.
  WndImage image;
  std::int64_t done = 0;
  std::string save_error;
  AnimationOptions animation;
  animation.only_frame = options.only_frame;
  animation.after_frame = [&](std::int64_t frame, std::int64_t) {
    if (!wnd_copy_image(run.unit, &image)) {
      save_error = "the graph window's picture cannot be read";
      return false;
    }
    const std::int64_t number = options.only_frame >= 0 ? frame : done;
    for (auto& sink : sinks) {
      if (Status s = sink->add(image, number); !s.is_ok()) {
        save_error = s.message();
        return false;
      }
    }
    progress->frames_done(++done);
    return true;
  };
  status = run_animation(run, animation);
  if (!status.is_ok()) fail(status.message());
  if (!save_error.empty()) fail(save_error);
  for (auto& sink : sinks)
    if (status = sink->finish(); !status.is_ok()) fail(status.message());
  progress->finish();
  wnd_quit(0);
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
  std::vector<std::string> args(argv + 1, argv + argc);
  const CommandLineResult command_line = read_export_command_line(args, &options);
  switch (command_line.action) {
    case CommandLineAction::run:
      break;
    case CommandLineAction::help:
    case CommandLineAction::version:
      std::fputs(command_line.text.c_str(), stdout);
      return 0;
    case CommandLineAction::error:
      std::fprintf(stderr, "veltra-export: %s (see veltra-export --help)\n", command_line.text.c_str());
      return kExitError;
  }

  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::absolute(options.folder, ec);
  LoadResult loaded = load_problem(folder.lexically_normal().string());
  if (!loaded.status.is_ok()) {
    std::fprintf(stderr, "%s\n", loaded.status.message().c_str());
    return kExitError;
  }
  problem = loaded.problem;
  Status status = export_settings(options, problem->control.step_count, &chosen);
  if (!status.is_ok()) {
    std::fprintf(stderr, "veltra-export: %s\n", status.message().c_str());
    return kExitError;
  }
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
