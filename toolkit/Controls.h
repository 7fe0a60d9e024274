#pragma once
// The window base of every control. One window procedure serves all of them: the object arrives
// through lpCreateParams at WM_NCCREATE, is stored with the window, and messages reach its virtual
// handlers. Standard controls (edit, button, ...) are wrapped by subclassing the platform's class.
#include <windows.h>

#include <string>
#include <vector>

#include "core/Object.h"
#include "toolkit/Canvas.h"
#include "toolkit/Dpi.h"
#include "toolkit/Graphics.h"
#include "toolkit/Screen.h"

class TWinControl;

// A menu a control shows on a right click or the menu key (TPopupMenu is the one in use).
class TContextMenu : public TObject {
 public:
  // Shows the menu for Control at a screen point and runs the chosen item; returns once it is closed.
  virtual void PopupFor(TWinControl& Control, int ScreenX, int ScreenY) = 0;
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64
};
using TShiftState = unsigned;
// The shift-state bit that says Button is held.
constexpr TShiftState ButtonShiftState(TMouseButton Button) {
  return Button == mbLeft ? ssLeft : Button == mbRight ? ssRight : ssMiddle;
}

// The character after the "&" that marks a caption's accelerator ("&&" is a plain "&"), or 0.
wchar_t AcceleratorOf(const std::string& Caption);
// Whether Char (any case) is the caption's accelerator.
bool IsAccelerator(wchar_t Char, const std::string& Caption);

// Shift state from the keyboard right now, and from a mouse message's key flags.
TShiftState KeyboardShiftState();
TShiftState MouseShiftState(WPARAM KeyFlags);

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, wchar_t& Key)>;

class TWinControl : public TObject {
 public:
  explicit TWinControl(TWinControl* Parent = nullptr);
  ~TWinControl() override;
  TWinControl(const TWinControl&) = delete;
  TWinControl& operator=(const TWinControl&) = delete;

  // The window, made on first use (its parent's first).
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  // The object behind one of our windows, or null.
  static TWinControl* FromHandle(HWND Window);

  TWinControl* Parent() const { return FParent; }
  void SetParent(TWinControl* Parent);
  const std::vector<TWinControl*>& Controls() const { return FChildren; }

  // Position and size in the parent's client coordinates (the screen's for top-level windows).
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  RECT BoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  void SetBounds(int Left, int Top, int Width, int Height);
  void SetLeft(int Left) { SetBounds(Left, FTop, FWidth, FHeight); }
  void SetTop(int Top) { SetBounds(FLeft, Top, FWidth, FHeight); }
  void SetWidth(int Width) { SetBounds(FLeft, FTop, Width, FHeight); }
  void SetHeight(int Height) { SetBounds(FLeft, FTop, FWidth, Height); }
  RECT ClientRect();
  int ClientWidth() { return ClientRect().right; }
  int ClientHeight() { return ClientRect().bottom; }
  POINT ScreenToClient(POINT Point);
  POINT ClientToScreen(POINT Point);

  // The density the control's sizes are laid out for: 96 pixels per inch until it is scaled. A
  // control made later on a scaled parent starts at the parent's density.
  int CurrentPPI() const { return FCurrentPPI; }
  // A length of the 96-pixels-per-inch layout at the control's density, and back.
  int ScaleValue(int Value) const { return ScaleLength(Value, FCurrentPPI, DesignPPI); }
  int UnscaleValue(int Value) const { return ScaleLength(Value, DesignPPI, FCurrentPPI); }
  // Scales the control and its children to PPI pixels per inch (nothing when already there).
  void ScaleForPPI(int PPI);
  // Scales the control and its children by M/D: the density, the control's own font (children that
  // take their parent's font follow it), the children, then the bounds (a top-level window keeps its
  // place and scales its size). Controls with sizes of their own scale them after this.
  virtual void ChangeScale(int M, int D);

