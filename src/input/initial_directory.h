// The folder in which the first graph's file chooser opens.
#pragma once

#include <string>

#include "base/status.h"

// Longest folder name taken from work_dir.dat.
constexpr std::size_t kFolderWidth = 260;
// Longest part of a work_dir.dat line that is looked at for the value, from
// its first character that is not a blank or tab.
constexpr std::size_t kValueLineWidth = 65536;

// For the first graph of the program run: the first free-form value of
// work_dir.dat when find_file finds that file (the program's folder first,
// then `startup_directory`); otherwise the folder "work" beside the start
// folder (the start folder without its last three characters, then "work":
// a program started in its bin folder opens in the work folder beside it) if
// it exists, else `startup_directory` itself; empty when `startup_directory`
// is empty. An empty work_dir.dat is an error naming it. Later graphs use an
// empty initial folder (the chooser's own default).
Status first_graph_initial_directory(const std::string& startup_directory, std::string* initial_directory);
