// The choice of the working directory at the start of a new graph: the
// system file chooser, the check of the required files, the Retry/Cancel box
// and the info-window lines (unit 9).
//
// It belongs to the shell rather than to the problem input, which reads files
// and talks to no window layer.
#pragma once

#include <string>

#include "platform/dlg.h"

enum class ChoiceOutcome {
  accepted,       // the chosen folder holds the required files
  cancelled,      // the chooser was cancelled; the run ends (its lines are written)
  program_ended,  // files missing and not retried: wnd_end_program(0) has been called
};

struct DirectoryChoice {
  ChoiceOutcome outcome = ChoiceOutcome::cancelled;
  std::string working_directory;  // when accepted: absolute, no trailing "/"
};

// The chooser request: title, filters, preset name and initial folder.
FileChooserRequest working_directory_request(const std::string& initial_directory);

// Shows the chooser opening in `initial_directory` (empty: its default) with
// "comdin.dat" preset, until the user accepts a folder holding comdin.dat,
// x.unf, nei.unf and u01.unf or gives up:
// - cancelled chooser: writes " Initial Directory:" with the folder, then
//   " * Work Directory Selection: Canceled." (the folder exists) or
//   " * Work Directory Selection Error: Not Found.", then " * Returning ...";
// - files missing: the Retry/Cancel box in the language of romanian_messages;
//   Retry shows the chooser again with the previous choice in its name field;
//   otherwise writes " * Missing Files: Exiting..." and ends the program with
//   wnd_end_program(0) (which returns only on the GUI thread);
// - accepted: makes the folder the process's current directory and writes
//   " Work Directory: " followed by the folder and a "/".
DirectoryChoice choose_working_directory(const std::string& initial_directory);

// The texts of the missing-files box.
constexpr const char* kMissingFilesText =
    "Missing Needed Files for \"VELTRA\"\nin the Selected Directory !";
constexpr const char* kMissingFilesCaption = "\"VELTRA: Verify\" Message";
constexpr const char* kMissingFilesTextRomanian =
    "Lipsa fisiere necesare pentru \"VELTRA\"\nin Directoriul selectat !";
constexpr const char* kMissingFilesCaptionRomanian = "Mesaj \"VELTRA: Verify\"";
