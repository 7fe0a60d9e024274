#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

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
