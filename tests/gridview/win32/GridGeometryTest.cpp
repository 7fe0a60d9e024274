// Layout arithmetic of the report style: rows, visible rows, horizontal overflow and scroll steps.
#include "GridTestSupport.h"

using GridGeometryTest = GridFixture;

TEST_F(GridGeometryTest, HundredRowsInA160PixelDataArea) {
  Grid->SetOptions(TGridOptions{});  // no header: the data area is the client area
  Grid->SetBounds(0, 0, 300, 160);
  AddColumn(100);
  Grid->Model().AddRows(100);
  ASSERT_EQ(Grid->Geometry().DataBottom() - Grid->Geometry().DataTop(), 160);
  EXPECT_EQ(Grid->Geometry().VisibleRowCount(), 10);
  EXPECT_EQ(Grid->Geometry().MaxTopRow(), 90);
  EXPECT_EQ(Grid->VertScrollBar().Max(), 90);
  EXPECT_TRUE(Grid->VertScrollBar().Visible());
  EXPECT_EQ(Grid->Geometry().RowTop(3), 48);
  EXPECT_EQ(Grid->RowDistance(0, 3), -48);
  EXPECT_EQ(Grid->RowDistance(3, 1), 32);
}

TEST_F(GridGeometryTest, AllRowsFittingHideTheVerticalBar) {
  Grid->SetBounds(0, 0, 300, 200);
  AddColumn(100);
  Grid->Model().AddRows(5);
  EXPECT_EQ(Grid->Geometry().MaxTopRow(), 0);
  EXPECT_FALSE(Grid->VertScrollBar().Visible());
  Grid->SetHideScrollBar(false);
  EXPECT_TRUE(Grid->VertScrollBar().Visible());
  EXPECT_FALSE(Grid->VertScrollBar().Enabled());
}

TEST_F(GridGeometryTest, GridLinesAddAPixelPerRow) {
  Grid->SetOptions(TGridOptions{goGrid});
  Grid->SetBounds(0, 0, 300, 170);
  AddColumn(100);
  Grid->Model().AddRows(100);
  EXPECT_EQ(Grid->Geometry().VisibleRowCount(), 10);  // 10 x 17 = 170
  const RECT Cell = Grid->GetCellRect(0, 2);
  EXPECT_EQ(Cell.top, 34);
  EXPECT_EQ(Cell.bottom, 50);
  EXPECT_EQ(Cell.right, 99);  // the grid line takes the last pixel
}

TEST_F(GridGeometryTest, HorizontalOverflowAndPageStep) {
  Grid->SetBounds(0, 0, 500, 200);
  AddColumn(300);
  AddColumn(300);
  ASSERT_EQ(Grid->ClientWidth(), 500);
  EXPECT_EQ(Grid->Geometry().HorizontalOverflow(), 100);
  EXPECT_EQ(Grid->HorzScrollBar().Max(), 100);
  EXPECT_EQ(Grid->HorzScrollBar().PageStep(), 25);
  EXPECT_TRUE(Grid->HorzScrollBar().Visible());
  // With the indicator strip the data starts 12 pixels further right.
  Grid->SetOptions(TGridOptions{goHeader, goIndicator});
  EXPECT_EQ(Grid->Geometry().HorizontalOverflow(), 112);
  EXPECT_EQ(Grid->GetCellRect(0, 0).left, 12);
}

TEST_F(GridGeometryTest, AreasOfTheReportStyle) {
  Grid->SetBounds(0, 0, 400, 200);
  Grid->SetOptions(TGridOptions{goHeader, goInput, goFooter, goGrid, goIndicator});
  AddColumn(100);
  EXPECT_EQ(Grid->Geometry().DataTop(), 18 + 16 + 6 + 1);
  EXPECT_EQ(Grid->Geometry().DataBottom(), 200 - 18 - 4 - 1);
  EXPECT_EQ(Grid->Geometry().DataRight(), 112);
  const RECT Input = Grid->GetCellRect(0, 0, gaInput);
  EXPECT_EQ(Input.top, 18);
  EXPECT_EQ(Input.bottom, 34);
}

