// Start-up, the command line, the histories and the keyboard of the main window.
#include "tests/app/MainFormTest.h"

#include <commctrl.h>

#include "app/Histories.h"
#include "core/SettingsFile.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "platform/win32/WideText.h"
#include "results/ResultRows.h"

namespace {
using TItems = std::vector<std::string>;

void Select(TComboBox& Box, const std::string& Item) {
  const auto& Items = Box.Items();
  const auto Found = std::find(Items.begin(), Items.end(), Item);
  ASSERT_NE(Found, Items.end());
  SendMessageW(Box.Handle(), CB_SETCURSEL, static_cast<WPARAM>(Found - Items.begin()), 0);
  SendMessageW(GetParent(Box.Handle()), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Box.Handle()));
}
}  // namespace

TEST_F(MainFormTest, DefaultsWithoutArgumentsOrFiles) {
  TForm1& Form = Start();
  EXPECT_EQ(Form.Caption(), "Torvane Search");
  EXPECT_EQ(Form.path.Text(), "C:\\");
  EXPECT_EQ(Form.search.Text(), "");
  EXPECT_EQ(Form.edit1.Text(), "1000");
  EXPECT_EQ(Form.sztp.ItemIndex(), 0);
  EXPECT_FALSE(Form.sc_size.Checked());
  EXPECT_EQ(Form.Button1.Caption(), "&Search");
  EXPECT_EQ(Form.stdate.Date(), ProgramClock().Today());
  EXPECT_TRUE(Form.search.Items().empty());  // no "[Clear History]" without entries
  EXPECT_TRUE(Form.path.Items().empty());
  EXPECT_FALSE(Form.startTimer.Enabled());
  EXPECT_FALSE(Form.prg.Visible());
  EXPECT_EQ(Form.prg.BoundsRect().right, 98);  // panel 0 less 4, from left 2
  EXPECT_EQ(Form.flist.Model().Columns().Count(), 6);
  // "Named:" tells its mask language in a tip, over the field and its drop-down frame alike.
  EXPECT_EQ(SendMessageW(Form.NamedHint.Handle(), TTM_GETTOOLCOUNT, 0, 0), 2);
  wchar_t Tip[256] = L"";
  TTTOOLINFOW Tool = {};
  Tool.cbSize = sizeof Tool;
  Tool.hwnd = Form.Handle();
  Tool.uId = reinterpret_cast<UINT_PTR>(Form.search.EditHandle());
  Tool.lpszText = Tip;
  SendMessageW(Form.NamedHint.Handle(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&Tool));
  EXPECT_EQ(Narrow(Tip), NamedHintText);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MainFormTest, ArgumentsFillTheFieldsAndOnlyAFolderStartsASearch) {
  TForm1& Form = Start({"D:\\Docs", "*.txt", "invoice"});
  EXPECT_EQ(Form.path.Text(), "D:\\Docs");
  EXPECT_EQ(Form.search.Text(), "*.txt");
  EXPECT_EQ(Form.contains.Text(), "invoice");
  EXPECT_TRUE(Form.startTimer.Enabled());
  EXPECT_EQ(Form.startTimer.Interval(), 500u);
  // The timer's search meets a missing folder.
  ASSERT_TRUE(PumpUntil([&] { return !Messages.empty(); }));
  EXPECT_EQ(Messages, TItems{"The entered folder does not exist"});
  EXPECT_FALSE(Form.startTimer.Enabled());

  TForm1& Second = Start({"", "\xC3\xA9t\xC3\xA9*"});
  EXPECT_EQ(Second.path.Text(), "C:\\");
  EXPECT_EQ(Second.search.Text(), "\xC3\xA9t\xC3\xA9*");  // Unicode arguments arrive whole
  EXPECT_FALSE(Second.startTimer.Enabled());

  // As Explorer's "Search with Torvane Search" starts it: the folder in "Look in:", no search.
  TForm1& Third = Start({NoSearchSwitch, Tree.Path()});
  EXPECT_EQ(Third.path.Text(), Tree.Path());
  EXPECT_FALSE(Third.startTimer.Enabled());
}

