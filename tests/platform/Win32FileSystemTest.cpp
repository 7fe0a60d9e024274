#include <windows.h>
#include <gtest/gtest.h>

#include "core/FileSystem.h"
#include "core/SettingsFile.h"
#include "platform/Platform.h"
#include "platform/win32/WideText.h"
#include "tests/support/TempFolder.h"

TEST(Win32FileSystemTest, PathsLongerThan260CharactersWork) {
  TTempFolder Tree;
  std::string Relative;
  for (int I = 0; I < 12; ++I) Relative += (I ? "/" : "") + std::string(30, char('a' + I));
  // std::filesystem under MinGW cannot make such paths, so the program's own calls make the tree.
  std::string Folder = Tree.Path();
  for (int I = 0; I < 12; ++I) {
    Folder += "\\" + std::string(30, char('a' + I));
    ASSERT_TRUE(CreateDirectoryW(LongPathW(Folder).c_str(), nullptr)) << Folder;
  }
  ASSERT_GT(Folder.size(), 300u);
  TFileSystem& Fs = PlatformFileSystem();
  const std::string File = Folder + "\\deep.txt";
  ASSERT_TRUE(Fs.WriteFileAtomically(File, "deep text"));
  EXPECT_TRUE(Fs.FileExists(File));
  EXPECT_TRUE(Fs.DirectoryExists(Folder));
  TFileEntry Entry;
  ASSERT_TRUE(Fs.FindEntry(File, Entry));
  EXPECT_EQ(Entry.Name, "deep.txt");
  EXPECT_EQ(Entry.Size, 9u);
  std::string Data;
  ASSERT_TRUE(Fs.ReadFile(File, 4, Data));
  EXPECT_EQ(Data, "deep");
  auto Listing = Fs.OpenFolder(Folder);
  ASSERT_TRUE(Listing);
  bool Found = false;
  while (Listing->Next(Entry)) Found = Found || Entry.Name == "deep.txt";
  EXPECT_TRUE(Found);
  EXPECT_TRUE(Fs.RemoveFile(File));
  // Remove the deep folders again, innermost first, so the temporary folder can go.
  for (int I = 11; I >= 0; --I) {
    ASSERT_TRUE(RemoveDirectoryW(LongPathW(Folder).c_str()));
    Folder.resize(Folder.find_last_of('\\'));
  }
}

TEST(Win32FileSystemTest, NamesOutsideTheAnsiCodePage) {
  TTempFolder Tree;
  const std::string Name = "\xE6\x97\xA5\xE6\x9C\xAC \xD0\x96 \xF0\x9F\x98\x80.txt";  // CJK, Cyrillic, emoji
  Tree.WriteFile(Name, "abc");
  TFileSystem& Fs = PlatformFileSystem();
  EXPECT_TRUE(Fs.FileExists(Tree.Path(Name)));
  auto Listing = Fs.OpenFolder(Tree.Path());
  ASSERT_TRUE(Listing);
  TFileEntry Entry;
  bool Found = false;
  while (Listing->Next(Entry)) Found = Found || Entry.Name == Name;
  EXPECT_TRUE(Found);
  WriteSettingsFile(Tree.Path("cache.txt"), {Tree.Path(Name)}, Fs);
  EXPECT_EQ(ReadSettingsFile(Tree.Path("cache.txt"), Fs), std::vector<std::string>{Tree.Path(Name)});
}

TEST(Win32FileSystemTest, RootFolderListsWithoutItsSeparator) {
  // "C:" + "\*" lists the root of drive C, as the walk names it.
  auto Listing = PlatformFileSystem().OpenFolder("C:");
  ASSERT_TRUE(Listing);
  TFileEntry Entry;
  EXPECT_TRUE(Listing->Next(Entry));
}

TEST(Win32FileSystemTest, FindEntryRefusesWildcards) {
  TTempFolder Tree;
  Tree.WriteFile("a.txt", "x");
  TFileEntry Entry;
  EXPECT_FALSE(PlatformFileSystem().FindEntry(Tree.Path("*.txt"), Entry));
  EXPECT_FALSE(PlatformFileSystem().FindEntry(Tree.Path() + "\\", Entry));
}

