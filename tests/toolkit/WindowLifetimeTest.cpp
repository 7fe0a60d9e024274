// When windows are made and destroyed, and what outlives what: controls, forms, timers and hints.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/HintWindow.h"
#include "toolkit/Timer.h"

namespace {

// Writes "+Name" when its window is made and "-Name" just before it goes.
class TLoggedControl : public TCustomControl {
 public:
  TLoggedControl(TWinControl* Parent, std::string Name, std::vector<std::string>& Log)
      : TCustomControl(Parent), FName(std::move(Name)), FLog(Log) {}
  ~TLoggedControl() override { DestroyHandle(); }

 protected:
  void CreateWnd() override {
    // The parent's window is there before any child's.
    if (Parent()) {
      EXPECT_TRUE(Parent()->HandleAllocated()) << FName;
    }
    FLog.push_back("+" + FName);
  }
  void DestroyWnd() override {
    for (TWinControl* Child : Controls()) EXPECT_FALSE(Child->HandleAllocated()) << FName;
    FLog.push_back("-" + FName);
  }

 private:
  std::string FName;
  std::vector<std::string>& FLog;
};

void PumpFor(DWORD Milliseconds) {
  const DWORD Until = GetTickCount() + Milliseconds;
  while (static_cast<int>(Until - GetTickCount()) > 0) {
    Application().ProcessMessages();
    Sleep(5);
  }
}

}  // namespace

TEST(WindowLifetimeTest, ChildrenAreMadeAfterTheirParentAndDestroyedBeforeIt) {
  std::vector<std::string> Log;
  TLoggedControl Root(nullptr, "root", Log);
  TLoggedControl Panel(&Root, "panel", Log), Second(&Root, "second", Log);
  TLoggedControl Inner(&Panel, "inner", Log);
  Inner.HandleNeeded();  // one window asked for makes the whole chain above it, and their children
  EXPECT_EQ(Log, (std::vector<std::string>{"+root", "+panel", "+inner", "+second"}));
  Log.clear();
  Root.DestroyHandle();
  EXPECT_EQ(Log, (std::vector<std::string>{"-inner", "-panel", "-second", "-root"}));
  EXPECT_FALSE(Inner.HandleAllocated());
  // The objects stay and make their windows again on demand.
  Log.clear();
  Second.HandleNeeded();
  EXPECT_EQ(Log, (std::vector<std::string>{"+root", "+panel", "+inner", "+second"}));
}

TEST(WindowLifetimeTest, AChildDestroyedFirstLeavesItsParentsListAndWindow) {
  std::vector<std::string> Log;
  TLoggedControl Root(nullptr, "root", Log);
  auto Child = std::make_unique<TLoggedControl>(&Root, "child", Log);
  const HWND ChildWindow = Child->Handle();
  Child.reset();
  EXPECT_TRUE(Root.Controls().empty());
  EXPECT_FALSE(IsWindow(ChildWindow));
  Log.clear();
  Root.DestroyHandle();
  EXPECT_EQ(Log, std::vector<std::string>{"-root"});
}

TEST(WindowLifetimeTest, AChildThatOutlivesItsParentIsLeftWithoutOne) {
  std::vector<std::string> Log;
  auto Root = std::make_unique<TLoggedControl>(nullptr, "root", Log);
  TLoggedControl Orphan(Root.get(), "orphan", Log);
  Orphan.HandleNeeded();
  Root.reset();
  EXPECT_EQ(Orphan.Parent(), nullptr);
  EXPECT_FALSE(Orphan.HandleAllocated());  // its window went with the parent's
}

TEST(WindowLifetimeTest, MovingAControlToAnotherParentMovesItsWindow) {
  std::vector<std::string> Log;
  TLoggedControl First(nullptr, "first", Log), Second(nullptr, "second", Log);
  TLoggedControl Moved(&First, "moved", Log);
  const HWND Window = Moved.Handle();
  Moved.SetParent(&Second);
  EXPECT_EQ(Moved.Handle(), Window);
  EXPECT_EQ(GetParent(Window), Second.Handle());
  EXPECT_TRUE(First.Controls().empty());
  ASSERT_EQ(Second.Controls().size(), 1u);
  Moved.SetParent(nullptr);
  EXPECT_FALSE(Moved.HandleAllocated());
}

