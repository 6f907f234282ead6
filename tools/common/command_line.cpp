#include "command_line.h"

#include <algorithm>
#include <memory>
#include <sstream>

#include "exit_status.h"

namespace {

constexpr std::size_t kPageWidth = 79;

// `text` with its words wrapped into lines of at most `width` columns,
// joined by line feeds (no line feed at the end).
std::string wrap_words(const std::string& text, std::size_t width) {
  std::istringstream words(text);
  std::string out, line;
  for (std::string word; words >> word;) {
    if (!line.empty() && line.size() + 1 + word.size() > width) {
      out += line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  return out + line;
}

// The help page as our manual pages have it: the usage line, then the
// description; each option's text wrapped beside its name; a positional
// argument by its name alone.
class HelpLayout : public CLI::Formatter {
 public:
  std::string make_description(const CLI::App*) const override { return ""; }
  std::string make_usage(const CLI::App* app, std::string name) const override {
    return CLI::Formatter::make_usage(app, name) + wrap_words(app->get_description(), kPageWidth) + "\n";
  }
  std::string make_option_opts(const CLI::Option* option) const override {
    if (!option->nonpositional()) return "";
    return CLI::Formatter::make_option_opts(option);
  }
  // A positional argument by its name; in brackets when it may be left
  // out, unless it is a list that the program checks itself (to tell a
  // surplus argument in words of its own).
  std::string make_option_usage(const CLI::Option* option) const override {
    const bool optional = !option->get_required() && option->get_expected_max() == 1;
    return optional ? "[" + option->get_name() + "]" : option->get_name();
  }
  std::string make_option_desc(const CLI::Option* option) const override {
    return wrap_words(option->get_description(), kPageWidth - get_column_width());
  }
};

// The column where option texts start: after the longest option name (and
// its value's name), within bounds that leave the text room.
std::size_t name_column(const CLI::App& app) {
  std::size_t longest = 0;
  for (const CLI::Option* option : app.get_options()) {
    if (option->get_group().empty()) continue;  // hidden
    std::string name = option->get_name(false, true);
    if (option->nonpositional() && !option->get_option_text().empty()) name += " " + option->get_option_text();
    longest = std::max(longest, name.size());
  }
  return std::clamp<std::size_t>(longest + 4, 16, 34);
}

// `text` wrapped to the page after `prefix`, its later lines indented to
// line up under its first, ending in a line feed.
std::string hanging(const std::string& prefix, const std::string& text) {
  std::string out = prefix;
  for (char c : wrap_words(text, kPageWidth - prefix.size())) {
    out += c;
    if (c == '\n') out += std::string(prefix.size(), ' ');
  }
  return out + "\n";
}

}  // namespace

CommandLine::CommandLine(std::string program, std::string description, std::string failures)
    : program_(std::move(program)), failures_(std::move(failures)), app_(std::move(description), program_) {
  app_.set_help_flag("-h,--help", "Show this help and exit.");
  app_.set_version_flag("--version", program_ + " " VELTRA_VERSION, "Show the version and exit.");
  app_.formatter(std::make_shared<HelpLayout>());
  set_footer("", "");
}

void CommandLine::set_footer(const std::string& notes, const std::string& examples) {
  std::string footer;
  if (!notes.empty()) footer += notes + "\n\n";
  footer += "Exit status:\n";
  footer += hanging("  0  ", "the work was done");
  footer += hanging("  1  ", "the work failed: " + failures_ + "; the error line names which");
  footer += hanging("  2  ", "a wrong command line");
  footer += hanging("  130, 143  ", "stopped by Ctrl-C (SIGINT) or SIGTERM");
  if (!examples.empty()) footer += "\nExamples:\n" + examples + "\n";
  app_.footer(footer);
}

std::string CommandLine::help() const {
  app_.get_formatter()->column_width(name_column(app_));
  std::string page = app_.help();
  // CLI11 leaves a second blank line after the options when the last group
  // it knows is the hidden one, and one at the end.
  for (std::size_t at; (at = page.find("\n\n\n")) != std::string::npos;) page.erase(at, 1);
  while (page.size() > 1 && page.ends_with("\n\n")) page.pop_back();
  return page;
}

CommandLine::Reading CommandLine::read(std::vector<std::string> args) {
  if (single_dash_long_) {
    for (std::string& arg : args) {
      if (arg.size() > 2 && arg[0] == '-' && arg[1] != '-' && app_.get_option_no_throw("--" + arg.substr(1)) != nullptr)
        arg.insert(0, "-");
    }
  }
  std::reverse(args.begin(), args.end());  // CLI11 takes the arguments last first
  try {
    app_.parse(args);
  } catch (const CLI::CallForHelp&) {
    return {Outcome::help, help()};
  } catch (const CLI::CallForVersion& e) {
    return {Outcome::version, std::string(e.what()) + "\n"};
  } catch (const CLI::ParseError& e) {
    return {Outcome::error, e.what()};
  }
  if (check_) {
    if (Status status = check_(); !status.is_ok()) return {Outcome::error, status.message()};
  }
  return {};
}

std::optional<int> CommandLine::parse(int argc, char** argv) {
  const Reading reading = read(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
  switch (reading.outcome) {
    case Outcome::run: return std::nullopt;
    case Outcome::help:
    case Outcome::version:
      if (Status status = write_standard_output(reading.text); !status.is_ok())
        return report_failure(program_, status);
      return kExitDone;
    case Outcome::error: break;
  }
  return report_failure(program_, Status::invalid_argument(reading.text + " (see " + program_ + " --help)"));
}
