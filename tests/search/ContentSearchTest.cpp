#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "core/CaseFold.h"
#include "core/Text.h"
#include "search/ContentSearch.h"
#include "tests/search/MemoryFileSystem.h"

namespace {

// What the content test has always done: the whole file, cut at its first zero byte, upper-cased.
bool WholeFileContains(std::string Data, const std::string& First, const std::string& Second) {
  Data.resize(std::min(Data.find('\0'), Data.size()));
  for (char& C : Data) C = (C >= 'a' && C <= 'z') ? char(C - 32) : C;
  return Data.find(First) != std::string::npos || (!Second.empty() && Data.find(Second) != std::string::npos);
}

bool Contains(std::size_t PieceSize, const std::string& Data, const std::string& First, const std::string& Second = "",
              std::size_t FirstPiece = SIZE_MAX) {
  TContentSearch Search(PieceSize, FirstPiece);
  Search.SetTexts(First, Second);
  TStringReader File(Data);
  return Search.Contains(File, Data.size());
}

}  // namespace

TEST(ContentSearchTest, AMatchAcrossPieceBoundariesIsFound) {
  // "NEEDLE" begins one to five bytes before the end of the first piece of eight.
  for (std::size_t Start = 3; Start <= 7; ++Start) {
    std::string Data(20, '.');
    Data.replace(Start, 6, "nEeDlE");
    EXPECT_TRUE(Contains(8, Data, "NEEDLE")) << Start;
  }
  EXPECT_TRUE(Contains(1, "xxneedle", "NEEDLE"));                       // across every boundary at once
  EXPECT_TRUE(Contains(4, "....\xE9t\xE9", "\xC9T\xC9", "\xE9T\xE9"));  // the second form, too
}

TEST(ContentSearchTest, TextAfterAZeroByteIsNeverSearchedAndStopsTheReading) {
  const std::string InFirst("ab\0needle", 9);
  EXPECT_FALSE(Contains(16, InFirst, "NEEDLE"));
  std::string InLater(40, '.');
  InLater[20] = '\0';
  InLater.replace(21, 6, "needle");
  TContentSearch Search(8);
  Search.SetTexts("NEEDLE", "");
  TStringReader File(InLater);
  EXPECT_FALSE(Search.Contains(File, InLater.size()));
  EXPECT_EQ(File.Position, 24u);  // the piece with the zero byte was the last one read
  InLater.replace(14, 6, "needle");
  EXPECT_TRUE(Contains(8, InLater, "NEEDLE"));  // before the zero byte, across a boundary
}

TEST(ContentSearchTest, ReadingStopsAtTheFirstMatch) {
  const std::string Data = "needle" + std::string(100000, '.');
  TContentSearch Search;
  Search.SetTexts("NEEDLE", "");
  TStringReader File(Data);
  EXPECT_TRUE(Search.Contains(File, Data.size()));
  EXPECT_EQ(File.Reads, 1);
  EXPECT_EQ(File.Position, TContentSearch::FirstPieceSize);
}

TEST(ContentSearchTest, AFileThatGrowsOrShrinksWhileReadIsSearchedAsFarAsItsSizeAtOpeningAndItsEnd) {
  TContentSearch Search(4);
  Search.SetTexts("NEEDLE", "");
  TStringReader Grown("0123456789needle", 10);  // the text came after the opening
  EXPECT_FALSE(Search.Contains(Grown, Grown.Size()));
  EXPECT_EQ(Grown.Position, 10u);
  TStringReader Shrunk("needl", 300);  // ends early: what is there is searched, nothing more waited for
  EXPECT_FALSE(Search.Contains(Shrunk, Shrunk.Size()));
  TStringReader ShrunkAfterMatch("..needle", 300, 3);  // short reads, then the early end
  EXPECT_TRUE(Search.Contains(ShrunkAfterMatch, ShrunkAfterMatch.Size()));
}

