#include "settings/time_output.h"

std::int32_t time_output_item_count(const Problem& problem) {
  const std::int32_t nodes = problem.control.node_count > 0 ? problem.control.node_count : 0;
  return problem.origin_is_node ? nodes : nodes + 1;
}

std::vector<std::string> time_output_items(const Problem& problem) {
  const std::int32_t nodes = problem.control.node_count > 0 ? problem.control.node_count : 0;
  std::vector<std::string> items;
  items.reserve(static_cast<std::size_t>(time_output_item_count(problem)));
  for (std::int32_t i = 1; i <= nodes; ++i) {
    std::string item = std::to_string(i);
    if (problem.origin_is_node && i == problem.origin_node) {
      item += " (Origin)";
      if (item.size() > kTimeOutputItemLength) item.resize(kTimeOutputItemLength);
    }
    items.push_back(std::move(item));
  }
  if (!problem.origin_is_node) items.emplace_back("Origin");
  return items;
}

std::int32_t effective_time_output_item(std::int32_t item, const Problem& problem) {
  return (item >= 1 && item <= time_output_item_count(problem)) ? item : 1;
}

bool time_output_is_origin(std::int32_t item, const Problem& problem) {
  return !problem.origin_is_node && item == problem.control.node_count + 1;
}
