#include "toolkit/ComCtrls.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "core/FormatSettings.h"
#include "platform/win32/WideText.h"
#include "toolkit/HandleGuards.h"

TDateTimePicker::TDateTimePicker(TWinControl* Parent) : TStdControl(Parent) {
  SetTabStop(true);
  SetColor(clWindow);
}

void TDateTimePicker::CreateParams(TCreateParams& Params) {
  TStdControl::CreateParams(Params);
  Params.SystemClassName = DATETIMEPICK_CLASSW;
  Params.Style |= DTS_SHORTDATEFORMAT;
}

void TDateTimePicker::CreateWnd() {
  // The locale's short date as an explicit picture: the control's own short-date form pads one-digit
  // fields with blanks.
  std::wstring Format = Widen(FormatSettings().ShortDateFormat);
  SendMessageW(FHandle, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(Format.data()));
  FitText();
  if (FDate != 0.0) SetDate(FDate);
}

void TDateTimePicker::FontChanged() {
  TStdControl::FontChanged();
  FitText();
}

void TDateTimePicker::Resize() {
  TStdControl::Resize();
  // A picker scaled after its font (the font comes from the parent first) fits it to its new width.
  FitText();
}

void TDateTimePicker::FitText() {
  if (!FHandle) return;
  // Some platforms lay the fields out as wide as their widest value ("22/22/2222") and a narrow
  // picker then hides the year's last digits: the text takes a smaller size of the font until the
  // whole date fits, down to four fifths of it.
  FFitFont.Assign(Font());
  const int Designed = Font().Height();
  for (int Height = Designed;; ++Height) {
    FFitFont.SetHeight(Height);
    SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFitFont.Handle()), TRUE);
    SIZE Ideal{};
    if (Designed >= 0 || Height >= Designed * 4 / 5 ||
        !SendMessageW(FHandle, DTM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&Ideal)) || Ideal.cx <= Width())
      break;
  }
}

TDateTime TDateTimePicker::Date() {
  if (!HandleAllocated()) return FDate;
  SYSTEMTIME Time = {};
  TDateTime Value = 0.0;
  if (SendMessageW(FHandle, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&Time)) == GDT_VALID &&
      TryEncodeDate(Time.wYear, Time.wMonth, Time.wDay, Value))
    FDate = Value;
  return FDate;
}

void TDateTimePicker::SetDate(TDateTime Value) {
  FDate = DateOf(Value);
  if (!HandleAllocated()) return;
  const TDateTimeParts Parts = DecodeDateTime(FDate);
  SYSTEMTIME Time = {};
  Time.wYear = static_cast<WORD>(Parts.Year);
  Time.wMonth = static_cast<WORD>(Parts.Month);
  Time.wDay = static_cast<WORD>(Parts.Day);
  Time.wDayOfWeek = static_cast<WORD>(Parts.DayOfWeek - 1);
  SendMessageW(FHandle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&Time));
}

TStatusBar::TStatusBar(TWinControl* Parent) : TStdControl(Parent) {}

void TStatusBar::CreateParams(TCreateParams& Params) {
  TStdControl::CreateParams(Params);
  Params.SystemClassName = STATUSCLASSNAMEW;
  // The owner places the bar; the platform's own placement would fight the layout.
  Params.Style |= SBARS_SIZEGRIP | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
}

void TStatusBar::CreateWnd() {
  FEdges.clear();
  ApplyParts();
  for (int I = 0; I < PanelCount(); ++I) ApplyText(I);
}

void TStatusBar::AddPanel(int Width, TAlignment Alignment, TStatusPanelStyle Style) {
  TStatusPanel Panel;
  Panel.Width = Width;
  Panel.Alignment = Alignment;
  Panel.Style = Style;
  FPanels.push_back(Panel);
  ApplyParts();
  ApplyText(PanelCount() - 1);
}

int TStatusBar::ShownWidth(const TStatusPanel& Panel) {
  if (Panel.Style == psOwnerDraw || Panel.Text.empty()) return Panel.Width;
  TDCGuard Screen(nullptr);
  TSelectedObject Selected(Screen.Get(), Font().Handle());
  const std::wstring Text = Widen(Panel.Text);
  SIZE Size = {0, 0};
  GetTextExtentPoint32W(Screen.Get(), Text.c_str(), static_cast<int>(Text.size()), &Size);
  // The bar draws a panel's text inside its edges and a margin on either side.
  return std::max(Panel.Width, static_cast<int>(Size.cx) + ScaleValue(TextMargin));
}

void TStatusBar::ApplyParts() {
  if (!HandleAllocated() || FPanels.empty()) return;
  std::vector<int> Edges;
  int Right = 0;
  for (const TStatusPanel& Panel : FPanels) Edges.push_back(Right += ShownWidth(Panel));
  Edges.back() = -1;
  // The same parts again would repaint the whole bar at every progress refresh.
  if (Edges == FEdges) return;
  FEdges = Edges;
  SendMessageW(FHandle, SB_SETPARTS, Edges.size(), reinterpret_cast<LPARAM>(Edges.data()));
}

