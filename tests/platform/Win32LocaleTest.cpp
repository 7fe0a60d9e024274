#include <windows.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/FormatSettings.h"
#include "core/Text.h"
#include "platform/Platform.h"

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

namespace {

std::wstring WideOf(const std::string& Ascii) { return std::wstring(Ascii.begin(), Ascii.end()); }

std::string SystemKeyOf(const std::string& Ascii) {
  const std::wstring Wide = WideOf(Ascii);
  const DWORD Flags = LCMAP_SORTKEY | LINGUISTIC_IGNORECASE;
  const int Size = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, Flags, Wide.data(), static_cast<int>(Wide.size()), nullptr,
                                 0, nullptr, nullptr, 0);
  std::string Key(static_cast<std::size_t>(Size), '\0');
  LCMapStringEx(LOCALE_NAME_USER_DEFAULT, Flags, Wide.data(), static_cast<int>(Wide.size()),
                reinterpret_cast<LPWSTR>(Key.data()), Size, nullptr, nullptr, 0);
  while (!Key.empty() && Key.back() == '\0') Key.pop_back();
  return Key;
}

int Sign(int Value) { return Value < 0 ? -1 : Value > 0 ? 1 : 0; }

}  // namespace

// Keys of plain ASCII text are made from a table of weights: they must be the system's own, byte for
// byte, and comparisons must agree with the system's, for paths with every printable character.
TEST(Win32LocaleTest, AsciiKeysAndComparisonsAreTheSystems) {
  std::mt19937 Random(18);
  const std::string Common = "aZ09 ._\\-'~!#$%&()+,;=@[]^`{}";
  std::vector<std::string> Texts = {"", "a", "A", "a-b", "ab", "Report_000123.txt", "C:\\Data\\x.txt", "co-op"};
  for (int I = 0; I < 400; ++I) {
    std::string Text;
    const int Length = static_cast<int>(Random() % 12);
    for (int J = 0; J < Length; ++J)
      Text += Random() % 2 ? Common[Random() % Common.size()] : static_cast<char>(0x20 + Random() % 0x5F);
    Texts.push_back(Text);
  }
  for (std::size_t I = 0; I < Texts.size(); ++I) {
    ASSERT_EQ(CollationKey(Texts[I]), SystemKeyOf(Texts[I])) << Texts[I];
    const std::string& Other = Texts[(I * 7 + 3) % Texts.size()];
    const std::wstring A = WideOf(Texts[I]), B = WideOf(Other);
    const int System =
        CompareStringEx(LOCALE_NAME_USER_DEFAULT, LINGUISTIC_IGNORECASE, A.data(), static_cast<int>(A.size()), B.data(),
                        static_cast<int>(B.size()), nullptr, nullptr, 0) -
        CSTR_EQUAL;
    EXPECT_EQ(Sign(CompareTextCollated(Texts[I], Other)), Sign(System)) << Texts[I] << " vs " << Other;
  }
}
