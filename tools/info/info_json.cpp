#include "info_json.h"

#include <cmath>
#include <limits>

#include "input/step_records.h"

namespace {

bool is_utf8(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t follow = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : 9;
    if (follow == 9) return false;
    for (std::size_t k = 1; k <= follow; ++k)
      if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) >> 6) != 0x2) return false;
    i += follow + 1;
  }
  return true;
}

// A node_count x NGL table as an array of per-node arrays.
template <typename Value>
Json node_table(const Problem& problem, const std::vector<Value>& table) {
  Json rows = Json::array();
  const std::size_t ngl = static_cast<std::size_t>(problem.control.NGL);
  for (std::size_t n = 0; ngl > 0 && n < table.size() / ngl; ++n)
    rows.push_back(std::vector<Value>(table.begin() + n * ngl, table.begin() + (n + 1) * ngl));
  return rows;
}

}  // namespace

std::string as_utf8(const std::string& text) {
  if (is_utf8(text)) return text;
  std::string out;
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

Json summary_json(const LoadResult& loaded, const LargestDisplacement& largest) {
  const Problem& problem = *loaded.problem;
  const ProblemControl& c = problem.control;
  Json json;
  json["working_directory"] = as_utf8(problem.working_directory);
  json["problem_title"] = as_utf8(c.problem_title);
  json["node_count"] = c.node_count;
  json["element_count"] = c.element_count;
  json["restrained_count"] = c.restrained_count;
  json["elastic_count"] = c.elastic_count;
  json["NGL"] = c.NGL;
  json["incidence_width"] = c.incidence_width;
  json["time_step"] = c.time_step;
  json["end_time"] = c.end_time;
  json["step_count"] = c.step_count;
  json["stored_steps"] = std::int64_t{c.step_count} + 1;
  json["input_file_path"] = as_utf8(c.input_file_path);
  Json lines = Json::array();
  for (const std::string& line : loaded.info_lines) lines.push_back(as_utf8(line));
  json["info_lines"] = lines;

  // Extents of the undisplaced model, per direction (not-a-number values
  // passed over).
  std::vector<float> low(static_cast<std::size_t>(c.NGL), std::numeric_limits<float>::infinity());
  std::vector<float> high(low.size(), -std::numeric_limits<float>::infinity());
  for (std::size_t i = 0; i < problem.node_coords_table.size(); ++i) {
    const float v = problem.node_coords_table[i];
    const std::size_t j = i % low.size();
    if (v < low[j]) low[j] = v;
    if (v > high[j]) high[j] = v;
  }
  json["extents"] = {{"min", low}, {"max", high}};

  if (largest.node > 0) {
    json["largest_displacement"] = {{"value", largest.value},
                                    {"node", largest.node},
                                    {"direction", largest.direction},
                                    {"step", largest.step},
                                    {"time", step_time(largest.step, c.time_step)}};
  } else {
    json["largest_displacement"] = nullptr;
  }
  return json;
}

void add_tables(const Problem& problem, Json* json) {
  Json& out = *json;
  out["restraint"] = node_table(problem, problem.restraint_table);
  out["elastic_values"] = node_table(problem, problem.elastic_values_table);
  Json marks = Json::array();
  for (const ElasticSupport& mark : problem.elastic_support)
    marks.push_back({{"flag", mark.flag}, {"value", {mark.value[0], mark.value[1], mark.value[2]}}});
  out["elastic_support"] = marks;
  out["node_coords"] = node_table(problem, problem.node_coords_table);
  out["origin_node"] = problem.origin_node;
  out["origin_is_node"] = problem.origin_is_node;
  out["element_node1"] = problem.element_node1;
  out["element_node2"] = problem.element_node2;
}

Status add_step(const Problem& problem, std::int32_t step, Json* json) {
  StepRecords records(problem);
  if (Status status = records.open_u01(); !status.is_ok()) return status;
  std::vector<float> displacements, values;
  std::vector<std::int32_t> codes;
  if (Status status = records.read_node_step(step, &displacements); !status.is_ok()) return status;
  if (Status status = records.read_element_step(step, &values, &codes); !status.is_ok()) return status;
  Json& out = *json;
  out["step"] = step;
  out["step_time"] = records.step_time(step);
  out["displacements"] = node_table(problem, displacements);
  out["element_value"] = values;
  out["element_code"] = codes;
  return Status::ok();
}

std::string dump(const Json& json, int indent) {
  return json.dump(indent, ' ', false, nlohmann::detail::error_handler_t::replace) + "\n";
}
