// The incremental search over a model, without a grid window: typed characters gather, the next
// matching row is found from the current one round to it, and the pause forgets the text.
#include <gtest/gtest.h>

#include "gridview/ColumnClasses.h"
#include "gridview/win32/control/IncrementalSearch.h"

TEST(IncrementalSearchTest, TypedTextFindsTheNextRowStartingWithItIgnoringCaseRoundFromTheCurrent) {
  TGridModel Model;
  TCustomColumn* Names = Model.Columns().Add<TTextualColumn>();
  Model.AddRows(4);
  const char16_t* Texts[] = {u"Beta", u"alpha", u"Bravo", u"avocado"};
  for (int Row = 0; Row < 4; ++Row) Model.SetCellText(0, Row, Texts[Row]);
  TIncrementalSearch Search;
  EXPECT_EQ(Search.Type(Model, u'a'), -1);  // no search column: nothing is searched or kept
  EXPECT_EQ(Search.Text(), u"");
  Names->SetOptions(Names->Options() + TColumnOptions{coSearchColumn});
  Model.SetCurrentRow(1);
  EXPECT_EQ(Search.Type(Model, u'b'), 2);  // after the current row first
  Model.SetCurrentRow(2);
  EXPECT_EQ(Search.Type(Model, u'E'), 0);  // "be", round from the top
  EXPECT_EQ(Search.Text(), u"bE");
  EXPECT_EQ(Search.Type(Model, u'x'), -1);
  Search.Reset();
  EXPECT_EQ(Search.Text(), u"");
  EXPECT_EQ(Search.Type(Model, u'A'), 3);
}
