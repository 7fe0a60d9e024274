// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
// clang-format on
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "folderpicker/BrwsFldr.h"
#include "platform/win32/WideText.h"
#include "tests/support/TempFolder.h"
#include "toolkit/Application.h"

namespace {

// Plays the user's part from another thread: finds the dialog that Execute shows on this thread,
// runs the script on it and makes sure the dialog is closed in the end.
class TDialogDriver {
 public:
  explicit TDialogDriver(std::function<void(HWND Dialog)> Script)
      : FOwnerThread(GetCurrentThreadId()), FThread([this, Script] { Run(Script); }) {}
  ~TDialogDriver() { FThread.join(); }
  bool FoundDialog() const { return FFound; }

  // Waits until Done answers true (checked every 20 ms, at most 20 seconds: the shell fills its tree
  // slowly on a busy machine).
  static bool WaitFor(const std::function<bool()>& Done, int Milliseconds = 20000) {
    for (int Tries = 0; Tries < Milliseconds / 20; ++Tries) {
      if (Done()) return true;
      Sleep(20);
    }
    return Done();
  }
  static void Press(HWND Dialog, int Button) {
    PostMessageW(Dialog, WM_COMMAND, MAKEWPARAM(Button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Dialog, Button)));
  }

 private:
  static BOOL CALLBACK Look(HWND Window, LPARAM Data) {
    wchar_t Class[32] = L"";
    GetClassNameW(Window, Class, 32);
    if (std::wstring(Class) == L"#32770" && IsWindowVisible(Window)) {
      *reinterpret_cast<HWND*>(Data) = Window;
      return FALSE;
    }
    return TRUE;
  }
  void Run(const std::function<void(HWND)>& Script) {
    HWND Dialog = nullptr;
    WaitFor([&] {
      EnumThreadWindows(FOwnerThread, &Look, reinterpret_cast<LPARAM>(&Dialog));
      return Dialog != nullptr;
    });
    if (!Dialog) return;
    FFound = true;
    Script(Dialog);
    // Whatever the script did, the dialog goes away, so Execute returns.
    if (IsWindow(Dialog)) Sleep(200);
    if (IsWindow(Dialog)) Press(Dialog, IDCANCEL);
  }

  DWORD FOwnerThread;
  std::atomic<bool> FFound{false};
  std::thread FThread;
};

std::string Lower(std::string Text) {
  std::transform(Text.begin(), Text.end(), Text.begin(), [](unsigned char C) { return char(std::tolower(C)); });
  return Text;
}

struct BrwsFldrTest : ::testing::Test {
  void SetUp() override {
    Application().Initialize();
    Application().OnException = [this](const std::exception& Error) { Errors.push_back(Error.what()); };
    Temp.MakeFolder("Alpha");
    Temp.MakeFolder("Beta");
    Picker.NewDialogStyle = true;  // as the main window sets it up
    Picker.OnSelChanged = [this](TObject* Sender, const std::string& Path, bool& EnableOk) {
      EXPECT_EQ(Sender, &Picker);
      EXPECT_NE(Picker.DialogWindow(), nullptr);
      std::lock_guard<std::mutex> Lock(Mutex);
      Selections.push_back(Path);
      OkOffered.push_back(EnableOk);
      if (EnableAll) EnableOk = true;
    };
  }
  void TearDown() override {
    Application().OnException = nullptr;
    EXPECT_TRUE(Errors.empty());
    EXPECT_EQ(Picker.DialogWindow(), nullptr);
  }
  std::string LastSelection() {
    std::lock_guard<std::mutex> Lock(Mutex);
    return Selections.empty() ? std::string("<none>") : Selections.back();
  }
  bool SelectionIs(const std::string& Path) { return Lower(LastSelection()) == Lower(Path); }
  // Whether the OK button settles in the given state: the dialog handles what it was sent on its own
  // schedule (and the shell posts its own enable after ours), so wait for the state, then make sure
  // it holds for a while.
  static bool OkSettlesTo(HWND Dialog, bool Enabled) {
    const auto IsAsked = [&] {
      SendMessageW(Dialog, WM_NULL, 0, 0);
      return (IsWindowEnabled(GetDlgItem(Dialog, IDOK)) != 0) == Enabled;
    };
    if (!TDialogDriver::WaitFor(IsAsked)) return false;
    for (int Check = 0; Check < 10; ++Check) {
      Sleep(30);
      if (!IsAsked()) return false;
    }
    return true;
  }
  static void Select(HWND Dialog, const std::string& Path) {
    const std::wstring Wide = Widen(Path);
    SendMessageW(Dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(Wide.c_str()));
  }
  // Selects Path as a user would and waits for the dialog to report it. Wine's dialog fills its tree
  // in the background (slowly the first time in a new prefix) and drops a selection it gets meanwhile;
  // a request sent again while it still works on the last one starts the work over. So: wait until
  // the tree has stopped growing, ask, give the dialog time to get there, and only then ask again.
  bool SelectAndWait(HWND Dialog, const std::string& Path) {
    return AskAndWait(
        Dialog, [&] { Select(Dialog, Path); }, Path);
  }
  // The same for a shell item; Reported is the path the dialog reports for it ("" for a virtual one).
  bool SelectAndWait(HWND Dialog, LPCITEMIDLIST Item, const std::string& Reported) {
    return AskAndWait(
        Dialog, [&] { SendMessageW(Dialog, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(Item)); }, Reported);
  }
  bool AskAndWait(HWND Dialog, const std::function<void()>& Ask, const std::string& Reported) {
    for (int Attempt = 0; Attempt < 5; ++Attempt) {
      WaitForTreeToSettle(Dialog);
      Ask();
      if (TDialogDriver::WaitFor([&] { return SelectionIs(Reported); }, 5000)) return true;
    }
    return false;
  }
  static HWND TreeOf(HWND Dialog) {
    HWND Tree = nullptr;
    EnumChildWindows(
        Dialog,
        [](HWND Child, LPARAM Found) -> BOOL {
          wchar_t Class[32] = L"";
          GetClassNameW(Child, Class, 32);
          if (std::wstring(Class) != WC_TREEVIEWW) return TRUE;
          *reinterpret_cast<HWND*>(Found) = Child;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&Tree));
    return Tree;
  }
  // Until the number of items in the dialog's tree has held for half a second (at most 20 seconds).
  static void WaitForTreeToSettle(HWND Dialog) {
    const HWND Tree = TreeOf(Dialog);
    if (!Tree) return;
    LRESULT Count = -1;
    int Steady = 0;
    TDialogDriver::WaitFor([&] {
      const LRESULT Now = SendMessageW(Tree, TVM_GETCOUNT, 0, 0);
      Steady = Now == Count ? Steady + 1 : 0;
      Count = Now;
      return Steady >= 25;
    });
  }

