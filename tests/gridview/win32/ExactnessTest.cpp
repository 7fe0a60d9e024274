// Pixel-exact checks of drawing details: the flat indicator cell, sort arrows of both kinds, the
// pressed header's inverted area, input-row colours, HTML link and font colours, the blended
// selection and the shading of rows beyond the last.
#include "GridTestSupport.h"

namespace {
struct ExactnessTest : GridFixture {
  void SetUp() override {
    GridFixture::SetUp();
    Grid->SetOptions(TGridOptions{});
    Grid->SetBounds(0, 0, 300, 120);
  }
  static COLORREF Inverted(COLORREF C) { return RGB(255 - GetRValue(C), 255 - GetGValue(C), 255 - GetBValue(C)); }
  const COLORREF Window = Sys(COLOR_WINDOW), Face = Sys(COLOR_BTNFACE), Light = Sys(COLOR_BTNHIGHLIGHT),
                 Shadow = Sys(COLOR_BTNSHADOW);
  // How many pixels of the rectangle have exactly the colour.
  int Count(const RECT& R, COLORREF Colour) const {
    int N = 0;
    for (int Y = R.top; Y < R.bottom; ++Y)
      for (int X = R.left; X < R.right; ++X) N += Px(X, Y) == Colour;
    return N;
  }
};
}  // namespace

TEST_F(ExactnessTest, FlatIndicatorCellAndItsArrow) {
  Grid->SetOptions(TGridOptions{goIndicator});
  AddColumn(100);
  Grid->Model().AddRows(3);
  Grid->Model().SetCurrentCell(0, 1, 0);
  Paint();
  const int Top = 16;  // row 1's indicator cell: (0, 16)-(12, 32)
  EXPECT_EQ(Px(0, Top), Light);
  EXPECT_EQ(Px(1, Top), Face);
  EXPECT_EQ(Px(2, Top), Light);
  EXPECT_EQ(Px(8, Top), Light);
  EXPECT_EQ(Px(10, Top), Face);
  EXPECT_EQ(Px(11, Top), Shadow);
  EXPECT_EQ(Px(0, Top + 15), Light);
  EXPECT_EQ(Px(1, Top + 15), Face);
  EXPECT_EQ(Px(2, Top + 15), Shadow);
  EXPECT_EQ(Px(10, Top + 15), Face);
  EXPECT_EQ(Px(11, Top + 15), Shadow);
  // The arrow: (3, top + 3), (8, top + 8), (3, top + 13), filled in the window-text colour.
  const COLORREF Ink = Sys(COLOR_WINDOWTEXT);
  EXPECT_EQ(Px(3, Top + 3), Ink);
  EXPECT_EQ(Px(3, Top + 13), Ink);
  EXPECT_EQ(Px(7, Top + 8), Ink);
  EXPECT_EQ(Px(2, Top + 8), Face);
  EXPECT_EQ(Px(9, Top + 8), Face);
  EXPECT_EQ(Px(5, Top + 2), Face);
}

TEST_F(ExactnessTest, SortArrowsThemedAndEngraved) {
  AddColumn(100);
  TStyleDisplay& Style = Grid->ActiveStyle();
  Bitmap.SetSize(60, 30);
  Bitmap.Canvas().Brush().SetColor(clWhite);
  Bitmap.Canvas().FillRect(RECT{0, 0, 60, 30});
  const COLORREF Grey = Sys(COLOR_GRAYTEXT);
  Style.SetPaint(TStylePaint{&Bitmap.Canvas(), true});
  Style.DrawSortArrow(2, 2, true);  // up: (2, 6), (6, 2), (10, 6)
  EXPECT_EQ(Px(6, 2), Grey);
  EXPECT_EQ(Px(6, 5), Grey);
  EXPECT_EQ(Px(2, 6), Grey);
  EXPECT_EQ(Px(10, 6), Grey);
  EXPECT_EQ(Px(6, 7), RGB(255, 255, 255));
  EXPECT_EQ(Px(11, 6), RGB(255, 255, 255));
  Style.DrawSortArrow(20, 2, false);  // down: (20, 2), (24, 6), (28, 2)
  EXPECT_EQ(Px(24, 6), Grey);
  EXPECT_EQ(Px(20, 2), Grey);
  EXPECT_EQ(Px(28, 2), Grey);
  EXPECT_EQ(Px(24, 1), RGB(255, 255, 255));
  Style.SetPaint(TStylePaint{&Bitmap.Canvas(), false});
  Style.DrawSortArrow(40, 10, false);  // engraved, pointing down
  EXPECT_EQ(Px(47, 10), Shadow);       // the first point of a polyline is painted
  EXPECT_EQ(Px(40, 10), Shadow);
  EXPECT_EQ(Px(41, 12), Shadow);
  EXPECT_EQ(Px(43, 16), Shadow);
  EXPECT_EQ(Px(43, 17), RGB(255, 255, 255));  // the last is not
  EXPECT_EQ(Px(47, 11), Light);
  EXPECT_EQ(Px(44, 16), Light);
  EXPECT_EQ(Px(44, 17), RGB(255, 255, 255));
  Style.DrawSortArrow(50, 10, true);  // engraved, pointing up
  EXPECT_EQ(Px(57, 16), Shadow);
  EXPECT_EQ(Px(50, 15), Shadow);
  EXPECT_EQ(Px(53, 10), Shadow);
  EXPECT_EQ(Px(53, 9), RGB(255, 255, 255));
  EXPECT_EQ(Px(57, 15), Light);
  EXPECT_EQ(Px(54, 10), Light);
}

