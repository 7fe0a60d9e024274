#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "core/Clock.h"
#include "core/FormatSettings.h"
#include "core/Text.h"
#include "gridview/win32/base/Themes.h"
#include "gridview/win32/editors/CheckBoxEditor.h"
#include "gridview/win32/editors/NumericEditors.h"
#include "gridview/win32/editors/PopupEditors.h"
#include "toolkit/ImageList.h"

namespace {
// Records the keys an editor hands to the grid; takes Enter and Escape as the grid does.
struct TRecordingHost : TCellEditorHost {
  bool EditorKeyDown(TCellEditor&, WORD Key, TShiftState) override {
    Keys.push_back(Key);
    return Key == VK_RETURN || Key == VK_ESCAPE;
  }
  std::vector<WORD> Keys;
};

struct EditorsFixture : EditorFixture {
  // An editor on the form, shown as the grid shows it (focused only where a test needs it: keys and
  // messages go straight to its windows).
  template <class T>
  std::unique_ptr<T> Make(int Width = 121, int Height = 20) {
    auto Editor = std::make_unique<T>();
    Editor->SetParent(&Form);
    Editor->SetBounds(10, 10, Width, Height);
    Editor->SetHost(&Host);
    Editor->Show();
    Form.Show();
    return Editor;
  }
  static void SetClipboard(const std::wstring& Text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL Memory = GlobalAlloc(GMEM_MOVEABLE, (Text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(Memory), Text.c_str(), (Text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(Memory);
    SetClipboardData(CF_UNICODETEXT, Memory);
    CloseClipboard();
  }
  TRecordingHost Host;
};
}  // namespace

TEST_F(EditorsFixture, NumericEditorFiltersTypingAndCleansPastes) {
  auto Editor = Make<TNumericEditor>();
  const HWND Box = Editor->EditHandle();
  Editor->SetEditText(u"");
  TypeText(Box, u"1.2.3");
  EXPECT_EQ(Editor->EditText(), u"1.23");
  EXPECT_DOUBLE_EQ(Editor->Value(), 1.23);
  Editor->SetEditText(u"");
  SetClipboard(L"-12a3");
  SendMessageW(Box, WM_PASTE, 0, 0);
  EXPECT_EQ(Editor->EditText(), u"-123");
  EXPECT_EQ(Editor->SelStart(), 0);
  // Ctrl+V arrives as a character and pastes the same way.
  Editor->SetEditText(u"5");
  Editor->SetSelection(1, 0);
  SetClipboard(L"x.5y");
  TypeText(Box, u"\x16");
  EXPECT_EQ(Editor->EditText(), u"5.5");
}

TEST_F(EditorsFixture, NumericEditorShowsItsValueAgainWhenLeft) {
  auto Editor = Make<TNumericEditor>();
  Editor->SetFocus();
  Editor->SetNullText(u"n/a");
  EXPECT_EQ(Editor->EditText(), u"n/a");
  Editor->SetBounds(-100, 0);
  Editor->SetEditText(u"-1.5");
  EXPECT_DOUBLE_EQ(Editor->GetAsFloat(), -1.5);
  Form.SetFocus();  // the editor loses the focus
  EXPECT_EQ(Editor->EditText(), u"-1.50");
  Editor->SetTextAfter(u" kg");
  EXPECT_EQ(Editor->EditText(), u"-1.50 kg");
  Editor->SetAsFloat(0);
  EXPECT_EQ(Editor->EditText(), u"n/a");
}

TEST_F(EditorsFixture, SpinStepsWithinMinAndUnboundedWithMaxZero) {
  auto Spin = Make<TSpinEditor>();
  Spin->SetBounds(0, 0);
  Spin->SetAsFloat(1e6);
  Spin->StepUp();
  EXPECT_EQ(Spin->GetAsInteger(), 1000001);
  Spin->SetAsFloat(0.5);
  Spin->StepDown();  // would go below Min 0
  EXPECT_DOUBLE_EQ(Spin->Value(), 0.5);
  Spin->SetAsFloat(0);
  Spin->StepDown();
  EXPECT_EQ(Spin->EditText(), u"0");
  Spin->SetBounds(-10, 5);
  Spin->SetIncrement(2.5);
  Spin->SetAsFloat(2.5);
  Spin->StepUp();
  Spin->StepUp();  // 7.5 would pass Max 5
  EXPECT_EQ(Spin->EditText(), u"5");
  // The wheel steps once per notch, down as well as up.
  Wheel(Spin->EditHandle(), -3);
  EXPECT_EQ(Spin->EditText(), u"-2.5");
}

TEST_F(EditorsFixture, SpinKeysAndButtonsRepeatWhileHeld) {
  auto Spin = Make<TSpinEditor>();
  const HWND Box = Spin->EditHandle();
  Spin->SetAsInteger(3);
  SendMessageW(Box, WM_KEYDOWN, VK_UP, 1);
  EXPECT_EQ(Spin->GetAsInteger(), 4);
  EXPECT_EQ(Selection(Box), std::make_pair(1, 1));  // typing goes on after the number
  EXPECT_EQ(Spin->RepeatInterval(), TSpinEditor::FirstDelay);
  EXPECT_EQ(Spin->Buttons().PressedHalf(), TSpinButtons::shUp);
  SendMessageW(Box, WM_KEYDOWN, VK_UP, 1 | (1 << 30));  // the keyboard's own repeat
  EXPECT_EQ(Spin->GetAsInteger(), 4);
  Spin->RepeatTick();
  EXPECT_EQ(Spin->GetAsInteger(), 5);
  EXPECT_EQ(Spin->RepeatInterval(), TSpinEditor::RepeatDelay);
  SendMessageW(Box, WM_KEYUP, VK_UP, 1);
  EXPECT_EQ(Spin->RepeatInterval(), 0u);
  EXPECT_EQ(Spin->Buttons().PressedHalf(), TSpinButtons::shNone);
  // The lower half of the buttons steps down.
  TSpinButtons& Buttons = Spin->Buttons();
  EXPECT_EQ(Buttons.Width(), GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(Buttons.Left() + Buttons.Width(), Spin->ClientWidth());
  Press(Buttons, 2, Buttons.Height() - 2);
  EXPECT_EQ(Spin->GetAsInteger(), 4);
  EXPECT_EQ(Spin->RepeatInterval(), TSpinEditor::FirstDelay);
  Release(Buttons, 2, Buttons.Height() - 2);
  EXPECT_EQ(Spin->RepeatInterval(), 0u);
  // Up and Down left to the grid.
  Spin->SetIgnoreArrowKeys(true);
  TypeKey(Box, VK_DOWN);
  EXPECT_EQ(Spin->GetAsInteger(), 4);
}

TEST_F(EditorsFixture, ComboWheelAndArrowsMoveTheIndexWithinTheItems) {
  auto Combo = Make<TComboBoxEditor>();
  Combo->SetItems({u"New", u"Open", u"Closed"});
  const HWND Box = Combo->EditHandle();
  Combo->SetItemIndex(0);
  Wheel(Box, 1);
  EXPECT_EQ(Combo->ItemIndex(), 0);
  EXPECT_EQ(Combo->EditText(), u"New");
  Wheel(Box, -1);
  EXPECT_EQ(Combo->ItemIndex(), 1);
  EXPECT_EQ(Combo->EditText(), u"Open");
  TypeKey(Box, VK_DOWN);
  TypeKey(Box, VK_DOWN);
  EXPECT_EQ(Combo->ItemIndex(), 2);
  TypeKey(Box, VK_UP);
  EXPECT_EQ(Combo->EditText(), u"Open");
  // The grid's text chooses the item it names.
  Combo->SetAsText(u"Closed");
  EXPECT_EQ(Combo->ItemIndex(), 2);
  Combo->SetAsText(u"other");
  EXPECT_EQ(Combo->ItemIndex(), -1);
}

TEST_F(EditorsFixture, ComboPopupOpensBelowAndPicksWithTheSecondRelease) {
  auto Combo = Make<TComboBoxEditor>(100, 20);
  Combo->SetItems({u"New", u"Open", u"Closed", u"Held"});
  Combo->SetDropDownCount(3);
  int Closed = 0;
  Combo->OnPopupClose = [&](TObject*) { ++Closed; };
  TSmallButton& Button = Combo->Button();
  EXPECT_EQ(Button.Width(), TDropDownButton::DefaultWidth);
  Press(Button, 5, 5);
  TPopupList& List = Combo->List();
  ASSERT_TRUE(Combo->PopupOpen());
  EXPECT_TRUE(Button.Pressed());
  RECT Editor, Popup;
  GetWindowRect(Combo->Handle(), &Editor);
  GetWindowRect(List.Handle(), &Popup);
  EXPECT_EQ(Popup.left, Editor.left - 1);
  EXPECT_EQ(Popup.top, Editor.bottom);
  EXPECT_EQ(Popup.right - Popup.left, 100);
  EXPECT_EQ(List.ClientHeight(), 3 * 16);
  Release(List, 5, 20);  // the opening press's release
  EXPECT_TRUE(Combo->PopupOpen());
  Release(List, 5, 20);
  EXPECT_FALSE(Combo->PopupOpen());
  EXPECT_EQ(Combo->EditText(), u"Open");
  EXPECT_EQ(Combo->ItemIndex(), 1);
  EXPECT_EQ(Closed, 1);
  EXPECT_FALSE(Button.Pressed());
  // From the keyboard: F4 opens, arrows choose, Escape closes without a pick and reaches no grid.
  Host.Keys.clear();
  TypeKey(Combo->EditHandle(), VK_F4);
  ASSERT_TRUE(Combo->PopupOpen());
  EXPECT_EQ(List.HotRow(), 1);
  TypeKey(Combo->EditHandle(), VK_DOWN);
  EXPECT_EQ(List.HotRow(), 2);
  TypeKey(Combo->EditHandle(), VK_ESCAPE, 27);
  EXPECT_FALSE(Combo->PopupOpen());
  EXPECT_EQ(Combo->EditText(), u"Open");
  EXPECT_TRUE(Host.Keys.empty());
  // Enter in the open list picks its hot line; from the keyboard the first click would pick too.
  TypeKey(Combo->EditHandle(), VK_F4);
  EXPECT_TRUE(List.Armed());
  TypeKey(Combo->EditHandle(), VK_DOWN);
  TypeKey(Combo->EditHandle(), VK_RETURN, 13);
  EXPECT_EQ(Combo->EditText(), u"Closed");
  EXPECT_TRUE(Host.Keys.empty());
  // With the popup closed, Enter is the grid's.
  TypeKey(Combo->EditHandle(), VK_RETURN, 13);
  EXPECT_EQ(Host.Keys, std::vector<WORD>{VK_RETURN});
}

TEST_F(EditorsFixture, ListStyleComboPaintsItsOwnHighlightedText) {
  auto Combo = Make<TComboBoxEditor>(100, 20);
  Combo->SetBorderStyle(bsNone);
  Combo->SetItems({u"New", u"Open"});
  Combo->SetStyle(dsDropDownList);
  Combo->SetAsText(u"Open");
  Combo->SetFocus();
  ASSERT_TRUE(Combo->Focused());
  EXPECT_FALSE(IsWindowVisible(Combo->EditHandle()));
  TBitmap Bitmap;
  PaintInto(*Combo, Bitmap);
  const int ButtonLeft = 100 - TDropDownButton::DefaultWidth;
  EXPECT_TRUE(HasColorIn(Bitmap, RECT{2, 2, ButtonLeft - 2, 18}, Sys(COLOR_HIGHLIGHT)));
  EXPECT_TRUE(HasColorIn(Bitmap, RECT{2, 2, ButtonLeft - 2, 18}, Sys(COLOR_HIGHLIGHTTEXT)));
  Form.SetFocus();
  PaintInto(*Combo, Bitmap);
  EXPECT_FALSE(HasColorIn(Bitmap, RECT{0, 0, ButtonLeft, 20}, Sys(COLOR_HIGHLIGHT)));
  EXPECT_TRUE(HasColorIn(Bitmap, RECT{2, 2, ButtonLeft - 2, 18}, Sys(COLOR_WINDOWTEXT)));
  // A press anywhere opens the list.
  Press(*Combo, 30, 10);
  EXPECT_TRUE(Combo->PopupOpen());
  Combo->Hide();
  EXPECT_FALSE(Combo->PopupOpen());
}

TEST_F(EditorsFixture, DatePickerOpensTheCalendarOnItsDate) {
  auto Picker = Make<TDatePickerEditor>();
  EXPECT_EQ(Picker->Date(), ProgramClock().Today());
  Picker->SetEditText(u"");
  EXPECT_EQ(Picker->Date(), ProgramClock().Today());
  Picker->SetAsDate(EncodeDate(2023, 1, 9) + 0.5);
  EXPECT_EQ(Picker->EditText(), u"1/9/2023");
  Press(Picker->Button(), 3, 3);
  TDatePopup& Calendar = Picker->Calendar();
  ASSERT_TRUE(Picker->PopupOpen());
  EXPECT_EQ(Calendar.Width(), 151);
  EXPECT_EQ(Calendar.Height(), 163);
  EXPECT_TRUE(IsWindowVisible(Calendar.Handle()));
  RECT Shown;
  GetWindowRect(Calendar.Handle(), &Shown);
  EXPECT_EQ(Shown.right - Shown.left, 151);
  EXPECT_EQ(Shown.bottom - Shown.top, 163);
  EXPECT_EQ(Calendar.Month(), 1);
  EXPECT_EQ(Calendar.SelectedDate(), EncodeDate(2023, 1, 9));
  Release(Calendar, 5, 5);
  Press(Calendar, 5, 5);  // to December 2022
  Release(Calendar, 5, 5);
  EXPECT_TRUE(Picker->PopupOpen());
  const RECT Cell = TDatePopup::CellRect(0, 0);  // Sunday 27 November 2022
  Press(Calendar, Cell.left + 4, Cell.top + 4);
  Release(Calendar, Cell.left + 4, Cell.top + 4);
  EXPECT_FALSE(Picker->PopupOpen());
  EXPECT_EQ(Picker->EditText(), u"11/27/2022");
  EXPECT_EQ(Picker->GetAsDate(), EncodeDate(2022, 11, 27));
}

TEST_F(EditorsFixture, TextualEditorLaysOutTheTextLineAndSelectsFromTheLeftStrip) {
  auto Editor = Make<TTextualEditor>(121, 40);
  Editor->SetBorderStyle(bsNone);
  const int Line = Editor->LineHeight();
  EXPECT_EQ(Editor->TextRect().top, 39 / 2 - Line / 2);
  EXPECT_EQ(Editor->TextRect().left, 2);
  EXPECT_EQ(Editor->TextRect().right, 120);
  Editor->SetMargin(3);
  Editor->SetVerticalAlignment(vaBottom);
  EXPECT_EQ(Editor->TextRect().bottom, 37);
  Editor->SetShowPreview(true);
  EXPECT_EQ(Editor->TextRect().left, 3 + 2 + 27);
  RECT Box;
  GetWindowRect(Editor->EditHandle(), &Box);
  MapWindowPoints(nullptr, Editor->Handle(), reinterpret_cast<POINT*>(&Box), 2);
  EXPECT_EQ(Box.left, Editor->TextRect().left);
  EXPECT_EQ(Box.bottom, 37);
  // Every change raises OnChange, then OnEdit; the text survives the re-made window.
  std::vector<std::string> Events;
  Editor->OnChange = [&](TObject*) { Events.push_back("change"); };
  Editor->OnEdit = [&](TObject*) { Events.push_back("edit"); };
  Editor->SetEditText(u"hello");
  EXPECT_EQ(Events, (std::vector<std::string>{"change", "edit"}));
  Editor->SetAlignment(taRightJustify);
  EXPECT_EQ(WindowText(Editor->EditHandle()), u"hello");
  EXPECT_TRUE(GetWindowLongW(Editor->EditHandle(), GWL_STYLE) & ES_RIGHT);
  // Enter is swallowed by the box once the grid has it; a press at the left edge selects all.
  Editor->AfterShow();
  TypeKey(Editor->EditHandle(), VK_RETURN, 13);
  EXPECT_EQ(Editor->EditText(), u"hello");
  Editor->SetMargin(-1);
  Press(*Editor, 0, 20);
  EXPECT_EQ(Editor->SelLength(), 5);
}

TEST_F(EditorsFixture, CheckBoxTogglesOnReleaseInsideTheBoxAndOnSpace) {
  auto Check = Make<TCheckBoxEditor>(60, 20);
  Check->SetAlignment(taCenter);
  const RECT Box = Check->BoxRect();
  Press(*Check, Box.left + 2, Box.top + 2);
  EXPECT_TRUE(Check->BoxPressed());
  Release(*Check, Box.left + 2, Box.top + 2);
  EXPECT_TRUE(Check->Checked());
  EXPECT_EQ(Check->GetAsText(), u"True");
  Press(*Check, 1, 1);
  Release(*Check, 1, 1);  // beside the box
  EXPECT_TRUE(Check->Checked());
  TypeKey(Check->Handle(), VK_SPACE, L' ');
  EXPECT_FALSE(Check->Checked());
  EXPECT_EQ(Check->EditText(), u"False");
  Check->SetAsText(u"TRUE");
  EXPECT_TRUE(Check->GetAsBoolean());
  // Arrow keys belong to the grid.
  Host.Keys.clear();
  TypeKey(Check->Handle(), VK_DOWN);
  EXPECT_EQ(Host.Keys, std::vector<WORD>{VK_DOWN});
  TBitmap Bitmap;
  Check->SetColor(clWindow);
  PaintInto(*Check, Bitmap);
  EXPECT_TRUE(HasColorIn(Bitmap, Check->BoxRect(), Sys(COLOR_WINDOWTEXT)));  // the tick
}

TEST_F(EditorsFixture, SingleBorderIsOnePixelWithThemesAndASunkenEdgeWithout) {
  auto Classic = Make<TTextualEditor>(100, 20);
  EXPECT_EQ(Classic->ClientWidth(), 96);
  EXPECT_TRUE(GetWindowLongW(Classic->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  ThemeServices().SetSuppressed(false);
  if (!ThemeServices().ThemesActive()) GTEST_SKIP() << "no themes here";
  auto Themed = Make<TTextualEditor>(100, 20);
  EXPECT_EQ(Themed->ClientWidth(), 98);
  EXPECT_EQ(Themed->ClientHeight(), 18);
  Themed->SetBorderStyle(bsNone);
  EXPECT_EQ(Themed->ClientWidth(), 100);
}
