// The result commands and help links as the main window offers them: the popup menu, the keys and
// the help bar, with a shell that records what it is asked.
#include <set>

#include "app/HelpLinks.h"
#include "platform/Platform.h"
#include "platform/win32/WideText.h"
#include "results/ResultRows.h"
#include "tests/app/MainFormTest.h"

namespace {

// Records requests; recycling deletes the file (the user said yes to the shell).
class TRecordingShell : public TShell {
 public:
  std::vector<TShellRequest> Requests;
  std::vector<std::string> Recycled;
  std::string Clipboard;
  void Execute(const TShellRequest& Request) override { Requests.push_back(Request); }
  TShellResult Recycle(const std::string& Path, std::string& Reason) override {
    Recycled.push_back(Path);
    if (PlatformFileSystem().RemoveFile(Path)) return srDone;
    Reason = PlatformFileSystem().LastErrorText();
    return srFailed;
  }
  bool SetClipboardText(const std::string& Text) override {
    Clipboard = Text;
    return true;
  }
};

class MainFormCommandsTest : public MainFormTest {
 protected:
  // The window on screen after a search of Tree for "*.txt", its confirmation recorded and answered.
  TForm1& Search() {
    Shell = &RecordingShell;
    TForm1& Form = Start({Tree.Path(), "*.txt"});
    Form.startTimer.SetEnabled(false);
    Form.Button1Click(&Form.Button1);
    Form.Commands().OnConfirm = [this](const std::string& Question) {
      Questions.push_back(Question);
      return Answer;
    };
    Form.SetLeft(0);
    Form.Show();
    PumpUntil([] { return GetFocus() != nullptr; }, 3000);
    return Form;
  }
  // A key as the user presses it where the focus is: the window's shortcuts first, then the control.
  void Press(WORD Key, TShiftState Shift = 0) {
    BYTE Saved[256], State[256];
    GetKeyboardState(Saved);
    std::copy(std::begin(Saved), std::end(Saved), State);
    State[VK_SHIFT] = (Shift & ssShift) ? 0x80 : 0;
    State[VK_CONTROL] = (Shift & ssCtrl) ? 0x80 : 0;
    SetKeyboardState(State);
    MSG Down = {GetFocus(), WM_KEYDOWN, Key, 1, 0, {0, 0}};
    if (!Application().IsDialogKey(Down)) {
      TranslateMessage(&Down);
      DispatchMessageW(&Down);
    }
    Application().ProcessMessages();
    SetKeyboardState(Saved);
  }
  int RowOf(const std::string& Name) {
    for (int Row = 0; Row < Form->flist.Model().RowCount(); ++Row)
      if (Utf16ToUtf8(Form->flist.Model().GetCellText(rcName, Row)) == Name) return Row;
    return -1;
  }

  TRecordingShell RecordingShell;
  std::vector<std::string> Questions;
  bool Answer = false;
};

}  // namespace

TEST_F(MainFormCommandsTest, PopupMenuOffersTheCommandsInOrder) {
  TForm1& Form = Start();
  EXPECT_EQ(Form.PopupMenu, &Form.PopupMenu1);
  EXPECT_NE(Form.flist.PopupMenu, nullptr);  // PopupMenu1, or the shell's own with Shift held
  const HMENU Menu = Form.PopupMenu1.BuildMenu();
  std::vector<std::string> Items;
  for (int Index = 0; Index < GetMenuItemCount(Menu); ++Index) {
    wchar_t Text[128] = L"";
    MENUITEMINFOW Info{};
    Info.cbSize = sizeof(Info);
    Info.fMask = MIIM_FTYPE | MIIM_STRING;
    Info.dwTypeData = Text;
    Info.cch = 128;
    GetMenuItemInfoW(Menu, static_cast<UINT>(Index), TRUE, &Info);
    Items.push_back((Info.fType & MFT_SEPARATOR) ? "-" : Narrow(Text));
  }
  EXPECT_EQ(Items,
            (std::vector<std::string>{"&Open", "&Explore", "-", "Delete\tDel", "Delete Permanently\tShift+Del", "-",
                                      "Copy Path\tCtrl+C", "Export Results...", "-", "Open With...", "Properties"}));
  EXPECT_EQ(GetMenuDefaultItem(Menu, TRUE, 0), 0u);
  DestroyMenu(Menu);
}

