#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "core/SettingsFolder.h"
#include "platform/Platform.h"
#include "tests/support/TempFolder.h"

namespace {

// Folders that exist and folders a file can be written in; a folder can be made only in a writable
// parent, as on a disk.
class TFolderRulesFileSystem : public TFileSystem {
 public:
  std::set<std::string> Folders, Writable, Files;

  char PathDelimiter() const override { return '\\'; }
  std::unique_ptr<TFolderListing> OpenFolder(const std::string&) override { return nullptr; }
  bool FindEntry(const std::string&, TFileEntry&) override { return false; }
  bool ReadFile(const std::string&, std::size_t, std::string&, std::uint64_t*) override { return false; }
  bool WriteFileAtomically(const std::string& Path, const std::string&) override {
    if (!Writable.count(Parent(Path))) return false;
    Files.insert(Path);
    return true;
  }
  bool FileExists(const std::string& Path) override { return Files.count(Path) > 0; }
  bool DirectoryExists(const std::string& Path) override { return Folders.count(Path) > 0; }
  bool RemoveFile(const std::string& Path) override { return Files.erase(Path) > 0; }
  bool CreateFolder(const std::string& Path) override {
    if (!Writable.count(Parent(Path))) return false;
    Folders.insert(Path);
    Writable.insert(Path);
    return true;
  }
  std::string LastErrorText() override { return "Access is denied."; }

  void AddFolder(const std::string& Path, bool CanWrite) {
    Folders.insert(Path);
    if (CanWrite) Writable.insert(Path);
  }

 private:
  static std::string Parent(const std::string& Path) { return Path.substr(0, Path.rfind('\\')); }
};

const std::string Program = "C:\\Program Files\\Torvane Search";
const std::string LocalData = "C:\\Users\\ann\\AppData\\Local";
const std::string UserSettings = LocalData + "\\Torvane Search";

}  // namespace

TEST(SettingsFolderTest, AWritableProgramFolderKeepsTheSettingsBesideTheProgram) {
  TFolderRulesFileSystem Disk;
  Disk.AddFolder(Program, true);
  Disk.AddFolder(LocalData, true);
  const TSettingsPlace Place = ChooseSettingsPlace(Disk, Program + "\\", LocalData + "\\");
  EXPECT_EQ(Place.Folder, Program + "\\");
  EXPECT_TRUE(Place.Writable);
  EXPECT_TRUE(Place.Problem.empty());
  EXPECT_TRUE(Disk.Files.empty()) << "the test file is removed";
  EXPECT_FALSE(Disk.DirectoryExists(UserSettings)) << "no folder is made that is not used";
}

TEST(SettingsFolderTest, AReadOnlyProgramFolderSendsTheSettingsToTheUsersOwnFolder) {
  TFolderRulesFileSystem Disk;
  Disk.AddFolder(Program, false);
  Disk.AddFolder(LocalData, true);
  const TSettingsPlace Place = ChooseSettingsPlace(Disk, Program + "\\", LocalData + "\\");
  EXPECT_EQ(Place.Folder, UserSettings + "\\");
  EXPECT_TRUE(Place.Writable);
  EXPECT_TRUE(Place.Problem.empty());
  EXPECT_TRUE(Disk.DirectoryExists(UserSettings));
  EXPECT_TRUE(Disk.Files.empty());
}

TEST(SettingsFolderTest, MissingParentsOfTheUsersFolderAreMade) {
  // A new home on Linux has no ~/.local/share yet.
  TFolderRulesFileSystem Disk;
  Disk.AddFolder("\\opt\\torvane", false);
  Disk.AddFolder("\\home\\ann", true);
  const TSettingsPlace Place = ChooseSettingsPlace(Disk, "\\opt\\torvane\\", "\\home\\ann\\.local\\share\\");
  EXPECT_EQ(Place.Folder, "\\home\\ann\\.local\\share\\Torvane Search\\");
  EXPECT_TRUE(Disk.DirectoryExists("\\home\\ann\\.local\\share\\Torvane Search"));
}

TEST(SettingsFolderTest, NeitherPlaceWritableIsSaidNamingBothAndTheSettingsAreStillRead) {
  TFolderRulesFileSystem Disk;
  Disk.AddFolder(Program, false);
  Disk.AddFolder(LocalData, false);
  TSettingsPlace Place = ChooseSettingsPlace(Disk, Program + "\\", LocalData + "\\");
  EXPECT_FALSE(Place.Writable);
  EXPECT_EQ(Place.Folder, Program + "\\") << "the only place there is to read from";
  EXPECT_NE(Place.Problem.find("\"" + Program + "\""), std::string::npos) << Place.Problem;
  EXPECT_NE(Place.Problem.find("\"" + UserSettings + "\""), std::string::npos) << Place.Problem;
  EXPECT_NE(Place.Problem.find("(Access is denied)"), std::string::npos) << Place.Problem;
  EXPECT_NE(Place.Problem.find("will not be kept"), std::string::npos) << Place.Problem;

  // A user folder that earlier runs filled, now read-only: its settings are still shown.
  Disk.AddFolder(UserSettings, false);
  Place = ChooseSettingsPlace(Disk, Program + "\\", LocalData + "\\");
  EXPECT_FALSE(Place.Writable);
  EXPECT_EQ(Place.Folder, UserSettings + "\\");

  // No user data folder at all.
  Place = ChooseSettingsPlace(Disk, Program + "\\", "");
  EXPECT_FALSE(Place.Writable);
  EXPECT_EQ(Place.Folder, Program + "\\");
  EXPECT_NE(Place.Problem.find("names no folder"), std::string::npos) << Place.Problem;
}

TEST(SettingsFolderTest, OnTheDiskTheTestLeavesNothingAndTheUsersFolderIsMade) {
  TTempFolder Tree;
  const char Delimiter = PlatformFileSystem().PathDelimiter();
  Tree.MakeFolder("program");
  TSettingsPlace Place = ChooseSettingsPlace(PlatformFileSystem(), Tree.Path("program") + Delimiter, "");
  EXPECT_EQ(Place.Folder, Tree.Path("program") + Delimiter);
  EXPECT_TRUE(std::filesystem::is_empty(Tree.Native("program")));

  // A program folder that is not there cannot be written: the user's folder is made, parents and all.
  const std::string Data = Tree.Path("home/data") + Delimiter;
  Place = ChooseSettingsPlace(PlatformFileSystem(), Tree.Path("gone") + Delimiter, Data);
  EXPECT_TRUE(Place.Writable) << Place.Problem;
  EXPECT_EQ(Place.Folder, Data + "Torvane Search" + Delimiter);
  EXPECT_TRUE(std::filesystem::is_directory(Tree.Native("home/data/Torvane Search")));
  EXPECT_TRUE(std::filesystem::is_empty(Tree.Native("home/data/Torvane Search")));
}

TEST(SettingsFolderTest, TheProgramsPlaceIsDecidedOnce) {
  const TSettingsPlace& First = ProgramSettingsPlace();
  EXPECT_EQ(&First, &ProgramSettingsPlace());
  ASSERT_FALSE(First.Folder.empty());
  EXPECT_EQ(First.Folder.back(), PlatformFileSystem().PathDelimiter());
}
