#include "input/load_problem.h"

#include "input/control_data.h"
#include "input/model_geometry.h"
#include "input/problem_title.h"

LoadResult load_problem(const std::string& working_directory) {
  LoadResult result;
  ControlData data;
  result.status = read_control_data(working_directory, &data);
  if (!result.status.is_ok()) return result;
  result.status = read_problem_title(working_directory, &data.control, &result.info_lines);
  if (!result.status.is_ok()) return result;
  result.status = read_model_geometry(working_directory, std::move(data), &result.problem, &result.warnings);
  if (!result.status.is_ok()) result.problem.reset();
  return result;
}
