// Where the grid's bands, columns and rows lie, without a window: a model and a viewport of a
// given size and scroll position.
#include <gtest/gtest.h>

#include "RecordingGrid.h"
#include "gridview/ColumnClasses.h"
#include "gridview/GridGeometry.h"

namespace {
struct TFakeViewport : TGridViewport {
  int Width = 400, Height = 200, Top = 0, Offset = 0;
  int ViewportWidth() const override { return Width; }
  int ViewportHeight() const override { return Height; }
  int TopRow() const override { return Top; }
  int HorzOffset() const override { return Offset; }
};

// Two columns of 100 and 60 pixels, rows of 16, a 400 x 200 client.
class GridGeometryTest : public ::testing::Test {
 protected:
  GridGeometryTest() {
    Grid.Columns().Add<TTextualColumn>()->SetWidth(100);
    Grid.Columns().Add<TTextualColumn>()->SetWidth(60);
  }
  TCustomColumn& Column(int Index) { return *Grid.Columns().Items(Index); }
  TRecordingGrid Grid;
  TFakeViewport View;
  TGridGeometry Geometry{Grid, View};
};
}  // namespace

TEST_F(GridGeometryTest, ColumnEdgesFollowTheIndicatorTheOffsetAndTheDisplayOrder) {
  Grid.SetOptions(TGridOptions{goHeader, goIndicator});
  View.Offset = 30;
  // The first column runs from 12 - 30 to 12 + 70; its right edge belongs to the next.
  EXPECT_EQ(Geometry.ColumnAt(81), 0);
  EXPECT_EQ(Geometry.ColumnAt(82), 1);
  EXPECT_EQ(Geometry.ColumnAt(141), 1);
  EXPECT_EQ(Geometry.ColumnAt(142), -1);
  EXPECT_EQ(Geometry.CellRect(1, 0).Left, 82);
  EXPECT_EQ(Geometry.ColumnsRight(), 142);
  Column(1).SetPosition(0);
  EXPECT_EQ(Geometry.ColumnAt(20), 1);
  EXPECT_EQ(Geometry.CellRect(0, 0).Left, 42);
  Column(1).SetVisible(false);
  EXPECT_EQ(Geometry.ColumnAt(20), 0);
}

TEST_F(GridGeometryTest, AnEmptyGridHasNoRowAnywhereAndNothingToScroll) {
  for (int Y : {0, 18, 100, 199}) EXPECT_EQ(Geometry.RowAt(Y), -1) << Y;
  int Col = 0, Row = 0;
  EXPECT_FALSE(Geometry.CellAt(50, 30, Col, Row));
  EXPECT_EQ(Col, 0);
  EXPECT_EQ(Row, -1);
  EXPECT_EQ(Geometry.VisibleRowCount(), 0);
  EXPECT_EQ(Geometry.MaxTopRow(), 0);
  Grid.Columns().Clear();
  Grid.AddRows(50);
  EXPECT_EQ(Geometry.MaxTopRow(), 0);  // rows without columns show nothing to scroll to
}

TEST_F(GridGeometryTest, RowsPastTheEndAndOutsideTheDataAreaAreNone) {
  Grid.AddRows(3);
  EXPECT_EQ(Geometry.RowAt(17), -1);  // the header
  EXPECT_EQ(Geometry.RowAt(18), 0);
  EXPECT_EQ(Geometry.RowAt(18 + 3 * 16 - 1), 2);
  EXPECT_EQ(Geometry.RowAt(18 + 3 * 16), -1);
  EXPECT_EQ(Geometry.RowExtent(7), 16);  // a slot past the end is RowSize high
  EXPECT_EQ(Geometry.WholeRowsInView(), 3);
}

TEST_F(GridGeometryTest, AScrolledTopRowMovesEveryRowAndHit) {
  Grid.SetOptions(TGridOptions{goHeader, goGrid});
  Grid.AddRows(100);
  View.Top = 10;
  EXPECT_EQ(Geometry.RowTop(10), 18);
  EXPECT_EQ(Geometry.RowTop(12), 18 + 2 * 17);
  EXPECT_EQ(Geometry.RowTop(9), 18 - 17);
  EXPECT_EQ(Geometry.RowAt(18 + 2 * 17), 12);
  EXPECT_EQ(Geometry.RowAt(18 + 2 * 17 - 1), 11);  // the grid line belongs to the row above
  EXPECT_EQ(Geometry.RowDistance(10, 12), -34);
  EXPECT_EQ(Geometry.CellRect(0, 12).Right, 99);
}

