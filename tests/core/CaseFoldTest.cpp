#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/CaseFold.h"

namespace {

// Random texts of letters of many scripts, with ASCII and a few bytes that are no UTF-8.
std::string RandomText(std::mt19937& Random) {
  static const std::vector<std::pair<char32_t, char32_t>> Ranges = {
      {0x41, 0x7A},     {0xC0, 0x24F},      {0x250, 0x2AF},     {0x370, 0x3FF},   {0x400, 0x52F},
      {0x531, 0x586},   {0x10A0, 0x10FF},   {0x13A0, 0x13FD},   {0x1C80, 0x1CBF}, {0x1E00, 0x1FFF},
      {0x2126, 0x2184}, {0x24B6, 0x24E9},   {0x2C00, 0x2CFF},   {0xA640, 0xA7FF}, {0xAB70, 0xABBF},
      {0xFF21, 0xFF5A}, {0x10400, 0x1044F}, {0x1E900, 0x1E943}, {0x20, 0x40},
  };
  std::string Text;
  const int Length = static_cast<int>(Random() % 12);
  for (int I = 0; I < Length; ++I) {
    if (Random() % 16 == 0) {
      Text += static_cast<char>(0x80 + Random() % 0x80);  // a stray byte
      continue;
    }
    const auto& Range = Ranges[Random() % Ranges.size()];
    AppendCharacter(Range.first + Random() % (Range.second - Range.first + 1), Text);
  }
  return Text;
}

}  // namespace

TEST(CaseFoldTest, LettersOfEveryScriptFoldWithTheirCapitals) {
  EXPECT_EQ(FoldText("R\xC3\x89SUM\xC3\x89-Notes.TXT"), "r\xC3\xA9sum\xC3\xA9-notes.txt");  // RÉSUMÉ
  EXPECT_EQ(FoldText("\xCE\xA9mega"), "\xCF\x89mega");                                      // Ωmega
  EXPECT_EQ(FoldText("F\xC5\x90"), "f\xC5\x91");                                            // FŐ
  EXPECT_EQ(FoldText("\xD0\x9C\xD0\x98\xD0\xA0"), "\xD0\xBC\xD0\xB8\xD1\x80");              // МИР
  EXPECT_EQ(FoldText("\xF0\x90\x90\x80"), "\xF0\x90\x90\xA8");                              // Deseret
  EXPECT_EQ(FoldText("\xE1\x8E\xA0"), "\xEA\xAD\xB0");  // Cherokee folds to its lower case too
  // Pairs whose members differ in length: Ɐ (three bytes) and ɐ (two).
  EXPECT_EQ(FoldText("x\xE2\xB1\xAFy"), "x\xC9\x90y");
}

TEST(CaseFoldTest, LettersWhoseCapitalBelongsToAnotherStayApart) {
  // ı, ſ, µ, ς, ß, the Kelvin sign and İ: Windows' upper-casing joins none of them to another letter.
  for (const char* Text : {"\xC4\xB1", "\xC5\xBF", "\xC2\xB5", "\xCF\x82", "\xC3\x9F", "\xE2\x84\xAA", "\xC4\xB0"})
    EXPECT_EQ(FoldText(Text), Text);
  EXPECT_FALSE(SameFoldedText("\xC4\xB1", "i"));
  EXPECT_FALSE(
      SameFoldedText("stra\xC3\x9F"
                     "e",
                     "STRASSE"));
}

TEST(CaseFoldTest, BytesThatAreNoUtf8PassUnchangedAndAToZStillFolds) {
  const std::string Latin1 = "CAF\xC9 \xC3 Z\xED\xA0\x80";  // Latin-1 É, a cut sequence, a surrogate
  EXPECT_EQ(FoldText(Latin1), "caf\xC9 \xC3 z\xED\xA0\x80");
  EXPECT_FALSE(SameFoldedText("caf\xC9", "caf\xC3\xA9"));  // a stray byte is no letter
}

TEST(CaseFoldTest, ComparisonsAgreeWithTheFoldedTexts) {
  std::mt19937 Random(31);
  for (int I = 0; I < 20000; ++I) {
    std::string A = RandomText(Random);
    // Often B is A in other cases, cut short or grown, so that equal and nearly equal texts are met.
    std::string B = Random() % 2 ? RandomText(Random) : A;
    if (B == A && !A.empty()) {
      std::string Swapped;
      for (std::size_t P = 0, Length; P < A.size(); P += Length) {
        const char32_t Code = DecodeCharacter(A, P, Length);
        AppendCharacter(Random() % 2 ? CasePartner(Code) : Code, Swapped);
      }
      B = Swapped.substr(0, Swapped.size() - Random() % 2);
    }
    const std::string FoldA = FoldText(A), FoldB = FoldText(B);
    ASSERT_EQ(FoldText(FoldA), FoldA) << A;
    ASSERT_EQ(SameFoldedText(A, B), FoldA == FoldB) << A << " / " << B;
    const int Order = CompareFoldedText(A, B);
    ASSERT_EQ(Order == 0, FoldA == FoldB) << A << " / " << B;
    ASSERT_EQ(Order, -CompareFoldedText(B, A));
  }
}
