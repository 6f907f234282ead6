#include "input/language.h"

#include <vector>

#include "input/blanks.h"
#include "input/file_lookup.h"
#include "input/text_file.h"

std::atomic<bool> romanian_messages{false};

namespace {

std::string cut(const std::string& text, std::size_t width) { return text.substr(0, width); }

}  // namespace

bool is_romanian(const std::string& language_word) {
  return !language_word.empty() && (language_word[0] == 'R' || language_word[0] == 'r');
}

Status fallback_language(int kind, const std::string& startup_directory, std::string* language_word) {
  *language_word = "English";
  std::string work_dir = find_in_folder(startup_directory, "work_dir.dat");
  if (work_dir.empty()) return Status::ok();
  std::vector<std::string> lines;
  if (Status status = read_text_lines(work_dir, &lines); !status) return status;
  if (lines.empty()) return Status::damaged(std::string(name_of(work_dir)) + ": the file is empty");
  std::string folder(without_trailing_blanks(cut(lines.front(), 260)));

  const char* name = kind == 1 ? "Comnel.dat" : kind == 2 ? "Comdin.dat" : nullptr;
  if (name == nullptr) return Status::ok();
  std::string control = find_in_folder(absolute_path(folder, startup_directory), name);
  if (control.empty()) return Status::ok();
  if (Status status = read_text_lines(control, &lines); !status) return status;
  if (lines.empty()) return Status::damaged(std::string(name_of(control)) + ": the file is empty");
  *language_word = cut(lines.back(), kLanguageWordWidth);
  return Status::ok();
}

Status read_language(const std::string& startup_directory, std::string* language_word) {
  std::string word;
  std::string path = find_in_folder(startup_directory, "language.dat");
  std::vector<std::string> lines;
  if (!path.empty() && read_text_lines(path, &lines)) {
    if (lines.empty()) return Status::damaged(std::string(name_of(path)) + ": the file is empty");
    word = cut(lines.front(), kLanguageWordWidth);
  } else {
    if (Status status = fallback_language(2, startup_directory, &word); !status) return status;
  }
  romanian_messages.store(is_romanian(word));
  if (language_word != nullptr) *language_word = word;
  return Status::ok();
}
