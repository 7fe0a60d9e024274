#include "gridview/win32/editors/EditorButtons.h"

#include "gridview/win32/base/DrawProviders.h"
#include "gridview/win32/base/Themes.h"

namespace {
// Three dots in the middle of the button, one pixel lower while it is held down.
void DrawEllipsis(TCanvas& Canvas, const RECT& Rect, bool Pressed) {
  const int X = (Rect.left + Rect.right) / 2 - 5 + (Pressed ? 1 : 0);
  const int Y = (Rect.top + Rect.bottom) / 2 - 1 + (Pressed ? 1 : 0);
  Canvas.Brush().SetColor(clBtnText);
  for (int Dot = 0; Dot < 3; ++Dot) Canvas.FillRect(RECT{X + 4 * Dot, Y, X + 4 * Dot + 2, Y + 2});
}
}  // namespace

// Small button.

TSmallButton::TSmallButton(TWinControl* Parent) : TCustomControl(Parent) {}

void TSmallButton::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.ClassName = L"Torvane.EditorButton";
  Params.Style &= ~DWORD(WS_TABSTOP);
  Params.ExStyle &= ~DWORD(WS_EX_CONTROLPARENT);
}

void TSmallButton::SetPressed(bool Value) {
  if (Value == FPressed) return;
  FPressed = Value;
  Invalidate();
}

void TSmallButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    FPressed = true;
    // The release comes here wherever it happens, unless the press opened a popup that takes the mouse.
    SetCapture(Handle());
    Repaint();
    if (OnPress) OnPress(this);
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TSmallButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (HandleAllocated() && GetCapture() == FHandle) ReleaseCapture();
  if (!FPressed) return;
  FPressed = false;
  Invalidate();
  if (OnRelease) OnRelease(this);
}

void TSmallButton::MouseEnter() {
  FHot = true;
  Invalidate();
  TCustomControl::MouseEnter();
}

void TSmallButton::MouseLeave() {
  FHot = false;
  Invalidate();
  TCustomControl::MouseLeave();
}

void TExecuteButton::Paint() {
  TCanvas& C = Canvas();
  const RECT Rect = ClientRect();
  if (ThemeServices().ThemesActive()) {
    C.Brush().SetColor(Color());
    C.FillRect(Rect);
    if (ThemeServices().DrawBackground(L"BUTTON", C.Handle(), 1, ThemeState(), AdjustRECT(Rect, -1, -1, 1, 1))) {
      DrawEllipsis(C, Rect, Pressed());
      return;
    }
  }
  if (Pressed()) {
    C.Brush().SetColor(clBtnFace);
    C.FillRect(Rect);
    C.Brush().SetColor(clBtnShadow);
    C.FrameRect(Rect);
  } else {
    RECT Frame = Rect;
    DrawFrameControl(C.Handle(), &Frame, DFC_BUTTON, DFCS_BUTTONPUSH);
  }
  DrawEllipsis(C, Rect, Pressed());
}

void TDropDownButton::Paint() {
  TCanvas& C = Canvas();
  RECT Rect = ClientRect();
  if (ThemeServices().ThemesActive() && ThemeServices().DrawBackground(L"COMBOBOX", C.Handle(), 1, ThemeState(), Rect))
    return;
  DrawFrameControl(C.Handle(), &Rect, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Pressed() ? DFCS_PUSHED | DFCS_FLAT : 0));
}

// Spin buttons.

TSpinButtons::TSpinButtons(TWinControl* Parent) : TCustomControl(Parent) {}

void TSpinButtons::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.ClassName = L"Torvane.EditorButton";
  Params.Style &= ~DWORD(WS_TABSTOP);
  Params.ExStyle &= ~DWORD(WS_EX_CONTROLPARENT);
}

void TSpinButtons::PaintHalf(THalf Half, const RECT& Rect, bool Themed) {
  const int State = FPressed == Half ? 3 : HalfHot(Half) ? 2 : 1;
  if (Themed && ThemeServices().DrawBackground(L"SPIN", Canvas().Handle(), Half == shUp ? 1 : 2, State, Rect)) return;
  RECT Frame = Rect;
  DrawFrameControl(Canvas().Handle(), &Frame, DFC_SCROLL,
                   (Half == shUp ? DFCS_SCROLLUP : DFCS_SCROLLDOWN) | (FPressed == Half ? DFCS_PUSHED : 0));
}

void TSpinButtons::Paint() {
  const RECT Client = ClientRect();
  const bool Themed = ThemeServices().ThemesActive();
  const int Middle = Client.bottom / 2;
  // The themed upper part starts a pixel above the client, its top edge hidden under the editor's border.
  PaintHalf(shUp, RECT{0, Themed ? -1 : 0, Client.right, Middle}, Themed);
  PaintHalf(shDown, RECT{0, Middle, Client.right, Client.bottom}, Themed);
}

void TSpinButtons::SetPressedHalf(THalf Half) {
  if (Half == FPressed) return;
  FPressed = Half;
  Invalidate();
}

void TSpinButtons::SetAllHot(bool Value) {
  if (Value == FAllHot) return;
  FAllHot = Value;
  Invalidate();
}

void TSpinButtons::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const THalf Half = HalfAt(Y);
  SetPressedHalf(Half);
  SetCapture(Handle());
  Update();
  if (OnPress) OnPress(this, Half);
}

void TSpinButtons::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  const RECT Client = ClientRect();
  const THalf Hot = X >= 0 && X < Client.right && Y >= 0 && Y < Client.bottom ? HalfAt(Y) : shNone;
  if (Hot == FHotHalf) return;
  FHotHalf = Hot;
  Invalidate();
}

void TSpinButtons::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft) Release();
}

void TSpinButtons::MouseLeave() {
  FHotHalf = shNone;
  Invalidate();
  TCustomControl::MouseLeave();
}

void TSpinButtons::Release() {
  if (HandleAllocated() && GetCapture() == FHandle) ReleaseCapture();
  if (FPressed == shNone) return;
  SetPressedHalf(shNone);
  if (OnRelease) OnRelease(this);
}

LRESULT TSpinButtons::WndProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  // Losing the mouse to another window ends a press, so a repeat never runs on unattended.
  if (Message == WM_CAPTURECHANGED && reinterpret_cast<HWND>(LParam) != FHandle && FPressed != shNone) Release();
  return TCustomControl::WndProc(Message, WParam, LParam);
}
