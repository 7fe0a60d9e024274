// The mouse in TCustomGridViewControl: pressing, moving and releasing in every area, divider
// resizing with inverted marker lines, header presses and column drags, hover hints, double
// clicks, the wheel, and the focus.
#include <algorithm>
#include <cstdlib>

#include "gridview/win32/CustomGridView.h"
#include "toolkit/Application.h"

namespace {
// How far the mouse may wander from the press before a header press becomes a column drag.
constexpr int DragThreshold = 3;
// Half the width of the zone around a header divider where a press resizes.
constexpr int DividerZone = 2;
}  // namespace

TGridHitArea TCustomGridViewControl::HitArea(int X, int Y) {
  if (X < 0 || Y < 0 || X >= ClientWidth() || Y >= ClientHeight()) return haNowhere;
  if (GridStyle() == gsSlides) return haData;
  const bool InRows = Y >= DataTop() && Y < DataBottom();
  if (X < DataLeft()) return Options().Contains(goIndicator) && InRows ? haIndicator : haNowhere;
  if (Options().Contains(goHeader) && Y < HeaderSize()) return haHeader;
  if (Options().Contains(goInput) && Y >= InputRect().top && Y < InputRect().bottom) return haInput;
  if (InRows) return haData;
  if (Options().Contains(goFooter) && Y >= FooterRect().top) return haFooter;
  return haNowhere;
}

bool TCustomGridViewControl::CellAt(int X, int Y, int& ACol, int& ARow) {
  ACol = ARow = -1;
  if (GridStyle() == gsSlides) {
    const int Slide = SlideSize() + GridLineWidth();
    const int Row = (Y < 0 ? -1 : Y / Slide) + TopRow();
    if (Y >= 0 && Row < RowCount()) ARow = Row;
    const int SlideTop = Y - (Y < 0 ? 0 : Y / Slide * Slide);
    for (int C = 0; C < Columns().Count() && ACol < 0; ++C) {
      const TSlideBounds& B = Columns().Items(C)->SlideBounds();
      if (X >= B.Left && X < B.Left + B.Width && SlideTop >= B.Top && SlideTop < B.Top + B.Height) ACol = C;
    }
    return ACol >= 0 && ARow >= 0;
  }
  // At an edge shared by two columns the first in display order wins.
  const int Data = X + HorzOffset();
  for (int P = 0; P < Columns().Count() && ACol < 0; ++P) {
    TCustomColumn* Column = Columns().DisplayItems(P);
    if (Column->Visible() && Data >= Column->Left() && Data <= Column->Right()) ACol = Column->Index();
  }
  ARow = RowAt(Y);
  return ACol >= 0 && ARow >= 0;
}

int TCustomGridViewControl::NextVisibleColumn(int ACol, int Step) {
  const int Count = Columns().Count();
  int P = ACol >= 0 && ACol < Count ? Columns().DisplayIndexOf(Columns().Items(ACol)) : (Step > 0 ? -1 : Count);
  for (P += Step; P >= 0 && P < Count; P += Step)
    if (Columns().DisplayItems(P)->Visible()) return Columns().DisplayItems(P)->Index();
  return -1;
}

TCustomColumn* TCustomGridViewControl::HeaderColumnAt(int X, int Y) {
  if (!Options().Contains(goHeader) || Y < 0 || Y >= HeaderSize() || X < DataLeft()) return nullptr;
  const int Col = ColumnAt(X);
  return Col >= 0 ? Columns().Items(Col) : nullptr;
}

TCustomColumn* TCustomGridViewControl::DividerAt(int X, int Y) {
  if (!Options().Contains(goHeader) || GridStyle() != gsReport || Y < 0 || Y >= HeaderSize()) return nullptr;
  for (int P = 0; P < Columns().Count(); ++P) {
    TCustomColumn* Column = Columns().DisplayItems(P);
    if (!Column->Visible() || Column->Options().Contains(coFixedSize)) continue;
    if (std::abs(X - (Column->Right() - HorzOffset())) <= DividerZone) return Column;
  }
  return nullptr;
}

// Pressing.

void TCustomGridViewControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Shift & ssDouble) {
    TScrollView::MouseDown(Button, Shift, X, Y);
    return;
  }
  if (CanFocus() && !HasFocus()) SetFocus();
  // A second button pressed during a resize or a header press or drag has no part in it.
  const bool Busy = FResizeColumn || FDragCandidate || FDragColumn;
  if (Columns().Count() > 0 && (Button == mbLeft || Button == mbRight) && !Busy) {
    // A right press keeps a multi-selection whole for the context menu, and is not reported.
    if (Button == mbRight && MultiSelecting()) return;
    FPressed = true;
    FPressButton = Button;
    FPressPoint = POINT{X, Y};
    CellAt(X, Y, FPressCol, FPressRow);
    const TGridHitArea Area = HitArea(X, Y);
    // Either button resizes, presses and drags headers; the mouse stays here until the release.
    if (Button == mbLeft || Area == haHeader) SetCapture(FHandle);
    if (TCustomColumn* Divider = DividerAt(X, Y)) {
      StartResize(Divider);
    } else if (Area == haData) {
      if (EditingInput()) {
        EndCellEdit();
        AcceptInputRow();
      }
      AcceptAndCloseEditor();
      SetInputRowMode(false);
      PressData(Shift, X, Y);
    } else if (Area == haHeader) {
      FDragCandidate = HeaderColumnAt(X, Y);
      if (FDragCandidate && FDragCandidate->Options().Contains(coCanClick)) SetPressedHeader(FDragCandidate);
    } else if (Area == haIndicator) {
      AcceptAndCloseEditor();
      const int Row = RowAt(Y);
      if (Row >= 0 && Row < RowCount()) SetCurrentCell(CurrentColumn(), Row, Shift);
    } else if (Area == haNowhere) {
      AcceptAndCloseEditor();
    }
  }
  TScrollView::MouseDown(Button, Shift, X, Y);
}

void TCustomGridViewControl::PressData(TShiftState Shift, int X, int Y) {
  if (RowCount() == 0) return;
  int Col = -1, Row = -1;
  CellAt(X, Y, Col, Row);
  if (Row < 0) Row = CurrentRow();
  if (Col < 0) Col = CurrentColumn();
  SetCurrentCell(Col, Row, Shift);
}

void TCustomGridViewControl::StartResize(TCustomColumn* Column) {
  FResizeColumn = Column;
  FResizeDelta = 0;
  const int Left = Column->Left() - HorzOffset();
  FResizeLeftLine = Column->Index() == 0 ? Left : Left - 1;
  FResizeRightLine = Left + Column->Width() - 1;
  InvertResizeLine(FResizeLeftLine);
  InvertResizeLine(FResizeRightLine);
}

void TCustomGridViewControl::InvertResizeLine(int X) {
  TDCGuard DC(FHandle);
  PatBlt(DC.Get(), X, 0, 1, ClientHeight(), DSTINVERT);
}

// Moving.

void TCustomGridViewControl::MouseMove(TShiftState Shift, int X, int Y) {
  TScrollView::MouseMove(Shift, X, Y);
  if (Columns().Count() == 0 || Rolling()) return;
  if (FResizeColumn) {
    InvertResizeLine(FResizeRightLine);
    const int Left = FResizeColumn->Left(), Width = FResizeColumn->Width();
    FResizeDelta = std::max(X + HorzOffset() - Left - Width, TCustomColumn::MinWidth - Width);
    FResizeRightLine = Left + Width + FResizeDelta - HorzOffset() - 1;
    InvertResizeLine(FResizeRightLine);
    return;
  }
  if (FDragCandidate && (Shift & ButtonShiftState(FPressButton)) && !Options().Contains(goDissableColumnMoving)) {
    if (std::abs(X - FPressPoint.x) <= DragThreshold && std::abs(Y - FPressPoint.y) <= DragThreshold) return;
    StartColumnDrag();
    return;
  }
  const TGridHitArea Area = HitArea(X, Y);
  if (Area != haHeader) SetHotHeader(nullptr);
  if (Area != haData && FHoverCol >= 0) {
    FHoverCol = FHoverRow = -1;
    HideHints();
  }
  switch (Area) {
    case haHeader: MoveInHeader(Shift, X, Y); break;
    case haIndicator: {
      const int Last = RowCount() > 0 ? RowTop(RowCount() - 1) + RowExtent(RowCount() - 1) : DataTop();
      SetCursor(Y < Last ? crIndicatorSelect : crDefault);
      break;
    }
    case haData: MoveInData(X, Y); break;
    default: SetCursor(crDefault); break;
  }
}

void TCustomGridViewControl::MoveInHeader(TShiftState Shift, int X, int Y) {
  SetCursor(DividerAt(X, Y) ? crHorzSplit : crDefault);
  TStyleDisplay& Style = ActiveStyle();
  Style.Themes = ThemesInUse();  // the style answers by the theming in force now
  if (Style.Capabilities().Contains(scHotTracking) && !(Shift & (ssLeft | ssRight))) SetHotHeader(HeaderColumnAt(X, Y));
}

void TCustomGridViewControl::MoveInData(int X, int Y) {
  int Col = -1, Row = -1;
  CellAt(X, Y, Col, Row);
  SetCursor(Col >= 0 ? Columns().Items(Col)->Cursor() : crDefault);
  if (Col == FHoverCol && Row == FHoverRow) return;
  FHoverCol = Col;
  FHoverRow = Row;
  UpdateHints(Col, Row);
}