// A single visible column inverts from one pixel above and left of its cell to its right and
// bottom edges; among several, the cell less its right column and bottom row.
TEST_F(ExactnessTest, PressedHeaderInversionArea) {
  Grid->SetOptions(TGridOptions{goHeader});
  TTextualColumn* First = AddColumn(100);
  Grid->SetPressedHeader(First);
  Paint();
  EXPECT_EQ(Px(0, 0), Inverted(Light));
  EXPECT_EQ(Px(99, 8), Inverted(Shadow));
  EXPECT_EQ(Px(50, 17), Inverted(Shadow));
  AddColumn(100);
  Paint();
  EXPECT_EQ(Px(0, 0), Inverted(Light));
  EXPECT_EQ(Px(50, 8), Inverted(Face));
  EXPECT_EQ(Px(99, 8), Shadow);
  EXPECT_EQ(Px(50, 17), Shadow);
}

TEST_F(ExactnessTest, ClassicCaptionStartsThreePixelsIn) {
  Grid->SetOptions(TGridOptions{goHeader});
  AddColumn(100, u"Name");
  Paint();
  TBitmap Expected(100, 18);
  TCanvas& C = Expected.Canvas();
  C.Brush().SetColor(clBtnFace);
  C.FillRect(RECT{0, 0, 100, 18});
  AssignGridFont(C.Font(), Grid->Model().Columns().Items(0)->Font());
  TGraphicsProvider::DrawTextLine(C, RECT{3, 0, 100, 18}, false, u"Name", taLeftJustify);
  for (int Y = 2; Y < 16; ++Y)
    for (int X = 2; X < 90; ++X) ASSERT_EQ(Px(X, Y), Expected.Pixel(X, Y)) << X << "," << Y;
}

TEST_F(ExactnessTest, InputRowColours) {
  Grid->SetOptions(TGridOptions{goInput});
  AddColumn(100);
  AddColumn(100);
  Grid->Model().AddRows(1);
  Grid->Model().SetCurrentCell(1, 0, 0);
  Grid->Model().SetInputRowMode(true);
  Grid->FocusState = 1;
  Paint();
  EXPECT_EQ(Px(50, 8), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(Px(150, 8), Window);  // the current column keeps its own colour
  Grid->FocusState = 0;
  Paint();
  EXPECT_EQ(Px(50, 8), Face);
  Grid->Model().SetInputRowMode(false);
  Paint();
  EXPECT_EQ(Px(50, 8), Window);
  // The 6-pixel raised strip under the input row: highlight on top, shadow at the bottom.
  EXPECT_EQ(Px(50, 16), Light);
  EXPECT_EQ(Px(50, 21), Shadow);
  EXPECT_EQ(Grid->Geometry().DataTop(), 22);
}

TEST_F(ExactnessTest, HtmlLinksAreBlueAndFontColoursFollowTheCurrentCell) {
  AddColumn<THtmlColumn>(150);
  Grid->Model().AddRows(2);
  Grid->SetHighlightedTextColor(clLime);
  Grid->Model().SetCellText(0, 0, u"<a href=x>link</a> <font color=red>red</font>");
  Grid->Model().SetCellText(0, 1, u"<font color=red>red</font>");
  Grid->Model().SetCurrentCell(-1, -1, 0);
  Paint();
  EXPECT_GT(Count(RECT{0, 0, 60, 16}, RGB(0, 0, 255)), 5);
  EXPECT_GT(Count(RECT{0, 0, 150, 16}, RGB(255, 0, 0)), 5);
  EXPECT_GT(Count(RECT{0, 16, 150, 32}, RGB(255, 0, 0)), 5);
  Grid->SetAppearanceOptions(TAppearanceOptions{aoHideSelection});
  Grid->Model().SetCurrentCell(0, 1, 0);
  Paint();
  EXPECT_EQ(Count(RECT{0, 16, 150, 32}, RGB(255, 0, 0)), 0);
  EXPECT_GT(Count(RECT{0, 16, 150, 32}, RGB(0, 255, 0)), 5);
}

TEST_F(ExactnessTest, BlendedSelectionIsAQuarterHighlight) {
  AddColumn(100);
  Grid->Model().AddRows(1);
  Grid->SetColor(clWhite);
  Grid->Model().SetCurrentCell(0, 0, 0);
  Grid->FocusState = 1;
  Grid->SetAppearanceOptions(TAppearanceOptions{aoAlphaBlendedSelection});
  Paint();
  const COLORREF H = Sys(COLOR_HIGHLIGHT);
  auto Mix = [](int High) { return static_cast<int>(std::nearbyint(High * 0.25 + 255 * 0.75)); };
  EXPECT_EQ(Px(50, 8), RGB(Mix(GetRValue(H)), Mix(GetGValue(H)), Mix(GetBValue(H))));
  EXPECT_EQ(Px(0, 0), H);  // the focus frame is solid in the highlight colour
}

TEST_F(ExactnessTest, SlotsBelowTheLastRowAreShadedInTheSortedColumn) {
  Grid->SetOptions(TGridOptions{goGrid});
  TTextualColumn* Sorted = AddColumn(100);
  AddColumn(100);
  Grid->Model().AddRows(1);
  Sorted->SetSorted(true);
  Grid->SetColor(clWhite);
  Grid->SetGridLinesColor(clRed);
  Grid->SetAppearanceOptions(TAppearanceOptions{aoIndicateSortedColumn});
  Paint();
  const int Shade = 255 * 245 / 256;
  EXPECT_EQ(Px(50, 17 + 8), RGB(Shade, Shade, Shade));
  EXPECT_EQ(Px(150, 17 + 8), RGB(255, 255, 255));
  EXPECT_EQ(Px(50, 16), RGB(255, 0, 0));  // grid lines under the row and the empty slot
  EXPECT_EQ(Px(50, 33), RGB(255, 0, 0));
  EXPECT_EQ(Px(99, 25), RGB(255, 0, 0));
}
