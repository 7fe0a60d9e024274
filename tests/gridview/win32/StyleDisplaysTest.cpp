// Header styles drawn classically (themes off): frames, notches, sort arrows and pressed inversion.
#include "GridTestSupport.h"
#include "gridview/win32/base/Themes.h"

namespace {
struct StyleDisplaysTest : GridFixture {
  void SetUp() override {
    GridFixture::SetUp();
    Grid->SetBounds(0, 0, 400, 100);
  }
  // The header cell's pixels, row by row.
  std::vector<COLORREF> HeaderPixels(int Left, int Right) {
    std::vector<COLORREF> Pixels;
    for (int Y = 0; Y < Grid->HeaderSize(); ++Y)
      for (int X = Left; X < Right; ++X) Pixels.push_back(Px(X, Y));
    return Pixels;
  }
};
}  // namespace

TEST_F(StyleDisplaysTest, ClassicHeadersShowANotchBetweenNeighbours) {
  AddColumn(100);
  AddColumn(100);
  Paint();
  const COLORREF Face = Sys(COLOR_BTNFACE), Light = Sys(COLOR_BTNHIGHLIGHT), Shadow = Sys(COLOR_BTNSHADOW);
  EXPECT_EQ(Px(50, 0), Light);    // top line
  EXPECT_EQ(Px(0, 1), Light);     // the first column's left edge runs from the top
  EXPECT_EQ(Px(50, 17), Shadow);  // bottom line
  EXPECT_EQ(Px(50, 8), Face);
  // The notch: the right edge of the first and the left edge of the second stop short of the corners.
  EXPECT_EQ(Px(99, 1), Face);
  EXPECT_EQ(Px(99, 2), Shadow);
  EXPECT_EQ(Px(99, 15), Shadow);
  EXPECT_EQ(Px(99, 16), Face);
  EXPECT_EQ(Px(100, 1), Face);
  EXPECT_EQ(Px(100, 2), Light);
  EXPECT_EQ(Px(100, 16), Face);
  // The last column's right edge runs the full height.
  EXPECT_EQ(Px(199, 1), Shadow);
  EXPECT_EQ(Px(199, 16), Shadow);
}

