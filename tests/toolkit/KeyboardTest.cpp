// The keyboard interface of our windows: Tab across containers, accelerators and action shortcuts.
#include <gtest/gtest.h>

#include "toolkit/Actions.h"
#include "toolkit/Application.h"
#include "toolkit/StdCtrls.h"

namespace {

struct KeyboardTest : ::testing::Test {
  void SetUp() override {
    Application().Initialize();
    Form.SetBounds(0, 0, 400, 300);
    Left.SetBounds(0, 0, 200, 300);
    Right.SetBounds(200, 0, 200, 300);
    Place({&LeftA, &LeftB}, 0);
    Place({&RightA, &RightB}, 0);
  }
  void TearDown() override { SetShift(false); }
  static void Place(std::initializer_list<TEdit*> Edits, int Top) {
    for (TEdit* Edit : Edits) Edit->SetBounds(10, Top += 30, 100, 22);
  }
  // Shift as the keyboard state reports it, since that is where Tab looks.
  static void SetShift(bool Down) {
    BYTE Keys[256];
    GetKeyboardState(Keys);
    Keys[VK_SHIFT] = Down ? 0x80 : 0;
    SetKeyboardState(Keys);
  }
  static bool Press(UINT Message, WPARAM Key, HWND Target = GetFocus()) {
    MSG Msg{Target, Message, Key, 0, 0, {0, 0}};
    return Application().IsDialogKey(Msg);
  }
  HWND TabFrom(TWinControl& From, bool Back = false) {
    From.SetFocus();
    SetShift(Back);
    EXPECT_TRUE(Press(WM_KEYDOWN, VK_TAB));
    SetShift(false);
    return GetFocus();
  }
  TForm Form;
  TWinControl Left{&Form}, Right{&Form};  // containers
  TEdit LeftA{&Left}, LeftB{&Left}, RightA{&Right}, RightB{&Right};
};

}  // namespace

TEST_F(KeyboardTest, TabWalksIntoAndOutOfContainersBothWays) {
  Form.Show();
  EXPECT_EQ(TabFrom(LeftA), LeftB.Handle());
  EXPECT_EQ(TabFrom(LeftB), RightA.Handle());  // out of one container into the next
  EXPECT_EQ(TabFrom(RightB), LeftA.Handle());  // round to the first
  EXPECT_EQ(TabFrom(RightA, true), LeftB.Handle());
  EXPECT_EQ(TabFrom(LeftA, true), RightB.Handle());
}

TEST_F(KeyboardTest, TabPassesOverWhatCannotTakeTheFocus) {
  LeftB.SetEnabled(false);
  Right.SetVisible(false);
  TEdit NoStop(&Form);
  NoStop.SetBounds(10, 250, 50, 22);
  NoStop.SetTabStop(false);
  Form.Show();
  EXPECT_EQ(TabFrom(LeftA), LeftA.Handle());  // the only stop left
  EXPECT_FALSE(Press(WM_KEYDOWN, 'A'));
}

TEST_F(KeyboardTest, AcceleratorsGoToTheFirstVisibleEnabledTaker) {
  TLabel Hidden(&Right), Shown(&Left), Other(&Left);
  Hidden.SetCaption("&Name");
  Hidden.FocusControl = &RightA;
  Shown.SetCaption("Your &name");
  Shown.FocusControl = &LeftB;
  Other.SetCaption("Fish && &chips");  // "&&" is a plain "&": C is its accelerator
  Other.FocusControl = &LeftA;
  Right.SetVisible(false);
  Form.Show();
  RightB.SetFocus();
  EXPECT_TRUE(Press(WM_SYSCHAR, L'N'));
  EXPECT_EQ(GetFocus(), LeftB.Handle());
  EXPECT_TRUE(Press(WM_SYSCHAR, L'c'));
  EXPECT_EQ(GetFocus(), LeftA.Handle());
  // A letter nobody takes is used up quietly; Alt+Space stays the system menu's.
  EXPECT_TRUE(Press(WM_SYSCHAR, L'z'));
  EXPECT_EQ(GetFocus(), LeftA.Handle());
  EXPECT_FALSE(Press(WM_SYSCHAR, L' '));
}

