// The pointer's rules without a window: presses, resizes, header presses that become drags, releases
// and hovering, over a geometry of two columns (100 and 60 pixels, no indicator) and five rows.
#include <gtest/gtest.h>

#include <tuple>

#include "RecordingGrid.h"
#include "gridview/ColumnClasses.h"
#include "gridview/GridPointer.h"

namespace {
struct TFakeViewport : TGridViewport {
  int ViewportWidth() const override { return 400; }
  int ViewportHeight() const override { return 200; }
  int TopRow() const override { return 0; }
  int HorzOffset() const override { return 0; }
};

constexpr int Left = 0, Right = 1;

class GridPointerTest : public ::testing::Test {
 protected:
  GridPointerTest() {
    Grid.SetOptions(TGridOptions{goHeader});
    Grid.Columns().Add<TTextualColumn>()->SetWidth(100);
    Grid.Columns().Add<TTextualColumn>()->SetWidth(60);
    Grid.AddRows(5);
  }
  TCustomColumn* Column(int Index) { return Grid.Columns().Items(Index); }
  int RowY(int Row) const { return Geometry.RowTop(Row) + 2; }
  TRecordingGrid Grid;
  TFakeViewport View;
  TGridGeometry Geometry{Grid, View};
  TGridPointer Pointer{Geometry};
};
}  // namespace

TEST_F(GridPointerTest, AResizeFollowsThePointerNoNarrowerThanTheMinimumAndEndsOnItsOwnButton) {
  Pointer.Press(Left, 101, 5);
  ASSERT_EQ(Pointer.State(), psResizing);
  EXPECT_EQ(Pointer.ResizeColumn(), Column(0));
  EXPECT_EQ(Pointer.ResizeLeftLine(), 0);
  EXPECT_EQ(Pointer.ResizeRightLine(), 99);
  Pointer.ResizeTo(130);
  EXPECT_EQ(Pointer.ResizeDelta(), 30);
  EXPECT_EQ(Pointer.ResizeRightLine(), 129);
  Pointer.ResizeTo(-50);
  EXPECT_EQ(Pointer.ResizeDelta(), Geometry.Metrics().MinColumnWidth() - 100);
  EXPECT_TRUE(Pointer.Release(Right, 0, 5).Ignored);
  EXPECT_EQ(Pointer.State(), psResizing);
  const TPointerRelease Release = Pointer.Release(Left, 0, 5);
  EXPECT_EQ(Release.Resized, Column(0));
  EXPECT_EQ(Release.ResizeDelta, Geometry.Metrics().MinColumnWidth() - 100);
  EXPECT_TRUE(Release.PressHeld);
  EXPECT_EQ(Pointer.State(), psIdle);
}

TEST_F(GridPointerTest, AHeaderPressWaitsWithinTheThresholdThenDragsUntilTheDrop) {
  Pointer.Press(Left, 50, 5);
  ASSERT_EQ(Pointer.State(), psHeaderPress);
  EXPECT_EQ(Pointer.HeaderColumn(), Column(0));
  const int Threshold = Geometry.Metrics().DragThreshold();
  EXPECT_EQ(Pointer.MoveHeaderPress(50 + Threshold, 5 - Threshold, true, true), TGridPointer::dsWait);
  EXPECT_EQ(Pointer.MoveHeaderPress(51 + Threshold, 5, false, true), TGridPointer::dsNone);
  EXPECT_EQ(Pointer.MoveHeaderPress(51 + Threshold, 5, true, false), TGridPointer::dsNone);
  EXPECT_EQ(Pointer.MoveHeaderPress(51 + Threshold, 5, true, true), TGridPointer::dsStart);
  EXPECT_EQ(Pointer.StartDrag(), Column(0));
  EXPECT_TRUE(Pointer.Busy());
  EXPECT_FALSE(Pointer.Pressed());
  // The grid's own release does not end a drag: the drag box's drop does.
  EXPECT_FALSE(Pointer.Release(Left, 50, 5).SameCell);
  EXPECT_EQ(Pointer.State(), psDragging);
  EXPECT_EQ(Pointer.EndDrag(), Column(0));
  EXPECT_EQ(Pointer.EndDrag(), nullptr);
  EXPECT_EQ(Pointer.State(), psIdle);
}

