#include <gtest/gtest.h>

#include "search/FolderWalk.h"
#include "tests/search/MemoryFileSystem.h"
#include "tests/search/RecordingRows.h"

namespace {
struct TQuiet : TSearchProgress {
  bool Cancelled() override { return false; }
  void Report(const TSearchReport&) override {}
};
}  // namespace

// The walk alone: every entry is recorded and counted; a match is listed unless the cache pass's
// verdicts say it listed that very line.
TEST(FolderWalkTest, RecordsEveryEntryAndListsWhatTheCachePassDidNot) {
  TMemoryFileSystem Files;
  Files.Folders["C:\\Data"] = {MakeEntry("a.txt", faArchive), MakeEntry("Sub", faDirectory)};
  Files.Folders["C:\\Data\\Sub"] = {MakeEntry("b.txt", faArchive), MakeEntry("c.doc", faArchive)};
  TSearchCache Cache(Files);
  Cache.AddToCache("C:\\Data\\a.txt");
  TCacheVerdicts Verdicts;
  Verdicts.Reset(Cache.List().Count());
  Verdicts.Listed(static_cast<std::uint32_t>(Cache.List().IndexOf("C:\\Data\\a.txt")), std::string());
  TSearchCriteria Criteria;
  Criteria.NameText = "*.txt";
  TEntryTests Tests(Criteria);
  const TSearchRoot Root = ResolveSearchRoot("C:\\Data", Files);
  TManualClock Clock;
  TFolderWalk Walk(Cache, Files, Tests, Root, Clock, Verdicts);
  TRecordingRows Rows;
  TQuiet Progress;
  TSharedListings Shared(Files);
  Walk.Run(Rows, Progress, Shared);
  ASSERT_EQ(Rows.RowCount(), 1);
  EXPECT_EQ(Rows.Rows[0][1], "b.txt");
  EXPECT_EQ(Rows.Rows[0][4], "C:\\Data\\Sub");
  EXPECT_EQ(Walk.EntriesSeen(), 4u);
  EXPECT_EQ(Walk.FoldersSeen(), 2u);
  EXPECT_EQ(Cache.List().Count(), 4u);
  EXPECT_TRUE(Cache.IsCached("C:\\Data\\Sub\\c.doc"));
}
