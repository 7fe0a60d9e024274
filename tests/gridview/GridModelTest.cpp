#include <gtest/gtest.h>

#include "RecordingGrid.h"
#include "gridview/ColumnClasses.h"
#include "gridview/GridModel.h"
#include "tests/support/TestLocales.h"

namespace {
// The results window's six columns: image, name, size, modified, folder, type.
class GridModelTest : public ::testing::Test {
 protected:
  GridModelTest() {
    Grid.Columns().Add<TImageColumn>();
    Grid.Columns().Add<TTextualColumn>()->Header().SetCaption(u"Name");
    Size = Grid.Columns().Add<TNumericColumn>();
    Size->SetFormatMask("###,###,##0k ");
    Grid.Columns().Add<TTextualColumn>()->Header().SetCaption(u"Modified");
    Grid.Columns().Add<TTextualColumn>()->Header().SetCaption(u"Folder");
    Grid.Columns().Add<TTextualColumn>()->Header().SetCaption(u"Type");
    Grid.SetOptions(Grid.Options() + TGridOptions{goMultiSelect, goSelectFullRow});
    Grid.Forget();
  }
  std::string OutOfBounds(int ACol, int ARow) {
    try {
      Grid.SetCellText(ACol, ARow, u"x");
    } catch (const EConvertError&) {
      return "conversion error";
    } catch (const Exception& E) {
      return E.what();
    }
    return "(none)";
  }
  std::vector<std::u16string> Names() {
    std::vector<std::u16string> Out;
    for (int R = 0; R < Grid.RowCount(); ++R) Out.push_back(Grid.GetCellText(1, R));
    return Out;
  }
  void AddNamed(std::initializer_list<const char16_t*> Names) {
    for (const char16_t* Name : Names) {
      Grid.AddRows(1);
      Grid.SetCellText(1, Grid.RowCount() - 1, Name);
    }
  }
  TLocaleScope Locale;
  TRecordingGrid Grid;
  TNumericColumn* Size = nullptr;
};
using Texts = std::vector<std::u16string>;
}  // namespace

TEST_F(GridModelTest, OutOfBoundsNamesColumnAndRow) {
  Grid.AddRows(3);
  EXPECT_EQ(OutOfBounds(1, 3), "Cell out of bounds (1, 3)");
  EXPECT_EQ(OutOfBounds(1, -1), "Cell out of bounds (1, -1)");
  EXPECT_EQ(OutOfBounds(6, 0), "Cell out of bounds (6, 0)");
  EXPECT_EQ(OutOfBounds(-1, 0), "Cell out of bounds (-1, 0)");
  EXPECT_THROW(Grid.GetCellText(0, 3), Exception);
  TGridModel Empty;
  EXPECT_THROW(Empty.GetCellText(0, 0), Exception);
  EXPECT_EQ(Grid.RowCount(), 3);
}

TEST_F(GridModelTest, NewRowsAreEmptyOrZero) {
  Grid.AddRows(1);
  EXPECT_EQ(Grid.GetCellText(0, 0), u"0");
  EXPECT_EQ(Grid.GetCellText(1, 0), u"");
  EXPECT_EQ(Grid.GetCell(2, 0)->GetAsFloat(), 0.0);
  EXPECT_FALSE(Grid.RowSelected(0));
  EXPECT_EQ(Grid.RowHeight(0), 16);
}

TEST_F(GridModelTest, DefaultValuesOnlyWithTheirOption) {
  Grid.Columns().Items(1)->SetDefaultValue(u"new");
  Grid.AddRows(1);
  EXPECT_EQ(Grid.GetCellText(1, 0), u"");
  Grid.SetOptions(Grid.Options() + TGridOptions{goUseDefaultValues});
  Grid.AddRows(2);
  EXPECT_EQ(Grid.GetCellText(1, 1), u"new");
  EXPECT_EQ(Grid.GetCellText(1, 2), u"new");
}

