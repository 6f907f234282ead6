// Reading the model geometry (x.unf, nei.unf) and building the Problem.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "input/control_data.h"
#include "input/problem.h"
#include "base/status.h"

// Builds the problem of `folder` from the control data already read: first
// checks that x.unf holds node_count records, that nei.unf is large enough
// for node_count records of incidence_width integers and that element_count
// is within what el.unf or nei.unf can reference — all before anything is
// allocated — then fills the restraint and elastic tables from the lists,
// the elastic-support marks, the node coordinates, the origin node and the
// element end nodes (of several nodes naming an element at the same parity
// the highest-numbered one wins). Between the two, the memory a graph of the
// problem takes (graph_bytes_per_node, kGraphBytesPerElement) is compared
// with what the process can have: out_of_memory names the count. Errors name
// the file, and the node for a bad nei.unf record. A coordinate that is not
// a finite number adds its line (non_finite_line) to `warnings`.
Status read_model_geometry(const std::string& folder, ControlData&& data, std::shared_ptr<Problem>* problem,
                           std::vector<std::string>* warnings);
