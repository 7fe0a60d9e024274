#include "toolkit/HintWindow.h"

#include "toolkit/HandleGuards.h"

namespace {
// Room between the border and the text.
constexpr int HintPaddingX = 3, HintPaddingY = 1;

UINT TextFlags(bool Wrap) { return DT_NOPREFIX | (Wrap ? DT_WORDBREAK : DT_SINGLELINE); }
}  // namespace

THintWindow::THintWindow() {
  SetColor(clInfoBk);
  Font().SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TFlyoutControl::CreateParams(Params);
  Params.ClassName = L"Torvane.HintWindow";
  Params.Style |= WS_BORDER;
}

RECT THintWindow::CalcHintRect(int MaxWidth, const std::u16string& Text) {
  TDCGuard ScreenDC(nullptr);
  TCanvas Measure(ScreenDC.Get());
  Measure.Font().Assign(Font());
  RECT R{0, 0, MaxWidth > 0 ? MaxWidth - 2 * HintPaddingX - 2 : 0, 0};
  const bool Wrap = MaxWidth > 0 && Measure.TextWidth(std::u16string_view(Text)) > R.right;
  if (!Wrap) R.right = 0;
  Measure.DrawText(std::u16string_view(Text), R, TextFlags(Wrap) | DT_CALCRECT);
  // Border and padding around the text.
  return RECT{0, 0, R.right + 2 * HintPaddingX + 2, R.bottom + 2 * HintPaddingY + 2};
}

void THintWindow::ActivateHint(const RECT& ScreenRect, const std::u16string& Text) {
  const bool Moved = ScreenRect.left != Left() || ScreenRect.top != Top() ||
                     ScreenRect.right - ScreenRect.left != Width() || ScreenRect.bottom - ScreenRect.top != Height();
  if (Text == FText && !Moved && FlyoutShowing()) return;
  FText = Text;
  SetBounds(ScreenRect.left, ScreenRect.top, ScreenRect.right - ScreenRect.left, ScreenRect.bottom - ScreenRect.top);
  FWordWrap = CalcHintRect(0, Text).right > Width();
  Invalidate();
  ShowFlyout();
}

LRESULT THintWindow::WndProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  // The mouse passes through to the control beneath: a hint shown under the pointer must not
  // take the mouse from the control it describes (which would hide the hint again).
  if (Message == WM_NCHITTEST) return HTTRANSPARENT;
  return TFlyoutControl::WndProc(Message, WParam, LParam);
}

void THintWindow::Paint() {
  TCanvas& C = Canvas();
  const RECT Client = ClientRect();
  C.Brush().SetColor(Color());
  C.FillRect(Client);
  C.Font().Assign(Font());
  RECT Text{Client.left + HintPaddingX, Client.top + HintPaddingY, Client.right - HintPaddingX,
            Client.bottom - HintPaddingY};
  C.DrawText(std::u16string_view(FText), Text, TextFlags(FWordWrap));
}
