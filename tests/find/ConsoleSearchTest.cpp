// torvane-find's side of a search in process: the criteria its command line gives, and the progress
// line the run's reports become.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include "find/Console.h"
#include "find/ConsoleSearch.h"
#include "find/FindOptions.h"

namespace {

TSearchCriteria CriteriaOf(const std::vector<std::string>& Arguments) {
  TFindOptions Options;
  std::string Problem;
  EXPECT_TRUE(ParseFindOptions(Arguments, UnitedStatesFormatSettings(), Options, Problem)) << Problem;
  return FindCriteria(Options);
}

}  // namespace

TEST(ConsoleSearchTest, CommandLineGivesTheCriteriaOnce) {
  const TSearchCriteria All = CriteriaOf({"--at-least", " 2 ", "--at-most=4", "--modified", "2024-05-01", "5/31/2024",
                                          "-l", "D:\\Docs", "invoice", "Due"});
  EXPECT_EQ(All.Folder, "D:\\Docs");
  EXPECT_EQ(All.NameText, "*invoice*");  // as the window wraps a plain word
  EXPECT_EQ(All.ContentText, "Due");
  EXPECT_EQ(All.MinimumSize, std::optional<std::uint64_t>(2048));
  EXPECT_EQ(All.MaximumSize, std::optional<std::uint64_t>(4096));
  ASSERT_TRUE(All.Modified.has_value());
  EXPECT_EQ(All.Modified->First, EncodeDate(2024, 5, 1));
  EXPECT_EQ(All.Modified->Last, EncodeDate(2024, 5, 31));
  EXPECT_TRUE(All.RowsNeedDetails);  // --long shows sizes and times

  const TSearchCriteria Bare = CriteriaOf({"D:\\Docs"});
  EXPECT_EQ(Bare.NameText, "**");
  EXPECT_EQ(Bare.ContentText, "");
  EXPECT_FALSE(Bare.MinimumSize || Bare.MaximumSize || Bare.Modified);
  EXPECT_FALSE(Bare.RowsNeedDetails);  // a list of paths
  EXPECT_EQ(CriteriaOf({"D:\\Docs", "a?c", "--csv"}).NameText, "a?c");
  EXPECT_TRUE(CriteriaOf({"--csv", "D:\\Docs"}).RowsNeedDetails);
  // More kilobytes than 64 bits of bytes hold: larger than any file.
  EXPECT_EQ(CriteriaOf({"--at-most", "99999999999999999999", "D:\\Docs"}).MaximumSize,
            std::optional<std::uint64_t>(UINT64_MAX));
}

TEST(ConsoleSearchTest, ProgressLineComesFromTheRunsReports) {
  const TFormatSettings Settings = UnitedStatesFormatSettings();
  TSearchReport Report;
  Report.Stage = ssCachePass;
  Report.Position = 50;
  EXPECT_EQ(ProgressLine(Report, 0, Settings), "Looking up cached paths... 50%");
  Report.Stage = ssWalking;
  Report.EntriesSeen = 12345;
  Report.FoldersSeen = 67;
  Report.Folder = "D:\\Docs\\2024";
  EXPECT_EQ(ProgressLine(Report, 1005, Settings),
            "Searched 12,345 files, 67 folders | Found 1,005 files | Searching D:\\Docs\\2024...");
  for (const TSearchStage Quiet : {ssCachePassBegins, ssCachePassRows, ssWalkBegins}) {
    Report.Stage = Quiet;
    EXPECT_EQ(ProgressLine(Report, 3, Settings), "") << Quiet;
  }
}

#ifndef _WIN32
TEST(ConsoleSearchTest, AnInterruptAfterTheLastCheckStillEndsTheProgramAsInterrupted) {
  // As a shell sees it: killed by the signal (status 130 for SIGINT, 143 for SIGTERM), not a normal exit.
  EXPECT_EXIT(
      {
        WatchInterrupts();
        EndInterrupts();
        std::raise(SIGTERM);
        std::exit(1);
      },
      ::testing::KilledBySignal(SIGTERM), "");
}
#endif
