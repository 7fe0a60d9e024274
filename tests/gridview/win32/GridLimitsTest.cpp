// Extreme sizes and counts: the grid paints, scrolls and answers its geometry without hanging,
// overflowing or holding on to GDI objects.
#include <cmath>
#include <limits>

#include "GridTestSupport.h"
#include "core/Text.h"

namespace {
struct GridLimitsTest : GridFixture {
  void SetUp() override {
    GridFixture::SetUp();
    Grid->SetOptions(TGridOptions{goHeader, goGrid});
    Grid->SetBounds(0, 0, 300, 160);
  }
  const COLORREF Window = Sys(COLOR_WINDOW);
};

constexpr int Huge = std::numeric_limits<int>::max();

// GDI objects the process holds. Where the platform does not count them, the highest table slot
// that two thousand fresh brushes take stands in: objects left behind push it up.
int GdiObjects() {
  if (const DWORD Count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(Count);
  std::vector<HBRUSH> Brushes;
  int Highest = 0;
  for (int I = 0; I < 2000; ++I) {
    Brushes.push_back(CreateSolidBrush(RGB(I & 255, 0, 0)));
    Highest = std::max(Highest, int(LOWORD(reinterpret_cast<UINT_PTR>(Brushes.back()))));
  }
  for (HBRUSH Brush : Brushes) DeleteObject(Brush);
  return Highest;
}
}  // namespace

TEST_F(GridLimitsTest, HugeBandAndRowSizesPaintAndReturn) {
  AddColumn(100);
  Grid->Model().AddRows(3);
  Grid->SetRowSize(Huge);  // rows added from now on are this tall
  Grid->Model().AddRows(3);
  Paint();  // the row loop used to wrap around and never reach the bottom
  EXPECT_EQ(Grid->Geometry().VisibleRowCount(), 3);
  EXPECT_EQ(Grid->Geometry().RowTop(3), 18 + 3 * 17);
  EXPECT_GE(Grid->Geometry().RowTop(5), Grid->Geometry().DataBottom());  // far below, and no overflow into view
  Grid->SetTopRow(5);
  EXPECT_LT(Grid->Geometry().RowTop(0), 0);
  Grid->SetHeaderSize(Huge);
  Grid->SetInputSize(Huge);
  Grid->SetOptions(TGridOptions{goHeader, goGrid, goInput, goFooter, goIndicator});
  Paint();
  EXPECT_GT(Grid->Geometry().DataTop(), 0);
  Grid->SetSlideSize(Huge);
  Grid->SetGridStyle(gsSlides);
  Paint();
  EXPECT_EQ(Grid->VertScrollBar().Max(), Grid->Model().RowCount());
}

// Positions far from the top row are worked out only as far as the screen needs: a jump across
// hundreds of thousands of rows sums a screenful, not every row in between.
TEST_F(GridLimitsTest, JumpsAcrossManyRowsAreSummedOnlyAsFarAsTheScreen) {
  AddColumn(100);
  Grid->Model().AddRows(300000);
  const int Height = Grid->ClientHeight();
  EXPECT_LE(Grid->RowDistance(0, 299990), -Height);
  EXPECT_GE(Grid->RowDistance(0, 299990), -Height - 17);
  EXPECT_GE(Grid->RowDistance(299990, 0), Height);
  EXPECT_LE(Grid->RowDistance(299990, 0), Height + 17);
  EXPECT_EQ(Grid->RowDistance(5, 7), -34);
  const int Below = Grid->Geometry().RowTop(299999);
  EXPECT_GE(Below, Grid->Geometry().DataBottom());
  EXPECT_LE(Below, Grid->Geometry().DataBottom() + 17);
  Grid->SetTopRow(299990);
  EXPECT_EQ(Grid->TopRow(), 299990);
  EXPECT_LT(Grid->Geometry().RowTop(0) + 16, 0);
  EXPECT_EQ(Grid->Geometry().RowTop(Grid->TopRow() - 1), 18 - 17);
  Paint();
}

TEST_F(GridLimitsTest, TheWidestColumnsStillAddUp) {
  AddColumn(Huge);
  AddColumn(Huge);
  AddColumn(Huge);
  Grid->Model().AddRows(2);
  EXPECT_EQ(Grid->Model().Columns().Items(0)->Width(), TCustomColumn::MaxWidth);
  EXPECT_EQ(Grid->Model().Columns().TotalWidth(), 3 * TCustomColumn::MaxWidth);
  EXPECT_EQ(Grid->Geometry().HorizontalOverflow(), 3 * TCustomColumn::MaxWidth - Grid->ClientWidth());
  Grid->HorzScrollBar().SetPosition(Huge);
  EXPECT_EQ(Grid->HorzOffset(), Grid->Geometry().HorizontalOverflow());
  Paint();
  EXPECT_EQ(Grid->Geometry().ColumnAt(Grid->ClientWidth() - 1), 2);
}

// A picture with alpha in a cell as large as a column and a row can be: only what shows is scaled.
TEST_F(GridLimitsTest, AnAlphaPictureInAHugeCellShowsItsVisiblePart) {
  auto* Column = AddColumn<TGraphicColumn>(100000);
  Column->SetMargin(0);
  Column->SetBorderWidth(0);
  Grid->SetOptions(TGridOptions{});
  Grid->SetRowSize(100000);
  Grid->Model().AddRows(1);
  TBitmap Picture(20, 20);
  Picture.HasAlpha = true;
  for (int I = 0; I < 400; ++I) Picture.Pixels()[I] = 0xFF0000FFu;  // opaque blue
  Grid->Model().GetCell(0, 0)->SetObject(&Picture);
  Paint();
  EXPECT_EQ(Px(150, 80), RGB(0, 0, 254));  // full alpha still loses one step (division by 256)
}

TEST_F(GridLimitsTest, AProgressValueThatIsNotANumberFillsNothing) {
  auto* Column = AddColumn<TProgressColumn>(100);
  Column->SetShowText(true);
  Column->SetProgressColor(clRed);
  Grid->SetOptions(TGridOptions{});
  Grid->Model().AddRows(1);
  Grid->Model().GetCell(0, 0)->SetAsFloat(std::numeric_limits<double>::quiet_NaN());
  Paint();
  for (int X = 30; X < 100; ++X) EXPECT_NE(Px(X, 8), RGB(255, 0, 0)) << X;
}

TEST_F(GridLimitsTest, CreatingPaintingAndDestroyingGridsLeavesNoGdiObjects) {
  auto MakeAndPaint = [this] {
    auto Other = std::make_unique<TTestGrid>(&Form);
    Other->SetBounds(0, 0, 400, 200);
    Other->SetOptions(TGridOptions{goHeader, goGrid, goInput, goFooter, goIndicator});
    Other->Model().Columns().Add<TTextualColumn>()->SetWidth(60);
    Other->Model().Columns().Add<TImageColumn>()->SetWidth(20);
    Other->Model().Columns().Add<TProgressColumn>()->SetWidth(50);
    Other->Model().Columns().Add<TCheckBoxColumn>()->SetWidth(30);
    Other->Model().Columns().Add<THtmlColumn>()->SetWidth(80);
    Other->Model().Columns().Add<TGraphicColumn>()->SetWidth(40);
    Other->Model().Columns().Items(0)->SetSorted(true);
    Other->Model().AddRows(20);
    for (int Row = 0; Row < 20; ++Row) {
      Other->Model().SetCellText(0, Row, u"row " + Utf8ToUtf16(std::to_string(Row)));
      Other->Model().SetCellText(4, Row, u"a<b>b</b><font color=red size=14 name=Arial>c</font>");
      Other->Model().GetCell(2, Row)->SetAsFloat(Row * 5);
    }
    Other->HandleNeeded();
    TBitmap Target;
    Other->PaintInto(Target);
    Other->SetHeaderStyle(hsOldStyle);
    Other->PaintInto(Target);
  };
  MakeAndPaint();  // fonts and caches of the first grid may stay for the process
  const int Before = GdiObjects();
  for (int Round = 0; Round < 30; ++Round) MakeAndPaint();
  EXPECT_LE(GdiObjects(), Before + 4);
}

// Values at the ends of their ranges paint like any other.
TEST_F(GridLimitsTest, ExtremeCellValuesPaint) {
  std::vector<std::string> Errors;
  Application().OnException = [&](const std::exception& Error) { Errors.push_back(Error.what()); };
  Grid->SetOptions(TGridOptions{});
  AddColumn<TDateColumn>(80);
  AddColumn<TNumericColumn>(80)->SetFormatMask("#,##0.00");
  AddColumn<TProgressColumn>(60)->SetShowText(true);
  AddColumn<TIncrementColumn>(60);
  Grid->Model().AddRows(4);
  const double Values[] = {1e300, -1e300, std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()};
  for (int Row = 0; Row < 4; ++Row) {
    Grid->Model().GetCell(0, Row)->SetAsDateTime(Values[Row]);
    Grid->Model().GetCell(1, Row)->SetAsFloat(Values[Row]);
    Grid->Model().GetCell(2, Row)->SetAsFloat(Values[Row]);
  }
  Paint();
  Application().OnException = nullptr;
  EXPECT_TRUE(Errors.empty()) << Errors.front();
}