  TTempFolder Temp;
  TBrowseForFolder Picker;
  std::mutex Mutex;
  std::vector<std::string> Selections;
  std::vector<bool> OkOffered;
  std::atomic<bool> EnableAll{false};
  std::vector<std::string> Errors;
};

}  // namespace

TEST(BrwsFldrFlagsTest, FlagsFollowTheSettings) {
  TBrowseForFolder Picker;
  EXPECT_EQ(Picker.BrowseFlags(), 0u);
  Picker.StatusText = "Pick one";
  EXPECT_EQ(Picker.BrowseFlags(), UINT(BIF_STATUSTEXT));
  Picker.EditBox = true;
  EXPECT_EQ(Picker.BrowseFlags(), UINT(BIF_STATUSTEXT | BIF_EDITBOX));
  // The new style has no status line: its flag stays off even with a status text.
  Picker.NewDialogStyle = true;
  EXPECT_EQ(Picker.BrowseFlags(), UINT(BIF_EDITBOX | BIF_NEWDIALOGSTYLE));
  // The main window's settings.
  TBrowseForFolder Main;
  Main.NewDialogStyle = true;
  EXPECT_EQ(Main.BrowseFlags(), UINT(BIF_NEWDIALOGSTYLE));
  EXPECT_EQ(BIF_NEWDIALOGSTYLE, 64);
}

TEST_F(BrwsFldrTest, OpensAtThePathAndConfirmingReturnsIt) {
  const std::string Alpha = Temp.Path("Alpha");
  Picker.Path = Alpha;
  bool OkWasEnabled = false;
  TDialogDriver Driver([&](HWND Dialog) {
    if (!TDialogDriver::WaitFor([&] { return SelectionIs(Alpha); })) return;
    OkWasEnabled = OkSettlesTo(Dialog, true);
    TDialogDriver::Press(Dialog, IDOK);
  });
  const bool Confirmed = Picker.Execute();
  ASSERT_TRUE(Driver.FoundDialog());
  EXPECT_EQ(LastSelection(), Alpha);
  EXPECT_TRUE(OkWasEnabled);
  EXPECT_TRUE(Confirmed);
  EXPECT_EQ(Lower(Picker.Path), Lower(Alpha));
}

TEST_F(BrwsFldrTest, DriveRootIsPreselectedAndReturnedAsIs) {
  Picker.Path = "C:\\";
  TDialogDriver Driver([&](HWND Dialog) {
    if (TDialogDriver::WaitFor([&] { return SelectionIs("C:\\"); })) TDialogDriver::Press(Dialog, IDOK);
  });
  EXPECT_TRUE(Picker.Execute());
  EXPECT_EQ(Picker.Path, "C:\\");
}

TEST_F(BrwsFldrTest, CancelLeavesThePathAsItWasEvenAfterBrowsingElsewhere) {
  // Elsewhere is the folder above: the dialog lists it on its way to Alpha. A folder beside Alpha may
  // never be listed: on a busy machine Wine's dialog, the first time in a new prefix, can fill in only
  // the items on the way to the preselection and then ignores a request for any other.
  const std::string Alpha = Temp.Path("Alpha"), Above = Temp.Path();
  Picker.Path = Alpha;
  bool Browsed = false;
  TDialogDriver Driver([&](HWND Dialog) {
    if (!TDialogDriver::WaitFor([&] { return SelectionIs(Alpha); })) return;
    Browsed = SelectAndWait(Dialog, Above);
    TDialogDriver::Press(Dialog, IDCANCEL);
  });
  EXPECT_FALSE(Picker.Execute());
  EXPECT_TRUE(Browsed);
  EXPECT_EQ(Picker.Path, Alpha);
}

