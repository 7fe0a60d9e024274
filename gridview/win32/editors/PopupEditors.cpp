#include "gridview/win32/editors/PopupEditors.h"

#include <algorithm>

#include "core/Clock.h"
#include "core/FormatSettings.h"
#include "core/Text.h"
#include "gridview/win32/base/DrawProviders.h"
#include "toolkit/Application.h"
#include "toolkit/ImageList.h"

// Button editor.

TCustomButtonCellEditor::TCustomButtonCellEditor() : TCustomButtonCellEditor(std::make_unique<TExecuteButton>()) {}

TCustomButtonCellEditor::TCustomButtonCellEditor(std::unique_ptr<TSmallButton> Button) : FButton(std::move(Button)) {
  FButton->SetParent(this);
  FButton->OnPress = [this](TObject*) { ButtonPressed(); };
}

void TCustomButtonCellEditor::ButtonPressed() {
  if (OnButtonClick) OnButtonClick(this);
}

void TCustomButtonCellEditor::LayoutControls() {
  TTextualEditor::LayoutControls();
  const RECT Client = ClientRect();
  const int Width = FButton->ButtonWidth();
  FButton->SetBounds(Client.right - Width, 0, Width, Client.bottom);
}

void TCustomButtonCellEditor::AfterShow() {
  TTextualEditor::AfterShow();
  FButton->Invalidate();
}

// Popup editor.

TPopupEditor::TPopupEditor(std::unique_ptr<TPopupView> Popup)
    : TCustomButtonCellEditor(std::make_unique<TDropDownButton>()), FPopup(std::move(Popup)) {
  FPopup->OnPick = [this](TObject*, const std::u16string& Text) { PopupPicked(Text); };
  FPopup->OnClose = [this](TObject*) { Button().SetPressed(false); };
}

TPopupEditor::~TPopupEditor() {
  FPopup->OnPick = nullptr;
  FPopup->OnClose = nullptr;
}

void TPopupEditor::SetStyle(TDropDownStyle Value) {
  if (Value == FStyle) return;
  const bool HadFocus = HandleAllocated() && (GetFocus() == FHandle || IsChild(FHandle, GetFocus()));
  FStyle = Value;
  UpdateEditBox();
  if (HadFocus) SetFocus();
  Invalidate();
}

void TPopupEditor::SetHideFocus(bool Value) {
  FHideFocus = Value;
  Invalidate();
}

void TPopupEditor::SelectAll() {
  if (FStyle == dsDropDown) TCustomButtonCellEditor::SelectAll();
}

void TPopupEditor::OpenPopup(bool FromKeyboard) {
  if (PopupOpen()) return;
  TPopupView& View = *FPopup;
  View.Font().Assign(Font());
  View.SetWidth(Width());
  PreparePopup();
  RECT Editor;
  GetWindowRect(Handle(), &Editor);
  // Below the editor; above it when the screen ends first.
  int Y = Editor.bottom;
  if (Y + View.Height() > Screen().Height() && Editor.top - View.Height() >= 0) Y = Editor.top - View.Height();
  View.ShowAt(Editor.left - 1, Y);
  if (FromKeyboard) View.Arm();
  Button().SetPressed(true);
}

void TPopupEditor::ClosePopup() {
  if (PopupOpen()) FPopup->ClosePopup();
}

void TPopupEditor::PopupPicked(const std::u16string& Text) {
  if (OnPopupClose) OnPopupClose(this);
  FPopup->ClosePopup();
  SetEditText(Text);
  Button().SetPressed(false);
  SelectAll();
}

void TPopupEditor::ButtonPressed() {
  if (HandleAllocated() && GetFocus() != FHandle && !IsChild(FHandle, GetFocus()) && CanFocus()) SetFocus();
  OpenPopup();
}

bool TPopupEditor::EditorKeyFirst(WORD Key, TShiftState Shift) {
  if (PopupOpen()) {
    switch (Key) {
      case VK_ESCAPE: ClosePopup(); return true;
      case VK_RETURN: PopupEnter(); return true;
      default: return PopupArrow(Key);
    }
  }
  if ((Key == VK_DOWN && (Shift & ssAlt)) || Key == VK_F4) {
    OpenPopup(true);
    return true;
  }
  return false;
}

void TPopupEditor::EditExit() {
  TCustomButtonCellEditor::EditExit();
  ClosePopup();
}

void TPopupEditor::DoEnter() {
  TCustomButtonCellEditor::DoEnter();
  if (FStyle == dsDropDownList) Invalidate();
}

void TPopupEditor::DoExit() {
  TCustomButtonCellEditor::DoExit();
  if (FStyle == dsDropDownList) {
    ClosePopup();
    Invalidate();
  }
}

void TPopupEditor::VisibleChanged() {
  TCustomButtonCellEditor::VisibleChanged();
  if (!Visible()) ClosePopup();
}

void TPopupEditor::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomButtonCellEditor::MouseDown(Button, Shift, X, Y);
  // In the list style the whole editor is the button.
  if (Button == mbLeft && FStyle == dsDropDownList) OpenPopup();
}

