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
