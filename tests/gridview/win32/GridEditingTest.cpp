#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "core/FormatSettings.h"
#include "core/Text.h"
#include "gridview/win32/editors/CheckBoxEditor.h"
#include "gridview/win32/editors/NumericEditors.h"
#include "gridview/win32/editors/PopupEditors.h"
#include "toolkit/ImageList.h"
#include "toolkit/StdCtrls.h"

namespace {
struct GridEditingFixture : EditorFixture {
  void SetUp() override {
    EditorFixture::SetUp();
    Form.Show();
    Grid->SetFocus();
    Grid->OnEditAccept = [this](TObject*, int ACol, int ARow, const std::u16string& Value, bool& Accept) {
      Accepted.push_back(Value);
      Accept = AcceptEdits;
      (void)ACol, (void)ARow;
    };
  }
  template <class T>
  T* EditableColumn(int Width, const char16_t* Caption = u"") {
    T* Column = AddColumn<T>(Width, Caption);
    Column->SetOptions(Column->Options() + TColumnOptions{coEditing});
    return Column;
  }
  template <class T>
  T* Editor() {
    T* Open = dynamic_cast<T*>(Grid->OpenEditor());
    EXPECT_NE(Open, nullptr);
    return Open;
  }
  void Char(wchar_t C) { SendMessageW(Grid->Handle(), WM_CHAR, C, 1); }

  std::vector<std::u16string> Accepted;
  bool AcceptEdits = true;
};
}  // namespace

TEST_F(GridEditingFixture, TypingEditsACellEnterAcceptsAndEscapeDiscards) {
  EditableColumn<TTextualColumn>(120);
  Grid->Model().AddRows(3);
  Grid->Model().SetCellText(0, 1, u"old");
  Grid->Model().SetCurrentCell(0, 1, 0);
  std::vector<std::u16string> Edits;
  Grid->OnEdit = [&](TObject*, int, int, const std::u16string& Value) { Edits.push_back(Value); };
  Char(L'a');
  auto* Text = Editor<TTextualEditor>();
  ASSERT_NE(Text, nullptr);
  EXPECT_EQ(GetFocus(), Text->EditHandle());
  // The editor lies over the cell, inset by a pixel.
  const RECT Cell = Grid->GetCellRect(0, 1);
  EXPECT_EQ(Text->Left(), Cell.left + 1);
  EXPECT_EQ(Text->Top(), Cell.top + 1);
  EXPECT_EQ(Text->Width(), Cell.right - Cell.left - 2);
  TypeText(Text->EditHandle(), u"bc");
  EXPECT_EQ(Text->EditText(), u"abc");
  EXPECT_EQ(Edits.back(), u"abc");
  TypeKey(Text->EditHandle(), VK_RETURN, L'\r');
  EXPECT_EQ(Grid->OpenEditor(), nullptr);
  EXPECT_EQ(Grid->Model().GetCellText(0, 1), u"abc");
  EXPECT_EQ(Accepted, std::vector<std::u16string>{u"abc"});
  EXPECT_EQ(GetFocus(), Grid->Handle());
  EXPECT_FALSE(IsWindowVisible(Text->Handle()));
  // Escape: the typed text goes, the cell keeps its value, nothing is offered for acceptance.
  Char(L'x');
  TypeText(Editor<TTextualEditor>()->EditHandle(), u"yz");
  TypeKey(Text->EditHandle(), VK_ESCAPE, 27);
  EXPECT_EQ(Grid->OpenEditor(), nullptr);
  EXPECT_EQ(Grid->Model().GetCellText(0, 1), u"abc");
  EXPECT_EQ(Accepted.size(), 1u);
  EXPECT_EQ(GetFocus(), Grid->Handle());
  // A refused text is not stored.
  AcceptEdits = false;
  Char(L'q');
  TypeKey(Text->EditHandle(), VK_RETURN, L'\r');
  EXPECT_EQ(Accepted.back(), u"q");
  EXPECT_EQ(Grid->Model().GetCellText(0, 1), u"abc");
}

