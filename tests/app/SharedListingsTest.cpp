#include <gtest/gtest.h>

#include "search/SearchRun.h"
#include "tests/app/TestHost.h"
#include "tests/search/MemoryFileSystem.h"

namespace {

// C:\Data holds the folder Sub with two text files and a document; Sub's listing may be shared. Each
// search starts without an index, as a cache whose index file is missing does: the folders it lists
// are shared.
struct TSharedTree {
  TSharedTree() {
    Files.Folders["C:\\Data"] = {MakeEntry("Sub", faDirectory)};
    Files.Folders["C:\\Data\\Sub"] = {MakeEntry("a.txt", faArchive), MakeEntry("b.txt", faArchive),
                                      MakeEntry("c.doc", faArchive)};
    Files.FolderStamps["C:\\Data\\Sub"] = 7;
    Host.Files = &Files;
    Host.Path = "C:\\Data";
    Host.Name = "*.txt";
    Host.FakeClock.NowValue = 45000.5;
  }
  void Click() {
    Cache.Index().Clear();
    Host.Click(Cache);
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> Names;
    for (const auto& Row : Host.Grid.Rows) Names.push_back(Row[1]);
    return Names;
  }
  TMemoryFileSystem Files;
  TTestHost Host;
  TSearchCache Cache{Files};
};

}  // namespace

TEST(SharedListingsTest, WalkTakesTheCachePassListingAndListsNoFolderTwice) {
  TSharedTree Tree;
  Tree.Click();
  const std::string Counts = Tree.Host.Status[1];
  EXPECT_EQ(Tree.Files.Listings, 2);
  Tree.Files.Listings = 0;
  Tree.Click();
  EXPECT_EQ(Tree.Names(), (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(Tree.Files.Listings, 2);       // Sub by the cache pass, C:\Data by the walk
  EXPECT_EQ(Tree.Host.Status[1], Counts);  // every entry met and counted all the same
}

TEST(SharedListingsTest, EntryCreatedBetweenThePassesIsFoundByTheWalk) {
  TSharedTree Tree;
  Tree.Click();
  // Once the cache pass has listed Sub and its two rows, a file comes: the folder's stamp changes.
  Tree.Files.Listings = 0;
  Tree.Host.OnPump = [&] {
    if (Tree.Files.Listings != 1 || Tree.Host.Grid.RowCount() != 2 || Tree.Files.FolderStamps["C:\\Data\\Sub"] != 7)
      return;
    Tree.Files.Folders["C:\\Data\\Sub"].push_back(MakeEntry("new.txt", faArchive));
    Tree.Files.FolderStamps["C:\\Data\\Sub"] = 8;
  };
  Tree.Click();
  EXPECT_EQ(Tree.Names(), (std::vector<std::string>{"a.txt", "b.txt", "new.txt"}));
  EXPECT_EQ(Tree.Files.Listings, 3);  // Sub again, by the walk
  EXPECT_TRUE(Tree.Cache.IsCached("C:\\Data\\Sub\\new.txt"));
}

TEST(SharedListingsTest, FileTheCachePassReadIsNotReadAgainUnlessItChanged) {
  TSharedTree Tree;
  for (TFileEntry& Entry : Tree.Files.Folders["C:\\Data\\Sub"]) {
    Entry.Size = 20;
    Entry.Stamp = 5;
  }
  Tree.Files.Contents["C:\\Data\\Sub\\a.txt"] = "nothing to see here.";
  Tree.Files.Contents["C:\\Data\\Sub\\b.txt"] = "the needle is here..";
  Tree.Host.Contains = "needle";
  Tree.Click();
  EXPECT_EQ(Tree.Files.FilesOpened, 2);
  Tree.Files.FilesOpened = 0;
  Tree.Click();
  EXPECT_EQ(Tree.Names(), std::vector<std::string>{"b.txt"});
  EXPECT_EQ(Tree.Files.FilesOpened, 2);  // by the cache pass; the walk reads neither again
  // a.txt is saved anew between the passes (written beside and renamed over, which changes the folder
  // too): the walk lists the folder and reads a.txt again. (The walk takes the entries of a folder it
  // shares with the cache pass as the cache pass met them.)
  Tree.Host.OnPump = [&] {
    TFileEntry& A = Tree.Files.Folders["C:\\Data\\Sub"][0];
    if (Tree.Files.FilesOpened != 2 || A.Stamp != 5) return;
    A.Stamp = 6;
    Tree.Files.FolderStamps["C:\\Data\\Sub"] = 8;
    Tree.Files.Contents["C:\\Data\\Sub\\a.txt"] = "now a needle as well";
  };
  Tree.Files.FilesOpened = 0;
  Tree.Click();
  EXPECT_EQ(Tree.Names(), (std::vector<std::string>{"b.txt", "a.txt"}));
  EXPECT_EQ(Tree.Files.FilesOpened, 3);
}

// Deep lies in Sub, both with cached matches: the walk goes through Sub's listing as the cache pass met
// it, so Deep's stamp there is as old; a stamp read now tells whether Deep's listing still holds.
TEST(SharedListingsTest, NestedSharedFolderIsCheckedByAFreshStampNotListedAgain) {
  TSharedTree Tree;
  Tree.Files.Folders["C:\\Data\\Sub"].push_back(MakeEntry("Deep", faDirectory));
  Tree.Files.Folders["C:\\Data\\Sub\\Deep"] = {MakeEntry("d.txt", faArchive)};
  Tree.Files.FolderStamps["C:\\Data\\Sub\\Deep"] = 3;
  Tree.Click();
  Tree.Files.Listings = 0;
  Tree.Click();
  EXPECT_EQ(Tree.Names(), (std::vector<std::string>{"a.txt", "b.txt", "d.txt"}));
  EXPECT_EQ(Tree.Files.Listings, 3);  // Sub and Deep by the cache pass, C:\Data by the walk
  EXPECT_EQ(Tree.Files.StampsRead, 1);
  // A file comes to Deep once the cache pass has listed it: the walk lists Deep again and finds it.
  Tree.Host.OnPump = [&] {
    if (Tree.Files.Listings != 2 || Tree.Host.Grid.RowCount() != 3 ||
        Tree.Files.FolderStamps["C:\\Data\\Sub\\Deep"] != 3)
      return;
    Tree.Files.Folders["C:\\Data\\Sub\\Deep"].push_back(MakeEntry("e.txt", faArchive));
    Tree.Files.FolderStamps["C:\\Data\\Sub\\Deep"] = 4;
  };
  Tree.Files.Listings = 0;
  Tree.Click();
  EXPECT_EQ(Tree.Names(), (std::vector<std::string>{"a.txt", "b.txt", "d.txt", "e.txt"}));
  EXPECT_EQ(Tree.Files.Listings, 4);
}