void TCustomGridViewControl::UpdateHints(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || (FEditor && !FEditInput && ACol == FEditCol && ARow == FEditRow)) {
    FFitHint.HideFlyout();
    return;
  }
  TCustomColumn* Column = Columns().Items(ACol);
  if (!Column->Options().Contains(coShowTextFitHint)) {
    FFitHint.HideFlyout();
    return;
  }
  const std::u16string Text = Column->FormatText(GetCellText(ACol, ARow));
  AssignGridFont(FFitHint.Font(), Column->Font());
  FFitHint.Font().SetColor(clInfoText);
  RECT Hint = FFitHint.CalcHintRect(0, Text);
  // The hint's own border and padding are not part of the text's width.
  const int TextWidth = Hint.right - 8;
  if (Text.empty() || TextWidth <= Column->Width() - 5) {
    FFitHint.HideFlyout();
    return;
  }
  const RECT Cell = GetCellRect(ACol, ARow);
  const POINT Corner = ClientToScreen(POINT{Cell.left, Cell.top});
  OffsetRect(&Hint, Corner.x, Corner.y);
  FFitHint.SetColor(clInfoBk);
  FFitHint.ActivateHint(Hint, Text);
}

void TCustomGridViewControl::HideHints() { FFitHint.HideFlyout(); }

void TCustomGridViewControl::MouseLeave() {
  FHoverCol = FHoverRow = -1;
  HideHints();
  TScrollView::MouseLeave();
}

// Releasing.

void TCustomGridViewControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TScrollView::MouseUp(Button, Shift, X, Y);
  // The other button's release leaves a resize or header press running.
  if ((FResizeColumn || FDragCandidate) && Button != FPressButton) return;
  // The mouse is given back once the release is handled, when nothing waits for it any more.
  struct TGiveBack {
    HWND Window;
    bool Pressing;
    ~TGiveBack() {
      if (Pressing && GetCapture() == Window) ReleaseCapture();
    }
  } GiveBack{FHandle, Button == mbLeft || (FPressed && Button == FPressButton)};
  TCustomColumn* Pressed = FPressedHeader;
  SetPressedHeader(nullptr);
  if (FResizeColumn) {
    TCustomColumn* Column = FResizeColumn;
    FResizeColumn = nullptr;
    FPressed = false;
    FDragCandidate = nullptr;
    InvertResizeLine(FResizeLeftLine);
    InvertResizeLine(FResizeRightLine);
    Column->SetWidth(Column->Width() + FResizeDelta);
    return;
  }
  int Col = -1, Row = -1;
  const bool OnCell = CellAt(X, Y, Col, Row);
  const bool SameCell = FPressed && Col == FPressCol && Row == FPressRow;
  const bool HeaderPress = FDragCandidate != nullptr || Pressed != nullptr;
  FPressed = false;
  FDragCandidate = nullptr;
  if (OnCell && SameCell && OnCellClick) OnCellClick(EventSender(), Col, Row);
  // A press released away from its header is a click given up, as with any button.
  if (Pressed && HeaderColumnAt(X, Y) == Pressed && OnHeaderClick) OnHeaderClick(EventSender(), Pressed->Index());
  if (Button == mbLeft) ReleaseLeft(HitArea(X, Y), X, Y, SameCell && OnCell, HeaderPress);
}

void TCustomGridViewControl::ReleaseLeft(TGridHitArea Area, int X, int Y, bool SameCell, bool HeaderPress) {
  switch (Area) {
    case haHeader:
      // The sort click: only a press that began in the header ends in one.
      if (HeaderPress) SortByHeaderClick(HeaderColumnAt(X, Y));
      break;
    case haFooter: {
      const int Col = ColumnAt(X);
      if (Col >= 0 && OnFooterClick) OnFooterClick(EventSender(), Col);
      break;
    }
    case haData: {
      if (MultiSelecting() || !SameCell) break;
      const int Col = CurrentColumn(), Row = CurrentRow();
      if (Col < 0 || Col >= Columns().Count()) break;
      if (BeginCellPlay(Col, Row)) {
        static_cast<TColumnPlay*>(Columns().Items(Col)->Play())->MouseDown(X, Y);
      } else if (Columns().Items(Col)->Options().Contains(coEditing)) {
        ShowCellEditor(Col, Row);
      }
      break;
    }
    case haInput: {
      const int Col = ColumnAt(X);
      if (Col >= 0) ShowInputEditor(Col);
      break;
    }
    default: break;
  }
}

void TCustomGridViewControl::DblClick() {
  // Only a double click on the rows opens something; on the header it was two sort clicks.
  if (HitArea(FDoubleClickPoint.x, FDoubleClickPoint.y) == haData) TScrollView::DblClick();
}

