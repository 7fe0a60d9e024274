#include "PaneTestSupport.h"
#include "taskpane/tpContainer.h"
#include "taskpane/tpPaneBar.h"

using namespace PaneTest;

namespace {

struct TStep {
  DWORD Thread;
  int Height, ItemHeight;
  bool Collapsed;
};

struct tpRollTest : FormTest {
  void SetUp() override {
    FormTest::SetUp();
    Bar = std::make_unique<TtpPaneBar>(&Form);
    Bar->SetBounds(492, 4, 184, 123);
    for (int I = 0; I < 4; ++I) Bar->Items().Add().SetCaption("Link");
    // Rolling needs a window, not a place on the screen.
    Form.HandleNeeded();
    Watch(*Bar);
  }
  // Records every height the bar takes, with the thread that set it.
  void Watch(TtpPaneBar& Target) {
    Target.OnResize = [this, &Target](TObject*) {
      Steps.push_back({GetCurrentThreadId(), Target.Height(), Target.CurrentItemHeight(), Target.Collapsed()});
    };
  }
  std::vector<int> Heights() const {
    std::vector<int> Result;
    for (const TStep& Step : Steps) Result.push_back(Step.Height);
    return Result;
  }
  std::vector<int> ItemHeights() const {
    std::vector<int> Result;
    for (const TStep& Step : Steps) Result.push_back(Step.ItemHeight);
    return Result;
  }
  bool WaitForRest(TtpPaneBar& Target) {
    return PumpUntil([&] { return !Target.RollRunning(); });
  }
  std::unique_ptr<TtpPaneBar> Bar;
  std::vector<TStep> Steps;
};

}  // namespace

TEST_F(tpRollTest, CollapseStepsThreePixelsAtATimeOnTheUserInterfaceThread) {
  Bar->SetCollapsed(true);
  // The request returns at once; nothing has moved yet.
  EXPECT_EQ(Bar->Height(), 123);
  EXPECT_FALSE(Bar->Collapsed());
  EXPECT_TRUE(Bar->RollRunning());
  ASSERT_TRUE(WaitForRest(*Bar));
  EXPECT_EQ(Heights(), (std::vector<int>{103, 91, 79, 67, 55, 43, 35}));
  EXPECT_EQ(ItemHeights(), (std::vector<int>{17, 14, 11, 8, 5, 2, 0}));
  for (const TStep& Step : Steps) {
    EXPECT_EQ(Step.Thread, GetCurrentThreadId());
    EXPECT_FALSE(Step.Collapsed);  // Collapsed changes only when the roll has ended
  }
  EXPECT_TRUE(Bar->Collapsed());
  EXPECT_FALSE(Bar->Rolling());
  EXPECT_EQ(Bar->Height(), 35);
}

TEST_F(tpRollTest, ExpandStepsBackToTheFullHeight) {
  Bar->SetCollapsed(true);
  ASSERT_TRUE(WaitForRest(*Bar));
  Steps.clear();
  Bar->SetCollapsed(false);
  ASSERT_TRUE(WaitForRest(*Bar));
  EXPECT_EQ(Heights(), (std::vector<int>{55, 67, 79, 91, 103, 115, 123}));
  EXPECT_EQ(ItemHeights(), (std::vector<int>{3, 6, 9, 12, 15, 18, 20}));
  for (const TStep& Step : Steps) {
    EXPECT_EQ(Step.Thread, GetCurrentThreadId());
    EXPECT_TRUE(Step.Collapsed);
  }
  EXPECT_FALSE(Bar->Collapsed());
  EXPECT_EQ(Bar->Height(), 123);
}

TEST_F(tpRollTest, ItemsArePaintedWhileRollingAndNotWhenCollapsedAtRest) {
  Bar->SetCollapsed(true);
  ASSERT_TRUE(PumpUntil([&] { return Bar->CurrentItemHeight() <= 14; }));
  int Drawn = 0;
  Bar->OnDrawItem = [&](TObject*, TCanvas&, RECT& Rect, TtpDrawState, TtpPaneBarItem*, TBitmap*) {
    ++Drawn;
    EXPECT_EQ(Rect.bottom - Rect.top, 20);  // rows move together; each keeps the item height
  };
  PaintToBitmap(*Bar);
  EXPECT_EQ(Drawn, 4);
  ASSERT_TRUE(WaitForRest(*Bar));
  Drawn = 0;
  PaintToBitmap(*Bar);
  EXPECT_EQ(Drawn, 0);
}

