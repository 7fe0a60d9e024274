#include <gtest/gtest.h>

#include "tests/toolkit/FormFixture.h"
#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Forms.h"

namespace {

class TProbe : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int Paints = 0, Downs = 0, Moves = 0, Keys = 0;
  TMouseButton LastButton = mbRight;
  int LastX = -1, LastY = -1;
  bool ThrowOnClick = false;

 protected:
  void Paint() override {
    ++Paints;
    Canvas().Brush().SetColor(clRed);
    Canvas().FillRect(ClientRect());
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    ++Downs;
    LastButton = Button, LastX = X, LastY = Y;
    if (ThrowOnClick) throw Exception("Probe failure");
    TCustomControl::MouseDown(Button, Shift, X, Y);
  }
  void MouseMove(TShiftState, int, int) override { ++Moves; }
  void KeyDown(WORD& Key, TShiftState) override {
    ++Keys;
    if (Key == VK_DOWN) Key = 0;
  }
};

using ControlsTest = TFormFixture;

}  // namespace

TEST_F(ControlsTest, WindowsAreMadeOnDemandParentFirst) {
  TProbe Probe(&Form);
  Probe.SetBounds(10, 20, 100, 50);
  EXPECT_FALSE(Form.HandleAllocated());
  HWND Window = Probe.Handle();
  EXPECT_TRUE(Form.HandleAllocated());
  EXPECT_EQ(GetParent(Window), Form.Handle());
  EXPECT_EQ(TWinControl::FromHandle(Window), &Probe);
  RECT Client = Probe.ClientRect();
  EXPECT_EQ(Client.right, 100);
  EXPECT_EQ(Client.bottom, 50);
  Probe.DestroyHandle();
  EXPECT_FALSE(Probe.HandleAllocated());
  EXPECT_EQ(TWinControl::FromHandle(Window), nullptr);
}

TEST_F(ControlsTest, AControlMadeOnALiveParentGetsItsOwnWindowClass) {
  struct TOwnClass : TCustomControl {
    using TCustomControl::TCustomControl;
    void CreateParams(TCreateParams& Params) override {
      TCustomControl::CreateParams(Params);
      Params.ClassName = L"Torvane.Test.OwnClass";
    }
  };
  const auto ClassOf = [](HWND Window) {
    wchar_t Name[64] = {};
    GetClassNameW(Window, Name, 64);
    return std::wstring(Name);
  };
  Form.HandleNeeded();
  TOwnClass Posted(&Form), OnDemand(&Form);
  EXPECT_EQ(ClassOf(OnDemand.Handle()), L"Torvane.Test.OwnClass");
  EXPECT_FALSE(Posted.HandleAllocated());
  Application().ProcessMessages();
  ASSERT_TRUE(Posted.HandleAllocated());
  EXPECT_EQ(ClassOf(Posted.Handle()), L"Torvane.Test.OwnClass");
  EXPECT_EQ(GetParent(Posted.Handle()), Form.Handle());
}