  bool Visible() const { return FVisible; }
  void SetVisible(bool Visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent too.
  bool Showing() const;
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Enabled);
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Caption);
  // The window's current text (for edit controls: what the user typed).
  std::string Text();
  void SetText(const std::string& Text) { SetCaption(Text); }

  TFont& Font() { return FFont; }
  // With ParentFont on, the control takes its parent's font and follows its changes.
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool ParentFont);
  TColor Color() const { return FColor; }
  void SetColor(TColor Color);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Cursor) { FCursor = Cursor; }
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool TabStop);
  int Tag = 0;
  std::string Name;
  // Shown on a right click or the menu key (not owned).
  TContextMenu* PopupMenu = nullptr;

  void Invalidate();
  void InvalidateRect(const RECT& Rect, bool Erase = false);
  void Update();  // paints what is invalid now
  void Repaint() {
    Invalidate();
    Update();
  }
  void SetFocus();
  bool Focused();
  bool CanFocus() const;
  // True while the control needs Escape itself (an open drop-down, an in-place editor), so that the
  // window does not take it as a cancel request.
  virtual bool WantsEscape() { return false; }
  void BringToFront();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TNotifyEvent OnResize;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // Sends a message straight to the window procedure of this control (used by tests and helpers).
  LRESULT Perform(UINT Message, WPARAM WParam = 0, LPARAM LParam = 0);
  // Destroys the window (children first); the object stays and makes a new one on demand.
  void DestroyHandle();
  // Alt+Char was pressed in the control's form: answers whether this control took it as its
  // accelerator (and acted on it: focus, click, toggle).
  virtual bool WantsAccelerator(wchar_t Char) {
    (void)Char;
    return false;
  }

 protected:
  struct TCreateParams {
    std::wstring ClassName;        // our window class (registered on first use)
    std::wstring SystemClassName;  // or a platform class to wrap, e.g. L"EDIT"
    std::wstring Caption;
    DWORD Style = 0, ExStyle = 0;
    UINT ClassStyle = CS_DBLCLKS;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
  };
  virtual void CreateParams(TCreateParams& Params);
  // After the window exists (font set, children not yet made).
  virtual void CreateWnd() {}
  // Before the window goes.
  virtual void DestroyWnd() {}

  // The message dispatch: handlers below get first say, the rest goes to DefaultHandler.
  virtual LRESULT WndProc(UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT DefaultHandler(UINT Message, WPARAM WParam, LPARAM LParam);

  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  // Wheel turns in units of WHEEL_DELTA; answers whether it was used.
  virtual bool MouseWheel(TShiftState Shift, int Delta, POINT ScreenPos);
  virtual void DblClick();
  virtual void Click();
  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void KeyPress(wchar_t& Key);
  virtual void Resize();
  virtual void DoEnter();
  virtual void DoExit();
  virtual void FontChanged();
  virtual void EnabledChanged() {}
  virtual void VisibleChanged() {}
  // Another program became active: presses, drags and popups of the control end here. Every
  // control of a top-level window hears of it, not only the window itself.
  virtual void ApplicationDeactivated() {}
  // WM_COMMAND and WM_NOTIFY that a standard control sent its parent, handed back to the control.
  virtual bool CommandNotify(WORD Code) {
    (void)Code;
    return false;
  }
  virtual bool Notify(NMHDR& Header, LRESULT& Result) {
    (void)Header, (void)Result;
    return false;
  }
  // WM_SETCURSOR: answers true when the cursor was set.
  virtual bool SetCursorFor(int HitTest);
  // Background erase; owner-drawn controls paint everything and skip it.
  virtual bool EraseBackground(HDC DC);
  // Which keys the control handles itself (WM_GETDLGCODE bits).
  virtual UINT DialogCode() { return 0; }
  // WM_CTLCOLOR* of a wrapped static or button control: its text and background colours, and the
  // background brush (null: the platform's default).
  virtual HBRUSH ControlColor(HDC DC);
  // WM_DRAWITEM of an owner-drawn part of a wrapped control; true when drawn.
  virtual bool DrawItem(const DRAWITEMSTRUCT& Item) {
    (void)Item;
    return false;
  }
  // Runs PopupMenu at a screen point (-1, -1: from the keyboard); false without one.
  bool ShowPopupMenu(int ScreenX, int ScreenY);
  bool Subclassed() const { return FSubclassed; }
  bool MouseInside() const { return FMouseInside; }

  HWND FHandle = nullptr;

 private:
  friend class TApplication;
  static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
  static LRESULT CALLBACK SubclassProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam, UINT_PTR Id,
                                       DWORD_PTR Data);
  LRESULT Dispatch(UINT Message, WPARAM WParam, LPARAM LParam);
  // WndProc's handlers, one per message (or family of messages); each ends in DefaultHandler unless
  // it answered the message itself.
  LRESULT WMButtonDown(UINT Message, WPARAM WParam, LPARAM LParam);  // double clicks too
  LRESULT WMButtonUp(UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT WMMouseMove(UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT WMMouseLeave(UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT WMMouseWheel(UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT WMKey(UINT Message, WPARAM WParam, LPARAM LParam);  // down and up, system keys too
  LRESULT WMChar(UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT WMFocus(UINT Message, WPARAM WParam, LPARAM LParam);  // gained and lost
  LRESULT WMWindowPosChanged(UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT WMSetCursor(UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT WMEraseBkgnd(UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT WMGetDlgCode(UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT WMCommand(UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT WMNotify(UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT WMCtlColor(UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT WMDrawItem(UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT WMActivateApp(UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT WMContextMenu(UINT Message, WPARAM WParam, LPARAM LParam);
  void CreateHandle();
  void CreateChildHandles();  // of the children that have no window yet
  void ParentFontChanged(TFont& Font);
  void ApplyFont();
  void AddChild(TWinControl* Child);
  void RemoveChild(TWinControl* Child);
  void TrackMouse();

  TWinControl* FParent = nullptr;
  std::vector<TWinControl*> FChildren;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  int FCurrentPPI = DesignPPI;
  bool FVisible = true, FEnabled = true, FTabStop = false, FParentFont = true;
  bool FMouseInside = false, FDestroying = false;
  std::string FCaption;
  TFont FFont;
  TColor FColor = clBtnFace;
  TCursor FCursor = crDefault;
  bool FSubclassed = false;  // a wrapped platform control, subclassed with SetWindowSubclass
  TBrushHandle FBackBrush;   // ControlColor's brush and the colour it was made for
  TColor FBackBrushColor = clNone;
};

// A control that paints itself on a canvas, optionally through an off-screen bitmap.
class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TWinControl* Parent = nullptr);
  TCanvas& Canvas() { return FCanvas; }
  bool DoubleBuffered = true;
  // Paints into a canvas of the caller (tests paint into memory bitmaps).
  void PaintTo(TCanvas& Canvas);

 protected:
  virtual void Paint() {}
  LRESULT WndProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  bool EraseBackground(HDC DC) override;
  void CreateParams(TCreateParams& Params) override;

 private:
  void PaintWindow(HDC DC, const RECT& Update);
  TCanvas FCanvas;
};
