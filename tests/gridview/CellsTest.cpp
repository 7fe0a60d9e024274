#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "core/Text.h"
#include "gridview/Cells.h"
#include "gridview/ColumnClasses.h"
#include "gridview/GridModel.h"
#include "gridview/VirtualColumn.h"
#include "tests/support/TestLocales.h"

namespace {
class TVirtualTextColumn : public TCustomColumn {
 public:
  TVirtualTextColumn() { SetCellKind(ckVirtual); }
};

class CellsTest : public ::testing::Test {
 protected:
  // A text column and a numeric one.
  void TwoColumns() {
    Text = Grid.Columns().Add<TTextualColumn>();
    Number = Grid.Columns().Add<TNumericColumn>();
  }
  void Fill(const std::vector<std::u16string>& Texts) {
    for (const auto& T : Texts) {
      Grid.AddRows(1);
      Grid.SetCellText(0, Grid.RowCount() - 1, T);
    }
  }
  std::vector<std::u16string> Column(int ACol) {
    std::vector<std::u16string> Out;
    for (int R = 0; R < Grid.RowCount(); ++R) Out.push_back(Grid.GetCellText(ACol, R));
    return Out;
  }
  TLocaleScope Locale;
  TGridModel Grid;
  TCustomColumn* Text = nullptr;
  TCustomColumn* Number = nullptr;
};
using Texts = std::vector<std::u16string>;
}  // namespace

TEST_F(CellsTest, OutOfRangeLookupsAreListErrors) {
  TwoColumns();
  Grid.AddRows(2);
  EXPECT_THROW(Grid.Cells().GetCell(0, 2), EListError);
  EXPECT_THROW(Grid.Cells().GetCell(2, 0), EListError);
  EXPECT_THROW(Grid.Cells().GetCell(-1, 0), EListError);
  try {
    Grid.Cells().GetCell(0, 5);
  } catch (const EListError& E) {
    EXPECT_STREQ(E.what(), "List index out of bounds (5)");
  }
}

TEST_F(CellsTest, LookupWritesTheCellsCoordinates) {
  TwoColumns();
  Grid.AddRows(3);
  TCell* Cell = Grid.GetCell(1, 2);
  EXPECT_EQ(Cell->Col(), 1);
  EXPECT_EQ(Cell->Row(), 2);
  Grid.MoveRow(2, 0);
  EXPECT_EQ(Grid.GetCell(1, 0), Cell);
  EXPECT_EQ(Cell->Row(), 0);
}

TEST_F(CellsTest, NewCellsTakeTheColumnColour) {
  TwoColumns();
  Number->SetColor(0x123456);
  Grid.AddRows(1);
  EXPECT_EQ(Grid.GetCellColor(1, 0), 0x123456);
  EXPECT_EQ(Grid.GetCellColor(0, 0), clBlack);
}

TEST_F(CellsTest, RowMovesShiftTheRowsBetween) {
  TwoColumns();
  Fill({u"a", u"b", u"c", u"d"});
  Grid.MoveRow(0, 2);
  EXPECT_EQ(Column(0), (Texts{u"b", u"c", u"a", u"d"}));
  Grid.MoveRow(3, 1);
  EXPECT_EQ(Column(0), (Texts{u"b", u"d", u"c", u"a"}));
  Grid.ExchangeRows(0, 3);
  EXPECT_EQ(Column(0), (Texts{u"a", u"d", u"c", u"b"}));
  EXPECT_THROW(Grid.MoveRow(0, 4), EListError);
  EXPECT_THROW(Grid.DeleteRow(4), EListError);
}

TEST_F(CellsTest, InsertedRowsOfIncrementColumnsHoldIntegers) {
  Grid.Columns().Add<TIncrementColumn>();
  Grid.AddRows(2);
  Grid.InsertRow(1);
  EXPECT_NE(dynamic_cast<TIntegerCell*>(Grid.GetCell(0, 1)), nullptr);
  EXPECT_EQ(Grid.GetCellText(0, 1), u"0");
  EXPECT_EQ(Grid.GetCellText(0, 2), u"3");
}

TEST_F(CellsTest, ColumnsAddedLaterGetACellPerRow) {
  TwoColumns();
  Grid.AddRows(3);
  Grid.Columns().Add<TCheckBoxColumn>();
  EXPECT_EQ(Grid.Cells().ColumnCount(), 3);
  EXPECT_NE(dynamic_cast<TBooleanCell*>(Grid.GetCell(2, 2)), nullptr);
  Grid.Columns().Delete(0);
  EXPECT_EQ(Grid.Cells().ColumnCount(), 2);
  EXPECT_NE(dynamic_cast<TFloatCell*>(Grid.GetCell(0, 0)), nullptr);
  Grid.Columns().Clear();
  EXPECT_EQ(Grid.RowCount(), 0);
}

