#include "gridview/win32/TextualEditor.h"

#include <windowsx.h>

#include <algorithm>

#include "core/Text.h"
#include "gridview/win32/DrawProviders.h"
#include "platform/win32/WideText.h"
#include "toolkit/Application.h"

// The platform edit box inside the editor; everything it receives goes to the editor first.
class TTextualEditor::TEditBox : public TWinControl {
 public:
  explicit TEditBox(TTextualEditor& Owner) : TWinControl(&Owner), FOwner(Owner) {}

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    Params.SystemClassName = L"EDIT";
    Params.ExStyle = 0;
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS | ES_AUTOHSCROLL | (Visible() ? WS_VISIBLE : 0);
    if (FOwner.ReadOnly() || !FOwner.EditBoxVisible()) Params.Style |= ES_READONLY;
    switch (FOwner.Alignment()) {
      case taRightJustify: Params.Style |= ES_RIGHT; break;
      case taCenter: Params.Style |= ES_CENTER; break;
      default: break;
    }
  }
  // The text rectangle is the box itself: no inner margins.
  void CreateWnd() override { SendMessageW(FHandle, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0); }
  // A re-made window (new alignment or margin) starts with the text of the old one.
  void DestroyWnd() override { Text(); }
  UINT DialogCode() override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
  void KeyDown(WORD& Key, TShiftState Shift) override { FOwner.HandleKeyDown(Key, Shift); }
  void KeyUp(WORD& Key, TShiftState Shift) override { FOwner.KeyUp(Key, Shift); }
  void KeyPress(wchar_t& Key) override { FOwner.HandleKeyPress(Key); }
  bool MouseWheel(TShiftState, int Delta, POINT) override { return FOwner.HandleWheel(Delta); }
  void DoEnter() override { FOwner.EditEnter(); }
  void DoExit() override { FOwner.EditExit(); }
  void MouseEnter() override { FOwner.UpdateHover(); }
  void MouseLeave() override { FOwner.UpdateHover(); }
  bool CommandNotify(WORD Code) override {
    if (Code != EN_CHANGE) return false;
    FOwner.TextChanged();
    return true;
  }
  bool SetCursorFor(int HitTest) override { return HitTest == HTCLIENT && FOwner.SetCursorFor(HitTest); }
  LRESULT WndProc(UINT Message, WPARAM WParam, LPARAM LParam) override {
    if (Message == WM_PASTE && FOwner.EditPaste()) return 0;
    if (Message == WM_KILLFOCUS) {
      const LRESULT Result = TWinControl::WndProc(Message, WParam, LParam);
      FOwner.FocusLeaving(reinterpret_cast<HWND>(WParam));
      return Result;
    }
    if ((Message == WM_LBUTTONDOWN || Message == WM_LBUTTONDBLCLK) && Left() + GET_X_LPARAM(LParam) < SelectStrip) {
      // The strip at the editor's left edge selects everything, wherever the box begins.
      SetFocus();
      FOwner.SelectAll();
      return 0;
    }
    return TWinControl::WndProc(Message, WParam, LParam);
  }

 private:
  TTextualEditor& FOwner;
};

namespace {
void RegisterEditorCursor() {
  static bool Done = false;
  if (Done) return;
  Done = true;
  Screen().RegisterCursor(crReversedArrow, "REVERSEDARROW");
}
}  // namespace

TTextualEditor::TTextualEditor() : FEdit(std::make_unique<TEditBox>(*this)) { RegisterEditorCursor(); }

TTextualEditor::~TTextualEditor() = default;

HWND TTextualEditor::EditHandle() { return FEdit->Handle(); }

std::u16string TTextualEditor::EditText() const {
  if (!FEdit->HandleAllocated()) return Utf8ToUtf16(FEdit->Caption());
  return ToU16(Widen(FEdit->Text()));
}

