// The scroll-bar objects, window scrolling and middle-button rolling.
#include "GridTestSupport.h"

namespace {
struct ScrollViewTest : GridFixture {
  void SetUp() override {
    GridFixture::SetUp();
    Grid->SetOptions(TGridOptions{});
    Grid->SetBounds(0, 0, 300, 160);
    AddColumn(100);
    Grid->Model().AddRows(100);
  }
};
}  // namespace

TEST_F(ScrollViewTest, ScrollBarObjectClampsAndIgnoresStepsWithoutRange) {
  TControlScrollBar& Bar = Grid->VertScrollBar();
  Bar.SetPosition(500);
  EXPECT_EQ(Bar.Position(), 90);
  Bar.SetPosition(-3);
  EXPECT_EQ(Bar.Position(), 0);
  Bar.SetMin(-5);
  EXPECT_EQ(Bar.Min(), 0);
  Grid->Model().ClearRows();
  EXPECT_EQ(Bar.Max(), 0);
  Bar.LineDown();
  EXPECT_EQ(Bar.Position(), 0);
}

TEST_F(ScrollViewTest, OneRowScrollRepaintsOnlyTheUncoveredStrip) {
  Form.Show();
  UpdateWindow(Grid->Handle());
  RECT Pending{};
  ASSERT_FALSE(GetUpdateRect(Grid->Handle(), &Pending, FALSE));
  Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
  ASSERT_TRUE(GetUpdateRect(Grid->Handle(), &Pending, FALSE));
  EXPECT_EQ(Pending.top, 160 - 16);
  EXPECT_EQ(Pending.bottom, 160);
  UpdateWindow(Grid->Handle());
  Grid->Perform(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0));
  EXPECT_EQ(Grid->HorzOffset(), 0);  // nothing to scroll: the column fits
}

// Horizontally the contents move by pixels: a line step of 5 uncovers a 5-pixel strip on the right,
// header included, and only that strip waits to be painted.
TEST_F(ScrollViewTest, APixelStepRepaintsOnlyTheStripOnTheRight) {
  Grid->SetOptions(TGridOptions{goHeader});
  Grid->Model().Columns().Items(0)->SetWidth(600);
  Grid->Model().SetCurrentCell(-1, -1, 0);
  Form.Show();
  UpdateWindow(Grid->Handle());
  Grid->Perform(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0));
  EXPECT_EQ(Grid->HorzOffset(), 5);
  RECT Pending{};
  ASSERT_TRUE(GetUpdateRect(Grid->Handle(), &Pending, FALSE));
  EXPECT_EQ(Pending.left, Grid->ClientWidth() - 5);
  EXPECT_EQ(Pending.right, Grid->ClientWidth());
  EXPECT_EQ(Pending.top, 0);
  EXPECT_EQ(Pending.bottom, Grid->ClientHeight());
  UpdateWindow(Grid->Handle());
  Grid->Perform(WM_HSCROLL, MAKEWPARAM(SB_PAGELEFT, 0));
  EXPECT_EQ(Grid->HorzOffset(), 0);
  ASSERT_TRUE(GetUpdateRect(Grid->Handle(), &Pending, FALSE));
  EXPECT_EQ(Pending.left, 0);
  EXPECT_EQ(Pending.right, 5);
}

TEST_F(ScrollViewTest, RollingFollowsTheMouse) {
  Form.Show();
  Grid->Perform(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(50, 50));
  ASSERT_TRUE(Grid->Rolling());
  EXPECT_EQ(Screen().Cursor(), crRoll);
  // The marker: a 32 x 32 topmost tool window at the press point less (7, 11), shaped as two
  // triangles and a dot.
  ASSERT_NE(Grid->RollShadow(), nullptr);
  HWND Marker = Grid->RollShadow()->Handle();
  EXPECT_TRUE(IsWindowVisible(Marker));
  RECT Placed{};
  GetWindowRect(Marker, &Placed);
  const POINT Press = Grid->ClientToScreen(POINT{50, 50});
  EXPECT_EQ(Placed.left, Press.x - 7);
  EXPECT_EQ(Placed.top, Press.y - 11);
  EXPECT_EQ(Placed.right - Placed.left, 32);
  EXPECT_TRUE(GetWindowLongW(Marker, GWL_EXSTYLE) & WS_EX_TOPMOST);
  HRGN Shape = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(Marker, Shape), ERROR);
  EXPECT_TRUE(PtInRegion(Shape, 7, 3));   // upper triangle
  EXPECT_TRUE(PtInRegion(Shape, 7, 11));  // the dot
  EXPECT_TRUE(PtInRegion(Shape, 6, 18));  // lower triangle
  EXPECT_FALSE(PtInRegion(Shape, 20, 20));
  DeleteObject(Shape);
  // 150 pixels below the press point: down, on every millisecond tick.
  Grid->Perform(WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(50, 200));
  EXPECT_EQ(Grid->RollDirection(), 1);
  EXPECT_EQ(Screen().Cursor(), crRollDown);
  Grid->RollTick();
  EXPECT_EQ(Grid->RollInterval(), 1u);
  EXPECT_EQ(Grid->TopRow(), 1);
  // 3 pixels away: no rolling.
  Grid->Perform(WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(50, 53));
  EXPECT_EQ(Grid->RollDirection(), 0);
  Grid->RollTick();
  EXPECT_EQ(Grid->TopRow(), 1);
  EXPECT_EQ(Grid->RollInterval(), 97u);
  Grid->Perform(WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(50, 30));
  EXPECT_EQ(Grid->RollDirection(), -1);
  EXPECT_EQ(Screen().Cursor(), crRollUp);
  Grid->RollTick();
  EXPECT_EQ(Grid->TopRow(), 0);
  Grid->Perform(WM_MBUTTONUP, 0, MAKELPARAM(50, 30));
  EXPECT_FALSE(Grid->Rolling());
  EXPECT_EQ(Screen().Cursor(), crDefault);
  EXPECT_FALSE(IsWindowVisible(Marker));
}

TEST_F(ScrollViewTest, WheelScrollsARowOrAPage) {
  Grid->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(Grid->TopRow(), 1);
  Grid->Perform(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(Grid->TopRow(), 11);
  Grid->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(Grid->TopRow(), 10);
}

TEST(GridCursorsTest, EveryCursorResourceIsThere) {
  for (const wchar_t* Name :
       {L"HORZSPLIT", L"COLUMNNODRAG", L"INDICATORSELECT", L"ROLL", L"ROLLUP", L"ROLLDOWN", L"REVERSEDARROW"})
    EXPECT_NE(LoadImageW(GetModuleHandleW(nullptr), Name, IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE), nullptr)
        << static_cast<const void*>(Name);
  RegisterGridCursors();
  EXPECT_NE(Screen().CursorHandle(crRollDown), Screen().CursorHandle(crDefault));
}

// A grid that goes while rolling gives the cursor and the capture back.
TEST_F(ScrollViewTest, AGridDestroyedWhileRollingRestoresTheCursor) {
  Form.Show();
  Grid->Perform(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(50, 50));
  Grid->Perform(WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(50, 120));
  ASSERT_EQ(Screen().Cursor(), crRollDown);
  Grid.reset();
  EXPECT_EQ(Screen().Cursor(), crDefault);
  EXPECT_EQ(GetCapture(), nullptr);
}
