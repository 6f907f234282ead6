// Writing a sample model as a complete result folder of the analysis
// program: comdin.dat, x.unf, nei.unf, u01.unf, el.unf and the analysis
// input file whose title line the viewer shows.
#pragma once

#include <string>

#include "base/status.h"
#include "sample_model.h"

namespace sample {

// Name of the analysis input file in the folder: "<kind>.dat".
std::string input_file_name(const SampleModel& model);

// Writes every file of `model` into `folder` (created with its parents if
// needed). input_file_path in comdin.dat is the absolute path of the input
// file. Errors name the file that could not be written.
Status write_sample(const SampleModel& model, const std::string& folder);

}  // namespace sample