TEST_F(MainFormCommandsTest, DelShiftDelAndCtrlCActOnResultsOnlyFromTheGrid) {
  for (const char* Name : {"a.txt", "b.txt", "c.txt"}) Tree.WriteFile(Name, "x");
  TForm1& Form = Search();
  ASSERT_EQ(Form.flist.Model().RowCount(), 3);

  // In a criteria field the keys edit its text; elsewhere outside the grid they leave the files alone.
  Form.contains.SetText("abc");
  Form.contains.SetFocus();
  SendMessageW(Form.contains.Handle(), EM_SETSEL, 0, 0);
  Press(VK_DELETE);
  EXPECT_EQ(Form.contains.Text(), "bc");
  Press(VK_DELETE, ssShift);
  Press('C', ssCtrl);
  Form.stdate.SetFocus();
  Press(VK_DELETE);
  Form.flist.SetFocus();
  Form.flist.Model().SetRowSelected(RowOf("a.txt"), true);
  Form.flist.Model().SetRowSelected(RowOf("c.txt"), true);
  Form.contains.SetFocus();
  Press(VK_DELETE);
  EXPECT_TRUE(RecordingShell.Recycled.empty());
  EXPECT_TRUE(Questions.empty());
  EXPECT_EQ(RecordingShell.Clipboard, "");

  // In the grid they act on the selected rows.
  Form.flist.SetFocus();
  Press('C', ssCtrl);
  const std::string A = Tree.Path("a.txt"), C = Tree.Path("c.txt");
  EXPECT_EQ(RecordingShell.Clipboard, RowOf("a.txt") < RowOf("c.txt") ? A + "\r\n" + C : C + "\r\n" + A);
  Press(VK_DELETE, ssShift);
  EXPECT_EQ(Questions, std::vector<std::string>{"Are you sure you want to delete the 2 selected files?"});
  EXPECT_EQ(Form.flist.Model().RowCount(), 3);  // answered Cancel
  Press(VK_DELETE);
  EXPECT_EQ(std::set<std::string>(RecordingShell.Recycled.begin(), RecordingShell.Recycled.end()),
            (std::set<std::string>{A, C}));
  EXPECT_EQ(Names(), std::vector<std::string>{"b.txt"});
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MainFormCommandsTest, EnterDoubleClickAndExploreReachTheShellWithTheCurrentRow) {
  Tree.WriteFile("only.txt", "x");
  TForm1& Form = Search();
  ASSERT_EQ(Form.flist.Model().RowCount(), 1);
  Form.flist.SetFocus();
  Form.flist.Model().SetCurrentRow(0);
  Press(VK_RETURN);
  const RECT Cell = Form.flist.GetCellRect(rcName, 0);
  Form.flist.Perform(WM_LBUTTONDBLCLK, MK_LBUTTON,
                     MAKELPARAM((Cell.left + Cell.right) / 2, (Cell.top + Cell.bottom) / 2));
  Form.PopupMenu1.Find("Explore1")->Click();
  ASSERT_EQ(RecordingShell.Requests.size(), 3u);
  EXPECT_EQ(RecordingShell.Requests[0].File, Tree.Path("only.txt"));
  EXPECT_EQ(RecordingShell.Requests[0].Verb, std::optional<std::string>("OPEN"));
  EXPECT_EQ(RecordingShell.Requests[1], RecordingShell.Requests[0]);
  EXPECT_EQ(RecordingShell.Requests[2].File, "explorer.exe");
  EXPECT_EQ(RecordingShell.Requests[2].Parameters, "\"" + Tree.Path() + "\\\"");
}

TEST_F(MainFormCommandsTest, EachHelpLinkClickIsItsRequest) {
  TForm1& Form = Search();
  for (int Link = 0; Link < HelpLinkCount; ++Link) {
    EXPECT_EQ(Form.tpPaneBar3.Items()[Link]->Caption(), HelpLinkCaption(THelpLink(Link)));
    RECT Item;
    Form.tpPaneBar3.GetItemRect(Link, Item);
    const LPARAM Point = MAKELPARAM(Item.left + 40, (Item.top + Item.bottom) / 2);
    Form.tpPaneBar3.Perform(WM_MOUSEMOVE, 0, Point);
    Form.tpPaneBar3.Perform(WM_LBUTTONDOWN, MK_LBUTTON, Point);
    Form.tpPaneBar3.Perform(WM_LBUTTONUP, 0, Point);
    ASSERT_EQ(RecordingShell.Requests.size(), std::size_t(Link + 1));
    EXPECT_EQ(RecordingShell.Requests.back(), HelpLinkRequest(THelpLink(Link), Form.Handle()));
  }
}

TEST_F(MainFormCommandsTest, ExportResultsWritesTheFileChosen) {
  Tree.WriteFile("one, two.txt", std::string(3000, 'x'));
  TForm1& Form = Search();
  const std::string FileName = Settings.Path("results.csv");
  Form.OnPromptExportFile = [&](std::string& Chosen) {
    EXPECT_EQ(Chosen, "Search Results.csv");
    Chosen = FileName;
    return true;
  };
  Form.PopupMenu1.Find("ExportResults1")->Click();
  const std::string Csv = Settings.ReadFile("results.csv");
  EXPECT_EQ(Csv.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(Csv.find("Name,Size,Modified,Folder,Type\r\n\"one, two.txt\",3000,"), std::string::npos) << Csv;
  // A file that cannot be written fails with the reason (the window's error report shows it).
  Form.OnPromptExportFile = [&](std::string& Chosen) {
    Chosen = Settings.Path("no such folder/results.csv");
    return true;
  };
  EXPECT_THROW(Form.PopupMenu1.Find("ExportResults1")->Click(), EFileError);
}