TEST_F(CellsTest, StoreRefusesTheColumnBeyondItsLimit) {
  for (int I = 0; I < TCells::MaxColumns; ++I) Grid.Columns().Add<TTextualColumn>();
  EXPECT_THROW(Grid.Columns().Add<TTextualColumn>(), Exception);
  EXPECT_EQ(Grid.Columns().Count(), TCells::MaxColumns);
  EXPECT_EQ(Grid.Cells().ColumnCount(), TCells::MaxColumns);
}

// Sorting.

TEST_F(CellsTest, AlphabeticIsOrdinalAndCaseSensitive) {
  TwoColumns();
  Fill({u"b", u"B", u"ab", u"a", u"\u00e9"});
  Grid.Cells().Sort(0, stAlphabetic, false);
  EXPECT_EQ(Column(0), (Texts{u"B", u"a", u"ab", u"b", u"\u00e9"}));
  Grid.Cells().Sort(0, stAlphabetic, true);
  EXPECT_EQ(Column(0), (Texts{u"\u00e9", u"b", u"ab", u"a", u"B"}));
}

TEST_F(CellsTest, CaseInsensitiveFoldsAToZ) {
  TwoColumns();
  Fill({u"b", u"C", u"A"});
  Grid.Cells().Sort(0, stCaseInsensitive, false);
  EXPECT_EQ(Column(0), (Texts{u"A", u"b", u"C"}));
}

TEST_F(CellsTest, WholeRowsMoveTogether) {
  TwoColumns();
  Fill({u"three", u"one", u"two"});
  Grid.SetCellText(1, 0, u"3");
  Grid.SetCellText(1, 1, u"1");
  Grid.SetCellText(1, 2, u"2");
  Grid.Cells().Sort(1, stNumeric, false);
  EXPECT_EQ(Column(0), (Texts{u"one", u"two", u"three"}));
}

TEST_F(CellsTest, NumericSortMatchesAReferenceSortBothWays) {
  TwoColumns();
  std::mt19937 Random(7);
  std::vector<double> Values;
  Grid.BeginUpdate();
  for (int I = 0; I < 2000; ++I) {
    Values.push_back(static_cast<double>(Random() % 300));  // many equal keys
    Grid.AddRows(1);
    Grid.GetCell(1, I)->SetAsFloat(Values.back());
  }
  Grid.EndUpdate();
  for (bool Descending : {false, true}) {
    Grid.Cells().InvalidateSort();
    Grid.Cells().Sort(1, stNumeric, Descending);
    std::vector<double> Expected = Values;
    std::sort(Expected.begin(), Expected.end());
    if (Descending) std::reverse(Expected.begin(), Expected.end());
    for (int R = 0; R < Grid.RowCount(); ++R) ASSERT_EQ(Grid.GetCell(1, R)->GetAsFloat(), Expected[std::size_t(R)]);
  }
}

TEST_F(CellsTest, NotANumberCannotRunAScanOffTheRows) {
  TwoColumns();
  Grid.AddRows(50);
  for (int R = 0; R < 50; ++R) Grid.GetCell(1, R)->SetAsFloat(R % 3 == 0 ? std::nan("") : R);
  Grid.Cells().Sort(1, stNumeric, false);
  for (int R = 1; R < 50; ++R) {
    const double A = Grid.GetCell(1, R - 1)->GetAsFloat(), B = Grid.GetCell(1, R)->GetAsFloat();
    EXPECT_TRUE(std::isnan(A) || A <= B);
  }
}

TEST_F(CellsTest, DirectionChangeReversesWithoutReadingCells) {
  Grid.Columns().Add<TVirtualTextColumn>();
  Grid.AddRows(5);
  std::vector<std::u16string> Backing{u"c", u"e", u"a", u"d", u"b"};
  int Reads = 0;
  for (int R = 0; R < 5; ++R) {
    auto* Cell = static_cast<TVirtualCell*>(Grid.GetCell(0, R));
    const std::u16string Value = Backing[std::size_t(R)];
    Cell->OnGetText = [&Reads, Value](TVirtualCell&) {
      ++Reads;
      return Value;
    };
  }
  Grid.Cells().Sort(0, stAlphabetic, false);
  EXPECT_GT(Reads, 0);
  Reads = 0;
  Grid.Cells().Sort(0, stAlphabetic, true);
  EXPECT_EQ(Reads, 0);
  EXPECT_TRUE(Grid.Cells().SortDescending());
  EXPECT_EQ(Column(0), (Texts{u"e", u"d", u"c", u"b", u"a"}));
  Reads = 0;
  Grid.Cells().Sort(0, stAlphabetic, false);
  EXPECT_EQ(Reads, 0);
  EXPECT_EQ(Column(0), (Texts{u"a", u"b", u"c", u"d", u"e"}));
}

