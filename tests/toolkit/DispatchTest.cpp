// Each message reaches the handler meant for it, with what the handler needs, in the right order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/toolkit/FormFixture.h"
#include "toolkit/Application.h"
#include "toolkit/StdCtrls.h"

namespace {

// Writes every handler call as "Handler button shift x,y".
class TRecorder : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  std::vector<std::string> Log;

 protected:
  static std::string Mouse(const char* Name, TMouseButton Button, TShiftState Shift, int X, int Y) {
    return std::string(Name) + " " + "LRM"[Button] + " " + std::to_string(Shift) + " " + std::to_string(X) + "," +
           std::to_string(Y);
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    Log.push_back(Mouse("Down", Button, Shift, X, Y));
  }
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    Log.push_back(Mouse("Up", Button, Shift, X, Y));
  }
  void DblClick() override { Log.push_back("DblClick"); }
  bool MouseWheel(TShiftState Shift, int Delta, POINT ScreenPos) override {
    Log.push_back("Wheel " + std::to_string(Shift) + " " + std::to_string(Delta) + " " + std::to_string(ScreenPos.x) +
                  "," + std::to_string(ScreenPos.y));
    return true;
  }
  void KeyUp(WORD& Key, TShiftState) override { Log.push_back("KeyUp " + std::to_string(Key)); }
};

struct DispatchTest : TFormFixture {
  void TearDown() override {
    TFormFixture::TearDown();
    Screen().SetCursor(crDefault);
  }
};

}  // namespace

TEST_F(DispatchTest, EveryMouseMessageReachesItsHandlerWithItsButtonAndKeys) {
  TRecorder Control(&Form);
  Control.SetBounds(0, 0, 100, 50);
  const HWND Window = Control.Handle();
  SendMessageW(Window, WM_MBUTTONDOWN, MK_MBUTTON | MK_SHIFT, MAKELPARAM(3, 4));
  SendMessageW(Window, WM_MBUTTONUP, MK_CONTROL, MAKELPARAM(5, 6));
  SendMessageW(Window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 2));
  SendMessageW(Window, WM_RBUTTONDBLCLK, MK_RBUTTON, MAKELPARAM(7, 8));
  SendMessageW(Window, WM_RBUTTONUP, 0, MAKELPARAM(-2, 9));  // a captured mouse may be left of the window
  SendMessageW(Window, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(50, 60));
  SendMessageW(Window, WM_SYSKEYUP, VK_F10, 0);
  const std::vector<std::string> Expected = {
      "Down M " + std::to_string(ssMiddle | ssShift) + " 3,4",
      "Up M " + std::to_string(ssCtrl) + " 5,6",
      "DblClick",  // before the press it belongs to, and for the left button only
      "Down L " + std::to_string(ssLeft | ssDouble) + " 1,2",
      "Down R " + std::to_string(ssRight | ssDouble) + " 7,8",
      "Up R 0 -2,9",
      "Wheel " + std::to_string(ssShift) + " -120 50,60",
      "KeyUp " + std::to_string(VK_F10),
  };
  EXPECT_EQ(Control.Log, Expected);
}

TEST_F(DispatchTest, AKeyPressMayReplaceOrSwallowTheCharacter) {
  TEdit Edit(&Form);
  Edit.SetBounds(0, 0, 100, 22);
  Edit.OnKeyPress = [](TObject*, wchar_t& Key) {
    if (Key == L'a') Key = L'b';
    if (Key == L'x') Key = 0;
  };
  for (wchar_t Char : std::wstring(L"axc")) SendMessageW(Edit.Handle(), WM_CHAR, Char, 0);
  EXPECT_EQ(Edit.Text(), "bc");
}

