#include "toolkit/Forms.h"

#include "toolkit/Screen.h"

TForm::TForm() : TWinControl(nullptr) {
  SetVisible(false);
  Font().SetName("Tahoma");
  Font().SetSize(8);
}

TForm::~TForm() {
  DestroyHandle();
  if (FMainFormOwner) FMainFormOwner->MainFormDestroyed(*this);
}

void TForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = L"Torvane.Form";
  Params.Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  Params.ExStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
}

void TForm::CreateWnd() {
  TWinControl::CreateWnd();
  const int PPI = WindowPPI(FHandle);
  Screen().SetPixelsPerInch(PPI);
  ScaleForPPI(PPI);
}

LRESULT TForm::WMDpiChanged(WPARAM WParam, LPARAM LParam) {
  // The horizontal and vertical densities are the same on every system that sends this.
  const int PPI = HIWORD(WParam);
  Screen().SetPixelsPerInch(PPI);
  ScaleForPPI(PPI);
  if (const auto* Suggested = reinterpret_cast<const RECT*>(LParam))
    SetBounds(Suggested->left, Suggested->top, Suggested->right - Suggested->left, Suggested->bottom - Suggested->top);
  return 0;
}

void TForm::PlaceWindow() {
  if (Position == poDesigned) return;
  const RECT Area = Screen().WorkArea();
  const int AreaWidth = Position == poDesktopCenter ? Screen().Width() : Area.right - Area.left;
  const int AreaHeight = Position == poDesktopCenter ? Screen().Height() : Area.bottom - Area.top;
  const int Left = (Position == poDesktopCenter ? 0 : Area.left) + (AreaWidth - Width()) / 2;
  const int Top = (Position == poDesktopCenter ? 0 : Area.top) + (AreaHeight - Height()) / 2;
  SetBounds(Left < 0 ? 0 : Left, Top < 0 ? 0 : Top, Width(), Height());
}

void TForm::Show() {
  HandleNeeded();
  PlaceWindow();
  SetVisible(true);
  ShowWindow(FHandle, WindowState == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOW);
  SetForegroundWindow(FHandle);
  if (OnShow) OnShow(this);
}

void TForm::Close() {
  if (FHandle) PostMessageW(FHandle, WM_CLOSE, 0, 0);
}

bool TForm::CloseQuery() {
  bool CanClose = true;
  if (OnCloseQuery) OnCloseQuery(this, CanClose);
  return CanClose;
}

LRESULT TForm::WndProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  switch (Message) {
    case WM_CLOSE: {
      if (!CloseQuery()) return 0;
      TCloseAction Action = FMainFormOwner ? caFree : caHide;
      if (OnClose) OnClose(this, Action);
      if (Action == caNone) return 0;
      if (FMainFormOwner) {
        FMainFormOwner->MainFormClosed(*this);
      } else {
        Hide();
      }
      return 0;
    }
    case WM_GETMINMAXINFO: {
      auto* Info = reinterpret_cast<MINMAXINFO*>(LParam);
      if (MinWidth > 0) Info->ptMinTrackSize.x = ScaleValue(MinWidth);
      if (MinHeight > 0) Info->ptMinTrackSize.y = ScaleValue(MinHeight);
      return 0;
    }
    case WM_DPICHANGED: return WMDpiChanged(WParam, LParam);
    default: return TWinControl::WndProc(Message, WParam, LParam);
  }
}
