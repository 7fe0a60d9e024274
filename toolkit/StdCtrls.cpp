#include "toolkit/StdCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/WideText.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/HandleGuards.h"

namespace {
constexpr UINT_PTR ComboEditSubclassId = 0x54434245;  // 'TCBE'
}

void TStdControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ExStyle &= ~DWORD(WS_EX_CONTROLPARENT);
  Params.Style &= ~DWORD(WS_CLIPCHILDREN);
}

TLabel::TLabel(TWinControl* Parent) : TStdControl(Parent) {}

void TLabel::CreateParams(TCreateParams& Params) {
  TStdControl::CreateParams(Params);
  Params.SystemClassName = L"STATIC";
  Params.Style |= SS_LEFT | SS_NOTIFY;
}

void TLabel::AdjustSize() {
  TDCGuard Screen(nullptr);
  TSelectedObject Selected(Screen.Get(), Font().Handle());
  RECT Rect = {0, 0, 0, 0};
  const std::wstring Text = Widen(Caption());
  DrawTextW(Screen.Get(), Text.c_str(), static_cast<int>(Text.size()), &Rect, DT_CALCRECT | DT_SINGLELINE);
  SetBounds(Left(), Top(), Rect.right, Rect.bottom);
  FAutoSized = true;
}

void TLabel::ChangeScale(int M, int D) {
  TStdControl::ChangeScale(M, D);
  // The text's width does not follow the font's height exactly: it is measured again.
  if (FAutoSized) AdjustSize();
}

bool TLabel::WantsAccelerator(wchar_t Char) {
  if (!FocusControl || !IsAccelerator(Char, Caption()) || !FocusControl->CanFocus()) return false;
  FocusField(*FocusControl);
  return true;
}

