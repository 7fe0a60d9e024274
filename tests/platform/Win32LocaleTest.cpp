#include <gtest/gtest.h>

#include "core/FormatSettings.h"
#include "core/Text.h"

TEST(Win32LocaleTest, UserLocaleGivesCompleteSettings) {
  const TFormatSettings S = ReadPlatformFormatSettings();
  EXPECT_FALSE(S.DecimalSeparator.empty());
  EXPECT_FALSE(S.ShortDateFormat.empty());
  EXPECT_FALSE(S.ShortTimeFormat.empty());
  EXPECT_FALSE(S.LongTimeFormat.empty());
  EXPECT_FALSE(S.DateSeparator.empty());
}

TEST(Win32LocaleTest, LinguisticCollationFoldsMoreThanAToZ) {
  EXPECT_EQ(CompareTextCollated("\xC3\xA4rger", "\xC3\x84RGER"), 0);  // ärger / ÄRGER
  EXPECT_EQ(CompareTextCollated("\xD0\xB6", "\xD0\x96"), 0);          // ж / Ж
  EXPECT_LT(CompareTextCollated("apple", "Banana"), 0);
  EXPECT_EQ(CollationKey("\xC3\xA4rger"), CollationKey("\xC3\x84RGER"));
  EXPECT_LT(CollationKey("apple"), CollationKey("Banana"));
}
