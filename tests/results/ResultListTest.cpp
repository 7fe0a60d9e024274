#include <gtest/gtest.h>

#include "core/Text.h"
#include "results/ResultList.h"

namespace {
TFileEntry Entry(const std::string& Name, std::uint64_t Size = 0, bool IsFolder = false) {
  TFileEntry Result;
  Result.Name = Name;
  Result.Size = Size;
  Result.Attributes = IsFolder ? faDirectory : faArchive;
  Result.Time = 45000.25 + static_cast<double>(Size % 1000);
  return Result;
}
}  // namespace

TEST(ResultListTest, EntriesKeepTheirValuesAcrossBlocks) {
  TResultList List;
  const std::uint32_t Count = TResultList::BlockSize * 2 + 7;
  for (std::uint32_t I = 0; I < Count; ++I)
    EXPECT_EQ(List.Add("C:\\Folder " + std::to_string(I / 100), Entry("n" + std::to_string(I), (5ull << 32) + I)), I);
  ASSERT_EQ(List.Count(), Count);
  for (std::uint32_t I : {0u, TResultList::BlockSize - 1, TResultList::BlockSize, Count - 1}) {
    EXPECT_EQ(List.Name(I), u"n" + std::u16string(Utf8ToUtf16(std::to_string(I))));
    EXPECT_EQ(List.Size(I), (5ull << 32) + I);  // sizes beyond 32 bits
    EXPECT_EQ(List.Time(I), 45000.25 + static_cast<double>(((5ull << 32) + I) % 1000));
    EXPECT_EQ(List.Folder(I), Utf8ToUtf16("C:\\Folder " + std::to_string(I / 100)));
  }
}

TEST(ResultListTest, FolderAndTypeTextsAreKeptOnce) {
  TResultList List;
  List.Add("C:\\A", Entry("a.txt"));
  List.Add("C:\\A", Entry("b.TXT"));
  List.Add("C:\\B", Entry("c.tar.gz"));
  List.Add("C:\\B", Entry("notes.txt", 0, true));
  List.Add("C:\\B", Entry("README"));
  EXPECT_EQ(List.Folder(0).data(), List.Folder(1).data());
  EXPECT_EQ(List.Folder(2), u"C:\\B");
  EXPECT_EQ(List.Type(0).data(), List.Type(1).data());
  EXPECT_EQ(List.Type(0), u"Text Document");
  EXPECT_EQ(List.Type(2), u"GZ File");
  EXPECT_EQ(List.Type(3), u"Folder");  // whatever a folder's name says
  EXPECT_TRUE(List.IsFolder(3));
  EXPECT_FALSE(List.IsFolder(2));
  EXPECT_EQ(List.Type(4), u" File");
}

TEST(ResultListTest, NamesAreUtf16AndClearStartsOver) {
  TResultList List;
  List.Add("C:\\Données", Entry("\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80.txt"));  // "été 😀.txt"
  List.Add("C:\\Données", Entry(""));
  EXPECT_EQ(List.Name(0), u"\u00E9t\u00E9 \U0001F600.txt");
  EXPECT_EQ(List.Name(1), u"");
  EXPECT_EQ(List.Folder(1), u"C:\\Donn\u00E9es");
  List.Clear();
  EXPECT_EQ(List.Count(), 0u);
  EXPECT_EQ(List.Add("C:\\A", Entry("x.zip", 3)), 0u);
  EXPECT_EQ(List.Name(0), u"x.zip");
  EXPECT_EQ(List.Type(0), u"ZIP File");
}