void TStatusBar::FontChanged() {
  TStdControl::FontChanged();
  ApplyParts();
}

void TStatusBar::ChangeScale(int M, int D) {
  TStdControl::ChangeScale(M, D);
  for (TStatusPanel& Panel : FPanels) Panel.Width = ScaleLength(Panel.Width, M, D);
  ApplyParts();
}

void TStatusBar::SetPanelText(int Index, const std::string& Text) {
  TStatusPanel& Panel = FPanels.at(static_cast<std::size_t>(Index));
  if (Panel.Text == Text) return;
  Panel.Text = Text;
  ApplyParts();
  ApplyText(Index);
}

void TStatusBar::ApplyText(int Index) {
  if (!HandleAllocated()) return;
  const TStatusPanel& Panel = FPanels[static_cast<std::size_t>(Index)];
  if (Panel.Style == psOwnerDraw) {
    SendMessageW(FHandle, SB_SETTEXTW, static_cast<WPARAM>(Index) | SBT_OWNERDRAW, 0);
    return;
  }
  // A tab before the text centres it, two align it right.
  const std::wstring Prefix = Panel.Alignment == taCenter ? L"\t" : Panel.Alignment == taRightJustify ? L"\t\t" : L"";
  const std::wstring Text = Prefix + Widen(Panel.Text);
  SendMessageW(FHandle, SB_SETTEXTW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(Text.c_str()));
}

RECT TStatusBar::PanelRect(int Index) {
  RECT Rect = {0, 0, 0, 0};
  if (HandleAllocated()) SendMessageW(FHandle, SB_GETRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&Rect));
  return Rect;
}

void TStatusBar::DrawPanelText(int Index, const RECT& Rect, HDC DC) {
  const TStatusPanel& Panel = FPanels.at(static_cast<std::size_t>(Index));
  if (Panel.Text.empty()) return;
  TSelectedObject Selected(DC, Font().Handle());
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, GetSysColor(COLOR_BTNTEXT));
  RECT Box = Rect;
  InflateRect(&Box, -ScaleValue(TextMargin) / 4, 0);
  const UINT Align = Panel.Alignment == taCenter ? DT_CENTER : Panel.Alignment == taRightJustify ? DT_RIGHT : DT_LEFT;
  const std::wstring Text = Widen(Panel.Text);
  DrawTextW(DC, Text.c_str(), static_cast<int>(Text.size()), &Box,
            Align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

bool TStatusBar::DrawItem(const DRAWITEMSTRUCT& Item) {
  const int Index = static_cast<int>(Item.itemID);
  if (OnDrawPanel) {
    OnDrawPanel(this, Index, Item.rcItem, Item.hDC);
  } else if (Color() != clBtnFace) {
    // The bar has painted the panel's background (and, themed, its divider, inside the rectangle
    // handed over here); only a colour of our own is painted over it.
    TBrushHandle Brush(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(Item.hDC, &Item.rcItem, Brush.Get());
  }
  return true;
}

TProgressBar::TProgressBar(TWinControl* Parent) : TStdControl(Parent) {}

void TProgressBar::CreateParams(TCreateParams& Params) {
  TStdControl::CreateParams(Params);
  Params.SystemClassName = PROGRESS_CLASSW;
}

void TProgressBar::CreateWnd() {
  SendMessageW(FHandle, PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  SendMessageW(FHandle, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::SetRange(int Min, int Max) {
  FMin = Min;
  FMax = std::max(Min, Max);
  if (HandleAllocated()) SendMessageW(FHandle, PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  SetPosition(FPosition);
}

void TProgressBar::SetPosition(int Value) {
  FPosition = std::clamp(Value, FMin, FMax);
  if (HandleAllocated()) SendMessageW(FHandle, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::StepIt() {
  int Next = FPosition + FStep;
  const int Span = FMax - FMin;
  if (Next > FMax && Span > 0) Next = FMin + (Next - FMin) % Span;
  SetPosition(Next);
}

void TToolTip::SetText(const std::string& Text) { FText = Widen(Text); }

void TToolTip::Add(HWND Window) {
  const HWND Owner = GetAncestor(Window, GA_ROOT);
  if (!FWindow) {
    FWindow.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Owner, nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
    if (!FWindow) return;  // the window works without its tips
  }
  TTTOOLINFOW Tool = {};
  Tool.cbSize = sizeof Tool;
  Tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  Tool.hwnd = Owner;
  Tool.uId = reinterpret_cast<UINT_PTR>(Window);
  Tool.lpszText = FText.data();
  SendMessageW(FWindow.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&Tool));
}