void TTextualEditor::SetEditText(const std::u16string& Value) {
  if (Value == EditText()) return;
  FEdit->SetText(Narrow(FromU16(Value)));
  // A window reports the change itself (EN_CHANGE); without one it is reported here.
  if (!FEdit->HandleAllocated()) TextChanged();
}

void TTextualEditor::SetReadOnly(bool Value) {
  FReadOnly = Value;
  UpdateEditBox();
}

void TTextualEditor::SetShowPreview(bool Value) {
  if (Value == FShowPreview) return;
  FShowPreview = Value;
  LayoutControls();
  Invalidate();
}

void TTextualEditor::UpdateEditBox() {
  FEdit->SetVisible(EditBoxVisible());
  if (FEdit->HandleAllocated()) SendMessageW(FEdit->Handle(), EM_SETREADONLY, FReadOnly || !EditBoxVisible(), 0);
}

int TTextualEditor::SelStart() {
  DWORD Start = 0, End = 0;
  SendMessageW(FEdit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
  return static_cast<int>(Start);
}

int TTextualEditor::SelLength() {
  DWORD Start = 0, End = 0;
  SendMessageW(FEdit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
  return static_cast<int>(End - Start);
}

void TTextualEditor::SetSelection(int Start, int Length) {
  SendMessageW(FEdit->Handle(), EM_SETSEL, static_cast<WPARAM>(Start), static_cast<LPARAM>(Start + Length));
}

void TTextualEditor::SelectAll() {
  if (FEdit->HandleAllocated()) SendMessageW(FEdit->Handle(), EM_SETSEL, 0, -1);
}

void TTextualEditor::AfterShow() {
  if (!FEdit->HandleAllocated()) return;
  const int Length = GetWindowTextLengthW(FEdit->Handle());
  SendMessageW(FEdit->Handle(), EM_SETSEL, static_cast<WPARAM>(Length), static_cast<LPARAM>(Length));
}

int TTextualEditor::LineHeight() {
  TDCGuard Screen(nullptr);
  TCanvas Canvas(Screen.Get());
  Canvas.Font().Assign(Font());
  return Canvas.TextHeight(u"Wg");
}

RECT TTextualEditor::TextRect() {
  const RECT Client = ClientRect();
  const int Left = Margin() + 2 + (FShowPreview ? PreviewSpace : 0);
  const int Right = std::max(Left, static_cast<int>(Client.right) - Margin() - 1 - ButtonsWidth());
  const int Line = LineHeight();
  int Top = Margin();
  if (VerticalAlignment() == vaMiddle) Top = (Client.bottom - 1) / 2 - Line / 2;
  if (VerticalAlignment() == vaBottom) Top = Client.bottom - Margin() - Line;
  return RECT{Left, Top, Right, Top + Line};
}

RECT TTextualEditor::PreviewRect() {
  const RECT Client = ClientRect();
  const int Left = std::max(Margin(), 0) + 2;
  return RECT{Left, 0, Left + PreviewWidth, Client.bottom};
}

void TTextualEditor::LayoutControls() {
  const RECT Text = TextRect();
  FEdit->SetBounds(Text.left, Text.top, Text.right - Text.left, Text.bottom - Text.top);
}

void TTextualEditor::CreateWnd() {
  TCellEditor::CreateWnd();
  LayoutControls();
}

void TTextualEditor::Resize() {
  TCellEditor::Resize();
  LayoutControls();
}

void TTextualEditor::FontChanged() {
  TCellEditor::FontChanged();
  LayoutControls();
}

void TTextualEditor::DoEnter() {
  TCellEditor::DoEnter();
  if (EditBoxVisible() && FEdit->HandleAllocated() && FEdit->Visible()) FEdit->SetFocus();
}

void TTextualEditor::EditEnter() {
  if (FAutoSelect) SelectAll();
}

void TTextualEditor::HandleKeyDown(WORD& Key, TShiftState Shift) {
  if (Key == 0) return;
  if (EditorKeyFirst(Key, Shift) || HostKeyDown(Key, Shift) || EditKeyDown(Key, Shift)) {
    Key = 0;
    return;
  }
  TWinControl::KeyDown(Key, Shift);
}

void TTextualEditor::KeyDown(WORD& Key, TShiftState Shift) { HandleKeyDown(Key, Shift); }

void TTextualEditor::KeyUp(WORD& Key, TShiftState Shift) {
  EditKeyUp(Key, Shift);
  TCellEditor::KeyUp(Key, Shift);
}

void TTextualEditor::HandleKeyPress(wchar_t& Key) {
  // Enter and Escape act on key down (the grid accepts or discards); their characters would beep.
  if (Key == L'\r' || Key == L'\n' || Key == 27) {
    Key = 0;
    return;
  }
  EditKeyPress(Key);
  if (Key) TCellEditor::KeyPress(Key);
}

void TTextualEditor::KeyPress(wchar_t& Key) { HandleKeyPress(Key); }

bool TTextualEditor::HandleWheel(int Delta) {
  FWheelRest += Delta;
  const int Notches = FWheelRest / WHEEL_DELTA;
  FWheelRest %= WHEEL_DELTA;
  return Notches != 0 && EditMouseWheel(Notches);
}

bool TTextualEditor::MouseWheel(TShiftState, int Delta, POINT) { return HandleWheel(Delta); }

void TTextualEditor::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && EditBoxVisible() && FEdit->HandleAllocated()) {
    FEdit->SetFocus();
    if (X < SelectStrip) SelectAll();
  } else if (Button == mbLeft && CanFocus()) {
    SetFocus();
  }
  TCellEditor::MouseDown(Button, Shift, X, Y);
}

