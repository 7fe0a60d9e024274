// The results handed to the shell from the main window: rows dragged out to a drop target, the shell's
// own menu over the grid on Shift with the right button, "Open With..." and "Properties".
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/win32/ComPtr.h"
#include "platform/win32/WideText.h"
#include "results/ResultRows.h"
#include "tests/app/MainFormTest.h"

namespace {

// A window that takes dropped files, as a folder window or a mail would: it records the paths of the
// file list (CF_HDROP) and moves the first file into a folder of its own.
class TDropWindow : public IDropTarget {
 public:
  TDropWindow(RECT Place, std::string Folder) : FFolder(std::move(Folder)) {
    WNDCLASSW Class{};
    Class.lpfnWndProc = DefWindowProcW;
    Class.hInstance = GetModuleHandleW(nullptr);
    Class.lpszClassName = L"TDropWindow";
    RegisterClassW(&Class);
    FWindow =
        CreateWindowExW(WS_EX_TOPMOST, L"TDropWindow", L"drop here", WS_POPUP | WS_VISIBLE, Place.left, Place.top,
                        Place.right - Place.left, Place.bottom - Place.top, nullptr, nullptr, Class.hInstance, nullptr);
    RegisterDragDrop(FWindow, this);
  }
  ~TDropWindow() {
    RevokeDragDrop(FWindow);
    DestroyWindow(FWindow);
  }
  std::vector<std::string> Dropped;
  DWORD OfferedEffects = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Id, void** Object) override {
    *Object = Id == __uuidof(IUnknown) || Id == __uuidof(IDropTarget) ? this : nullptr;
    return *Object ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* Effect) override {
    OfferedEffects = *Effect;
    *Effect &= DROPEFFECT_MOVE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* Effect) override {
    *Effect &= DROPEFFECT_MOVE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* Data, DWORD, POINTL, DWORD* Effect) override {
    FORMATETC Format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM Medium{};
    if (SUCCEEDED(Data->GetData(&Format, &Medium))) {
      const auto List = static_cast<HDROP>(Medium.hGlobal);
      for (UINT I = 0, Count = DragQueryFileW(List, 0xFFFFFFFF, nullptr, 0); I < Count; ++I) {
        wchar_t Name[MAX_PATH] = L"";
        DragQueryFileW(List, I, Name, MAX_PATH);
        Dropped.push_back(Narrow(Name));
      }
      ReleaseStgMedium(&Medium);
    }
    if (!Dropped.empty()) {
      const std::string& First = Dropped.front();
      MoveFileW(Widen(First).c_str(), Widen(FFolder + First.substr(First.find_last_of('\\'))).c_str());
    }
    *Effect = DROPEFFECT_MOVE;
    return S_OK;
  }

 private:
  HWND FWindow = nullptr;
  std::string FFolder;
};

class TRecordingShell : public TShell {
 public:
  void Execute(const TShellRequest&) override {}
  TShellResult Recycle(const std::string&, std::string&) override { return srFailed; }
  bool SetClipboardText(const std::string&) override { return true; }
  bool OpenWith(const std::string& Path, void*) override {
    OpenedWith.push_back(Path);
    return Path.find("no-choice") == std::string::npos;
  }
  void ShowProperties(const std::vector<std::string>& Paths, void*) override { Properties.push_back(Paths); }
  std::vector<std::string> OpenedWith;
  std::vector<std::vector<std::string>> Properties;
};

// The texts of the menu that shows now (the shell's popup window), read from inside its loop.
std::vector<std::string> OpenMenuTexts() {
  std::vector<std::string> Texts;
  const HWND Window = FindWindowW(L"#32768", nullptr);
  const auto Menu = Window ? reinterpret_cast<HMENU>(SendMessageW(Window, MN_GETHMENU, 0, 0)) : nullptr;
  for (int Index = 0; Menu && Index < GetMenuItemCount(Menu); ++Index) {
    wchar_t Text[256] = L"";
    GetMenuStringW(Menu, static_cast<UINT>(Index), Text, 256, MF_BYPOSITION);
    if (*Text) Texts.push_back(Narrow(Text));
  }
  return Texts;
}

class MainFormShellTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    for (const char* Name : {"a.txt", "b.txt", "c.txt", "d.txt"}) Tree.WriteFile(Name, "x");
  }
  TForm1& Search() {
    Shell = &Recorded;
    TForm1& Form = Start({Tree.Path(), "*.txt"});
    Form.startTimer.SetEnabled(false);
    Form.Button1Click(&Form.Button1);
    Form.SetBounds(0, 0, 690, 543);
    Form.Show();
    PumpUntil([] { return GetFocus() != nullptr; }, 3000);
    return Form;
  }
  int RowOf(const std::string& Name) {
    for (int Row = 0; Row < Form->flist.Model().RowCount(); ++Row)
      if (Utf16ToUtf8(Form->flist.Model().GetCellText(rcName, Row)) == Name) return Row;
    return -1;
  }
  LPARAM RowPoint(const std::string& Name, int DX = 0, int DY = 0) {
    const RECT Cell = Form->flist.GetCellRect(rcName, RowOf(Name));
    return MAKELPARAM(Cell.left + 10 + DX, (Cell.top + Cell.bottom) / 2 + DY);
  }
  // A click on a row, with Ctrl held when Toggle.
  void Click(const std::string& Name, bool Toggle = false) {
    const WPARAM Keys = Toggle ? MK_CONTROL : 0;
    Form->flist.Perform(WM_LBUTTONDOWN, MK_LBUTTON | Keys, RowPoint(Name));
    Form->flist.Perform(WM_LBUTTONUP, Keys, RowPoint(Name));
  }
  std::vector<std::string> SelectedNames() {
    std::vector<std::string> Names;
    for (int Row = 0; Row < Form->flist.Model().RowCount(); ++Row)
      if (Form->flist.Model().RowSelected(Row))
        Names.push_back(Utf16ToUtf8(Form->flist.Model().GetCellText(rcName, Row)));
    std::sort(Names.begin(), Names.end());
    return Names;
  }

  TOleScope Ole;
  TRecordingShell Recorded;
};

// A drag moves the pointer, which other test programs on the same desktop place and watch: these run
// alone (tests/app/CMakeLists.txt).
using MainFormPointerTest = MainFormShellTest;

}  // namespace

TEST_F(MainFormPointerTest, DraggedRowsReachTheDropTargetInOrderWithoutTheMissingAndMovedRowsLeave) {
  TForm1& Form = Search();
  ASSERT_EQ(Form.flist.Model().RowCount(), 4);
  Click("a.txt");
  Click("c.txt", true);
  Click("d.txt", true);
  ASSERT_EQ(SelectedNames(), (std::vector<std::string>{"a.txt", "c.txt", "d.txt"}));
  Tree.MakeFolder("moved");
  std::filesystem::remove(Tree.Native("d.txt"));  // gone meanwhile
  // The target where the pointer is (a virtual display may not move it where it is told).
  SetCursorPos(800, 600);
  Application().ProcessMessages();
  POINT Cursor{};
  GetCursorPos(&Cursor);
  TDropWindow Target({Cursor.x - 100, Cursor.y - 100, Cursor.x + 100, Cursor.y + 100}, Tree.Path("moved"));
  Application().ProcessMessages();

  // A plain press on a selected row keeps the selection; a move past the threshold drags it out.
  Form.flist.Perform(WM_LBUTTONDOWN, MK_LBUTTON, RowPoint("c.txt"));
  EXPECT_EQ(SelectedNames().size(), 3u);
  Form.flist.Perform(WM_MOUSEMOVE, MK_LBUTTON, RowPoint("c.txt", 2, 1));  // within the threshold
  EXPECT_TRUE(Target.Dropped.empty());
  Form.flist.Perform(WM_MOUSEMOVE, MK_LBUTTON, RowPoint("c.txt", 12, 8));

  std::vector<std::string> Expected = {Tree.Path("a.txt"), Tree.Path("c.txt")};
  if (RowOf("c.txt") < RowOf("a.txt")) std::swap(Expected[0], Expected[1]);
  EXPECT_EQ(Target.Dropped, Expected);
  EXPECT_EQ(Target.OfferedEffects, static_cast<DWORD>(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK));
  // The file the target moved away and the one gone before leave the grid; the other stays selected.
  const std::string Moved = Expected[0].substr(Expected[0].find_last_of('\\') + 1);
  EXPECT_EQ(Names().size(), 2u);
  EXPECT_EQ(RowOf(Moved), -1);
  EXPECT_EQ(RowOf("d.txt"), -1);
  EXPECT_EQ(SelectedNames(), std::vector<std::string>{Moved == "a.txt" ? "c.txt" : "a.txt"});
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MainFormShellTest, APressOnASelectedRowReleasedWithoutADragSelectsThatRowAlone) {
  TForm1& Form = Search();
  Click("a.txt");
  Click("b.txt", true);
  Click("b.txt");
  EXPECT_EQ(SelectedNames(), std::vector<std::string>{"b.txt"});
  // The header keeps its own drag: a press there and a move never start a drag out.
  Form.flist.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 5));
  Form.flist.Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 40));
  Form.flist.Perform(WM_LBUTTONUP, 0, MAKELPARAM(60, 40));
  EXPECT_EQ(Names().size(), 4u);
}

