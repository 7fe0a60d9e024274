// What the grid keeps of in-cell editing, without a grid window: the editor over its cell, its
// forgetting before it hides, the accepting guard and where an editor lies over its cell.
#include <gtest/gtest.h>

#include "gridview/ColumnClasses.h"
#include "gridview/win32/control/GridCellEditing.h"
#include "gridview/win32/editors/TextualEditor.h"

namespace {
struct TFakeViewport : TGridViewport {
  int Offset = 0;
  int ViewportWidth() const override { return 400; }
  int ViewportHeight() const override { return 200; }
  int TopRow() const override { return 0; }
  int HorzOffset() const override { return Offset; }
};
}  // namespace

TEST(GridCellEditingTest, TheOpenEditorIsForgottenWithItsCellAndTheGuardEndsWithItsScope) {
  TGridCellEditing Editing;
  TTextualEditor Editor;
  Editing.Opened(Editor, 2, 5, false);
  EXPECT_TRUE(Editing.OpenOver(2, 5));
  EXPECT_FALSE(Editing.OpenOver(2, 4));
  EXPECT_FALSE(Editing.OpenOverInput(2));
  EXPECT_FALSE(Editing.EditingInput());
  {
    TGridCellEditing::TAcceptScope Accepting(Editing);
    EXPECT_TRUE(Editing.Accepting());
  }
  EXPECT_FALSE(Editing.Accepting());
  const TGridCellEditing::TClosed Closed = Editing.Forget();
  EXPECT_EQ(Closed.Editor, &Editor);
  EXPECT_EQ(Closed.Col, 2);
  EXPECT_EQ(Closed.Row, 5);
  EXPECT_EQ(Editing.Editor(), nullptr);
  EXPECT_EQ(Editing.Col(), -1);
  Editing.Opened(Editor, 1, -1, true);
  EXPECT_TRUE(Editing.OpenOverInput(1));
  EXPECT_TRUE(Editing.EditingInput());
}

TEST(GridCellEditingTest, AnEditorLiesInsideItsCellsLinesAndNeverLeftOfTheData) {
  TGridModel Model;
  Model.SetOptions(TGridOptions{goHeader, goGrid, goIndicator});
  Model.Columns().Add<TTextualColumn>()->SetWidth(100);
  Model.AddRows(3);
  TFakeViewport View;
  TGridGeometry Geometry{Model, View};
  const TGridRect Cell = Geometry.CellRect(0, 1);
  const TGridRect Inside = TGridCellEditing::Bounds(Geometry, 0, 1, false);
  EXPECT_EQ(Inside.Left, Cell.Left + 1);
  EXPECT_EQ(Inside.Top, Cell.Top + 1);
  EXPECT_EQ(Inside.Right, Cell.Right - 1);
  EXPECT_EQ(Inside.Bottom, Cell.Bottom - 1);
  View.Offset = 40;  // the cell's left edge is scrolled under the indicator strip
  EXPECT_EQ(TGridCellEditing::Bounds(Geometry, 0, 1, false).Left, Geometry.DataLeft());
}