TEST_F(GridGeometryTest, ScrollLimitsKeepTheLastRowWhole) {
  Grid.AddRows(100);
  // 182 pixels of data: 11 whole rows of 16.
  EXPECT_EQ(Geometry.VisibleRowCount(), 11);
  EXPECT_EQ(Geometry.MaxTopRow(), 89);
  EXPECT_EQ(Geometry.TopRowShowing(50), 40);
  EXPECT_EQ(Geometry.TopRowShowing(5), 0);
  // Scrolled to the end and made taller: the room goes to rows above, not to empty space.
  View.Top = 89;
  View.Height = 200 + 40;
  EXPECT_EQ(Geometry.VisibleRowCount(), 13);
  EXPECT_EQ(Geometry.MaxTopRow(), 87);
  Grid.OnMeasuringRowHeight = [](int, int& Height) { Height = 300; };  // taller than the data area
  EXPECT_EQ(Geometry.TopRowShowing(50), 50);
}

TEST_F(GridGeometryTest, EveryBandAnswersForItsOwnPixels) {
  Grid.SetOptions(TGridOptions{goHeader, goInput, goFooter, goIndicator, goGrid});
  Grid.AddRows(2);
  // Header 18, input 16 + 6 + 1, footer 18 + 4 + 1 from the bottom.
  EXPECT_EQ(Geometry.DataTop(), 41);
  EXPECT_EQ(Geometry.DataBottom(), 177);
  EXPECT_EQ(Geometry.HitArea(20, 17), haHeader);
  EXPECT_EQ(Geometry.HitArea(20, 18), haInput);
  EXPECT_EQ(Geometry.HitArea(20, 40), haInput);
  EXPECT_EQ(Geometry.HitArea(20, 41), haData);
  EXPECT_EQ(Geometry.HitArea(20, 176), haData);
  EXPECT_EQ(Geometry.HitArea(20, 177), haFooter);
  EXPECT_EQ(Geometry.HitArea(11, 100), haIndicator);
  EXPECT_EQ(Geometry.HitArea(11, 5), haNowhere);
  EXPECT_EQ(Geometry.HitArea(400, 100), haNowhere);
  EXPECT_EQ(Geometry.HitArea(-1, 100), haNowhere);
}

TEST_F(GridGeometryTest, DividersResizeWithinTheirZoneUnlessFixed) {
  View.Offset = 10;
  EXPECT_EQ(Geometry.DividerAt(92, 5), &Column(0));
  EXPECT_EQ(Geometry.DividerAt(88, 5), &Column(0));
  EXPECT_EQ(Geometry.DividerAt(87, 5), nullptr);
  EXPECT_EQ(Geometry.DividerAt(90, 18), nullptr);  // below the header
  EXPECT_EQ(Geometry.HeaderColumnAt(95, 5), &Column(1));
  Column(0).SetOptions(Column(0).Options() + TColumnOptions{coFixedSize});
  EXPECT_EQ(Geometry.DividerAt(90, 5), nullptr);
}

TEST_F(GridGeometryTest, At144PixelsPerInchTheGridsOwnSizesGrowHalfAgain) {
  Grid.SetOptions(TGridOptions{goHeader, goInput, goFooter, goIndicator, goGrid});
  Grid.SetPixelsPerInch(144);
  EXPECT_EQ(Grid.DataLeft(), 18);
  EXPECT_EQ(Geometry.DataTop(), 18 + 16 + 9 + 1);  // band sizes are the program's to scale
  EXPECT_EQ(Geometry.DataBottom(), 200 - (18 + 6 + 1));
  EXPECT_EQ(Geometry.GridLineWidth(), 1);  // lines stay hairlines
  View.Offset = 10;
  EXPECT_EQ(Geometry.DividerAt(18 + 100 - 10 + 3, 5), &Column(0));
  EXPECT_EQ(Geometry.DividerAt(18 + 100 - 10 + 4, 5), nullptr);
  Column(0).SetWidth(1);
  EXPECT_EQ(Column(0).Width(), 12);
  Grid.SetPixelsPerInch(120);  // 1.25: halves round up, quarters down
  EXPECT_EQ(Grid.Metrics().IndicatorWidth(), 15);
  EXPECT_EQ(Grid.Metrics().DividerZone(), 3);
  EXPECT_EQ(Grid.Metrics().DragThreshold(), 4);
  EXPECT_EQ(Grid.Metrics().FooterPanelHeight(), 5);
}
