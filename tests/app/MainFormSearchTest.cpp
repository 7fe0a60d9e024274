// Searches through the main window: rows read back from the grid, the status bar, cancel and close.
#include <algorithm>
#include <set>

#include "app/Histories.h"
#include "core/SettingsFile.h"
#include "core/Text.h"
#include "results/ResultList.h"
#include "results/ResultRows.h"
#include "tests/app/MainFormTest.h"

namespace {

// Real time, but every reading of the tick is a second later: each entry of the walk refreshes.
class TFastClock : public TClock {
 public:
  TDateTime Now() override { return ProgramClock().Now(); }
  std::uint32_t TickCount() override { return Tick += 1000; }
  void Sleep(std::uint32_t) override {}
  std::uint32_t Tick = 0;
};

}  // namespace

TEST_F(MainFormTest, SearchOfARealTreeFillsTheGridAndTheStatusBar) {
  Tree.WriteFile("Notes.txt", std::string(2048, 'n'));
  Tree.WriteFile("sub/deeper/report.TXT", std::string(1024, 'r'));
  Tree.WriteFile("other.doc", "d");
  Tree.MakeFolder("folder.txt");
  TForm1& Form = Start({Tree.Path(), "*.txt"});
  Form.startTimer.SetEnabled(false);
  Form.Button1Click(&Form.Button1);
  ASSERT_EQ(Names(), (std::vector<std::string>{"Notes.txt", "folder.txt", "report.TXT"}));
  for (int Row = 0; Row < Form.flist.Model().RowCount(); ++Row) {
    const std::string Name = Utf16ToUtf8(Form.flist.Model().GetCellText(rcName, Row));
    const std::string Folder = Utf16ToUtf8(Form.flist.Model().GetCellText(rcFolder, Row));
    const std::string Type = Utf16ToUtf8(Form.flist.Model().GetCellText(rcType, Row));
    if (Name == "folder.txt") {
      EXPECT_EQ(Type, "Folder");
      EXPECT_EQ(Utf16ToUtf8(Form.flist.Model().GetCellText(rcImage, Row)), "1");
    } else {
      EXPECT_EQ(Type, "Text Document");
    }
    EXPECT_EQ(Folder, Name == "report.TXT" ? Tree.Path("sub/deeper") : Tree.Path());
  }
  EXPECT_EQ(Form.StatusBar1.Panel(3).Text, "3KB");
  EXPECT_EQ(Form.StatusBar1.Panel(0).Text, "");
  EXPECT_FALSE(Form.prg.Visible());
  EXPECT_FALSE(Form.flist.Model().IsUpdating());
  EXPECT_EQ(Settings.ReadFile(NameHistoryFile), "*.txt\r\n");
  EXPECT_EQ(Settings.ReadFile(FolderHistoryFile), Tree.Path() + "\r\n");
  // A second search lists the cached hits first (their folders as the disk spells them) and nothing twice.
  Form.Button1Click(&Form.Button1);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Notes.txt", "folder.txt", "report.TXT"}));
  // The cache is written when the window goes.
  this->Form.reset();
  EXPECT_NE(Settings.ReadFile("search.cache").find("report.TXT\r\n"), std::string::npos);
}

TEST_F(MainFormTest, TheRowsOfASearchEndSortedByTheRestoredSortColumnUnderItsArrow) {
  Tree.WriteFile("a.txt", std::string(100, 'a'));
  Tree.WriteFile("b.txt", std::string(5000, 'b'));
  Tree.WriteFile("sub/c.txt", std::string(3000, 'c'));
  WriteSettingsFile(Settings.Path(LayoutFile), {"SortColumn=2", "SortDescending=1"}, PlatformFileSystem());
  TForm1& Form = Start({Tree.Path(), "*.txt"});
  Form.startTimer.SetEnabled(false);
  Form.Button1Click(&Form.Button1);
  const TCustomColumn* Size = Form.flist.Model().Columns().Items(rcSize);
  EXPECT_TRUE(Size->Sorted());
  EXPECT_EQ(Size->SortKind(), skDescending);
  std::vector<std::string> Rows;
  for (int Row = 0; Row < Form.flist.Model().RowCount(); ++Row)
    Rows.push_back(Utf16ToUtf8(Form.flist.Model().GetCellText(rcName, Row)));
  EXPECT_EQ(Rows, (std::vector<std::string>{"b.txt", "c.txt", "a.txt"}));
}

