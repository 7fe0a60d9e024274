// How a "Look in:" text names its folders: one folder, or several separated by ";".
#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "search/SearchFolders.h"
#include "tests/support/TempFolder.h"

TEST(SearchFoldersTest, AnExistingFolderWithASemicolonInItsNameIsOneFolder) {
  TTempFolder Tree;
  Tree.MakeFolder("a;b");
  Tree.MakeFolder("a");
  const TSearchFolders Folders = SplitSearchFolders(Tree.Path("a;b"), PlatformFileSystem());
  EXPECT_EQ(Folders.Folders, std::vector<std::string>{Tree.Path("a;b")});
  EXPECT_TRUE(Folders.Missing.empty());
}

TEST(SearchFoldersTest, SeveralFoldersKeepTheirOrderWithoutBlanksEmptiesRepeatsOrFoldersInsideOthers) {
  TTempFolder Tree;
  Tree.MakeFolder("b");
  Tree.MakeFolder("a/inner");
  const std::string A = Tree.Path("a"), B = Tree.Path("b");
  const TSearchFolders Folders =
      SplitSearchFolders(Tree.Path("a/inner") + " ;" + B + ";; " + A + ";" + B, PlatformFileSystem());
  EXPECT_TRUE(Folders.Several);
  EXPECT_TRUE(Folders.Missing.empty());
  EXPECT_EQ(Folders.Folders, (std::vector<std::string>{B, A}));
}

TEST(SearchFoldersTest, TheFirstMissingFolderIsNamedWhenTheTextNamesSeveral) {
  TTempFolder Tree;
  Tree.MakeFolder("a");
  TSearchFolders Folders =
      SplitSearchFolders(Tree.Path("a") + ";" + Tree.Path("gone") + ";" + Tree.Path("lost"), PlatformFileSystem());
  EXPECT_TRUE(Folders.Folders.empty());
  EXPECT_EQ(MissingFolderText(Folders), std::string(FolderMissingText) + ": " + Tree.Path("gone"));
  Folders = SplitSearchFolders(Tree.Path("gone"), PlatformFileSystem());
  EXPECT_EQ(MissingFolderText(Folders), FolderMissingText);
  Folders = SplitSearchFolders(" ; ", PlatformFileSystem());
  EXPECT_TRUE(Folders.Folders.empty());
  EXPECT_EQ(MissingFolderText(Folders), FolderMissingText);
}