TEST_F(tpRollTest, RollButtonPictureChangesWhenTheRollEnds) {
  TBitmap Expand;
  ASSERT_TRUE(Expand.LoadFromResourceName(GetModuleHandleW(nullptr), "EXPAND0"));
  Bar->SetCollapsed(true);
  ASSERT_TRUE(WaitForRest(*Bar));
  auto Bitmap = PaintToBitmap(*Bar);
  for (int Y = 0; Y < 18; ++Y)
    for (int X = 0; X < 18; ++X) ASSERT_EQ(Bitmap->Pixel(160 + X, 10 + Y), Expand.Pixel(X, Y));
}

TEST_F(tpRollTest, BarWithoutVisibleItemsStillRolls) {
  TtpPaneBar Empty(&Form);
  Empty.SetBounds(4, 4, 482, 35);
  Watch(Empty);
  Steps.clear();
  Empty.SetCollapsed(true);
  ASSERT_TRUE(WaitForRest(Empty));
  EXPECT_TRUE(Empty.Collapsed());
  EXPECT_EQ(Empty.Height(), 35);
  EXPECT_TRUE(Steps.empty());
  Empty.SetCollapsed(false);
  ASSERT_TRUE(WaitForRest(Empty));
  EXPECT_FALSE(Empty.Collapsed());
  EXPECT_EQ(Empty.Height(), 35);
}

TEST_F(tpRollTest, HeaderClickRollsAndClickDuringTheRollStartsNoSecondRoll) {
  Bar->Perform(WM_MOUSEMOVE, 0, At(60, 20));
  Bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(60, 20));
  Bar->Perform(WM_LBUTTONUP, 0, At(60, 20));
  ASSERT_TRUE(Bar->RollRunning());
  ASSERT_TRUE(PumpUntil([&] { return Steps.size() >= 2; }));
  // The second click asks for a collapse again (Collapsed is still false): the running roll goes on alone.
  Bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(60, 20));
  Bar->Perform(WM_LBUTTONUP, 0, At(60, 20));
  Bar->SetCollapsed(true);
  ASSERT_TRUE(WaitForRest(*Bar));
  EXPECT_EQ(Heights(), (std::vector<int>{103, 91, 79, 67, 55, 43, 35}));
  EXPECT_TRUE(Bar->Collapsed());
}

TEST_F(tpRollTest, OppositeRequestTurnsTheRollRoundFromWhereItIs) {
  Bar->SetCollapsed(true);
  ASSERT_TRUE(PumpUntil([&] { return Bar->CurrentItemHeight() == 14; }));
  Bar->SetCollapsed(false);
  ASSERT_TRUE(WaitForRest(*Bar));
  // Turned round before it was collapsed, the bar rolls without its bottom margin and takes it back
  // when the roll ends.
  EXPECT_EQ(ItemHeights(), (std::vector<int>{17, 14, 17, 20, 20}));
  EXPECT_EQ(Heights(), (std::vector<int>{103, 91, 103, 115, 123}));
  EXPECT_FALSE(Bar->Collapsed());
  EXPECT_FALSE(Bar->Rolling());
  EXPECT_EQ(Bar->Height(), 123);
  EXPECT_EQ(Bar->CurrentItemHeight(), 20);
}

TEST_F(tpRollTest, StepsLeftQueuedByTurnedRollsAreNotTakenForTheNewRolls) {
  // Each request waits until its worker's first step is queued, then turns the bar round; a new worker
  // usually lives where the stopped one did, so only its serial tells its steps from the stale ones.
  std::vector<DWORD> Ticks;
  Bar->OnResize = [&](TObject*) {
    Ticks.push_back(GetTickCount());
    Steps.push_back({GetCurrentThreadId(), Bar->Height(), Bar->CurrentItemHeight(), Bar->Collapsed()});
  };
  Bar->SetCollapsed(true);
  Sleep(60);
  Bar->SetCollapsed(false);
  Sleep(60);
  Bar->SetCollapsed(true);
  Sleep(60);
  ASSERT_TRUE(WaitForRest(*Bar));
  EXPECT_EQ(ItemHeights(), (std::vector<int>{17, 14, 11, 8, 5, 2, 0}));
  // One step per interval: the stale steps were not applied at once ahead of the real first one.
  ASSERT_GE(Ticks.size(), 2u);
  EXPECT_GE(Ticks[1] - Ticks[0], 20u);
  EXPECT_TRUE(Bar->Collapsed());
}

