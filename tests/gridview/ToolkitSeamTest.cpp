// The window control derives from the toolkit's control and from the grid model: both sets of
// headers must live together in one class, and the events must name the control as their sender.
#include <gtest/gtest.h>

#include "gridview/ColumnClasses.h"
#include "gridview/GridModel.h"
#include "toolkit/Controls.h"
#include "toolkit/Graphics.h"

namespace {
class TSeamGrid : public TCustomControl, public TGridModel {
 public:
  TObject* EventSender() override { return this; }
  int GridClientWidth() const override { return 500; }
  int Repaints = 0;
  void InvalidateCell(int, int) override { ++Repaints; }
};
}  // namespace

TEST(ToolkitSeamTest, ControlAndModelShareOneClass) {
  TSeamGrid Grid;
  Grid.Columns().Add<TTextualColumn>()->SetOptions(TColumnOptions{coAutoSize});
  EXPECT_EQ(Grid.Columns().Items(0)->Width(), 500);
  Grid.AddRows(1);
  TObject* Sender = nullptr;
  Grid.OnChange = [&](TObject* S, int, int) { Sender = S; };
  Grid.SetCellText(0, 0, u"x");
  EXPECT_EQ(Sender, static_cast<TObject*>(static_cast<TWinControl*>(&Grid)));
  EXPECT_EQ(Grid.Repaints, 1);
  Grid.SetCurrentCell(0, 0, ssShift | ssCtrl);
  EXPECT_EQ(ShiftKeyBit, static_cast<TShiftState>(ssShift));
  EXPECT_EQ(CtrlKeyBit, static_cast<TShiftState>(ssCtrl));
  TProgressColumn Progress;
  EXPECT_EQ(Progress.ProgressStyle(), TProgressStyle::psSolid);
  EXPECT_NE(static_cast<int>(psSolid), -1);  // the pen style of the same name still resolves
}
