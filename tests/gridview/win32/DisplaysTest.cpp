// Cell displays painted by the grid into memory bitmaps.
#include "GridTestSupport.h"
#include "gridview/win32/displays/Displays.h"
#include "toolkit/ImageList.h"

namespace {
struct DisplaysTest : GridFixture {
  void SetUp() override {
    GridFixture::SetUp();
    Grid->SetOptions(TGridOptions{});  // rows start at the top
    Grid->SetBounds(0, 0, 300, 100);
    Grid->Model().SetCurrentCell(-1, -1, 0);  // no current cell: nothing is drawn selected
  }
  // Renders Text with the grid's default font on the window colour, the way a reference looks.
  void Reference(TBitmap& Out, int Width, int Height) {
    Out.SetSize(Width, Height);
    Out.Canvas().Brush().SetColor(clWindow);
    Out.Canvas().FillRect(RECT{0, 0, Width, Height});
    AssignGridFont(Out.Canvas().Font(), TGridFont());
  }
  bool SameArea(TBitmap& Other, const RECT& R) {
    for (int Y = R.top; Y < R.bottom; ++Y)
      for (int X = R.left; X < R.right; ++X)
        if (Px(X, Y) != Other.Pixel(X, Y)) return false;
    return true;
  }
  const COLORREF Window = Sys(COLOR_WINDOW);
};

TGlyph SolidGlyph(TColor Color) {
  TGlyph Glyph;
  Glyph.Width = Glyph.Height = 8;
  Glyph.Pixels.assign(64, Color);
  return Glyph;
}
}  // namespace

