// The case fold against the system's own upper-casing, the one its file systems compare names by:
// two texts fold alike exactly when the system upper-cases them alike.
#include <windows.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/CaseFold.h"
#include "platform/win32/WideText.h"

namespace {

std::wstring SystemUpper(const std::wstring& Text) {
  std::wstring Upper(Text.size(), L'\0');
  const int Length = static_cast<int>(Text.size());
  if (Length == 0) return Upper;
  const int Made = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, Text.data(), Length, Upper.data(), Length,
                                 nullptr, nullptr, 0);
  EXPECT_EQ(Made, Length);
  return Upper;
}

std::wstring CharUpper(std::wstring Text) {
  if (!Text.empty()) CharUpperBuffW(Text.data(), static_cast<DWORD>(Text.size()));
  return Text;
}

std::wstring WideOf(char32_t Code) {
  std::string Utf8;
  AppendCharacter(Code, Utf8);
  return Widen(Utf8);
}

// Folding and the system's upper-casing join the same texts when each keeps what the other joined:
// the fold of a text is the fold of its upper case, and the upper case of its fold is its upper case.
void ExpectSameClasses(const std::string& Text) {
  const std::wstring Wide = Widen(Text);
  const std::wstring Upper = SystemUpper(Wide);
  EXPECT_EQ(FoldText(Text), FoldText(Narrow(Upper))) << Text;
  EXPECT_EQ(SystemUpper(Widen(FoldText(Text))), Upper) << Text;
}

}  // namespace

TEST(Win32CaseFoldTest, EveryCharacterFoldsAsTheSystemUpperCasesIt) {
  int Compared = 0;
  for (char32_t Code = 1; Code < 0x110000; ++Code) {
    if (Code >= 0xD800 && Code <= 0xDFFF) continue;
    const std::wstring Wide = WideOf(Code);
    const std::wstring Upper = SystemUpper(Wide);
    // Checked one by one, for a message that names the character.
    ASSERT_EQ(FoldText(Narrow(Upper)), FoldText(Narrow(Wide))) << std::hex << unsigned(Code);
    ASSERT_EQ(SystemUpper(WideOf(FoldCase(Code))), Upper) << std::hex << unsigned(Code);
    ++Compared;
  }
  EXPECT_GT(Compared, 1000000);
}

TEST(Win32CaseFoldTest, RandomTextsOfManyScriptsFoldAsTheSystemUpperCasesThem) {
  static const std::vector<std::pair<char32_t, char32_t>> Scripts = {
      {0x20, 0x7E},       {0xA0, 0x24F},      {0x250, 0x2AF},     {0x370, 0x3FF},     {0x400, 0x52F},
      {0x531, 0x587},     {0x10A0, 0x10FF},   {0x13A0, 0x13FD},   {0x1C80, 0x1CBF},   {0x1E00, 0x1FFF},
      {0x2100, 0x218F},   {0x24B6, 0x24E9},   {0x2C00, 0x2D2F},   {0xA640, 0xA7FF},   {0xAB70, 0xABBF},
      {0xFF01, 0xFF5E},   {0x10400, 0x104FF}, {0x10C80, 0x10CFF}, {0x118A0, 0x118FF}, {0x16E40, 0x16E7F},
      {0x1E900, 0x1E95F}, {0x4E00, 0x4E40},   {0x600, 0x6FF},     {0x900, 0x97F},
  };
  std::mt19937 Random(31);
  for (int I = 0; I < 20000; ++I) {
    std::string Text;
    const int Length = 1 + static_cast<int>(Random() % 16);
    for (int K = 0; K < Length; ++K) {
      const auto& Range = Scripts[Random() % Scripts.size()];
      AppendCharacter(Range.first + Random() % (Range.second - Range.first + 1), Text);
    }
    ExpectSameClasses(Text);
    // CharUpperBuffW, the older call, upper-cases the same way.
    ASSERT_EQ(CharUpper(Widen(Text)), SystemUpper(Widen(Text))) << Text;
    if (HasFailure()) break;
  }
}