TEST(Win32FileSystemTest, HiddenAndSystemEntriesAreListedWithTheirAttributes) {
  TTempFolder Tree;
  Tree.WriteFile("secret.txt", "s");
  Tree.MakeFolder("sysdir");
  ASSERT_TRUE(SetFileAttributesW(LongPathW(Tree.Path("secret.txt")).c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(SetFileAttributesW(LongPathW(Tree.Path("sysdir")).c_str(),
                                 FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN));
  auto Listing = PlatformFileSystem().OpenFolder(Tree.Path());
  ASSERT_TRUE(Listing);
  TFileEntry Entry;
  std::uint32_t SecretAttributes = 0, FolderAttributes = 0;
  bool SawDot = false;
  while (Listing->Next(Entry)) {
    if (Entry.Name == "secret.txt") SecretAttributes = Entry.Attributes;
    if (Entry.Name == "sysdir") FolderAttributes = Entry.Attributes;
    SawDot = SawDot || Entry.Name == ".";
  }
  EXPECT_TRUE(SecretAttributes & faHidden);
  EXPECT_TRUE(FolderAttributes & faSysFile);
  EXPECT_TRUE(FolderAttributes & faDirectory);
  EXPECT_TRUE(SawDot);  // a folder below a drive's root reports "." and ".."
  SetFileAttributesW(LongPathW(Tree.Path("sysdir")).c_str(), FILE_ATTRIBUTE_DIRECTORY);
  SetFileAttributesW(LongPathW(Tree.Path("secret.txt")).c_str(), FILE_ATTRIBUTE_NORMAL);
}

namespace {
// Sets a file's last write time to a local time of the zone in force, as the file manager would show it.
void SetLocalWriteTime(const std::wstring& Path, WORD Year, WORD Month, WORD Day, WORD Hour, WORD Minute) {
  const SYSTEMTIME Local{Year, Month, 0, Day, Hour, Minute, 0, 0};
  SYSTEMTIME Universal;
  FILETIME Time;
  ASSERT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &Local, &Universal));
  ASSERT_TRUE(SystemTimeToFileTime(&Universal, &Time));
  HANDLE File = CreateFileW(Path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(File, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(SetFileTime(File, nullptr, nullptr, &Time));
  CloseHandle(File);
}
}  // namespace

// Run with TZ=Europe/Berlin (see CMakeLists.txt); skipped in a zone without summer time.
TEST(Win32TimeZoneTest, ModificationTimesKeepTheOffsetOfTheirOwnDate) {
  TIME_ZONE_INFORMATION Zone;
  if (GetTimeZoneInformation(&Zone) == TIME_ZONE_ID_UNKNOWN || Zone.DaylightBias == 0)
    GTEST_SKIP() << "the time zone has no summer time";
  TTempFolder Tree;
  Tree.WriteFile("summer.txt", "s");
  Tree.WriteFile("winter.txt", "w");
  // Whatever today's offset, one of the two is in the other half of the year.
  SetLocalWriteTime(Tree.Native("summer.txt").wstring(), 2021, 7, 1, 0, 30);
  SetLocalWriteTime(Tree.Native("winter.txt").wstring(), 2021, 1, 15, 0, 30);
  for (const char* Name : {"summer.txt", "winter.txt"}) {
    TFileEntry Entry;
    ASSERT_TRUE(PlatformFileSystem().FindEntry(Tree.Path(Name), Entry));
    const TDateTimeParts Parts = DecodeDateTime(Entry.Time);
    EXPECT_EQ(Parts.Hour * 60 + Parts.Minute, 30) << Name;
    EXPECT_EQ(Parts.Day, Name[0] == 's' ? 1 : 15) << Name;
  }
}

// Local times are worked out once per quarter hour: times on either side of the change to summer
// time, to the second, still read as converting each one gives.
TEST(Win32TimeZoneTest, TimesAroundTheChangeToSummerTimeReadAsEachConverted) {
  TIME_ZONE_INFORMATION Zone;
  if (GetTimeZoneInformation(&Zone) == TIME_ZONE_ID_UNKNOWN || Zone.DaylightBias == 0)
    GTEST_SKIP() << "the time zone has no summer time";
  // The change in 2021: the moment the offset of 31 March differs from that of 1 March, found by halving.
  const auto OffsetAt = [](std::uint64_t Utc) {
    const FILETIME Time{static_cast<DWORD>(Utc), static_cast<DWORD>(Utc >> 32)};
    SYSTEMTIME Universal, Local;
    FILETIME LocalTime;
    FileTimeToSystemTime(&Time, &Universal);
    SystemTimeToTzSpecificLocalTime(nullptr, &Universal, &Local);
    SystemTimeToFileTime(&Local, &LocalTime);
    return (static_cast<std::uint64_t>(LocalTime.dwHighDateTime) << 32 | LocalTime.dwLowDateTime) - Utc;
  };
  const auto Value = [](WORD Month, WORD Day) {
    const SYSTEMTIME Date{2021, Month, 0, Day, 0, 0, 0, 0};
    FILETIME Time;
    SystemTimeToFileTime(&Date, &Time);
    return static_cast<std::uint64_t>(Time.dwHighDateTime) << 32 | Time.dwLowDateTime;
  };
  std::uint64_t Low = Value(3, 1), High = Value(4, 30);
  if (OffsetAt(Low) == OffsetAt(High)) GTEST_SKIP() << "no change between March and April";
  while (High - Low > 1) {
    const std::uint64_t Middle = Low + (High - Low) / 2;
    (OffsetAt(Middle) == OffsetAt(Low) ? Low : High) = Middle;
  }
  TTempFolder Tree;
  Tree.WriteFile("t.txt", "t");
  const std::wstring Path = Tree.Native("t.txt").wstring();
  for (const std::int64_t Seconds : {-901, -61, -3, -1, 0, 1, 3, 61, 899, 901}) {
    const std::uint64_t Utc = High + static_cast<std::uint64_t>(Seconds * 10000000);
    const FILETIME Time{static_cast<DWORD>(Utc), static_cast<DWORD>(Utc >> 32)};
    HANDLE File = CreateFileW(Path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(File, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(File, nullptr, nullptr, &Time));
    CloseHandle(File);
    const std::uint64_t Local = Utc + OffsetAt(Utc);
    const FILETIME LocalTime{static_cast<DWORD>(Local), static_cast<DWORD>(Local >> 32)};
    SYSTEMTIME Parts;
    FileTimeToSystemTime(&LocalTime, &Parts);
    TFileEntry Entry;
    ASSERT_TRUE(PlatformFileSystem().FindEntry(Tree.Path("t.txt"), Entry));
    EXPECT_EQ(Entry.Time,
              FileDateTime(Parts.wYear, Parts.wMonth, Parts.wDay, Parts.wHour, Parts.wMinute, Parts.wSecond))
        << Seconds;
  }
}
