// The platform's file system on what users and disks hand it besides plain files: paths that are
// missing, locked, devices, folders, links, names the classic API mangles, and saves that fail.
#include <windows.h>
#include <gtest/gtest.h>

#include "core/FileSystem.h"
#include "core/TemporaryName.h"
#include "platform/Platform.h"
#include "platform/win32/WideText.h"
#include "tests/support/TempFolder.h"

namespace {

TFileSystem& Fs() { return PlatformFileSystem(); }

// Names in the folder, "." and ".." left out.
std::vector<std::string> Listed(TFolderListing& Listing) {
  std::vector<std::string> Names;
  TFileEntry Entry;
  while (Listing.Next(Entry))
    if (Entry.Name != "." && Entry.Name != "..") Names.push_back(Entry.Name);
  std::sort(Names.begin(), Names.end());
  return Names;
}

std::vector<std::string> Listed(const std::string& Folder) {
  auto Listing = Fs().OpenFolder(Folder);
  return Listing ? Listed(*Listing) : std::vector<std::string>{"(cannot list)"};
}

}  // namespace

TEST(Win32OddPathsTest, AMissingPathIsFalseEverywhereAndSaysWhy) {
  TTempFolder Tree;
  const std::string Missing = Tree.Path("missing/file.txt");
  TFileEntry Entry;
  std::string Data = "stale";
  EXPECT_FALSE(Fs().FileExists(Missing));
  EXPECT_FALSE(Fs().DirectoryExists(Tree.Path("missing")));
  EXPECT_FALSE(Fs().FindEntry(Missing, Entry));
  EXPECT_TRUE(Entry.Name.empty());
  EXPECT_FALSE(Fs().ReadFile(Missing, 100, Data));
  EXPECT_TRUE(Data.empty());
  EXPECT_FALSE(Fs().ReadFileInPieces(Missing, [](std::string_view) { ADD_FAILURE(); }));
  EXPECT_EQ(Fs().OpenFolder(Tree.Path("missing")), nullptr);
  EXPECT_FALSE(Fs().RemoveFile(Missing));
  // A save into a folder that is not there fails and leaves nothing behind.
  EXPECT_FALSE(Fs().WriteFileAtomically(Missing, "x"));
  EXPECT_EQ(Fs().CreateFileAtomically(Missing), nullptr);
  const std::string Why = Fs().LastErrorText();
  EXPECT_FALSE(Why.empty());
  EXPECT_NE(Why.back(), '\n');
  EXPECT_TRUE(Listed(Tree.Path()).empty());
}

TEST(Win32OddPathsTest, FoldersAndDevicesAreNeverReadAsFiles) {
  TTempFolder Tree;
  Tree.MakeFolder("sub");
  std::string Data;
  EXPECT_FALSE(Fs().ReadFile(Tree.Path("sub"), 100, Data));
  EXPECT_FALSE(Fs().FileExists(Tree.Path("sub")));
  EXPECT_FALSE(Fs().RemoveFile(Tree.Path("sub")));
  EXPECT_TRUE(Fs().DirectoryExists(Tree.Path("sub")));
  // A device never ends and a console waits for a typist: both are refused at once.
  EXPECT_FALSE(Fs().ReadFile("NUL", 100, Data));
  EXPECT_FALSE(Fs().ReadFile("CON", 100, Data));
  EXPECT_FALSE(Fs().ReadFile(Tree.Path("sub") + "\\NUL", 100, Data));
}

