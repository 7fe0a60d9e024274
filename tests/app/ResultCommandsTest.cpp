#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/ResultCommands.h"
#include "gridview/ColumnClasses.h"
#include "gridview/GridModel.h"
#include "results/ResultRows.h"
#include "tests/app/ResultGrid.h"

namespace {

// A disk of paths (true for a folder) and a shell that records its requests and recycles from it.
class TFakeDisk : public TFileSystem, public TShell {
 public:
  std::map<std::string, bool> Paths;
  std::set<std::string> Locked;    // neither the shell nor the file system can remove these
  std::set<std::string> Declined;  // the user answers No to the shell's question for these
  std::vector<TShellRequest> Requests;
  std::vector<std::string> Recycled;
  std::string Clipboard;
  std::map<std::string, std::string> Written;

  char PathDelimiter() const override { return '\\'; }
  std::unique_ptr<TFolderListing> OpenFolder(const std::string&) override { return nullptr; }
  bool FindEntry(const std::string&, TFileEntry&) override { return false; }
  bool ReadFile(const std::string&, std::size_t, std::string&, std::uint64_t*) override { return false; }
  bool WriteFileAtomically(const std::string& Path, const std::string& Data) override {
    if (Path.empty()) return false;
    Written[Path] = Data;
    return true;
  }
  bool FileExists(const std::string& Path) override { return Paths.count(Path) && !Paths[Path]; }
  bool DirectoryExists(const std::string& Path) override { return Paths.count(Path) && Paths[Path]; }
  bool RemoveFile(const std::string& Path) override {
    return FileExists(Path) && !Locked.count(Path) && Paths.erase(Path);
  }
  std::string LastErrorText() override { return "Access is denied."; }

  void Execute(const TShellRequest& Request) override { Requests.push_back(Request); }
  TShellResult Recycle(const std::string& Path, std::string& Reason) override {
    Recycled.push_back(Path);
    if (Declined.count(Path)) return srDeclined;
    if (Locked.count(Path)) Reason = "The file is in use.";
    return !Locked.count(Path) && Paths.erase(Path) ? srDone : srFailed;
  }
  bool SetClipboardText(const std::string& Text) override {
    Clipboard = Text;
    return true;
  }
  bool OpenWith(const std::string& Path, void*) override {
    OpenedWith.push_back(Path);
    return Path.find("no-choice") == std::string::npos;
  }
  void ShowProperties(const std::vector<std::string>& Items, void*) override { Properties.push_back(Items); }
  std::vector<std::string> OpenedWith;
  std::vector<std::vector<std::string>> Properties;
};

class ResultCommandsTest : public ::testing::Test {
 protected:
  ResultCommandsTest() {
    Commands.OnConfirm = [this](const std::string& Question) {
      Questions.push_back(Question);
      return Answer;
    };
  }
  // A result row for a file or folder that is on the fake disk.
  void AddFile(const std::string& Folder, const std::string& Name, std::uint64_t Size = 0) {
    Grid.AddResult(Folder, Name, Size, false);
    Disk.Paths[Folder + "\\" + Name] = false;
  }
  void AddFolder(const std::string& Folder, const std::string& Name) {
    Grid.AddResult(Folder, Name, 0, true);
    Disk.Paths[Folder + "\\" + Name] = true;
  }
  void Select(std::initializer_list<int> Rows) {
    for (int Row : Rows) Grid.SetRowSelected(Row, true);
  }
  std::vector<std::string> Names() {
    std::vector<std::string> Out;
    for (int Row = 0; Row < Grid.RowCount(); ++Row) Out.push_back(Rows.CellText(rcName, Row));
    return Out;
  }
  std::vector<int> SelectedRows() {
    std::vector<int> Out;
    for (int Row = 0; Row < Grid.RowCount(); ++Row)
      if (Grid.RowSelected(Row)) Out.push_back(Row);
    return Out;
  }

  TTestResultGrid Grid;
  TGridResultRows Rows{Grid.Results};
  TFakeDisk Disk;
  TResultCommands Commands{Rows, Disk, Disk};
  std::vector<std::string> Questions;
  bool Answer = true;
};

using Strings = std::vector<std::string>;

}  // namespace