TEST_F(MainFormShellTest, ShiftWithTheRightButtonShowsTheShellsMenuAndThePlainOneShowsTheWindows) {
  TForm1& Form = Search();
  Click("a.txt");
  Click("b.txt", true);
  std::vector<std::string> Shown;
  BYTE Saved[256], State[256];
  GetKeyboardState(Saved);
  std::copy(std::begin(Saved), std::end(Saved), State);
  State[VK_SHIFT] = 0x80;
  SetKeyboardState(State);
  {
    TWhenReady Reader([] { return FindWindowW(L"#32768", nullptr) != nullptr; },
                      [&] {
                        Shown = OpenMenuTexts();
                        EndMenu();
                      });
    Form.flist.Perform(WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, RowPoint("b.txt"));
    Form.flist.Perform(WM_RBUTTONUP, MK_SHIFT, RowPoint("b.txt"));
  }
  SetKeyboardState(Saved);
  EXPECT_NE(std::find(Shown.begin(), Shown.end(), "&Properties"), Shown.end()) << Shown.size();
  EXPECT_EQ(std::find(Shown.begin(), Shown.end(), "Open With..."), Shown.end());

  // Shift+F10 from the keyboard shows the shell's menu too.
  SetKeyboardState(State);
  Shown.clear();
  {
    TWhenReady Reader([] { return FindWindowW(L"#32768", nullptr) != nullptr; },
                      [&] {
                        Shown = OpenMenuTexts();
                        EndMenu();
                      });
    MSG Key = {Form.flist.Handle(), WM_SYSKEYDOWN, VK_F10, 1, 0, {0, 0}};
    TranslateMessage(&Key);
    DispatchMessageW(&Key);
    Application().ProcessMessages();
  }
  SetKeyboardState(Saved);
  EXPECT_NE(std::find(Shown.begin(), Shown.end(), "&Properties"), Shown.end()) << Shown.size();

  Shown.clear();
  {
    TWhenReady Reader([] { return FindWindowW(L"#32768", nullptr) != nullptr; },
                      [&] {
                        Shown = OpenMenuTexts();
                        EndMenu();
                      });
    Form.flist.Perform(WM_RBUTTONDOWN, MK_RBUTTON, RowPoint("b.txt"));
    Form.flist.Perform(WM_RBUTTONUP, 0, RowPoint("b.txt"));
  }
  ASSERT_GE(Shown.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(Shown.end() - 2, Shown.end()),
            (std::vector<std::string>{"Open With...", "Properties"}));
}

TEST_F(MainFormShellTest, OpenWithAndPropertiesHandTheRowsToTheShell) {
  TForm1& Form = Search();
  Click("a.txt");
  Click("c.txt", true);
  Form.PopupMenu1.Find("Properties1")->Click();
  ASSERT_EQ(Recorded.Properties.size(), 1u);
  EXPECT_EQ(Recorded.Properties[0].size(), 2u);
  Form.PopupMenu1.Find("OpenWith1")->Click();
  EXPECT_EQ(Recorded.OpenedWith, std::vector<std::string>{Tree.Path("c.txt")});
}
