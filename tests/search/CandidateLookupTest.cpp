#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "search/CandidateLookup.h"
#include "search/SearchRun.h"
#include "tests/search/RecordingRows.h"
#include "tests/support/TempFolder.h"

namespace {

// The platform's file system, with the lookup cost chosen by the test and the calls counted.
class TCountingFileSystem : public TFileSystem {
 public:
  explicit TCountingFileSystem(double Cost) : FCost(Cost) {}
  char PathDelimiter() const override { return Real().PathDelimiter(); }
  std::unique_ptr<TFolderListing> OpenFolder(const std::string& Folder) override {
    ++Listings;
    return Real().OpenFolder(Folder);
  }
  bool FindEntry(const std::string& Path, TFileEntry& Entry) override {
    ++Lookups;
    return Real().FindEntry(Path, Entry);
  }
  double FindEntryCost() const override { return FCost; }
  bool ReadFile(const std::string& Path, std::size_t MaxBytes, std::string& Data, std::uint64_t* Size) override {
    return Real().ReadFile(Path, MaxBytes, Data, Size);
  }
  bool WriteFileAtomically(const std::string& Path, const std::string& Data) override {
    return Real().WriteFileAtomically(Path, Data);
  }
  bool FileExists(const std::string& Path) override { return Real().FileExists(Path); }
  bool DirectoryExists(const std::string& Path) override { return Real().DirectoryExists(Path); }
  bool RemoveFile(const std::string& Path) override { return Real().RemoveFile(Path); }
  std::string LastErrorText() override { return Real().LastErrorText(); }

  int Listings = 0, Lookups = 0;

 private:
  static TFileSystem& Real() { return PlatformFileSystem(); }
  double FCost;
};

bool SameEntry(const TFileEntry& A, const TFileEntry& B) {
  return A.Name == B.Name && A.Size == B.Size && A.Attributes == B.Attributes && A.Time == B.Time;
}

}  // namespace

TEST(CandidateLookupTest, ListsAFolderOnceAndAnswersAsFindEntryDoes) {
  TTempFolder Tree;
  std::vector<std::string> Paths;
  Paths.reserve(10);  // the lookup keeps views of the paths
  for (int I = 0; I < 8; ++I) {
    Tree.WriteFile("f" + std::to_string(I) + ".txt", std::string(static_cast<std::size_t>(I), 'x'));
    Paths.push_back(Tree.Path("f" + std::to_string(I) + ".txt"));
  }
  Tree.MakeFolder("Sub.txt");
  Paths.push_back(Tree.Path("Sub.txt"));
  Paths.push_back(Tree.Path("deleted.txt"));
  TCountingFileSystem Files(16.0);
  TCandidateLookup Lookup(Files);
  const std::size_t NameStart = Tree.Path().size() + 1;
  for (std::size_t I = 0; I < Paths.size(); ++I) Lookup.CountCachedPath(7);
  for (std::size_t I = 2; I < Paths.size(); ++I) Lookup.AddCandidate(7, std::string_view(Paths[I]).substr(NameStart));
  for (std::size_t I = Paths.size(); I-- > 2;) {
    TFileEntry Batched, Single;
    const bool Found = Lookup.Find(7, Paths[I], NameStart, Batched);
    EXPECT_EQ(Found, PlatformFileSystem().FindEntry(Paths[I], Single)) << Paths[I];
    EXPECT_TRUE(SameEntry(Batched, Single)) << Paths[I];
  }
  EXPECT_EQ(Files.Listings, 1);
  EXPECT_EQ(Files.Lookups, 1);  // only the deleted file, which the listing did not answer
}

TEST(CandidateLookupTest, LooksUpOneByOneWhereTheFolderIsLargeForItsCandidates) {
  TTempFolder Tree;
  TCountingFileSystem Files(2.0);
  TCandidateLookup Lookup(Files);
  for (int I = 0; I < 10; ++I) Lookup.CountCachedPath(0);
  Tree.WriteFile("a", "a");
  Tree.WriteFile("b", "b");
  const std::string A = Tree.Path("a"), B = Tree.Path("b");
  const std::size_t NameStart = A.size() - 1;
  Lookup.AddCandidate(0, "a");
  Lookup.AddCandidate(0, "b");
  TFileEntry Entry;
  EXPECT_TRUE(Lookup.Find(0, A, NameStart, Entry));
  EXPECT_TRUE(Lookup.Find(0, B, NameStart, Entry));
  EXPECT_EQ(Entry.Name, "b");
  EXPECT_EQ(Files.Listings, 0);
  EXPECT_EQ(Files.Lookups, 2);
}

TEST(CandidateLookupTest, CachePassListsTheSameRowsEitherWay) {
  TTempFolder Tree;
  for (int I = 0; I < 6; ++I) {
    Tree.WriteFile("Docs/Note " + std::to_string(I) + ".txt", "n");
    Tree.WriteFile("Docs/Deep/Memo" + std::to_string(I) + ".TXT", "m");
    Tree.WriteFile("Docs/pic" + std::to_string(I) + ".png", "p");
  }
  std::vector<std::vector<std::vector<std::string>>> Results;
  std::vector<int> Lookups;
  for (double Cost : {0.0, 1000.0}) {
    TCountingFileSystem Files(Cost);
    TRecordingRows Rows;
    TManualClock Clock;
    Clock.NowValue = ProgramClock().Now();
    TSearchCriteria Criteria;
    Criteria.Folder = Tree.Path();
    Criteria.NameText = SearchNameText("*.txt");
    TSearchCache Cache(Files);
    RunSearch(Criteria, Cache, Files, Clock, Rows);
    std::filesystem::remove(Tree.Native("Docs/Note 3.txt"));
    Files.Lookups = 0;
    RunSearch(Criteria, Cache, Files, Clock, Rows);
    Results.push_back(Rows.Rows);
    Lookups.push_back(Files.Lookups);
    Tree.WriteFile("Docs/Note 3.txt", "n");
  }
  EXPECT_EQ(Results[0].size(), 11u);
  EXPECT_EQ(Results[0], Results[1]);
  EXPECT_EQ(Lookups[0], 12);
  EXPECT_EQ(Lookups[1], 1);  // the deleted file only
}