TEST(ContentSearchTest, RandomFilesAnswerAsTheWholeFileSearch) {
  std::mt19937 Random(20240612);
  // The letters and their neighbours in the code table, which must not fold.
  const char Alphabet[] = {'a', 'A', 'b', 'B', '`', '@', '{', '[', '\0', '\xE9', '\xC9', '.'};
  const std::string Texts[][2] = {{"AB", ""},
                                  {"ABA", ""},
                                  {"BAB",
                                   "\xE9"
                                   "B"},
                                  {"A", ""},
                                  {"ABBA", "AA"},
                                  {"@A`[", ""}};
  int Matches = 0;
  for (int Case = 0; Case < 4000; ++Case) {
    std::string Data(Random() % 40, '.');
    for (char& C : Data) C = Alphabet[Random() % (Case % 2 ? 12 : 8)];  // half of them without zero bytes
    const auto& Text = Texts[Random() % 6];
    const std::size_t Piece = 1 + Random() % 9;
    const bool Expected = WholeFileContains(Data, Text[0], Text[1]);
    ASSERT_EQ(Contains(Piece, Data, Text[0], Text[1], 1 + Random() % Piece), Expected) << Case;
    Matches += Expected;
  }
  EXPECT_GT(Matches, 1000);  // both answers are exercised
  EXPECT_LT(Matches, 3000);
}

