// Reading a text file as lines.
#pragma once

#include <string>
#include <vector>

#include "base/status.h"

// Reads the file at `path` into `lines`, one entry per line without its line
// end. LF and CR LF line ends read alike; a last line without a line end
// still counts, while a line end at the very end of the file adds no empty
// line (so an empty file has no lines). Errors name the file by `path`'s last
// component.
Status read_text_lines(const std::string& path, std::vector<std::string>* lines);