TEST_F(GridEditingFixture, FocusLeavingTheEditorForAnotherWindowAcceptsAndClosesIt) {
  EditableColumn<TTextualColumn>(120);
  Grid->Model().AddRows(3);
  TEdit Other(&Form);
  Other.SetBounds(0, 250, 100, 20);
  Other.HandleNeeded();
  // Into the grid itself (a header press) the input goes on.
  Char(L'a');
  Grid->SetFocus();
  Application().ProcessMessages();
  ASSERT_NE(Grid->OpenEditor(), nullptr);
  // Another control of the form.
  TypeText(Editor<TTextualEditor>()->EditHandle(), u"b");
  Other.SetFocus();
  Application().ProcessMessages();
  EXPECT_EQ(Grid->OpenEditor(), nullptr);
  EXPECT_EQ(Grid->Model().GetCellText(0, 0), u"ab");
  EXPECT_EQ(GetFocus(), Other.Handle());  // the editor does not pull the focus back
  // Another program (no window of ours has the focus).
  Grid->SetFocus();
  Char(L'z');
  ASSERT_NE(Grid->OpenEditor(), nullptr);
  SetFocus(nullptr);
  Application().ProcessMessages();
  EXPECT_EQ(Grid->OpenEditor(), nullptr);
  EXPECT_EQ(Accepted, (std::vector<std::u16string>{u"ab", u"z"}));
  // A handler that asks the user, as a message box would: asked once, the editor closes after.
  Grid->SetFocus();
  Char(L'q');
  auto Ask = Grid->OnEditAccept;
  Grid->OnEditAccept = [&](TObject* Sender, int ACol, int ARow, const std::u16string& Value, bool& Accept) {
    Other.SetFocus();
    Application().ProcessMessages();
    Ask(Sender, ACol, ARow, Value, Accept);
  };
  TypeKey(Editor<TTextualEditor>()->EditHandle(), VK_RETURN, L'\r');
  Application().ProcessMessages();
  EXPECT_EQ(Grid->OpenEditor(), nullptr);
  EXPECT_EQ(Accepted, (std::vector<std::u16string>{u"ab", u"z", u"q"}));
}

TEST_F(GridEditingFixture, NumericColumnGivesTheSpinEditorItsStepAndBounds) {
  auto* Amount = EditableColumn<TNumericColumn>(80);
  Amount->SetIncrement(2.5);
  Amount->SetMin(-5);
  Amount->SetMax(10);
  Grid->Model().AddRows(2);
  Grid->Model().GetCell(0, 0)->SetAsFloat(5);
  Grid->Model().SetCurrentCell(0, 0, 0);
  Grid->ShowCellEditor(0, 0);
  auto* Spin = Editor<TSpinEditor>();
  ASSERT_NE(Spin, nullptr);
  EXPECT_EQ(Spin->EditText(), u"5");
  TypeKey(Spin->EditHandle(), VK_UP);
  EXPECT_EQ(Spin->EditText(), u"7.5");
  TypeKey(Spin->EditHandle(), VK_UP);  // 10 is the most
  TypeKey(Spin->EditHandle(), VK_UP);
  EXPECT_EQ(Spin->EditText(), u"10");
  TypeKey(Spin->EditHandle(), VK_RETURN, L'\r');
  EXPECT_EQ(Grid->Model().GetCell(0, 0)->GetAsFloat(), 10);
  // Typing a letter into a numeric column starts nothing; a digit starts the spin editor.
  Char(L'x');
  EXPECT_EQ(Grid->OpenEditor(), nullptr);
  Char(L'7');
  ASSERT_NE(Editor<TSpinEditor>(), nullptr);
  TypeText(Spin->EditHandle(), u"x-1");
  EXPECT_EQ(Spin->EditText(), u"71");
  // A typed number past Max goes into the cell as Max.
  TypeKey(Spin->EditHandle(), VK_RETURN, L'\r');
  EXPECT_EQ(Grid->Model().GetCell(0, 1)->GetAsFloat(), 10);
}