void FocusField(TWinControl& Control) {
  Control.SetFocus();
  HWND Focus = GetFocus();
  if (Focus && (SendMessageW(Focus, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)) SendMessageW(Focus, EM_SETSEL, 0, -1);
}

TEdit::TEdit(TWinControl* Parent) : TStdControl(Parent) {
  SetTabStop(true);
  SetColor(clWindow);
}

void TEdit::CreateParams(TCreateParams& Params) {
  TStdControl::CreateParams(Params);
  Params.SystemClassName = L"EDIT";
  Params.Style |= ES_AUTOHSCROLL | ES_LEFT;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::SelectAll() {
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

bool TEdit::CommandNotify(WORD Code) {
  if (Code != EN_CHANGE) return false;
  if (OnChange) OnChange(this);
  return true;
}

TComboBox::TComboBox(TWinControl* Parent, TComboBoxStyle Style) : TStdControl(Parent), FStyle(Style) {
  SetTabStop(true);
  SetColor(clWindow);
}

void TComboBox::CreateParams(TCreateParams& Params) {
  TStdControl::CreateParams(Params);
  Params.SystemClassName = L"COMBOBOX";
  Params.Style |= WS_VSCROLL | (FStyle == csDropDown ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST);
}

void TComboBox::CreateWnd() {
  LoadItems();
  // A combo box does not show the text it was created with.
  if (FStyle == csDropDown) SetWindowTextW(FHandle, Widen(Caption()).c_str());
  if (HWND Edit = EditHandle()) SetWindowSubclass(Edit, &TComboBox::EditProc, ComboEditSubclassId, 0);
  // The box takes its closed height once its list's height is set; only then can it be measured.
  ApplyDropDownHeight();
  ApplyClosedHeight();
}

HWND TComboBox::EditHandle() {
  if (!HandleAllocated() || FStyle != csDropDown) return nullptr;
  COMBOBOXINFO Info = {};
  Info.cbSize = sizeof(Info);
  return GetComboBoxInfo(FHandle, &Info) ? Info.hwndItem : nullptr;
}

// The edit field's keys go to the combo box's handlers first, as if the box itself had the focus.
LRESULT CALLBACK TComboBox::EditProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam, UINT_PTR, DWORD_PTR) {
  if (Message == WM_NCDESTROY) {
    RemoveWindowSubclass(Window, &TComboBox::EditProc, ComboEditSubclassId);
  } else if (Message == WM_KEYDOWN || Message == WM_SYSKEYDOWN || Message == WM_CHAR || Message == WM_KEYUP) {
    if (auto* Combo = dynamic_cast<TComboBox*>(FromHandle(GetParent(Window)))) {
      bool Used = true;  // a key whose handling failed is used up
      ReportingErrors([&] { Used = Combo->EditKey(Message, WParam); });
      if (Used) return 0;
    }
  }
  return DefSubclassProc(Window, Message, WParam, LParam);
}

bool TComboBox::EditKey(UINT Message, WPARAM& WParam) {
  if (Message == WM_CHAR) {
    wchar_t Key = static_cast<wchar_t>(WParam);
    KeyPress(Key);
    WParam = Key;
    return Key == 0;
  }
  WORD Key = static_cast<WORD>(WParam);
  if (Message == WM_KEYUP) {
    KeyUp(Key, KeyboardShiftState());
  } else {
    KeyDown(Key, KeyboardShiftState());
  }
  return Key == 0;
}

void TComboBox::LoadItems() {
  if (!HandleAllocated()) return;
  SendMessageW(FHandle, CB_RESETCONTENT, 0, 0);
  for (const std::string& Item : FItems)
    SendMessageW(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(Item).c_str()));
  if (FItemIndex >= 0) SendMessageW(FHandle, CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

void TComboBox::SetItems(const std::vector<std::string>& Items) {
  // The text of an edit box stays what it was; the list alone changes.
  const std::string Text = FStyle == csDropDown ? this->Text() : std::string();
  FItems = Items;
  FItemIndex = -1;
  LoadItems();
  if (FStyle == csDropDown && HandleAllocated()) SetWindowTextW(FHandle, Widen(Text).c_str());
  ApplyDropDownHeight();
}

int TComboBox::ItemIndex() {
  if (HandleAllocated()) FItemIndex = static_cast<int>(SendMessageW(FHandle, CB_GETCURSEL, 0, 0));
  return FItemIndex;
}

void TComboBox::SetItemIndex(int Index) {
  FItemIndex = Index >= 0 && Index < static_cast<int>(FItems.size()) ? Index : -1;
  if (HandleAllocated()) SendMessageW(FHandle, CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
  if (!HandleAllocated()) SetCaption(FItemIndex >= 0 ? FItems[static_cast<std::size_t>(FItemIndex)] : "");
}

void TComboBox::SetDropDownCount(int Count) {
  FDropDownCount = std::max(1, Count);
  ApplyDropDownHeight();
}

bool TComboBox::DroppedDown() { return HandleAllocated() && SendMessageW(FHandle, CB_GETDROPPEDSTATE, 0, 0) != 0; }

void TComboBox::SetDroppedDown(bool Value) {
  if (HandleAllocated()) SendMessageW(FHandle, CB_SHOWDROPDOWN, Value ? TRUE : FALSE, 0);
}

void TComboBox::Resize() {
  TStdControl::Resize();
  ApplyDropDownHeight();
}

void TComboBox::ChangeScale(int M, int D) {
  FClosedHeight = ScaleLength(FClosedHeight > 0 ? FClosedHeight : Height(), M, D);
  TStdControl::ChangeScale(M, D);
  ApplyClosedHeight();
}

void TComboBox::ApplyClosedHeight() {
  if (!HandleAllocated() || FClosedHeight <= 0) return;
  // The box resizes itself to the new height; the list's height is set again once that is over.
  // Platforms differ in what the field's height includes and in its least height: a few steps
  // correct the first.
  FSizing = true;
  int Request = static_cast<int>(SendMessageW(FHandle, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  for (int Step = 0; Step < 4 && Request > 0; ++Step) {
    RECT Closed;
    GetWindowRect(FHandle, &Closed);
    const int Error = FClosedHeight - (Closed.bottom - Closed.top);
    if (Error == 0 || Request + Error <= 0) break;
    Request += Error;
    SendMessageW(FHandle, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), Request);
  }
  FSizing = false;
  ApplyDropDownHeight();
}

// The list shows DropDownCount items: common controls 6 take the count; older combo boxes take the
// height of the window as the closed box plus its open list.
void TComboBox::ApplyDropDownHeight() {
  if (!HandleAllocated() || FSizing) return;
  FSizing = true;
  SendMessageW(FHandle, CB_SETMINVISIBLE, static_cast<WPARAM>(FDropDownCount), 0);
  const int ItemHeight = static_cast<int>(SendMessageW(FHandle, CB_GETITEMHEIGHT, 0, 0));
  const int Shown = std::max(1, std::min(FDropDownCount, static_cast<int>(FItems.size())));
  SetWindowPos(FHandle, nullptr, 0, 0, Width(), Height() + Shown * std::max(ItemHeight, 1) + 2,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  FSizing = false;
}

bool TComboBox::CommandNotify(WORD Code) {
  switch (Code) {
    case CBN_SELCHANGE: {
      // The edit field takes the chosen item's text only after this notice: set it now, so that
      // the handler reads the choice.
      const int Index = ItemIndex();
      if (FStyle == csDropDown && Index >= 0 && Index < static_cast<int>(FItems.size()))
        SetWindowTextW(FHandle, Widen(FItems[static_cast<std::size_t>(Index)]).c_str());
      if (OnSelect) OnSelect(this);
      if (OnChange) OnChange(this);
      return true;
    }
    case CBN_EDITCHANGE:
      if (OnChange) OnChange(this);
      return true;
    default: return false;
  }
}

TCheckBox::TCheckBox(TWinControl* Parent) : TStdControl(Parent) { SetTabStop(true); }

void TCheckBox::CreateParams(TCreateParams& Params) {
  TStdControl::CreateParams(Params);
  Params.SystemClassName = L"BUTTON";
  Params.Style |= BS_AUTOCHECKBOX;
}

bool TCheckBox::Checked() {
  if (HandleAllocated()) FChecked = SendMessageW(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return FChecked;
}

void TCheckBox::SetChecked(bool Value) {
  FChecked = Value;
  if (HandleAllocated()) SendMessageW(FHandle, BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::WantsAccelerator(wchar_t Char) {
  if (!IsAccelerator(Char, Caption()) || !CanFocus()) return false;
  SetFocus();
  SetChecked(!Checked());
  Click();
  return true;
}

bool TCheckBox::CommandNotify(WORD Code) {
  if (Code != BN_CLICKED) return false;
  Checked();
  Click();
  return true;
}

TButton::TButton(TWinControl* Parent) : TStdControl(Parent) { SetTabStop(true); }

void TButton::CreateParams(TCreateParams& Params) {
  TStdControl::CreateParams(Params);
  Params.SystemClassName = L"BUTTON";
  Params.Style |= BS_PUSHBUTTON;
}

void TButton::PerformClick() {
  if (Enabled()) Click();
}

bool TButton::WantsAccelerator(wchar_t Char) {
  if (!IsAccelerator(Char, Caption()) || !CanFocus()) return false;
  PerformClick();
  return true;
}

bool TButton::CommandNotify(WORD Code) {
  if (Code != BN_CLICKED) return false;
  Click();
  return true;
}
