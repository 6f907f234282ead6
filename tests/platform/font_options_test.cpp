#include "platform/font_options.h"

#include <gtest/gtest.h>

#include "platform/gfx.h"

namespace {

TEST(FontOptions, ReadsTheProgramsOptionStringsInAnyCase) {
  const FontRequest lower = parse_font_options("t'tms rmn'h14be");
  EXPECT_EQ(lower.status, kGfxOk);
  EXPECT_EQ(lower.face, "tms rmn");
  EXPECT_EQ(lower.height, 14);
  EXPECT_TRUE(lower.bold);
  EXPECT_TRUE(lower.best_fit);
  EXPECT_FALSE(lower.italic);
  EXPECT_FALSE(lower.underline);

  const FontRequest upper = parse_font_options("T'TMS RMN'H14BE");
  EXPECT_EQ(upper.status, kGfxOk);
  EXPECT_EQ(upper.height, 14);
  EXPECT_TRUE(upper.bold && upper.best_fit);
  EXPECT_TRUE(same_face(upper.face, lower.face));

  const FontRequest regular = parse_font_options("t'tms rmn'h12b");
  EXPECT_FALSE(regular.bold);
  EXPECT_EQ(regular.height, 12);
}

TEST(FontOptions, SkipsNonOptionsAndReadsEveryOption) {
  const FontRequest r = parse_font_options(" h12 x w7 i u v ");
  EXPECT_EQ(r.status, kGfxOk);
  EXPECT_EQ(r.height, 12);
  EXPECT_EQ(r.width, 7);
  EXPECT_TRUE(r.italic);
  EXPECT_TRUE(r.underline);
  EXPECT_EQ(r.kind, FontKind::scalable);
  EXPECT_EQ(r.pitch, FontPitch::any);
  EXPECT_TRUE(r.face.empty());
}

TEST(FontOptions, ContradictionsWarnAndTheLaterWins) {
  FontRequest r = parse_font_options("fp");
  EXPECT_EQ(r.status, kGfxWarnCorrected);
  EXPECT_EQ(r.pitch, FontPitch::proportional);
  r = parse_font_options("vR");
  EXPECT_EQ(r.status, kGfxWarnCorrected);
  EXPECT_EQ(r.kind, FontKind::bitmap);
  r = parse_font_options("ffrr");  // repeating an option contradicts nothing
  EXPECT_EQ(r.status, kGfxOk);
  EXPECT_EQ(r.pitch, FontPitch::fixed);
}

TEST(FontOptions, BadFaceNamesAreSyntaxErrors) {
  EXPECT_EQ(parse_font_options("tArial'h12").status, kGfxErrorInvalid);  // no opening quote
  EXPECT_EQ(parse_font_options("t").status, kGfxErrorInvalid);
  EXPECT_EQ(parse_font_options("t'Arial h12").status, kGfxErrorInvalid);  // no closing quote
  const std::string longest(kFontMaxFaceLength, 'a');
  EXPECT_EQ(parse_font_options("t'" + longest + "'").status, kGfxOk);
  EXPECT_EQ(parse_font_options("t'" + longest + "a'").status, kGfxErrorInvalid);
}

TEST(FontOptions, NumberOptionIgnoresTheRest) {
  const FontRequest r = parse_font_options("n3h99t'x");
  EXPECT_EQ(r.status, kGfxOk);
  EXPECT_EQ(r.number, 3);
  EXPECT_EQ(r.height, 0);
  EXPECT_TRUE(r.face.empty());
  EXPECT_EQ(parse_font_options("h99999999999999").height, 2147483647);  // saturates
}

std::vector<FontCandidate> sample_list() {
  return {
      {"Liberation Sans", 0, 0, false, true},   // 1
      {"Liberation Serif", 0, 0, false, true},  // 2
      {"Fixed", 10, 6, true, false},            // 3
      {"Fixed", 13, 8, true, false},            // 4
      {"Liberation Mono", 0, 0, true, true},    // 5
  };
}

int find(const char* options, int current = 0) {
  return search_font(parse_font_options(options), sample_list(), current).number;
}

TEST(FontSearch, OldFaceNamesFindTheirStandIns) {
  EXPECT_EQ(find("t'tms rmn'h14be"), 2);
  EXPECT_EQ(find("T'TMS RMN'H14BE"), 2);
  EXPECT_EQ(find("t'Courier'h12"), 5);
  EXPECT_EQ(find("t'helv'"), 1);
  // An installed original comes before its stand-in, wherever it stands.
  std::vector<FontCandidate> list = sample_list();
  list.push_back({"Times New Roman", 0, 0, false, true});
  EXPECT_EQ(search_font(parse_font_options("t'tms rmn'b"), list, 0).number, 6);
}

TEST(FontSearch, PitchAndKindFilter) {
  EXPECT_EQ(find("f"), 3);   // the first fixed-pitch font: a bitmap of any size
  EXPECT_EQ(find("fv"), 5);  // fixed and scalable
  EXPECT_EQ(find("p"), 1);
  EXPECT_EQ(find("t'Liberation Mono'p"), -1);
  EXPECT_EQ(find("t'No Such Face'"), -1);
}

TEST(FontSearch, BitmapFontsMatchExactlyOrByBestFit) {
  EXPECT_EQ(find("t'fixed'h13"), 4);
  EXPECT_EQ(find("t'fixed'h13w6"), -1);
  EXPECT_EQ(find("t'fixed'h12"), -1);
  EXPECT_EQ(find("t'fixed'h12b"), 4);      // |12-13| beats |12-10|
  EXPECT_EQ(find("t'fixed'h10w8b"), 3);    // 0+2 beats 3+0
  // Nothing within 200: the current font is selected again.
  const FontChoice far = search_font(parse_font_options("t'fixed'h400b"), sample_list(), 2);
  EXPECT_TRUE(far.reselected_current);
  EXPECT_EQ(far.number, 2);
  EXPECT_EQ(find("t'fixed'h400b", 0), -1);
}

TEST(FontSearch, NumberTakesTheFontDirectly) {
  EXPECT_EQ(find("n4"), 4);
  EXPECT_EQ(find("n5t'tms rmn'"), 5);
  EXPECT_EQ(find("n6"), -1);
  EXPECT_EQ(find("n0"), 1);  // no number given: an ordinary search
}

}  // namespace
