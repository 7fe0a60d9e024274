// The folder index as searches meet it: folders whose stamps hold are not listed again, and what a
// search lists is what a search without the index lists on the same disk.
#include <gtest/gtest.h>

#include <random>

#include "tests/search/ChangingDisk.h"
#include "tests/search/RecordingRows.h"

namespace {

TSearchCriteria Criteria(const std::string& Name, const std::string& Text = "") {
  TSearchCriteria Result;
  Result.Folder = "R";
  Result.NameText = Name;
  Result.ContentText = Text;
  return Result;
}

// Folder and name of each row, and its size and time where the rows show them.
std::vector<std::string> RowTexts(const TRecordingRows& Rows, bool Details = true) {
  std::vector<std::string> Texts;
  for (const auto& Row : Rows.Rows)
    Texts.push_back(Row[4] + "|" + Row[1] + (Details ? "|" + Row[2] + "|" + Row[3] : std::string()));
  return Texts;
}

std::vector<std::string> CachedPaths(const TSearchCache& Cache) {
  std::vector<std::string> Paths;
  for (std::size_t I = 0; I < Cache.List().Count(); ++I)
    if (!Cache.List().Removed(I)) Paths.push_back(Cache.List().Text(I));
  std::sort(Paths.begin(), Paths.end());
  return Paths;
}

// R holds a.txt and the folders A (with b.txt) and B (with c.doc).
struct TTree {
  TTree() {
    Disk.MakeFolder("", "R");
    Disk.WriteFile("R", "a.txt", "alpha");
    Disk.MakeFolder("R", "A");
    Disk.WriteFile("R\\A", "b.txt", "beta needle");
    Disk.MakeFolder("R", "B");
    Disk.WriteFile("R\\B", "c.doc", "gamma");
  }
  std::vector<std::string> Search(const std::string& Name, const std::string& Text = "") {
    Disk.Listings = 0;
    RunSearch(Criteria(Name, Text), Cache, Disk, Clock, Rows);
    return RowTexts(Rows);
  }
  std::set<std::string> Names(const std::string& Name, const std::string& Text = "") {
    Search(Name, Text);
    std::set<std::string> Found;
    for (const auto& Row : Rows.Rows) Found.insert(Row[4] + "\\" + Row[1]);
    return Found;
  }
  TChangingDisk Disk;
  TSearchCache Cache{Disk};
  TManualClock Clock;
  TRecordingRows Rows;
};

}  // namespace

TEST(IndexedSearchTest, AFolderWhoseStampHoldsIsNotListedAgain) {
  TTree Tree;
  const auto First = Tree.Search("*");
  EXPECT_EQ(Tree.Disk.Listings, 3);
  EXPECT_EQ(Tree.Cache.Index().FolderCount(), 3u);
  EXPECT_EQ(Tree.Search("*").size(), First.size());
  EXPECT_EQ(Tree.Disk.Listings, 0);
  // A file comes to B: B alone is listed, and the file is found.
  Tree.Disk.WriteFile("R\\B", "d.txt", "delta");
  EXPECT_EQ(Tree.Names("*.txt"), (std::set<std::string>{"R\\a.txt", "R\\A\\b.txt", "R\\B\\d.txt"}));
  EXPECT_EQ(Tree.Disk.Listings, 1);
}

TEST(IndexedSearchTest, EveryKindOfChangeIsFoundOnTheNextSearch) {
  TTree Tree;
  Tree.Search("*");
  Tree.Disk.WriteFile("R\\A", "new.txt", "n");  // added
  Tree.Disk.Remove("R", "a.txt");               // removed
  Tree.Disk.Rename("R\\B", "c.doc", "c.txt");   // renamed
  Tree.Disk.Rename("R\\A", "b.txt", "B.TXT");   // renamed in case only
  EXPECT_EQ(Tree.Names("*.txt"), (std::set<std::string>{"R\\A\\new.txt", "R\\A\\B.TXT", "R\\B\\c.txt"}));
  Tree.Disk.Remove("R", "B");  // a folder replaced by a file of its name
  Tree.Disk.WriteFile("R", "B", "now a file");
  EXPECT_EQ(Tree.Names("*"), (std::set<std::string>{"R\\A", "R\\B", "R\\A\\new.txt", "R\\A\\B.TXT"}));
  EXPECT_EQ(Tree.Rows.Find("B")->at(5), " File");
  // A file written anew with the same size keeps its folder's stamp: its text is read again.
  EXPECT_EQ(Tree.Names("*.txt", "needle"), (std::set<std::string>{"R\\A\\B.TXT"}));
  Tree.Disk.WriteFile("R\\A", "new.txt", "x");  // same size, other bytes
  Tree.Disk.WriteFile("R\\A", "B.TXT", "beta noodle");
  Tree.Disk.WriteFile("R\\A", "new.txt", "needle");
  EXPECT_EQ(Tree.Names("*.txt", "needle"), (std::set<std::string>{"R\\A\\new.txt"}));
}

