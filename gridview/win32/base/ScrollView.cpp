#include "gridview/win32/base/ScrollView.h"

#include <algorithm>
#include <cstdlib>

#include "toolkit/Application.h"

// Scroll-bar object.

void TControlScrollBar::SetEnabled(bool Value) {
  FEnabled = Value;
  UpdateBar();
}

void TControlScrollBar::SetMax(int Value) {
  FMax = std::max(0, Value);
  if (FPosition > FMax) FPosition = FMax;
  UpdateBar();
}

void TControlScrollBar::SetMin(int Value) {
  FMin = std::max(0, Value);
  UpdateBar();
}

void TControlScrollBar::SetPage(int Value) {
  FPage = Value;
  UpdateBar();
}

void TControlScrollBar::SetVisible(bool Value) {
  FVisible = Value;
  UpdateBar();
}

void TControlScrollBar::SetPosition(int Value) {
  const int Old = FPosition;
  FPrevPosition = Old;
  FPosition = std::clamp(Value, FMin, std::max(FMin, FMax));
  UpdateBar();
  FView->PositionChanged(FKind);
  if (FMax == 0 || FNoScroll || FPosition == Old || !FView->HandleAllocated()) return;
  if (FKind == sbVertical)
    FView->ScrollBy(0, FView->RowDistance(Old, FPosition));
  else
    FView->ScrollBy(FView->ColumnDistance(Old, FPosition), 0);
}

void TControlScrollBar::SetParams(int Position, int Min, bool Visible, bool Enabled, int Page, int Max) {
  FBatch = true;
  SetEnabled(Enabled);
  SetMax(Max);
  SetMin(Min);
  SetPage(Page);
  SetPosition(Position);
  SetVisible(Visible);
  FBatch = false;
  UpdateBar();
}

void TControlScrollBar::UpdateBar() {
  if (FBatch || FUpdating || !FView->HandleAllocated()) return;
  // Showing or hiding a bar resizes the client area, which may come back here.
  FUpdating = true;
  HWND Window = FView->Handle();
  const bool Valid = FApplied.Valid;
  const bool RangeChanged = !Valid || FApplied.Min != FMin || FApplied.Max != FMax || FApplied.Page != FPage;
  const bool ShowChanged = !Valid || FApplied.Visible != FVisible;
  SCROLLINFO Info = {};
  Info.cbSize = sizeof(Info);
  Info.fMask = SIF_POS;
  if (RangeChanged || ShowChanged) Info.fMask |= SIF_RANGE | SIF_PAGE;
  Info.nMin = FMin;
  Info.nMax = FMax;
  Info.nPage = static_cast<UINT>(std::max(0, FPage));
  Info.nPos = FPosition;
  if (FVisible) {
    // A bar that is not needed is disabled rather than hidden.
    Info.fMask |= SIF_DISABLENOSCROLL;
    // A moved thumb is drawn at once; a new range only with the next paint, so that rows added one
    // by one do not redraw the bar for every row.
    const bool PositionOnly = !RangeChanged && !ShowChanged;
    if (!PositionOnly || FApplied.Position != FPosition) SetScrollInfo(Window, Bar(), &Info, PositionOnly);
    if (ShowChanged) ShowScrollBar(Window, Bar(), TRUE);
    if (ShowChanged || FApplied.Enabled != FEnabled || (RangeChanged && !FEnabled))
      EnableScrollBar(Window, Bar(), FEnabled ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
    if (!PositionOnly && !ShowChanged) InvalidateBar(Window);
  } else if (RangeChanged || ShowChanged || FApplied.Position != FPosition) {
    SetScrollInfo(Window, Bar(), &Info, FALSE);
    if (ShowChanged) ShowScrollBar(Window, Bar(), FALSE);
  }
  FApplied = TApplied{FMin, FMax, FPage, FPosition, FVisible, FEnabled, true};
  FUpdating = false;
}

void TControlScrollBar::InvalidateBar(HWND Window) {
  SCROLLBARINFO Info = {};
  Info.cbSize = sizeof(Info);
  if (!GetScrollBarInfo(Window, FKind == sbVertical ? OBJID_VSCROLL : OBJID_HSCROLL, &Info)) return;
  // The bar's rectangle lies outside the client area: only the frame is repainted.
  RECT Bar = Info.rcScrollBar;
  MapWindowPoints(nullptr, Window, reinterpret_cast<POINT*>(&Bar), 2);
  RedrawWindow(Window, &Bar, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TControlScrollBar::Step(int Code) {
  if (FMax < 1 || !FView->HandleAllocated()) return;
  FView->Perform(FKind == sbVertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(Code, 0), 0);
}

void TControlScrollBar::ScrollMessage(int Code, int ThumbPosition) {
  switch (Code) {
    case SB_LINEUP: SetPosition(FPosition - FLineStep); break;
    case SB_LINEDOWN: SetPosition(FPosition + FLineStep); break;
    case SB_PAGEUP: SetPosition(FPosition - FPageStep); break;
    case SB_PAGEDOWN: SetPosition(FPosition + FPageStep); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetPosition(ThumbPosition); break;
    case SB_TOP: SetPosition(0); break;
    case SB_BOTTOM: SetPosition(FMax); break;
    default: return;
  }
  if (FView->Visible() && FVisible && FView->HandleAllocated() && !FApplied.Visible) {
    ShowScrollBar(FView->Handle(), Bar(), TRUE);
    FApplied.Visible = true;
  }
}

// Scroll view.

void TCustomScrollView::ScrollBy(int DX, int DY) {
  if (!HandleAllocated() || (DX == 0 && DY == 0)) return;
  const RECT& Area = DY != 0 ? FVertScrollArea : FHorzScrollArea;
  ScrollWindowEx(FHandle, DX, DY, &Area, &Area, nullptr, nullptr, SW_INVALIDATE);
}

TRollShadow::TRollShadow() { SetBounds(0, 0, 32, 32); }

void TRollShadow::CreateWnd() {
  // The window is only the marker's shape: two triangles and a dot.
  const POINT Up[] = {{-1, 7}, {7, -1}, {8, 0}, {14, 7}, {0, 6}};
  const POINT Down[] = {{-1, 15}, {14, 15}, {6, 22}, {6, 22}, {-1, 14}};
  TGdiHandle<HRGN> Shape(CreatePolygonRgn(Up, 5, WINDING));
  TGdiHandle<HRGN> Lower(CreatePolygonRgn(Down, 5, WINDING));
  TGdiHandle<HRGN> Dot(CreateEllipticRgn(5, 9, 10, 14));
  CombineRgn(Shape.Get(), Shape.Get(), Lower.Get(), RGN_OR);
  CombineRgn(Shape.Get(), Shape.Get(), Dot.Get(), RGN_OR);
  SetWindowRgn(FHandle, Shape.Release(), FALSE);  // the window owns the region now
}

void TRollShadow::Paint() {
  Canvas().Brush().SetColor(clGrayText);
  Canvas().FillRect(RECT{0, 0, 32, 32});
}

void TRollShadow::ShowAt(int ScreenX, int ScreenY) {
  SetBounds(ScreenX - 7, ScreenY - 11, 32, 32);
  ShowFlyout();
}

TScrollView::TScrollView(TWinControl* Parent) : TCustomScrollView(Parent) {
  FRollTimer.SetEnabled(false);
  FRollTimer.SetInterval(100);
  FRollTimer.OnTimer = [this](TObject*) { RollTick(); };
}

TScrollView::~TScrollView() {
  // Going while rolling gives back the cursor and the capture.
  StopRolling();
  FRollTimer.SetEnabled(false);
}

LRESULT TScrollView::WndProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_VSCROLL || Message == WM_HSCROLL) {
    int Thumb = HIWORD(WParam);
    const int Code = LOWORD(WParam);
    if (Code == SB_THUMBTRACK || Code == SB_THUMBPOSITION) {
      // The message carries only 16 bits of the position; the bar knows all 32.
      SCROLLINFO Info = {};
      Info.cbSize = sizeof(Info);
      Info.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(FHandle, Message == WM_VSCROLL ? SB_VERT : SB_HORZ, &Info)) Thumb = Info.nTrackPos;
    }
    if (Message == WM_VSCROLL)
      VerticalScrollMessage(Code, Thumb);
    else
      HorizontalScrollMessage(Code, Thumb);
    return 0;
  }
  if (Message == WM_CAPTURECHANGED && FRolling && reinterpret_cast<HWND>(LParam) != FHandle) StopRolling();
  return TCustomScrollView::WndProc(Message, WParam, LParam);
}

