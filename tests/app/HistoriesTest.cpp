#include <gtest/gtest.h>

#include "app/Histories.h"
#include "core/Exceptions.h"
#include "platform/Platform.h"
#include "tests/support/TempFolder.h"

namespace {
using TItems = std::vector<std::string>;

struct HistoriesTest : ::testing::Test {
  TTempFolder Folder;
  std::string File = Folder.Path(NameHistoryFile);
};
}  // namespace

TEST_F(HistoriesTest, FirstSearchCreatesTheFileAndRepeatsAddNothing) {
  EXPECT_EQ(UpdateHistory(File, "*report*", PlatformFileSystem()), (TItems{"*report*", "[Clear History]"}));
  EXPECT_EQ(Folder.ReadFile(NameHistoryFile), "*report*\r\n");
  // Case is ignored; the file is written again, unchanged.
  EXPECT_EQ(UpdateHistory(File, "*REPORT*", PlatformFileSystem()), (TItems{"*report*", "[Clear History]"}));
  EXPECT_EQ(Folder.ReadFile(NameHistoryFile), "*report*\r\n");
}

TEST_F(HistoriesTest, ShownSortedWhileTheFileKeepsItsOrder) {
  Folder.WriteFile(NameHistoryFile, "b\r\nA\nc\r");
  EXPECT_EQ(UpdateHistory(File, "", PlatformFileSystem()), (TItems{"A", "b", "c", "[Clear History]"}));
  EXPECT_EQ(Folder.ReadFile(NameHistoryFile), "b\r\nA\nc\r");  // reading alone writes nothing
  EXPECT_EQ(UpdateHistory(File, "a2", PlatformFileSystem()), (TItems{"A", "a2", "b", "c", "[Clear History]"}));
  EXPECT_EQ(Folder.ReadFile(NameHistoryFile), "b\r\nA\r\nc\r\na2\r\n");
}

TEST_F(HistoriesTest, MissingFileClearingAndUnwritableFile) {
  EXPECT_TRUE(UpdateHistory(File, "", PlatformFileSystem()).empty());
  EXPECT_FALSE(Folder.ReadFile(NameHistoryFile).size());
  UpdateHistory(File, "x", PlatformFileSystem());
  EXPECT_TRUE(UpdateHistory(File, ClearHistoryText, PlatformFileSystem()).empty());
  EXPECT_EQ(Folder.ReadFile(NameHistoryFile), "");
  EXPECT_TRUE(UpdateHistory(File, "", PlatformFileSystem()).empty());
  // A folder where the file should be: the write fails with a message naming the file.
  Folder.MakeFolder("blocked");
  EXPECT_THROW(UpdateHistory(Folder.Path("blocked"), "y", PlatformFileSystem()), EFileError);
}