TEST_F(DisplaysTest, NumbersEndTwoPixelsFromARightJustifiedEdge) {
  auto* Size = AddColumn<TNumericColumn>(100);
  Size->SetFormatMask("###,###,##0k ");
  Size->SetAlignment(taRightJustify);
  Grid->Model().AddRows(1);
  Grid->Model().GetCell(0, 0)->SetAsFloat(1234.5);
  Paint();
  TBitmap Expected;
  Reference(Expected, 300, 100);
  RECT Text{2, 0, 98, 16};
  Expected.Canvas().Brush().SetStyle(bsClear);
  Expected.Canvas().DrawText(std::u16string_view(u"1,235k "), Text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  EXPECT_TRUE(SameArea(Expected, RECT{0, 0, 100, 16}));
  // The trailing blank of the mask keeps the "k" a blank's width off the 2-pixel margin.
  const int Blank = Expected.Canvas().TextWidth(std::u16string_view(u" "));
  const auto [First, Last] = InkSpan(RECT{0, 0, 100, 16}, Window);
  EXPECT_GT(First, 50);
  EXPECT_LE(Last, 97 - Blank);
  EXPECT_GE(Last, 97 - Blank - 2);
}

TEST_F(DisplaysTest, NarrowTextEndsWithAnEllipsis) {
  AddColumn(50);
  Grid->Model().AddRows(1);
  Grid->Model().SetCellText(0, 0, u"Mmmmmmmmmmmmmmmmmmmm");
  Paint();
  const auto [First, Last] = InkSpan(RECT{0, 0, 50, 16}, Window);
  ASSERT_GE(First, 2);
  EXPECT_LE(Last, 47);
  // The last ink is the dots: nothing of it in the upper half of the line.
  for (int Y = 0; Y < 8; ++Y) EXPECT_EQ(Px(Last, Y), Window) << Y;
  // Without the ellipsis the text is merely clipped, and looks different.
  const std::vector<COLORREF> Ellipsis = [&] {
    std::vector<COLORREF> P;
    for (int X = 0; X < 50; ++X) P.push_back(Px(X, 10));
    return P;
  }();
  Grid->Model().Columns().Items(0)->SetWrapKind(wkNone);
  Paint();
  std::vector<COLORREF> Clipped;
  for (int X = 0; X < 50; ++X) Clipped.push_back(Px(X, 10));
  EXPECT_NE(Ellipsis, Clipped);
}

TEST_F(DisplaysTest, WordWrapBreaksOverSeveralLines) {
  auto* Column = AddColumn(60);
  Column->SetWrapKind(wkWordWrap);
  Column->SetVerticalAlignment(vaTop);
  Grid->SetRowSize(60);
  Grid->Model().AddRows(1);
  Grid->Model().SetCellText(0, 0, u"one two three four");
  Paint();
  EXPECT_TRUE(HasInk(RECT{0, 0, 60, 12}, Window));
  EXPECT_TRUE(HasInk(RECT{0, 14, 60, 26}, Window));
}

TEST_F(DisplaysTest, ImageOfIndexZeroAndNothingForMinusOne) {
  TImageList Images(16, 16);
  TBitmap Strip(32, 16);
  Strip.Canvas().Brush().SetColor(clRed);
  Strip.Canvas().FillRect(RECT{0, 0, 16, 16});
  Strip.Canvas().Brush().SetColor(clBlue);
  Strip.Canvas().FillRect(RECT{16, 0, 32, 16});
  ASSERT_EQ(Images.AddMasked(Strip, clFuchsia), 0);
  auto* Column = AddColumn<TImageColumn>(40);
  Column->SetImages(&Images);
  Grid->Model().AddRows(3);
  Grid->Model().SetCellText(0, 0, u"0");
  Grid->Model().SetCellText(0, 1, u"-1");
  Grid->Model().SetCellText(0, 2, u"7");  // beyond the list: nothing
  Paint();
  // AlignBox: left + 2, vertically centred in the 16-pixel row.
  EXPECT_EQ(Px(2, 0), RGB(255, 0, 0));
  EXPECT_EQ(Px(17, 15), RGB(255, 0, 0));
  EXPECT_EQ(Px(1, 8), Window);
  EXPECT_EQ(Px(18, 8), Window);
  EXPECT_FALSE(HasInk(RECT{0, 16, 40, 48}, Window));
}

TEST_F(DisplaysTest, ProgressBarsFillTheirShare) {
  auto* Column = AddColumn<TProgressColumn>(104);
  Column->SetProgressColor(clLime);
  Grid->Model().AddRows(3);
  Grid->Model().GetCell(0, 0)->SetAsFloat(50);
  Grid->Model().GetCell(0, 1)->SetAsFloat(150);
  Paint();
  // Frame (2, 2)-(102, 14); bar inside by 2: from 4, 96 wide; half of it ends at 52.
  EXPECT_EQ(Px(2, 8), RGB(128, 128, 128));
  EXPECT_EQ(Px(4, 8), RGB(0, 255, 0));
  EXPECT_EQ(Px(51, 8), RGB(0, 255, 0));
  EXPECT_EQ(Px(52, 8), Window);
  // 150 % stops 2 pixels inside the frame.
  EXPECT_EQ(Px(99, 16 + 8), RGB(0, 255, 0));
  EXPECT_EQ(Px(100, 16 + 8), Window);
  EXPECT_EQ(Px(101, 16 + 8), RGB(128, 128, 128));
}

TEST_F(DisplaysTest, ProgressWithoutARangeDrawsAnEmptyBar) {
  auto* Column = AddColumn<TProgressColumn>(104);
  Column->SetMax(0);
  Column->SetProgressColor(clLime);
  Column->SetShowText(true);
  Grid->Model().AddRows(1);
  Grid->Model().GetCell(0, 0)->SetAsFloat(50);
  Paint();
  EXPECT_EQ(Px(2 + 30, 8), RGB(128, 128, 128));
  for (int X = 34; X < 100; ++X) ASSERT_NE(Px(X, 8), RGB(0, 255, 0)) << X;
}

TEST_F(DisplaysTest, RateShowsFullThenEmptyGlyphs) {
  auto* Column = AddColumn<TRateColumn>(60);
  Column->SetGlyph(SolidGlyph(clRed));
  Column->SetEmptyGlyph(SolidGlyph(clBlue));
  Grid->Model().AddRows(1);
  Grid->Model().SetCellText(0, 0, u"3");
  Paint();
  // Five 8-pixel glyphs from the left edge, vertically centred (top 4).
  for (int I = 0; I < 5; ++I) EXPECT_EQ(Px(I * 8 + 4, 8), I < 3 ? RGB(255, 0, 0) : RGB(0, 0, 255)) << I;
  EXPECT_EQ(Px(44, 8), Window);
}

TEST_F(DisplaysTest, HtmlBoldMiddle) {
  AddColumn<THtmlColumn>(200);
  Grid->Model().AddRows(1);
  Grid->Model().SetCellText(0, 0, u"a<b>b</b>c");
  Paint();
  TBitmap Expected;
  Reference(Expected, 300, 100);
  TCanvas& C = Expected.Canvas();
  int X = 2;
  C.TextOut(X, 1, std::u16string_view(u"a"));
  X += C.TextWidth(std::u16string_view(u"a"));
  C.Font().SetStyle(fsBold);
  C.TextOut(X, 1, std::u16string_view(u"b"));
  X += C.TextWidth(std::u16string_view(u"b"));
  C.Font().SetStyle(0);
  C.TextOut(X, 1, std::u16string_view(u"c"));
  EXPECT_TRUE(SameArea(Expected, RECT{0, 0, 200, 16}));
  // The nesting counters are balanced: the next cell starts plain again.
  Grid->Model().AddRows(1);
  Grid->Model().SetCellText(0, 1, u"a<b>b</b>c");
  Paint();
  for (int Y = 0; Y < 16; ++Y)
    for (int Xp = 0; Xp < 60; ++Xp) ASSERT_EQ(Px(Xp, 16 + Y), Px(Xp, Y)) << Xp << "," << Y;
}

// "size" takes any whole number of points, large ones included.
TEST_F(DisplaysTest, HtmlFontSizeTakesLargeSizes) {
  AddColumn<THtmlColumn>(280);
  Grid->SetBounds(0, 0, 300, 400);
  Grid->SetRowSize(390);
  Grid->Model().AddRows(1);
  Grid->Model().SetCellText(0, 0, u"<font size=250>I</font>");
  Paint();
  int Top = -1, Bottom = -1;
  for (int Y = 0; Y < 390; ++Y)
    for (int X = 0; X < 280; ++X)
      if (Px(X, Y) != Window) {
        if (Top < 0) Top = Y;
        Bottom = Y;
        break;
      }
  ASSERT_GE(Top, 0);
  EXPECT_GT(Bottom - Top, 150);  // 250 points are about 333 pixels a line; a capital fills most
}

TEST_F(DisplaysTest, HtmlOddMarkupNeverStopsThePainting) {
  AddColumn<THtmlColumn>(200);
  Grid->Model().AddRows(4);
  Grid->Model().SetCellText(0, 0, u"<font size=\"x\" color=\"nosuch\">text</font><br>next");
  Grid->Model().SetCellText(0, 1, u"<a href=\"x\">link</a> <unknown>tag</unknown> <");
  Grid->Model().SetCellText(0, 2, u"<font color=\"red\">red</font>");
  Grid->Model().SetCellText(0, 3, u"<i>plain?");
  Paint();
  EXPECT_TRUE(HasInk(RECT{0, 0, 200, 16}, Window));
  EXPECT_TRUE(HasInk(RECT{0, 16, 200, 32}, Window));
  bool Red = false;
  for (int X = 0; X < 60 && !Red; ++X)
    for (int Y = 32; Y < 48; ++Y) Red = Red || Px(X, Y) == RGB(255, 0, 0);
  EXPECT_TRUE(Red);
}

TEST_F(DisplaysTest, DateCellsAndTheEmptyCaption) {
  auto* Column = AddColumn<TDateColumn>(120);
  Column->SetHideWhenEmpty(true);
  Column->SetEmptyCaption(u"never");
  Grid->Model().AddRows(2);
  Grid->Model().GetCell(0, 0)->SetAsDateTime(0);
  Grid->Model().GetCell(0, 1)->SetAsDateTime(45000.5);
  Paint();
  TBitmap Expected;
  Reference(Expected, 300, 100);
  RECT Text{2, 0, 118, 16};
  Expected.Canvas().Brush().SetStyle(bsClear);
  Expected.Canvas().DrawText(std::u16string_view(u"never"), Text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  EXPECT_TRUE(SameArea(Expected, RECT{0, 0, 120, 16}));
  EXPECT_TRUE(HasInk(RECT{0, 16, 120, 32}, Window));
}

TEST_F(DisplaysTest, CheckBoxesAndTheirPlay) {
  auto* Column = AddColumn<TCheckBoxColumn>(40);
  Column->SetAlignment(taLeftJustify);
  Grid->Model().AddRows(2);
  Grid->Model().SetCellText(0, 0, u"True");
  Paint();
  // Classic 11 x 11 box at (2, 8 - 11 div 2): shadow frame, tick in the window-text colour.
  EXPECT_EQ(Px(2, 3), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(Px(12, 13), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(Px(2 + 2, 3 + 4), Sys(COLOR_WINDOWTEXT));
  EXPECT_EQ(Px(2 + 2, 16 + 3 + 4), Sys(COLOR_WINDOW));
  auto* Play = dynamic_cast<TCheckBoxColumnPlay*>(Column->Play());
  ASSERT_NE(Play, nullptr);
  Column->SetOptions(Column->Options() + TColumnOptions{coEditing});  // plays belong to editable columns
  Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 16 + 6));
  Grid->Perform(WM_LBUTTONUP, 0, MAKELPARAM(6, 16 + 6));
  EXPECT_EQ(Grid->Model().GetCellText(0, 1), u"True");
  Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 16 + 6));  // beside the box
  EXPECT_EQ(Grid->Model().GetCellText(0, 1), u"True");
  Play->BooleanValue = true;
  EXPECT_TRUE(Play->KeyPress(u' '));
  EXPECT_FALSE(Play->BooleanValue);
  EXPECT_EQ(Play->TextValue, u"False");
}