TEST_F(MainFormTest, CriteriaAreReadFromTheControlsOnce) {
  TForm1& Form = Start({Tree.Path(), "report", "Due"});
  Form.startTimer.SetEnabled(false);
  TSearchCriteria Criteria = Form.Criteria();
  EXPECT_EQ(Criteria.Folder, Tree.Path());
  EXPECT_EQ(Criteria.NameText, "*report*");
  EXPECT_EQ(Form.search.Text(), "report");  // written back only once the search starts
  EXPECT_EQ(Criteria.ContentText, "Due");
  EXPECT_FALSE(Criteria.MinimumSize || Criteria.MaximumSize || Criteria.Modified);  // boxes unchecked
  EXPECT_TRUE(Criteria.RowsNeedDetails);

  Form.sc_size.SetChecked(true);
  Form.sztp.SetItemIndex(1);  // "At Most"
  Form.edit1.SetText("12");
  Form.sc_modified.SetChecked(true);
  Form.stdate.SetDate(EncodeDate(2024, 5, 1));
  Form.nddate.SetDate(EncodeDate(2024, 5, 31));
  Criteria = Form.Criteria();
  EXPECT_FALSE(Criteria.MinimumSize);
  EXPECT_EQ(Criteria.MaximumSize, std::optional<std::uint64_t>(12 * 1024));
  ASSERT_TRUE(Criteria.Modified);
  EXPECT_EQ(DateOf(Criteria.Modified->First), EncodeDate(2024, 5, 1));
  EXPECT_EQ(DateOf(Criteria.Modified->Last), EncodeDate(2024, 5, 31));
  Form.sztp.SetItemIndex(0);
  EXPECT_EQ(Form.Criteria().MinimumSize, std::optional<std::uint64_t>(12 * 1024));
  Form.edit1.SetText("abc");  // no number: no limit, no message
  EXPECT_FALSE(Form.Criteria().MinimumSize || Form.Criteria().MaximumSize);

  Form.Button1Click(&Form.Button1);
  EXPECT_EQ(Form.search.Text(), "*report*");
}

TEST_F(MainFormTest, ProgressRefreshesShowCountsWithSeparators) {
  TFastClock Fast;
  Clock = &Fast;
  for (int I = 0; I < 1005; ++I) Tree.WriteFile("f" + std::to_string(I) + ".dat", "");
  TForm1& Form = Start({Tree.Path(), "*.dat"});
  Form.startTimer.SetEnabled(false);
  Form.Button1Click(&Form.Button1);
  EXPECT_EQ(Form.flist.Model().RowCount(), 1005);
  EXPECT_EQ(Form.StatusBar1.Panel(1).Text, "Searched 1,005 files, 1 folders");
  EXPECT_EQ(Form.StatusBar1.Panel(2).Text, "Found 1,005 files");
  EXPECT_EQ(Form.StatusBar1.Panel(3).Text, "0KB");
  EXPECT_FALSE(Form.prg.Visible());
}

