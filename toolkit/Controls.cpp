#include "toolkit/Controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/win32/WideText.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/HandleGuards.h"

namespace {

// The property that ties a window to its object, for our classes and wrapped platform ones alike. Its
// name carries the process: a window of another process of this program (a second instance, a test
// beside this one) has the property too, and its pointer means nothing here.
const wchar_t* ObjectProperty() {
  static const std::wstring Name = L"TorvaneControl." + std::to_wstring(GetCurrentProcessId());
  return Name.c_str();
}
// Our subclass of a wrapped platform control.
constexpr UINT_PTR SubclassId = 0x54435452;  // 'TCTR'
// Posted to a parent when a control was constructed on it after its window was made.
UINT CreateChildrenMessage() {
  static const UINT Message = RegisterWindowMessageW(L"Torvane.CreateChildren");
  return Message;
}

void RegisterOnce(const std::wstring& ClassName, UINT Style, WNDPROC Procedure) {
  WNDCLASSEXW Existing = {};
  Existing.cbSize = sizeof(Existing);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), ClassName.c_str(), &Existing)) return;
  WNDCLASSEXW Class = {};
  Class.cbSize = sizeof(Class);
  Class.style = Style;
  Class.lpfnWndProc = Procedure;
  Class.hInstance = GetModuleHandleW(nullptr);
  Class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  Class.lpszClassName = ClassName.c_str();
  RegisterClassExW(&Class);
}

}  // namespace

wchar_t AcceleratorOf(const std::string& Caption) {
  const std::wstring Wide = Widen(Caption);
  for (std::size_t I = 0; I + 1 < Wide.size(); ++I) {
    if (Wide[I] != L'&') continue;
    if (Wide[I + 1] != L'&') return Wide[I + 1];
    ++I;  // "&&" stands for a plain "&"
  }
  return 0;
}

namespace {
// Upper case as the user's keyboard knows it (towupper folds A to Z only here).
wchar_t UpperOf(wchar_t Char) {
  return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(UINT_PTR(Char)))));
}
}  // namespace

bool IsAccelerator(wchar_t Char, const std::string& Caption) {
  const wchar_t Accelerator = AcceleratorOf(Caption);
  return Accelerator != 0 && UpperOf(Accelerator) == UpperOf(Char);
}

TShiftState KeyboardShiftState() {
  TShiftState Shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) Shift |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) Shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) Shift |= ssAlt;
  return Shift;
}

TShiftState MouseShiftState(WPARAM KeyFlags) {
  TShiftState Shift = 0;
  if (KeyFlags & MK_SHIFT) Shift |= ssShift;
  if (KeyFlags & MK_CONTROL) Shift |= ssCtrl;
  if (KeyFlags & MK_LBUTTON) Shift |= ssLeft;
  if (KeyFlags & MK_RBUTTON) Shift |= ssRight;
  if (KeyFlags & MK_MBUTTON) Shift |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) Shift |= ssAlt;
  return Shift;
}

TWinControl::TWinControl(TWinControl* Parent) {
  FFont.OnChange = [this] { FontChanged(); };
  if (!Parent) return;
  // No window is made here: a virtual call from this constructor reaches this class's CreateParams
  // and CreateWnd, not the derived control's. A parent that has its window makes ours once the
  // object is complete (the message below), or sooner when someone needs our handle.
  FParent = Parent;
  FCurrentPPI = Parent->FCurrentPPI;
  Parent->AddChild(this);
  if (FParentFont) ParentFontChanged(Parent->Font());
  if (Parent->HandleAllocated()) PostMessageW(Parent->FHandle, CreateChildrenMessage(), 0, 0);
}

TWinControl::~TWinControl() {
  FDestroying = true;
  // Children are usually members of the derived object and are gone by now; any left behind lose their parent.
  for (TWinControl* Child : std::vector<TWinControl*>(FChildren)) Child->FParent = nullptr;
  FChildren.clear();
  DestroyHandle();
  if (FParent) FParent->RemoveChild(this);
}

TWinControl* TWinControl::FromHandle(HWND Window) {
  return Window ? static_cast<TWinControl*>(GetPropW(Window, ObjectProperty())) : nullptr;
}