TEST_F(MainFormTest, HistoriesShowSortedAndClearHistoryEmptiesOneList) {
  Settings.WriteFile(NameHistoryFile, "b\r\nA\r\nc\r\n");
  Settings.WriteFile(FolderHistoryFile, "C:\\\r\n");
  TForm1& Form = Start();
  EXPECT_EQ(Form.search.Items(), (TItems{"A", "b", "c", "[Clear History]"}));
  EXPECT_EQ(Settings.ReadFile(NameHistoryFile), "b\r\nA\r\nc\r\n");
  Select(Form.search, "[Clear History]");
  EXPECT_EQ(Form.search.Text(), "");
  EXPECT_TRUE(Form.clearSearchTimer.Enabled());
  ASSERT_TRUE(PumpUntil([&] { return !Form.clearSearchTimer.Enabled(); }));
  EXPECT_TRUE(Form.search.Items().empty());
  EXPECT_EQ(Form.search.Text(), "");
  EXPECT_EQ(Settings.ReadFile(NameHistoryFile), "");
  EXPECT_EQ(Form.path.Items(), (TItems{"C:\\", "[Clear History]"}));
  EXPECT_EQ(Settings.ReadFile(FolderHistoryFile), "C:\\\r\n");
  Select(Form.path, "[Clear History]");
  ASSERT_TRUE(PumpUntil([&] { return !Form.clearPathTimer.Enabled(); }));
  EXPECT_TRUE(Form.path.Items().empty());
  EXPECT_EQ(Settings.ReadFile(FolderHistoryFile), "");
}

TEST_F(MainFormTest, UnreadableCacheIsReportedAndTheWindowOpensWithDefaults) {
  Settings.MakeFolder("search.cache/x");  // a folder where the file should be: FileExists says no
  Settings.MakeFolder(NameHistoryFile);   // the names history cannot be written
  Tree.WriteFile("a.txt", "a");
  TForm1& Form = Start();
  EXPECT_TRUE(Errors.empty());
  Form.path.SetText(Tree.Path());
  Form.search.SetText("*.txt");
  Form.Button1Click(&Form.Button1);
  // One report for the names file; the folder history and the run's closing steps still happen.
  EXPECT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Form.path.Items(), (TItems{Tree.Path(), "[Clear History]"}));
  EXPECT_FALSE(Form.prg.Visible());
  EXPECT_EQ(Form.Button1.Caption(), "&Search");
}

TEST_F(MainFormTest, EnterInTheFieldsStartsASearchWithoutBeeping) {
  Tree.WriteFile("one.txt", "1");
  TForm1& Form = Start({Tree.Path()});
  Form.startTimer.SetEnabled(false);
  for (TWinControl* Field : std::initializer_list<TWinControl*>{&Form.edit1, &Form.contains, &Form.search}) {
    Form.flist.Model().ClearRows();
    HWND Target = Field == &Form.search ? Form.search.EditHandle() : Field->Handle();
    EXPECT_EQ(SendMessageW(Target, WM_CHAR, VK_RETURN, 0), 0);
    EXPECT_EQ(Names(), TItems{"one.txt"});
  }
  EXPECT_EQ(Form.search.Text(), "**");
}

TEST_F(MainFormTest, F5SearchesAgainFromAFieldOrTheGrid) {
  Tree.WriteFile("one.txt", "1");
  TForm1& Form = Start({Tree.Path(), "*.txt"});
  Form.startTimer.SetEnabled(false);
  Form.SetLeft(0);
  Form.Show();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() != nullptr; }, 3000));
  const auto PressF5 = [] {
    MSG F5 = {GetFocus(), WM_KEYDOWN, VK_F5, 0, 0, {0, 0}};
    return Application().IsDialogKey(F5);
  };
  Form.search.SetFocus();
  EXPECT_TRUE(PressF5());
  EXPECT_EQ(Names(), TItems{"one.txt"});
  // With the criteria as they stand now.
  Tree.WriteFile("two.txt", "2");
  Form.flist.SetFocus();
  EXPECT_TRUE(PressF5());
  EXPECT_EQ(Names(), (TItems{"one.txt", "two.txt"}));
}

TEST_F(MainFormTest, SavesThatFailAtCloseAreToldInOneBoxEachFileWithItsReason) {
  Tree.WriteFile("one.txt", "1");
  TForm1& Form = Start({Tree.Path()});
  Form.startTimer.SetEnabled(false);
  Form.Show();
  Form.Button1Click(&Form.Button1);  // the cache has a new path to save
  // Both files turned into folders while the window was open: neither can be replaced.
  Settings.MakeFolder(LayoutFile);
  Settings.MakeFolder(SearchCacheFileName);
  this->Form.reset();
  EXPECT_EQ(Errors, TItems{});
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0].rfind(SavesFailedText, 0), 0u) << Messages[0];
  for (const std::string& File : {Settings.Path(LayoutFile), Settings.Path(SearchCacheFileName)})
    EXPECT_NE(Messages[0].find("\"" + File + "\"."), std::string::npos) << File;
}