TEST_F(GridModelTest, ClearRowsKeepsTheCurrentRow) {
  Grid.AddRows(5);
  Grid.SetCurrentCell(0, 3, 0);
  Grid.SetRowSelected(1, true);
  Grid.ClearRows();
  EXPECT_EQ(Grid.RowCount(), 0);
  EXPECT_EQ(Grid.CurrentRow(), 3);
  Grid.AddRows(1);
  EXPECT_EQ(Grid.RowCount(), 1);
  EXPECT_FALSE(Grid.RowSelected(0));
  EXPECT_EQ(Grid.SelectedCount(), 0);
}

TEST_F(GridModelTest, NestedUpdatesRepaintOnTheLastEnd) {
  Grid.BeginUpdate();
  Grid.BeginUpdate();
  Grid.AddRows(1);
  Grid.SetCellText(1, 0, u"a");
  Grid.EndUpdate();
  EXPECT_TRUE(Grid.IsUpdating());
  EXPECT_FALSE(Grid.Has("area 1"));
  EXPECT_FALSE(Grid.Has("rows 0-0"));
  EXPECT_FALSE(Grid.Has("cell 1,0"));
  Grid.Forget();
  Grid.EndUpdate();
  EXPECT_FALSE(Grid.IsUpdating());
  EXPECT_EQ(Grid.Log, (std::vector<std::string>{"rows 0-0", "vbar"}));
  Grid.Forget();
  Grid.EndUpdate();  // unpaired: nothing
  EXPECT_TRUE(Grid.Log.empty());
  EXPECT_FALSE(Grid.IsUpdating());
}

TEST_F(GridModelTest, CellChangesRepaintAndNotifyOutsideUpdates) {
  Grid.AddRows(2);
  std::vector<std::pair<int, int>> Changed;
  Grid.OnChange = [&](int C, int R) { Changed.push_back({C, R}); };
  Grid.Forget();
  Grid.SetCellText(4, 1, u"C:\\");
  EXPECT_EQ(Grid.Log, (std::vector<std::string>{"cell 4,1"}));
  Grid.BeginUpdate();
  Grid.SetCellText(4, 0, u"D:\\");
  Grid.EndUpdate();
  EXPECT_EQ(Changed, (std::vector<std::pair<int, int>>{{4, 1}}));
}

TEST_F(GridModelTest, AddRowsPaintsTheNewStripUnlessUpdating) {
  Grid.AddRows(2);
  EXPECT_TRUE(Grid.Has("rows 0-1"));
  EXPECT_TRUE(Grid.Has("vbar"));
  Grid.SetOptions(Grid.Options() + TGridOptions{goGrid});
  Grid.Forget();
  Grid.AddRows(1);
  EXPECT_TRUE(Grid.Has("row 1"));  // the grid line under the previous row
  Grid.Forget();
  Grid.BeginUpdate();
  Grid.AddRows(1);
  EXPECT_FALSE(Grid.Has("rows 3-3"));
  EXPECT_FALSE(Grid.Has("row 2"));
  Grid.EndUpdate();
}

// A search appends thousands of rows under the lock: its end repaints from the first row that
// changed (here the grid line under the last old row) down, never the rows that stayed as they were.
TEST_F(GridModelTest, TheLockRepaintsOnlyFromTheFirstChangedRow) {
  Grid.SetOptions(Grid.Options() + TGridOptions{goGrid});
  Grid.AddRows(5);
  Grid.Forget();
  Grid.BeginUpdate();
  Grid.AddRows(3);
  Grid.SetCellText(1, 6, u"new");
  Grid.Forget();
  Grid.EndUpdate();
  EXPECT_EQ(Grid.Log, (std::vector<std::string>{"rows 4-7", "vbar"}));
  Grid.Forget();
  Grid.BeginUpdate();
  Grid.SetCellText(1, 2, u"changed");
  Grid.AddRows(1);
  Grid.Forget();
  Grid.EndUpdate();
  EXPECT_EQ(Grid.Log, (std::vector<std::string>{"rows 2-8", "vbar"}));
  Grid.Forget();
  Grid.BeginUpdate();
  Grid.EndUpdate();
  EXPECT_EQ(Grid.Log, (std::vector<std::string>{"vbar"}));
}

