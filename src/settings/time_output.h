// The time-output list of the Graph Settings dialog: the places the time
// label can be drawn at, and how a stored choice maps onto a problem.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "input/problem.h"

// List items are held in this many characters.
constexpr int kTimeOutputItemLength = 10;

// The items of the list for `problem`, in order: the decimal node numbers 1 to
// node_count; with a node at the origin that node's item reads its number
// followed by " (Origin)", the whole cut to 10 characters ("3 (Origin)",
// "12 (Origin", "123 (Origi"); without one a last item "Origin" follows the
// nodes.
std::vector<std::string> time_output_items(const Problem& problem);

// Number of items of that list: node_count, plus one when no node lies at
// the origin.
std::int32_t time_output_item_count(const Problem& problem);

// The item a stored time_output_item stands for in `problem`: the item itself
// when the list has it, else 1 (0, negative values, or an item left over from
// a larger problem). The result never exceeds time_output_item_count unless
// the list is empty (then 1).
std::int32_t effective_time_output_item(std::int32_t item, const Problem& problem);

// Whether the (effective) item is the origin entry of the list: node_count + 1
// of a problem without a node at the origin.
bool time_output_is_origin(std::int32_t item, const Problem& problem);
