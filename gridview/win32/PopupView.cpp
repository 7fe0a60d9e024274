#include "gridview/win32/PopupView.h"

#include <windowsx.h>

#include <algorithm>

#include "core/Clock.h"
#include "core/FormatSettings.h"
#include "core/Text.h"
#include "gridview/win32/DrawProviders.h"
#include "gridview/win32/Themes.h"
#include "toolkit/Application.h"
#include "toolkit/ImageList.h"

// Popup base.

TPopupView::TPopupView() : TScrollView(nullptr) {
  SetVisible(false);
  SetColor(clWindow);
  DoubleBuffered = true;
}

TPopupView::~TPopupView() {
  if (HandleAllocated() && GetCapture() == FHandle) ReleaseCapture();
}

void TPopupView::CreateParams(TCreateParams& Params) {
  TScrollView::CreateParams(Params);
  Params.ClassName = L"Torvane.PopupView";
  // Saved bits: what lies under the popup comes back without a repaint when it goes.
  Params.ClassStyle = CS_SAVEBITS | CS_DBLCLKS;
  Params.Style = WS_POPUP | WS_CLIPCHILDREN;
  Params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  Params.WndParent = nullptr;
}

void TPopupView::ShowAt(int X, int Y) {
  HWND Window = Handle();
  if (X + Width() > Screen().Width()) X = Screen().Width() - Width() - 1;
  X = std::max(X, 0);
  SetWindowPos(Window, HWND_TOPMOST, X, Y, Width(), Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
  // Painted before anything else happens: a popup appears whole.
  UpdateWindow(Window);
  FHidden = false;
  FArmed = false;
  SetCapture(Window);
}

void TPopupView::ClosePopup() {
  FHidden = true;
  if (HandleAllocated()) {
    if (GetCapture() == FHandle) ReleaseCapture();
    ShowWindow(FHandle, SW_HIDE);
  }
  if (OnClose) OnClose(this);
}

void TPopupView::Pick(const std::u16string& Text) {
  if (OnPick) OnPick(this, Text);
}

bool TPopupView::InClient(int X, int Y) {
  const RECT Client = ClientRect();
  return X >= 0 && Y >= 0 && X < Client.right && Y < Client.bottom;
}

bool TPopupView::PointerOver() {
  POINT Cursor;
  RECT Window;
  return HandleAllocated() && GetCursorPos(&Cursor) && GetWindowRect(FHandle, &Window) && PtInRect(&Window, Cursor);
}

void TPopupView::FollowPointer(bool NonClient) {
  if (FHidden || !HandleAllocated()) return;
  if (PointerOver()) {
    if (GetCapture() == FHandle) ReleaseCapture();
    TRACKMOUSEEVENT Track = {sizeof(Track), DWORD(TME_LEAVE | (NonClient ? TME_NONCLIENT : 0)), FHandle, 0};
    TrackMouseEvent(&Track);
  } else if (GetCapture() != FHandle) {
    SetCapture(FHandle);
  }
}

void TPopupView::PaintBorder() {
  TDCGuard DC(FHandle, true);
  RECT Window;
  GetWindowRect(FHandle, &Window);
  OffsetRect(&Window, -Window.left, -Window.top);
  TCanvas Canvas(DC.Get());
  Canvas.Brush().SetColor(cl3DDkShadow);
  Canvas.FrameRect(Window);
  Canvas.Brush().SetColor(clWhite);
  Canvas.FrameRect(AdjustRECT(Window, 1, 1, -1, -1));
}

LRESULT TPopupView::WndProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  switch (Message) {
    case WM_NCCALCSIZE: {
      // The border first; the platform then takes the scroll bar from what is left.
      RECT& Proposed =
          WParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(LParam)->rgrc[0] : *reinterpret_cast<RECT*>(LParam);
      InflateRect(&Proposed, -BorderWidth, -BorderWidth);
      return DefaultHandler(Message, WParam, LParam);
    }
    case WM_NCPAINT: {
      const LRESULT Result = DefaultHandler(Message, WParam, LParam);
      PaintBorder();
      return Result;
    }
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_MOUSEMOVE: FollowPointer(!InClient(GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam))); break;
    case WM_NCMOUSEMOVE: FollowPointer(true); break;
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE: {
      const LRESULT Result = TScrollView::WndProc(Message, WParam, LParam);
      if (!FHidden && HandleAllocated() && !PointerOver() && GetCapture() != FHandle) SetCapture(FHandle);
      return Result;
    }
    case WM_NCLBUTTONDOWN: {
      // The scroll bar tracks the mouse in a loop of its own; afterwards the pointer may be anywhere.
      const LRESULT Result = DefaultHandler(Message, WParam, LParam);
      FollowPointer(true);
      return Result;
    }
    default: break;
  }
  return TScrollView::WndProc(Message, WParam, LParam);
}

