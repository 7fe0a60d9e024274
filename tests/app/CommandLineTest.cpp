// The window's command line: fields, the switch that only fills them, help and mistakes.
#include <gtest/gtest.h>

#include "app/CommandLine.h"

TEST(CommandLineTest, NoSearchFillsTheFieldsWithoutStartingTheSearchAFolderOtherwiseStarts) {
  TCommandLine Line = ParseCommandLine({"D:\\Docs", "*.txt"});
  EXPECT_TRUE(Line.StartsSearch());
  Line = ParseCommandLine({"--no-search", "D:\\Docs", "*.txt"});
  EXPECT_FALSE(Line.StartsSearch());
  EXPECT_EQ(Line.Fields, (std::vector<std::string>{"D:\\Docs", "*.txt"}));
  EXPECT_TRUE(Line.Problem.empty());
  EXPECT_FALSE(ParseCommandLine({"", "x"}).StartsSearch());
}

TEST(CommandLineTest, AQuotedDriveRootLosesTheQuoteItArrivesWith) {
  // What CommandLineToArgvW makes of '--no-search "C:\"', the command Explorer runs on a drive.
  EXPECT_EQ(ParseCommandLine({"--no-search", "C:\""}).Field(0), "C:");
  EXPECT_EQ(ParseCommandLine({"C:\\Data"}).Field(0), "C:\\Data");
}

TEST(CommandLineTest, HelpUnknownOptionsExtraFieldsAndTheEndOfOptions) {
  EXPECT_TRUE(ParseCommandLine({"/?"}).Help);
  EXPECT_TRUE(ParseCommandLine({"D:\\", "--help"}).Help);
  EXPECT_EQ(ParseCommandLine({"--nosearch", "D:\\"}).Problem, "Unknown option --nosearch");
  EXPECT_EQ(ParseCommandLine({"a", "b", "c", "d"}).Problem, "Too many arguments: d");
  const TCommandLine Line = ParseCommandLine({"--", "--odd folder", "--no-search"});
  EXPECT_TRUE(Line.Problem.empty());
  EXPECT_TRUE(Line.Search);
  EXPECT_EQ(Line.Fields, (std::vector<std::string>{"--odd folder", "--no-search"}));
  EXPECT_NE(CommandLineUsage().find("--no-search"), std::string::npos);
}
