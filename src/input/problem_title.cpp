#include "input/problem_title.h"

#include "base/shown_text.h"
#include "input/blanks.h"
#include "input/file_lookup.h"
#include "input/text_file.h"

namespace {

std::string trimmed(const std::string& text) {
  return std::string(without_trailing_blanks(without_leading_blanks(text)));
}

}  // namespace

std::string title_base_name(const std::string& path) {
  std::size_t point = path.find('.');
  std::size_t separator = path.find_last_of("\\/");
  // 1-based positions as in the rule: d of the first point, b of the last separator.
  std::size_t d = point == std::string::npos ? 0 : point + 1;
  std::size_t b = separator == std::string::npos ? 0 : separator + 1;
  if (d < b + 2) return "";
  return path.substr(b, d - 1 - b).substr(0, kBaseNameWidth);
}

Status read_problem_title(const std::string& working_directory, ProblemControl* control,
                          std::vector<std::string>* info_lines) {
  const std::string& path = control->input_file_path;
  std::string found = find_file(trimmed(path), working_directory);
  std::string title;
  if (!found.empty()) {
    // Line by line, each kept to the title's width: the file may be large,
    // and only its first line that is not a comment is wanted.
    TextLines file;
    if (Status status = file.open(found); !status.is_ok()) return status;
    for (;;) {
      bool got = false;
      if (Status status = file.next(&title, &got, kTitleWidth); !status.is_ok()) return status;
      if (!got) return Status::damaged(file.name() + ": the file ends before the problem title");
      if (title.compare(0, 2, "//") != 0) break;
    }
  } else {
    std::string base = title_base_name(path);
    title = base.substr(0, kTitleWidth);
    info_lines->push_back(" Input File Not Found: " + shown_text(trimmed(path)));
    info_lines->push_back(" Problem title is set as: " + shown_text(trimmed(base)));
  }
  control->problem_title = without_trailing_blanks(title);
  control->problem_title_length = static_cast<std::int32_t>(control->problem_title.size());
  return Status::ok();
}