namespace {
// Waits for the bar's next roll step and applies it alone, so nothing is painted in between.
bool ApplyNextStep(TtpPaneBar& Bar) {
  const DWORD Start = GetTickCount();
  MSG Message;
  while (!PeekMessageW(&Message, Bar.Handle(), TtpFadeThread::StepMessage(), TtpFadeThread::StepMessage(), PM_REMOVE)) {
    if (GetTickCount() - Start > 5000) return false;
    Sleep(5);
  }
  DispatchMessageW(&Message);
  return true;
}
}  // namespace

TEST_F(tpRollTest, EveryStepRepaintsTheWholeBarSoTheRowsMove) {
  Form.Show();  // only a window on the screen collects what needs repainting
  for (const bool Collapse : {true, false}) {
    SCOPED_TRACE(Collapse ? "collapse" : "expand");
    PumpFor(50);
    ValidateRect(Bar->Handle(), nullptr);
    Bar->SetCollapsed(Collapse);
    ASSERT_TRUE(ApplyNextStep(*Bar));
    EXPECT_EQ(Bar->CurrentItemHeight(), Collapse ? 17 : 3);
    RECT Update = {};
    ASSERT_TRUE(GetUpdateRect(Bar->Handle(), &Update, FALSE));
    // The rows from y = 39 down, not just a strip the height change uncovered.
    EXPECT_LE(Update.top, 39);
    EXPECT_EQ(Update.bottom, Bar->Height());
    ASSERT_TRUE(WaitForRest(*Bar));
  }
}

TEST_F(tpRollTest, WithoutRollButtonCodeStillRollsTheBar) {
  Bar->SetShowRollButton(false);
  Bar->Perform(WM_MOUSEMOVE, 0, At(170, 15));
  Bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(170, 15));
  Bar->Perform(WM_LBUTTONUP, 0, At(170, 15));
  EXPECT_FALSE(Bar->RollRunning());
  Bar->SetCollapsed(true);
  ASSERT_TRUE(WaitForRest(*Bar));
  EXPECT_TRUE(Bar->Collapsed());
  EXPECT_EQ(Bar->Height(), 35);
}

TEST_F(tpRollTest, ItemHeightChangesWhileCollapsedOnlyAimTheNextExpansion) {
  Bar->SetCollapsed(true);
  ASSERT_TRUE(WaitForRest(*Bar));
  Bar->SetItemHeight(25);
  EXPECT_EQ(Bar->Height(), 35);
  Steps.clear();
  Bar->SetCollapsed(false);
  ASSERT_TRUE(WaitForRest(*Bar));
  EXPECT_EQ(ItemHeights(), (std::vector<int>{3, 6, 9, 12, 15, 18, 21, 24, 25}));
  EXPECT_EQ(Bar->Height(), 4 * 25 + 43);
}

TEST_F(tpRollTest, DestroyingTheBarDuringARollStopsItCleanly) {
  Bar->SetCollapsed(true);
  ASSERT_TRUE(PumpUntil([&] { return Steps.size() >= 2; }));
  Bar.reset();  // the worker is stopped and waited for; its late messages find no window
  PumpFor(150);
  EXPECT_EQ(Steps.size(), 2u);
}

TEST_F(tpRollTest, DestroyingTheWindowDuringARollTakesTheEndState) {
  Bar->SetCollapsed(true);
  ASSERT_TRUE(PumpUntil([&] { return Steps.size() >= 1; }));
  Bar->DestroyHandle();
  EXPECT_FALSE(Bar->RollRunning());
  EXPECT_TRUE(Bar->Collapsed());
  EXPECT_EQ(Bar->CurrentItemHeight(), 0);
  PumpFor(100);
  Bar->HandleNeeded();
  EXPECT_TRUE(Bar->Collapsed());
}

