#include <gtest/gtest.h>

#include <map>
#include <set>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include "core/Clock.h"
#include "core/FileSystem.h"
#include "platform/Platform.h"
#include "tests/support/TempFolder.h"

namespace {
std::map<std::string, TFileEntry> ListFolder(const std::string& Folder) {
  std::map<std::string, TFileEntry> Found;
  auto Listing = PlatformFileSystem().OpenFolder(Folder);
  EXPECT_TRUE(Listing);
  TFileEntry Entry;
  while (Listing && Listing->Next(Entry))
    if (Listing->ReadDetails(Entry)) Found[Entry.Name] = Entry;
  return Found;
}
}  // namespace

TEST(FileSystemTest, ListsFilesFoldersHiddenAndNonAsciiNames) {
  TTempFolder Tree;
  const std::string Big(300000, 'x');
  Tree.WriteFile("big.bin", Big);
  Tree.WriteFile(".hidden", "h");
  Tree.WriteFile("caf\xC3\xA9 \xE6\x97\xA5.txt", "abc");
  Tree.MakeFolder("empty");
  const auto Found = ListFolder(Tree.Path());
  ASSERT_EQ(Found.count("big.bin"), 1u);
  EXPECT_EQ(Found.at("big.bin").Size, 300000u);
  EXPECT_FALSE(Found.at("big.bin").IsDirectory());
  ASSERT_EQ(Found.count(".hidden"), 1u);
  ASSERT_EQ(Found.count("caf\xC3\xA9 \xE6\x97\xA5.txt"), 1u);
  EXPECT_EQ(Found.at("caf\xC3\xA9 \xE6\x97\xA5.txt").Size, 3u);
  ASSERT_EQ(Found.count("empty"), 1u);
  EXPECT_TRUE(Found.at("empty").IsDirectory());
  EXPECT_EQ(Found.at("empty").Size, 0u);
  // Modification times are local, recent and to the second.
  const TDateTimeParts Parts = DecodeDateTime(Found.at("big.bin").Time);
  EXPECT_EQ(Parts.Millisecond, 0);
  EXPECT_NEAR(Found.at("big.bin").Time, ProgramClock().Now(), 1.0 / 24);
}

TEST(FileSystemTest, EmptyFolderAndMissingFolder) {
  TTempFolder Tree;
  Tree.MakeFolder("empty");
  for (const auto& Item : ListFolder(Tree.Path("empty"))) EXPECT_TRUE(Item.first == "." || Item.first == "..");
  EXPECT_EQ(PlatformFileSystem().OpenFolder(Tree.Path("missing")), nullptr);
}

TEST(FileSystemTest, FindEntryByFullPath) {
  TTempFolder Tree;
  Tree.WriteFile("Sub/Notes.TXT", "12345");
  TFileEntry Entry;
  ASSERT_TRUE(PlatformFileSystem().FindEntry(Tree.Path("Sub/Notes.TXT"), Entry));
  EXPECT_EQ(Entry.Name, "Notes.TXT");
  EXPECT_EQ(Entry.Size, 5u);
  ASSERT_TRUE(PlatformFileSystem().FindEntry(Tree.Path("Sub"), Entry));
  EXPECT_EQ(Entry.Name, "Sub");
  EXPECT_TRUE(Entry.IsDirectory());
  EXPECT_FALSE(PlatformFileSystem().FindEntry(Tree.Path("Sub/none.txt"), Entry));
  EXPECT_TRUE(Entry.Name.empty());
  EXPECT_EQ(Entry.Size, 0u);
  EXPECT_EQ(Entry.Time, 0.0);
  EXPECT_FALSE(PlatformFileSystem().FindEntry("", Entry));
}

