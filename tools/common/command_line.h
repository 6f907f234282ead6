// The command line of one of our programs, read with CLI11, with what every
// program shares: -h/--help (the usage line first, the description, the
// options, the program's notes, its exit statuses, then its examples),
// --version, and a wrong command line told in one line on stderr:
//   veltra-info: --step: Value -1 not in range 0 to 2147483647 (see veltra-info --help)
//
// A program adds its options to app(), gives its notes and examples with
// set_footer and a check of the values with set_check, then calls parse:
//   CommandLine command_line("veltra-info", "Prints what ...", "a result folder ...");
//   command_line.app().add_flag("--tables", tables, "Add every table.");
//   if (std::optional<int> exit = command_line.parse(argc, argv)) return *exit;
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/status.h"

class CommandLine {
 public:
  // `program` names the program in the usage line, --version and every error
  // line. `description` is the paragraph under the usage line. `failures`
  // says what makes the work fail (exit status 1) in --help, e.g. "a result
  // folder that is missing or damaged, or a picture that cannot be written".
  CommandLine(std::string program, std::string description, std::string failures);
  CommandLine(const CommandLine&) = delete;
  CommandLine& operator=(const CommandLine&) = delete;

  CLI::App& app() { return app_; }
  const std::string& program() const { return program_; }

  // What the page shows after the options: `notes` (a paragraph or none),
  // the exit statuses, then `examples`, one command a line.
  void set_footer(const std::string& notes, const std::string& examples);

  // A check run after the options have been read: a Status that is not ok
  // is a wrong command line, its message the error line's text.
  void set_check(std::function<Status()> check) { check_ = std::move(check); }

  // Accepts "-word" for "--word" where "--word" is an option of the program,
  // as Qt's own programs do (-platform NAME).
  void accept_single_dash_long_options() { single_dash_long_ = true; }

  // What reading the arguments came to.
  enum class Outcome {
    run,      // the options are set: the program goes on
    help,     // text is the --help page
    version,  // text is the version line
    error,    // text says what is wrong with the command line
  };
  struct Reading {
    Outcome outcome = Outcome::run;
    std::string text;
  };

  // Reads `args` (the program name excluded) and prints nothing.
  Reading read(std::vector<std::string> args);

  // Reads argv[1..argc-1]. Returns nothing when the program goes on;
  // otherwise the exit status to end with, after the help page or version
  // on stdout (0) or the error line on stderr (kExitUsage).
  std::optional<int> parse(int argc, char** argv);

  // The --help page.
  std::string help() const;

 private:
  std::string program_;
  std::string failures_;
  CLI::App app_;
  std::function<Status()> check_;
  bool single_dash_long_ = false;
};