TEST_F(tpRollTest, WindowDestroyedByTheSystemEndsTheRollToo) {
  Bar->SetCollapsed(false);  // at rest already: nothing starts
  EXPECT_FALSE(Bar->RollRunning());
  Bar->SetCollapsed(true);
  ASSERT_TRUE(PumpUntil([&] { return Steps.size() >= 1; }));
  DestroyWindow(Bar->Handle());
  EXPECT_FALSE(Bar->RollRunning());
  EXPECT_TRUE(Bar->Collapsed());
  PumpFor(100);
  Bar->SetCollapsed(false);  // a bar without a window takes the end state at once
  EXPECT_FALSE(Bar->RollRunning());
  EXPECT_FALSE(Bar->Collapsed());
  EXPECT_EQ(Bar->Height(), 123);
}

TEST_F(tpRollTest, HandlerThatTurnsTheRollRoundInsideAStepIsSafe) {
  Bar->OnResize = [this](TObject*) {
    Steps.push_back({GetCurrentThreadId(), Bar->Height(), Bar->CurrentItemHeight(), Bar->Collapsed()});
    if (Bar->CurrentItemHeight() == 14) Bar->SetCollapsed(false);  // stops this roll from inside its step
  };
  Bar->SetCollapsed(true);
  ASSERT_TRUE(WaitForRest(*Bar));
  // Stopped at 14 the bar rests expanded for a moment (its margin comes back), then rolls down again.
  EXPECT_EQ(ItemHeights(), (std::vector<int>{17, 14, 14, 17, 20, 20}));
  EXPECT_EQ(Heights(), (std::vector<int>{103, 91, 99, 103, 115, 123}));
  EXPECT_FALSE(Bar->Collapsed());
}

TEST_F(tpRollTest, FailingStepEndsTheRollWhereItIsAndTheBarRollsAgainLater) {
  Bar->OnResize = [this](TObject*) {
    if (Bar->CurrentItemHeight() == 11) throw Exception("Resize handler failed");
  };
  Bar->SetCollapsed(true);
  ASSERT_TRUE(WaitForRest(*Bar));
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0], "Resize handler failed");
  Errors.clear();
  EXPECT_FALSE(Bar->Collapsed());
  EXPECT_FALSE(Bar->Rolling());
  EXPECT_EQ(Bar->CurrentItemHeight(), 11);
  Bar->OnResize = nullptr;
  Bar->SetCollapsed(true);
  ASSERT_TRUE(WaitForRest(*Bar));
  EXPECT_TRUE(Bar->Collapsed());
  EXPECT_EQ(Bar->Height(), 35);
}

TEST_F(tpRollTest, ManyBarsRollingAtOnceEachEndWhereTheyWereSent) {
  std::vector<std::unique_ptr<TtpPaneBar>> Bars;
  for (int I = 0; I < 6; ++I) {
    Bars.push_back(std::make_unique<TtpPaneBar>(&Form));
    Bars.back()->SetBounds(10, 10 + I * 5, 150, 35);
    for (int J = 0; J < 3; ++J) Bars.back()->Items().Add();
    Bars.back()->SetCollapsed(true);
  }
  Bars[2].reset();
  Bars[4]->SetCollapsed(false);  // turned round at once: it never left the expanded state
  for (auto& Each : Bars) {
    if (Each) {
      ASSERT_TRUE(WaitForRest(*Each));
    }
  }
  for (int I = 0; I < 6; ++I) {
    if (!Bars[I]) continue;
    EXPECT_EQ(Bars[I]->Collapsed(), I != 4) << I;
    EXPECT_EQ(Bars[I]->Height(), I != 4 ? 35 : 3 * 20 + 43) << I;
  }
}

TEST_F(tpRollTest, FixedRollModeKeepsTheRowsWhereTheyAre) {
  Bar->SetRollMode(rmFixed);
  Bar->SetCollapsed(true);
  ASSERT_TRUE(PumpUntil([&] { return Bar->CurrentItemHeight() <= 8; }));
  std::vector<int> Tops;
  Bar->OnDrawItem = [&](TObject*, TCanvas&, RECT& Rect, TtpDrawState, TtpPaneBarItem*, TBitmap*) {
    Tops.push_back(Rect.top);
  };
  PaintToBitmap(*Bar);
  EXPECT_EQ(Tops, (std::vector<int>{39, 59, 79, 99}));
  Tops.clear();
  Bar->SetRollMode(rmShrink);
  const int Pitch = Bar->CurrentItemHeight();
  PaintToBitmap(*Bar);
  EXPECT_EQ(Tops, (std::vector<int>{39, 39 + Pitch, 39 + 2 * Pitch, 39 + 3 * Pitch}));
  ASSERT_TRUE(WaitForRest(*Bar));
}
