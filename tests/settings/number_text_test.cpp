#include "settings/number_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The text without its blanks on either side.
std::string shown(const std::string& text) {
  return std::string(without_trailing_blanks(without_leading_blanks(text)));
}

// What a dialog field shows: general edit 24 / 6, tidied.
std::string field_text(double value) {
  return shown(trim_number_text(format_general(value, 24, 6)));
}

TEST(FormatGeneral, FixedFormLayoutIsTwentyCharactersThenFourBlanks) {
  const std::string text = format_general(10, 24, 6);
  ASSERT_EQ(text.size(), 24u);
  EXPECT_EQ(text, std::string(13, ' ') + "10.0000" + "    ");
  EXPECT_EQ(format_general(0, 24, 6), std::string(13, ' ') + "0.00000" + "    ");
  EXPECT_EQ(format_general(0.005, 24, 6), std::string(12, ' ') + "0.500000E-02");
}

TEST(FormatGeneral, FactorEditOfWidthTenAndTwoDigits) {
  EXPECT_EQ(format_general(1, 10, 2), "   1.0    ");
  EXPECT_EQ(shown(format_general(0.5, 10, 2)), "0.50");
  EXPECT_EQ(shown(format_general(50, 10, 2)), "50.");
  EXPECT_EQ(format_general(150, 10, 2), "  0.15E+03");
  EXPECT_EQ(shown(format_general(0, 10, 2)), "0.0");
  EXPECT_EQ(shown(format_general(0.05, 10, 2)), "0.50E-01");
  EXPECT_EQ(shown(format_general(-2.5, 10, 2)), "-2.5");
  EXPECT_EQ(format_general(-150, 10, 2), " -0.15E+03");
}

TEST(FormatGeneral, RoundingDecidesBetweenFixedAndExponentForm) {
  // Rounded to 6 digits these reach the next power of ten.
  EXPECT_EQ(shown(format_general(999999.5, 24, 6)), "0.100000E+07");
  EXPECT_EQ(shown(format_general(999999.4, 24, 6)), "999999.");
  EXPECT_EQ(shown(format_general(0.09999995, 24, 6)), "0.100000");
  EXPECT_EQ(shown(format_general(0.0999999, 24, 6)), "0.999999E-01");
  EXPECT_EQ(shown(format_general(99.5, 10, 2)), "0.10E+03");
  EXPECT_EQ(shown(format_general(9.96, 10, 2)), "10.");
  EXPECT_EQ(shown(format_general(1e6, 24, 6)), "0.100000E+07");
  EXPECT_EQ(shown(format_general(-1234567.0, 24, 6)), "-0.123457E+07");
}

TEST(FormatGeneral, TiesRoundAwayFromZeroOnTheExactDecimalValue) {
  // 0.125 and 2.5 are exact binary values: true ties.
  EXPECT_EQ(shown(format_general(0.125, 10, 2)), "0.13");
  EXPECT_EQ(shown(format_general(-0.125, 10, 2)), "-0.13");
  EXPECT_EQ(shown(format_general(2.5, 10, 1)), "3.");
  EXPECT_EQ(shown(format_general(0.5, 24, 1)), "0.5");
  // 0.15 is stored as 0.1499999999999999944..., 0.35 as 0.34999999999999997...,
  // 1.005 as 1.00499999999999989...: not ties.
  EXPECT_EQ(shown(format_general(0.15, 10, 1)), "0.1");
  EXPECT_EQ(shown(format_general(0.35, 10, 1)), "0.3");
  EXPECT_EQ(shown(format_general(1.005, 24, 3)), "1.00");
  // 1.0000005 and 0.45 are stored a little above the tie, 1.2345665 a little
  // below.
  EXPECT_EQ(shown(format_general(1.0000005, 24, 7)), "1.000001");
  EXPECT_EQ(shown(format_general(0.45, 24, 1)), "0.5");
  EXPECT_EQ(shown(format_general(1.2345665, 24, 7)), "1.234566");
}

TEST(FormatGeneral, ExtremesAndSpecialValues) {
  EXPECT_EQ(shown(format_general(1e-300, 24, 6)), "0.100000E-299");
  EXPECT_EQ(shown(format_general(1.5e300, 24, 6)), "0.150000E+301");
  EXPECT_EQ(shown(format_general(5e-324, 24, 6)), "0.494066E-323");
  EXPECT_EQ(shown(format_general(1e-5, 24, 6)), "0.100000E-04");
  EXPECT_EQ(shown(format_general(-0.0, 24, 6)), "0.00000");
  EXPECT_EQ(format_general(1.0 / 0.0, 24, 6).size(), 24u);
  EXPECT_EQ(shown(format_general(0.0 / 0.0, 24, 6)), "NaN");
  // A float widened to double keeps its binary value: 0.1f is 0.100000001...
  EXPECT_EQ(field_text(static_cast<double>(0.1f)), "0.1");
  EXPECT_EQ(field_text(static_cast<double>(12.3f)), "12.3");
}