TEST_F(CellsTest, DataChangeForcesAFullSort) {
  TwoColumns();
  Fill({u"b", u"a", u"c"});
  Grid.Cells().Sort(0, stAlphabetic, false);
  Grid.SetCellText(0, 0, u"z");  // a, b, c -> z, b, c
  EXPECT_FALSE(Grid.Cells().SortValid());
  Grid.Cells().Sort(0, stAlphabetic, true);
  EXPECT_EQ(Column(0), (Texts{u"z", u"c", u"b"}));
  Grid.Cells().Sort(0, stAlphabetic, false);
  Grid.AddRows(1);  // an empty text sorts first
  Grid.Cells().Sort(0, stAlphabetic, true);
  EXPECT_EQ(Column(0), (Texts{u"z", u"c", u"b", u""}));
}

TEST_F(CellsTest, ChangesThatKeepTheSortValid) {
  TwoColumns();
  Fill({u"b", u"a", u"c"});
  Grid.Cells().Sort(0, stAlphabetic, false);
  Grid.ExchangeRows(0, 1);
  Grid.DeleteRow(2);
  EXPECT_TRUE(Grid.Cells().SortValid());
  Grid.InsertRow(0);
  EXPECT_FALSE(Grid.Cells().SortValid());
}

TEST_F(CellsTest, IPAddressesSortByTheirFourNumbers) {
  TwoColumns();
  Fill({u"10.0.0.2", u"9.255.1.1", u"10.0.0.10", u"192.168.1.1", u"10.0.0", u"10.0.0.1 "});
  Grid.Cells().Sort(0, stIP, false);
  EXPECT_EQ(Column(0), (Texts{u"9.255.1.1", u"10.0.0", u"10.0.0.1 ", u"10.0.0.2", u"10.0.0.10", u"192.168.1.1"}));
}

TEST_F(CellsTest, IPWithAnEmptyNumberIsAConversionError) {
  TwoColumns();
  Fill({u"10..0.1", u"1.1.1.1"});
  EXPECT_THROW(Grid.Cells().Sort(0, stIP, false), EConvertError);
}

TEST_F(CellsTest, FailedConversionKeepsRowsAndSortState) {
  TwoColumns();
  Fill({u"2", u"1", u"3"});
  Grid.Cells().Sort(0, stNumeric, false);
  Grid.SetCellText(0, 0, u"2");  // same data, sort state now stale
  Grid.SetCellText(0, 1, u"x");
  EXPECT_THROW(Grid.Cells().Sort(0, stNumeric, true), EConvertError);
  EXPECT_EQ(Column(0), (Texts{u"2", u"x", u"3"}));
  EXPECT_TRUE(Grid.Cells().SortDescending());  // the direction is already the new one
  EXPECT_FALSE(Grid.Cells().SortValid());
  EXPECT_EQ(Grid.Cells().SortedColumn(), 0);
}

TEST_F(CellsTest, DatesAsTextSortInTheLocale) {
  TwoColumns();
  Fill({u"12/17/2026 4:39:07 PM", u"1/5/2026", u"12/17/2026 9:00:00 AM"});
  Grid.Cells().Sort(0, stDate, false);
  EXPECT_EQ(Column(0), (Texts{u"1/5/2026", u"12/17/2026 9:00:00 AM", u"12/17/2026 4:39:07 PM"}));
  Grid.SetCellText(0, 0, u"17.12.2026");
  EXPECT_THROW(Grid.Cells().Sort(0, stDate, false), EConvertError);
}

TEST_F(CellsTest, EmptyAndSingleRowSortsRecordTheirState) {
  TwoColumns();
  Grid.Cells().Sort(1, stNumeric, true);
  EXPECT_EQ(Grid.Cells().SortedColumn(), 1);
  EXPECT_TRUE(Grid.Cells().SortDescending());
  EXPECT_TRUE(Grid.Cells().SortValid());
  Fill({u"only"});
  Grid.Cells().Sort(0, stNumeric, false);  // one row: nothing is compared, so nothing fails
  EXPECT_EQ(Grid.Cells().SortedColumn(), 0);
}