TEST_F(StyleDisplaysTest, ASingleColumnGetsAFull3DFrame) {
  AddColumn(100);
  Paint();
  EXPECT_EQ(Px(0, 0), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(Px(99, 0), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(Px(99, 1), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(Px(0, 17), Sys(COLOR_BTNSHADOW));
}

TEST_F(StyleDisplaysTest, SortArrowIsDroppedWhenItDoesNotFit) {
  TTextualColumn* Wide = AddColumn(150, u"Name");
  TTextualColumn* Narrow = AddColumn(60, u"A caption far too long");
  Paint();
  const auto WidePlain = HeaderPixels(0, 150), NarrowPlain = HeaderPixels(150, 210);
  Wide->SetSorted(true);
  Paint();
  EXPECT_NE(HeaderPixels(0, 150), WidePlain);
  // The engraved arrow sits 19 pixels after the caption: shadow on its left slope.
  TCanvas& C = Bitmap.Canvas();
  AssignGridFont(C.Font(), Wide->Font());
  const int X = 2 + C.TextWidth(std::u16string_view(u"Name")) + 19, Y = 18 / 2 - 4;
  EXPECT_EQ(Px(X, Y + 6), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(Px(X + 6, Y + 5), Sys(COLOR_BTNHIGHLIGHT));
  Narrow->SetSorted(true);
  ASSERT_TRUE(Narrow->Sorted());
  Paint();
  EXPECT_EQ(HeaderPixels(150, 210), NarrowPlain);
}

TEST_F(StyleDisplaysTest, APressedClassicHeaderIsInverted) {
  TTextualColumn* First = AddColumn(100);
  AddColumn(100);
  Grid->SetPressedHeader(First);
  Paint();
  const COLORREF Face = Sys(COLOR_BTNFACE);
  EXPECT_EQ(Px(50, 8), RGB(255 - GetRValue(Face), 255 - GetGValue(Face), 255 - GetBValue(Face)));
  EXPECT_EQ(Px(150, 8), Face);
  // The flat style has no pressed inversion.
  Grid->SetHeaderStyle(hsFlatBorders);
  Paint();
  EXPECT_EQ(Px(50, 8), Face);
}

TEST_F(StyleDisplaysTest, FlatAndOldStyleEdges) {
  AddColumn(100);
  AddColumn(100);
  Grid->SetHeaderStyle(hsFlatBorders);
  Paint();
  EXPECT_EQ(Px(99, 5), Sys(COLOR_GRAYTEXT));
  EXPECT_EQ(Px(50, 17), Sys(COLOR_GRAYTEXT));
  EXPECT_EQ(Px(50, 0), Sys(COLOR_BTNFACE));
  Grid->SetHeaderStyle(hsOldStyle);
  Paint();
  EXPECT_EQ(Px(50, 0), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(Px(99, 5), Sys(COLOR_WINDOWFRAME));
  EXPECT_EQ(Px(50, 17), Sys(COLOR_WINDOWFRAME));
}

TEST_F(StyleDisplaysTest, HeaderTextIndentFollowsThemesAndDecorations) {
  TTextualColumn* Column = AddColumn(100);
  TStyleDisplay& Style = Grid->ActiveStyle();
  Style.SetPaint(TStylePaint{nullptr, false});
  EXPECT_EQ(Style.HeaderTextIndent(*Column), 2);
  Style.SetPaint(TStylePaint{nullptr, true});
  EXPECT_EQ(Style.HeaderTextIndent(*Column), 11);
  EXPECT_TRUE(Style.Capabilities().Contains(scHotTracking));
  Column->Header().SetDisplayMode(dmTextAndImage);
  EXPECT_EQ(Style.HeaderTextIndent(*Column), 2);
  Style.SetPaint(TStylePaint{nullptr, true, false, false});
  EXPECT_EQ(Style.HeaderTextIndent(*Column), 0);
  Style.SetPaint(TStylePaint{nullptr, false});
  EXPECT_TRUE(Style.Capabilities().Contains(scPressedInversion));
}

TEST_F(StyleDisplaysTest, FooterAndInputCells) {
  Grid->SetOptions(TGridOptions{goHeader, goFooter, goInput, goGrid});
  TTextualColumn* Column = AddColumn(100);
  Column->Footer().SetColor(clYellow);
  Column->SetInputCaption(u"");
  Paint();
  const int FooterTop = Grid->ClientHeight() - 18 - 4 - 1;
  EXPECT_EQ(Px(50, FooterTop + 4 + 5), RGB(255, 255, 0));
  EXPECT_EQ(Px(99, FooterTop + 4 + 5), Sys(COLOR_BTNFACE));  // grid line on the right
  // The input row is not active: its cell is in the column's colour.
  EXPECT_EQ(Px(50, 18 + 5), Sys(COLOR_WINDOW));
}

TEST_F(StyleDisplaysTest, ThemedHeadersTrackTheMouseInsteadOfInverting) {
  ThemeServices().SetSuppressed(false);
  if (!ThemeServices().ThemesActive() || !ThemeServices().Theme(L"HEADER")) GTEST_SKIP() << "no themed headers here";
  TTextualColumn* First = AddColumn(100);
  TTextualColumn* Second = AddColumn(100);
  Grid->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(50, 5));
  EXPECT_EQ(Grid->HotHeaderColumn(), First);
  Grid->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(150, 5));
  EXPECT_EQ(Grid->HotHeaderColumn(), Second);
  Grid->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(150, 60));
  EXPECT_EQ(Grid->HotHeaderColumn(), nullptr);
  // Pressed: drawn in the themed pressed state, not inverted.
  Paint();
  const COLORREF Normal = Px(50, 8);
  Grid->SetPressedHeader(First);
  Paint();
  const COLORREF Pressed = Px(50, 8);
  EXPECT_NE(Pressed, RGB(255 - GetRValue(Normal), 255 - GetGValue(Normal), 255 - GetBValue(Normal)));
  // Captions start 11 pixels in (plus 1) when themed.
  EXPECT_EQ(Grid->ActiveStyle().HeaderTextIndent(*First), 11);
}

TEST_F(StyleDisplaysTest, ClassicHeadersDoNotTrackTheMouse) {
  AddColumn(100);
  Grid->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(50, 5));
  EXPECT_EQ(Grid->HotHeaderColumn(), nullptr);
}

TEST_F(StyleDisplaysTest, AHeaderClickSortsAndASecondReverses) {
  TTextualColumn* Column = AddColumn(100, u"Name");
  Grid->Model().AddRows(3);
  Grid->Model().SetCellText(0, 0, u"b");
  Grid->Model().SetCellText(0, 1, u"c");
  Grid->Model().SetCellText(0, 2, u"a");
  int Clicked = -1;
  Grid->OnHeaderClick = [&](TObject*, int ACol) { Clicked = ACol; };
  Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 5));
  EXPECT_EQ(Grid->PressedHeaderColumn(), Column);
  Grid->Perform(WM_LBUTTONUP, 0, MAKELPARAM(50, 5));
  EXPECT_EQ(Clicked, 0);
  EXPECT_EQ(Grid->PressedHeaderColumn(), nullptr);
  EXPECT_EQ(Grid->Model().GetCellText(0, 0), u"a");
  Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 5));
  Grid->Perform(WM_LBUTTONUP, 0, MAKELPARAM(50, 5));
  EXPECT_EQ(Grid->Model().GetCellText(0, 0), u"c");
  // Released elsewhere: no click.
  Clicked = -1;
  Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 5));
  Grid->Perform(WM_LBUTTONUP, 0, MAKELPARAM(150, 60));
  EXPECT_EQ(Clicked, -1);
}

// A header held down, or under the mouse, whose column is deleted is forgotten with it.
TEST_F(StyleDisplaysTest, DeletingThePressedColumnForgetsIt) {
  AddColumn(100);
  TTextualColumn* Second = AddColumn(100);
  Grid->SetPressedHeader(Second);
  Grid->SetHotHeader(Second);
  Grid->Model().Columns().Delete(Second->Index());
  EXPECT_EQ(Grid->PressedHeaderColumn(), nullptr);
  EXPECT_EQ(Grid->HotHeaderColumn(), nullptr);
  Grid->Perform(WM_LBUTTONUP, 0, MAKELPARAM(150, 5));
  Paint();
  TTextualColumn* Third = AddColumn(100);
  Grid->SetPressedHeader(Third);
  Grid->Model().Columns().Clear();
  EXPECT_EQ(Grid->PressedHeaderColumn(), nullptr);
  Paint();
}
