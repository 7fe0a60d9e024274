#include <gtest/gtest.h>

#include "RecordingGrid.h"
#include "gridview/ColumnClasses.h"
#include "gridview/Columns.h"

namespace {
class ColumnsTest : public ::testing::Test {
 protected:
  TCustomColumn* Add(int Width, int Position = -1) {
    auto Column = std::make_unique<TCustomColumn>();
    Column->SetWidth(Width);
    Column->SetPosition(Position);
    return Grid.Columns().Add(std::move(Column));
  }
  TRecordingGrid Grid;
  TColumns& Columns = Grid.Columns();
};
}  // namespace

TEST_F(ColumnsTest, DefaultsOfANewColumn) {
  TCustomColumn C;
  EXPECT_EQ(C.Alignment(), taLeftJustify);
  EXPECT_EQ(C.Color(), clBlack);
  EXPECT_EQ(C.Width(), 80);
  EXPECT_EQ(C.DefaultWidth(), 80);
  EXPECT_EQ(C.Position(), -1);
  EXPECT_EQ(C.Options(), (TColumnOptions{coCanClick, coCanSort, coCanInput, coEditorAutoSelect, coPublicUsing}));
  EXPECT_TRUE(C.ParentFont());
  EXPECT_TRUE(C.Visible());
  EXPECT_EQ(C.WrapKind(), wkEllipsis);
  EXPECT_EQ(C.VerticalAlignment(), vaMiddle);
  EXPECT_EQ(C.SortType(), stAlphabetic);
  EXPECT_EQ(C.CellKind(), ckText);
  EXPECT_EQ(C.Header().Color(), clBtnFace);
  EXPECT_EQ(C.Footer().Color(), clWindow);
  EXPECT_EQ(C.Header().DisplayMode(), dmTextOnly);
  EXPECT_EQ(C.Footer().FormulaKind(), fkNone);
}

TEST_F(ColumnsTest, WidthNeverBelowEight) {
  TCustomColumn* C = Add(100);
  C->SetWidth(3);
  EXPECT_EQ(C->Width(), 8);
  C->SetWidth(-50);
  EXPECT_EQ(C->Width(), 8);
}

TEST_F(ColumnsTest, LeftEdgesFollowDisplayOrderAndSkipHiddenColumns) {
  TCustomColumn* A = Add(50, 0);
  TCustomColumn* B = Add(60, 1);
  TCustomColumn* C = Add(70, 2);
  EXPECT_EQ(C->Left(), 110);
  B->SetVisible(false);
  EXPECT_EQ(B->VisibleIndex(), -1);
  EXPECT_EQ(C->Left(), 50);
  EXPECT_EQ(C->VisibleIndex(), 1);
  EXPECT_EQ(Columns.TotalWidth(), 120);
  EXPECT_EQ(Columns.VisibleCount(), 2);
  Grid.SetOptions(Grid.Options() + TGridOptions{goIndicator});
  EXPECT_EQ(A->Left(), 12);
  EXPECT_EQ(C->Left(), 62);
}

TEST_F(ColumnsTest, AutoSizeSharesSpareWidthInProportion) {
  Grid.SetGridClientWidth(300);
  // As when the grid is loaded: the widths as stored, then one layout.
  Columns.SetLoading(true);
  TCustomColumn* A = Add(100, 0);
  TCustomColumn* B = Add(50, 1);
  A->SetOptions(A->Options() + TColumnOptions{coAutoSize});
  B->SetOptions(B->Options() + TColumnOptions{coAutoSize});
  Columns.SetLoading(false);
  Columns.AutoSize(nullptr, false);
  EXPECT_EQ(A->Width(), 200);
  EXPECT_EQ(B->Width(), 100);
}

TEST_F(ColumnsTest, AutoSizeLeavesFixedColumnsAlone) {
  Grid.SetGridClientWidth(400);
  TCustomColumn* Fixed = Add(100, 0);
  TCustomColumn* A = Add(100, 1);
  A->SetOptions(A->Options() + TColumnOptions{coAutoSize});
  EXPECT_EQ(Fixed->Width(), 100);
  EXPECT_EQ(A->Width(), 300);
  Fixed->SetWidth(150);  // the columns after a resized one share what is left
  EXPECT_EQ(A->Width(), 250);
}