HWND TWinControl::Handle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params.ClassName = L"Torvane.Control";
  Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  Params.Style |= FParent ? WS_CHILD : WS_OVERLAPPEDWINDOW;
  if (FVisible) Params.Style |= WS_VISIBLE;
  if (!FEnabled) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  Params.ExStyle = WS_EX_CONTROLPARENT;
  Params.Caption = Widen(FCaption);
  Params.X = FLeft, Params.Y = FTop, Params.Width = FWidth, Params.Height = FHeight;
  Params.WndParent = FParent ? FParent->Handle() : nullptr;
}

void TWinControl::CreateHandle() {
  if (FParent && !FParent->HandleAllocated()) {
    FParent->HandleNeeded();  // making the parent's window makes ours too
    if (FHandle) return;
  }
  TCreateParams Params;
  CreateParams(Params);
  HWND Window = nullptr;
  if (Params.SystemClassName.empty()) {
    RegisterOnce(Params.ClassName, Params.ClassStyle, &TWinControl::WindowProc);
    Window = CreateWindowExW(Params.ExStyle, Params.ClassName.c_str(), Params.Caption.c_str(), Params.Style, Params.X,
                             Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr,
                             GetModuleHandleW(nullptr), this);
  } else {
    Window = CreateWindowExW(Params.ExStyle, Params.SystemClassName.c_str(), Params.Caption.c_str(), Params.Style,
                             Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    if (Window) {
      FHandle = Window;
      SetPropW(Window, ObjectProperty(), this);
      FSubclassed = SetWindowSubclass(Window, &TWinControl::SubclassProc, SubclassId, 0) != FALSE;
    }
  }
  if (!Window) throw Exception("Error creating window of class " + Narrow(Params.ClassName + Params.SystemClassName));
  FHandle = Window;
  ApplyFont();
  CreateWnd();
  CreateChildHandles();
}

void TWinControl::CreateChildHandles() {
  // A copy: a child's creation may add controls of its own to this one.
  for (TWinControl* Child : std::vector<TWinControl*>(FChildren))
    if (FHandle && !Child->HandleAllocated()) Child->CreateHandle();
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TWinControl* Child : FChildren) Child->DestroyHandle();
  DestroyWnd();
  HWND Window = FHandle;
  DestroyWindow(Window);  // WM_NCDESTROY clears FHandle
  FHandle = nullptr;
}

void TWinControl::AddChild(TWinControl* Child) { FChildren.push_back(Child); }

void TWinControl::RemoveChild(TWinControl* Child) {
  FChildren.erase(std::remove(FChildren.begin(), FChildren.end(), Child), FChildren.end());
}

void TWinControl::SetParent(TWinControl* Parent) {
  if (Parent == FParent) return;
  if (FParent) FParent->RemoveChild(this);
  FParent = Parent;
  if (FParent) {
    FParent->AddChild(this);
    if (FParentFont) ParentFontChanged(FParent->Font());
    if (FParent->FCurrentPPI != FCurrentPPI) ScaleForPPI(FParent->FCurrentPPI);
  }
  if (FHandle) {
    if (FParent) {
      ::SetParent(FHandle, FParent->Handle());
    } else {
      DestroyHandle();
    }
  } else if (FParent && FParent->HandleAllocated()) {
    CreateHandle();
  }
}

void TWinControl::SetBounds(int Left, int Top, int Width, int Height) {
  if (Left == FLeft && Top == FTop && Width == FWidth && Height == FHeight) return;
  const bool Sized = Width != FWidth || Height != FHeight;
  FLeft = Left, FTop = Top, FWidth = Width, FHeight = Height;
  if (FHandle) {
    SetWindowPos(FHandle, nullptr, Left, Top, Width, Height, SWP_NOZORDER | SWP_NOACTIVATE);
    // The window's own notice finds the size already stored, so a size set from code is reported here.
    if (Sized) Resize();
  } else {
    Resize();
  }
}

void TWinControl::ScaleForPPI(int PPI) {
  if (PPI > 0 && PPI != FCurrentPPI) ChangeScale(PPI, FCurrentPPI);
}

