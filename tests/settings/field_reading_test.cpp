#include "settings/field_reading.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>

#include "settings/graph_settings_dialog.h"

namespace {

TEST(ReadIntegerPrefix, LeadingBlanksSignDigitsAndTheRestIgnored) {
  EXPECT_EQ(read_integer_prefix("12abc     "), 12);
  EXPECT_EQ(read_integer_prefix("abc"), 0);
  EXPECT_EQ(read_integer_prefix("   42"), 42);
  EXPECT_EQ(read_integer_prefix("-1"), -1);
  EXPECT_EQ(read_integer_prefix("+7 8"), 7);
  EXPECT_EQ(read_integer_prefix("- 5"), 0);
  EXPECT_EQ(read_integer_prefix("3.9"), 3);
  EXPECT_EQ(read_integer_prefix(""), 0);
  EXPECT_EQ(read_integer_prefix("          "), 0);
}

TEST(ReadIntegerPrefix, ValuesBeyondThirtyTwoBitsAreHeldAtTheEnds) {
  EXPECT_EQ(read_integer_prefix("2147483647"), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(read_integer_prefix("9999999999"), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(read_integer_prefix("-2147483648"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(read_integer_prefix("-999999999999"), std::numeric_limits<std::int32_t>::min());
}

TEST(ReadRealPrefix, LongestNumericPrefix) {
  EXPECT_FLOAT_EQ(read_real_prefix("2.5"), 2.5f);
  EXPECT_FLOAT_EQ(read_real_prefix("  .5x"), 0.5f);
  EXPECT_FLOAT_EQ(read_real_prefix("5."), 5.0f);
  EXPECT_FLOAT_EQ(read_real_prefix("-3e2"), -300.0f);
  EXPECT_FLOAT_EQ(read_real_prefix("+1.5E-1z"), 0.15f);
  EXPECT_FLOAT_EQ(read_real_prefix("2d1"), 20.0f);
  EXPECT_FLOAT_EQ(read_real_prefix("4e"), 4.0f);    // no exponent digits: "e" is not part
  EXPECT_FLOAT_EQ(read_real_prefix("4e+"), 4.0f);
  EXPECT_FLOAT_EQ(read_real_prefix("7 8"), 7.0f);
  EXPECT_EQ(read_real_prefix("."), 0.0f);
  EXPECT_EQ(read_real_prefix("-"), 0.0f);
  EXPECT_EQ(read_real_prefix("auto"), 0.0f);
  EXPECT_EQ(read_real_prefix(""), 0.0f);
}

TEST(ReadRealPrefix, OutOfRangeIsHeldFinite) {
  EXPECT_EQ(read_real_prefix("1e99"), FLT_MAX);
  EXPECT_EQ(read_real_prefix("-1e400"), -FLT_MAX);
  EXPECT_EQ(read_real_prefix("1e-400"), 0.0f);
}

TEST(FactorText, LiteralsAreCaseSensitiveIgnoreTrailingBlanksAndSeeTenCharacters) {
  EXPECT_EQ(classify_factor_text("Auto"), FactorText::automatic);
  EXPECT_EQ(classify_factor_text("1.0   "), FactorText::automatic);
  EXPECT_EQ(classify_factor_text("1."), FactorText::automatic);
  EXPECT_EQ(classify_factor_text("auto"), FactorText::number);
  EXPECT_EQ(classify_factor_text(" 1"), FactorText::number);  // leading blank counts
  EXPECT_EQ(classify_factor_text("1.00"), FactorText::number);
  EXPECT_EQ(classify_factor_text(".0"), FactorText::zero);
  EXPECT_EQ(classify_factor_text("0."), FactorText::zero);
  EXPECT_EQ(classify_factor_text("0.00"), FactorText::number);
  EXPECT_EQ(classify_factor_text(""), FactorText::number);
  // Only the first 10 characters are judged.
  EXPECT_EQ(classify_factor_text("Auto      x"), FactorText::automatic);
  EXPECT_EQ(classify_factor_text("0         0"), FactorText::zero);
}

TEST(ShownNumbers, TimeSettingsFieldTexts) {
  EXPECT_EQ(shown_integer(400), "400");
  EXPECT_EQ(shown_integer(-1), "-1");
  EXPECT_EQ(shown_real(10.0), "10.");
  EXPECT_EQ(shown_real(2.5f), "2.5");
  EXPECT_EQ(shown_real(0.0), "0.");
  EXPECT_EQ(shown_real(1234567.0f), "0.123457E+07");
  EXPECT_EQ(field_text("abcdefghijkl"), "abcdefghij");
  EXPECT_EQ(field_text("ab"), "ab        ");
}

}  // namespace