TEST_F(GridModelTest, BadNumberKeepsThePreviousValue) {
  Grid.AddRows(1);
  Grid.SetCellText(2, 0, u"12.5");
  EXPECT_THROW(Grid.SetCellText(2, 0, u"twelve"), EConvertError);
  EXPECT_EQ(Grid.GetCellText(2, 0), u"12.5");
  EXPECT_THROW(Grid.SetCellText(0, 0, u"1.5"), EConvertError);
  Grid.SetCellText(0, 0, u"1");
  EXPECT_EQ(Grid.GetCellText(0, 0), u"1");
}

TEST_F(GridModelTest, RowSelection) {
  Grid.AddRows(3);
  Grid.Forget();
  Grid.SetRowSelected(1, true);
  EXPECT_EQ(Grid.Log, (std::vector<std::string>{"row 1"}));
  Grid.Forget();
  Grid.SetRowSelected(1, true);  // unchanged: no repaint
  Grid.SetRowSelected(3, true);  // no such row: ignored
  Grid.SetRowSelected(-1, true);
  EXPECT_TRUE(Grid.Log.empty());
  EXPECT_EQ(Grid.SelectedCount(), 1);
  EXPECT_THROW(Grid.RowSelected(3), EListError);
}

TEST_F(GridModelTest, DeleteAndInsertRows) {
  AddNamed({u"a", u"b", u"c"});
  Grid.SetCurrentCell(0, 1, 0);
  Grid.Forget();
  Grid.DeleteRow(0);
  EXPECT_EQ(Names(), (Texts{u"b", u"c"}));
  EXPECT_TRUE(Grid.Has("scroll 0 by -16"));
  EXPECT_EQ(Grid.RowsAtLastVBar, 2);  // the scroll range is taken once the row is gone
  EXPECT_EQ(Grid.CurrentRow(), 1);    // not adjusted
  Grid.InsertRow(0);
  EXPECT_EQ(Names(), (Texts{u"", u"b", u"c"}));
  EXPECT_EQ(Grid.CurrentRow(), 2);
  EXPECT_EQ(Grid.RowsAtLastVBar, 3);
  Grid.InsertRow(3);  // at the end
  EXPECT_EQ(Grid.RowCount(), 4);
  EXPECT_THROW(Grid.DeleteRow(4), EListError);
  EXPECT_THROW(Grid.InsertRow(6), EListError);
  EXPECT_EQ(Grid.Cells().RowCount(), Grid.RowCount());
}

TEST_F(GridModelTest, MeasuringHandlerChangesOnlyTheAnswer) {
  Grid.AddRows(2);
  Grid.OnMeasuringRowHeight = [](int Index, int& Height) {
    if (Index == 1) Height = 40;
  };
  EXPECT_EQ(Grid.RowHeight(0), 16);
  EXPECT_EQ(Grid.RowHeight(1), 40);
  EXPECT_EQ(Grid.Cells().Row(1).Height, 16);
  Grid.SetRowSize(0);
  EXPECT_EQ(Grid.RowSize(), 16);
}

TEST_F(GridModelTest, SortedSortsAndSortKindReverses) {
  AddNamed({u"b", u"c", u"a"});
  std::vector<std::pair<int, bool>> Sorts;
  Grid.OnSortColumn = [&](int ACol, bool Ascending) { Sorts.push_back({ACol, Ascending}); };
  TCustomColumn* Name = Grid.Columns().Items(1);
  Name->SetSorted(true);
  EXPECT_EQ(Names(), (Texts{u"a", u"b", u"c"}));
  Name->SetSortKind(skDescending);
  EXPECT_EQ(Names(), (Texts{u"c", u"b", u"a"}));
  EXPECT_EQ(Sorts, (std::vector<std::pair<int, bool>>{{1, true}, {1, false}}));
  // Sorting moves to the size column.
  Grid.SetCellText(2, 0, u"5"), Grid.SetCellText(2, 1, u"1"), Grid.SetCellText(2, 2, u"3");
  Size->SetSorted(true);
  EXPECT_FALSE(Name->Sorted());
  EXPECT_EQ(Names(), (Texts{u"b", u"a", u"c"}));
}

