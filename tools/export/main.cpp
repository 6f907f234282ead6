// veltra-export: renders the frames of a result folder to PNG files with the
// viewer's drawing code and window layer, offscreen.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "export_options.h"
#include "input/load_problem.h"
#include "input/step_records.h"
#include "platform/wnd.h"
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

void fail(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  wnd_quit(kExitError);
}

std::string frame_file(std::int64_t frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%04lld.png", static_cast<long long>(frame));
  return (std::filesystem::path(options.out) / name).string();
}

void export_program() {
  settings_startup();
  StepRecords records(*problem);
  Status status = records.open_u01();
  if (!status) fail(status.message());
  StepRecordsSource source(records);

  GraphRun run;
  prepare_graph_run(run, problem, chosen.settings, chosen.colour_scheme, &source);
  run.unit = kGraphUnit;
  run.caption = "(1) " + problem->control.problem_title;
  run.romanian_messages = chosen.romanian_messages;
  status = measure_extents(run);
  if (!status) fail(status.message());

  wnd_set_graph_area_size(options.width, options.height);
  switch (setup_graph_window(run)) {
    case WindowSetup::ready:
      break;
    case WindowSetup::not_open:
      fail("Window Not Open");
      break;
    case WindowSetup::font_error:
      fail(" ** Font Initialization Error");
      break;
  }

  const std::int64_t frames = frame_count(run.settings);
  if (options.only_frame >= frames)
    fail("--frame " + std::to_string(options.only_frame) + ": the graph has " +
         std::to_string(frames > 0 ? frames : 0) + " frames");
  if (frames <= 0) std::fprintf(stderr, "no frame to render: the start step lies after the end step\n");

  std::string save_error;
  AnimationOptions animation;
  animation.only_frame = options.only_frame;
  animation.after_frame = [&](std::int64_t frame, std::int64_t) {
    const std::string path = frame_file(frame);
    if (wnd_save_image(run.unit, path)) return true;
    save_error = path + ": the frame could not be written";
    return false;
  };
  status = run_animation(run, animation);
  if (!status) fail(status.message());
  if (!save_error.empty()) fail(save_error);
  wnd_quit(0);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(export_usage().c_str(), stdout);
    return 0;
  }
  Status status = parse_export_options(args, &options);
  if (!status) {
    std::fprintf(stderr, "veltra-export: %s\n%s", status.message().c_str(), export_usage().c_str());
    return kExitError;
  }

  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::absolute(options.folder, ec);
  LoadResult loaded = load_problem(folder.lexically_normal().string());
  if (!loaded.status) {
    std::fprintf(stderr, "%s\n", loaded.status.message().c_str());
    return kExitError;
  }
  problem = loaded.problem;
  status = export_settings(options, problem->control.step_count, &chosen);
  if (!status) {
    std::fprintf(stderr, "veltra-export: %s\n", status.message().c_str());
    return kExitError;
  }
  for (const std::string& note : chosen.notes) std::fprintf(stderr, "%s\n", note.c_str());

  std::filesystem::create_directories(options.out, ec);
  if (ec || !std::filesystem::is_directory(options.out)) {
    std::fprintf(stderr, "%s: the output folder cannot be made\n", options.out.c_str());
    return kExitError;
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
