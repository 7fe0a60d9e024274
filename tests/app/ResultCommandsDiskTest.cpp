// The result commands on a real disk, with the real shell where it asks nothing the test cannot answer.
#include <windows.h>
#include <gtest/gtest.h>

#include "app/ResultCommands.h"
#include "platform/Platform.h"
#include "platform/win32/Shell.h"
#include "platform/win32/WideText.h"
#include "tests/app/ResultGrid.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/TempFolder.h"

namespace {

struct ResultCommandsDiskTest : ::testing::Test {
  ResultCommandsDiskTest() {
    Commands.OnConfirm = [this](const std::string& Question) {
      Questions.push_back(Question);
      return true;
    };
  }
  void AddRow(const std::string& Relative, bool IsFolder = false) {
    const std::string Path = Tree.Path(Relative);
    const auto Slash = Path.find_last_of('\\');
    Grid.AddResult(Path.substr(0, Slash), Path.substr(Slash + 1), 0, IsFolder);
    Grid.SetRowSelected(Grid.RowCount() - 1, true);
  }
  std::vector<std::string> Names() {
    std::vector<std::string> Out;
    for (int Row = 0; Row < Grid.RowCount(); ++Row) Out.push_back(Rows.CellText(rcName, Row));
    return Out;
  }

  TTempFolder Tree;
  TTestResultGrid Grid;
  TGridResultRows Rows{Grid.Results};
  TFileSystem& Disk = PlatformFileSystem();
  TResultCommands Commands{Rows, PlatformShell(), Disk};
  std::vector<std::string> Questions;
};

using Strings = std::vector<std::string>;

// A chain of folders below Root whose full path is longer than the classic 260 characters, removed
// again innermost first (the standard library cannot remove it under MinGW).
class TDeepFolder {
 public:
  explicit TDeepFolder(const std::string& Root) : FPath(Root), FRootLength(Root.size()) {
    for (char Part = 'a'; FPath.size() <= 300; ++Part) {
      FPath += "\\" + std::string(40, Part);
      CreateDirectoryW(LongPathW(FPath).c_str(), nullptr);
    }
  }
  ~TDeepFolder() {
    for (std::string Folder = FPath; Folder.size() > FRootLength; Folder.resize(Folder.find_last_of('\\')))
      RemoveDirectoryW(LongPathW(Folder).c_str());
  }
  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
  std::size_t FRootLength;
};

// The trash Wine moves recycled files into, as a Windows path: CTest points Wine's XDG data folder
// into the build tree; empty when the test runs without it.
std::string WineTrash() {
  wchar_t Home[MAX_PATH] = L"";
  if (!GetEnvironmentVariableW(L"XDG_DATA_HOME", Home, MAX_PATH)) return "";
  std::string Folder = "Z:" + Narrow(Home);
  for (char& C : Folder)
    if (C == '/') C = '\\';
  CreateDirectoryW(Widen(Folder).c_str(), nullptr);  // Wine makes the trash inside, not the folder itself
  return Folder + "\\Trash";
}

}  // namespace

TEST_F(ResultCommandsDiskTest, PermanentDeleteRemovesFilesOfAnyNameAndLengthButNoFolder) {
  const std::string Unicode = "\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82 \xE6\x97\xA5.txt";  // Cyrillic, CJK
  Tree.WriteFile(Unicode, "x");
  Tree.WriteFile("keep.txt", "x");
  Tree.MakeFolder("Folder");
  const TDeepFolder DeepFolder(Tree.Path());
  const std::string Deep = DeepFolder.Path() + "\\deep.txt";
  ASSERT_TRUE(Disk.WriteFileAtomically(Deep, "x"));

  AddRow(Unicode);
  AddRow("keep.txt");
  Grid.SetRowSelected(1, false);
  AddRow("Folder", true);
  const auto Slash = Deep.find_last_of('\\');
  Grid.AddResult(Deep.substr(0, Slash), "deep.txt", 1, false);
  Grid.SetRowSelected(3, true);

  Commands.DeleteSelected(true);
  EXPECT_EQ(Questions, Strings{"Are you sure you want to delete the 3 selected files?"});
  EXPECT_FALSE(Disk.FileExists(Tree.Path(Unicode)));
  EXPECT_FALSE(Disk.FileExists(Deep));
  EXPECT_TRUE(Disk.FileExists(Tree.Path("keep.txt")));
  EXPECT_TRUE(Disk.DirectoryExists(Tree.Path("Folder")));
  // The folder is still a result; it stays, deselected.
  EXPECT_EQ(Names(), (Strings{"keep.txt", "Folder"}));
  EXPECT_EQ(Grid.SelectedCount(), 0);
}