TEST_F(GridModelTest, SortSettingsOfAnUnsortedColumnDoNothing) {
  AddNamed({u"b", u"a"});
  Grid.Columns().Items(1)->SetSortKind(skDescending);
  EXPECT_EQ(Names(), (Texts{u"b", u"a"}));
}

TEST_F(GridModelTest, ColumnWithoutCanSortIsNeverSorted) {
  AddNamed({u"b", u"a"});
  TCustomColumn* Name = Grid.Columns().Items(1);
  Name->SetOptions(Name->Options() - TColumnOptions{coCanSort});
  Name->SetSorted(true);
  EXPECT_EQ(Names(), (Texts{u"b", u"a"}));
}

TEST_F(GridModelTest, SelectionMarksStayWhereTheyAre) {
  AddNamed({u"c", u"a", u"b"});
  Grid.SetRowSelected(0, true);
  Grid.Columns().Items(1)->SetSorted(true);
  EXPECT_EQ(Names(), (Texts{u"a", u"b", u"c"}));
  EXPECT_TRUE(Grid.RowSelected(0));
  EXPECT_FALSE(Grid.RowSelected(2));
}

TEST_F(GridModelTest, WidthChangeRepaintsAndReportsTheResize) {
  std::vector<int> Resized;
  Grid.OnColumnResize = [&](int ACol) { Resized.push_back(ACol); };
  Grid.Columns().Items(3)->SetWidth(120);
  EXPECT_EQ(Resized, std::vector<int>{3});
  EXPECT_TRUE(Grid.Has("from column 3"));
}

TEST_F(GridModelTest, CtrlAndShiftSelectRows) {
  Grid.AddRows(6);
  Grid.SetCurrentCell(0, 1, 0);
  EXPECT_TRUE(Grid.RowSelected(1));
  Grid.SetCurrentCell(0, 4, ShiftKeyBit);
  EXPECT_EQ(Grid.SelectedCount(), 4);  // 1 .. 4
  Grid.SetCurrentCell(0, 2, CtrlKeyBit);
  EXPECT_FALSE(Grid.RowSelected(2));
  EXPECT_EQ(Grid.SelectedCount(), 3);
  Grid.SetCurrentCell(0, 5, 0);  // a plain move clears the multi-selection
  EXPECT_EQ(Grid.SelectedCount(), 1);
  EXPECT_TRUE(Grid.RowSelected(5));
  EXPECT_EQ(Grid.CurrentRow(), 5);
}

TEST_F(GridModelTest, FooterFormulas) {
  Size->Footer().SetFormulaKind(fkSum);
  Grid.Columns().Items(0)->Footer().SetFormulaKind(fkMaximum);
  Grid.RecalcFooters();
  EXPECT_EQ(Size->Footer().Caption(), u"0");
  Grid.AddRows(3);
  Grid.SetCellText(2, 0, u"1000"), Grid.SetCellText(2, 1, u"234.5"), Grid.SetCellText(2, 2, u"0");
  Grid.SetCellText(0, 1, u"1");
  Grid.RecalcFooters();
  EXPECT_EQ(Size->Footer().Caption(), u"1,235k ");
  EXPECT_EQ(Grid.Columns().Items(0)->Footer().Caption(), u"1");
  Size->Footer().SetFormulaKind(fkAverage);
  Size->SetFormatMask("");
  Grid.RecalcFooters();
  EXPECT_EQ(Size->Footer().Caption(), u"411.5");
  Grid.Columns().Items(1)->Footer().SetFormulaKind(fkCount);
  EXPECT_THROW(Grid.RecalcFooters(), EConvertError);  // the names are not numbers
}

