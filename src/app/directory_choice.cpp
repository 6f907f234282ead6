#include "app/directory_choice.h"

#include <unistd.h>

#include "input/file_lookup.h"
#include "input/language.h"
#include "input/required_files.h"
#include "platform/wnd.h"

FileChooserRequest working_directory_request(const std::string& initial_directory) {
  FileChooserRequest request;
  request.title = "Select Any File in the Working Directory";
  request.filters = {{"All files (*.*)", "*.*"}, {"Data files (*.dat)", "*.dat"}};
  request.filter_index = 1;
  request.initial_directory = initial_directory;
  request.preset_name = "comdin.dat";
  request.default_extension = "dat";
  request.path_must_exist = true;
  return request;
}

DirectoryChoice choose_working_directory(const std::string& initial_directory) {
  DirectoryChoice choice;
  FileChooserRequest request = working_directory_request(initial_directory);
  for (;;) {
    std::string chosen;
    if (!dlg_choose_file(request, &chosen)) {
      wnd_write_line(kInfoUnit, " Initial Directory:" + initial_directory);
      bool found = !find_file(initial_directory).empty();
      wnd_write_line(kInfoUnit, found ? " * Work Directory Selection: Canceled."
                                      : " * Work Directory Selection Error: Not Found.");
      wnd_write_line(kInfoUnit, " * Returning ...");
      choice.outcome = ChoiceOutcome::cancelled;
      return choice;
    }
    RequiredFiles check = check_required_files(chosen);
    if (check.all_present) {
      // The run opens its files by full path; the current directory matters
      // only for the next run's language.dat and start folder.
      if (::chdir(check.working_directory.c_str()) != 0) {
        // The folder has just been checked; if it vanished since, the loading
        // step reports the missing files.
      }
      wnd_write_line(kInfoUnit, " Work Directory: " + join_path(check.working_directory, ""));
      choice.outcome = ChoiceOutcome::accepted;
      choice.working_directory = check.working_directory;
      return choice;
    }
    bool romanian = romanian_messages.load();
    int answer = wnd_message_box(romanian ? kMissingFilesTextRomanian : kMissingFilesText,
                                 romanian ? kMissingFilesCaptionRomanian : kMissingFilesCaption,
                                 kBoxRetryCancelError);
    if (answer == kBoxResultRetry) {
      request.preset_name = chosen;
      continue;
    }
    wnd_write_line(kInfoUnit, " * Missing Files: Exiting...");
    wnd_end_program(0);
    choice.outcome = ChoiceOutcome::program_ended;
    return choice;
  }
}