TEST_F(MainFormTest, TabOrderFollowsTheCriteria) {
  TForm1& Form = Start();
  Form.SetLeft(0);
  Form.Show();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() != nullptr; }, 3000));
  // The results grid follows "Search", so a keyboard user reaches the results; Shift+Tab goes back.
  TWinControl* const Order[] = {&Form.contains, &Form.path,    &Form.Button4,     &Form.sc_size,
                                &Form.sztp,     &Form.edit1,   &Form.sc_modified, &Form.stdate,
                                &Form.nddate,   &Form.Button1, &Form.flist,       &Form.search};
  Form.search.SetFocus();
  const auto PressTab = [](bool Shift) {
    BYTE Keys[256] = {};
    GetKeyboardState(Keys);
    Keys[VK_SHIFT] = Shift ? 0x80 : 0;
    SetKeyboardState(Keys);
    MSG Tab = {GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    const bool Taken = Application().IsDialogKey(Tab);
    Keys[VK_SHIFT] = 0;
    SetKeyboardState(Keys);
    return Taken;
  };
  const auto Focused = [](TWinControl* Control) {
    HWND Focus = GetFocus();
    return Focus == Control->Handle() || GetParent(Focus) == Control->Handle();
  };
  for (TWinControl* Expected : Order) {
    ASSERT_TRUE(PressTab(false));
    EXPECT_TRUE(Focused(Expected)) << Expected->Caption();
  }
  ASSERT_TRUE(PressTab(true));
  EXPECT_TRUE(Focused(&Form.flist));
  ASSERT_TRUE(PressTab(true));
  EXPECT_TRUE(Focused(&Form.Button1));
  // Alt+N focuses "Look in:", Alt+W "With text:".
  MSG AltN = {GetFocus(), WM_SYSCHAR, L'n', 0, 0, {0, 0}};
  EXPECT_TRUE(Application().IsDialogKey(AltN));
  EXPECT_EQ(GetParent(GetFocus()), Form.path.Handle());
  MSG AltW = {GetFocus(), WM_SYSCHAR, L'W', 0, 0, {0, 0}};
  EXPECT_TRUE(Application().IsDialogKey(AltW));
  EXPECT_EQ(GetFocus(), Form.contains.Handle());
}

TEST_F(MainFormTest, TheWindowAndTheGridsColumnsAreAsTheUserLeftThem) {
  TMainFormSetup Setup;
  Setup.SettingsFolder = Settings.Path() + "\\";
  auto Open = [&] {
    Form = std::make_unique<TForm1>(Setup);
    Form->Show();
    return Form.get();
  };
  TForm1* First = Open();
  First->SetBounds(50, 60, 720, 580);
  TColumns& Columns = First->flist.Model().Columns();
  Columns.Items(rcFolder)->SetPosition(1);
  Columns.Items(rcName)->SetWidth(260);
  Columns.Items(rcSize)->SetSortKind(skDescending);
  Columns.Items(rcSize)->SetSorted(true);
  Form.reset();

  TForm1* Second = Open();
  EXPECT_EQ(Second->Left(), 50);
  EXPECT_EQ(Second->Top(), 60);
  EXPECT_EQ(Second->Width(), 720);
  EXPECT_EQ(Second->Height(), 580);
  const TColumns& Restored = Second->flist.Model().Columns();
  EXPECT_EQ(Restored.DisplayItems(1)->Index(), rcFolder);
  EXPECT_EQ(Restored.Items(rcName)->Width(), 260);
  EXPECT_TRUE(Restored.Items(rcSize)->Sorted());
  EXPECT_EQ(Restored.Items(rcSize)->SortKind(), skDescending);
  Form.reset();

  // A place on no monitor: the size stays, the window comes up centred.
  WriteSettingsFile(Settings.Path(LayoutFile), {"WindowBounds=-30000,-30000,700,550"}, PlatformFileSystem());
  TForm1* Third = Open();
  const RECT Area = Screen().WorkArea();
  EXPECT_EQ(Third->Width(), 700);
  EXPECT_EQ(Third->Left(), Area.left + (Area.right - Area.left - 700) / 2);
  Form.reset();

  // A place that reaches past the work area (closed on a larger screen, or at a lower density): the
  // window moves in as far as it must, and keeps its size.
  const std::string Corner = std::to_string(Area.right - 300) + "," + std::to_string(Area.bottom - 200);
  WriteSettingsFile(Settings.Path(LayoutFile), {"WindowBounds=" + Corner + ",700,550"}, PlatformFileSystem());
  TForm1* Fourth = Open();
  EXPECT_EQ(Fourth->Width(), 700);
  EXPECT_EQ(Fourth->Height(), 550);
  EXPECT_EQ(Fourth->Left() + Fourth->Width(), Area.right);
  EXPECT_EQ(Fourth->Top() + Fourth->Height(), Area.bottom);
}
