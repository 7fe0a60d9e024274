#include <gtest/gtest.h>

#include "core/Exceptions.h"
#include "core/FormatSettings.h"

namespace {
TFormatSettings German() {
  TFormatSettings S;
  S.DecimalSeparator = ",", S.ThousandSeparator = ".", S.DateSeparator = ".";
  S.ShortDateFormat = "dd.MM.yyyy", S.ShortTimeFormat = "HH:mm", S.LongTimeFormat = "HH:mm:ss";
  return S;
}
TFormatSettings Iso() {
  TFormatSettings S;
  S.DateSeparator = "-", S.ShortDateFormat = "yyyy-MM-dd", S.LongTimeFormat = "HH:mm:ss";
  return S;
}
}  // namespace

TEST(FormatSettingsTest, UnitedStatesPictures) {
  const TFormatSettings Us = UnitedStatesFormatSettings();
  const TDateTime Value = EncodeDateTime(2026, 12, 17, 16, 39, 7, 0);
  EXPECT_EQ(
      FormatDateTimePicture(Us.ShortDateFormat, Value, Us) + " " + FormatDateTimePicture(Us.ShortTimeFormat, Value, Us),
      "12/17/2026 4:39 PM");
  EXPECT_EQ(FormatDateTimePicture("h:mm:ss tt", EncodeTime(0, 5, 9, 0), Us), "12:05:09 AM");
  EXPECT_EQ(FormatDateTimePicture("dddd, MMMM d, yyyy", Value, Us), "Thursday, December 17, 2026");
  EXPECT_EQ(FormatDateTimePicture("ddd MMM yy 'at' H'h'", Value, Us), "Thu Dec 26 at 16h");
}

TEST(FormatSettingsTest, DateTimeToStrLeavesOutMidnight) {
  const TFormatSettings Us = UnitedStatesFormatSettings();
  EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 1, 5), Us), "1/5/2026");
  EXPECT_EQ(DateTimeToStr(EncodeDateTime(2026, 1, 5, 9, 3, 0, 0), Us), "1/5/2026 9:03:00 AM");
  EXPECT_EQ(DateTimeToStr(EncodeDateTime(2026, 1, 5, 9, 3, 0, 0), German()), "05.01.2026 09:03:00");
}

TEST(FormatSettingsTest, TextToDateTimeFollowsTheShortDateOrder) {
  const TDateTime Today = EncodeDate(2026, 12, 7);
  TDateTime V = 0;
  ASSERT_TRUE(TryStrToDateTime("12/17/2026 4:39 PM", V, UnitedStatesFormatSettings(), Today));
  EXPECT_DOUBLE_EQ(V, EncodeDateTime(2026, 12, 17, 16, 39, 0, 0));
  ASSERT_TRUE(TryStrToDateTime("17.12.2026 16:39:07", V, German(), Today));
  EXPECT_DOUBLE_EQ(V, EncodeDateTime(2026, 12, 17, 16, 39, 7, 0));
  ASSERT_TRUE(TryStrToDateTime("2026-12-17", V, Iso(), Today));
  EXPECT_DOUBLE_EQ(V, EncodeDate(2026, 12, 17));
  ASSERT_TRUE(TryStrToDateTime("3/4", V, UnitedStatesFormatSettings(), Today));
  EXPECT_DOUBLE_EQ(V, EncodeDate(2026, 3, 4));
  ASSERT_TRUE(TryStrToDateTime("1/2/30", V, UnitedStatesFormatSettings(), Today));
  EXPECT_DOUBLE_EQ(V, EncodeDate(2030, 1, 2));
  ASSERT_TRUE(TryStrToDateTime("1/2/80", V, UnitedStatesFormatSettings(), Today));
  EXPECT_DOUBLE_EQ(V, EncodeDate(1980, 1, 2));
  ASSERT_TRUE(TryStrToDateTime("16:39", V, UnitedStatesFormatSettings(), Today));
  EXPECT_DOUBLE_EQ(V, EncodeTime(16, 39, 0, 0));
}

TEST(FormatSettingsTest, MalformedDatesAreRejected) {
  const TDateTime Today = EncodeDate(2026, 12, 7);
  TDateTime V = 0;
  for (const char* Text : {"", "abc", "2/30/2026", "12/17/2026 25:00", "12/17/2026 4:39 XM", "13/1/2026", "1/2/3/4"})
    EXPECT_FALSE(TryStrToDateTime(Text, V, UnitedStatesFormatSettings(), Today)) << Text;
  EXPECT_THROW(StrToDateTime("abc", UnitedStatesFormatSettings()), EConvertError);
  try {
    StrToDateTime("abc", UnitedStatesFormatSettings());
  } catch (const EConvertError& E) {
    EXPECT_STREQ(E.what(), "'abc' is not a valid date and time");
  }
}

TEST(FormatSettingsTest, SettingsCanBeReplacedForTests) {
  const TFormatSettings Saved = FormatSettings();
  SetFormatSettings(German());
  EXPECT_EQ(FormatSettings().DecimalSeparator, ",");
  EXPECT_EQ(DateToStr(EncodeDate(2026, 1, 5)), "05.01.2026");
  SetFormatSettings(Saved);
}

TEST(FormatSettingsTest, CollationIgnoresCaseAndKeysFollowIt) {
  EXPECT_EQ(CompareTextCollated("Report", "rEPORT"), 0);
  EXPECT_LT(CompareTextCollated("alpha", "Beta"), 0);
  EXPECT_GT(CompareTextCollated("beta", "ALPHA"), 0);
  EXPECT_LT(CompareTextCollated("abc", "abcd"), 0);
  const char* Words[] = {"a", "B", "c", "ab", "AB", "b\\x", "b\\X", "b.x", "Zeta"};
  for (const char* A : Words)
    for (const char* B : Words) {
      const int Order = CompareTextCollated(A, B);
      const std::string KA = CollationKey(A), KB = CollationKey(B);
      const int KeyOrder = KA < KB ? -1 : (KA == KB ? 0 : 1);
      EXPECT_EQ(Order < 0 ? -1 : (Order > 0 ? 1 : 0), KeyOrder) << A << " vs " << B;
    }
}