TEST(IndexedSearchTest, OnADiskWhoseStampsDoNotFollowItsEntriesEveryFolderIsListed) {
  TTree Tree;
  Tree.Disk.StampsFollow = false;  // as FAT: a folder keeps its stamp whatever comes or goes
  Tree.Search("*");
  EXPECT_EQ(Tree.Cache.Index().FolderCount(), 0u);
  Tree.Disk.WriteFile("R\\B", "d.txt", "delta");
  EXPECT_EQ(Tree.Names("*.txt"), (std::set<std::string>{"R\\a.txt", "R\\A\\b.txt", "R\\B\\d.txt"}));
  EXPECT_GE(Tree.Disk.Listings, 3);  // the walk lists every folder
  EXPECT_EQ(Tree.Cache.Index().FolderCount(), 0u);
}

// Random trees, random changes between searches, random searches, on disks that list as POSIX and as
// Windows do: the rows (in their order), the counts and the cache are those of the same searches
// without an index.
TEST(IndexedSearchTest, RowsAndTheCacheAreThoseOfSearchesWithoutTheIndex) {
  std::mt19937 Random(20240612);
  const char* const Names[] = {"a.txt", "b.TXT", "c.doc", "d", "e.txt", "F.txt", "g.bin", "h.txt"};
  const char* const Masks[] = {"*.txt", "*", "*a*", "?.txt", "*.doc"};
  for (int Tree = 0; Tree < 12; ++Tree) {
    TChangingDisk Disk;
    // Every other tree as Windows lists: with sizes and times, a single look-up dear.
    Disk.NamesOnly = Tree % 2 == 0;
    Disk.LookupCost = Disk.NamesOnly ? 1.0 : 16.0;
    std::vector<std::string> Folders{"R"};
    Disk.MakeFolder("", "R");
    const auto RandomFolder = [&] { return Folders[Random() % Folders.size()]; };
    const auto Change = [&] {
      const std::string Folder = RandomFolder();
      const std::string Name = Names[Random() % 8];
      switch (Random() % 6) {
        case 0: {
          const std::string Sub = "S" + std::to_string(Random() % 5);
          if (Disk.Folders.count(Folder + "\\" + Sub)) break;
          Disk.MakeFolder(Folder, Sub);
          Folders.push_back(Folder + "\\" + Sub);
          break;
        }
        case 1: Disk.Remove(Folder, Name); break;
        case 2: Disk.Rename(Folder, Name, Names[Random() % 8]); break;
        case 3:
          Disk.Rename(Folder, Name, std::string(1, static_cast<char>(std::toupper(Name[0]))) + Name.substr(1));
          break;
        default: Disk.WriteFile(Folder, Name, Random() % 3 ? "needle" : "hay"); break;
      }
    };
    for (int I = 0; I < 40; ++I) Change();
    TSearchCache Indexed(Disk), Plain(Disk);
    TManualClock Clock;
    TRecordingRows WithIndex, Without;
    for (int Round = 0; Round < 8; ++Round) {
      TSearchCriteria Search = Criteria(Masks[Random() % 5], Random() % 4 == 0 ? "needle" : "");
      Search.RowsNeedDetails = Random() % 2 == 0;
      Plain.Index().Clear();
      const TSearchOutcome A = RunSearch(Search, Indexed, Disk, Clock, WithIndex);
      const TSearchOutcome B = RunSearch(Search, Plain, Disk, Clock, Without);
      ASSERT_EQ(RowTexts(WithIndex, Search.RowsNeedDetails), RowTexts(Without, Search.RowsNeedDetails))
          << "tree " << Tree << " round " << Round;
      EXPECT_EQ(A.EntriesSeen, B.EntriesSeen);
      EXPECT_EQ(A.FoldersSeen, B.FoldersSeen);
      EXPECT_EQ(A.TotalKnown, B.TotalKnown);
      if (A.TotalKnown) {
        EXPECT_EQ(A.TotalBytes, B.TotalBytes);  // a total that is not shown may differ
      }
      EXPECT_EQ(CachedPaths(Indexed), CachedPaths(Plain));
      for (int I = static_cast<int>(Random() % 6); I > 0; --I) Change();
    }
  }
}
