// Finding files in any letter case, the required-files check, the message
// language and the first chooser's initial folder.
#include <gtest/gtest.h>

#include "input/file_lookup.h"
#include "input/initial_directory.h"
#include "input/language.h"
#include "input/required_files.h"
#include "input_fixtures.h"

namespace {

using input_test::TempFolder;

TEST(FileLookup, ExactNameFirstThenAnyLetterCase) {
  TempFolder folder;
  folder.write("Comdin.DAT", std::string("a"));
  folder.write("x.unf", std::string("b"));
  folder.write("X.UNF", std::string("c"));
  EXPECT_EQ(find_in_folder(folder.path(), "comdin.dat"), folder.file("Comdin.DAT"));
  EXPECT_EQ(find_in_folder(folder.path(), "x.unf"), folder.file("x.unf"));
  EXPECT_EQ(find_in_folder(folder.path(), "X.unf"), folder.file("X.UNF"));  // first in byte order
  EXPECT_EQ(find_in_folder(folder.path(), "nei.unf"), "");
  EXPECT_EQ(find_in_folder(folder.path() + "/none", "x.unf"), "");
  EXPECT_EQ(find_path(folder.file("COMDIN.dat"), "/"), folder.file("Comdin.DAT"));
  EXPECT_EQ(find_path("Comdin.dat", folder.path()), folder.file("Comdin.DAT"));
  // Names with a folder part are tested for existence; blank names find nothing.
  EXPECT_EQ(find_file(folder.file("comdin.dat"), "/"), folder.file("Comdin.DAT"));
  EXPECT_EQ(find_file(folder.path(), "/"), folder.path());
  EXPECT_EQ(find_file("   ", folder.path()), "");
  // A name is read up to its first NUL, as the system reads it.
  using namespace std::string_literals;
  EXPECT_EQ(find_file("x.unf\0\0\0"s, folder.path()), folder.file("x.unf"));
  folder.write("  ", std::string("d"));  // blank before its NUL: not found, even so
  EXPECT_EQ(find_file("  \0x.unf"s, folder.path()), "");
  // A bare name is looked for in the program's folder, then in the given current folder.
  EXPECT_EQ(find_file("x.unf", folder.path()), folder.file("x.unf"));
  EXPECT_FALSE(program_directory().empty());
}

TEST(FileLookup, PathPieces) {
  EXPECT_EQ(join_path("/a/b", "c"), "/a/b/c");
  EXPECT_EQ(join_path("/", "c"), "/c");
  EXPECT_EQ(folder_of("/a/b/c.dat"), "/a/b");
  EXPECT_EQ(folder_of("/c.dat"), "/");
  EXPECT_EQ(name_of("/a/b/c.dat"), "c.dat");
  EXPECT_EQ(absolute_path("c", "/a"), "/a/c");
  EXPECT_EQ(absolute_path("/c", "/a"), "/c");
}

TEST(RequiredFiles, AllFourInAnyLetterCase) {
  TempFolder folder;
  folder.write("COMDIN.DAT", std::string("1"));
  folder.write("x.unf", std::string("1"));
  folder.write("U01.unf", std::string("1"));
  RequiredFiles check = check_required_files(folder.file("anything.txt"));
  EXPECT_FALSE(check.all_present);
  EXPECT_EQ(check.working_directory, folder.path());
  EXPECT_EQ(check.missing, std::vector<std::string>{"nei.unf"});
  folder.write("Nei.Unf", std::string("1"));
  check = check_required_files(folder.file("comdin.dat"));
  EXPECT_TRUE(check.all_present);
}

TEST(Language, FirstLineOfLanguageDat) {
  TempFolder folder;
  struct Case {
    const char* text;
    bool romanian;
  } cases[] = {{"Romana\n", true}, {"romanian\r\nEnglish\n", true}, {"English\nRomana\n", false},
               {" Romana\n", false}, {"\nRomana\n", false}};
  for (const Case& c : cases) {
    folder.write("language.dat", std::string(c.text));
    romanian_messages = !c.romanian;
    ASSERT_TRUE(read_language(folder.path()).is_ok());
    EXPECT_EQ(romanian_messages.load(), c.romanian) << c.text;
  }
  std::string word;
  folder.write("LANGUAGE.DAT", std::string("Rumaenisch mit langem Namen\n"));
  std::filesystem::remove(folder.file("language.dat"));
  ASSERT_TRUE(read_language(folder.path(), &word).is_ok());
  EXPECT_EQ(word, "Rumaenisch mit lange");  // 20 characters
  folder.write("LANGUAGE.DAT", std::string());
  romanian_messages = true;
  EXPECT_EQ(read_language(folder.path()).message(), "LANGUAGE.DAT: the file is empty");
  EXPECT_TRUE(romanian_messages.load());  // left as it was
}

TEST(Language, FallbackToTheAnalysisProgramsControlFile) {
  TempFolder start, problem;
  std::string word;
  // No language.dat and no work_dir.dat: English.
  romanian_messages = true;
  ASSERT_TRUE(read_language(start.path(), &word).is_ok());
  EXPECT_EQ(word, "English");
  EXPECT_FALSE(romanian_messages.load());

  start.write("work_dir.dat", problem.path() + "   \n");
  problem.write("Comdin.dat", std::string(" 1 2 3\nEnglish\nRomana\n"));
  ASSERT_TRUE(read_language(start.path(), &word).is_ok());
  EXPECT_EQ(word, "Romana");
  EXPECT_TRUE(romanian_messages.load());

  // One empty last line: it is the last line.
  problem.write("Comdin.dat", std::string(" 1 2 3\nRomana\n\n"));
  ASSERT_TRUE(read_language(start.path(), &word).is_ok());
  EXPECT_EQ(word, "");
  EXPECT_FALSE(romanian_messages.load());

  // Kind 1 reads Comnel.dat; the runs read Comdin.dat only.
  std::filesystem::remove(problem.file("Comdin.dat"));
  problem.write("Comnel.dat", std::string("Romana\n"));
  ASSERT_TRUE(read_language(start.path(), &word).is_ok());
  EXPECT_EQ(word, "English");
  ASSERT_TRUE(fallback_language(1, start.path(), &word).is_ok());
  EXPECT_EQ(word, "Romana");
  ASSERT_TRUE(fallback_language(5, start.path(), &word).is_ok());
  EXPECT_EQ(word, "English");

  start.write("work_dir.dat", std::string());
  EXPECT_EQ(read_language(start.path(), &word).message(), "work_dir.dat: the file is empty");
}

TEST(Language, FilesThereThatCannotBeOpenedGiveEnglish) {
  TempFolder start, problem;
  std::string word;
  // Each file is a link to itself: it is listed in its folder, but opening
  // it fails (being root, a file without read permission would still open).
  start.write("work_dir.dat", problem.path() + "\n");
  problem.write("Comdin.dat", std::string("Romana\n"));
  ASSERT_TRUE(read_language(start.path(), &word).is_ok());
  EXPECT_EQ(word, "Romana");
  std::filesystem::remove(problem.file("Comdin.dat"));
  std::filesystem::create_symlink("Comdin.dat", problem.file("Comdin.dat"));
  romanian_messages = true;
  Status status = read_language(start.path(), &word);
  EXPECT_TRUE(status.is_ok()) << status.message();
  EXPECT_EQ(word, "English");
  EXPECT_FALSE(romanian_messages.load());

  std::filesystem::remove(start.file("work_dir.dat"));
  std::filesystem::create_symlink("work_dir.dat", start.file("work_dir.dat"));
  romanian_messages = true;
  status = read_language(start.path(), &word);
  EXPECT_TRUE(status.is_ok()) << status.message();
  EXPECT_EQ(word, "English");
  EXPECT_FALSE(romanian_messages.load());
}

TEST(InitialDirectory, WorkDirDatOrTheWorkFolderBesideTheStartFolder) {
  TempFolder root;
  std::string bin = root.make_folder("veltra/bin");
  std::string initial;
  // No work folder beside bin: the start folder itself.
  ASSERT_TRUE(first_graph_initial_directory(bin, &initial).is_ok());
  EXPECT_EQ(initial, bin);
  std::string work = root.make_folder("veltra/work");
  ASSERT_TRUE(first_graph_initial_directory(bin, &initial).is_ok());
  EXPECT_EQ(initial, work);
  ASSERT_TRUE(first_graph_initial_directory("", &initial).is_ok());
  EXPECT_EQ(initial, "");

  // work_dir.dat in the start folder: its first free-form value, slashes and all.
  root.write("veltra/bin/work_dir.dat", std::string("  /data/results/job 7, more\r\n"));
  ASSERT_TRUE(first_graph_initial_directory(bin, &initial).is_ok());
  EXPECT_EQ(initial, "/data/results/job");
  root.write("veltra/bin/work_dir.dat", std::string("'/data/my results/job 7'\n"));
  ASSERT_TRUE(first_graph_initial_directory(bin, &initial).is_ok());
  EXPECT_EQ(initial, "/data/my results/job 7");
  // However many blanks come before the value (more than one read buffer).
  for (std::size_t blanks : {65535u, 65536u, 200000u}) {
    root.write("veltra/bin/work_dir.dat", std::string(blanks, ' ') + "/data/far\n");
    ASSERT_TRUE(first_graph_initial_directory(bin, &initial).is_ok()) << blanks;
    EXPECT_EQ(initial, "/data/far") << blanks;
  }
  root.write("veltra/bin/work_dir.dat", std::string("\n"));
  EXPECT_EQ(first_graph_initial_directory(bin, &initial).message(),
            "work_dir.dat: the file ends before a value was read");
}

}  // namespace
