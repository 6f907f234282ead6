// veltra-info: what a result folder holds, loaded by the viewer's own input
// code. By default a short JSON summary; --tables and --step S add the
// model's tables and a step's records; --history NODE prints the
// displacement of one node at every stored step as CSV; --step S --csv
// prints the nodes (or, with --elements, the elements) of a step as CSV.
#include <charconv>
#include <cstdint>
#include <string>

#include "base/memory_budget.h"
#include "command_line.h"
#include "exit_status.h"
#include "info_json.h"
#include "interrupt.h"
#include "progress.h"
#include "result_folder.h"
#include "result_scan.h"
#include "step_csv.h"

namespace {

constexpr char kProgram[] = "veltra-info";

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

// The JSON of the tables or of a step's records takes about this much
// memory a value: the value, its place in its array, the printed text.
constexpr std::int64_t kJsonBytesPerValue = 64;

// A scan's report: the progress on a terminal, and the stop at an interrupt.
ScanReport report_to(Progress* progress) {
  return [progress](std::int64_t done, std::int64_t) {
    progress->done(done);
    if (interrupted()) return interrupted_status();
    return Status::ok();
  };
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine command_line(
      kProgram,
      "Prints what the TARVEK result folder DIR holds. Without options: a JSON summary of the problem (sizes, "
      "NGL, title, time step, end time, stored steps, the extents of the undisplaced model and the largest "
      "displacement over every step, with its node, direction and step).",
      "a result folder that is missing or damaged, or an output that cannot be written");
  CLI::App& app = command_line.app();
  std::string folder;
  bool tables = false;
  std::int32_t step = -1;
  std::int32_t node = 0;
  app.add_option("DIR", folder, "The result folder (comdin.dat, x.unf, nei.unf, u01.unf, el.unf).")->required();
  app.add_flag("--tables", tables, "Add every table of the model to the JSON (large for big models).");
  CLI::Option* step_option =
      app.add_option("--step", step, "Add the node and element records of step S (0 to the last stored step).")
          ->option_text("S")
          ->check(CLI::Range(0, INT32_MAX));
  CLI::Option* history_option =
      app.add_option("--history", node,
                     "Print instead the displacement of node NODE at every stored step as CSV: a header line "
                     "t,u1,u2[,u3], then the time and one column per direction.")
          ->option_text("NODE")
          ->check(CLI::Range(1, INT32_MAX));
  bool csv = false, elements = false;
  CLI::Option* csv_option =
      app.add_flag("--csv", csv,
                   "With --step: print instead every node at step S as CSV: a header line "
                   "node,x1,x2[,x3],u1,u2[,u3], then the node's number, coordinates and displacement.");
  CLI::Option* elements_option =
      app.add_flag("--elements", elements,
                   "With --csv: the elements of step S instead: a header line element,node1,node2,value,code, "
                   "then the element's number, end nodes (0 for none) and records.");
  history_option->excludes("--tables")->excludes(step_option);
  csv_option->needs(step_option)->excludes("--tables");
  elements_option->needs(csv_option);
  command_line.set_footer(
      "",
      "  veltra-info work/portal\n"
      "  veltra-info work/portal --step 40\n"
      "  veltra-info work/cantilever --history 5 > tip.csv\n"
      "  veltra-info work/portal --step 40 --csv > nodes.csv\n"
      "  veltra-info work/portal --step 40 --csv --elements > elements.csv");
  if (std::optional<int> exit = command_line.parse(argc, argv)) return *exit;

  LoadResult loaded = load_result_folder(folder);
  for (const std::string& line : loaded.warnings) report_note(kProgram, line);
  if (!loaded.status.is_ok()) return report_failure(kProgram, loaded.status);
  const Problem& problem = *loaded.problem;
  const ProblemControl& c = problem.control;
  // The passes over u01.unf may be long: a Ctrl-C ends them cleanly.
  catch_interrupts();
  const std::int64_t steps = std::int64_t{c.step_count} + 1;

  if (history_option->count() > 0) {
    NodeHistory history;
    Progress progress(steps, "steps of u01.unf", false, false);
    Status status = read_node_history(problem, node, &history, report_to(&progress));
    progress.finish();
    if (!status.is_ok()) return report_failure(kProgram, status);
    if (!history.non_finite.empty()) report_note(kProgram, history.non_finite);
    return report_failure(kProgram, write_standard_output(history_csv(history)));
  }

  const bool with_step = step_option->count() > 0;
  if (with_step && step > problem.control.step_count)
    return report_failure(kProgram, Status::invalid_argument("--step " + std::to_string(step) +
                                                             ": the problem has steps 0 to " +
                                                             std::to_string(problem.control.step_count)));
  if (csv) return report_failure(kProgram, write_step_csv(problem, step, elements));

  // The tables and a step's records are built as one JSON value, then printed.
  std::int64_t values = 0;
  if (tables) values += std::int64_t{c.node_count} * (3 * c.NGL + 4) + 2 * std::int64_t{c.element_count};
  if (with_step) values += std::int64_t{c.node_count} * c.NGL + 2 * std::int64_t{c.element_count};
  if (Status status = check_memory(std::string(tables ? "--tables" : "--step") + " for node_count " +
                                       std::to_string(c.node_count) + " and element_count " +
                                       std::to_string(c.element_count),
                                   values * kJsonBytesPerValue);
      !status.is_ok())
    return report_failure(kProgram, status);

  LargestDisplacement largest;
  {
    Progress progress(steps, "steps of u01.unf", false, false);
    Status status = find_largest_displacement(problem, &largest, report_to(&progress));
    progress.finish();
    if (!status.is_ok()) return report_failure(kProgram, status);
  }
  if (!largest.non_finite.empty()) report_note(kProgram, largest.non_finite);
  Json json = summary_json(loaded, largest);
  if (tables) add_tables(problem, &json);
  if (with_step) {
    if (Status status = add_step(problem, step, &json); !status.is_ok()) return report_failure(kProgram, status);
  }
  // The summary alone is read by people: one value a line. With tables or
  // records it is data: one line.
  return report_failure(kProgram, write_standard_output(dump(json, tables || with_step ? -1 : 2)));
}
