#include "PaneTestSupport.h"
#include "taskpane/tpContainer.h"

using namespace PaneTest;

namespace {

struct tpCoreTest : FormTest {
  // Whether the control's window has anything waiting to be repainted; clears it.
  static bool TakeRepaint(TWinControl& Control) {
    RECT Update;
    const bool Pending = GetUpdateRect(Control.Handle(), &Update, FALSE) != 0;
    ValidateRect(Control.Handle(), nullptr);
    return Pending;
  }
};

}  // namespace

TEST_F(tpCoreTest, DefaultTriggersRepaintOnEnterAndLeaveButNotOnMoves) {
  TtpContainer Container(&Form);
  Container.SetBounds(10, 10, 100, 40);
  Form.Show();
  ValidateRect(Container.Handle(), nullptr);
  int Entered = 0, Left = 0;
  Container.OnMouseEnter = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &Container);
    ++Entered;
  };
  Container.OnMouseLeave = [&](TObject*) { ++Left; };
  Container.Perform(WM_MOUSEMOVE, 0, At(5, 5));
  EXPECT_TRUE(Container.DrawState() & dsHighlight);
  EXPECT_TRUE(TakeRepaint(Container));
  EXPECT_EQ(Entered, 1);
  Container.Perform(WM_MOUSEMOVE, 0, At(6, 6));
  EXPECT_FALSE(TakeRepaint(Container));
  EXPECT_EQ(Entered, 1);
  Container.Perform(WM_MOUSELEAVE);
  EXPECT_FALSE(Container.DrawState() & dsHighlight);
  EXPECT_TRUE(TakeRepaint(Container));
  EXPECT_EQ(Left, 1);
}

TEST_F(tpCoreTest, TriggersOutsideTheSetAddStateWithoutRepainting) {
  TtpContainer Container(&Form);
  Container.SetBounds(10, 10, 100, 40);
  Container.SetRepaintTriggers(rtTextChanged);
  Form.Show();
  ValidateRect(Container.Handle(), nullptr);
  Container.Perform(WM_MOUSEMOVE, 0, At(5, 5));
  EXPECT_TRUE(Container.DrawState() & dsHighlight);
  EXPECT_FALSE(TakeRepaint(Container));
  Container.SetCaption("New text");
  EXPECT_TRUE(TakeRepaint(Container));
}

TEST_F(tpCoreTest, LockedControlsDropRepaintsAndEndUpdateRepaintsOnce) {
  TtpContainer Container(&Form);
  Container.SetBounds(10, 10, 100, 40);
  Form.Show();
  ValidateRect(Container.Handle(), nullptr);
  Container.BeginUpdate();
  Container.SetBoundColor(clRed);
  Container.Redraw();
  EXPECT_FALSE(TakeRepaint(Container));
  Container.EndUpdate();
  EXPECT_FALSE(Container.Locked());
  EXPECT_TRUE(TakeRepaint(Container));
}

TEST_F(tpCoreTest, PressAndReleaseClickOnceAndOnlyInside) {
  TtpContainer Container(&Form);
  Container.SetBounds(10, 10, 100, 40);
  Form.Show();
  int Clicks = 0;
  Container.OnClick = [&](TObject*) { ++Clicks; };
  Container.Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_TRUE(Container.DrawState() & dsClicked);
  Container.Perform(WM_LBUTTONUP, 0, At(6, 6));
  EXPECT_FALSE(Container.DrawState() & dsClicked);
  EXPECT_EQ(Clicks, 1);
  // Released outside: no click. A release without a press: nothing at all.
  Container.Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  Container.Perform(WM_LBUTTONUP, 0, At(500, 6));
  Container.Perform(WM_LBUTTONUP, 0, At(6, 6));
  EXPECT_EQ(Clicks, 1);
  // Another button neither clicks nor marks the control pressed.
  Container.Perform(WM_RBUTTONDOWN, MK_RBUTTON, At(5, 5));
  EXPECT_FALSE(Container.DrawState() & dsClicked);
  Container.Perform(WM_RBUTTONUP, 0, At(5, 5));
  EXPECT_EQ(Clicks, 1);
}

TEST_F(tpCoreTest, ReleaseOverAnotherTaskPaneControlGivesItsEnterEvent) {
  TtpContainer First(&Form), Second(&Form);
  First.SetBounds(0, 0, 100, 40);
  Second.SetBounds(0, 50, 100, 40);
  Form.Show();
  // Test programs run side by side on one desktop: no other window may lie where the release falls.
  SetWindowPos(Form.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Form.Update();
  int SecondEntered = 0;
  Second.OnMouseEnter = [&](TObject*) { ++SecondEntered; };
  First.Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  const POINT OverSecond = Second.ClientToScreen(POINT{20, 20});
  ASSERT_TRUE(SetCursorPos(OverSecond.x, OverSecond.y));
  POINT Cursor;
  GetCursorPos(&Cursor);
  if (Cursor.x != OverSecond.x || Cursor.y != OverSecond.y) GTEST_SKIP() << "the display does not move the pointer";
  First.Perform(WM_LBUTTONUP, 0, At(20, 70));
  EXPECT_TRUE(Second.DrawState() & dsHighlight);
  EXPECT_EQ(SecondEntered, 1);
  EXPECT_FALSE(First.DrawState() & dsClicked);
}

TEST_F(tpCoreTest, FocusAddsAndRemovesTheFocusedState) {
  TtpContainer Container(&Form);
  Container.SetBounds(10, 10, 100, 40);
  Container.SetFocusable(true);
  Form.Show();
  Container.Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_TRUE(Container.Focused());
  EXPECT_TRUE(Container.DrawState() & dsFocused);
  Container.Perform(WM_LBUTTONUP, 0, At(5, 5));
  SetFocus(Form.Handle());
  EXPECT_FALSE(Container.DrawState() & dsFocused);
}

TEST_F(tpCoreTest, AcceleratorClicksWhenFocusedOrWithAlt) {
  TtpContainer Container(&Form);
  Container.SetCaption("&Options && more");
  Form.Show();
  int Clicks = 0;
  Container.OnClick = [&](TObject*) { ++Clicks; };
  EXPECT_EQ(AcceleratorOf("&Options && more"), L'O');
  EXPECT_EQ(AcceleratorOf("Help && Support"), 0);
  EXPECT_EQ(AcceleratorOf("Help & Support"), L' ');
  // Not focused and no Alt key: the character is not taken.
  SetFocus(Form.Handle());
  EXPECT_FALSE(Container.DialogChar(L'o'));
  Container.SetFocus();
  EXPECT_FALSE(Container.DialogChar(L'x'));
  EXPECT_TRUE(Container.DialogChar(L'o'));
  EXPECT_EQ(Clicks, 1);
  Container.SetEnabled(false);
  EXPECT_FALSE(Container.DialogChar(L'O'));
  EXPECT_EQ(Clicks, 1);
}

TEST_F(tpCoreTest, VersionEndsInTheLibraryVersionAndCannotBeChanged) {
  TtpContainer Container(&Form);
  const std::string Version = Container.Version();
  ASSERT_GE(Version.size(), 5u);
  EXPECT_EQ(Version.substr(Version.size() - 5), "2.0.1");
  Container.SetVersion("9.9.9");
  EXPECT_EQ(Container.Version(), Version);
}