TEST(WindowLifetimeTest, ADestroyedTimerNeverFiresAgain) {
  int Ticks = 0;
  {
    TTimer Timer;
    Timer.SetInterval(10);
    Timer.OnTimer = [&](TObject*) { ++Ticks; };
    Sleep(50);  // ticks fall due while nobody pumps
  }
  PumpFor(100);
  EXPECT_EQ(Ticks, 0);
}

TEST(WindowLifetimeTest, ATimerThatThrowsIsReportedAndKeepsTicking) {
  std::vector<std::string> Errors;
  Application().OnException = [&](const std::exception& Error) { Errors.push_back(Error.what()); };
  TTimer Timer;
  Timer.SetInterval(10);
  int Ticks = 0;
  Timer.OnTimer = [&](TObject*) {
    if (++Ticks == 1) throw 42;  // not even a standard exception may leave the window procedure
    Timer.SetEnabled(false);
  };
  for (int Round = 0; Round < 200 && Ticks < 2; ++Round) PumpFor(10);
  Application().OnException = nullptr;
  EXPECT_EQ(Ticks, 2);
  EXPECT_EQ(Errors, std::vector<std::string>{"Unknown error"});
}

TEST(WindowLifetimeTest, AHintShowsAgainAfterItsWindowWasDestroyed) {
  THintWindow Hint;
  const std::u16string Text = u"Hint text";
  RECT Rect = Hint.CalcHintRect(0, Text);
  OffsetRect(&Rect, 40, 40);
  Hint.ActivateHint(Rect, Text);
  ASSERT_TRUE(IsWindowVisible(Hint.Handle()));
  Hint.DestroyHandle();
  Hint.ActivateHint(Rect, Text);  // same text, same place: it must not think it is still showing
  EXPECT_TRUE(Hint.HandleAllocated() && IsWindowVisible(Hint.Handle()));
  Hint.HideFlyout();
  EXPECT_FALSE(IsWindowVisible(Hint.Handle()));
}

TEST(WindowLifetimeTest, AHintWiderThanItsLimitWrapsAndLetsTheMouseThrough) {
  THintWindow Hint;
  const std::u16string Text = u"a long hint that needs more than one line at this width";
  const RECT Line = Hint.CalcHintRect(0, Text);
  const RECT Wrapped = Hint.CalcHintRect(120, Text);
  EXPECT_LE(Wrapped.right, 120);
  EXPECT_GT(Wrapped.bottom, Line.bottom);
  Hint.ActivateHint(Wrapped, Text);
  EXPECT_TRUE(Hint.WordWrap());
  EXPECT_EQ(SendMessageW(Hint.Handle(), WM_NCHITTEST, 0, MAKELPARAM(Hint.Left() + 2, Hint.Top() + 2)), HTTRANSPARENT);
}

TEST(WindowLifetimeTest, ClosingTheMainFormEndsTheLoopAndTheApplicationForgetsItWhenItGoes) {
  {
    TForm Form;
    Form.SetBounds(0, 0, 200, 100);
    Form.OnShow = [&](TObject*) { Form.Close(); };
    TCloseAction Offered = caNone;
    Form.OnClose = [&](TObject*, TCloseAction& Action) { Offered = Action; };
    Application().Run(Form);
    // The quit request is taken with the loop's end: a message box shown while the window goes (a
    // save that fails at close) waits for its answer instead of closing at once.
    MSG Quit;
    EXPECT_FALSE(PeekMessageW(&Quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(Offered, caFree);
    EXPECT_TRUE(Application().Terminated());
    EXPECT_EQ(Application().MainForm(), &Form);
  }
  EXPECT_EQ(Application().MainForm(), nullptr);
}