namespace {

// The reference: the text as UTF-8 (UTF-16 after a byte order mark; otherwise cut at its first zero
// byte), folded whole, and the folded needle sought in it.
bool FoldedWholeFileContains(std::string Data, const std::string& Needle) {
  if (Data.size() >= 2 && (Data.compare(0, 2, "\xFF\xFE") == 0 || Data.compare(0, 2, "\xFE\xFF") == 0)) {
    const bool Big = Data[0] == '\xFE';
    std::u16string Units;
    for (std::size_t I = 2; I + 1 < Data.size(); I += 2) {
      const auto A = static_cast<unsigned char>(Data[I]), B = static_cast<unsigned char>(Data[I + 1]);
      Units += static_cast<char16_t>(Big ? (A << 8 | B) : (B << 8 | A));
    }
    Data = Utf16ToUtf8(Units);
  } else {
    Data.resize(std::min(Data.find('\0'), Data.size()));
  }
  return FoldText(Data).find(FoldText(Needle)) != std::string::npos;
}

std::string Utf16File(const std::string& Utf8, bool BigEndian, bool Mark = true) {
  std::string Data = Mark ? (BigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
  for (const char16_t Unit : Utf8ToUtf16(Utf8)) {
    const char High = static_cast<char>(Unit >> 8), Low = static_cast<char>(Unit & 0xFF);
    Data += BigEndian ? High : Low;
    Data += BigEndian ? Low : High;
  }
  return Data;
}

// Letters of several scripts in both cases, one that folds to a longer form, ASCII and stray bytes.
const char* const Pieces[] = {"a",
                              "A",
                              "s",
                              "\xC3\xBC",
                              "\xC3\x9C",
                              "\xCF\x89",
                              "\xCE\xA9",
                              "\xC9\x90",
                              "\xE2\xB1\xAF",
                              "\xF0\x90\x90\x80",
                              "\xF0\x90\x90\xA8",
                              "\xC3\x9F",
                              "\xC5\xBF",
                              " ",
                              "\xE9",
                              "\xC3"};

}  // namespace

TEST(ContentSearchTest, LettersBeyondAToZAreFoundInAnyCase) {
  EXPECT_TRUE(Contains(64,
                       "Wir sind \xC3\x9C"
                       "BER alles",
                       "\xC3\xBC"
                       "ber"));                               // ÜBER by über
  EXPECT_TRUE(Contains(64, "\xCE\xA9MEGA", "\xCF\x89mega"));  // ΩMEGA by ωmega
  EXPECT_TRUE(Contains(64,
                       "GR\xC3\x9C\xC3\x9F"
                       "E",
                       "gr\xC3\xBC\xC3\x9F"
                       "e"));  // GRÜßE by grüße
  EXPECT_FALSE(Contains(64, "GR\xC3\x9CSSE",
                        "gr\xC3\xBC\xC3\x9F"
                        "e"));                                      // ß is not SS
  EXPECT_FALSE(Contains(64, "caf\xC9", "caf\xC3\xA9"));             // a Latin-1 byte is no letter of UTF-8 text...
  EXPECT_TRUE(Contains(64, "CAF\xE9", "caf\xC3\xA9", "caf\xE9"));   // ...the ANSI form folds A to Z
  EXPECT_FALSE(Contains(64, "caf\xC9", "caf\xC3\xA9", "caf\xE9"));  // and A to Z only
}

TEST(ContentSearchTest, RandomUtf8FilesAnswerAsTheFoldedWholeFile) {
  std::mt19937 Random(31);
  int Matches = 0;
  for (int Case = 0; Case < 4000; ++Case) {
    std::string Data, Needle;
    for (int I = static_cast<int>(Random() % 24); I > 0; --I) Data += Pieces[Random() % 16];
    for (int I = 1 + static_cast<int>(Random() % 3); I > 0; --I) Needle += Pieces[Random() % 14];
    const std::size_t Piece = 4 + Random() % 9;
    const bool Expected = FoldedWholeFileContains(Data, Needle);
    ASSERT_EQ(Contains(Piece, Data, Needle, "", 1 + Random() % Piece), Expected) << Case << " " << Needle;
    Matches += Expected;
  }
  EXPECT_GT(Matches, 200);
}

TEST(ContentSearchTest, Utf16FilesWithAByteOrderMarkAreSearchedWhole) {
  const std::string Text =
      "Report\r\nQuarterly \xC3\x9C"
      "BERSICHT " +
      std::string(300, '.') + " end";
  for (const bool Big : {false, true}) {
    EXPECT_TRUE(Contains(64, Utf16File(Text, Big), "quarterly")) << Big;
    EXPECT_TRUE(Contains(64, Utf16File(Text, Big),
                         "\xC3\xBC"
                         "bersicht"))
        << Big;
    EXPECT_TRUE(Contains(64, Utf16File(Text, Big), " END")) << Big;  // past every zero byte
    EXPECT_FALSE(Contains(64, Utf16File(Text, Big), "quarterlyx")) << Big;
  }
  EXPECT_FALSE(Contains(64, Utf16File(Text, false, false), "quarterly"));  // no mark: cut at the first zero
  // An odd length: the last byte is no character; a file cut inside a pair ends in a replacement.
  EXPECT_TRUE(Contains(64, Utf16File("abc", false) + "x", "abc"));
  EXPECT_TRUE(Contains(4, Utf16File("ab \xF0\x90\x90\x80", false).substr(0, 10), "AB "));
  EXPECT_FALSE(Contains(4, Utf16File("ab \xF0\x90\x90\x80", false).substr(0, 10), "\xF0\x90\x90\xA8"));
}

TEST(ContentSearchTest, RandomUtf16FilesAnswerAsTheFoldedWholeFile) {
  std::mt19937 Random(16);
  int Matches = 0;
  for (int Case = 0; Case < 4000; ++Case) {
    std::string Text, Needle;
    for (int I = static_cast<int>(Random() % 24); I > 0; --I) Text += Pieces[Random() % 14];
    for (int I = 1 + static_cast<int>(Random() % 3); I > 0; --I) Needle += Pieces[Random() % 14];
    std::string Data = Utf16File(Text, Case % 2 == 1);
    if (Case % 5 == 0) Data.resize(Data.size() - Random() % std::min<std::size_t>(Data.size() - 1, 3));
    const std::size_t Piece = 2 + Random() % 9;  // pieces of odd sizes cut units and pairs
    const bool Expected = FoldedWholeFileContains(Data, Needle);
    ASSERT_EQ(Contains(Piece, Data, Needle, "", 2 + Random() % Piece), Expected) << Case << " " << Needle;
    Matches += Expected;
  }
  EXPECT_GT(Matches, 200);
}
