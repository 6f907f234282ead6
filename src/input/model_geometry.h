// Reading the model geometry (x.unf, nei.unf) and building the Problem.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

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
// the highest-numbered one wins). Errors name the file, and the node for a
// bad nei.unf record.
Status read_model_geometry(const std::string& folder, ControlData&& data, std::shared_ptr<Problem>* problem);