TEST_F(ColumnsTest, AutoSizeRoundsHalvesToEvenAndKeepsTheMinimum) {
  Grid.SetGridClientWidth(5);
  TCustomColumn* A = Add(100, 0);
  TCustomColumn* B = Add(100, 1);
  A->SetOptions(A->Options() + TColumnOptions{coAutoSize});
  B->SetOptions(B->Options() + TColumnOptions{coAutoSize});
  EXPECT_EQ(A->Width(), 8);
  Grid.SetGridClientWidth(21);
  A->SetWidth(100), B->SetWidth(100);
  Columns.AutoSize(nullptr, false);  // 10.5 each: halves to even
  EXPECT_EQ(A->Width(), 10);
  EXPECT_EQ(B->Width(), 10);
}

TEST_F(ColumnsTest, AddedColumnGoesBeforeTheFirstGreaterPosition) {
  TCustomColumn* P0 = Add(10, 0);
  TCustomColumn* P1 = Add(10, 1);
  TCustomColumn* P3 = Add(10, 3);
  TCustomColumn* P2 = Add(10, 2);
  EXPECT_EQ(Columns.DisplayItems(0), P0);
  EXPECT_EQ(Columns.DisplayItems(1), P1);
  EXPECT_EQ(Columns.DisplayItems(2), P2);
  EXPECT_EQ(Columns.DisplayItems(3), P3);
  EXPECT_EQ(Columns.Items(3), P2);  // creation order is untouched
  EXPECT_EQ(P2->Index(), 3);
}

TEST_F(ColumnsTest, MoveRenumbersAndReportsPosition) {
  TCustomColumn* A = Add(10, 0);
  TCustomColumn* B = Add(20, 1);
  TCustomColumn* C = Add(30, 2);
  Grid.Forget();
  Columns.Move(0, 2);
  EXPECT_EQ(Columns.DisplayItems(0), B);
  EXPECT_EQ(A->Position(), 2);
  EXPECT_EQ(C->Position(), 1);
  EXPECT_EQ(A->Left(), 50);
  ASSERT_EQ(Grid.Changes.size(), 1);
  EXPECT_EQ(Grid.Changes[0], std::make_pair(0, ccPosition));
  EXPECT_THROW(Columns.Move(0, 3), EListError);
  A->SetPosition(0);
  EXPECT_EQ(Columns.DisplayItems(0), A);
  EXPECT_EQ(A->Position(), 0);
}

TEST_F(ColumnsTest, SearchColumnFlagIsExclusive) {
  TCustomColumn* A = Add(10);
  TCustomColumn* B = Add(10);
  A->SetOptions(A->Options() + TColumnOptions{coSearchColumn});
  B->SetOptions(B->Options() + TColumnOptions{coSearchColumn});
  EXPECT_FALSE(A->Options().Contains(coSearchColumn));
  EXPECT_TRUE(B->Options().Contains(coSearchColumn));
}

TEST_F(ColumnsTest, ChangeKindsOfTheProperties) {
  TCustomColumn* C = Add(10);
  Grid.Forget();
  C->SetAlignment(taCenter);
  C->SetVisible(false);
  C->SetWidth(40);
  C->SetInputText(u"x");
  C->SetSortType(stNumeric);
  C->Header().SetDisplayMode(dmImageOnly);
  C->SetDefaultValue(u"d");
  C->SetDefaultWidth(3);
  C->SetWrapKind(wkNone);
  const std::vector<std::pair<int, TColumnChangeKind>> Expected{
      {0, ccAppearance}, {0, ccVisible}, {0, ccWidth}, {0, ccInput}, {0, ccSortSettings}, {0, ccAppearance}};
  EXPECT_EQ(Grid.Changes, Expected);
}

TEST_F(ColumnsTest, PartCaptionRepaintsOnlyItsStrip) {
  TCustomColumn* C = Add(10);
  Grid.Forget();
  C->Header().SetCaption(u"Name");
  C->Footer().SetColor(clWhite);
  EXPECT_TRUE(Grid.Changes.empty());
  EXPECT_EQ(Grid.Log, (std::vector<std::string>{"column 0 area 3", "column 0 area 2"}));
}

