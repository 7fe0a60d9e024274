// The index file beside the cache file: used only with the very cache file it was written for, ignored
// (and written afresh by the next save) when it is missing, stale, damaged or from another version.
#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "search/IndexFile.h"
#include "tests/search/ChangingDisk.h"
#include "tests/search/RecordingRows.h"
#include "tests/support/TempFolder.h"

namespace {

// The tree in memory; the settings files on the real disk.
class TDiskWithFiles : public TChangingDisk {
 public:
  bool FindEntry(const std::string& Path, TFileEntry& Entry) override {
    return IsFile(Path) ? Real().FindEntry(Path, Entry) : TChangingDisk::FindEntry(Path, Entry);
  }
  bool FileExists(const std::string& Path) override { return Real().FileExists(Path); }
  bool ReadFile(const std::string& Path, std::size_t Max, std::string& Data, std::uint64_t* Size) override {
    return Real().ReadFile(Path, Max, Data, Size);
  }
  bool ReadFileInPieces(const std::string& Path, const std::function<void(std::string_view)>& OnPiece) override {
    return Real().ReadFileInPieces(Path, OnPiece);
  }
  std::unique_ptr<TFileWriter> CreateFileAtomically(const std::string& Path) override {
    return Real().CreateFileAtomically(Path);
  }

 private:
  static TFileSystem& Real() { return PlatformFileSystem(); }
  static bool IsFile(const std::string& Path) { return Path.find("torvane-test-") != std::string::npos; }
};

struct TIndexedTree {
  TIndexedTree() {
    Disk.MakeFolder("", "C:\\R");  // full paths, as the cache file holds them
    Disk.WriteFile("C:\\R", "a.txt", "a");
    Disk.MakeFolder("C:\\R", "A");
    Disk.WriteFile("C:\\R\\A", "b.txt", "b");
  }
  std::unique_ptr<TSearchCache> Load() {
    auto Cache = std::make_unique<TSearchCache>(Disk);
    Cache->LoadCache(CacheFile);
    return Cache;
  }
  int ListingsOfASearch(TSearchCache& Cache) {
    TSearchCriteria Criteria;
    Criteria.Folder = "C:\\R";
    Criteria.NameText = "*";
    Disk.Listings = 0;
    RunSearch(Criteria, Cache, Disk, Clock, Rows);
    return Disk.Listings;
  }
  TTempFolder Folder;
  const std::string CacheFile = Folder.Path("search.cache");
  TDiskWithFiles Disk;
  TManualClock Clock;
  TRecordingRows Rows;
};

}  // namespace

TEST(IndexFileTest, AnIndexIsUsedOnlyWithTheCacheFileItWasWrittenFor) {
  TIndexedTree Tree;
  {
    TSearchCache Cache(Tree.Disk);
    EXPECT_EQ(Tree.ListingsOfASearch(Cache), 2);
    Cache.SaveCache(Tree.CacheFile);
  }
  EXPECT_EQ(IndexFileFor(Tree.CacheFile), Tree.Folder.Path("search.index"));
  const std::string Index = Tree.Folder.ReadFile("search.index");
  ASSERT_GT(Index.size(), 40u);
  EXPECT_EQ(Tree.ListingsOfASearch(*Tree.Load()), 0);
  const auto Ignored = [&](const std::string& Bytes) {
    Tree.Folder.WriteFile("search.index", Bytes);
    const auto Cache = Tree.Load();
    const std::string Why = Cache->IndexIgnored();
    const bool Listed = Tree.ListingsOfASearch(*Cache) >= 2 && Tree.Rows.RowCount() == 3;
    return Listed && Cache->Index().FolderCount() == 2u && !Why.empty();  // rebuilt by the walk
  };
  std::string Damaged = Index;
  Damaged[Damaged.size() / 2] ^= 0x20;
  EXPECT_TRUE(Ignored(Damaged));
  EXPECT_TRUE(Ignored(Index.substr(0, Index.size() - 1)));
  std::string Version = Index;
  Version[7] = '2';
  EXPECT_TRUE(Ignored(Version));
  EXPECT_TRUE(Ignored(std::string()));
  // The cache file written again by someone else (a version that keeps no index): stale.
  Tree.Folder.WriteFile("search.index", Index);
  Tree.Folder.WriteFile("search.cache", Tree.Folder.ReadFile("search.cache") + "C:\\R\\other.txt\r\n");
  EXPECT_FALSE(Tree.Load()->IndexIgnored().empty());
  // The next save writes an index of its own, which the next load uses.
  {
    const auto Cache = Tree.Load();
    Tree.ListingsOfASearch(*Cache);
    Cache->AddToCache("C:\\R\\another.txt");
    Cache->SaveCache(Tree.CacheFile);
  }
  const auto Cache = Tree.Load();
  EXPECT_EQ(Cache->IndexIgnored(), "");
  EXPECT_EQ(Tree.ListingsOfASearch(*Cache), 0);
  EXPECT_EQ(Tree.Rows.RowCount(), 3);
  // Paths added to a cache loaded with its index take their sorted places in the next save.
  Cache->AddToCache("C:\\R\\0.txt");
  Cache->AddToCache("C:\\R\\b.txt");
  Cache->AddToCache("C:\\R\\A.TXT");  // one more spelling of a path held: not a second line
  Cache->SaveCache(Tree.CacheFile);
  EXPECT_EQ(Tree.Folder.ReadFile("search.cache"),
            "C:\\R\\0.txt\r\nC:\\R\\A\r\nC:\\R\\a.txt\r\nC:\\R\\A\\b.txt\r\nC:\\R\\another.txt\r\n"
            "C:\\R\\b.txt\r\nC:\\R\\other.txt\r\n");
}

// What the index stands on, on the disk that holds the system's temporary folder: its file system is
// one whose folder stamps follow their entries, and a new entry gives its folder a new stamp, read
// afresh through the parent's listing.
TEST(FolderStampTest, ANewEntryGivesItsFolderANewStamp) {
  TTempFolder Tree;
  Tree.MakeFolder("F");
  TFileSystem& Files = PlatformFileSystem();
  const auto Parent = Files.OpenFolder(Tree.Path());
  ASSERT_TRUE(Parent);
  EXPECT_TRUE(Parent->StampsFollowEntries());
  TFileEntry Folder;
  Folder.Name = "F";
  Folder.Attributes = faDirectory;
  ASSERT_TRUE(Parent->ReadStamp(Folder));
  const std::uint64_t Before = Folder.Stamp;
  EXPECT_NE(Before, 0u);
  EXPECT_EQ(Files.OpenFolderUnlisted(Tree.Path("F"))->SettledStamp(), 0u);  // changed just now: not settled
  Tree.WriteFile("F/new.txt", "n");
  ASSERT_TRUE(Parent->ReadStamp(Folder));
  EXPECT_NE(Folder.Stamp, Before);
}