void TPopupView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // No rolling with the middle button here: only the toolkit's event.
  TCustomScrollView::MouseDown(Button, Shift, X, Y);
}

void TPopupView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomScrollView::MouseUp(Button, Shift, X, Y);
  if (FHidden) return;
  if (!FArmed) {
    // The release of the press that opened the popup.
    FArmed = true;
    SetCapture(Handle());
    return;
  }
  if (InClient(X, Y))
    PickAt(X, Y);
  else
    ClosePopup();
}

// List popup.

const std::vector<std::u16string> TPopupList::NoItems;

TPopupList::TPopupList() { SetBounds(0, 0, 80 + 2 * BorderWidth, 50 + 2 * BorderWidth); }

void TPopupList::SetItems(const std::vector<std::u16string>* Items) {
  FItems = Items ? Items : &NoItems;
  Invalidate();
}

void TPopupList::SetItemHeight(int Value) {
  FItemHeight = std::max(Value, 1);
  Invalidate();
}

int TPopupList::VisibleRows() { return std::max(1, ClientHeight() / FItemHeight); }

void TPopupList::ShowAt(int X, int Y) {
  HandleNeeded();
  const int Count = static_cast<int>(Items().size());
  const int Range = std::max(0, Count - VisibleRows());
  VertScrollBar().SetParams(0, 0, Range > 0, Range > 0, 1, Range);
  int Hot = 0;
  if (FItemIndex >= 0 && FItemIndex < Count) {
    Hot = FItemIndex;
  } else {
    const auto Found = std::find(Items().begin(), Items().end(), FEditorText);
    if (Found != Items().end()) Hot = static_cast<int>(Found - Items().begin());
  }
  FHotRow = Hot;
  ScrollToHotRow();
  Invalidate();
  TPopupView::ShowAt(X, Y);
}

void TPopupList::ScrollToHotRow() {
  const int Top = TopRow(), Visible = VisibleRows();
  if (FHotRow < Top)
    VertScrollBar().SetPosition(FHotRow);
  else if (FHotRow >= Top + Visible)
    VertScrollBar().SetPosition(FHotRow - Visible + 1);
}

void TPopupList::InvalidateRow(int Row) {
  const int Y = (Row - TopRow()) * FItemHeight;
  InvalidateRect(RECT{0, Y, ClientWidth(), Y + FItemHeight});
}

void TPopupList::SetHotRow(int Row) {
  if (Row == FHotRow) return;
  InvalidateRow(FHotRow);
  FHotRow = Row;
  InvalidateRow(FHotRow);
}

void TPopupList::MoveHotRow(int Delta) {
  const int Count = static_cast<int>(Items().size());
  if (Count == 0) return;
  SetHotRow(std::clamp(FHotRow + Delta, 0, Count - 1));
  ScrollToHotRow();
}

void TPopupList::PickHotRow() {
  if (FHotRow < 0 || FHotRow >= static_cast<int>(Items().size())) return;
  FItemIndex = FHotRow;
  Pick(Items()[FHotRow]);
}

void TPopupList::PickAt(int X, int Y) {
  const int Row = RowAt(Y);
  if (!InClient(X, Y) || Row < 0 || Row >= static_cast<int>(Items().size())) return;
  FItemIndex = Row;
  Pick(Items()[Row]);
}

void TPopupList::MouseMove(TShiftState Shift, int X, int Y) {
  TPopupView::MouseMove(Shift, X, Y);
  const int Row = RowAt(Y);
  if (InClient(X, Y) && Row < static_cast<int>(Items().size())) SetHotRow(Row);
}

void TPopupList::Paint() {
  TCanvas& C = Canvas();
  const RECT Client = ClientRect();
  C.Font().Assign(Font());
  int Y = 0;
  for (int Row = TopRow(); Row < static_cast<int>(Items().size()) && Y < Client.bottom; ++Row, Y += FItemHeight) {
    const RECT Line{0, Y, Client.right, Y + FItemHeight};
    const bool Hot = Row == FHotRow;
    C.Brush().SetColor(Hot ? clHighlight : clWindow);
    C.FillRect(Line);
    C.Font().SetColor(Hot ? clHighlightText : clWindowText);
    int TextLeft = 2;
    if (FShowImages && FImages) {
      FImages->Draw(C, 2, Y + (FItemHeight - FImages->Height()) / 2, Row);
      TextLeft += FImages->Width() + 2;
    }
    TGraphicsProvider::DrawTextLine(C, RECT{TextLeft, Y, Client.right - 2, Y + FItemHeight}, false, Items()[Row],
                                    taLeftJustify);
  }
  C.Brush().SetColor(clWindow);
  if (Y < Client.bottom) C.FillRect(RECT{0, Y, Client.right, Client.bottom});
}