TEST_F(ColumnsTest, SortedMovesFromOneColumnToAnother) {
  TCustomColumn* A = Add(10);
  TCustomColumn* B = Add(10);
  A->SetSorted(true);
  Grid.Forget();
  B->SetSorted(true);
  EXPECT_FALSE(A->Sorted());
  EXPECT_TRUE(B->Sorted());
  const std::vector<std::pair<int, TColumnChangeKind>> Expected{{0, ccSortOff}, {1, ccSortOn}};
  EXPECT_EQ(Grid.Changes, Expected);
  EXPECT_TRUE(Grid.Has("column 0 area 3"));  // the old header repaints
  Grid.Forget();
  B->SetSorted(true);
  EXPECT_TRUE(Grid.Changes.empty());
}

TEST_F(ColumnsTest, FontFollowsTheGridUntilSetOwnFont) {
  TGridFont Big;
  Big.Size = 12;
  Grid.SetGridFont(Big);
  TCustomColumn* C = Add(10);
  EXPECT_EQ(C->Font().Size, 12);
  TGridFont Own;
  Own.Name = "Arial";
  C->SetFont(Own);
  EXPECT_FALSE(C->ParentFont());
  Grid.SetGridFont(TGridFont());
  EXPECT_EQ(C->Font().Name, "Arial");
  C->SetParentFont(true);
  EXPECT_EQ(C->Font(), TGridFont());
}

TEST_F(ColumnsTest, AssignCopiesThroughTheSetters) {
  TCustomColumn* A = Add(120);
  A->SetAlignment(taRightJustify);
  A->Header().SetCaption(u"Size");
  A->Footer().SetFormulaKind(fkSum);
  A->SetDefaultValue(u"7");
  A->SetInputText(u"typed");
  A->SetWrapKind(wkWordWrap);
  TCustomColumn B;
  B.Assign(*A);
  EXPECT_EQ(B.Alignment(), taRightJustify);
  EXPECT_EQ(B.Header().Caption(), u"Size");
  EXPECT_EQ(B.Footer().FormulaKind(), fkSum);
  EXPECT_EQ(B.DefaultValue(), u"7");
  EXPECT_EQ(B.InputText(), u"typed");
  EXPECT_EQ(B.Width(), 120);
  EXPECT_EQ(B.WrapKind(), wkWordWrap);
}

TEST_F(ColumnsTest, GlyphTakesItsCornerAsTransparentColour) {
  TCustomColumn* C = Add(10);
  TGlyph G;
  G.Width = 2, G.Height = 2;
  G.Pixels = {1, 2, 3, 4};
  C->Header().SetGlyph(G);
  EXPECT_TRUE(C->Header().Glyph().Transparent);
  EXPECT_EQ(C->Header().Glyph().TransparentColor, 3);
}

TEST_F(ColumnsTest, FindByCaptionTakesTheLastMatchOrZero) {
  for (const char16_t* Caption : {u"", u"Name", u"Size", u"Name"}) Add(10)->Header().SetCaption(Caption);
  EXPECT_EQ(Columns.FindByCaption(u"Name"), 3);
  EXPECT_EQ(Columns.FindByCaption(u"Size"), 2);
  EXPECT_EQ(Columns.FindByCaption(u"Folder"), 0);
}

TEST_F(ColumnsTest, ElementsComeFromRegisteredClasses) {
  class TFakeDisplay : public TObject {};
  TTextualColumn* C = Columns.Add<TTextualColumn>();
  EXPECT_EQ(C->Display(), nullptr);  // nothing registered in a window-less build
  RegisterColumnElementClass("TTextualColumnDisplay", [](TCustomColumn&) { return std::make_unique<TFakeDisplay>(); });
  TTextualColumn* D = Columns.Add<TTextualColumn>();
  EXPECT_NE(dynamic_cast<TFakeDisplay*>(D->Display()), nullptr);
  EXPECT_EQ(D->Display(), D->Display());
  UnregisterColumnElementClass("TTextualColumnDisplay");
}

TEST_F(ColumnsTest, ClearEmptiesBothOrdersAndTheStore) {
  Add(10), Add(20);
  Grid.AddRows(3);
  Columns.Clear();
  EXPECT_EQ(Columns.Count(), 0);
  EXPECT_EQ(Columns.TotalWidth(), 0);
  EXPECT_EQ(Grid.Cells().ColumnCount(), 0);
  EXPECT_EQ(Grid.RowCount(), 0);
}