TEST(AcceleratorTextTest, AmpersandMarksTheLetterAndDoubledAmpersandIsPlain) {
  EXPECT_EQ(AcceleratorOf("&Search"), L'S');
  EXPECT_EQ(AcceleratorOf("Look i&n:"), L'n');
  EXPECT_EQ(AcceleratorOf("A && B"), 0);
  EXPECT_EQ(AcceleratorOf("A &&&B"), L'B');
  EXPECT_EQ(AcceleratorOf("Trailing&"), 0);
  EXPECT_EQ(AcceleratorOf("\xC3\x84&\xC3\xB6l"), L'\x00F6');  // the letter, not a byte of it
  EXPECT_TRUE(IsAccelerator(L's', "&Search"));
  EXPECT_TRUE(IsAccelerator(L'\x00D6', "\xC3\x84&\xC3\xB6l"));
  EXPECT_FALSE(IsAccelerator(L'e', "&Search"));
}

TEST_F(KeyboardTest, ShortcutsRunOnlyInTheirOwnWindowAndForTheirTarget) {
  TForm Other;
  Other.SetBounds(0, 0, 100, 100);
  TEdit OtherEdit(&Other);
  TButton Button(&Left);
  Button.SetBounds(10, 100, 80, 24);
  int Runs = 0, TargetRuns = 0;
  TActionList Actions(Form);
  TAction& Refresh = Actions.Add("Refresh", "Refresh", VK_F5);
  Refresh.OnExecute = [&](TObject*) { ++Runs; };
  TAction& Remove = Actions.Add("Remove", "Remove", scCtrl | 'R');
  Remove.OnExecute = [&](TObject*) { ++TargetRuns; };
  Remove.ShortCutTarget = &RightA;
  int Erases = 0;
  Actions.Add("Erase", "Erase", VK_DELETE).OnExecute = [&](TObject*) { ++Erases; };
  Other.Show();
  Form.Show();

  EXPECT_FALSE(Press(WM_KEYDOWN, VK_F5, OtherEdit.Handle()));  // a key for another window: not ours
  LeftA.SetFocus();
  EXPECT_FALSE(Press(WM_KEYDOWN, VK_DELETE));  // an edit field keeps the keys without Ctrl or Alt
  EXPECT_EQ(Erases, 0);
  EXPECT_TRUE(Press(WM_KEYDOWN, VK_F5));  // but function keys edit nothing: they reach the action
  Button.SetFocus();
  EXPECT_TRUE(Press(WM_KEYDOWN, VK_F5));
  EXPECT_EQ(Runs, 2);
  Refresh.SetEnabled(false);
  EXPECT_FALSE(Press(WM_KEYDOWN, VK_F5));  // a disabled action leaves the key to the control
  EXPECT_EQ(Runs, 2);

  BYTE Keys[256];
  GetKeyboardState(Keys);
  Keys[VK_CONTROL] = 0x80;
  SetKeyboardState(Keys);
  const bool OnOther = Press(WM_KEYDOWN, 'R');
  RightA.SetFocus();
  const bool OnTarget = Press(WM_KEYDOWN, 'R');  // Ctrl with a letter runs even in an edit field
  Keys[VK_CONTROL] = 0;
  SetKeyboardState(Keys);
  EXPECT_FALSE(OnOther);
  EXPECT_TRUE(OnTarget);
  EXPECT_EQ(TargetRuns, 1);
}

TEST_F(KeyboardTest, AGoneActionListNoLongerTakesItsKeys) {
  int Runs = 0;
  {
    TActionList Actions(Form);
    Actions.Add("Refresh", "Refresh", VK_F5).OnExecute = [&](TObject*) { ++Runs; };
  }
  Form.Show();
  LeftA.SetFocus();
  EXPECT_FALSE(Press(WM_KEYDOWN, VK_F5));
  EXPECT_EQ(Runs, 0);
}
