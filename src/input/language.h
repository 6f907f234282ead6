// The message language: English or Romanian, chosen at the start of every
// new graph from language.dat (or, without it, from the analysis program's
// own control file).
#pragma once

#include <atomic>
#include <string>

#include "base/status.h"

// True when the messages of the directory choice, the graph heading and the
// graph-limit message are to be in Romanian. Process-wide; false until the
// first read_language.
extern std::atomic<bool> romanian_messages;

// Width of the language word.
constexpr std::size_t kLanguageWordWidth = 20;

// The analysis program's language word, used when there is no language.dat:
// the first line of `startup_directory`/work_dir.dat names the analysis
// program's problem folder (the whole line, trailing blanks removed); kind 1
// reads the last line of that folder's Comnel.dat, kind 2 the last line of its
// Comdin.dat, cut to 20 characters. "English" when work_dir.dat or the file is
// missing or cannot be opened, or for any other kind. Errors (an empty
// work_dir.dat or control file, a failed read) name the file.
Status fallback_language(int kind, const std::string& startup_directory, std::string* language_word);

// Sets romanian_messages from the first line of language.dat in
// `startup_directory` (the current directory at the start of the run), or
// from fallback_language(2) without it: Romanian when the word begins with
// "R" or "r". The word is stored in `language_word` when given. An empty
// language.dat is an error naming it, and leaves romanian_messages as it was.
Status read_language(const std::string& startup_directory, std::string* language_word = nullptr);

// Whether a language word selects Romanian.
bool is_romanian(const std::string& language_word);
