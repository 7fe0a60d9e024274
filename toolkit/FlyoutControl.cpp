#include "toolkit/FlyoutControl.h"

TFlyoutControl::TFlyoutControl() : TCustomControl(nullptr) {
  SetVisible(false);
  DoubleBuffered = false;
}

void TFlyoutControl::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.ClassName = L"Torvane.Flyout";
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
}

void TFlyoutControl::ShowFlyout() {
  SetWindowPos(Handle(), HWND_TOPMOST, Left(), Top(), Width(), Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TFlyoutControl::HideFlyout() {
  if (FlyoutShowing()) ShowWindow(FHandle, SW_HIDE);
}