void TScrollView::VerticalScrollMessage(int Code, int ThumbPosition) {
  FVertScrollBar.ScrollMessage(Code, ThumbPosition);
}

void TScrollView::HorizontalScrollMessage(int Code, int ThumbPosition) {
  FHorzScrollBar.ScrollMessage(Code, ThumbPosition);
}

void TScrollView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbMiddle && !FRolling) StartRolling(X, Y);
  TCustomScrollView::MouseDown(Button, Shift, X, Y);
}

void TScrollView::StartRolling(int X, int Y) {
  FRolling = true;
  FRollStartY = Y;
  FRollDY = 0;
  FRollDirection = 0;
  if (!FRollShadow) FRollShadow = std::make_unique<TRollShadow>();
  const POINT Screen = ClientToScreen(POINT{X, Y});
  FRollShadow->ShowAt(Screen.x, Screen.y);
  ::Screen().SetCursor(crRoll);
  SetCapture(Handle());
  FRollTimer.SetInterval(100);
  FRollTimer.SetEnabled(true);
}

void TScrollView::StopRolling() {
  if (!FRolling) return;
  FRolling = false;
  FRollTimer.SetEnabled(false);
  if (FRollShadow) FRollShadow->HideMarker();
  ::Screen().SetCursor(crDefault);
  if (HandleAllocated() && GetCapture() == FHandle) ReleaseCapture();
}

void TScrollView::MouseMove(TShiftState Shift, int X, int Y) {
  if (FRolling) {
    FRollDY = Y - FRollStartY;
    FRollDirection = FRollDY < -5 ? -1 : FRollDY > 5 ? 1 : 0;
    ::Screen().SetCursor(FRollDirection < 0 ? crRollUp : FRollDirection > 0 ? crRollDown : crRoll);
  }
  TCustomScrollView::MouseMove(Shift, X, Y);
}

void TScrollView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  StopRolling();
  TCustomScrollView::MouseUp(Button, Shift, X, Y);
}

void TScrollView::RollTick() {
  FRollTimer.SetInterval(static_cast<unsigned>(std::max(1, 100 - std::abs(FRollDY))));
  if (FRollDirection < 0)
    FVertScrollBar.LineUp();
  else if (FRollDirection > 0)
    FVertScrollBar.LineDown();
}
