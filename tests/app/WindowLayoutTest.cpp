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

TEST(WindowLayoutTest, BoundsFitIntoAnAreaMovedFirstAndShrunkOnlyWhenLarger) {
  const TWindowBounds Area{0, 0, 1280, 1000};
  // Closed at 96 pixels per inch, opened at 144: moved in, size kept.
  EXPECT_EQ(FitIntoArea({295, 228, 1035, 815}, Area), (TWindowBounds{245, 185, 1035, 815}));
  EXPECT_EQ(FitIntoArea({-40, 10, 600, 400}, Area), (TWindowBounds{0, 10, 600, 400}));
  EXPECT_EQ(FitIntoArea({100, 100, 1500, 1200}, Area), Area);
  EXPECT_EQ(FitIntoArea({10, 20, 300, 200}, {1280, 0, 1024, 768}), (TWindowBounds{1280, 20, 300, 200}));
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