TEST_F(ResultCommandsTest, PathsComeFromTheFolderAndNameColumnsWhereverTheyAre) {
  AddFile("C:\\Data", "a.txt");
  EXPECT_EQ(Commands.RowPath(0), "C:\\Data\\a.txt");
  // Columns are found by caption: moving them changes nothing, the last of two captions counts.
  Grid.Columns().Move(rcFolder, 0);
  EXPECT_EQ(Commands.RowPath(0), "C:\\Data\\a.txt");
  Grid.Columns().Items(rcType)->Header().SetCaption(u"Folder");
  EXPECT_EQ(Commands.RowPath(0), "Text Document\\a.txt");
  // With no "Name" column, column 0 (the image column: "0" for a file) stands in.
  Grid.Columns().Items(rcName)->Header().SetCaption(u"Title");
  EXPECT_EQ(Commands.RowPath(0), "Text Document\\0");
}

TEST_F(ResultCommandsTest, CurrentPathIsEmptyWithoutAValidCurrentRow) {
  EXPECT_EQ(Commands.CurrentPath(), "");
  AddFile("C:\\Data", "a.txt");
  AddFile("C:\\Data", "b.txt");
  Grid.SetCurrentRow(1);
  EXPECT_EQ(Commands.CurrentPath(), "C:\\Data\\b.txt");
  Grid.DeleteRow(1);  // the current row now stands past the end
  EXPECT_EQ(Commands.CurrentPath(), "");
}

TEST_F(ResultCommandsTest, OpenAndExploreHandTheCurrentRowToTheShell) {
  AddFile("C:\\Data", "a.txt");
  AddFile("C:", "b.txt");
  Commands.Open();
  Commands.Explore();
  Grid.SetCurrentRow(1);
  Commands.Explore();
  ASSERT_EQ(Disk.Requests.size(), 3u);
  TShellRequest Open;
  Open.Verb = "OPEN";
  Open.File = "C:\\Data\\a.txt";
  Open.Directory = "";
  Open.ShowMode = smNormal;
  EXPECT_EQ(Disk.Requests[0], Open);
  TShellRequest Explore = Open;
  Explore.File = "explorer.exe";
  Explore.Parameters = "\"C:\\Data\\\"";
  EXPECT_EQ(Disk.Requests[1], Explore);
  EXPECT_EQ(Disk.Requests[2].Parameters, "\"C:\\\"");

  // Without a current row Open asks nothing, and the explorer is started on its default folder.
  Grid.ClearRows();
  Disk.Requests.clear();
  Commands.Open();
  Commands.Explore();
  ASSERT_EQ(Disk.Requests.size(), 1u);
  EXPECT_EQ(Disk.Requests[0].File, "explorer.exe");
  EXPECT_EQ(Disk.Requests[0].Parameters, "\"\"");
}

TEST_F(ResultCommandsTest, PermanentDeleteOfOneFileAsksByNameAndCancelChangesNothing) {
  AddFile("C:\\Data", "a.txt");
  AddFile("C:\\Data", "b.txt");
  Select({0});
  Answer = false;
  Commands.DeleteSelected(true);
  EXPECT_EQ(Questions, Strings{"Are you sure you want to delete C:\\Data\\a.txt?"});
  EXPECT_TRUE(Disk.FileExists("C:\\Data\\a.txt"));
  EXPECT_EQ(Names(), (Strings{"a.txt", "b.txt"}));
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});

  Answer = true;
  Commands.DeleteSelected(true);
  EXPECT_FALSE(Disk.FileExists("C:\\Data\\a.txt"));
  EXPECT_TRUE(Disk.FileExists("C:\\Data\\b.txt"));
  EXPECT_EQ(Names(), Strings{"b.txt"});
  EXPECT_TRUE(Disk.Recycled.empty());
}

TEST_F(ResultCommandsTest, PermanentDeleteOfSeveralRowsCountsThem) {
  for (const char* Name : {"a", "b", "c", "d"}) AddFile("C:\\Data", Name);
  Select({0, 2, 3});  // the last row too
  Commands.DeleteSelected(true);
  EXPECT_EQ(Questions, Strings{"Are you sure you want to delete the 3 selected files?"});
  EXPECT_EQ(Names(), Strings{"b"});
  EXPECT_TRUE(SelectedRows().empty());
}