void TWinControl::ChangeScale(int M, int D) {
  if (M <= 0 || D <= 0 || M == D) return;
  FCurrentPPI = ScaleLength(FCurrentPPI, M, D);
  if (!FParentFont || !FParent) FFont.SetHeight(ScaleFontHeight(FFont.Height(), M, D));
  // A copy: scaling a child may make or move controls.
  for (TWinControl* Child : std::vector<TWinControl*>(FChildren)) Child->ScaleForPPI(FCurrentPPI);
  // Children first: a parent that lays them out when it is resized finds them at the new scale. A
  // top-level window keeps its place on the screen.
  if (!FParent) {
    SetBounds(FLeft, FTop, ScaleLength(FWidth, M, D), ScaleLength(FHeight, M, D));
    return;
  }
  const int Left = ScaleLength(FLeft, M, D), Top = ScaleLength(FTop, M, D);
  SetBounds(Left, Top, ScaleLength(FLeft + FWidth, M, D) - Left, ScaleLength(FTop + FHeight, M, D) - Top);
}

RECT TWinControl::ClientRect() {
  RECT Rect = {0, 0, FWidth, FHeight};
  if (FHandle) GetClientRect(FHandle, &Rect);
  return Rect;
}

POINT TWinControl::ScreenToClient(POINT Point) {
  ::ScreenToClient(Handle(), &Point);
  return Point;
}

POINT TWinControl::ClientToScreen(POINT Point) {
  ::ClientToScreen(Handle(), &Point);
  return Point;
}

void TWinControl::SetVisible(bool Visible) {
  if (Visible == FVisible) return;
  FVisible = Visible;
  if (FHandle) ShowWindow(FHandle, Visible ? (FParent ? SW_SHOWNA : SW_SHOW) : SW_HIDE);
  VisibleChanged();
}

bool TWinControl::Showing() const {
  for (const TWinControl* Control = this; Control; Control = Control->FParent)
    if (!Control->FVisible) return false;
  return true;
}

void TWinControl::SetEnabled(bool Enabled) {
  if (Enabled == FEnabled) return;
  FEnabled = Enabled;
  if (FHandle) EnableWindow(FHandle, Enabled);
  EnabledChanged();
  Invalidate();
}

void TWinControl::SetCaption(const std::string& Caption) {
  if (Caption == FCaption && !FHandle) return;
  FCaption = Caption;
  if (FHandle) SetWindowTextW(FHandle, Widen(Caption).c_str());
}

std::string TWinControl::Text() {
  if (!FHandle) return FCaption;
  const int Length = GetWindowTextLengthW(FHandle);
  std::wstring Buffer(static_cast<std::size_t>(Length) + 1, L'\0');
  const int Got = GetWindowTextW(FHandle, Buffer.data(), Length + 1);
  Buffer.resize(static_cast<std::size_t>(std::max(Got, 0)));
  FCaption = Narrow(Buffer);
  return FCaption;
}

void TWinControl::SetParentFont(bool ParentFont) {
  FParentFont = ParentFont;
  if (ParentFont && FParent) ParentFontChanged(FParent->Font());
}

void TWinControl::ParentFontChanged(TFont& Font) {
  if (!FParentFont) return;
  FFont.Assign(Font);
  FParentFont = true;  // Assign raised FontChanged, which clears it for user changes
}

void TWinControl::FontChanged() {
  // A font set on the control itself ends the inheritance from the parent.
  if (FParent && !FFont.SameAs(FParent->Font())) FParentFont = false;
  ApplyFont();
  for (TWinControl* Child : FChildren) Child->ParentFontChanged(FFont);
  Invalidate();
}

void TWinControl::ApplyFont() {
  if (FHandle) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Handle()), FALSE);
}

void TWinControl::SetColor(TColor Color) {
  if (Color == FColor) return;
  FColor = Color;
  Invalidate();
}

void TWinControl::SetTabStop(bool TabStop) {
  FTabStop = TabStop;
  if (FHandle) {
    LONG_PTR Style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    Style = TabStop ? (Style | WS_TABSTOP) : (Style & ~LONG_PTR(WS_TABSTOP));
    SetWindowLongPtrW(FHandle, GWL_STYLE, Style);
  }
}

void TWinControl::Invalidate() {
  if (FHandle) ::InvalidateRect(FHandle, nullptr, FALSE);
}

