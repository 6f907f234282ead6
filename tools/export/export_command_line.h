// The command line of veltra-export, read with QCommandLineParser (no
// application object is needed for reading).
#pragma once

#include <string>
#include <vector>

#include "export_options.h"
#include "base/status.h"

// What main does after reading the command line.
enum class CommandLineAction {
  run,      // options are filled in
  help,     // print `text` (the --help page) on stdout, exit 0
  version,  // print `text` on stdout, exit 0
  error,    // print `text` (one line) on stderr, exit 2
};

struct CommandLineResult {
  CommandLineAction action = CommandLineAction::run;
  std::string text;
};

// Reads the arguments (argv[0] excluded) into `options`. Values are checked
// here, so that a typing error is told before any file is read.
CommandLineResult read_export_command_line(const std::vector<std::string>& args, ExportOptions* options);

// The same for callers that only run: any other action is an error whose
// message is the result's text.
Status parse_export_options(const std::vector<std::string>& args, ExportOptions* options);

// The movie formats by file extension: ".mp4", ".webm", ".gif" (any letter
// case). Empty when the extension names none of them.
std::string movie_format_of(const std::string& path);