TEST_F(ControlsTest, ARightClickAsksForTheContextMenu) {
  struct TMenuProbe : TProbe {
    using TProbe::TProbe;
    int Requests = 0;
    LRESULT WndProc(UINT Message, WPARAM WParam, LPARAM LParam) override {
      if (Message == WM_CONTEXTMENU) ++Requests;
      return TProbe::WndProc(Message, WParam, LParam);
    }
  };
  TMenuProbe Probe(&Form);
  Probe.SetBounds(0, 0, 100, 50);
  SendMessageW(Probe.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  SendMessageW(Probe.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Probe.Requests, 1);
}

TEST_F(ControlsTest, MouseAndKeyMessagesReachTheHandlers) {
  TProbe Probe(&Form);
  Probe.SetBounds(0, 0, 100, 50);
  Probe.HandleNeeded();
  SendMessageW(Probe.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(7, 9));
  EXPECT_EQ(Probe.Downs, 1);
  EXPECT_EQ(Probe.LastButton, mbRight);
  EXPECT_EQ(Probe.LastX, 7);
  EXPECT_EQ(Probe.LastY, 9);
  SendMessageW(Probe.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(8, 9));
  EXPECT_EQ(Probe.Moves, 1);
  SendMessageW(Probe.Handle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(Probe.Keys, 1);
  int Clicks = 0;
  Probe.OnMouseDown = [&](TObject* Sender, TMouseButton, TShiftState, int, int) {
    EXPECT_EQ(Sender, &Probe);
    ++Clicks;
  };
  Probe.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  EXPECT_EQ(Clicks, 1);
}

TEST_F(ControlsTest, AnExceptionInAHandlerIsReportedAndTheProgramGoesOn) {
  TProbe Probe(&Form);
  Probe.SetBounds(0, 0, 100, 50);
  Probe.ThrowOnClick = true;
  Probe.HandleNeeded();
  SendMessageW(Probe.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0], "Probe failure");
  Probe.ThrowOnClick = false;
  SendMessageW(Probe.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(Probe.Downs, 2);
  EXPECT_EQ(Errors.size(), 1u);
}

TEST_F(ControlsTest, PaintingGoesThroughTheCanvas) {
  TProbe Probe(&Form);
  Probe.SetBounds(0, 0, 20, 10);
  Probe.HandleNeeded();
  TBitmap Bitmap(20, 10);
  Probe.PaintTo(Bitmap.Canvas());
  EXPECT_EQ(Bitmap.Pixel(19, 9), RGB(255, 0, 0));
  Form.Show();
  Probe.Repaint();
  EXPECT_GE(Probe.Paints, 2);
  HDC Screen = GetDC(Probe.Handle());
  EXPECT_EQ(GetPixel(Screen, 5, 5), RGB(255, 0, 0));
  ReleaseDC(Probe.Handle(), Screen);
}

TEST_F(ControlsTest, ChildrenFollowTheParentFontUntilGivenTheirOwn) {
  TProbe Follower(&Form), Own(&Form);
  Form.Font().SetName("Tahoma");
  Form.Font().SetSize(8);
  Own.Font().SetSize(12);
  EXPECT_FALSE(Own.ParentFont());
  Form.Font().SetSize(10);
  EXPECT_EQ(Follower.Font().Size(), 10);
  EXPECT_TRUE(Follower.ParentFont());
  EXPECT_EQ(Own.Font().Size(), 12);
}

TEST_F(ControlsTest, ProcessMessagesDispatchesWhatIsPending) {
  TProbe Probe(&Form);
  Probe.HandleNeeded();
  PostMessageW(Probe.Handle(), WM_KEYDOWN, 'A', 0);
  PostMessageW(Probe.Handle(), WM_KEYDOWN, 'B', 0);
  Application().ProcessMessages();
  EXPECT_EQ(Probe.Keys, 2);
}

// A window of another process of the toolkit (a second instance of the program, a test beside this
// one) carries an object pointer of that process: it is no control here. The test starts itself a
// second time to own such a window.
TEST(ForeignWindowTest, AWindowOfAnotherProcessIsNoControlOfThisOne) {
  const wchar_t* const Caption = L"Torvane foreign window";
  if (GetEnvironmentVariableW(L"TORVANE_FOREIGN_WINDOW", nullptr, 0) > 0) {
    Application().Initialize();
    TForm Form;
    Form.SetCaption("Torvane foreign window");
    Form.Show();
    for (int Tick = 0; Tick < 2000; ++Tick) {  // until the first process ends this one
      Application().ProcessMessages();
      Sleep(10);
    }
    return;
  }
  std::wstring CommandLine(MAX_PATH, L'\0');
  CommandLine.resize(GetModuleFileNameW(nullptr, CommandLine.data(), MAX_PATH));
  CommandLine = L"\"" + CommandLine + L"\" --gtest_filter=ForeignWindowTest.*";
  SetEnvironmentVariableW(L"TORVANE_FOREIGN_WINDOW", L"1");
  STARTUPINFOW Startup{};
  Startup.cb = sizeof(Startup);
  PROCESS_INFORMATION Process{};
  const bool Started =
      CreateProcessW(nullptr, CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Startup, &Process);
  SetEnvironmentVariableW(L"TORVANE_FOREIGN_WINDOW", nullptr);
  ASSERT_TRUE(Started);
  HWND Foreign = nullptr;
  for (int Tick = 0; Tick < 2000 && !(Foreign = FindWindowW(nullptr, Caption)); ++Tick) Sleep(10);
  EXPECT_NE(Foreign, nullptr);
  EXPECT_EQ(TWinControl::FromHandle(Foreign), nullptr);
  TerminateProcess(Process.hProcess, 0);
  WaitForSingleObject(Process.hProcess, 10000);
  CloseHandle(Process.hThread);
  CloseHandle(Process.hProcess);
}
