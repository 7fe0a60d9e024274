#include "gridview/win32/editors/CellEditors.h"

#include "core/Conversions.h"
#include "core/FormatSettings.h"
#include "core/Text.h"
#include "gridview/win32/base/DrawProviders.h"
#include "gridview/win32/base/Themes.h"

TCellEditor::TCellEditor(TWinControl* Parent) : TCustomControl(Parent) {
  SetVisible(false);
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, DefaultWidth, DefaultHeight);
}

void TCellEditor::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.ClassName = L"Torvane.CellEditor";
  if (FBorderStyle != bsSingle) return;
  if (ThemeServices().ThemesActive())
    Params.Style |= WS_BORDER;
  else
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

LRESULT TCellEditor::WndProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_NCPAINT && (GetWindowLongW(FHandle, GWL_STYLE) & WS_BORDER)) {
    TDCGuard DC(FHandle, true);
    RECT Window;
    GetWindowRect(FHandle, &Window);
    OffsetRect(&Window, -Window.left, -Window.top);
    ExcludeClipRect(DC.Get(), 1, 1, Window.right - 1, Window.bottom - 1);
    if (!ThemeServices().DrawBackground(L"EDIT", DC.Get(), 1, 1, Window)) {
      TCanvas Canvas(DC.Get());
      Canvas.Brush().SetColor(clBtnShadow);
      Canvas.FrameRect(Window);
    }
    return 0;
  }
  if (Message == WM_KILLFOCUS) {
    const LRESULT Result = TCustomControl::WndProc(Message, WParam, LParam);
    FocusLeaving(reinterpret_cast<HWND>(WParam));
    return Result;
  }
  return TCustomControl::WndProc(Message, WParam, LParam);
}

void TCellEditor::FocusLeaving(HWND To) {
  if (!FHost || (HandleAllocated() && To && (To == FHandle || IsChild(FHandle, To)))) return;
  FHost->EditorFocusLeft(*this);
}

void TCellEditor::RecreateWindow() {
  if (!HandleAllocated()) return;
  DestroyHandle();
  HandleNeeded();
}

void TCellEditor::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  RecreateWindow();
}

void TCellEditor::SetMargin(int Value) {
  if (Value == FMargin) return;
  FMargin = Value;
  RecreateWindow();
}

void TCellEditor::SetVerticalAlignment(TVerticalAlignment Value) {
  if (Value == FVerticalAlignment) return;
  FVerticalAlignment = Value;
  RecreateWindow();
}

void TCellEditor::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  RecreateWindow();
}

void TCellEditor::SetEditText(const std::u16string& Value) {
  if (Value == FText) return;
  FText = Value;
  TextChanged();
}

void TCellEditor::TextChanged() {
  if (OnChange) OnChange(this);
  if (OnEdit) OnEdit(this);
  Invalidate();
}

// Typed values through the text; a text that does not convert reads as the type's empty value.

bool TCellEditor::GetAsBoolean() {
  bool Value = false;
  return TryStrToBool(Utf16ToUtf8(GetAsText()), Value) && Value;
}

TDateTime TCellEditor::GetAsDate() {
  TDateTime Value = 0;
  return TryStrToDateTime(Utf16ToUtf8(GetAsText()), Value) ? Value : 0;
}

double TCellEditor::GetAsFloat() {
  double Value = 0;
  return TryStrToFloat(Utf16ToUtf8(GetAsText()), Value) ? Value : 0;
}

int TCellEditor::GetAsInteger() {
  int Value = 0;
  return TryStrToInt(Utf16ToUtf8(GetAsText()), Value) ? Value : 0;
}

void TCellEditor::SetAsBoolean(bool Value) { SetAsText(Utf8ToUtf16(BoolToStr(Value))); }
void TCellEditor::SetAsDate(TDateTime Value) { SetAsText(Utf8ToUtf16(DateTimeToStr(Value))); }
void TCellEditor::SetAsFloat(double Value) { SetAsText(Utf8ToUtf16(FloatToStr(Value))); }
void TCellEditor::SetAsInteger(int Value) { SetAsText(Utf8ToUtf16(IntToStr(Value))); }

bool TCellEditor::HostKeyDown(WORD& Key, TShiftState Shift) {
  if (!FHost || Key == 0) return false;
  if (!FHost->EditorKeyDown(*this, Key, Shift)) return false;
  Key = 0;
  return true;
}

void TCellEditor::KeyDown(WORD& Key, TShiftState Shift) {
  if (HostKeyDown(Key, Shift)) return;
  TCustomControl::KeyDown(Key, Shift);
}

bool TCellEditor::EraseBackground(HDC DC) { return WantsBackground() ? TCustomControl::EraseBackground(DC) : true; }

void TCellEditor::Paint() {
  if (WantsBackground()) {
    Canvas().Brush().SetColor(Color());
    Canvas().FillRect(ClientRect());
  }
  PaintContent();
}