TEST_F(ResultCommandsTest, TheQuestionNamesTheSelectedRowNotTheCurrentOne) {
  AddFile("C:\\Data", "keep.txt");
  AddFile("C:\\Data", "delete.txt");
  Grid.SetCurrentRow(0);
  Grid.SetRowSelected(0, false);
  Select({1});
  Commands.DeleteSelected(true);
  EXPECT_EQ(Questions, Strings{"Are you sure you want to delete C:\\Data\\delete.txt?"});
  EXPECT_EQ(Names(), Strings{"keep.txt"});
}

TEST_F(ResultCommandsTest, RecycleIsOneShellOperationPerRowAndOnlyVanishedRowsLeave) {
  for (const char* Name : {"a", "b", "c", "d"}) AddFile("C:\\Data", Name);
  Disk.Locked.insert("C:\\Data\\b");
  Select({1, 2, 3});
  Commands.DeleteSelected(false);
  EXPECT_TRUE(Questions.empty());  // the shell asks, not the program
  EXPECT_EQ(Disk.Recycled, (Strings{"C:\\Data\\b", "C:\\Data\\c", "C:\\Data\\d"}));
  EXPECT_EQ(Names(), (Strings{"a", "b"}));
  EXPECT_TRUE(SelectedRows().empty());
}

TEST_F(ResultCommandsTest, AFolderRowLeavesOnlyWhenTheFolderIsGone) {
  AddFolder("C:\\Data", "Kept");
  AddFolder("C:\\Data", "Recycled");
  AddFile("C:\\Data\\Kept", "a.txt");
  Select({0, 2});
  Commands.DeleteSelected(true);  // deletes files only
  EXPECT_EQ(Names(), (Strings{"Kept", "Recycled"}));
  EXPECT_TRUE(SelectedRows().empty());
  EXPECT_TRUE(Disk.DirectoryExists("C:\\Data\\Kept"));

  Select({1});
  Commands.DeleteSelected(false);
  EXPECT_EQ(Names(), Strings{"Kept"});
}

TEST_F(ResultCommandsTest, RowsWithoutAWholePathNeverReachTheDisk) {
  AddFile("C:\\Data", "a.txt");
  Grid.AddResult("", "", 0, false);          // both parts empty: "\" would be the root of the current drive
  Grid.AddResult("C:\\Data", "", 0, false);  // the folder itself
  Disk.Paths["C:\\Data"] = true;
  Select({1, 2});
  Commands.DeleteSelected(false);
  Commands.DeleteSelected(true);
  EXPECT_TRUE(Disk.Recycled.empty());
  EXPECT_TRUE(Questions.empty());
  EXPECT_EQ(Grid.RowCount(), 3);
  Grid.SetCurrentRow(1);
  Commands.Open();
  EXPECT_TRUE(Disk.Requests.empty());
}

TEST_F(ResultCommandsTest, CopyPutsTheSelectedPathsOnePerLine) {
  AddFile("C:\\Data", "a.txt");
  AddFile("C:\\Данные", "β.txt");
  AddFile("D:", "c.txt");
  Grid.SetCurrentRow(2);
  Commands.CopyPaths();
  EXPECT_EQ(Disk.Clipboard, "D:\\c.txt");  // nothing selected: the current row
  Grid.SetRowSelected(2, false);
  Select({0, 1});
  Commands.CopyPaths();
  EXPECT_EQ(Disk.Clipboard, "C:\\Data\\a.txt\r\nC:\\Данные\\β.txt");
}

TEST_F(ResultCommandsTest, ExportWritesEveryRowWithExactSizesAndTimes) {
  AddFile("C:\\Data", "plain.txt", 1234 * 1024 + 5);
  AddFile("C:\\A, B", "say \"hi\".txt", 10);
  AddFile("C:\\Data", "two\nlines", 0);
  AddFolder("C:\\Data", "Ünï");
  Grid.Columns().Move(rcFolder, 0);  // the export's columns are its own, whatever the grid shows
  Commands.ExportResults("C:\\out.csv");
  EXPECT_EQ(Disk.Written["C:\\out.csv"],
            "\xEF\xBB\xBFName,Size,Modified,Folder,Type\r\n"
            "plain.txt,1263621,2023-03-15T12:00:00,C:\\Data,Text Document\r\n"
            "\"say \"\"hi\"\".txt\",10,2023-03-15T12:00:00,\"C:\\A, B\",Text Document\r\n"
            "\"two\nlines\",0,2023-03-15T12:00:00,C:\\Data, File\r\n"
            "Ünï,,2023-03-15T12:00:00,C:\\Data,Folder\r\n");
  EXPECT_THROW(Commands.ExportResults(""), EFileError);
}

