#include <gtest/gtest.h>

#include "app/ResultCommands.h"
#include "core/Text.h"
#include "gridview/ColumnClasses.h"
#include "results/ResultRows.h"
#include "tests/app/ResultGrid.h"

namespace {

class ResultGridTest : public ::testing::Test {
 protected:
  void Add(const std::string& Name, std::uint64_t Size, TDateTime Time, bool IsFolder = false) {
    TFileEntry Entry;
    Entry.Name = Name;
    Entry.Size = Size;
    Entry.Time = Time;
    Entry.Attributes = IsFolder ? faDirectory : faArchive;
    Grid.Results.Add("C:\\Data", Entry);
  }
  std::vector<std::string> Column(TResultColumn Column) {
    std::vector<std::string> Out;
    for (int Row = 0; Row < Grid.RowCount(); ++Row) Out.push_back(Utf16ToUtf8(Grid.GetCellText(Column, Row)));
    return Out;
  }
  void ClickHeader(TResultColumn Column) { Grid.SortByHeaderClick(Grid.Columns().Items(Column)); }

  TTestResultGrid Grid;
};

using Strings = std::vector<std::string>;
const TDateTime December2023 = EncodeDateTime(2023, 12, 1, 9, 30, 0, 0);
const TDateTime February2024 = EncodeDateTime(2024, 2, 1, 9, 30, 0, 0);

}  // namespace

TEST_F(ResultGridTest, CellsReadAsTheWindowShowsThemFromNoCellObjects) {
  Add("a.txt", 1234 * 1024 + 1023, December2023);
  Add("Sub", 4096, February2024, true);
  for (int Col = 0; Col < ResultColumnCount; ++Col) EXPECT_TRUE(Grid.Cells().Sourced(Col));
  EXPECT_EQ(Column(rcImage), (Strings{"0", "1"}));
  EXPECT_EQ(Column(rcName), (Strings{"a.txt", "Sub"}));
  EXPECT_EQ(Column(rcSize), (Strings{"1234", "0"}));  // whole kilobytes; a folder has none
  EXPECT_EQ(Column(rcModified), (Strings{"12/1/2023 9:30 AM", "2/1/2024 9:30 AM"}));
  EXPECT_EQ(Column(rcFolder), (Strings{"C:\\Data", "C:\\Data"}));
  EXPECT_EQ(Column(rcType), (Strings{"Text Document", "Folder"}));
  // What the displays paint: the image index, the kilobytes for the Size mask, texts.
  TVirtualColElement Image(*Grid.Columns().Items(rcImage)), Size(*Grid.Columns().Items(rcSize)),
      Name(*Grid.Columns().Items(rcName));
  Grid.LoadCellValue(rcImage, 1, Image);
  Grid.LoadCellValue(rcSize, 0, Size);
  Grid.LoadCellValue(rcName, 1, Name);
  EXPECT_EQ(Image.IntegerValue, 1);
  EXPECT_EQ(Size.FloatValue, 1234.0);
  EXPECT_EQ(Name.TextValue, u"Sub");
  // The Modified column sorts by times at two-second resolution; the list keeps the second.
  Add("odd.txt", 1, EncodeDateTime(2024, 2, 1, 9, 30, 7, 0));
  EXPECT_EQ(Grid.Results.Number(rcModified, 2), EncodeDateTime(2024, 2, 1, 9, 30, 6, 0));
  EXPECT_EQ(Grid.Results.List().Time(2), EncodeDateTime(2024, 2, 1, 9, 30, 7, 0));
}

TEST_F(ResultGridTest, ASearchSetsTheSortedColumnAsideAndSortsItsRowsWhenItEnds) {
  TCustomColumn* Size = Grid.Columns().Items(rcSize);
  Size->SetSorted(true);
  Grid.Results.Clear();
  EXPECT_FALSE(Size->Sorted());  // no arrow over rows that come in the order they are found
  Add("big.bin", 500 * 1024, December2023);
  Add("small.txt", 10, December2023);
  Add("mid.txt", 40 * 1024, December2023);
  Grid.Results.SortAsChosen();
  EXPECT_TRUE(Size->Sorted());
  EXPECT_EQ(Column(rcName), (Strings{"small.txt", "mid.txt", "big.bin"}));
  // A header clicked during the search wins; the rows that came after the click are sorted too.
  Grid.Results.Clear();
  Add("b", 1, December2023);
  ClickHeader(rcName);
  Add("a", 1, December2023);
  Grid.Results.SortAsChosen();
  EXPECT_FALSE(Size->Sorted());
  EXPECT_EQ(Column(rcName), (Strings{"a", "b"}));
}

TEST_F(ResultGridTest, EveryColumnSortsByItsValueAndASecondClickReverses) {
  Add("b.zip", 1500, February2024);
  Add("A.txt", 1100, December2023);
  Add("Folder", 0, December2023 + 1, true);
  Add("a.txt", 900, December2023 - 1);
  ClickHeader(rcName);  // ordinal: capitals first
  EXPECT_EQ(Column(rcName), (Strings{"A.txt", "Folder", "a.txt", "b.zip"}));
  ClickHeader(rcSize);  // exact bytes, though 1100 and 1500 both show 1k
  EXPECT_EQ(Column(rcName), (Strings{"Folder", "a.txt", "A.txt", "b.zip"}));
  ClickHeader(rcSize);
  EXPECT_EQ(Column(rcName), (Strings{"b.zip", "A.txt", "a.txt", "Folder"}));
  ClickHeader(rcModified);  // by time, where the texts would put December after February
  EXPECT_EQ(Column(rcName), (Strings{"a.txt", "A.txt", "Folder", "b.zip"}));
  ClickHeader(rcType);
  EXPECT_EQ(Column(rcType), (Strings{"Folder", "Text Document", "Text Document", "ZIP File"}));
  ClickHeader(rcImage);
  EXPECT_EQ(Column(rcImage), (Strings{"0", "0", "0", "1"}));
}

TEST_F(ResultGridTest, DeletedAndSortedRowsReadBackTheirOwnEntries) {
  Add("c.txt", 3, December2023);
  Add("a.txt", 1, December2023);
  Add("b.txt", 2, February2024);
  TGridResultRows Rows(Grid.Results);
  ClickHeader(rcName);
  Grid.DeleteRow(0);
  EXPECT_EQ(Column(rcName), (Strings{"b.txt", "c.txt"}));
  const TResultRows::TResult Found = Rows.Result(0);
  EXPECT_EQ(Found.Name, "b.txt");
  EXPECT_EQ(Found.Folder, "C:\\Data");
  EXPECT_EQ(Found.Size, 2u);
  EXPECT_EQ(Found.Time, February2024);
  // A new search starts over, even when the grid was emptied behind its back.
  Grid.ClearRows();
  Add("d.txt", 4, December2023);
  EXPECT_EQ(Column(rcName), Strings{"d.txt"});
  EXPECT_EQ(Rows.Result(0).Size, 4u);
  Grid.Results.Clear();
  EXPECT_EQ(Grid.RowCount(), 0);
  EXPECT_EQ(Grid.Results.List().Count(), 0u);
}
