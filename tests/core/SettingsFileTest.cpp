#include <gtest/gtest.h>

#include "core/Exceptions.h"
#include "core/SettingsFile.h"
#include "platform/Platform.h"
#include "tests/support/TempFolder.h"

using Lines = std::vector<std::string>;

TEST(SettingsFileTest, MixedLineEndsAndEmptyLines) {
  EXPECT_EQ(SplitSettingsLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitSettingsLines("a\r\n\r\nb\n\nc\r\r"), (Lines{"a", "", "b", "", "c", ""}));
  EXPECT_EQ(SplitSettingsLines("a\n\r"), (Lines{"a", ""}));  // LF then a lone CR: two line ends
  EXPECT_EQ(SplitSettingsLines(""), Lines{});
  EXPECT_EQ(SplitSettingsLines("last\r\n"), Lines{"last"});
}

TEST(SettingsFileTest, ReadingStopsAtTheFirstZeroByte) {
  EXPECT_EQ(SplitSettingsLines(std::string("one\r\ntw\0o\r\nthree\r\n", 18)), (Lines{"one", "tw"}));
}

TEST(SettingsFileTest, InvalidUtf8IsReadInTheAnsiCodePage) {
  EXPECT_EQ(SplitSettingsLines("C:\\Caf\xE9\r\nD:\\x\r\n"), (Lines{"C:\\Caf\xC3\xA9", "D:\\x"}));
  EXPECT_EQ(SplitSettingsLines("C:\\Caf\xC3\xA9\r\n"), (Lines{"C:\\Caf\xC3\xA9"}));
}

TEST(SettingsFileTest, EveryLineEndsInCrLf) {
  EXPECT_EQ(JoinSettingsLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(JoinSettingsLines({}), "");
}

TEST(SettingsFileTest, WriteThenReadRoundTrip) {
  TTempFolder Folder;
  const std::string Path = Folder.Path("history.ini");
  const Lines Written = {"*.txt", "", "\xE6\x97\xA5\xE6\x9C\xAC", "C:\\Data"};
  WriteSettingsFile(Path, Written, PlatformFileSystem());
  EXPECT_EQ(Folder.ReadFile("history.ini"), "*.txt\r\n\r\n\xE6\x97\xA5\xE6\x9C\xAC\r\nC:\\Data\r\n");
  EXPECT_EQ(ReadSettingsFile(Path, PlatformFileSystem()), Written);
}

TEST(SettingsFileTest, FailedWriteLeavesTheOldFileWhole) {
  TTempFolder Folder;
  Folder.WriteFile("keep.ini", "old\r\n");
  // A folder in the way of the temporary file's rename: the write must fail, not truncate.
  const std::string Blocked = Folder.Path("blocked");
  Folder.MakeFolder("blocked/inner");
  EXPECT_THROW(WriteSettingsFile(Blocked, {"x"}, PlatformFileSystem()), EFileError);
  EXPECT_THROW(WriteSettingsFile(Folder.Path("missing/keep.ini"), {"x"}, PlatformFileSystem()), EFileError);
  WriteSettingsFile(Folder.Path("keep.ini"), {"new"}, PlatformFileSystem());
  EXPECT_EQ(Folder.ReadFile("keep.ini"), "new\r\n");
  // No temporary file is left behind.
  int Count = 0;
  for (const auto& Item : std::filesystem::directory_iterator(Folder.Native(""))) (void)Item, ++Count;
  EXPECT_EQ(Count, 2);
}

TEST(SettingsFileTest, ReadingAMissingFileReportsIt) {
  TTempFolder Folder;
  try {
    ReadSettingsFile(Folder.Path("none.ini"), PlatformFileSystem());
    FAIL() << "expected EFileError";
  } catch (const EFileError& E) {
    EXPECT_NE(std::string(E.what()).find("none.ini"), std::string::npos);
  }
}