TEST_F(ResultCommandsTest, WhatADeleteCouldNotRemoveIsToldOnceWithItsReason) {
  std::vector<std::string> Reports;
  Commands.OnReport = [&](const std::string& Text) { Reports.push_back(Text); };
  std::string Expected = "These could not be deleted:\n";
  for (int I = 0; I < 14; ++I) {
    const std::string Name = "f" + std::to_string(I);
    AddFile("C:\\Data", Name);
    Grid.SetRowSelected(I, true);
    if (I < 12) Disk.Locked.insert("C:\\Data\\" + Name);
    if (I < 10) Expected += "\nC:\\Data\\" + Name + ": The file is in use.";
  }
  Disk.Declined.insert("C:\\Data\\f12");  // the user's own No is no failure
  Commands.DeleteSelected(false);
  EXPECT_EQ(Reports, Strings{Expected + "\nand 2 more"});
  EXPECT_EQ(Grid.RowCount(), 13);

  Reports.clear();
  AddFolder("C:\\Data", "Sub");
  Select({0, 12, 13});  // f12 goes now
  Commands.DeleteSelected(true);
  EXPECT_EQ(Reports, Strings{"These could not be deleted:\n\nC:\\Data\\f0: Access is denied.\nC:\\Data\\Sub: " +
                             std::string(TResultCommands::FolderNotDeletedText)});
  EXPECT_EQ(Grid.RowCount(), 13);

  Reports.clear();
  Select({1});
  Disk.Locked.erase("C:\\Data\\f1");
  Commands.DeleteSelected(true);
  EXPECT_TRUE(Reports.empty());
}

TEST_F(ResultCommandsTest, TheShellIsHandedTheSelectedRowsThatStillExistInRowOrder) {
  AddFile("C:\\Data", "a.txt");
  AddFile("C:\\Data", "b.txt");
  AddFolder("D:\\Archive", "old");
  AddFile("D:\\Archive", "c.txt");
  Grid.SetCurrentRow(1);
  Grid.SetRowSelected(1, false);
  EXPECT_EQ(Commands.ShellItemPaths(), Strings{"C:\\Data\\b.txt"});  // none selected: the current row
  Select({3, 0, 2});
  Disk.Paths.erase("C:\\Data\\a.txt");  // gone meanwhile
  EXPECT_EQ(Commands.ShellItemPaths(), (Strings{"D:\\Archive\\old", "D:\\Archive\\c.txt"}));
  Commands.ShowProperties(nullptr);
  EXPECT_EQ(Disk.Properties, std::vector<Strings>{Commands.ShellItemPaths()});
  // "Open with" is the current row's, and only for a file.
  Commands.OpenWith(nullptr);
  Grid.SetCurrentRow(2);
  Commands.OpenWith(nullptr);
  EXPECT_EQ(Disk.OpenedWith, Strings{"C:\\Data\\b.txt"});
  // A shell with no such choice says so.
  AddFile("C:\\Data", "no-choice.txt");
  Strings Reports;
  Commands.OnReport = [&](const std::string& Text) { Reports.push_back(Text); };
  Grid.SetCurrentRow(4);
  Commands.OpenWith(nullptr);
  EXPECT_EQ(Reports, Strings{"This system offers no choice of a program to open C:\\Data\\no-choice.txt with."});
}

TEST_F(ResultCommandsTest, AfterTheShellMovedFilesAwayTheirRowsLeaveAndTheRestStaySelected) {
  AddFile("C:\\Data", "a.txt");
  AddFile("C:\\Data", "b.txt");
  AddFile("C:\\Data", "c.txt");
  Select({0, 1});
  Disk.Paths.erase("C:\\Data\\a.txt");
  Disk.Paths.erase("C:\\Data\\c.txt");  // not selected: not the shell's doing, its row stays
  Commands.ForgetVanishedRows();
  EXPECT_EQ(Names(), (Strings{"b.txt", "c.txt"}));
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
}
