// The wrapped standard controls, the dialog keyboard and the leak-free paint path.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/Menus.h"
#include "toolkit/StdCtrls.h"

namespace {

struct StdCtrlsTest : ::testing::Test {
  void SetUp() override {
    Application().Initialize();
    Application().OnException = [this](const std::exception& Error) { Errors.push_back(Error.what()); };
    Form.SetBounds(0, 0, 400, 300);
  }
  void TearDown() override { Application().OnException = nullptr; }
  static MSG Message(UINT Id, WPARAM WParam) { return MSG{GetFocus(), Id, WParam, 0, 0, {0, 0}}; }
  TForm Form;
  std::vector<std::string> Errors;
};

// Paints red, then fails.
class TFailingPaint : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  HDC PaintDC = nullptr;
  HGDIOBJ PaintBitmap = nullptr;

 protected:
  void Paint() override {
    PaintDC = Canvas().Handle();
    PaintBitmap = GetCurrentObject(PaintDC, OBJ_BITMAP);
    Canvas().Brush().SetColor(clRed);
    Canvas().FillRect(ClientRect());
    throw Exception("Paint failure");
  }
};

}  // namespace

TEST_F(StdCtrlsTest, APaintThatThrowsLeaksNeitherItsMemoryDCNorItsBitmap) {
  TFailingPaint Control(&Form);
  Control.SetBounds(0, 0, 50, 40);
  Form.Show();
  RedrawWindow(Control.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_NE(Control.PaintDC, nullptr);
  EXPECT_EQ(Errors, std::vector<std::string>{"Paint failure"});
  EXPECT_EQ(GetObjectType(Control.PaintDC), 0u);      // the memory DC is gone
  EXPECT_EQ(GetObjectType(Control.PaintBitmap), 0u);  // and so is the bitmap that was selected into it
  EXPECT_EQ(Control.Canvas().Handle(), nullptr);
  // The window is validated all the same: no endless repaint.
  EXPECT_FALSE(GetUpdateRect(Control.Handle(), nullptr, FALSE));
}

TEST_F(StdCtrlsTest, AcceleratorsTabAndShortcuts) {
  TLabel Label(&Form);
  TEdit Edit(&Form);
  TCheckBox Check(&Form);
  TButton Button(&Form);
  TComboBox Combo(&Form);
  Label.SetCaption("&Name");
  Label.FocusControl = &Edit;
  Check.SetCaption("&Check");
  Button.SetCaption("&Go");
  Edit.SetText("typed");
  int Clicks = 0, Deletes = 0;
  Button.OnClick = [&](TObject*) { ++Clicks; };
  TActionList Actions(Form);
  Actions.Add("Delete", "Delete", VK_DELETE).OnExecute = [&](TObject*) { ++Deletes; };
  Form.Show();
  Button.SetFocus();

  MSG AltN = Message(WM_SYSCHAR, L'N');
  EXPECT_TRUE(Application().IsDialogKey(AltN));
  EXPECT_EQ(GetFocus(), Edit.Handle());
  EXPECT_EQ(SendMessageW(Edit.Handle(), EM_GETSEL, 0, 0), MAKELRESULT(0, 5));  // text selected
  MSG AltC = Message(WM_SYSCHAR, L'c');
  EXPECT_TRUE(Application().IsDialogKey(AltC));
  EXPECT_TRUE(Check.Checked());
  MSG AltG = Message(WM_SYSCHAR, L'g');
  EXPECT_TRUE(Application().IsDialogKey(AltG));
  EXPECT_EQ(Clicks, 1);

  // Del is the edit field's own key; elsewhere it runs the action.
  Edit.SetFocus();
  MSG Delete = Message(WM_KEYDOWN, VK_DELETE);
  EXPECT_FALSE(Application().IsDialogKey(Delete));
  Button.SetFocus();
  Delete = Message(WM_KEYDOWN, VK_DELETE);
  EXPECT_TRUE(Application().IsDialogKey(Delete));
  EXPECT_EQ(Deletes, 1);

  // Tab from the edit field inside the combo box leaves the box; Shift is read from the keyboard.
  Combo.SetFocus();
  ASSERT_NE(Combo.EditHandle(), nullptr);
  EXPECT_EQ(GetFocus(), Combo.EditHandle());
  MSG Tab = Message(WM_KEYDOWN, VK_TAB);
  EXPECT_TRUE(Application().IsDialogKey(Tab));
  EXPECT_EQ(GetFocus(), Edit.Handle());  // round to the first tab stop
}

TEST_F(StdCtrlsTest, ComboBoxKeysItemsAndSelection) {
  TComboBox Combo(&Form);
  TComboBox List(&Form, csDropDownList);
  Combo.SetBounds(0, 0, 150, 21);
  Combo.SetText("kept");
  Combo.SetItems({"one", "two"});
  Combo.HandleNeeded();
  EXPECT_EQ(Combo.Text(), "kept");  // a new list leaves the text alone
  std::vector<wchar_t> Pressed;
  Combo.OnKeyPress = [&](TObject*, wchar_t& Key) {
    Pressed.push_back(Key);
    if (Key == L'\r') Key = 0;
  };
  SendMessageW(Combo.EditHandle(), WM_CHAR, L'x', 0);
  SendMessageW(Combo.EditHandle(), WM_CHAR, VK_RETURN, 0);
  EXPECT_EQ(Pressed, (std::vector<wchar_t>{L'x', L'\r'}));
  std::string Seen;
  Combo.OnSelect = [&](TObject*) { Seen = Combo.Text(); };
  SendMessageW(Combo.Handle(), CB_SETCURSEL, 1, 0);
  SendMessageW(Form.Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Combo.Handle()));
  EXPECT_EQ(Seen, "two");  // the handler reads the choice
  List.SetItems({"At Least", "At Most"});
  List.SetItemIndex(1);
  EXPECT_EQ(List.ItemIndex(), 1);
  EXPECT_EQ(List.Text(), "At Most");
}

