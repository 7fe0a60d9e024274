#include <gtest/gtest.h>

#include "core/FormatSettings.h"
#include "search/SFCList.h"

namespace {
std::vector<std::string> InOrder(const TSFCList& List, bool Unique = false) {
  std::vector<std::string> Texts;
  for (std::uint32_t Index : List.Order(Unique)) Texts.emplace_back(List.Text(Index));
  return Texts;
}
}  // namespace

TEST(SFCListTest, StorageOrderUntilSortedThenCollationOrder) {
  TSFCList List;
  for (const char* Text : {"c:\\b", "c:\\C", "c:\\a"}) EXPECT_TRUE(List.Add(Text));
  EXPECT_EQ(InOrder(List), (std::vector<std::string>{"c:\\b", "c:\\C", "c:\\a"}));
  List.SetSorted(true);
  EXPECT_EQ(InOrder(List), (std::vector<std::string>{"c:\\a", "c:\\b", "c:\\C"}));
  EXPECT_TRUE(List.Add("c:\\B2"));
  EXPECT_EQ(InOrder(List), (std::vector<std::string>{"c:\\a", "c:\\b", "c:\\B2", "c:\\C"}));
  // Storage keeps the order of addition: nothing moves when a text arrives.
  EXPECT_EQ(List.Text(3), "c:\\B2");
}

TEST(SFCListTest, LookupIgnoresCaseOfEveryLetter) {
  TSFCList List;
  EXPECT_EQ(List.IndexOf("x"), -1);
  EXPECT_TRUE(List.Add("C:\\Data\\Report.TXT"));
  EXPECT_FALSE(List.Add("c:\\data\\report.txt"));
  EXPECT_EQ(List.Count(), 1u);
  EXPECT_EQ(List.IndexOf("C:\\DATA\\REPORT.txt"), 0);
  EXPECT_EQ(List.IndexOf("C:\\Data\\Report.TX"), -1);
  EXPECT_TRUE(List.Add("caf\xC3\xA9"));
  EXPECT_FALSE(List.Add("caf\xC3\x89"));  // É is é
  EXPECT_EQ(List.IndexOf("CAF\xC3\x89"), 1);
  EXPECT_EQ(List.Text(1), "caf\xC3\xA9");
  EXPECT_TRUE(List.Add("\xC4\xB1"));  // ı is no i, as on Windows
  EXPECT_EQ(List.IndexOf("I"), -1);
  EXPECT_TRUE(List.Add(""));
  EXPECT_EQ(List.IndexOf(""), 3);
}

TEST(SFCListTest, ManyPathsStayUniqueFindableAndCompact) {
  TSFCList List;
  const int Count = 200000;
  auto PathOf = [](int I) {
    return "C:\\Users\\someone\\Documents\\Folder" + std::to_string(I % 997) + "\\File " + std::to_string(I) + ".txt";
  };
  for (int I = 0; I < Count; ++I) ASSERT_TRUE(List.Add(PathOf(I)));
  for (int I = 0; I < Count; I += 7) ASSERT_FALSE(List.Add(PathOf(I)));
  ASSERT_EQ(List.Count(), static_cast<std::size_t>(Count));
  for (int I = 0; I < Count; I += 13) {
    std::string Upper = PathOf(I);
    for (char& C : Upper) C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    ASSERT_EQ(List.IndexOf(Upper), I);
  }
  std::size_t TextBytes = 0;
  for (int I = 0; I < Count; ++I) TextBytes += PathOf(I).size();
  // Text plus a few words per path: no per-text allocation, no copies.
  EXPECT_LT(List.MemoryBytes(), TextBytes + static_cast<std::size_t>(Count) * 40);
  List.SetSorted(true);
  const auto Sorted = InOrder(List);
  for (std::size_t I = 1; I < Sorted.size(); ++I) ASSERT_LT(CompareTextCollated(Sorted[I - 1], Sorted[I]), 0);
}

TEST(SFCListTest, LongTextsAndSubsetOrder) {
  TSFCList List;
  const std::string Long(3 << 20, 'q');  // longer than one text block
  EXPECT_TRUE(List.Add("zeta"));
  EXPECT_TRUE(List.Add(Long));
  EXPECT_TRUE(List.Add("alpha"));
  EXPECT_EQ(List.Text(1), Long);
  EXPECT_EQ(List.IndexOf(Long), 1);
  List.SetSorted(true);
  std::vector<std::uint32_t> Subset{2, 0};
  List.SortIndexes(Subset);
  EXPECT_EQ(Subset, (std::vector<std::uint32_t>{2, 0}));
  Subset = {0, 2};
  List.SetSorted(false);
  List.SortIndexes(Subset);
  EXPECT_EQ(Subset, (std::vector<std::uint32_t>{0, 2}));
  List.Clear();
  EXPECT_EQ(List.Count(), 0u);
  EXPECT_EQ(List.IndexOf("zeta"), -1);
  EXPECT_TRUE(List.Add("zeta"));
}

TEST(SFCListTest, ANewSpellingTakesThePlaceOfTheOldAndEveryOtherTextStaysFindable) {
  TSFCList List;
  // A small table, so that probe runs are long and the slots emptied are in the middle of them.
  const int Count = 700;
  for (int I = 0; I < Count; ++I) List.Add("R\\\xC3\x89T\xC3\x89\\" + std::to_string(I));
  for (int I = 0; I < Count; I += 3) List.Replace(I, "r\\\xC3\xA9t\xC3\xA9\\" + std::to_string(I));
  List.Replace(1, "R\\\xC3\x89T\xC3\x89\\2");  // that spelling is held already, at index 2
  for (int I = 0; I < Count; ++I) {
    const std::string Old = "R\\\xC3\x89T\xC3\x89\\" + std::to_string(I);
    const std::string New = "r\\\xC3\xA9t\xC3\xA9\\" + std::to_string(I);
    // Both spellings name one text: the one given last, or the first where none was given.
    ASSERT_EQ(List.IndexOf(New), I == 1 ? -1 : I) << I;
    ASSERT_EQ(List.IndexOf(Old), I == 1 ? -1 : I) << I;
    ASSERT_EQ(List.Text(I), I == 1 ? "" : I % 3 == 0 ? New : Old) << I;
  }
  EXPECT_EQ(List.Text(1), "");
  EXPECT_EQ(List.Order().size(), static_cast<std::size_t>(Count - 1));
}