void TWinControl::InvalidateRect(const RECT& Rect, bool Erase) {
  if (FHandle) ::InvalidateRect(FHandle, &Rect, Erase);
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::SetFocus() {
  if (FHandle) ::SetFocus(FHandle);
}

bool TWinControl::Focused() { return FHandle && GetFocus() == FHandle; }

bool TWinControl::CanFocus() const {
  for (const TWinControl* Control = this; Control; Control = Control->FParent)
    if (!Control->FVisible || !Control->FEnabled) return false;
  return true;
}

void TWinControl::BringToFront() {
  if (FHandle) SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT TWinControl::Perform(UINT Message, WPARAM WParam, LPARAM LParam) { return Dispatch(Message, WParam, LParam); }

void TWinControl::TrackMouse() {
  if (FMouseInside) return;
  FMouseInside = true;
  TRACKMOUSEEVENT Track = {sizeof(Track), TME_LEAVE, FHandle, 0};
  TrackMouseEvent(&Track);
  MouseEnter();
}

void TWinControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}
void TWinControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}
void TWinControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}
void TWinControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}
void TWinControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}
bool TWinControl::MouseWheel(TShiftState, int, POINT) { return false; }
void TWinControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TWinControl::Click() {
  if (OnClick) OnClick(this);
}
void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}
void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}
void TWinControl::KeyPress(wchar_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}
void TWinControl::Resize() {
  if (OnResize) OnResize(this);
}
void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

bool TWinControl::SetCursorFor(int HitTest) {
  if (HitTest != HTCLIENT) return false;
  TCursor Shape = Screen().Cursor() != crDefault ? Screen().Cursor() : FCursor;
  if (Shape == crDefault) return false;
  ::SetCursor(Screen().CursorHandle(Shape));
  return true;
}

bool TWinControl::EraseBackground(HDC DC) {
  if (!FSubclassed) {
    RECT Rect;
    GetClientRect(FHandle, &Rect);
    TBrushHandle Brush(CreateSolidBrush(ColorToRGB(FColor)));
    FillRect(DC, &Rect, Brush.Get());
    return true;
  }
  return false;
}

HBRUSH TWinControl::ControlColor(HDC DC) {
  // Labels, check boxes and buttons sit on their parent's colour.
  const TColor Back = FParent ? FParent->Color() : FColor;
  if (!FBackBrush || FBackBrushColor != Back) {
    FBackBrush.Reset(CreateSolidBrush(ColorToRGB(Back)));
    FBackBrushColor = Back;
  }
  SetTextColor(DC, ColorToRGB(FFont.Color()));
  SetBkColor(DC, ColorToRGB(Back));
  SetBkMode(DC, TRANSPARENT);
  return FBackBrush.Get();
}

bool TWinControl::ShowPopupMenu(int ScreenX, int ScreenY) {
  if (!PopupMenu || !FHandle) return false;
  if (ScreenX == -1 && ScreenY == -1) {
    // From the keyboard: at the control's top left corner.
    POINT Corner = ClientToScreen(POINT{0, 0});
    ScreenX = Corner.x, ScreenY = Corner.y;
  }
  PopupMenu->PopupFor(*this, ScreenX, ScreenY);
  return true;
}

namespace {
TMouseButton ButtonOf(UINT Message) {
  switch (Message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP: return mbLeft;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP: return mbRight;
    default: return mbMiddle;
  }
}

bool IsDoubleClick(UINT Message) {
  return Message == WM_LBUTTONDBLCLK || Message == WM_RBUTTONDBLCLK || Message == WM_MBUTTONDBLCLK;
}

POINT PointOf(LPARAM LParam) { return POINT{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)}; }
}  // namespace

