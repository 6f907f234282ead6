// veltra-info: what a result folder holds, loaded by the viewer's own input
// code. By default a short JSON summary; --tables and --step S add the
// model's tables and a step's records; --history NODE prints the
// displacement of one node at every stored step as CSV.
//
// Exit status 0 on success, 2 for a usage error or a folder that cannot be
// read (one line on stderr, the message the viewer would show).
#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>

#include "cli_help.h"
#include "info_json.h"
#include "input/file_lookup.h"
#include "input/load_problem.h"
#include "input/required_files.h"
#include "result_scan.h"

namespace {

constexpr int kExitError = 2;

int fail(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return kExitError;
}

void print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

// The history as CSV: a header "t,u1,u2[,u3]", then a line per step.
std::string history_csv(const NodeHistory& history) {
  std::string text = "t";
  for (int j = 1; j <= history.NGL; ++j) text += ",u" + std::to_string(j);
  text += '\n';
  // Each real with the fewest digits that read back as the same 32-bit value.
  auto add = [&text](float value) {
    char number[32];
    auto [end, ec] = std::to_chars(number, number + sizeof number, value);
    text.append(number, ec == std::errc() ? end : number);
  };
  for (std::size_t s = 0; s < history.time.size(); ++s) {
    add(history.time[s]);
    for (int j = 1; j <= history.NGL; ++j) {
      text += ',';
      add(history.value(static_cast<std::int32_t>(s), j));
    }
    text += '\n';
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Prints what the TARVEK result folder DIR holds. Without options: a JSON summary of the "
               "problem (sizes, NGL, title, time step, end time, stored steps, the extents of the "
               "undisplaced model and the largest displacement over every step, with its node, "
               "direction and step).",
               "veltra-info"};
  use_usage_first_help(&app);
  app.set_version_flag("--version", "veltra-info " VELTRA_VERSION, "Show the version and exit.");
  std::string folder;
  bool tables = false;
  std::int32_t step = -1;
  std::int32_t node = 0;
  app.add_option("DIR", folder, "The result folder (comdin.dat, x.unf, nei.unf,\nu01.unf, el.unf).")->required();
  app.add_flag("--tables", tables, "Add every table of the model to the JSON\n(large for big models).");
  CLI::Option* step_option =
      app.add_option("--step", step, "Add the node and element records of step S\n(0 to the last stored step).")
          ->option_text("S")
          ->check(CLI::NonNegativeNumber);
  CLI::Option* history_option =
      app.add_option("--history", node,
                     "Print instead the displacement of node NODE at\nevery stored step as CSV: a header line\n"
                     "t,u1,u2[,u3], then the time and one column per\ndirection.")
          ->option_text("NODE")
          ->check(CLI::PositiveNumber);
  history_option->excludes("--tables")->excludes(step_option);
  app.footer(
      "Examples:\n"
      "  veltra-info work/portal\n"
      "  veltra-info work/portal --step 40\n"
      "  veltra-info work/cantilever --history 5 > tip.csv\n"
      "\nExit status: 0 on success, 2 on a usage error or a folder that cannot be read.");
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    print(app.help());
    return 0;
  } catch (const CLI::CallForVersion& e) {
    print(std::string(e.what()) + "\n");
    return 0;
  } catch (const CLI::ParseError& e) {
    return fail("veltra-info: " + std::string(e.what()) + " (see veltra-info --help)");
  }

  std::error_code error;
  std::string absolute = std::filesystem::absolute(folder, error).lexically_normal().string();
  while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();

  // The same check as the directory choice, then the same loading.
  RequiredFiles check = check_required_files(join_path(absolute, "comdin.dat"));
  if (!check.all_present) {
    std::string message = absolute + ": missing needed files:";
    for (const std::string& name : check.missing) message += " " + name;
    return fail(message);
  }
  LoadResult loaded = load_problem(check.working_directory);
  if (!loaded.status.is_ok()) return fail(loaded.status.message());
  const Problem& problem = *loaded.problem;

  if (history_option->count() > 0) {
    NodeHistory history;
    if (Status status = read_node_history(problem, node, &history); !status.is_ok()) return fail(status.message());
    print(history_csv(history));
    return 0;
  }

  LargestDisplacement largest;
  if (Status status = find_largest_displacement(problem, &largest); !status.is_ok()) return fail(status.message());
  Json json = summary_json(loaded, largest);
  if (tables) add_tables(problem, &json);
  if (step_option->count() > 0) {
    if (Status status = add_step(problem, step, &json); !status.is_ok()) return fail(status.message());
  }
  // The summary alone is read by people: one value a line. With tables or
  // records it is data: one line.
  print(dump(json, tables || step_option->count() > 0 ? -1 : 2));
  return 0;
}