TEST_F(MainFormTest, ResultsBeyondOneBlockOfTheStoreReadBackSortAndLeave) {
  const int Count = static_cast<int>(TResultList::BlockSize) + 20;
  for (int I = 0; I < Count; ++I) Tree.WriteFile("f" + std::to_string(I) + ".dat", std::string(I % 3 * 1024, 'x'));
  TForm1& Form = Start({Tree.Path(), "*.dat"});
  Form.startTimer.SetEnabled(false);
  Form.Button1Click(&Form.Button1);
  ASSERT_EQ(Form.flist.Model().RowCount(), Count);
  const auto InRowOrder = [&Form] {
    std::vector<std::string> Result;
    for (int Row = 0; Row < Form.flist.Model().RowCount(); ++Row)
      Result.push_back(Utf16ToUtf8(Form.flist.Model().GetCellText(1, Row)));
    return Result;
  };
  Form.flist.Model().Columns().Items(rcName)->SetSorted(true);
  std::vector<std::string> Shown = InRowOrder();
  EXPECT_TRUE(std::is_sorted(Shown.begin(), Shown.end()));
  EXPECT_EQ(std::set<std::string>(Shown.begin(), Shown.end()).size(), std::size_t(Count));
  const std::string Last = "f" + std::to_string(Count - 1) + ".dat";
  const int Row = static_cast<int>(std::find(Shown.begin(), Shown.end(), Last) - Shown.begin());
  EXPECT_EQ(Utf16ToUtf8(Form.flist.Model().GetCellText(rcSize, Row)), std::to_string((Count - 1) % 3));
  Form.flist.Model().DeleteRow(Row);
  Shown.erase(Shown.begin() + Row);
  EXPECT_EQ(InRowOrder(), Shown);
}

TEST_F(MainFormTest, EnterDuringASearchCancelsIt) {
  for (int I = 0; I < 400; ++I) Tree.WriteFile("d" + std::to_string(I % 20) + "/f" + std::to_string(I) + ".x", "");
  FileSystem = &SlowDisk;
  TForm1& Form = Start({Tree.Path(), "*.x"});
  Form.startTimer.SetEnabled(false);
  std::string CaptionWhileRunning;
  TWhenReady Cancel([&] { return Form.Button1.Tag == 1; },
                    [&] {
                      CaptionWhileRunning = Form.Button1.Caption();
                      SendMessageW(Form.edit1.Handle(), WM_CHAR, VK_RETURN, 0);
                    });
  Form.Button1Click(&Form.Button1);
  EXPECT_EQ(CaptionWhileRunning, "&Cancel");
  EXPECT_LT(Form.flist.Model().RowCount(), 400);
  EXPECT_EQ(Form.Button1.Caption(), "&Search");
  EXPECT_TRUE(Form.Button1.Enabled());
  EXPECT_EQ(Form.Button1.Tag, 0);
  EXPECT_EQ(Settings.ReadFile(NameHistoryFile), "*.x\r\n");  // a cancelled run still records
}

TEST_F(MainFormTest, EscapeDuringASearchClosesAnOpenDropDownFirstThenCancels) {
  for (int I = 0; I < 400; ++I) Tree.WriteFile("d" + std::to_string(I % 20) + "/f" + std::to_string(I) + ".x", "");
  FileSystem = &SlowDisk;
  TForm1& Form = Start({Tree.Path(), "*.x"});
  Form.startTimer.SetEnabled(false);
  Form.SetLeft(0);
  Form.Show();
  Form.search.SetItems({"*.x", "*.y"});
  bool RunningAfterFirstEscape = false;
  TWhenReady OpenAndEscape([&] { return Form.Button1.Tag == 1; },
                           [&] {
                             Form.search.SetFocus();
                             Form.search.SetDroppedDown(true);
                             PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
                           });
  TWhenReady EscapeAgain([&] { return Form.Button1.Tag == 1 && !Form.search.DroppedDown(); },
                         [&] {
                           RunningAfterFirstEscape = Form.Button1.Enabled();
                           PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
                         });
  Form.Button1Click(&Form.Button1);
  EXPECT_TRUE(RunningAfterFirstEscape);
  EXPECT_LT(Form.flist.Model().RowCount(), 400);
  EXPECT_EQ(Form.Button1.Tag, 0);
  EXPECT_EQ(Form.Button1.Caption(), "&Search");
}

TEST_F(MainFormTest, MalformedMaskIsReportedAndStartsNothing) {
  TForm1& Form = Start({Tree.Path(), "[abc"});
  Form.startTimer.SetEnabled(false);
  SendMessageW(Form.Button1.Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(Errors.empty());
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0].rfind("The name mask \"*[abc*\" cannot be used: the \"[\" at character 2", 0), 0u);
  EXPECT_EQ(Form.search.Text(), "*[abc*");
  EXPECT_EQ(Form.Button1.Tag, 0);
  EXPECT_FALSE(Settings.ReadFile(NameHistoryFile).size());
}
