#include "input/language.h"

#include "input/blanks.h"
#include "input/file_lookup.h"
#include "input/text_file.h"

std::atomic<bool> romanian_messages{false};

namespace {

// The folder line of work_dir.dat is taken whole, up to this width.
constexpr std::size_t kFolderLineWidth = 260;

}  // namespace

bool is_romanian(const std::string& language_word) {
  return !language_word.empty() && (language_word[0] == 'R' || language_word[0] == 'r');
}

Status fallback_language(int kind, const std::string& startup_directory, std::string* language_word) {
  *language_word = "English";
  std::string work_dir = find_in_folder(startup_directory, "work_dir.dat");
  if (work_dir.empty()) return Status::ok();
  std::string folder;
  {
    // A work_dir.dat that is there but cannot be opened leaves English.
    TextLines file;
    if (!file.open(work_dir).is_ok()) return Status::ok();
    bool got = false;
    if (Status status = file.next(&folder, &got, kFolderLineWidth); !status.is_ok()) return status;
    if (!got) return Status::damaged(file.name() + ": the file is empty");
    folder = std::string(without_trailing_blanks(folder));
  }

  const char* name = kind == 1 ? "Comnel.dat" : kind == 2 ? "Comdin.dat" : nullptr;
  if (name == nullptr) return Status::ok();
  std::string control = find_in_folder(absolute_path(folder, startup_directory), name);
  if (control.empty()) return Status::ok();
  // The last line: every line is read, only the last one's word is kept.
  TextLines file;
  if (!file.open(control).is_ok()) return Status::ok();  // there but not to be opened: English
  std::string line;
  bool any = false;
  for (;;) {
    bool got = false;
    if (Status status = file.next(&line, &got, kLanguageWordWidth); !status.is_ok()) return status;
    if (!got) break;
    *language_word = line;
    any = true;
  }
  if (!any) return Status::damaged(file.name() + ": the file is empty");
  return Status::ok();
}

Status read_language(const std::string& startup_directory, std::string* language_word) {
  std::string word;
  std::string path = find_in_folder(startup_directory, "language.dat");
  TextLines file;
  bool got = false;
  if (!path.empty() && file.open(path).is_ok() && file.next(&word, &got, kLanguageWordWidth).is_ok()) {
    if (!got) return Status::damaged(file.name() + ": the file is empty");
  } else {
    if (Status status = fallback_language(2, startup_directory, &word); !status.is_ok()) return status;
  }
  romanian_messages.store(is_romanian(word));
  if (language_word != nullptr) *language_word = word;
  return Status::ok();
}