TEST_F(GridPointerTest, AReleaseTellsWhetherItEndsOverThePressedCell) {
  Pointer.Press(Left, 20, RowY(1));
  EXPECT_EQ(Pointer.State(), psPressing);
  TPointerRelease Release = Pointer.Release(Left, 90, RowY(1));
  EXPECT_TRUE(Release.OnCell && Release.SameCell);
  EXPECT_EQ(Release.Col, 0);
  EXPECT_EQ(Release.Row, 1);
  EXPECT_FALSE(Release.HeaderPress);
  Pointer.Press(Left, 20, RowY(1));
  EXPECT_FALSE(Pointer.Release(Left, 120, RowY(1)).SameCell);
  // A release with no press before it, and a press on the header past the columns, hold no cell.
  EXPECT_FALSE(Pointer.Release(Left, 20, RowY(1)).SameCell);
  Pointer.Press(Left, 300, 5);
  EXPECT_EQ(Pointer.State(), psPressing);
  EXPECT_FALSE(Pointer.Release(Left, 300, 5).HeaderPress);
}

TEST_F(GridPointerTest, HoverChangesOnlyWithTheCellAndACancelGivesEverythingUp) {
  EXPECT_TRUE(Pointer.HoverOver(0, 1));
  EXPECT_FALSE(Pointer.HoverOver(0, 1));
  EXPECT_TRUE(Pointer.LeaveRows());
  EXPECT_FALSE(Pointer.LeaveRows());
  Pointer.Press(Left, 161, 5);
  ASSERT_EQ(Pointer.ResizeColumn(), Column(1));
  const TGridPointer::TCancelled Cancelled = Pointer.Cancel();
  EXPECT_TRUE(Cancelled.Resize);
  EXPECT_FALSE(Cancelled.Drag);
  EXPECT_EQ(Pointer.State(), psIdle);
  EXPECT_FALSE(Pointer.Busy());
}

TEST_F(GridPointerTest, ALeftPressOnARowDragsOutPastTheThresholdButNeverFromTheHeaderOrADivider) {
  const int Threshold = Geometry.Metrics().DragThreshold();
  Pointer.Press(Left, 20, RowY(2));
  EXPECT_EQ(Pointer.PressRow(), 2);
  EXPECT_EQ(Pointer.MoveRowPress(20 + Threshold, RowY(2), true, true), TGridPointer::dsWait);
  EXPECT_EQ(Pointer.MoveRowPress(21 + Threshold, RowY(2), true, false), TGridPointer::dsNone);
  EXPECT_EQ(Pointer.MoveRowPress(21 + Threshold, RowY(2), false, true), TGridPointer::dsNone);
  ASSERT_EQ(Pointer.MoveRowPress(20, RowY(2) + Threshold + 1, true, true), TGridPointer::dsStart);
  Pointer.StartDragOut();
  EXPECT_EQ(Pointer.State(), psDraggingOut);
  EXPECT_TRUE(Pointer.Busy());
  Pointer.EndDragOut();
  EXPECT_EQ(Pointer.State(), psIdle);

  // The header, a divider, the right button and the space below the rows keep to their own drags.
  for (const auto& [Button, X, Y] : {std::tuple{Left, 50, 5}, std::tuple{Left, 101, 5}, std::tuple{Right, 20, RowY(2)},
                                     std::tuple{Left, 20, RowY(4) + 40}}) {
    Pointer.Press(Button, X, Y);
    EXPECT_EQ(Pointer.MoveRowPress(X + 20, Y + 20, true, true), TGridPointer::dsNone) << X << "," << Y;
    Pointer.Cancel();
  }
}

TEST_F(GridPointerTest, ASelectionLeftToTheReleaseIsMadeOnlyWhenNoDragBegan) {
  Pointer.Press(Left, 20, RowY(1));
  Pointer.SelectOnRelease();
  EXPECT_TRUE(Pointer.Release(Left, 20, RowY(1)).SelectOnRelease);
  Pointer.Press(Left, 20, RowY(1));
  Pointer.SelectOnRelease();
  Pointer.StartDragOut();
  Pointer.EndDragOut();
  EXPECT_FALSE(Pointer.Release(Left, 20, RowY(1)).SelectOnRelease);
  Pointer.Press(Left, 20, RowY(1));
  EXPECT_FALSE(Pointer.Release(Left, 20, RowY(1)).SelectOnRelease);
}
