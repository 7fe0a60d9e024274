#include "taskpane/tpCore.h"

#include <cwctype>

#include "platform/win32/WideText.h"

namespace {
// String resource of resources/taskpane.rc that names the control library and its version.
constexpr UINT VersionStringId = 52001;
const char* const VersionFallback = "Torvane task-pane controls 2.0.1";
}  // namespace

TtpCustomControl::TtpCustomControl(TWinControl* Parent) : TCustomControl(Parent) {
  DoubleBuffered = true;
  if (Parent) TCustomControl::SetColor(Parent->Color());
}

void TtpCustomControl::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.ClassName = L"Torvane.tpCustomControl";
  Params.ClassStyle |= CS_HREDRAW | CS_VREDRAW;
}

std::string TtpCustomControl::Version() const {
  const wchar_t* Text = nullptr;
  const int Length = LoadStringW(GetModuleHandleW(nullptr), VersionStringId, reinterpret_cast<LPWSTR>(&Text), 0);
  if (Length > 0 && Text) return Narrow(std::wstring_view(Text, static_cast<std::size_t>(Length)));
  return VersionFallback;
}

void TtpCustomControl::Redraw() {
  if (!FLocked) Invalidate();
}

void TtpCustomControl::BeginUpdate() { FLocked = true; }

void TtpCustomControl::EndUpdate() {
  FLocked = false;
  Redraw();
}

void TtpCustomControl::DoBorderChanged() { RedrawOn(rtBorderChanged); }
void TtpCustomControl::DoEnabledChanged() { RedrawOn(rtEnabledChanged); }

void TtpCustomControl::DoFocusChanged() {
  if (Focused()) {
    Include(dsFocused);
  } else {
    Exclude(dsFocused);
    Exclude(dsClicked);
  }
  RedrawOn(rtFocusChanged);
}

void TtpCustomControl::DoMouseDown() {
  if (!Focused() && CanFocus()) SetFocus();
  Include(dsClicked);
  RedrawOn(rtMouseDown);
}

void TtpCustomControl::DoMouseEnter() {
  Include(dsHighlight);
  RedrawOn(rtMouseEnter);
  TCustomControl::MouseEnter();  // raises OnMouseEnter
}

void TtpCustomControl::DoMouseLeave() {
  Exclude(dsHighlight);
  RedrawOn(rtMouseLeave);
  TCustomControl::MouseLeave();  // raises OnMouseLeave
}

void TtpCustomControl::DoMouseMove(int, int) { RedrawOn(rtMouseMove); }

void TtpCustomControl::DoMouseUp() {
  Exclude(dsClicked);
  RedrawOn(rtMouseUp);
  // The pointer may have been dragged onto another task-pane control while the button was held; that
  // control saw no enter event, so it gets one now.
  POINT Cursor;
  if (!GetCursorPos(&Cursor)) return;
  auto* Other = dynamic_cast<TtpCustomControl*>(TWinControl::FromHandle(WindowFromPoint(Cursor)));
  if (Other && Other != this) Other->DoMouseEnter();
}

void TtpCustomControl::DoParentColorChanged() {
  if (FParentColor && Parent()) ApplyColor(Parent()->Color());
  RedrawOn(rtParentColorChanged);
}

void TtpCustomControl::SetColor(TColor Color) {
  FParentColor = false;
  ApplyColor(Color);
}

void TtpCustomControl::SetParentColor(bool Value) {
  if (Value == FParentColor) return;
  FParentColor = Value;
  if (Value && Parent()) ApplyColor(Parent()->Color());
}

void TtpCustomControl::ApplyColor(TColor Color) {
  if (Color == this->Color()) return;
  TCustomControl::SetColor(Color);
  for (TWinControl* Child : Controls())
    if (auto* Pane = dynamic_cast<TtpCustomControl*>(Child)) Pane->DoParentColorChanged();
}

void TtpCustomControl::DoParentFontChanged() { RedrawOn(rtParentFontChanged); }
void TtpCustomControl::DoPositionChanged() { RedrawOn(rtPositionChanged); }
void TtpCustomControl::DoSizeChanged() { RedrawOn(rtSizeChanged); }
void TtpCustomControl::DoTextChanged() { RedrawOn(rtTextChanged); }

bool TtpCustomControl::DialogChar(wchar_t Char) {
  const wchar_t Accelerator = AcceleratorOf(Caption());
  if (!Accelerator || std::towupper(Accelerator) != std::towupper(Char)) return false;
  if (!CanFocus()) return false;
  if (!Focused() && GetKeyState(VK_MENU) >= 0) return false;
  Click();
  return true;
}

void TtpCustomControl::Click() { TCustomControl::Click(); }

LRESULT TtpCustomControl::WndProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  switch (Message) {
    case WM_SETTEXT: {
      const LRESULT Result = TCustomControl::WndProc(Message, WParam, LParam);
      DoTextChanged();
      return Result;
    }
    case WM_MOVE: {
      const LRESULT Result = TCustomControl::WndProc(Message, WParam, LParam);
      DoPositionChanged();
      return Result;
    }
    case WM_CAPTURECHANGED:
      // Losing the mouse to another window ends a press without a release.
      if (FClicking && reinterpret_cast<HWND>(LParam) != FHandle) {
        FClicking = false;
        DoMouseUp();
      }
      break;
    default: break;
  }
  return TCustomControl::WndProc(Message, WParam, LParam);
}

void TtpCustomControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FClicking = true;
  if (FHandle) SetCapture(FHandle);
  DoMouseDown();
}

void TtpCustomControl::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  DoMouseMove(X, Y);
}

void TtpCustomControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (!FClicking) return;
  FClicking = false;
  const RECT Client = ClientRect();
  const bool Inside = Button == mbLeft && X >= 0 && Y >= 0 && X < Client.right && Y < Client.bottom;
  if (FHandle && GetCapture() == FHandle) ReleaseCapture();
  if (Inside) Click();
  DoMouseUp();
}

void TtpCustomControl::MouseEnter() { DoMouseEnter(); }
void TtpCustomControl::MouseLeave() { DoMouseLeave(); }

void TtpCustomControl::DoEnter() {
  TCustomControl::DoEnter();
  DoFocusChanged();
}

void TtpCustomControl::DoExit() {
  TCustomControl::DoExit();
  DoFocusChanged();
}

void TtpCustomControl::EnabledChanged() {
  TCustomControl::EnabledChanged();
  DoEnabledChanged();
}

void TtpCustomControl::FontChanged() {
  // A font that arrives from the parent is the parent's font change reaching this control.
  const bool FromParent = ParentFont() && Parent() && Font().SameAs(Parent()->Font());
  TCustomControl::FontChanged();
  if (FromParent) DoParentFontChanged();
}

void TtpCustomControl::Resize() {
  TCustomControl::Resize();
  DoSizeChanged();
}
