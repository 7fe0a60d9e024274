#include <gtest/gtest.h>

#include "gridview/Cells.h"
#include "gridview/GridTypes.h"

namespace {
std::vector<int> Heights(const TCells& Rows) {
  std::vector<int> Out;
  for (int I = 0; I < Rows.RowCount(); ++I) Out.push_back(Rows.Row(I).Height);
  return Out;
}
}  // namespace

TEST(RowsTest, NewRowsAreUnselectedWithTheGivenHeight) {
  TCells Rows;
  Rows.AddRows(2, 20);
  Rows.AddRows(0, 99);
  Rows.AddRows(-3, 99);
  EXPECT_EQ(Heights(Rows), (std::vector<int>{20, 20}));
  EXPECT_FALSE(Rows.Row(1).Selected);
}

TEST(RowsTest, MoveShiftsTheRowsBetweenBothWays) {
  TCells Rows;
  for (int H = 1; H <= 4; ++H) Rows.InsertRow(Rows.RowCount(), H);
  Rows.MoveRow(0, 2);
  EXPECT_EQ(Heights(Rows), (std::vector<int>{2, 3, 1, 4}));
  Rows.MoveRow(3, 0);
  EXPECT_EQ(Heights(Rows), (std::vector<int>{4, 2, 3, 1}));
}

TEST(RowsTest, IndexesOutsideAreListErrors) {
  TCells Rows;
  Rows.AddRows(1, 16);
  EXPECT_THROW(Rows.Row(1), EListError);
  EXPECT_THROW(Rows.DeleteRow(-1), EListError);
  EXPECT_THROW(Rows.InsertRow(2, 16), EListError);
  EXPECT_THROW(Rows.MoveRow(0, 1), EListError);
  EXPECT_EQ(Rows.RowCount(), 1);
}

TEST(RowsTest, SelectedCountCountsMarks) {
  TCells Rows;
  Rows.AddRows(5, 16);
  Rows.Row(0).Selected = Rows.Row(4).Selected = true;
  EXPECT_EQ(Rows.SelectedCount(), 2);
  Rows.DeleteRow(4);
  EXPECT_EQ(Rows.SelectedCount(), 1);
}