bool TCustomGridViewControl::MouseWheel(TShiftState Shift, int Delta, POINT ScreenPos) {
  if (FEditor) return true;
  if (TScrollView::MouseWheel(Shift, Delta, ScreenPos)) return true;
  const int Step = (Shift & ssCtrl) ? std::max(1, WholeRowsInView()) : 1;
  if (Delta > 0)
    SetTopRow(TopRow() - Step);
  else if (Delta < 0)
    SetTopRow(TopRow() + Step);
  return true;
}

// Column drag.

void TCustomGridViewControl::StartColumnDrag() {
  TCustomColumn* Column = FDragCandidate;
  FDragCandidate = nullptr;
  FPressed = false;
  SetPressedHeader(nullptr);
  FDragColumn = Column;
  FDragBox.Font().Assign(Font());
  const POINT Corner = ClientToScreen(POINT{Column->Left() - HorzOffset(), 0});
  FDragBox.SetBounds(Corner.x, Corner.y, Column->Width(), HeaderSize());
  FDragBox.OnMove = [this](TColumnDragBox&, int X, int Y) { ColumnDragMove(X, Y); };
  FDragBox.OnDrop = [this](TColumnDragBox&, int X, int Y) { ColumnDragDrop(X, Y); };
  POINT Cursor;
  GetCursorPos(&Cursor);
  FDragBox.StartDrag(Cursor.x, Cursor.y, false, Column, FPressButton);
}

void TCustomGridViewControl::ColumnDragMove(int ScreenX, int ScreenY) {
  const POINT P = ScreenToClient(POINT{ScreenX, ScreenY});
  const int Col = P.y < DataTop() && P.x >= DataLeft() ? ColumnAt(P.x) : -1;
  if (Col < 0) {
    HideDragArrows();
    Screen().SetCursor(crColumnNoDrag);
    return;
  }
  const POINT Edge = ClientToScreen(POINT{Columns().Items(Col)->Left() - HorzOffset(), 0});
  FArrowAbove.SetShape(TDragArrow::shDown);
  FArrowBelow.SetShape(TDragArrow::shUp);
  FArrowAbove.SetBounds(Edge.x - 4, Edge.y - 12, 9, 9);
  FArrowBelow.SetBounds(Edge.x - 4, Edge.y + HeaderSize() - 1, 9, 9);
  FArrowAbove.ShowFlyout();
  FArrowBelow.ShowFlyout();
  Screen().SetCursor(crDefault);
}

void TCustomGridViewControl::ColumnDragDrop(int ScreenX, int ScreenY) {
  Screen().SetCursor(crDefault);
  HideDragArrows();
  TCustomColumn* Column = FDragColumn;
  FDragColumn = nullptr;
  if (!Column) return;
  const POINT P = ScreenToClient(POINT{ScreenX, ScreenY});
  if (P.y >= 0 && P.y < 2 * HeaderSize()) {
    // Over the header band: onto a column moves there; past the last column nothing changes.
    const int Col = P.x >= DataLeft() ? ColumnAt(P.x) : -1;
    if (Col >= 0 && Columns().Items(Col) != Column) Column->SetPosition(Columns().DisplayIndexOf(Columns().Items(Col)));
  } else if (Options().Contains(goCanHideColumn)) {
    Column->SetVisible(false);
  }
  InvalidateColumn(Column, gaWhole);
}

void TCustomGridViewControl::HideDragArrows() {
  FArrowAbove.HideFlyout();
  FArrowBelow.HideFlyout();
}

void TCustomGridViewControl::CancelMouseInteraction() {
  SetPressedHeader(nullptr);
  if (FResizeColumn) {
    InvertResizeLine(FResizeLeftLine);
    InvertResizeLine(FResizeRightLine);
    FResizeColumn = nullptr;
  }
  if (FDragColumn) {
    FDragColumn = nullptr;
    FDragBox.CancelDrag();
    HideDragArrows();
  }
  FDragCandidate = nullptr;
  FPressed = false;
  Screen().SetCursor(crDefault);
  SetCursor(crDefault);
  InvalidateSelection();
}

// Focus.

void TCustomGridViewControl::DoEnter() {
  TScrollView::DoEnter();
  InvalidateSelection();
  InvalidateArea(gaIndicator);
}

void TCustomGridViewControl::DoExit() {
  TScrollView::DoExit();
  InvalidateSelection();
  // The focus going into the open editor is no leaving.
  if (FEditor && !(FFocusTarget && (FFocusTarget == FHandle || IsChild(FHandle, FFocusTarget)))) AcceptAndCloseEditor();
}

void TCustomGridViewControl::ApplicationDeactivated() {
  TScrollView::ApplicationDeactivated();
  if (Rolling()) StopRolling();
  CancelMouseInteraction();
  FHoverCol = FHoverRow = -1;
  HideHints();
}