TEST_F(GridGeometryTest, RowSizeZeroChangesNothing) {
  AddColumn(100);
  Grid->Model().AddRows(3);
  Grid->SetRowSize(20);
  EXPECT_EQ(Grid->RowSize(), 20);
  Grid->SetRowSize(0);
  Grid->SetRowSize(-4);
  EXPECT_EQ(Grid->RowSize(), 20);
  // Existing rows keep the height they were made with.
  EXPECT_EQ(Grid->Model().RowHeight(0), 16);
}

TEST_F(GridGeometryTest, ScrollingByRowsAndPixels) {
  Grid->SetOptions(TGridOptions{});
  Grid->SetBounds(0, 0, 300, 160);
  AddColumn(200);
  AddColumn(200);
  Grid->Model().AddRows(100);
  Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
  EXPECT_EQ(Grid->TopRow(), 1);
  Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0));
  EXPECT_EQ(Grid->TopRow(), 11);
  // The horizontal bar takes some of the 160 pixels: fewer rows fit, the last top row is lower.
  const int Last = Grid->Geometry().MaxTopRow();
  EXPECT_GT(Last, 90);
  Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0));
  EXPECT_EQ(Grid->TopRow(), Last);
  Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
  EXPECT_EQ(Grid->TopRow(), Last);  // clamped
  EXPECT_EQ(Grid->Geometry().RowAt(0), Last);
  Grid->Perform(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0));
  EXPECT_EQ(Grid->HorzOffset(), 5);
  EXPECT_EQ(Grid->GetCellRect(1, Last).left, 195);
  EXPECT_EQ(Grid->Geometry().ColumnAt(196), 1);
  Grid->Perform(WM_HSCROLL, MAKEWPARAM(SB_TOP, 0));
  EXPECT_EQ(Grid->HorzOffset(), 0);
}

TEST_F(GridGeometryTest, FewerRowsPullTheTopRowBack) {
  Grid->SetOptions(TGridOptions{});
  Grid->SetBounds(0, 0, 300, 160);
  AddColumn(100);
  Grid->Model().AddRows(100);
  Grid->SetTopRow(90);
  for (int I = 0; I < 50; ++I) Grid->Model().DeleteRow(0);
  EXPECT_EQ(Grid->TopRow(), 40);
  Grid->Model().ClearRows();
  EXPECT_EQ(Grid->TopRow(), 0);
  EXPECT_EQ(Grid->Geometry().VisibleRowCount(), 0);
  EXPECT_EQ(Grid->Geometry().MaxTopRow(), 0);
}

TEST_F(GridGeometryTest, KeepingARowInView) {
  Grid->SetOptions(TGridOptions{});
  Grid->SetBounds(0, 0, 300, 160);
  AddColumn(100);
  Grid->Model().AddRows(100);
  Grid->ScrollIntoView(25);
  EXPECT_EQ(Grid->TopRow(), 16);
  Grid->ScrollIntoView(3);
  EXPECT_EQ(Grid->TopRow(), 3);
}

TEST_F(GridGeometryTest, RowsMeasuredBelowZeroAreEmpty) {
  Grid->SetOptions(TGridOptions{});
  Grid->SetBounds(0, 0, 300, 160);
  AddColumn(100);
  Grid->Model().AddRows(20);
  Grid->OnMeasuringRowHeight = [](TObject*, int Index, int& Height) {
    if (Index == 1) Height = -50;
  };
  EXPECT_EQ(Grid->Geometry().RowTop(2), 16);
  EXPECT_EQ(Grid->Geometry().VisibleRowCount(), 11);
  Grid->PaintInto(Bitmap);  // and the painting ends
}

TEST_F(GridGeometryTest, ColumnsWithParentFontFollowTheControlFont) {
  TTextualColumn* Column = AddColumn(100);
  Grid->Font().SetName("Arial");
  Grid->Font().SetSize(12);
  EXPECT_EQ(Grid->GridFont().Name, "Arial");
  EXPECT_EQ(Column->Font().Name, "Arial");
  EXPECT_EQ(Column->Font().Size, 12);
  TGridFont Own;
  Own.Name = "Courier New";
  Column->SetFont(Own);
  Grid->Font().SetSize(9);
  EXPECT_EQ(Column->Font().Name, "Courier New");
}

