#include <gtest/gtest.h>

#include "core/NumberFormat.h"
#include "tests/support/TestLocales.h"

namespace {
const char* const SizeMask = "###,###,##0k ";
std::string Us(const char* Mask, double Value) { return FormatFloat(Mask, Value, UnitedStatesFormatSettings()); }
}  // namespace

TEST(NumberFormatTest, SizeMaskWorkedExamples) {
  EXPECT_EQ(Us(SizeMask, 0), "0k ");
  EXPECT_EQ(Us(SizeMask, 0.4), "0k ");
  EXPECT_EQ(Us(SizeMask, 0.5), "1k ");
  EXPECT_EQ(Us(SizeMask, 12), "12k ");
  EXPECT_EQ(Us(SizeMask, 999.5), "1,000k ");
  EXPECT_EQ(Us(SizeMask, 1234.5), "1,235k ");
  EXPECT_EQ(Us(SizeMask, 1234567), "1,234,567k ");
  EXPECT_EQ(Us(SizeMask, 1234567890), "1,234,567,890k ");
  EXPECT_EQ(Us(SizeMask, -1234), "-1,234k ");
}

TEST(NumberFormatTest, HalvesRoundAwayFromZero) {
  EXPECT_EQ(Us(SizeMask, 2.5), "3k ");
  EXPECT_EQ(Us(SizeMask, -2.5), "-3k ");
  EXPECT_EQ(Us("0", 0.5), "1");
  EXPECT_EQ(Us("0.0", 0.25), "0.3");
}

TEST(NumberFormatTest, MoreDigitsThanPlaceholdersKeepsEveryDigitAndGroup) {
  EXPECT_EQ(Us(SizeMask, 123456789012.0), "123,456,789,012k ");
  EXPECT_EQ(Us("#,#0", 1234567), "1,234,567");
  EXPECT_EQ(Us("00", 12345), "12345");
}

TEST(NumberFormatTest, CommaDecimalLocale) {
  const TFormatSettings German = GermanSettings();
  EXPECT_EQ(FormatFloat(SizeMask, 1234.5, German), "1.235k ");
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, German), "1.234,50");
}

TEST(NumberFormatTest, FractionPlaceholders) {
  EXPECT_EQ(Us("0.00", 1.5), "1.50");
  EXPECT_EQ(Us("#.##", 1.5), "1.5");
  EXPECT_EQ(Us("#.##", 0), "");
  EXPECT_EQ(Us("0.#", 2), "2");
  EXPECT_EQ(Us("000", 7), "007");
  EXPECT_EQ(Us("#.##", 0.004), "");
}

TEST(NumberFormatTest, RoundsAtEighteenDigitsFirst) {
  // 0.285 is stored as 0.28499999999999998...; at 18 digits that is still below the half.
  EXPECT_EQ(Us("0.00", 0.285), "0.28");
  // 1.005 is 1.00499999999999989...: the 18-digit value decides, not a second look.
  EXPECT_EQ(Us("0.00", 1.005), "1.00");
}

TEST(NumberFormatTest, SectionsPickByValue) {
  EXPECT_EQ(Us("0;(0);zero", 5), "5");
  EXPECT_EQ(Us("0;(0);zero", -5), "(5)");
  EXPECT_EQ(Us("0;(0);zero", 0), "zero");
  EXPECT_EQ(Us("0;;", -5), "-5");       // empty negative section: the first one with a minus
  EXPECT_EQ(Us("0\";\"0", 12), "1;2");  // a quoted ";" does not split
}

TEST(NumberFormatTest, EmptyMaskIsTheGeneralForm) {
  EXPECT_EQ(Us("", 1234.5), "1234.5");
  EXPECT_EQ(Us("", 0.1), "0.1");
  EXPECT_EQ(Us("", 42), "42");
  EXPECT_EQ(Us("", 1e15), "1E15");
  EXPECT_EQ(Us("", 1.5e-6), "1.5E-6");
  EXPECT_EQ(Us(";0", 3), "3");  // empty first section
  EXPECT_EQ(FormatFloat("", 1234.5, GermanSettings()), "1234,5");
}

TEST(NumberFormatTest, QuotesAndLiterals) {
  EXPECT_EQ(Us("'#'0' items'", 3), "#3 items");
  EXPECT_EQ(Us("$#,##0", 1234), "$1,234");
  EXPECT_EQ(Us("abc", 5), "abc");
}

TEST(NumberFormatTest, Exponents) {
  EXPECT_EQ(Us("0.00E+00", 12345), "1.23E+04");
  EXPECT_EQ(Us("0.00E-00", 12345), "1.23E04");
  EXPECT_EQ(Us("0.0E+0", 0.00015), "1.5E-4");
  EXPECT_EQ(Us("0.0E+0", 9.99), "1.0E+1");
}

TEST(NumberFormatTest, NegativeThatRoundsToZeroHasNoSign) { EXPECT_EQ(Us(SizeMask, -0.4), "0k "); }
