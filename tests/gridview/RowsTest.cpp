#include <gtest/gtest.h>

#include "gridview/GridTypes.h"
#include "gridview/Rows.h"

namespace {
std::vector<int> Heights(const TRows& Rows) {
  std::vector<int> Out;
  for (int I = 0; I < Rows.Count(); ++I) Out.push_back(Rows.Items(I).Height);
  return Out;
}
}  // namespace

TEST(RowsTest, NewRowsAreUnselectedWithTheGivenHeight) {
  TRows Rows;
  Rows.Add(2, 20);
  Rows.Add(0, 99);
  Rows.Add(-3, 99);
  EXPECT_EQ(Heights(Rows), (std::vector<int>{20, 20}));
  EXPECT_FALSE(Rows.Items(1).Selected);
}

TEST(RowsTest, MoveShiftsTheRowsBetweenBothWays) {
  TRows Rows;
  for (int H = 1; H <= 4; ++H) Rows.Insert(Rows.Count(), H);
  Rows.Move(0, 2);
  EXPECT_EQ(Heights(Rows), (std::vector<int>{2, 3, 1, 4}));
  Rows.Move(3, 0);
  EXPECT_EQ(Heights(Rows), (std::vector<int>{4, 2, 3, 1}));
}

TEST(RowsTest, IndexesOutsideAreListErrors) {
  TRows Rows;
  Rows.Add(1, 16);
  EXPECT_THROW(Rows.Items(1), EListError);
  EXPECT_THROW(Rows.Delete(-1), EListError);
  EXPECT_THROW(Rows.Insert(2, 16), EListError);
  EXPECT_THROW(Rows.Move(0, 1), EListError);
  EXPECT_EQ(Rows.Count(), 1);
}

TEST(RowsTest, SelectedCountCountsMarks) {
  TRows Rows;
  Rows.Add(5, 16);
  Rows.Items(0).Selected = Rows.Items(4).Selected = true;
  EXPECT_EQ(Rows.SelectedCount(), 2);
  Rows.Delete(4);
  EXPECT_EQ(Rows.SelectedCount(), 1);
}