TEST_F(BrwsFldrTest, VirtualFolderDisablesOkUnlessAHandlerAllowsIt) {
  LPITEMIDLIST Computer = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &Computer), S_OK);
  bool OkOffForComputer = false, OkForFolder = false, OkWhenAllowed = false;
  const std::string Alpha = Temp.Path("Alpha");
  Picker.Path = Alpha;
  TDialogDriver Driver([&](HWND Dialog) {
    if (!TDialogDriver::WaitFor([&] { return SelectionIs(Alpha); })) return;
    OkForFolder = OkSettlesTo(Dialog, true);
    if (!SelectAndWait(Dialog, Computer, "")) return;
    OkOffForComputer = OkSettlesTo(Dialog, false);
    EnableAll = true;
    if (!SelectAndWait(Dialog, Alpha) || !SelectAndWait(Dialog, Computer, "")) return;
    OkWhenAllowed = OkSettlesTo(Dialog, true);
    TDialogDriver::Press(Dialog, IDCANCEL);
  });
  EXPECT_FALSE(Picker.Execute());
  CoTaskMemFree(Computer);
  EXPECT_TRUE(OkForFolder);
  EXPECT_TRUE(OkOffForComputer);
  EXPECT_TRUE(OkWhenAllowed);
  EXPECT_EQ(Picker.Path, Alpha);
}

TEST_F(BrwsFldrTest, SetPositionMovesTheDialogBeforeItIsShown) {
  int Calls = 0, ReportedWidth = 0;
  Picker.OnSetPosition = [&](TObject* Sender, int& Left, int& Top, int Width, int Height) {
    EXPECT_EQ(Sender, &Picker);
    EXPECT_GT(Height, 0);
    ReportedWidth = Width;
    ++Calls;
    Left = 30;
    Top = 40;
  };
  RECT Shown = {};
  TDialogDriver Driver([&](HWND Dialog) {
    GetWindowRect(Dialog, &Shown);
    TDialogDriver::Press(Dialog, IDCANCEL);
  });
  EXPECT_FALSE(Picker.Execute());
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(Shown.left, 30);
  EXPECT_EQ(Shown.top, 40);
  EXPECT_EQ(Shown.right - Shown.left, ReportedWidth);
}

TEST_F(BrwsFldrTest, EditBoxAndTitleReachTheDialog) {
  Picker.EditBox = true;
  Picker.Title = "Choose the folder to search";
  bool HasEdit = false, HasTitle = false;
  TDialogDriver Driver([&](HWND Dialog) {
    HasEdit = FindWindowExW(Dialog, nullptr, L"Edit", nullptr) != nullptr;
    HasTitle = FindWindowExW(Dialog, nullptr, L"Static", L"Choose the folder to search") != nullptr;
    TDialogDriver::Press(Dialog, IDCANCEL);
  });
  EXPECT_FALSE(Picker.Execute());
  EXPECT_TRUE(HasEdit);
  EXPECT_TRUE(HasTitle);
}

TEST_F(BrwsFldrTest, HandlerFailureIsReportedAndTheDialogGoesOn) {
  Picker.OnSelChanged = [](TObject*, const std::string&, bool&) { throw Exception("Selection handler failed"); };
  TDialogDriver Driver([&](HWND Dialog) {
    Sleep(300);
    TDialogDriver::Press(Dialog, IDCANCEL);
  });
  EXPECT_FALSE(Picker.Execute());
  ASSERT_FALSE(Errors.empty());
  EXPECT_EQ(Errors.front(), "Selection handler failed");
  Errors.clear();
}

TEST_F(BrwsFldrTest, HandlerThrowingAnythingIsReportedAndTheDialogGoesOn) {
  // Nothing may unwind through the shell's frames, not even a throw of a plain value.
  Picker.OnSetPosition = [](TObject*, int&, int&, int, int) { throw 42; };
  TDialogDriver Driver([&](HWND Dialog) {
    Sleep(300);
    TDialogDriver::Press(Dialog, IDCANCEL);
  });
  EXPECT_FALSE(Picker.Execute());
  EXPECT_TRUE(Driver.FoundDialog());
  ASSERT_FALSE(Errors.empty());
  EXPECT_EQ(Errors.front(), "The folder dialog's handler failed");
  Errors.clear();
}

TEST_F(BrwsFldrTest, MissingPreselectionIsHandedOnAndNothingIsReported) {
  const std::string Missing = Temp.Path("No such folder");
  Picker.Path = Missing;
  TDialogDriver Driver([&](HWND Dialog) {
    Sleep(200);
    TDialogDriver::Press(Dialog, IDCANCEL);
  });
  EXPECT_FALSE(Picker.Execute());
  EXPECT_TRUE(Driver.FoundDialog());
  EXPECT_EQ(Picker.Path, Missing);
}
