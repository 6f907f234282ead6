// The command line of veltra-export: the output options, and one option for
// each settings option of setting_options(), each switch also as --no-NAME.
#pragma once

#include <string>
#include <vector>

#include "base/status.h"
#include "command_line.h"
#include "export_options.h"

// The largest side of the pictures, in pixels. FFmpeg takes a picture whose
// (width + 128) x (height + 128) is below 2^28 (16000x16000 passes,
// 16384x16384 does not), libx264 at most 16384 a side, libvpx-vp9 and the GIF
// encoder 65535: 16000 a side keeps a picture within what every format's
// encoder takes.
constexpr int kLargestPictureSide = 16000;

// The description, failures and notes of veltra-export's --help.
extern const char* const kExportDescription;
extern const char* const kExportFailures;

// Adds every option of veltra-export to `command_line` and its checks, so
// that after a parse that goes on, `options` holds what was given (the
// values are checked then, before any file is read).
void add_export_options(CommandLine* command_line, ExportOptions* options);

// Reads `args` (the program name excluded) into `options` without printing:
// invalid_argument with the error line's text for a wrong command line, and
// for --help and --version, which do not run.
Status parse_export_options(const std::vector<std::string>& args, ExportOptions* options);

// The movie formats by file extension: ".mp4", ".webm", ".gif" (any letter
// case). Empty when the extension names none of them.
std::string movie_format_of(const std::string& path);
