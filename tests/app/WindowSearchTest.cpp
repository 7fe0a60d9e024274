// The window's rules of a run as a state: idle, running, cancelling and back, whatever way it ends.
#include <gtest/gtest.h>

#include <stdexcept>

#include "masks/Masks.h"
#include "tests/app/TestHost.h"
#include "tests/support/TempFolder.h"

TEST(WindowSearchTest, ASecondStartOrCancelAsksTheRunToStopAndTheWindowEndsIdleOnce) {
  TTempFolder Tree;
  Tree.WriteFile("a/1.txt", "1");
  Tree.WriteFile("b/2.txt", "2");
  TTestHost Host;
  Host.Path = Tree.Path();
  Host.Name = "*";
  TSearchCache Cache(PlatformFileSystem());
  int Asked = 0;
  Host.OnPump = [&] {
    if (Host.RunState() == rsRunning && Asked++ < 2) Host.Click(Cache);  // the second ask finds it cancelling
  };
  Host.Click(Cache);
  EXPECT_EQ(Host.RunStates, (std::vector<TRunState>{rsRunning, rsCancelling, rsIdle}));
  EXPECT_EQ(Host.RunState(), rsIdle);
  EXPECT_EQ(Host.Caption, "&Search");
  EXPECT_EQ(Host.Histories.size(), 1u);      // a cancelled run is still a completed one
  EXPECT_EQ(Host.Status[0], CancelledText);  // the list is incomplete, and says so
  Host.OnPump = nullptr;
  Host.Click(Cache);
  EXPECT_EQ(Host.Status[0], "");
}

TEST(WindowSearchTest, AFailedRunEndsIdleWithoutHistoriesAndAMalformedMaskChangesNothing) {
  TTempFolder Tree;
  Tree.WriteFile("a.txt", "a");
  TTestHost Host;
  Host.Path = Tree.Path();
  Host.Name = "a[1]";
  TSearchCache Cache(PlatformFileSystem());
  Host.Click(Cache);
  EXPECT_TRUE(Host.RunStates.empty());
  // The mask as the field shows it, what is wrong, where, and how to write the character itself.
  EXPECT_EQ(Host.Messages, std::vector<std::string>{"The name mask \"*a[1]*\" cannot be used: the \"[\" at character "
                                                    "3 needs a range such as [a-z] or [!a-z] before its \"]\". To "
                                                    "find \"[\" itself in names, write #[."});
  Host.Name = "*";
  Host.OnPump = [] { throw std::runtime_error("input handler failed"); };
  EXPECT_THROW(Host.Click(Cache), std::runtime_error);
  EXPECT_EQ(Host.RunStates, (std::vector<TRunState>{rsRunning, rsIdle}));
  EXPECT_TRUE(Host.Histories.empty());
  EXPECT_FALSE(Host.ProgressVisible);
  EXPECT_EQ(Host.Repaints, 0);
}

TEST(WindowSearchTest, ASearchOfSeveralFoldersListsEachHitOnceWithOneTotalAndOneHistoryEntry) {
  TTempFolder Tree;
  Tree.WriteFile("a/1.txt", std::string(1024, 'x'));
  Tree.WriteFile("a/inner/2.txt", std::string(1024, 'x'));
  Tree.WriteFile("b/3.txt", std::string(2048, 'x'));
  Tree.WriteFile("c/4.txt", "x");  // not named
  TTestHost Host;
  // b first, then a (with a folder inside it named as well, whose hits come with a's).
  Host.Path = Tree.Path("b") + ";" + Tree.Path("a/inner") + ";" + Tree.Path("a");
  Host.Name = "*.txt";
  TSearchCache Cache(PlatformFileSystem());
  Host.Click(Cache);
  ASSERT_EQ(Host.Grid.RowCount(), 3);
  EXPECT_EQ(Host.Grid.Rows[0][1], "3.txt");
  EXPECT_EQ(Host.Grid.Count("1.txt") + Host.Grid.Count("2.txt"), 2);
  EXPECT_EQ(Host.Status[2], "Found 3 files");
  // The entries b and a hold (3.txt; 1.txt, inner, 2.txt) and the folders listed (b, a, inner).
  EXPECT_EQ(Host.Status[1], "Searched 4 files, 3 folders");
  EXPECT_EQ(Host.Status[3], "4KB");
  EXPECT_EQ(Host.Histories, std::vector<std::string>{"*.txt|" + Host.Path});

  // A second search with the cache the first one filled still lists each hit once.
  Host.Click(Cache);
  EXPECT_EQ(Host.Grid.RowCount(), 3);
}

TEST(WindowSearchTest, AMissingFolderOfSeveralIsNamedAndNothingStarts) {
  TTempFolder Tree;
  Tree.MakeFolder("a");
  TTestHost Host;
  Host.Path = Tree.Path("a") + ";" + Tree.Path("gone");
  TSearchCache Cache(PlatformFileSystem());
  Host.Click(Cache);
  EXPECT_EQ(Host.Messages, std::vector<std::string>{std::string(FolderMissingText) + ": " + Tree.Path("gone")});
  EXPECT_TRUE(Host.RunStates.empty());
}
