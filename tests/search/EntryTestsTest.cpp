#include <gtest/gtest.h>

#include "search/EntryTests.h"
#include "tests/search/MemoryFileSystem.h"

namespace {

// Details and bytes of one file, with the calls counted.
struct TCountingAccess : TEntryAccess {
  TFileEntry Disk;
  std::string Bytes;
  int DetailsRead = 0, Opened = 0;
  bool ReadDetails(TFileEntry& Entry) override {
    ++DetailsRead;
    Entry = Disk;
    return true;
  }
  std::unique_ptr<TFileReader> OpenFile(const TFileEntry&) override {
    ++Opened;
    return std::make_unique<TStringReader>(Bytes);
  }
};

TFileEntry Listed(const std::string& Name) {
  TFileEntry Entry = MakeEntry(Name, 0);
  Entry.DetailsKnown = false;
  return Entry;
}

}  // namespace

TEST(EntryTestsTest, ATextDecidesBeforeDetailsUnlessASizeOrDateNeedsThem) {
  TSearchCriteria Criteria;
  Criteria.NameText = "*.txt";
  Criteria.ContentText = "needle";
  TEntryTests Tests(Criteria);
  EXPECT_TRUE(Tests.PassesName("A.TXT"));
  EXPECT_FALSE(Tests.PassesName("a.txt~"));
  TCountingAccess Access;
  Access.Disk = MakeEntry("a.txt", faArchive);
  Access.Disk.Size = 20;
  Access.Bytes = "no such word";
  TFileEntry Entry = Listed("a.txt");
  EXPECT_EQ(Tests.Judge(Entry, Access), tvRejected);
  EXPECT_EQ(Access.DetailsRead, 0);  // the row was never to be: its details were not read
  Access.Bytes = "a NEEDLE here";
  Entry = Listed("a.txt");
  EXPECT_EQ(Tests.Judge(Entry, Access), tvMatch);
  EXPECT_EQ(Access.DetailsRead, 1);  // for the row
  EXPECT_EQ(Entry.Size, 20u);
  // A size limit is tested first: a file it excludes is never opened.
  Criteria.MinimumSize = 1024;
  TEntryTests Sized(Criteria);
  Entry = Listed("a.txt");
  Access.Opened = 0;
  EXPECT_EQ(Sized.Judge(Entry, Access), tvRejected);
  EXPECT_EQ(Access.Opened, 0);
}

TEST(EntryTestsTest, TooLargeEmptyAndFolderEntriesAreJudgedWithoutOpening) {
  TSearchCriteria Criteria;
  Criteria.NameText = "*";
  Criteria.ContentText = "x";
  TEntryTests Tests(Criteria);
  TCountingAccess Access;
  TFileEntry Large = MakeEntry("large.txt", faArchive);
  Large.Size = ContentSizeLimit;
  TFileEntry Empty = MakeEntry("empty.txt", faArchive);
  TFileEntry Folder = Listed("folder");
  Folder.Attributes = faDirectory;
  EXPECT_EQ(Tests.Judge(Empty, Access), tvRejected);
  EXPECT_FALSE(Tests.LargeFilesSkipped());
  EXPECT_EQ(Tests.Judge(Large, Access), tvRejected);
  EXPECT_TRUE(Tests.LargeFilesSkipped());
  EXPECT_EQ(Tests.Judge(Folder, Access), tvRejected);
  EXPECT_EQ(Access.Opened, 0);
}
