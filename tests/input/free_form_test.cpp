// Free-form reading: number forms, group rules, text lines, line ends.
#include <gtest/gtest.h>

#include <cmath>

#include "base/shown_text.h"
#include "input/free_form.h"
#include "input/text_file.h"
#include "input_fixtures.h"

namespace {

FreeFormReader reader_of(std::vector<std::string> lines) { return FreeFormReader("f.dat", std::move(lines)); }

TEST(FortranNumbers, RealsInEveryForm) {
  struct Case {
    const char* text;
    float value;
  } cases[] = {{"2.5", 2.5f},     {"2.", 2.0f},      {".5", 0.5f},      {"-1E3", -1000.0f},
               {"1.0D+00", 1.0f}, {"1.0d-3", 1e-3f}, {"+3", 3.0f},      {"7", 7.0f},
               {"1.5+3", 1500.0f}, {"2.5e-1", 0.25f}, {"-.25Q1", -2.5f}, {"1E-50", 0.0f}};
  for (const Case& c : cases) {
    float value = -99;
    EXPECT_EQ(parse_fortran_real(c.text, &value), NumberError::none) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
  float value = 0;
  EXPECT_EQ(parse_fortran_real("NaN", &value), NumberError::none);
  EXPECT_TRUE(std::isnan(value));
  EXPECT_EQ(parse_fortran_real("-Infinity", &value), NumberError::none);
  EXPECT_TRUE(std::isinf(value) && value < 0);
  // Nine significant digits read back the float that printed them.
  EXPECT_EQ(parse_fortran_real("1.99999996E-02", &value), NumberError::none);
  EXPECT_EQ(value, 0.02f);

  for (const char* bad : {"", "1.2.3", "E5", "abc", "1e", "--1", "1.5-", "1,5", "0x10", "'1.0'"}) {
    EXPECT_EQ(parse_fortran_real(bad, &value), NumberError::bad_form) << bad;
  }
  EXPECT_EQ(parse_fortran_real("1E50", &value), NumberError::out_of_range);
}

TEST(FortranNumbers, IntegersOnly) {
  std::int32_t value = 0;
  EXPECT_EQ(parse_fortran_integer("+3", &value), NumberError::none);
  EXPECT_EQ(value, 3);
  EXPECT_EQ(parse_fortran_integer("-2147483648", &value), NumberError::none);
  EXPECT_EQ(value, INT32_MIN);
  for (const char* bad : {"1.5", "1E3", "2.", "", "-", "12a"}) {
    EXPECT_EQ(parse_fortran_integer(bad, &value), NumberError::bad_form) << bad;
  }
  EXPECT_EQ(parse_fortran_integer("2147483648", &value), NumberError::out_of_range);
  EXPECT_EQ(parse_fortran_integer("99999999999999999999", &value), NumberError::out_of_range);
}

TEST(FreeFormGroups, SeparatorsLinesAndTheRestOfTheLastLine) {
  FreeFormReader reader = reader_of({" 1,2\t3 ,", "", "  4 5 6 7 8", "9"});
  std::int32_t a[5] = {};
  ASSERT_TRUE(reader.read_integers("a", a).is_ok());
  EXPECT_EQ(std::vector<int>(a, a + 5), (std::vector<int>{1, 2, 3, 4, 5}));
  // 6 7 8 were the rest of the group's last line: the next group starts on the next line.
  std::int32_t b = 0;
  ASSERT_TRUE(reader.read_integers("b", {&b, 1}).is_ok());
  EXPECT_EQ(b, 9);
  EXPECT_EQ(reader.last_line(), 4u);
}

TEST(FreeFormGroups, RepeatCountsNullsAndSlash) {
  FreeFormReader reader = reader_of({"3*7 2* 9", ",5,,6", "1 / 2 3", "4 2*8"});
  std::int32_t a[6] = {0, 0, 0, -1, -2, 0};
  ASSERT_TRUE(reader.read_integers("a", a).is_ok());
  EXPECT_EQ(std::vector<int>(a, a + 6), (std::vector<int>{7, 7, 7, -1, -2, 9}));
  // A leading comma and an empty place between commas are null values.
  std::int32_t b[4] = {10, 20, 30, 40};
  ASSERT_TRUE(reader.read_integers("b", b).is_ok());
  EXPECT_EQ(std::vector<int>(b, b + 4), (std::vector<int>{10, 5, 30, 6}));
  // A slash ends the group at once, leaving the rest as it was.
  float c[3] = {0, 11, 12};
  ASSERT_TRUE(reader.read_reals("c", c).is_ok());
  EXPECT_EQ(c[0], 1.0f);
  EXPECT_EQ(c[1], 11.0f);
  EXPECT_EQ(c[2], 12.0f);
  // The rest of a repeat past the group's end is dropped with its line.
  std::int32_t d[2] = {};
  ASSERT_TRUE(reader.read_integers("d", d).is_ok());
  EXPECT_EQ(d[0], 4);
  EXPECT_EQ(d[1], 8);
}

TEST(FreeFormGroups, ErrorsNameTheFileTheLineAndWhat) {
  {
    FreeFormReader reader = reader_of({"1 2", "1.5"});
    std::int32_t a[3] = {};
    Status status = reader.read_integers("a", a);
    ASSERT_FALSE(status.is_ok());
    EXPECT_EQ(status.message(), "f.dat, line 2: an integer was expected, found 1.5");
  }
  {
    FreeFormReader reader = reader_of({"1 x"});
    float a[2] = {};
    Status status = reader.read_reals("a", a);
    EXPECT_EQ(status.message(), "f.dat, line 1: a real number was expected, found x");
  }
  {
    FreeFormReader reader = reader_of({"1 2", ""});
    std::int32_t a[3] = {};
    Status status = reader.read_integers("the sizes (group 1)", a);
    EXPECT_EQ(status.message(), "f.dat: the file ends within the sizes (group 1)");
  }
  for (const char* bad : {"0*5", "*5", "-2*3", "1.5*2"}) {
    FreeFormReader reader = reader_of({bad});
    std::int32_t a = 0;
    Status status = reader.read_integers("a", {&a, 1});
    EXPECT_EQ(status.message(), std::string("f.dat, line 1: a bad repeat count in ") + bad);
  }
  FreeFormReader reader = reader_of({"3*1.5"});
  std::int32_t a[2] = {};
  EXPECT_EQ(reader.read_integers("a", a).message(), "f.dat, line 1: an integer was expected, found 1.5");
}

TEST(FreeFormText, WholeLinesCutToTheirField) {
  FreeFormReader reader = reader_of({"1 2 3", "  a path with blanks   ", "0123456789abcdefghijKLM", "x"});
  std::int32_t a = 0;
  ASSERT_TRUE(reader.read_integers("a", {&a, 1}).is_ok());
  std::string text;
  ASSERT_TRUE(reader.read_text("t", 255, &text).is_ok());
  EXPECT_EQ(text, "  a path with blanks");
  ASSERT_TRUE(reader.read_text("t", 20, &text).is_ok());
  EXPECT_EQ(text, "0123456789abcdefghij");
  ASSERT_TRUE(reader.read_text("t", 20, &text).is_ok());
  EXPECT_FALSE(reader.read_text("t", 20, &text).is_ok());
}

TEST(FreeFormText, FirstValueOfAFolderFile) {
  std::string value;
  ASSERT_TRUE(first_free_form_text({"", "  /home/user/results/job1 other"}, "w.dat", 260, &value).is_ok());
  EXPECT_EQ(value, "/home/user/results/job1");
  ASSERT_TRUE(first_free_form_text({"/data/a,b"}, "w.dat", 260, &value).is_ok());
  EXPECT_EQ(value, "/data/a");
  ASSERT_TRUE(first_free_form_text({"'/data/my results/x' tail"}, "w.dat", 260, &value).is_ok());
  EXPECT_EQ(value, "/data/my results/x");
  ASSERT_TRUE(first_free_form_text({"\"it\"\"s\""}, "w.dat", 260, &value).is_ok());
  EXPECT_EQ(value, "it\"s");
  ASSERT_TRUE(first_free_form_text({", /ignored"}, "w.dat", 260, &value).is_ok());
  EXPECT_EQ(value, "");
  ASSERT_TRUE(first_free_form_text({"abcdef"}, "w.dat", 3, &value).is_ok());
  EXPECT_EQ(value, "abc");
  Status status = first_free_form_text({"", "   "}, "work_dir.dat", 260, &value);
  EXPECT_EQ(status.message(), "work_dir.dat: the file ends before a value was read");
}

// Text from a file as a message shows it: printable UTF-8 kept, every
// other byte escaped, a long text cut.
TEST(MessageText, ControlBytesAndInvalidUtf8AreEscaped) {
  struct Case {
    std::string text;
    std::size_t length;
    std::string shown;
  } cases[] = {
      {"C:\\job\\beam.dat", 256, "C:\\job\\beam.dat"},
      {"Gr\xC3\xBCnde \xE2\x82\xAC", 256, "Gr\xC3\xBCnde \xE2\x82\xAC"},
      {"\x1b[31mred\nline\r\t\x7f", 256, "\\x1b[31mred\\nline\\r\\t\\x7f"},
      {std::string("a\0b", 3), 256, "a\\x00b"},
      {"\xC2\x9B" "2J", 256, "\\xc2\\x9b2J"},              // C1 control CSI
      {"\xFF\xC3(\xE2\x82", 256, "\\xff\\xc3(\\xe2\\x82"},  // stray, cut sequences
      {"\xC0\xAF\xED\xA0\x80", 256, "\\xc0\\xaf\\xed\\xa0\\x80"},  // overlong, surrogate
      {"abc\xE2\x80\xAE" "def", 256, "abc\\u202edef"},          // bidi override
      {"0123456789", 4, "0123…"},
      {"\xC3\xBC\xC3\xBC\xC3\xBC", 2, "\xC3\xBC\xC3\xBC…"},
      {"ab\ncd", 3, "ab…"},
  };
  for (const Case& c : cases) EXPECT_EQ(shown_text(c.text, c.length), c.shown) << c.text;
}

// The lines of the file at `path`, as TextLines reads them.
Status read_text_lines(const std::string& path, std::vector<std::string>* lines) {
  lines->clear();
  TextLines file;
  if (Status status = file.open(path); !status.is_ok()) return status;
  for (;;) {
    std::string line;
    bool got = false;
    if (Status status = file.next(&line, &got); !status.is_ok()) return status;
    if (!got) return Status::ok();
    lines->push_back(std::move(line));
  }
}

TEST(TextFiles, LineEndsAndAByteOrderMarkReadLikePlainLf) {
  input_test::TempFolder folder;
  const std::vector<std::string> plain = {"one", " two ", "", "last"};
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"lf.txt", "one\n two \n\nlast\n", plain},
      {"crlf.txt", "one\r\n two \r\n\r\nlast", plain},
      {"bom.txt", "\xEF\xBB\xBFone\r\n two \n\nlast\n", plain},
      {"empty.txt", "", {}},
      {"bom_only.txt", "\xEF\xBB\xBF", {}},
      {"newline.txt", "\n", {""}},
      // Only the file's first bytes can be a mark.
      {"bom_later.txt", "a\n\xEF\xBB\xBF", {"a", "\xEF\xBB\xBF"}},
  };
  for (const Case& c : cases) {
    folder.write(c.name, c.text);
    std::vector<std::string> lines;
    ASSERT_TRUE(read_text_lines(folder.file(c.name), &lines).is_ok()) << c.name;
    EXPECT_EQ(lines, c.lines) << c.name;
  }
  std::vector<std::string> lines;
  Status status = read_text_lines(folder.file("none.txt"), &lines);
  EXPECT_EQ(status.message().rfind("none.txt: cannot be opened", 0), 0u) << status.message();
}

}  // namespace
