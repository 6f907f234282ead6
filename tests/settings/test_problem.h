// Small problems for the settings dialog tests.
#pragma once

#include "input/problem.h"

inline Problem make_problem(int nodes, int ngl, int origin_node, int last_step = 200,
                            float end_time = 2.0f) {
  Problem p;
  p.control.node_count = nodes;
  p.control.NGL = ngl;
  p.control.step_count = last_step;
  p.control.end_time = end_time;
  p.control.time_step = 0.01f;
  p.origin_node = origin_node;
  p.origin_is_node = origin_node != 0;
  p.restraint_table.assign(static_cast<std::size_t>(nodes * ngl), 0);
  p.node_coords_table.assign(static_cast<std::size_t>(nodes * ngl), 1.0f);
  return p;
}