TEST_F(GridGeometryTest, SizesBelowZeroAreIgnored) {
  AddColumn(100);
  Grid->Model().AddRows(30);
  Grid->SetSlideSize(0);
  Grid->SetHeaderSize(-1);
  Grid->SetInputSize(-5);
  EXPECT_EQ(Grid->SlideSize(), 80);
  EXPECT_EQ(Grid->HeaderSize(), 18);
  EXPECT_EQ(Grid->InputSize(), 16);
  Grid->SetGridStyle(gsSlides);  // counts slides by their height: never by zero
  EXPECT_EQ(Grid->VertScrollBar().Max(), 30 - Grid->ClientHeight() / 80);
  Grid->PaintInto(Bitmap);
}

TEST_F(GridGeometryTest, HeaderSizeChangesTheScrollRange) {
  Grid->SetBounds(0, 0, 300, 178);
  AddColumn(100);
  Grid->Model().AddRows(100);
  EXPECT_EQ(Grid->Geometry().MaxTopRow(), 90);
  Grid->SetHeaderSize(34);
  EXPECT_EQ(Grid->Geometry().MaxTopRow(), 91);
  EXPECT_EQ(Grid->VertScrollBar().Max(), 91);
}

TEST_F(GridGeometryTest, TheUpdateLockHoldsTheRangeUntilItEnds) {
  Grid->SetOptions(TGridOptions{});
  Grid->SetBounds(0, 0, 300, 160);
  AddColumn(100);
  Grid->Model().BeginUpdate();
  Grid->Model().AddRows(100);
  EXPECT_EQ(Grid->VertScrollBar().Max(), 0);
  Grid->Model().EndUpdate();
  EXPECT_EQ(Grid->VertScrollBar().Max(), 90);
}

TEST_F(GridGeometryTest, ModelChangesReachTheControlsEventsWithTheControlAsSender) {
  AddColumn(100)->SetOptions(TColumnOptions{coAutoSize});
  EXPECT_EQ(Grid->Model().Columns().Items(0)->Width(), Grid->ClientWidth());  // the view's width is shared out
  Grid->Model().AddRows(2);
  std::vector<TObject*> Senders;
  Grid->OnChange = [&](TObject* S, int, int) { Senders.push_back(S); };
  Grid->OnSelectCell = [&](TObject* S, int, int) { Senders.push_back(S); };
  Grid->OnColumnResize = [&](TObject* S, int) { Senders.push_back(S); };
  Grid->Model().SetCellText(0, 1, u"x");
  Grid->Model().SetCurrentCell(0, 1, 0);
  Grid->SetOptions(Grid->Options() + TGridOptions{goIndicator});
  Grid->Model().Columns().Items(0)->SetWidth(50);
  ASSERT_GE(Senders.size(), 3u);
  for (TObject* S : Senders) EXPECT_EQ(S, static_cast<TObject*>(static_cast<TWinControl*>(Grid.get())));
}

TEST_F(GridGeometryTest, ADenserScreenWidensTheIndicatorAndTheMinimumColumnAndBackAgain) {
  Grid->SetOptions(TGridOptions{goHeader, goIndicator});
  AddColumn(100);
  Grid->Model().AddRows(2);
  Grid->ScaleForPPI(144);
  EXPECT_EQ(Grid->Model().RowHeight(1), 24);
  EXPECT_EQ(Grid->Model().DataLeft(), 18);
  EXPECT_EQ(Grid->GetCellRect(0, 0).left, 18);
  EXPECT_EQ(Grid->Model().Columns().Items(0)->Width(), 150);
  Grid->Model().Columns().Items(0)->SetWidth(1);
  EXPECT_EQ(Grid->Model().Columns().Items(0)->Width(), 12);
  Grid->ScaleForPPI(96);
  EXPECT_EQ(Grid->Model().RowHeight(1), 16);
  EXPECT_EQ(Grid->Model().DataLeft(), 12);
  EXPECT_EQ(Grid->Model().Columns().Items(0)->Width(), 8);
}