TEST_F(GridEditingFixture, ComboColumnListStyleWithImages) {
  TImageList Images(16, 16);
  TBitmap Strip(48, 16);
  Strip.Canvas().Brush().SetColor(clRed);
  Strip.Canvas().FillRect(RECT{0, 0, 48, 16});
  Images.AddMasked(Strip, clFuchsia);
  auto* Status = EditableColumn<TComboBoxColumn>(110);
  Status->SetItems({u"New", u"Open", u"Closed"});
  Status->SetImages(&Images);
  Status->SetStyle(cbsDropDownList);
  Grid->Model().AddRows(1);
  Grid->Model().SetCellText(0, 0, u"Open");
  Grid->Model().SetCurrentCell(0, 0, 0);
  Grid->ShowCellEditor(0, 0);
  auto* Combo = Editor<TComboBoxEditor>();
  ASSERT_NE(Combo, nullptr);
  EXPECT_EQ(Combo->Style(), dsDropDownList);
  EXPECT_EQ(Combo->ItemIndex(), 1);
  EXPECT_TRUE(Combo->ShowPreview());
  EXPECT_EQ(GetFocus(), Combo->Handle());
  // The image of the chosen item in the preview box.
  TBitmap Bitmap;
  PaintInto(*Combo, Bitmap);
  EXPECT_TRUE(HasColorIn(Bitmap, Combo->PreviewRect(), RGB(255, 0, 0)));
  Wheel(Combo->Handle(), -1);
  EXPECT_EQ(Combo->EditText(), u"Closed");
  TypeKey(Combo->Handle(), VK_RETURN, L'\r');
  EXPECT_EQ(Grid->Model().GetCellText(0, 0), u"Closed");
}

TEST_F(GridEditingFixture, DateColumnOpensTheDatePickerOnTheCellsDate) {
  EditableColumn<TDateColumn>(100);
  Grid->Model().AddRows(1);
  Grid->Model().GetCell(0, 0)->SetAsDateTime(EncodeDate(2021, 3, 4));
  Grid->Model().SetCurrentCell(0, 0, 0);
  Grid->ShowCellEditor(0, 0);
  auto* Picker = Editor<TDatePickerEditor>();
  ASSERT_NE(Picker, nullptr);
  EXPECT_EQ(Picker->Style(), dsDropDown);
  EXPECT_EQ(Picker->Date(), EncodeDate(2021, 3, 4));
  TypeKey(Picker->EditHandle(), VK_F4);
  ASSERT_TRUE(Picker->PopupOpen());
  // Another program becoming active closes the popup.
  Form.Perform(WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_FALSE(Picker->PopupOpen());
  TypeKey(Picker->EditHandle(), VK_F4);
  TypeKey(Picker->EditHandle(), VK_RIGHT);
  TypeKey(Picker->EditHandle(), VK_RETURN, L'\r');  // picks the 5th
  EXPECT_FALSE(Picker->PopupOpen());
  EXPECT_NE(Grid->OpenEditor(), nullptr);
  TypeKey(Picker->EditHandle(), VK_RETURN, L'\r');  // accepts
  EXPECT_EQ(Grid->Model().GetCell(0, 0)->GetAsDateTime(), EncodeDate(2021, 3, 5));
}

TEST_F(GridEditingFixture, InputRowAddsRows) {
  Grid->SetOptions(Grid->Options() + TGridOptions{goInput});
  auto* Name = EditableColumn<TTextualColumn>(100);
  auto* Amount = EditableColumn<TNumericColumn>(80);
  Name->SetDefaultValue(u"unnamed");
  Grid->ShowInputEditor(0);
  auto* Text = Editor<TTextualEditor>();
  ASSERT_NE(Text, nullptr);
  EXPECT_TRUE(Grid->EditingInput());
  TypeText(Text->EditHandle(), u"first");
  TypeKey(Text->EditHandle(), VK_RETURN, L'\r');
  ASSERT_EQ(Grid->Model().RowCount(), 1);
  EXPECT_EQ(Grid->Model().GetCellText(0, 0), u"first");
  EXPECT_EQ(Grid->Model().GetCellText(1, 0), Amount->DefaultValue());
  // The editor stays open on the column's input text, now its default, selected for the next row.
  EXPECT_EQ(Text->EditText(), u"unnamed");
  EXPECT_EQ(Text->SelLength(), 7);
  TypeKey(Text->EditHandle(), VK_RETURN, L'\r');
  ASSERT_EQ(Grid->Model().RowCount(), 2);
  EXPECT_EQ(Grid->Model().GetCellText(0, 1), u"unnamed");
}