TEST_F(GridModelTest, HeaderClicksSortThenReverseWithoutComparing) {
  Grid.AddRows(3);
  Grid.SetCellText(2, 0, u"20"), Grid.SetCellText(2, 1, u"3"), Grid.SetCellText(2, 2, u"100");
  auto Sizes = [&] {
    std::vector<double> Out;
    for (int R = 0; R < Grid.RowCount(); ++R) Out.push_back(Grid.GetCell(2, R)->GetAsFloat());
    return Out;
  };
  Grid.SortByHeaderClick(Size);
  EXPECT_EQ(Sizes(), (std::vector<double>{3, 20, 100}));
  Grid.SortByHeaderClick(Size);
  EXPECT_EQ(Sizes(), (std::vector<double>{100, 20, 3}));
  EXPECT_TRUE(Grid.Cells().SortValid());
  Grid.SortByHeaderClick(Size);
  EXPECT_EQ(Sizes(), (std::vector<double>{3, 20, 100}));
  TCustomColumn* Name = Grid.Columns().Items(1);
  Name->SetOptions(Name->Options() - TColumnOptions{coCanSort});
  Grid.SortByHeaderClick(Name);
  EXPECT_FALSE(Name->Sorted());
}

TEST_F(GridModelTest, LoadCellValueFillsTheFieldOfTheKind) {
  Grid.AddRows(1);
  Grid.SetCellText(0, 0, u"1");
  Grid.SetCellText(1, 0, u"notes.txt");
  Grid.SetCellText(2, 0, u"2.5");
  TVirtualColElement Image(*Grid.Columns().Items(0)), Name(*Grid.Columns().Items(1)), Number(*Size);
  Grid.LoadCellValue(0, 0, Image);
  Grid.LoadCellValue(1, 0, Name);
  Grid.LoadCellValue(2, 0, Number);
  EXPECT_EQ(Image.IntegerValue, 1);
  EXPECT_EQ(Name.TextValue, u"notes.txt");
  EXPECT_EQ(Number.FloatValue, 2.5);
  EXPECT_EQ(Number.TextValue, u"");
}

TEST_F(GridModelTest, ClientWidthChangeAutoSizes) {
  TCustomColumn* Type = Grid.Columns().Items(5);
  Type->SetOptions(Type->Options() + TColumnOptions{coAutoSize});
  Grid.SetGridClientWidth(1000);
  EXPECT_EQ(Type->Right(), 1000);
  EXPECT_FALSE(Grid.ColumnEditable(1));
  Type->SetOptions(Type->Options() + TColumnOptions{coEditing});
  EXPECT_TRUE(Grid.ColumnEditable(5));
}

TEST_F(GridModelTest, CellRowsAreRowsThatArriveUnpainted) {
  Grid.AddRows(1);
  Grid.Forget();
  Grid.AddCellRows(2);
  EXPECT_TRUE(Grid.Log.empty());
  EXPECT_EQ(Grid.RowCount(), 3);
  EXPECT_EQ(Grid.RowHeight(2), 16);
  EXPECT_FALSE(Grid.RowSelected(2));
  Grid.SetRowSelected(2, true);
  EXPECT_EQ(Grid.SelectedCount(), 1);
  EXPECT_THROW(Grid.RowHeight(3), EListError);
}

TEST_F(GridModelTest, MovingTheCurrentRowRepaintsTheRowItLeaves) {
  Grid.AddRows(3);  // row 0 is current but not selected, as after a search
  Grid.Forget();
  Grid.SetCurrentCell(0, 1, 0);
  EXPECT_TRUE(Grid.Has("row 0"));  // its focus frame goes
  EXPECT_TRUE(Grid.Has("row 1"));
}

TEST_F(GridModelTest, CellModeRepaintsBothCellsAndIndicators) {
  Grid.SetOptions(Grid.Options() - TGridOptions{goSelectFullRow});
  Grid.AddRows(3);
  Grid.Forget();
  std::vector<std::pair<int, int>> Left;
  Grid.OnDeselectCell = [&](int C, int R) { Left.push_back({C, R}); };
  Grid.SetCurrentCell(2, 1, 0);
  EXPECT_EQ(Grid.Log, (std::vector<std::string>{"cell 2,1", "cell 0,0", "indicator 1", "indicator 0"}));
  EXPECT_EQ(Left, (std::vector<std::pair<int, int>>{{0, 0}}));
  EXPECT_EQ(Grid.SelectedCount(), 0);  // cell mode marks no rows
}