TEST(FileSystemTest, ReadFileRespectsTheLimit) {
  TTempFolder Tree;
  Tree.WriteFile("data.bin", std::string("ab\0cd", 5));
  std::string Data;
  ASSERT_TRUE(PlatformFileSystem().ReadFile(Tree.Path("data.bin"), 3, Data));
  EXPECT_EQ(Data, std::string("ab\0", 3));
  ASSERT_TRUE(PlatformFileSystem().ReadFile(Tree.Path("data.bin"), 100, Data));
  EXPECT_EQ(Data.size(), 5u);
  EXPECT_FALSE(PlatformFileSystem().ReadFile(Tree.Path("none.bin"), 100, Data));
  EXPECT_FALSE(PlatformFileSystem().ReadFile(Tree.Path(), 100, Data));
}

TEST(FileSystemTest, ExistenceTestsAndDelete) {
  TTempFolder Tree;
  Tree.WriteFile("f.txt", "x");
  TFileSystem& Fs = PlatformFileSystem();
  EXPECT_TRUE(Fs.FileExists(Tree.Path("f.txt")));
  EXPECT_FALSE(Fs.FileExists(Tree.Path()));
  EXPECT_TRUE(Fs.DirectoryExists(Tree.Path()));
  EXPECT_FALSE(Fs.DirectoryExists(Tree.Path("f.txt")));
  EXPECT_FALSE(Fs.DirectoryExists(""));
  EXPECT_FALSE(Fs.RemoveFile(Tree.Path()));
  EXPECT_TRUE(Fs.RemoveFile(Tree.Path("f.txt")));
  EXPECT_FALSE(Fs.FileExists(Tree.Path("f.txt")));
  EXPECT_FALSE(Fs.RemoveFile(Tree.Path("f.txt")));
}

TEST(FileSystemTest, ExecutableFolderEndsInADelimiter) {
  const std::string Folder = ExecutableFolder();
  ASSERT_FALSE(Folder.empty());
  EXPECT_EQ(Folder.back(), PlatformFileSystem().PathDelimiter());
  EXPECT_TRUE(PlatformFileSystem().DirectoryExists(Folder.substr(0, Folder.size() - 1)));
}

namespace {
// Holds a file open as a save in progress holds its temporary file.
class TSaveInProgress {
 public:
  explicit TSaveInProgress(const std::filesystem::path& File) {
    std::ofstream(File) << "being written";
#ifdef _WIN32
    FHandle = CreateFileW(File.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
#else
    FFd = open(File.c_str(), O_WRONLY);
    flock(FFd, LOCK_EX);
#endif
  }
  ~TSaveInProgress() {
#ifdef _WIN32
    CloseHandle(FHandle);
#else
    close(FFd);
#endif
  }

 private:
#ifdef _WIN32
  HANDLE FHandle;
#else
  int FFd;
#endif
};
}  // namespace

TEST(FileSystemTest, ASaveRemovesTheTemporaryFilesOfKilledSavesOnly) {
  TTempFolder Tree;
  Tree.WriteFile("search.cache.tmp4242", "left by a killed save of an older version");
  Tree.WriteFile("search.cache.tmp0123456789abcdef", "left by a killed save");
  Tree.WriteFile("search.cache.tmp-mine.txt", "not a name of ours");
  const TSaveInProgress Other(Tree.Native("search.cache.tmpfedcba9876543210"));
  ASSERT_TRUE(PlatformFileSystem().WriteFileAtomically(Tree.Path("search.cache"), "paths"));
  std::set<std::string> Left;
  for (const auto& Item : std::filesystem::directory_iterator(Tree.Native("")))
    Left.insert(Item.path().filename().u8string());
  EXPECT_EQ(Left,
            (std::set<std::string>{"search.cache", "search.cache.tmp-mine.txt", "search.cache.tmpfedcba9876543210"}));
  EXPECT_EQ(Tree.ReadFile("search.cache"), "paths");
}

#ifndef _WIN32
TEST(FileSystemTest, ASaveWritesThroughALink) {
  TTempFolder Tree;
  Tree.WriteFile("real/target.cache", "old");
  std::filesystem::create_symlink("real/target.cache", Tree.Native("search.cache"));
  ASSERT_TRUE(PlatformFileSystem().WriteFileAtomically(Tree.Path("search.cache"), "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(Tree.Native("search.cache")));
  EXPECT_EQ(Tree.ReadFile("real/target.cache"), "new");
}
#endif