bool TTextualEditor::PointerInside() {
  POINT Cursor;
  RECT Window;
  return HandleAllocated() && GetCursorPos(&Cursor) && GetWindowRect(FHandle, &Window) && PtInRect(&Window, Cursor);
}

void TTextualEditor::UpdateHover() {
  const bool Inside = PointerInside();
  if (Inside == FHover) return;
  FHover = Inside;
  HoverChanged(Inside);
}

void TTextualEditor::MouseEnter() {
  TCellEditor::MouseEnter();
  UpdateHover();
}

void TTextualEditor::MouseLeave() {
  TCellEditor::MouseLeave();
  UpdateHover();
}

bool TTextualEditor::SetCursorFor(int HitTest) {
  POINT Cursor;
  if (HitTest == HTCLIENT && EditBoxVisible() && GetCursorPos(&Cursor) && ScreenToClient(Cursor).x < SelectStrip) {
    ::SetCursor(Screen().CursorHandle(crReversedArrow));
    return true;
  }
  return TCellEditor::SetCursorFor(HitTest);
}

HBRUSH TTextualEditor::EditBrush() {
  if (!FBrush || FBrushColor != Color()) {
    FBrush.Reset(CreateSolidBrush(ColorToRGB(Color())));
    FBrushColor = Color();
  }
  return FBrush.Get();
}

LRESULT TTextualEditor::WndProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  if ((Message == WM_CTLCOLOREDIT || Message == WM_CTLCOLORSTATIC) &&
      reinterpret_cast<HWND>(LParam) == FEdit->Handle()) {
    // The box shows the editor's colours (the cell's background, the column font's colour).
    HDC DC = reinterpret_cast<HDC>(WParam);
    SetTextColor(DC, ColorToRGB(Font().Color()));
    SetBkColor(DC, ColorToRGB(Color()));
    return reinterpret_cast<LRESULT>(EditBrush());
  }
  return TCellEditor::WndProc(Message, WParam, LParam);
}

void TTextualEditor::DrawPreview(TCanvas& Canvas, const RECT& Rect) {
  if (OnCustomPreviewDraw) OnCustomPreviewDraw(this, Canvas, Rect);
}

void TTextualEditor::PaintContent() {
  if (FShowPreview) DrawPreview(Canvas(), PreviewRect());
}