TEST_F(ResultCommandsDiskTest, APermanentDeleteThatFailsSaysWhatStayedAndWhy) {
  std::vector<std::string> Reports;
  Commands.OnReport = [&](const std::string& Text) { Reports.push_back(Text); };
  Tree.WriteFile("read-only.txt", "x");
  SetFileAttributesW(Widen(Tree.Path("read-only.txt")).c_str(), FILE_ATTRIBUTE_READONLY);
  AddRow("read-only.txt");
  Commands.DeleteSelected(true);
  EXPECT_TRUE(Disk.FileExists(Tree.Path("read-only.txt")));
  EXPECT_EQ(Names(), Strings{"read-only.txt"});
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(
      Reports[0].rfind(std::string(TResultCommands::NotDeletedText) + "\n\n" + Tree.Path("read-only.txt") + ": ", 0),
      0u)
      << Reports[0];
  EXPECT_GT(Reports[0].size(), Tree.Path("read-only.txt").size() + 40);  // the system's reason follows
  SetFileAttributesW(Widen(Tree.Path("read-only.txt")).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ResultCommandsDiskTest, RecycleMovesFilesAndFoldersToTheTrashOneQuestionOfTheShellEach) {
  const std::string Trash = WineTrash();
  const std::string Stamp = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
  const std::string File = "recycled \xD0\xB6 " + Stamp + ".txt", Folder = "Folder " + Stamp;
  Tree.WriteFile(File, "to the trash");
  Tree.WriteFile(Folder + "/inside.txt", "x");
  Tree.WriteFile("kept.txt", "x");
  AddRow(File);
  AddRow("kept.txt");
  Grid.SetRowSelected(1, false);
  AddRow(Folder, true);
  const TDeepFolder DeepFolder(Tree.Path());
  const std::string Deep = DeepFolder.Path() + "\\deep " + Stamp + ".txt";
  ASSERT_TRUE(Disk.WriteFileAtomically(Deep, "x"));
  Grid.AddResult(DeepFolder.Path(), "deep " + Stamp + ".txt", 1, false);
  Grid.SetRowSelected(3, true);
  {
    TDialogAnswerer User(IDYES);
    Commands.DeleteSelected(false);
    EXPECT_EQ(User.Answered(), 3);
  }
  EXPECT_TRUE(Questions.empty());  // the program itself asks nothing
  EXPECT_FALSE(Disk.FileExists(Tree.Path(File)));
  EXPECT_FALSE(Disk.DirectoryExists(Tree.Path(Folder)));
  EXPECT_FALSE(Disk.FileExists(Deep));
  EXPECT_EQ(Names(), Strings{"kept.txt"});
  if (Trash.empty()) return;
  EXPECT_TRUE(Disk.FileExists(Trash + "\\files\\" + File));
  EXPECT_TRUE(Disk.FileExists(Trash + "\\files\\" + Folder + "\\inside.txt"));
  std::error_code Ignored;
  EXPECT_TRUE(Disk.FileExists(Trash + "\\files\\deep " + Stamp + ".txt"));
  for (const std::string& Name : {File, Folder, "deep " + Stamp + ".txt"}) {
    std::filesystem::remove_all(std::filesystem::u8path(Trash + "\\files\\" + Name), Ignored);
    std::filesystem::remove(std::filesystem::u8path(Trash + "\\info\\" + Name + ".trashinfo"), Ignored);
  }
}
