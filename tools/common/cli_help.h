// The --help page of the tools that read their command line with CLI11: the
// usage line first, then the description wrapped at 79 columns, as the Qt
// tools and manual pages have it.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <sstream>
#include <string>

// `text` with its words wrapped into lines of at most `width` columns.
inline std::string wrap_words(const std::string& text, std::size_t width = 79) {
  std::istringstream words(text);
  std::string out, line;
  for (std::string word; words >> word;) {
    if (!line.empty() && line.size() + 1 + word.size() > width) {
      out += line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  return out + line + "\n";
}

class UsageFirstFormatter : public CLI::Formatter {
 public:
  std::string make_description(const CLI::App*) const override { return ""; }
  std::string make_usage(const CLI::App* app, std::string name) const override {
    return CLI::Formatter::make_usage(app, name) + wrap_words(app->get_description());
  }
};

inline void use_usage_first_help(CLI::App* app) {
  auto formatter = std::make_shared<UsageFirstFormatter>();
  formatter->column_width(24);
  app->formatter(formatter);
}
