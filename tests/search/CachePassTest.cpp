#include <gtest/gtest.h>

#include "search/CachePass.h"
#include "tests/search/MemoryFileSystem.h"
#include "tests/search/RecordingRows.h"

namespace {
struct TQuiet : TSearchProgress {
  bool Cancelled() override { return false; }
  void Report(const TSearchReport&) override {}
};
}  // namespace

// The cache pass alone: the cached hits under the root, in the list's order, each looked up on disk;
// what it listed is the walk's to skip; the list itself is left as it was.
TEST(CachePassTest, ListsTheCachedHitsUnderTheRootInTheListsOrderAndChangesNothing) {
  TMemoryFileSystem Files;
  Files.Folders["C:\\Data"] = {MakeEntry("b.txt", faArchive), MakeEntry("a.txt", faArchive),
                               MakeEntry("c.doc", faArchive)};
  TSearchCache Cache(Files);
  for (const char* Path :
       {"C:\\Data\\b.txt", "C:\\Data\\gone.txt", "C:\\Data\\a.txt", "C:\\Data\\c.doc", "C:\\Database\\x.txt"})
    Cache.List().Add(Path);  // as a file loads: not a change
  Cache.List().SetSorted(true);
  TSearchCriteria Criteria;
  Criteria.NameText = "*.txt";
  TEntryTests Tests(Criteria);
  const TSearchRoot Root = ResolveSearchRoot("C:\\Data\\", Files);
  TManualClock Clock;
  TCachePass Pass(Cache, Files, Tests, Root, Clock);
  TRecordingRows Rows;
  TQuiet Progress;
  TSharedListings Shared(Files);
  Pass.Run(Rows, Progress, Shared);
  ASSERT_EQ(Rows.RowCount(), 2);
  EXPECT_EQ(Rows.Rows[0][1], "a.txt");
  EXPECT_EQ(Rows.Rows[1][1], "b.txt");
  EXPECT_EQ(Rows.Rows[1][4], "C:\\Data");
  EXPECT_TRUE(Pass.Verdicts().ListedLine(Cache.List().IndexOf("C:\\Data\\a.txt")));
  EXPECT_FALSE(Pass.Verdicts().ListedLine(Cache.List().IndexOf("C:\\Data\\gone.txt")));
  EXPECT_EQ(Cache.List().Count(), 5u);
  EXPECT_FALSE(Cache.Changed());
}
