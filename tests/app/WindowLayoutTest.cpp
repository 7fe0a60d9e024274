#include <gtest/gtest.h>

#include "app/WindowLayout.h"

TEST(WindowLayoutTest, ReadsBackWhatItWrote) {
  TWindowLayout Layout;
  Layout.Bounds = TWindowBounds{-1200, 40, 800, 600};  // a monitor left of the main one
  Layout.Maximized = true;
  Layout.ColumnOrder = {1, 0, 2};
  Layout.ColumnWidths = {20, 300, 70};
  Layout.SortColumn = 2;
  Layout.SortDescending = true;
  EXPECT_EQ(ParseWindowLayout(FormatWindowLayout(Layout), 3, 680), Layout);
  EXPECT_EQ(ParseWindowLayout(FormatWindowLayout(TWindowLayout()), 3, 680), TWindowLayout());
}

TEST(WindowLayoutTest, EachDamagedOrUnfittingLineFallsBackOnItsOwn) {
  const TWindowLayout Layout =
      ParseWindowLayout({"WindowBounds=10,20,500,400",  // narrower than the window may be
                         "WindowMaximized=1", "ColumnOrder=0,1,1", "ColumnWidths=20,x,70", "SortColumn=3",
                         "SortDescending=1", "garbage", "=", "ColumnOrder=2,0,1"},
                        3, 680);
  EXPECT_FALSE(Layout.Bounds);
  EXPECT_TRUE(Layout.Maximized);
  EXPECT_EQ(Layout.ColumnOrder, (std::vector<int>{2, 0, 1}));  // the later, whole arrangement
  EXPECT_TRUE(Layout.ColumnWidths.empty());
  EXPECT_EQ(Layout.SortColumn, -1);
  // A layout of a grid with another number of columns keeps none of its column lines.
  const TWindowLayout Other = ParseWindowLayout({"ColumnOrder=1,0", "ColumnWidths=30,40", "SortColumn=1"}, 3, 680);
  EXPECT_TRUE(Other.ColumnOrder.empty());
  EXPECT_TRUE(Other.ColumnWidths.empty());
  EXPECT_EQ(Other.SortColumn, 1);
  EXPECT_FALSE(ParseWindowLayout({"WindowBounds=99999999,0,800,600"}, 3, 680).Bounds);
}