TEST_F(DisplaysTest, HintMarksInTheTopRightCorner) {
  AddColumn(60);
  Grid->Model().AddRows(1);
  Grid->Model().GetCell(0, 0)->SetHint(u"more");
  Paint();
  EXPECT_EQ(Px(58, 0), RGB(255, 0, 0));
  EXPECT_EQ(Px(59, 3), RGB(255, 0, 0));
  EXPECT_EQ(Px(50, 8), Window);
}

TEST_F(DisplaysTest, HintMarksGrowWithTheGridsDensity) {
  AddColumn(60);
  Grid->Model().AddRows(1);
  Grid->Model().GetCell(0, 0)->SetHint(u"more");
  Grid->ScaleForPPI(144);
  Paint();
  ASSERT_EQ(Grid->Model().Columns().Items(0)->Width(), 90);
  EXPECT_EQ(Px(88, 4), RGB(255, 0, 0));  // six pixels down the right edge, not four
  EXPECT_EQ(Px(84, 0), RGB(255, 0, 0));
  EXPECT_EQ(Px(88, 8), Window);
}

TEST_F(DisplaysTest, GraphicsWithAlphaAreMixedOverTheCell) {
  auto* Column = AddColumn<TGraphicColumn>(40);
  Column->SetMargin(2);
  Column->SetBorderWidth(0);
  Column->SetStrecht(true);
  Grid->SetRowSize(24);
  Grid->Model().AddRows(1);
  TBitmap Picture(20, 20);
  Picture.HasAlpha = true;
  for (int I = 0; I < 400; ++I) Picture.Pixels()[I] = 0x80000080u;  // blue at half alpha, premultiplied
  Grid->Model().GetCell(0, 0)->SetObject(&Picture);
  Paint();
  const COLORREF Mixed = Px(20, 12);
  const COLORREF Expected =
      RGB(GetRValue(Window) * 127 / 256, GetGValue(Window) * 127 / 256, (255 * 128 + GetBValue(Window) * 127) / 256);
  EXPECT_EQ(Mixed, Expected);
  EXPECT_EQ(Px(1, 12), Window);  // the margin stays
}