TEST(FormatFixed, ScaleNumbersInNineCharactersWithTwoDecimals) {
  EXPECT_EQ(format_fixed(-3.14159, 9, 2), "    -3.14");
  EXPECT_EQ(format_fixed(0.5, 9, 2), "     0.50");
  EXPECT_EQ(format_fixed(123456.789, 9, 2), "123456.79");
  EXPECT_EQ(format_fixed(1234567.0, 9, 2), "*********");
  EXPECT_EQ(format_fixed(-123456.78, 9, 2), "*********");
  EXPECT_EQ(format_fixed(999999.996, 9, 2), "*********");  // rounds to 1000000.00
  EXPECT_EQ(format_fixed(999999.995, 9, 2), "999999.99");  // stored below the tie
  EXPECT_EQ(format_fixed(1e300, 9, 2), "*********");
  EXPECT_EQ(format_fixed(0.125, 9, 2), "     0.13");
  EXPECT_EQ(format_fixed(-0.125, 9, 2), "    -0.13");
  EXPECT_EQ(format_fixed(2.675, 9, 2), "     2.67");  // stored below the tie
  EXPECT_EQ(format_fixed(-0.001, 9, 2), "     0.00");
  EXPECT_EQ(format_fixed(0, 9, 2), "     0.00");
  // Without room for the leading zero it is left out.
  EXPECT_EQ(format_fixed(-0.5, 4, 2), "-.50");
  EXPECT_EQ(format_fixed(-0.5, 3, 2), "***");
}

TEST(FormatFixed, TimeLabelWithSixDecimals) {
  EXPECT_EQ(shown(format_fixed(0.05, 24, 6)), "0.050000");
  EXPECT_EQ(shown(trim_number_text(format_fixed(0.05, 24, 6))), "0.05");
  EXPECT_EQ(shown(format_fixed(1e16, 24, 6)), "10000000000000000.000000");
  EXPECT_EQ(format_fixed(1e17, 24, 6), std::string(24, '*'));  // 25 characters
}

TEST(FormatInteger, RightJustifiedOrAsterisks) {
  EXPECT_EQ(format_integer(400, 6), "   400");
  EXPECT_EQ(format_integer(-12, 3), "-12");
  EXPECT_EQ(format_integer(-123, 3), "***");
  EXPECT_EQ(shown(trim_number_text(format_integer(400, 24))), "400");
}

TEST(TrimNumberText, DropsTrailingFractionZerosAndKeepsLength) {
  const std::string tidied = trim_number_text(format_general(10, 24, 6));
  EXPECT_EQ(tidied, "10." + std::string(21, ' '));
  EXPECT_EQ(trim_number_text("0.500000E-02"), "0.5E-02     ");
  EXPECT_EQ(trim_number_text("  400"), "400  ");
  EXPECT_EQ(trim_number_text("100"), "100");       // no point: zeros stay
  EXPECT_EQ(trim_number_text("1.0D+05"), "1.D+05 ");
  EXPECT_EQ(trim_number_text("2.50e-3"), "2.5e-3 ");
  EXPECT_EQ(trim_number_text("    "), "    ");
  EXPECT_EQ(trim_number_text(""), "");
  EXPECT_EQ(field_text(0), "0.");
  EXPECT_EQ(field_text(1.5), "1.5");
  EXPECT_EQ(field_text(123456), "123456.");
  EXPECT_EQ(field_text(0.000123), "0.123E-03");
  // The exponent part keeps at most 5 characters, the mantissa 19.
  EXPECT_EQ(shown(trim_number_text("0.1E+1234")), "0.1E+123");
  EXPECT_EQ(shown(trim_number_text("1.234567890123456780000")), "1.23456789012345678");
}

TEST(BlankHelpers, StripOnlyBlanks) {
  EXPECT_EQ(without_trailing_blanks("ab  "), "ab");
  EXPECT_EQ(without_trailing_blanks("  "), "");
  EXPECT_EQ(without_leading_blanks("  a b "), "a b ");
  EXPECT_EQ(without_leading_blanks(""), "");
}

}  // namespace