TEST_F(DispatchTest, AKeyDownHandlerThatTakesTheKeyKeepsItFromTheControl) {
  TEdit Edit(&Form);
  Edit.SetBounds(0, 0, 100, 22);
  Edit.SetText("abc");
  SendMessageW(Edit.Handle(), EM_SETSEL, 0, 0);
  bool Take = true;
  Edit.OnKeyDown = [&](TObject*, WORD& Key, TShiftState) {
    if (Take && Key == VK_DELETE) Key = 0;
  };
  SendMessageW(Edit.Handle(), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(Edit.Text(), "abc");
  Take = false;
  SendMessageW(Edit.Handle(), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(Edit.Text(), "bc");
}

TEST_F(DispatchTest, TheFocusLeavesOneControlBeforeItEntersTheNext) {
  TEdit First(&Form), Second(&Form);
  First.SetBounds(0, 0, 100, 22);
  Second.SetBounds(0, 30, 100, 22);
  std::vector<std::string> Log;
  First.OnEnter = [&](TObject*) { Log.push_back("enter first"); };
  First.OnExit = [&](TObject*) { Log.push_back("exit first"); };
  Second.OnEnter = [&](TObject*) { Log.push_back("enter second (first " + std::to_string(First.Focused()) + ")"); };
  Form.Show();
  First.SetFocus();
  Second.SetFocus();
  EXPECT_EQ(Log, (std::vector<std::string>{"enter first", "exit first", "enter second (first 0)"}));
}

TEST_F(DispatchTest, ASizeChangeReachesOnResizeOnceWhoeverMadeIt) {
  TRecorder Control(&Form);
  Control.SetBounds(0, 0, 100, 50);
  Control.HandleNeeded();
  int Resizes = 0;
  Control.OnResize = [&](TObject*) { ++Resizes; };
  Control.SetBounds(0, 0, 120, 50);
  EXPECT_EQ(Resizes, 1);
  SetWindowPos(Control.Handle(), nullptr, 5, 6, 80, 40, SWP_NOZORDER | SWP_NOACTIVATE);  // not through us
  EXPECT_EQ(Resizes, 2);
  EXPECT_EQ(Control.Left(), 5);
  EXPECT_EQ(Control.Width(), 80);
  EXPECT_EQ(Control.Height(), 40);
  SetWindowPos(Control.Handle(), nullptr, 9, 9, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
  EXPECT_EQ(Resizes, 2);  // moved only
  EXPECT_EQ(Control.Top(), 9);
}

TEST_F(DispatchTest, AStandardControlsNoticeToItsParentComesBackToIt) {
  TButton Button(&Form);
  Button.SetBounds(0, 0, 80, 24);
  int Clicks = 0;
  Button.OnClick = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &Button);
    ++Clicks;
  };
  Form.Show();
  SendMessageW(Button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Clicks, 1);
}

TEST_F(DispatchTest, TheScreenCursorWinsOverTheControlsOwn) {
  TRecorder Control(&Form);
  Control.SetBounds(0, 0, 100, 50);
  Control.SetCursor(crHandPoint);
  const HWND Window = Control.Handle();
  const auto SetCursorMessage = [&] {
    return SendMessageW(Window, WM_SETCURSOR, reinterpret_cast<WPARAM>(Window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  };
  EXPECT_EQ(SetCursorMessage(), TRUE);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  Screen().SetCursor(crHourGlass);
  EXPECT_EQ(SetCursorMessage(), TRUE);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  EXPECT_EQ(Screen().CursorHandle(crNone), nullptr);
  EXPECT_FALSE(Screen().RegisterCursor(1, "NO SUCH CURSOR"));
  EXPECT_EQ(Screen().CursorHandle(1), LoadCursorW(nullptr, IDC_ARROW));  // an unknown number: the arrow
}

TEST_F(DispatchTest, AnythingThrownInAHandlerIsReportedNotPassedOn) {
  TEdit Edit(&Form);
  Edit.OnKeyPress = [](TObject*, wchar_t& Key) {
    if (Key == L'1') throw EConvertError("Not a number");
    if (Key == L'2') throw 2;
  };
  for (wchar_t Char : std::wstring(L"123")) SendMessageW(Edit.Handle(), WM_CHAR, Char, 0);
  EXPECT_EQ(Errors, (std::vector<std::string>{"Not a number", "Unknown error"}));
  EXPECT_EQ(Edit.Text(), "3");
}
