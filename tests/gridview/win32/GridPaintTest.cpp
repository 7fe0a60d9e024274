// Painting of the report style: selection colours, sorted-column shading, grid lines, the focus
// frame, the indicator strip, the empty grid's caption and slides.
#include "GridTestSupport.h"
#include "core/Text.h"

namespace {
struct GridPaintTest : GridFixture {
  void SetUp() override {
    GridFixture::SetUp();
    Grid->SetOptions(TGridOptions{});
    Grid->SetBounds(0, 0, 300, 120);
  }
  const COLORREF Window = Sys(COLOR_WINDOW);
};
}  // namespace

TEST_F(GridPaintTest, SelectionColoursFocusedAndUnfocused) {
  AddColumn(100);
  AddColumn(100);
  Grid->Model().AddRows(3);
  Grid->Model().SetCurrentCell(1, 1, 0);
  Grid->FocusState = 1;
  Paint();
  EXPECT_EQ(Px(150, 16 + 8), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(Px(50, 16 + 8), Window);
  // Unfocused the selection hides (aoHideSelection is on by default)...
  Grid->FocusState = 0;
  Paint();
  EXPECT_EQ(Px(150, 16 + 8), Window);
  // ...or shows in the button-face colour when it may stay.
  Grid->SetAppearanceOptions(TAppearanceOptions{aoHintMarks});
  Paint();
  EXPECT_EQ(Px(150, 16 + 8), Sys(COLOR_BTNFACE));
  // Alpha-blended selection: a quarter highlight over the grid colour.
  Grid->FocusState = 1;
  Grid->SetAppearanceOptions(TAppearanceOptions{aoAlphaBlendedSelection});
  Paint();
  const COLORREF H = Sys(COLOR_HIGHLIGHT);
  auto Quarter = [](int Grid, int High) { return static_cast<int>(std::nearbyint(High * 0.25 + Grid * 0.75)); };
  EXPECT_EQ(Px(150, 16 + 8), RGB(Quarter(GetRValue(Window), GetRValue(H)), Quarter(GetGValue(Window), GetGValue(H)),
                                 Quarter(GetBValue(Window), GetBValue(H))));
}

TEST_F(GridPaintTest, FullRowSelectionPaintsEverySelectedRow) {
  Grid->SetOptions(TGridOptions{goSelectFullRow, goMultiSelect});
  AddColumn(100);
  AddColumn(100);
  Grid->Model().AddRows(4);
  Grid->FocusState = 1;
  Grid->Model().SetCurrentCell(0, 1, 0);
  Grid->Model().SetCurrentCell(0, 3, CtrlKeyBit);
  Paint();
  EXPECT_EQ(Px(150, 16 + 8), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(Px(50, 3 * 16 + 8), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(Px(50, 2 * 16 + 8), Window);
}

// The current row's frame spans to the columns' right edge: columns running on past the client
// leave its right side out of sight, while columns ending inside show it one pixel before the end.
TEST_F(GridPaintTest, FullRowFocusFrameEndsAtTheColumnsRightEdge) {
  Grid->SetOptions(TGridOptions{goSelectFullRow});
  AddColumn(200);
  AddColumn(200);
  Grid->Model().AddRows(3);
  Grid->FocusState = 1;
  Grid->Model().SetCurrentCell(0, 1, 0);
  const int Right = Grid->ClientWidth() - 1;
  auto Edge = [this](int X) {
    std::vector<COLORREF> Pixels;
    for (int Y = 16 + 2; Y < 32 - 2; ++Y) Pixels.push_back(Px(X, Y));
    return Pixels;
  };
  Grid->SetAppearanceOptions(TAppearanceOptions{aoHideFocus});
  Paint();
  const auto Plain = Edge(Right);
  Grid->SetAppearanceOptions(TAppearanceOptions{});
  Paint();
  EXPECT_EQ(Edge(Right), Plain);
  EXPECT_NE(Edge(0), std::vector<COLORREF>(Plain.size(), Sys(COLOR_HIGHLIGHT)));  // the left side shows
  Grid->Model().Columns().Items(1)->SetWidth(50);
  Paint();
  const auto Framed = Edge(249);
  Grid->SetAppearanceOptions(TAppearanceOptions{aoHideFocus});
  Paint();
  EXPECT_NE(Framed, Edge(249));
}

TEST_F(GridPaintTest, SortedColumnIsDarkened) {
  AddColumn(100);
  TTextualColumn* Sorted = AddColumn(100);
  Grid->Model().AddRows(2);
  Grid->Model().SetCurrentCell(0, 0, 0);
  Grid->FocusState = 1;
  Grid->SetAppearanceOptions(TAppearanceOptions{aoIndicateSortedColumn});
  Sorted->SetSorted(true);
  Paint();
  const COLORREF Dark =
      RGB(GetRValue(Window) * 245 / 256, GetGValue(Window) * 245 / 256, GetBValue(Window) * 245 / 256);
  EXPECT_EQ(Px(150, 8), Dark);
  EXPECT_EQ(Px(150, 16 + 8), Dark);
  EXPECT_EQ(Px(150, 60), Dark);  // below the rows too
  EXPECT_EQ(Px(50, 16 + 8), Window);
  // A selected cell of the sorted column keeps the selection colour.
  Grid->Model().SetCurrentCell(1, 1, 0);
  Paint();
  EXPECT_EQ(Px(150, 16 + 8), Sys(COLOR_HIGHLIGHT));
}

TEST_F(GridPaintTest, GridLinesAndTheFramedStyle) {
  Grid->SetOptions(TGridOptions{goGrid});
  Grid->SetGridLinesColor(clRed);
  AddColumn(100);
  AddColumn(100);
  Grid->Model().AddRows(2);
  Paint();
  EXPECT_EQ(Px(50, 16), RGB(255, 0, 0));  // under row 0
  EXPECT_EQ(Px(99, 8), RGB(255, 0, 0));   // right of column 0
  EXPECT_EQ(Px(50, 17 + 16), RGB(255, 0, 0));
  EXPECT_EQ(Px(50, 8), Window);
  Grid->SetGridLinesStyle(lsFramed);
  Paint();
  EXPECT_EQ(Px(50, 17 + 16), RGB(0, 0, 0));  // the last row's bottom line
  EXPECT_EQ(Px(199, 8), RGB(0, 0, 0));       // the last column's right line
  EXPECT_EQ(Px(99, 8), RGB(255, 0, 0));
  Grid->SetGridLinesStyle(lsHorizontalOnly);
  Paint();
  EXPECT_EQ(Px(99, 8), Window);
  EXPECT_EQ(Px(50, 16), RGB(255, 0, 0));
}

TEST_F(GridPaintTest, CellColoringEventChangesTheBackground) {
  AddColumn(100);
  Grid->Model().AddRows(2);
  Grid->OnCellColoring = [](TObject*, int, int ARow, TColor& Cell, TColor&, TCellState) {
    if (ARow == 1) Cell = clYellow;
  };
  Paint();
  EXPECT_EQ(Px(50, 8), Window);
  EXPECT_EQ(Px(50, 24), RGB(255, 255, 0));
}

TEST_F(GridPaintTest, FocusFrameAroundTheCurrentCell) {
  AddColumn(100);
  Grid->Model().AddRows(2);
  Grid->Model().SetCurrentCell(0, 1, 0);
  Grid->SetAppearanceOptions(TAppearanceOptions{aoHideFocus});
  Grid->FocusState = 1;
  Paint();
  auto Edge = [this] {
    std::vector<COLORREF> Pixels;
    for (int X = 0; X < 100; ++X) Pixels.push_back(Px(X, 16));
    return Pixels;
  };
  const auto Without = Edge();
  Grid->SetAppearanceOptions(TAppearanceOptions{});
  Paint();
  EXPECT_NE(Edge(), Without);  // the dotted frame inverts every other pixel of the edge
  EXPECT_EQ(Px(50, 24), Sys(COLOR_HIGHLIGHT));
}

TEST_F(GridPaintTest, EmptyGridShowsItsCaption) {
  Grid->SetOptions(TGridOptions{goHeader});
  AddColumn(100);
  Grid->SetCaption(u"No files found");
  Paint();
  const int Top = 18 + 4;
  EXPECT_TRUE(HasInk(RECT{0, Top, 300, Top + 12}, Window));
  const auto [First, Last] = InkSpan(RECT{0, Top, 300, Top + 14}, Window);
  EXPECT_NEAR((First + Last) / 2, 150, 3);  // centred across the client width
  Grid->Model().AddRows(1);
  Paint();
  EXPECT_FALSE(HasInk(RECT{0, Top, 300, Top + 12}, Window));
  Grid->Model().ClearRows();
  Grid->SetCaption(u"");
  Paint();
  EXPECT_FALSE(HasInk(RECT{0, Top, 300, Top + 12}, Window));
}

TEST_F(GridPaintTest, RightOfTheColumnsIsTheGridColour) {
  Grid->SetOptions(TGridOptions{goHeader});
  AddColumn(100);
  Grid->SetColor(clYellow);
  Paint();
  EXPECT_EQ(Px(200, 5), RGB(255, 255, 0));  // no themes: the header band too
  EXPECT_EQ(Px(200, 60), RGB(255, 255, 0));
}

TEST_F(GridPaintTest, IndicatorMarksTheCurrentRow) {
  Grid->SetOptions(TGridOptions{goIndicator});
  AddColumn(100);
  Grid->Model().AddRows(3);
  Grid->Model().SetCurrentCell(0, 1, 0);
  Paint();
  // The arrow: a filled triangle 6 wide and 11 high, centred in the 12 x 16 cell.
  EXPECT_EQ(Px(3, 16 + 8), Sys(COLOR_WINDOWTEXT));
  EXPECT_EQ(Px(3, 8), Sys(COLOR_BTNFACE));
  EXPECT_EQ(Px(0, 8), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(Px(11, 8), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(Grid->GetCellRect(0, 0).left, 12);
}

TEST_F(GridPaintTest, SlidesStackRowsWithAFramedCurrentSlide) {
  TTextualColumn* Column = AddColumn(100);
  Column->SetSlideBounds(TSlideBounds{10, 10, 80, 20});
  Column->SetColor(clYellow);
  Grid->SetSlideSize(40);
  Grid->SetGridStyle(gsSlides);
  Grid->Model().AddRows(5);
  Grid->Model().SetCurrentCell(0, 1, 0);
  Paint();
  EXPECT_EQ(Px(50, 20), RGB(255, 255, 0));       // slide 0's cell
  EXPECT_EQ(Px(50, 40 + 20), RGB(255, 255, 0));  // slide 1's cell
  EXPECT_EQ(Px(5, 5), Window);
  EXPECT_EQ(Px(1, 40 + 5), Sys(COLOR_HIGHLIGHT));  // the current slide's frame
  EXPECT_EQ(Px(2, 40 + 5), Sys(COLOR_HIGHLIGHT));
  EXPECT_FALSE(Grid->HorzScrollBar().Visible());
}

namespace {
struct GridRepaintTest : GridFixture {
  void SetUp() override {
    GridFixture::SetUp();
    Grid->SetBounds(0, 0, 300, 160);
    AddColumn(100);
    AddColumn(100);
    Form.Show();
    Settle();
  }
  void Settle() { UpdateWindow(Grid->Handle()); }
  // The box of what waits to be painted; empty when nothing does.
  RECT Pending() {
    RECT R{};
    if (!GetUpdateRect(Grid->Handle(), &R, FALSE)) return RECT{};
    return R;
  }
};
}  // namespace

TEST_F(GridRepaintTest, PropertyChangesRepaintWhatTheyAffect) {
  Grid->Model().AddRows(3);
  Grid->Model().SetCurrentCell(1, 1, 0);
  Settle();
  Grid->SetRowSize(0);
  RECT R = Pending();
  EXPECT_TRUE(IsRectEmpty(&R));
  Grid->SetHighlightedTextColor(clYellow);
  R = Pending();
  EXPECT_EQ(R.left, 100);
  EXPECT_EQ(R.top, 18 + 16);
  EXPECT_EQ(R.bottom, 18 + 32);
  Settle();
  Grid->SetCaption(u"Nothing");
  R = Pending();
  EXPECT_EQ(R.top, 18 + 4);
  EXPECT_EQ(R.left, 0);
  Settle();
  Grid->SetGridLinesColor(clRed);
  R = Pending();
  EXPECT_EQ(R.bottom, Grid->ClientHeight());
  EXPECT_EQ(R.right, Grid->ClientWidth());
}

// RowSize repaints the data area (and the input row and indicator when shown), not the header.
TEST_F(GridRepaintTest, RowSizeRepaintsBelowTheHeader) {
  Grid->Model().AddRows(3);
  Settle();
  Grid->SetRowSize(20);
  RECT R = Pending();
  EXPECT_EQ(R.top, 18);
  EXPECT_EQ(R.bottom, Grid->ClientHeight());
  Settle();
  Grid->SetOptions(TGridOptions{goHeader, goIndicator});
  Settle();
  Grid->SetRowSize(24);
  R = Pending();
  EXPECT_EQ(R.top, 0);  // the indicator strip runs the full height
  EXPECT_EQ(R.left, 0);
}

TEST_F(GridRepaintTest, AutoSizedColumnsFollowAScrollBarThatComes) {
  Grid->Model().Columns().Items(1)->SetOptions(TColumnOptions{coAutoSize});
  const int Before = Grid->ClientWidth();
  EXPECT_EQ(Grid->Model().Columns().TotalWidth(), Before);
  Grid->Model().AddRows(100);
  EXPECT_LT(Grid->ClientWidth(), Before);
  EXPECT_EQ(Grid->Model().Columns().TotalWidth(), Grid->ClientWidth());
  EXPECT_EQ(Grid->Geometry().HorizontalOverflow(), 0);
}

TEST_F(GridRepaintTest, SpaceTogglesTheCurrentCheckBox) {
  auto* Check = AddColumn<TCheckBoxColumn>(40);
  Check->SetOptions(Check->Options() + TColumnOptions{coEditing});
  Grid->Model().AddRows(2);
  Grid->Model().SetCurrentCell(Check->Index(), 1, 0);
  Grid->Perform(WM_CHAR, L' ');
  EXPECT_EQ(Grid->Model().GetCellText(Check->Index(), 1), u"True");
  Grid->Perform(WM_CHAR, L' ');
  EXPECT_EQ(Grid->Model().GetCellText(Check->Index(), 1), u"False");
  EXPECT_EQ(Grid->Model().GetCellText(Check->Index(), 0), u"False");
}

// Every column kind, every option and a stream of input in a fixed pseudo-random order: the grid
// paints after each step, and nothing fails.
TEST_F(GridPaintTest, AnyMixOfInputAndOptionsPaints) {
  std::vector<std::string> Errors;
  Application().OnException = [&](const std::exception& Error) { Errors.push_back(Error.what()); };
  Grid->SetBounds(0, 0, 400, 220);
  AddColumn<TImageColumn>(20);
  AddColumn(80, u"Text");
  AddColumn<TNumericColumn>(60, u"Number")->SetFormatMask("#,##0.00");
  AddColumn<TDateColumn>(70, u"Date");
  AddColumn<TCheckBoxColumn>(30);
  AddColumn<TProgressColumn>(60)->SetShowText(true);
  AddColumn<TRateColumn>(50);
  AddColumn<THtmlColumn>(80)->SetWrapKind(wkWordWrap);
  AddColumn<TComboBoxColumn>(50);
  AddColumn<TIncrementColumn>(30);
  AddColumn<TGraphicColumn>(40);
  Grid->Model().AddRows(60);
  for (int Row = 0; Row < 60; ++Row) {
    Grid->Model().SetCellText(1, Row, u"text " + Utf8ToUtf16(std::to_string(Row)));
    Grid->Model().SetCellText(7, Row, Row % 2 ? u"<b>x<i>y" : u"</b></i><font color=\"#12\">z");
    Grid->Model().GetCell(5, Row)->SetAsFloat(Row * 7 % 130);
  }
  unsigned Seed = 12345;
  auto Next = [&Seed](unsigned Range) {
    Seed = Seed * 1103515245u + 12345u;
    return (Seed >> 8) % Range;
  };
  for (int Step = 0; Step < 1500; ++Step) {
    const int X = static_cast<int>(Next(420)), Y = static_cast<int>(Next(240));
    switch (Next(14)) {
      case 0: Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y)); break;
      case 1: Grid->Perform(WM_LBUTTONUP, 0, MAKELPARAM(X, Y)); break;
      case 2: Grid->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(X, Y)); break;
      case 3: Grid->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, Next(2) ? WHEEL_DELTA : -WHEEL_DELTA), 0); break;
      case 4: Grid->Perform(WM_VSCROLL, MAKEWPARAM(Next(8), 0)); break;
      case 5: Grid->Perform(WM_HSCROLL, MAKEWPARAM(Next(8), 0)); break;
      case 6: Grid->Perform(WM_CHAR, L' '); break;
      case 7: Grid->SetOptions(TGridOptions::FromBits(Next(1024))); break;
      case 8: Grid->SetAppearanceOptions(TAppearanceOptions::FromBits(Next(128))); break;
      case 9: Grid->SetHeaderStyle(static_cast<THeaderStyle>(Next(3))); break;
      case 10: Grid->SetGridLinesStyle(static_cast<TGridLinesStyle>(Next(3))); break;
      case 11: Grid->SetGridStyle(Next(5) == 0 ? gsSlides : gsReport); break;
      case 12:
        if (Grid->Model().RowCount() > 0)
          Grid->Model().DeleteRow(static_cast<int>(Next(static_cast<unsigned>(Grid->Model().RowCount()))));
        break;
      case 13: Grid->SetBounds(0, 0, 100 + static_cast<int>(Next(400)), 60 + static_cast<int>(Next(200))); break;
    }
    Grid->FocusState = static_cast<int>(Next(2));
    Paint();
  }
  Application().OnException = nullptr;
  EXPECT_TRUE(Errors.empty()) << Errors.front();
}

TEST_F(GridPaintTest, BorderStyleRecreatesTheWindow) {
  AddColumn(100);
  Grid->Model().AddRows(3);
  Grid->SetBorderStyle(bsSingle);
  HWND Window = Grid->Handle();
  EXPECT_TRUE(GetWindowLongW(Window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(Grid->ClientWidth(), 300 - 4);
  Grid->SetBorderStyle(bsNone);
  EXPECT_FALSE(GetWindowLongW(Grid->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(Grid->ClientWidth(), 300);
  EXPECT_EQ(Grid->Model().RowCount(), 3);  // the rows stay with the object
}