LRESULT TWinControl::WndProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  switch (Message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: return WMButtonDown(Message, WParam, LParam);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: return WMButtonUp(Message, WParam, LParam);
    case WM_MOUSEMOVE: return WMMouseMove(Message, WParam, LParam);
    case WM_MOUSELEAVE: return WMMouseLeave(Message, WParam, LParam);
    case WM_MOUSEWHEEL: return WMMouseWheel(Message, WParam, LParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: return WMKey(Message, WParam, LParam);
    case WM_CHAR: return WMChar(Message, WParam, LParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return WMFocus(Message, WParam, LParam);
    case WM_WINDOWPOSCHANGED: return WMWindowPosChanged(Message, WParam, LParam);
    case WM_SETCURSOR: return WMSetCursor(Message, WParam, LParam);
    case WM_ERASEBKGND: return WMEraseBkgnd(Message, WParam, LParam);
    case WM_GETDLGCODE: return WMGetDlgCode(Message, WParam, LParam);
    case WM_COMMAND: return WMCommand(Message, WParam, LParam);
    case WM_NOTIFY: return WMNotify(Message, WParam, LParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return WMCtlColor(Message, WParam, LParam);
    case WM_DRAWITEM: return WMDrawItem(Message, WParam, LParam);
    case WM_ACTIVATEAPP: return WMActivateApp(Message, WParam, LParam);
    case WM_CONTEXTMENU: return WMContextMenu(Message, WParam, LParam);
    default: return DefaultHandler(Message, WParam, LParam);
  }
}

LRESULT TWinControl::WMButtonDown(UINT Message, WPARAM WParam, LPARAM LParam) {
  const TMouseButton Button = ButtonOf(Message);
  const bool Double = IsDoubleClick(Message);
  const LRESULT Result = FSubclassed ? DefaultHandler(Message, WParam, LParam) : 0;
  if (Double && Button == mbLeft) DblClick();
  // The double click's handler may have destroyed the window.
  const POINT At = PointOf(LParam);
  if (FHandle) MouseDown(Button, MouseShiftState(WParam) | (Double ? TShiftState(ssDouble) : 0u), At.x, At.y);
  return Result;
}

LRESULT TWinControl::WMButtonUp(UINT Message, WPARAM WParam, LPARAM LParam) {
  LRESULT Result = FSubclassed ? DefaultHandler(Message, WParam, LParam) : 0;
  const POINT At = PointOf(LParam);
  MouseUp(ButtonOf(Message), MouseShiftState(WParam), At.x, At.y);
  // The platform turns the release of the right button into the request for the context menu.
  if (!FSubclassed && Message == WM_RBUTTONUP && FHandle) Result = DefaultHandler(Message, WParam, LParam);
  return Result;
}

LRESULT TWinControl::WMMouseMove(UINT Message, WPARAM WParam, LPARAM LParam) {
  TrackMouse();
  const POINT At = PointOf(LParam);
  MouseMove(MouseShiftState(WParam), At.x, At.y);
  return DefaultHandler(Message, WParam, LParam);
}

LRESULT TWinControl::WMMouseLeave(UINT Message, WPARAM WParam, LPARAM LParam) {
  FMouseInside = false;
  MouseLeave();
  return DefaultHandler(Message, WParam, LParam);
}

LRESULT TWinControl::WMMouseWheel(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (MouseWheel(MouseShiftState(GET_KEYSTATE_WPARAM(WParam)), GET_WHEEL_DELTA_WPARAM(WParam), PointOf(LParam)))
    return 0;
  return DefaultHandler(Message, WParam, LParam);
}

LRESULT TWinControl::WMKey(UINT Message, WPARAM WParam, LPARAM LParam) {
  WORD Key = static_cast<WORD>(WParam);
  if (Message == WM_KEYDOWN || Message == WM_SYSKEYDOWN) {
    KeyDown(Key, KeyboardShiftState());
  } else {
    KeyUp(Key, KeyboardShiftState());
  }
  // A handler that took the key sets it to 0.
  if (Key == 0) return 0;
  return DefaultHandler(Message, WParam, LParam);
}

LRESULT TWinControl::WMChar(UINT Message, WPARAM WParam, LPARAM LParam) {
  wchar_t Key = static_cast<wchar_t>(WParam);
  KeyPress(Key);
  if (Key == 0) return 0;
  // The handler may have put another character in its place.
  return DefaultHandler(Message, Key, LParam);
}

LRESULT TWinControl::WMFocus(UINT Message, WPARAM WParam, LPARAM LParam) {
  const LRESULT Result = DefaultHandler(Message, WParam, LParam);
  if (Message == WM_SETFOCUS) {
    DoEnter();
  } else {
    DoExit();
  }
  return Result;
}

LRESULT TWinControl::WMWindowPosChanged(UINT Message, WPARAM WParam, LPARAM LParam) {
  const LRESULT Result = DefaultHandler(Message, WParam, LParam);
  RECT Rect;
  GetWindowRect(FHandle, &Rect);
  if (FParent && FParent->HandleAllocated())
    MapWindowPoints(nullptr, FParent->FHandle, reinterpret_cast<POINT*>(&Rect), 2);
  const bool Sized = Rect.right - Rect.left != FWidth || Rect.bottom - Rect.top != FHeight;
  FLeft = Rect.left, FTop = Rect.top, FWidth = Rect.right - Rect.left, FHeight = Rect.bottom - Rect.top;
  if (Sized) Resize();
  return Result;
}

LRESULT TWinControl::WMSetCursor(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (reinterpret_cast<HWND>(WParam) == FHandle && SetCursorFor(LOWORD(LParam))) return TRUE;
  return DefaultHandler(Message, WParam, LParam);
}

LRESULT TWinControl::WMEraseBkgnd(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (EraseBackground(reinterpret_cast<HDC>(WParam))) return 1;
  return DefaultHandler(Message, WParam, LParam);
}

LRESULT TWinControl::WMGetDlgCode(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (const UINT Code = DialogCode()) return Code | (FSubclassed ? DefaultHandler(Message, WParam, LParam) : 0);
  return DefaultHandler(Message, WParam, LParam);
}

// The four below hand a standard control's notices to its parent back to the control.
LRESULT TWinControl::WMCommand(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (TWinControl* Child = LParam ? FromHandle(reinterpret_cast<HWND>(LParam)) : nullptr)
    if (Child->CommandNotify(HIWORD(WParam))) return 0;
  return DefaultHandler(Message, WParam, LParam);
}

LRESULT TWinControl::WMNotify(UINT Message, WPARAM WParam, LPARAM LParam) {
  auto* Header = reinterpret_cast<NMHDR*>(LParam);
  if (TWinControl* Child = FromHandle(Header->hwndFrom)) {
    LRESULT Result = 0;
    if (Child->Notify(*Header, Result)) return Result;
  }
  return DefaultHandler(Message, WParam, LParam);
}

LRESULT TWinControl::WMCtlColor(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (TWinControl* Child = FromHandle(reinterpret_cast<HWND>(LParam)))
    if (HBRUSH Brush = Child->ControlColor(reinterpret_cast<HDC>(WParam))) return reinterpret_cast<LRESULT>(Brush);
  return DefaultHandler(Message, WParam, LParam);
}

LRESULT TWinControl::WMDrawItem(UINT Message, WPARAM WParam, LPARAM LParam) {
  const auto* Item = reinterpret_cast<const DRAWITEMSTRUCT*>(LParam);
  if (Item->CtlType != ODT_MENU)
    if (TWinControl* Child = FromHandle(Item->hwndItem))
      if (Child->DrawItem(*Item)) return TRUE;
  return DefaultHandler(Message, WParam, LParam);
}

LRESULT TWinControl::WMActivateApp(UINT Message, WPARAM WParam, LPARAM LParam) {
  // The platform tells top-level windows only; the controls inside hear of it from here.
  if (!WParam) {
    EnumChildWindows(
        FHandle,
        [](HWND Child, LPARAM) -> BOOL {
          if (TWinControl* Control = FromHandle(Child)) Control->ApplicationDeactivated();
          return TRUE;
        },
        0);
    ApplicationDeactivated();
  }
  return DefaultHandler(Message, WParam, LParam);
}

LRESULT TWinControl::WMContextMenu(UINT Message, WPARAM WParam, LPARAM LParam) {
  const POINT At = PointOf(LParam);
  if (reinterpret_cast<HWND>(WParam) == FHandle && ShowPopupMenu(At.x, At.y)) return 0;
  return DefaultHandler(Message, WParam, LParam);
}

LRESULT TWinControl::DefaultHandler(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (!FHandle) return 0;
  if (FSubclassed) return DefSubclassProc(FHandle, Message, WParam, LParam);
  return DefWindowProcW(FHandle, Message, WParam, LParam);
}

LRESULT TWinControl::Dispatch(UINT Message, WPARAM WParam, LPARAM LParam) {
  LRESULT Result = 0;
  ReportingErrors([&] {
    if (Message == CreateChildrenMessage()) {
      CreateChildHandles();
    } else {
      Result = WndProc(Message, WParam, LParam);
    }
  });
  return Result;
}

LRESULT CALLBACK TWinControl::WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
  TWinControl* Control = FromHandle(Window);
  if (!Control && Message == WM_NCCREATE) {
    Control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(LParam)->lpCreateParams);
    if (Control) {
      SetPropW(Window, ObjectProperty(), Control);
      Control->FHandle = Window;
    }
  }
  if (!Control) return DefWindowProcW(Window, Message, WParam, LParam);
  if (Message == WM_NCDESTROY) {
    RemovePropW(Window, ObjectProperty());
    Control->FHandle = nullptr;
    Control->FMouseInside = false;
    return DefWindowProcW(Window, Message, WParam, LParam);
  }
  return Control->Dispatch(Message, WParam, LParam);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam, UINT_PTR,
                                           DWORD_PTR) {
  TWinControl* Control = FromHandle(Window);
  if (Message == WM_NCDESTROY) {
    RemoveWindowSubclass(Window, &TWinControl::SubclassProc, SubclassId);
    if (Control) {
      RemovePropW(Window, ObjectProperty());
      Control->FHandle = nullptr;
      Control->FSubclassed = false;
      Control->FMouseInside = false;
    }
    return DefSubclassProc(Window, Message, WParam, LParam);
  }
  if (!Control) return DefSubclassProc(Window, Message, WParam, LParam);
  return Control->Dispatch(Message, WParam, LParam);
}