TEST(BareCellsTest, ColumnListsInsertMoveAndRemove) {
  TCells Store;  // no collection: every cell is text
  Store.AddColumn();
  Store.AddColumn();
  Store.AddRows(2);
  Store.GetCell(0, 1)->SetAsText(u"left");
  Store.GetCell(1, 1)->SetAsText(u"right");
  Store.InsertColumn(1);
  EXPECT_EQ(Store.ColumnCount(), 3);
  EXPECT_EQ(Store.GetCell(1, 1)->GetAsText(), u"");
  EXPECT_EQ(Store.GetCell(2, 1)->GetAsText(), u"right");
  Store.MoveColumn(0, 2);
  EXPECT_EQ(Store.GetCell(2, 1)->GetAsText(), u"left");
  EXPECT_EQ(Store.GetCell(1, 1)->GetAsText(), u"right");
  Store.RemoveColumn(1);
  EXPECT_EQ(Store.GetCell(1, 1)->GetAsText(), u"left");
  EXPECT_THROW(Store.MoveColumn(0, 2), EListError);
  Store.RemoveAllColumns();
  EXPECT_EQ(Store.RowCount(), 0);
}

// A search lists thousands of rows of one folder and a handful of types: each repeated text is
// stored once, and changing one cell's text leaves the others that shared it as they were.
TEST_F(CellsTest, RepeatedTextsOfAColumnAreStoredOnce) {
  TwoColumns();
  Fill({u"C:\\Data", u"C:\\Data", u"C:\\Other", u"C:\\Data", u""});
  auto Stored = [&](int ARow) { return static_cast<TStringCell*>(Grid.GetCell(0, ARow))->Text(); };
  EXPECT_EQ(Stored(0).data(), Stored(1).data());
  EXPECT_EQ(Stored(0).data(), Stored(3).data());  // still among the column's recent texts
  EXPECT_NE(Stored(0).data(), Stored(2).data());
  Grid.SetCellText(0, 1, u"C:\\Changed");
  EXPECT_EQ(Column(0), (Texts{u"C:\\Data", u"C:\\Changed", u"C:\\Other", u"C:\\Data", u""}));
  Grid.Cells().Sort(0, stAlphabetic, false);
  EXPECT_EQ(Column(0), (Texts{u"", u"C:\\Changed", u"C:\\Data", u"C:\\Data", u"C:\\Other"}));
  Grid.ClearRows();
  Fill({u"C:\\Data"});
  EXPECT_EQ(Column(0), (Texts{u"C:\\Data"}));
}

// A program that keeps its rows itself: the virtual columns hold no cells, rows carry their item.
TEST_F(CellsTest, ARowSourceFillsTheVirtualColumnsThatMoveWithTheirRows) {
  struct TSource : TRowSource {
    std::vector<std::u16string> Names{u"c", u"a", u"b"};
    void LoadValue(int, std::uint32_t Item, TVirtualColElement& Element) override { Element.TextValue = Names[Item]; }
    std::u16string_view Text(int, std::uint32_t Item, std::u16string& Buffer) override {
      return Item < Names.size() ? std::u16string_view(Names[Item]) : std::u16string_view(Buffer = u"");
    }
    double Number(int, std::uint32_t Item) override { return Item; }
  } Source;
  Text = Grid.Columns().Add<TTextualColumn>();
  Grid.Columns().Add<TVirtualTextColumn>();
  Grid.SetRowSource(&Source);
  Fill({u"third", u"first", u"second"});
  EXPECT_TRUE(Grid.Cells().Sourced(1));
  EXPECT_FALSE(Grid.Cells().Sourced(0));
  Grid.Cells().Sort(1, stAlphabetic, false);
  EXPECT_EQ(Column(1), (Texts{u"a", u"b", u"c"}));
  EXPECT_EQ(Column(0), (Texts{u"first", u"second", u"third"}));
  Grid.DeleteRow(0);
  Grid.InsertRow(0);  // a row the source does not have
  EXPECT_EQ(Column(1), (Texts{u"", u"b", u"c"}));
  EXPECT_EQ(Grid.GetCell(1, 2)->GetAsFloat(), 0.0);  // the source's number of item 0
  Grid.SetRowSource(nullptr);
  EXPECT_EQ(Grid.RowCount(), 0);
}