TEST_F(StdCtrlsTest, StatusBarPanelsProgressAndMenus) {
  TStatusBar Bar(&Form);
  TProgressBar Progress(&Bar);
  Bar.SetBounds(0, 278, 400, 22);
  Bar.AddPanel(100, taLeftJustify, psOwnerDraw);
  Bar.AddPanel(200, taCenter);
  Bar.AddPanel(50, taLeftJustify);
  Bar.SetPanelText(0, "Searching...");
  Bar.SetPanelText(1, "Found 3 files");
  Form.Show();
  EXPECT_EQ(Bar.Panel(0).Text, "Searching...");  // kept, never painted
  wchar_t Text[64] = L"";
  SendMessageW(Bar.Handle(), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(Text));
  EXPECT_STREQ(Text, L"\tFound 3 files");
  const RECT Last = Bar.PanelRect(2);
  EXPECT_GT(Last.right, 350);  // the last panel reaches the right edge
  // The owner-drawn panel shows its background, never its stored text, and keeps its edges as the
  // text panels do; a colour of the bar's own is painted over it.
  TBitmap Picture(400, 22);
  const auto Paint = [&] {
    SendMessageW(Bar.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(Picture.Canvas().Handle()), PRF_CLIENT);
  };
  Paint();
  const RECT Owned = Bar.PanelRect(0), Texts = Bar.PanelRect(1);
  for (int X = 0; X < 3; ++X) EXPECT_EQ(Picture.Pixel(Owned.right - X, 11), Picture.Pixel(Texts.right - X, 11)) << X;
  for (int X = 10; X < 90; X += 8) EXPECT_EQ(Picture.Pixel(X, 11), Picture.Pixel(Texts.right - 20, 11)) << X;
  Bar.SetColor(TColor(0x0030C020));
  Paint();
  for (int X = 10; X < 90; X += 8) EXPECT_EQ(Picture.Pixel(X, 11), RGB(0x20, 0xC0, 0x30)) << X;

  for (int I = 0; I < 11; ++I) Progress.StepIt();
  EXPECT_EQ(Progress.Position(), 10);  // passed the end: from the beginning again
  EXPECT_EQ(SendMessageW(Progress.Handle(), PBM_GETPOS, 0, 0), 10);

  TActionList Actions(Form);
  TAction& Permanent = Actions.Add("DeletePermanent", "Delete Permanently", scShift | VK_DELETE);
  TPopupMenu Menu;
  Menu.Add("Open1", "&Open").Default = true;
  Menu.AddSeparator("N1");
  Menu.AddAction("Delete2", Permanent);
  Permanent.SetEnabled(false);
  HMENU Handle = Menu.BuildMenu();
  wchar_t Item[64] = L"";
  GetMenuStringW(Handle, 3, Item, 64, MF_BYCOMMAND);
  EXPECT_STREQ(Item, L"Delete Permanently\tShift+Del");
  EXPECT_TRUE(GetMenuState(Handle, 3, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(Handle, 2, MF_BYCOMMAND) & MF_SEPARATOR);
  EXPECT_EQ(GetMenuDefaultItem(Handle, FALSE, 0), 1u);
  DestroyMenu(Handle);
}

TEST_F(StdCtrlsTest, ADatePickerShowsTheWholeDateAtItsWidth) {
  TDateTimePicker Picker(&Form);
  Picker.SetBounds(10, 10, 81, 21);
  TDateTime Date = 0;
  ASSERT_TRUE(TryEncodeDate(2026, 12, 27, Date));
  Picker.SetDate(Date);
  SIZE Ideal{};
  ASSERT_TRUE(SendMessageW(Picker.Handle(), DTM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&Ideal)));
  EXPECT_LE(Ideal.cx, 81);
  EXPECT_EQ(Picker.Date(), Date);
}
