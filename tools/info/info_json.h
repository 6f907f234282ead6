// What veltra-info prints, as JSON values built with nlohmann-json: keys in
// the order written, reals kept as 32-bit values (written with the fewest
// digits that read back the same value; a value that is not a number, or an
// infinity, is written null).
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "input/load_problem.h"
#include "base/status.h"
#include "result_scan.h"

using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, std::int64_t,
                                  std::uint64_t, float>;

// Valid UTF-8 as it is; other text taken as Latin-1 and converted.
std::string as_utf8(const std::string& text);

// The summary: sizes, title, time data, the extents of the undisplaced
// model and the largest displacement over every step.
Json summary_json(const LoadResult& loaded, const LargestDisplacement& largest);

// Every table of the model (restraints, elastic supports, coordinates,
// origin, element end nodes), added to `json`.
void add_tables(const Problem& problem, Json* json);

// The node and element records of `step`, added to `json`. Errors name the
// file.
Status add_step(const Problem& problem, std::int32_t step, Json* json);

// Text for the terminal; never throws.
std::string dump(const Json& json, int indent);
