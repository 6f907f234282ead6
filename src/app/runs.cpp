#include "app/runs.h"

#include <cstdio>
#include <exception>
#include <new>
#include <utility>

#include "app/app_state.h"
#include "app/graph_window.h"
#include "input/blanks.h"
#include "app/directory_choice.h"
#include "input/file_lookup.h"
#include "input/initial_directory.h"
#include "input/language.h"
#include "input/load_problem.h"
#include "input/step_records.h"
#include "platform/wnd.h"
#include "render/animation.h"
#include "render/graph_run.h"
#include "render/step_source.h"
#include "render/view_mapping.h"
#include "settings/graph_settings.h"
#include "settings/graph_settings_dialog.h"
#include "settings/time_settings.h"

namespace {

constexpr std::size_t kGraphTitleWidth = 80;

// Reports a read error as the program's end.
void stop_with(const Status& status) { wnd_stop_with_message(status.message()); }

// The run tail, shared by both runs, on the problem the run started with.
void run_tail(int graph_number, const ProblemPtr& problem) {
  StepRecords records(*problem);
  Status status = records.open_u01();
  if (!status.is_ok()) return stop_with(status);

  if (show_time_settings(*problem) == DialogEnd::cancelled) {
    records.close();
    return;
  }
  check_frequency();

  const std::string graph_title = make_graph_title(graph_number, problem->control);
  const auto graph_title_length = static_cast<std::int32_t>(graph_title.size());
  if (show_graph_settings(*problem, graph_title, graph_title_length) == DialogEnd::cancelled) {
    records.close();
    return;
  }

  // The animation draws with the settings as this run's dialogs left them.
  GraphSettings settings;
  std::int32_t colour_scheme;
  {
    SettingsGuard guard;
    settings = guard->settings;
    colour_scheme = guard->colour_scheme;
  }

  StepRecordsSource source(records);
  GraphRun run;
  prepare_graph_run(run, problem, settings, colour_scheme, &source);
  run.romanian_messages = romanian_messages.load();
  run.unit = kFirstGraphUnit + graph_number - 1;
  run.caption = graph_title;

  wnd_write_line(kInfoUnit, graph_number_line(graph_number));
  wnd_write_line(kInfoUnit, " * Reading Data ...");
  std::string note;
  status = measure_extents(run, &note);
  if (!status.is_ok()) return stop_with(status);
  if (!note.empty()) wnd_write_line(kInfoUnit, " " + note);
  wnd_write_line(kInfoUnit, " * Finished.");

  if (!open_graph_window(run)) return;
  status = run_animation(run);
  if (!status.is_ok()) return stop_with(status);
}

}  // namespace

void run_thread_root(void (*run)(int), int graph_number) noexcept {
  std::string cause;
  try {
    run(graph_number);
    return;
  } catch (const std::bad_alloc&) {
    cause = "not enough memory";
  } catch (const std::exception& error) {
    cause = error.what();
  } catch (...) {
    cause = "an unknown error";
  }
  try {
    wnd_write_line(kInfoUnit, " * Graph Run Failed: " + cause);
    wnd_stop_with_message("Graph run failed: " + cause);
  } catch (...) {
    wnd_end_program(0);
  }
}

std::string make_graph_title(int graph_number, const ProblemControl& control) {
  std::string title = "(" + std::to_string(graph_number) + ") " + control.problem_title;
  if (title.size() > kGraphTitleWidth) title.resize(kGraphTitleWidth);
  return std::string(without_trailing_blanks(title));
}

std::string graph_number_line(int graph_number) {
  char text[32];
  std::snprintf(text, sizeof text, " Graf. No.:%2d", graph_number);
  return text;
}

void new_graph_run(int graph_number) {
  const std::string startup_directory = current_directory();
  Status status = read_language(startup_directory);
  if (!status.is_ok()) return stop_with(status);

  std::string initial_directory;
  if (graph_number == 1) {
    status = first_graph_initial_directory(startup_directory, &initial_directory);
    if (!status.is_ok()) return stop_with(status);
  }

  const DirectoryChoice choice = choose_working_directory(initial_directory);
  if (choice.outcome != ChoiceOutcome::accepted) return;

  LoadResult loaded = load_problem(choice.working_directory);
  for (const auto& line : loaded.info_lines) wnd_write_line(kInfoUnit, line);
  for (const auto& line : loaded.warnings) wnd_write_line(kInfoUnit, " " + line);
  if (!loaded.status.is_ok()) return stop_with(loaded.status);

  {
    SettingsGuard guard;
    prepare_new_graph(guard->settings, loaded.problem->control.step_count);
  }
  ProblemPtr problem = std::move(loaded.problem);
  publish_problem(problem);
  run_tail(graph_number, problem);
}

void back_to_settings_run(int graph_number) {
  ProblemPtr problem = current_problem();
  if (!problem) {
    wnd_write_line(kInfoUnit, " * No Problem Loaded: Choose NEW Graph first.");
    wnd_message_box("No problem is loaded yet.\nChoose NEW Graph to load one first.",
                    "BackGraf Message", kBoxInformationOk);
    return;
  }
  run_tail(graph_number, problem);
}
