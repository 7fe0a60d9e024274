#include <gtest/gtest.h>

#include "core/Text.h"

TEST(TextTest, CaseFoldingTouchesOnlyAToZ) {
  EXPECT_EQ(AsciiUpperCase("abc xyz 09 [`{ \xC3\xA4"), "ABC XYZ 09 [`{ \xC3\xA4");
  EXPECT_EQ(AsciiLowerCase("ABC@Z[ \xC3\x84"), "abc@z[ \xC3\x84");
  EXPECT_TRUE(AsciiSameText("Report.TXT", "report.txt"));
  EXPECT_FALSE(AsciiSameText("\xC3\xA4", "\xC3\x84"));
}

TEST(TextTest, Utf8AndUtf16RoundTripIncludingSurrogatePairs) {
  const std::string Text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";  // a é € 😀 z
  const std::u16string Wide = Utf8ToUtf16(Text);
  EXPECT_EQ(Wide, (std::u16string{u'a', 0xE9, 0x20AC, 0xD83D, 0xDE00, u'z'}));
  EXPECT_EQ(Utf16ToUtf8(Wide), Text);
}

TEST(TextTest, MalformedInputBecomesReplacementCharacters) {
  EXPECT_FALSE(IsValidUtf8("\xE9t\xE9"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong "/"
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // encoded surrogate
  EXPECT_FALSE(IsValidUtf8("\xE2\x82"));      // truncated
  EXPECT_TRUE(IsValidUtf8("plain ascii"));
  EXPECT_EQ(Utf8ToUtf16("a\xFF"
                        "b"),
            (std::u16string{u'a', 0xFFFD, u'b'}));
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, u'x'}), "\xEF\xBF\xBDx");
}

TEST(TextTest, AnsiCodePageRoundTripAndLoss) {
  // Both the Windows-1252 table and code page 1252 under the test locale give these.
  EXPECT_EQ(AnsiToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
  bool Lossless = false;
  EXPECT_EQ(Utf8ToAnsi("caf\xC3\xA9", &Lossless), "caf\xE9");
  EXPECT_TRUE(Lossless);
  Utf8ToAnsi("\xE6\x97\xA5", &Lossless);  // a CJK character has no place in 1252
  EXPECT_FALSE(Lossless);
}

TEST(TextTest, LegacyTextFallsBackToAnsiOnlyWhenNotUtf8) {
  EXPECT_EQ(DecodeLegacyText("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(DecodeLegacyText("caf\xE9"), "caf\xC3\xA9");
}

TEST(TextTest, GroupDigitsByThousands) {
  EXPECT_EQ(GroupDigits(0, ","), "0");
  EXPECT_EQ(GroupDigits(999, ","), "999");
  EXPECT_EQ(GroupDigits(1000, ","), "1,000");
  EXPECT_EQ(GroupDigits(1234567, "."), "1.234.567");
  EXPECT_EQ(GroupDigits(18446744073709551615ull, ","), "18,446,744,073,709,551,615");
}