void TPopupEditor::PaintContent() {
  if (FStyle == dsDropDown) {
    TCustomButtonCellEditor::PaintContent();
    return;
  }
  TCanvas& C = Canvas();
  const RECT Client = ClientRect();
  C.Brush().SetColor(Color());
  C.FillRect(Client);
  TCustomButtonCellEditor::PaintContent();
  const int Left = ShowPreview() ? PreviewSpace : 0;
  const RECT Box{Left + 1, 1, Client.right - ButtonsWidth() - 1, Client.bottom - 1};
  const bool Focus = Focused();
  C.Font().Assign(Font());
  if (Focus) {
    C.Brush().SetColor(clHighlight);
    C.FillRect(Box);
    C.Font().SetColor(clHighlightText);
  }
  const RECT Text{Margin() + 2 + Left, 0, Box.right, Client.bottom};
  TGraphicsProvider::DrawTextBlock(C, Text, EditText(), false, VerticalAlignment(), Alignment());
  if (Focus && !FHideFocus) TGraphicsProvider::DrawFocusFrame(C, Box, false);
}

// Combo box editor.

TComboBoxEditor::TComboBoxEditor() : TPopupEditor(std::make_unique<TPopupList>()) {}

void TComboBoxEditor::SetImages(TImageList* Value) {
  FImages = Value;
  SetShowPreview(Value != nullptr);
  Invalidate();
}

void TComboBoxEditor::SetImages(TObject* Value) { SetImages(dynamic_cast<TImageList*>(Value)); }

void TComboBoxEditor::SetItems(const std::vector<std::u16string>& Value) { FItems = Value; }

void TComboBoxEditor::SetItemIndex(int Value) {
  FItemIndex = Value;
  if (Value >= 0 && Value < static_cast<int>(FItems.size())) SetEditText(FItems[Value]);
  Invalidate();
}

void TComboBoxEditor::SetAsText(const std::u16string& Value) {
  SetEditText(Value);
  const auto Found = std::find(FItems.begin(), FItems.end(), Value);
  FItemIndex = Found == FItems.end() ? -1 : static_cast<int>(Found - FItems.begin());
  Invalidate();
}

void TComboBoxEditor::PreparePopup() {
  TPopupList& Popup = List();
  Popup.SetItems(&FItems);
  Popup.SetImages(FImages);
  Popup.SetShowImages(FImages != nullptr);
  Popup.SetItemHeight(FItemHeight);
  const int Rows = std::min(FDropDownCount, static_cast<int>(FItems.size()));
  Popup.SetClientHeight(Popup.ItemHeight() * std::max(Rows, 0));
  Popup.SetEditorText(EditText());
}

void TComboBoxEditor::PopupPicked(const std::u16string& Text) {
  SetItemIndex(List().ItemIndex());
  TPopupEditor::PopupPicked(Text);
}

bool TComboBoxEditor::PopupArrow(WORD Key) {
  if (Key != VK_UP && Key != VK_DOWN) return false;
  List().MoveHotRow(Key == VK_UP ? -1 : 1);
  return true;
}

bool TComboBoxEditor::EditKeyDown(WORD Key, TShiftState Shift) {
  if ((Key != VK_UP && Key != VK_DOWN) || IgnoreArrowKeys() || (Shift & ssAlt)) return false;
  const int Last = static_cast<int>(FItems.size()) - 1;
  if (Key == VK_UP && FItemIndex > 0) SetItemIndex(std::min(FItemIndex, Last + 1) - 1);
  if (Key == VK_DOWN && FItemIndex < Last) SetItemIndex(FItemIndex + 1);
  return true;
}

bool TComboBoxEditor::EditMouseWheel(int Notches) {
  const int Last = static_cast<int>(FItems.size()) - 1;
  for (; Notches < 0 && FItemIndex < Last; ++Notches) SetItemIndex(FItemIndex + 1);
  for (; Notches > 0 && FItemIndex > 0; --Notches) SetItemIndex(std::min(FItemIndex, Last + 1) - 1);
  return true;
}

void TComboBoxEditor::DrawPreview(TCanvas& Canvas, const RECT& Rect) {
  if (FImages && FItemIndex >= 0 && FItemIndex < FImages->Count()) {
    const POINT At = AlignBox(FImages->Width(), FImages->Height(), vaMiddle, taCenter, Rect, 0);
    FImages->Draw(Canvas, At.x, At.y, FItemIndex);
  }
  TPopupEditor::DrawPreview(Canvas, Rect);
}

// Date picker editor.

TDatePickerEditor::TDatePickerEditor() : TPopupEditor(std::make_unique<TDatePopup>()) {
  SetAsDate(ProgramClock().Today());
}

TDateTime TDatePickerEditor::Date() const {
  const std::u16string Text = EditText();
  TDateTime Value = 0;
  if (Text.empty() || Text == u"0" || !TryStrToDateTime(Utf16ToUtf8(Text), Value)) return ProgramClock().Today();
  return Value;
}

void TDatePickerEditor::SetAsDate(TDateTime Value) { SetEditText(Utf8ToUtf16(DateToStr(Value))); }

void TDatePickerEditor::PreparePopup() {
  TDatePopup& Popup = Calendar();
  const TDateTime Value = Date();
  Popup.SetDate(Value);
  Popup.SetSelectedDate(Value);
  Popup.SetWidth(TDatePopup::PopupWidth);
  Popup.SetHeight(TDatePopup::PopupHeight);
  Popup.SetMonthNames(FMonthNames);
}

bool TDatePickerEditor::PopupArrow(WORD Key) {
  switch (Key) {
    case VK_UP: Calendar().MoveSelection(-7); return true;
    case VK_DOWN: Calendar().MoveSelection(7); return true;
    case VK_LEFT: Calendar().MoveSelection(-1); return true;
    case VK_RIGHT: Calendar().MoveSelection(1); return true;
    default: return false;
  }
}
