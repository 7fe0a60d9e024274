// The main window on a denser screen: scaled by 3/2 (144 pixels per inch) every criteria label shows
// its whole text, the fields keep their order and spacing, the grid and the bars grow with the
// text, and the window answers a density change with the place the system suggests.
#include "gridview/win32/control/CustomGridView.h"
#include "platform/Platform.h"
#include "platform/win32/WideText.h"
#include "search/SearchProgress.h"
#include "tests/app/MainFormTest.h"
#include "toolkit/HandleGuards.h"

namespace {

// The width of Text in the control's font, as the platform draws it.
int TextWidth(TWinControl& Control, const std::string& Text) {
  TDCGuard Screen(nullptr);
  TSelectedObject Selected(Screen.Get(), Control.Font().Handle());
  RECT Rect = {0, 0, 0, 0};
  const std::wstring Wide = Widen(Text);
  DrawTextW(Screen.Get(), Wide.c_str(), static_cast<int>(Wide.size()), &Rect, DT_CALCRECT | DT_SINGLELINE);
  return Rect.right;
}

// Rows of the criteria panel, left to right.
std::vector<std::vector<TWinControl*>> CriteriaRows(TForm1& Form) {
  return {{&Form.Label5, &Form.search, &Form.sc_size, &Form.sztp, &Form.edit1, &Form.Label3},
          {&Form.Label1, &Form.path, &Form.Button4, &Form.sc_modified, &Form.stdate, &Form.nddate},
          {&Form.Label2, &Form.contains, &Form.Button1}};
}

// The places of the criteria controls. A drop-down's height is left out: once its field was given a
// height, some platforms keep a least height of their own for it.
std::vector<RECT> CriteriaBounds(TForm1& Form) {
  std::vector<RECT> Result;
  for (const auto& Row : CriteriaRows(Form)) {
    for (TWinControl* Control : Row) {
      RECT Box = Control->BoundsRect();
      if (dynamic_cast<TComboBox*>(Control)) Box.bottom = Box.top;
      Result.push_back(Box);
    }
  }
  return Result;
}

bool SameRects(const std::vector<RECT>& A, const std::vector<RECT>& B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(),
                                            [](const RECT& X, const RECT& Y) { return EqualRect(&X, &Y) != FALSE; });
}

}  // namespace

TEST_F(MainFormTest, ScaledByThreeHalvesNoLabelOrFieldIsClippedOrOverlapped) {
  TForm1& Form = Start();
  const std::vector<RECT> Designed = CriteriaBounds(Form);
  Form.ChangeScale(144, 96);
  EXPECT_EQ(Form.CurrentPPI(), 144);
  EXPECT_EQ(Form.Font().Height(), -16);

  for (TLabel* Label : {&Form.Label5, &Form.Label1, &Form.Label2, &Form.Label3})
    EXPECT_LE(TextWidth(*Label, Label->Caption()), Label->Width()) << Label->Caption();
  // A check box's text comes after its box and a gap.
  for (TCheckBox* Box : {&Form.sc_size, &Form.sc_modified})
    EXPECT_LE(TextWidth(*Box, Box->Caption()) + Form.ScaleValue(17), Box->Width()) << Box->Caption();
  const int PanelWidth = Form.tpContainer3.ClientWidth(), PanelHeight = Form.tpContainer3.ClientHeight();
  for (const auto& Row : CriteriaRows(Form)) {
    for (std::size_t I = 0; I < Row.size(); ++I) {
      const RECT Box = Row[I]->BoundsRect();
      EXPECT_GE(Box.left, Form.ScaleValue(10) - 1) << Row[I]->Caption();
      EXPECT_LE(Box.right, PanelWidth) << Row[I]->Caption();
      EXPECT_LE(Box.bottom, PanelHeight) << Row[I]->Caption();
      if (I > 0) {
        EXPECT_LE(Row[I - 1]->BoundsRect().right, Box.left) << Row[I]->Caption();
      }
    }
  }
  // The closed drop-downs line up with the edit fields.
  EXPECT_EQ(Form.search.Height(), Form.contains.Height());
  EXPECT_EQ(Form.sztp.Height(), Form.edit1.Height());

  EXPECT_EQ(Form.flist.RowSize(), 24);
  EXPECT_EQ(Form.flist.HeaderSize(), 27);
  EXPECT_EQ(Form.flist.Model().Columns().Items(1)->Width(), 255);
  EXPECT_EQ(Form.ImageList2.Height(), 24);
  EXPECT_EQ(Form.ImageList2.Count(), 2);
  EXPECT_EQ(Form.ImageList1.Width(), 36);
  EXPECT_EQ(Form.tpPaneBar3.ItemHeight(), 30);
  EXPECT_EQ(Form.tpPaneBar3.Height(), 4 * 30 + 65);
  EXPECT_LE(Form.tpPaneBar3.BoundsRect().bottom, Form.tpContainer2.ChildArea().bottom);
  EXPECT_EQ(Form.StatusBar1.Panel(1).Width, 300);
  EXPECT_EQ(Form.prg.BoundsRect().right, 147);  // still inside panel 0, 4 from its edge at 144
  const RECT Roll = Form.tpPaneBar3.RollButtonRect();
  EXPECT_EQ(Roll.right - Roll.left, 27);
  EXPECT_EQ(Roll.right, Form.tpPaneBar3.Width() - 9);

  // And back: the design's places exactly.
  Form.ChangeScale(96, 144);
  EXPECT_TRUE(SameRects(CriteriaBounds(Form), Designed));
  EXPECT_EQ(Form.flist.RowSize(), 16);
  EXPECT_EQ(Form.Font().Height(), -11);
}

