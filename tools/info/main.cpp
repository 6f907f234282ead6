// veltra-info: loads a result folder as a new graph does and prints the
// model as JSON, with the model's own names as keys.
//
//   veltra-info DIR [--step S]
//
// Exit status 0 on success, 1 for a usage error, 2 when the folder cannot be
// loaded (the message, the one the viewer would show, goes to stderr).

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/file_lookup.h"
#include "input/load_problem.h"
#include "input/required_files.h"
#include "input/step_records.h"
#include "json_out.h"

namespace {

void usage() { std::fprintf(stderr, "usage: veltra-info DIR [--step S]\n"); }

int fail(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return 2;
}

void write_control(JsonOut& json, const Problem& problem) {
  const ProblemControl& c = problem.control;
  json.key("node_count"), json.integer(c.node_count);
  json.key("restrained_count"), json.integer(c.restrained_count);
  json.key("elastic_count"), json.integer(c.elastic_count);
  json.key("element_count"), json.integer(c.element_count);
  json.key("NGL"), json.integer(c.NGL);
  json.key("incidence_width"), json.integer(c.incidence_width);
  json.key("time_step"), json.real(c.time_step);
  json.key("end_time"), json.real(c.end_time);
  json.key("step_count"), json.integer(c.step_count);
  json.key("input_file_path"), json.string(c.input_file_path);
  json.key("problem_title"), json.string(c.problem_title);
  json.key("problem_title_length"), json.integer(c.problem_title_length);
}

// A node_count x NGL table as an array of per-node arrays.
template <typename Value, typename Write>
void write_node_table(JsonOut& json, const char* name, const Problem& problem, const std::vector<Value>& table,
                      Write write) {
  json.key(name);
  json.begin_array();
  const std::size_t ngl = static_cast<std::size_t>(problem.control.NGL);
  for (std::size_t n = 0; ngl > 0 && n < table.size() / ngl; ++n) {
    json.begin_array();
    for (std::size_t j = 0; j < ngl; ++j) write(table[n * ngl + j]);
    json.end_array();
  }
  json.end_array();
}

void write_model(JsonOut& json, const Problem& problem) {
  write_node_table(json, "restraint", problem, problem.restraint_table, [&](std::int32_t v) { json.integer(v); });
  write_node_table(json, "elastic_values", problem, problem.elastic_values_table, [&](float v) { json.real(v); });
  json.key("elastic_support");
  json.begin_array();
  for (const ElasticSupport& mark : problem.elastic_support) {
    json.begin_object();
    json.key("flag"), json.integer(mark.flag);
    json.key("value");
    json.begin_array();
    for (float v : mark.value) json.real(v);
    json.end_array();
    json.end_object();
  }
  json.end_array();
  write_node_table(json, "node_coords", problem, problem.node_coords_table, [&](float v) { json.real(v); });
  json.key("origin_node"), json.integer(problem.origin_node);
  json.key("origin_is_node"), json.boolean(problem.origin_is_node);
  json.key("element_node1");
  json.begin_array();
  for (std::int32_t n : problem.element_node1) json.integer(n);
  json.end_array();
  json.key("element_node2");
  json.begin_array();
  for (std::int32_t n : problem.element_node2) json.integer(n);
  json.end_array();
}

Status write_step(JsonOut& json, const Problem& problem, std::int32_t step) {
  StepRecords records(problem);
  if (Status status = records.open_u01(); !status) return status;
  std::vector<float> displacements, values;
  std::vector<std::int32_t> codes;
  if (Status status = records.read_node_step(step, &displacements); !status) return status;
  if (Status status = records.read_element_step(step, &values, &codes); !status) return status;
  records.close();
  json.key("step"), json.integer(step);
  json.key("step_time"), json.real(records.step_time(step));
  write_node_table(json, "displacements", problem, displacements, [&](float v) { json.real(v); });
  json.key("element_value");
  json.begin_array();
  for (float v : values) json.real(v);
  json.end_array();
  json.key("element_code");
  json.begin_array();
  for (std::int32_t v : codes) json.integer(v);
  json.end_array();
  return Status::ok();
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder;
  std::optional<std::int32_t> step;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--step" && i + 1 < argc) {
      char* end = nullptr;
      long value = std::strtol(argv[++i], &end, 10);
      if (end == argv[i] || *end != '\0' || value < INT32_MIN || value > INT32_MAX) {
        usage();
        return 1;
      }
      step = static_cast<std::int32_t>(value);
    } else if (!arg.empty() && arg[0] != '-' && folder.empty()) {
      folder = std::string(arg);
    } else {
      usage();
      return 1;
    }
  }
  if (folder.empty()) {
    usage();
    return 1;
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
  if (!loaded.status) return fail(loaded.status.message());
  const Problem& problem = *loaded.problem;

  JsonOut json;
  json.begin_object();
  json.key("working_directory"), json.string(problem.working_directory);
  json.key("info_lines");
  json.begin_array();
  for (const std::string& line : loaded.info_lines) json.string(line);
  json.end_array();
  write_control(json, problem);
  write_model(json, problem);
  if (step) {
    if (Status status = write_step(json, problem, *step); !status) return fail(status.message());
  }
  json.end_object();
  std::fwrite(json.text().data(), 1, json.text().size(), stdout);
  return 0;
}