TEST_F(DisplaysTest, AHugeRateMaximumDrawsOnlyWhatShows) {
  auto* Column = AddColumn<TRateColumn>(60);
  Column->SetGlyph(SolidGlyph(clRed));
  Column->SetEmptyGlyph(SolidGlyph(clBlue));
  Column->SetMax(2000000000);
  Column->SetAlignment(taRightJustify);
  Grid->Model().AddRows(1);
  Grid->Model().SetCellText(0, 0, u"1999999999");
  Paint();  // returns at once
  EXPECT_NE(Px(55, 8), Window);
  EXPECT_EQ(Px(80, 8), Window);  // nothing beyond the cell
}

TEST_F(DisplaysTest, CheckBoxPlayAreaFollowsTheThemedSize) {
  auto* Column = AddColumn<TCheckBoxColumn>(40);
  Column->SetAlignment(taCenter);
  auto* Play = dynamic_cast<TCheckBoxColumnPlay*>(Column->Play());
  ASSERT_NE(Play, nullptr);
  Play->CellRect = RECT{10, 20, 50, 36};
  Play->Themed = true;
  // 13 x 13 centred in the cell moved to the origin and grown by 1: (-1, -1)-(41, 17).
  const RECT Area = Play->CheckArea();
  EXPECT_EQ(Area.left, 20 - 6);
  EXPECT_EQ(Area.top, 8 - 6);
  EXPECT_EQ(Area.right - Area.left, 13);
  int Changes = 0;
  Play->OnChange = [&](TObject*) { ++Changes; };
  EXPECT_FALSE(Play->MouseDown(10 + 13, 20 + 5));
  EXPECT_TRUE(Play->MouseDown(10 + 14, 20 + 5));
  EXPECT_EQ(Changes, 1);
  Play->Themed = false;  // 11 x 11 without themes
  EXPECT_EQ(Play->CheckArea().right - Play->CheckArea().left, 11);
}