TEST(Win32OddPathsTest, AFileLockedByAnotherWriterIsUnreadableButStillThere) {
  TTempFolder Tree;
  Tree.WriteFile("locked.txt", "secret");
  const std::wstring Path = Tree.Native("locked.txt").wstring();
  const HANDLE Lock = CreateFileW(Path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(Lock, INVALID_HANDLE_VALUE);
  std::string Data = "stale";
  EXPECT_FALSE(Fs().ReadFile(Tree.Path("locked.txt"), 100, Data));
  EXPECT_TRUE(Data.empty());
  EXPECT_TRUE(Fs().FileExists(Tree.Path("locked.txt")));
  // Whether a locked file can be replaced is the system's choice; either way the file is whole, old
  // or new, and the save's temporary file is gone.
  const bool Saved = Fs().WriteFileAtomically(Tree.Path("locked.txt"), "new");
  CloseHandle(Lock);
  EXPECT_EQ(Tree.ReadFile("locked.txt"), Saved ? "new" : "secret");
  EXPECT_EQ(Listed(Tree.Path()), std::vector<std::string>{"locked.txt"});
}

TEST(Win32OddPathsTest, AnAbandonedSaveLeavesTheOldFileAndTheNextSaveClearsKilledOnes) {
  TTempFolder Tree;
  Tree.WriteFile("data.txt", "old");
  {
    auto Writer = Fs().CreateFileAtomically(Tree.Path("data.txt"));
    ASSERT_NE(Writer, nullptr);
    EXPECT_TRUE(Writer->Write("half of the new"));
  }  // gone without Commit
  EXPECT_EQ(Tree.ReadFile("data.txt"), "old");
  EXPECT_EQ(Listed(Tree.Path()), std::vector<std::string>{"data.txt"});
  // What a save killed half way leaves behind goes with the next save of the same file, and only that.
  Tree.WriteFile(TemporaryNameFor("data.txt"), "killed");
  Tree.WriteFile("data.txt.keep", "other");
  EXPECT_TRUE(Fs().WriteFileAtomically(Tree.Path("data.txt"), "new"));
  EXPECT_EQ(Tree.ReadFile("data.txt"), "new");
  EXPECT_EQ(Listed(Tree.Path()), (std::vector<std::string>{"data.txt", "data.txt.keep"}));
}

TEST(Win32OddPathsTest, ASaveThroughALinkReplacesItsTargetAndKeepsTheLink) {
  TTempFolder Tree;
  Tree.WriteFile("real/target.txt", "old");
  const std::wstring Link = Tree.Native("link.txt").wstring();
  if (!CreateSymbolicLinkW(Link.c_str(), L"real\\target.txt", 0) ||
      GetFileAttributesW(Link.c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "no symbolic links here";
  TFileEntry Entry;
  ASSERT_TRUE(Fs().FindEntry(Tree.Path("link.txt"), Entry));
  EXPECT_TRUE(Entry.IsLink());
  ASSERT_TRUE(Fs().WriteFileAtomically(Tree.Path("link.txt"), "new"));
  EXPECT_EQ(Tree.ReadFile("real/target.txt"), "new");
  ASSERT_TRUE(Fs().FindEntry(Tree.Path("link.txt"), Entry));
  EXPECT_TRUE(Entry.IsLink());
  std::string Data;
  EXPECT_TRUE(Fs().ReadFile(Tree.Path("link.txt"), 10, Data));
  EXPECT_EQ(Data, "new");
}

TEST(Win32OddPathsTest, SubfoldersOpenByTheirListedNamesPastTheClassicLengthLimit) {
  TTempFolder Tree;
  // Built with the platform's long form, since the classic calls stop at 260 characters.
  std::wstring Folder = ExtendedFolderW(Tree.Path());
  for (int Level = 0; Level < 10; ++Level) {
    Folder += L"\\" + std::wstring(40, wchar_t(L'k' + Level));
    ASSERT_TRUE(CreateDirectoryW(Folder.c_str(), nullptr));
  }
  const HANDLE File =
      CreateFileW((Folder + L"\\\x65E5.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(File, INVALID_HANDLE_VALUE);
  CloseHandle(File);
  ASSERT_GT(Folder.size(), 400u);
  auto Listing = Fs().OpenFolder(Tree.Path());
  ASSERT_NE(Listing, nullptr);
  for (int Level = 0; Level < 10; ++Level) {
    const std::vector<std::string> Names = Listed(*Listing);
    ASSERT_EQ(Names.size(), 1u) << Level;
    Listing = Listing->OpenSubfolder(Names[0]);
    ASSERT_NE(Listing, nullptr) << Level;
  }
  EXPECT_EQ(Listed(*Listing), std::vector<std::string>{"\xE6\x97\xA5.txt"});
  EXPECT_EQ(Listing->OpenSubfolder("no such folder"), nullptr);
  Listing.reset();
  // The temporary folder's own removal cannot reach so deep: the tree goes innermost first.
  ASSERT_TRUE(DeleteFileW((Folder + L"\\\x65E5.txt").c_str()));
  for (int Level = 0; Level < 10; ++Level) {
    ASSERT_TRUE(RemoveDirectoryW(Folder.c_str()));
    Folder.resize(Folder.find_last_of(L'\\'));
  }
}

TEST(Win32OddPathsTest, PathKeysFoldEveryLetterAsTheFileSystemDoes) {
  const auto Key = [](std::string Path) {
    Fs().PathKey(Path);
    return Path;
  };
  EXPECT_EQ(Key("c:\\Data\\file.TXT"), Key("C:\\DATA\\FILE.txt"));
  EXPECT_EQ(Key("C:\\caf\xC3\xA9"), Key("C:\\CAF\xC3\x89"));  // é and É
  EXPECT_EQ(Key("C:\\\xCF\x89"), Key("C:\\\xCE\xA9"));        // ω and Ω
  EXPECT_NE(Key("C:\\stra\xC3\x9F"
                "e"),
            Key("C:\\STRASSE"));  // ß is one letter, not two
  EXPECT_NE(Key("C:\\a b"), Key("C:\\a  b"));
  EXPECT_EQ(Key("C:\\caf\xC3\xA9").size(), std::string("C:\\CAF\xC3\x89").size());
}

TEST(Win32OddPathsTest, FullPathResolvesOnlyWhatIsRelative) {
  wchar_t Current[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, Current);
  std::string Here = Narrow(Current);
  if (Here.back() != '\\') Here += '\\';
  EXPECT_EQ(Fs().FullPath("sub\\x.txt"), Here + "sub\\x.txt");
  EXPECT_EQ(Fs().FullPath("C:"), "C:");  // the root of drive C, as the walk takes it
  EXPECT_EQ(Fs().FullPath("C:\\a\\..\\b"), "C:\\a\\..\\b");
  EXPECT_EQ(Fs().FullPath("\\\\server\\share\\x"), "\\\\server\\share\\x");
  EXPECT_EQ(Fs().FullPath(""), "");
}

TEST(Win32LongPathTest, OnlyPathsNearTheLimitTakeTheLongFormWhichKeepsEveryName) {
  const std::string Short = "C:\\" + std::string(MAX_PATH - 16, 'a');  // MAX_PATH - 13 characters
  EXPECT_EQ(LongPathW(Short), Widen(Short));
  const std::string Long = Short + "b";
  EXPECT_EQ(LongPathW(Long), L"\\\\?\\" + Widen(Long));
  EXPECT_EQ(LongPathW("C:/x/y"), L"C:\\x\\y");
  const std::string Unc = "\\\\server\\share\\" + std::string(MAX_PATH, 'u');
  EXPECT_EQ(LongPathW(Unc), L"\\\\?\\UNC\\server\\share\\" + std::wstring(MAX_PATH, L'u'));
  EXPECT_EQ(LongPathW("\\\\?\\C:\\x"), L"\\\\?\\C:\\x");
  EXPECT_EQ(ExtendedFolderW("C:"), L"\\\\?\\C:");
  EXPECT_EQ(ExtendedFolderW("C:\\data\\"), L"\\\\?\\C:\\data");
}

TEST(Win32WideTextTest, TextOutsideTheBasicPlaneRoundTrips) {
  const std::string Text = "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80z";  // 1, 2, 3 and 4 bytes
  const std::wstring Wide = Widen(Text);
  EXPECT_EQ(Wide, L"a\x00E9\x65E5\xD83D\xDE00z");
  EXPECT_EQ(Narrow(Wide), Text);
  std::string Reused = "longer text that is overwritten";
  NarrowInto(L"plain", Reused);
  EXPECT_EQ(Reused, "plain");
  NarrowInto(Wide, Reused);
  EXPECT_EQ(Reused, Text);
  EXPECT_EQ(ToU16(Wide), u"a\u00E9\u65E5\U0001F600z");
  EXPECT_EQ(FromU16(ToU16(Wide)), Wide);
}
