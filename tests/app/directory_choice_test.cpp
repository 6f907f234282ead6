// The working-directory choice on the recording layer: the chooser request,
// the info-window lines, the Retry/Cancel box in both languages and the end
// of the program.
#include <gtest/gtest.h>

#include <unistd.h>

#include <thread>

#include "app/directory_choice.h"
#include "input/file_lookup.h"
#include "input/language.h"
#include "input/input_fixtures.h"
#include "support/fake_platform.h"

namespace {

using input_test::TempFolder;

class DirectoryChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::reset();
    wnd_open_child(9, "Info", ChildKind::text);
    start_ = current_directory();
    romanian_messages = false;
  }
  void TearDown() override {
    if (::chdir(start_.c_str()) != 0) ADD_FAILURE() << "cannot return to " << start_;
    romanian_messages = false;
  }
  static void write_results(const TempFolder& folder, bool with_nei = true) {
    folder.write("Comdin.dat", std::string("1"));
    folder.write("X.UNF", std::string("1"));
    if (with_nei) folder.write("nei.unf", std::string("1"));
    folder.write("u01.unf", std::string("1"));
  }
  std::string start_;
};

TEST_F(DirectoryChoiceTest, CancelledWithNoInitialFolder) {
  DirectoryChoice choice = choose_working_directory("");
  EXPECT_EQ(choice.outcome, ChoiceOutcome::cancelled);
  EXPECT_EQ(fake::lines(9), (std::vector<std::string>{" Initial Directory:",
                                                      " * Work Directory Selection Error: Not Found.",
                                                      " * Returning ..."}));
  ASSERT_EQ(fake::file_requests().size(), 1u);
  const FileChooserRequest request = fake::file_requests()[0];
  EXPECT_EQ(request.title, "Select Any File in the Working Directory");
  ASSERT_EQ(request.filters.size(), 2u);
  EXPECT_EQ(request.filters[0].description, "All files (*.*)");
  EXPECT_EQ(request.filters[0].pattern, "*.*");
  EXPECT_EQ(request.filters[1].description, "Data files (*.dat)");
  EXPECT_EQ(request.filters[1].pattern, "*.dat");
  EXPECT_EQ(request.filter_index, 1);
  EXPECT_EQ(request.initial_directory, "");
  EXPECT_EQ(request.preset_name, "comdin.dat");
  EXPECT_EQ(request.default_extension, "dat");
  EXPECT_TRUE(request.path_must_exist);
  EXPECT_FALSE(fake::ended_with().has_value());
}

TEST_F(DirectoryChoiceTest, CancelledWithAnExistingInitialFolder) {
  TempFolder folder;
  EXPECT_EQ(choose_working_directory(folder.path()).outcome, ChoiceOutcome::cancelled);
  EXPECT_EQ(fake::file_requests()[0].initial_directory, folder.path());
  EXPECT_EQ(fake::lines(9), (std::vector<std::string>{" Initial Directory:" + folder.path(),
                                                      " * Work Directory Selection: Canceled.",
                                                      " * Returning ..."}));
}

TEST_F(DirectoryChoiceTest, AcceptedFolderBecomesTheCurrentDirectory) {
  TempFolder folder;
  write_results(folder);
  fake::push_file_choice(folder.file("X.UNF"));
  DirectoryChoice choice = choose_working_directory("");
  EXPECT_EQ(choice.outcome, ChoiceOutcome::accepted);
  EXPECT_EQ(choice.working_directory, folder.path());
  EXPECT_EQ(current_directory(), folder.path());
  EXPECT_EQ(fake::lines(9), std::vector<std::string>{" Work Directory: " + folder.path() + "/"});
  EXPECT_TRUE(fake::message_boxes().empty());
}

TEST_F(DirectoryChoiceTest, MissingFilesRetryShowsThePreviousChoice) {
  TempFolder incomplete, complete;
  write_results(incomplete, false);
  write_results(complete);
  fake::push_file_choice(incomplete.file("comdin.dat"));
  fake::push_file_choice(complete.file("comdin.dat"));
  fake::push_box_answer(kBoxResultRetry);
  DirectoryChoice choice = choose_working_directory("/initial");
  EXPECT_EQ(choice.outcome, ChoiceOutcome::accepted);
  EXPECT_EQ(choice.working_directory, complete.path());
  ASSERT_EQ(fake::message_boxes().size(), 1u);
  const fake::BoxRecord box = fake::message_boxes()[0];
  EXPECT_EQ(box.text, "Missing Needed Files for \"VELTRA\"\nin the Selected Directory !");
  EXPECT_EQ(box.caption, "\"VELTRA: Verify\" Message");
  EXPECT_EQ(box.style, 21);
  ASSERT_EQ(fake::file_requests().size(), 2u);
  EXPECT_EQ(fake::file_requests()[1].preset_name, incomplete.file("comdin.dat"));
  EXPECT_EQ(fake::file_requests()[1].initial_directory, "/initial");
  EXPECT_EQ(fake::lines(9), std::vector<std::string>{" Work Directory: " + complete.path() + "/"});
}

TEST_F(DirectoryChoiceTest, MissingFilesCancelEndsTheProgramInRomanian) {
  TempFolder incomplete;
  write_results(incomplete, false);
  romanian_messages = true;
  fake::push_file_choice(incomplete.file("comdin.dat"));
  // wnd_end_program never returns off the GUI thread: the run's thread stays blocked.
  std::thread run([] { choose_working_directory(""); });
  run.detach();
  ASSERT_TRUE(fake::wait_until([] { return fake::ended_with().has_value(); }));
  EXPECT_EQ(*fake::ended_with(), 0);
  // The first box is the missing-files box (the end prompt may follow).
  ASSERT_FALSE(fake::message_boxes().empty());
  EXPECT_EQ(fake::message_boxes()[0].text, "Lipsa fisiere necesare pentru \"VELTRA\"\nin Directoriul selectat !");
  EXPECT_EQ(fake::message_boxes()[0].caption, "Mesaj \"VELTRA: Verify\"");
  EXPECT_EQ(fake::lines(9), std::vector<std::string>{" * Missing Files: Exiting..."});
  EXPECT_EQ(current_directory(), start_);
}

DirectoryChoice gui_choice;
void choose_on_gui_thread(bool) { gui_choice = choose_working_directory(""); }

TEST_F(DirectoryChoiceTest, OnTheGuiThreadTheEndIsReported) {
  TempFolder incomplete;
  write_results(incomplete, false);
  fake::push_file_choice(incomplete.file("comdin.dat"));
  fake::push_box_answer(kBoxResultCancel);
  ASSERT_TRUE(wnd_menu_append(1, kMenuEnabled, "Choose", choose_on_gui_thread));
  const int item = static_cast<int>(fake::menus()[0].size()) - 1;
  ASSERT_TRUE(fake::choose_menu(1, item));
  EXPECT_EQ(gui_choice.outcome, ChoiceOutcome::program_ended);
  EXPECT_EQ(fake::ended_with(), 0);
}

}  // namespace