TCustomControl::TCustomControl(TWinControl* Parent) : TWinControl(Parent) {}

void TCustomControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = L"Torvane.CustomControl";
}

bool TCustomControl::EraseBackground(HDC) { return true; }  // Paint covers every pixel

namespace {
// The control's canvas draws on a DC for one paint; it lets the DC go however the paint ends.
class TCanvasOn {
 public:
  TCanvasOn(TCanvas& Canvas, HDC DC) : FCanvas(Canvas) { FCanvas.SetHandle(DC); }
  ~TCanvasOn() { FCanvas.SetHandle(nullptr); }
  TCanvasOn(const TCanvasOn&) = delete;
  TCanvasOn& operator=(const TCanvasOn&) = delete;

 private:
  TCanvas& FCanvas;
};
}  // namespace

void TCustomControl::PaintWindow(HDC DC, const RECT& Update) {
  if (!DoubleBuffered) {
    TCanvasOn On(FCanvas, DC);
    Paint();
    return;
  }
  // Off-screen: the whole update box is painted in memory and copied in one go, so nothing flickers.
  const int W = Update.right - Update.left, H = Update.bottom - Update.top;
  if (W <= 0 || H <= 0) return;
  TMemoryDC Memory(DC);
  TBitmapHandle Bitmap(CreateCompatibleBitmap(DC, W, H));
  if (!Memory.Get() || !Bitmap) return;
  TSelectedObject Selected(Memory.Get(), Bitmap.Get());
  SetViewportOrgEx(Memory.Get(), -Update.left, -Update.top, nullptr);
  IntersectClipRect(Memory.Get(), Update.left, Update.top, Update.right, Update.bottom);
  {
    TCanvasOn On(FCanvas, Memory.Get());
    Paint();
  }
  SetViewportOrgEx(Memory.Get(), 0, 0, nullptr);
  BitBlt(DC, Update.left, Update.top, W, H, Memory.Get(), 0, 0, SRCCOPY);
}

void TCustomControl::PaintTo(TCanvas& Canvas) {
  TCanvasOn On(FCanvas, Canvas.Handle());
  Paint();
}

LRESULT TCustomControl::WndProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_PAINT) {
    TPaintDC DC(FHandle);
    PaintWindow(DC.Get(), DC.UpdateRect());
    return 0;
  }
  if (Message == WM_PRINTCLIENT) {
    RECT Rect = ClientRect();
    PaintWindow(reinterpret_cast<HDC>(WParam), Rect);
    return 0;
  }
  return TWinControl::WndProc(Message, WParam, LParam);
}
