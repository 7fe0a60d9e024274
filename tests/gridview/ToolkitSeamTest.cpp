// The data side and the toolkit meet in the window control: both sets of headers must live together
// in one translation unit, and the values both declare must agree.
#include <gtest/gtest.h>

#include "gridview/ColumnClasses.h"
#include "gridview/GridModel.h"
#include "toolkit/Controls.h"
#include "toolkit/Graphics.h"

TEST(ToolkitSeamTest, SharedDeclarationsAgree) {
  EXPECT_EQ(ShiftKeyBit, static_cast<TShiftState>(ssShift));
  EXPECT_EQ(CtrlKeyBit, static_cast<TShiftState>(ssCtrl));
  TProgressColumn Progress;
  EXPECT_EQ(Progress.ProgressStyle(), TProgressStyle::psSolid);
  EXPECT_NE(static_cast<int>(psSolid), -1);  // the pen style of the same name still resolves
}