TEST_F(MainFormTest, StatusPanelsGrowToTheirWholeTextAtEachDensity) {
  TForm1& Form = Start();
  const std::string Searched = SearchedText(169939, 17303, FormatSettings()),
                    Found = FoundText(48548, FormatSettings());
  for (const int PPI : {96, 144}) {
    Form.ChangeScale(PPI, Form.CurrentPPI());
    Form.SetStatus(Searched, 1);
    Form.SetStatus(Found, 2);
    for (const auto& [Panel, Text] : {std::pair<int, std::string>{1, Searched}, {2, Found}}) {
      const RECT Box = Form.StatusBar1.PanelRect(Panel);
      EXPECT_GE(Box.right - Box.left, TextWidth(Form.StatusBar1, Text) + Form.ScaleValue(8)) << PPI << " " << Text;
    }
    // A short text leaves its panel as designed; the last panel takes the rest of the bar.
    Form.SetStatus("Found 3 files", 2);
    const RECT Short = Form.StatusBar1.PanelRect(2), Last = Form.StatusBar1.PanelRect(3);
    EXPECT_LE(Short.right - Short.left, Form.ScaleValue(100)) << PPI;
    EXPECT_GT(Last.right, Form.StatusBar1.Width() - Form.ScaleValue(30)) << PPI;
  }
}

TEST_F(MainFormTest, DensityChangeScalesTheWindowIntoTheSuggestedRectangleAndKeepsTheLayoutAt96) {
  // The screen's density is the program's; the next test finds it as it was.
  struct TScreenDensity {
    ~TScreenDensity() { Screen().SetPixelsPerInch(96); }
  } Restore;
  TForm1& Window = Start();
  const RECT Suggested = {40, 30, 40 + 1035, 30 + 815};
  Window.Perform(WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&Suggested));
  const RECT Bounds = Window.BoundsRect();
  EXPECT_TRUE(EqualRect(&Suggested, &Bounds));
  EXPECT_EQ(Window.CurrentPPI(), 144);
  EXPECT_EQ(Window.flist.RowSize(), 24);
  EXPECT_EQ(Window.tpContainer2.Height(), 204);
  // The grid's cursors follow, their hot spots scaled with them.
  ICONINFO Info = {};
  ASSERT_TRUE(GetIconInfo(Screen().CursorHandle(crHorzSplit), &Info));
  TBitmapHandle Mask(Info.hbmMask), Color(Info.hbmColor);
  EXPECT_EQ(Info.xHotspot, 24u);
  EXPECT_EQ(Info.yHotspot, 24u);

  // What the window remembers is at 96 pixels per inch, whatever the density it was closed at.
  Window.Show();
  Form.reset();
  const TWindowLayout Layout = ReadWindowLayout(Settings.Path(LayoutFile), 6, 680, PlatformFileSystem());
  ASSERT_TRUE(Layout.Bounds);
  EXPECT_EQ(Layout.Bounds->Width, 690);
  EXPECT_EQ(Layout.Bounds->Height, 543);
  ASSERT_EQ(Layout.ColumnWidths.size(), 6u);
  EXPECT_EQ(Layout.ColumnWidths[1], 170);
}
