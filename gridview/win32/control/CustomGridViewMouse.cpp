// The mouse in TCustomGridViewControl: pressing, moving and releasing in every area, divider
// resizing with inverted marker lines, header presses and column drags, hover hints, double
// clicks, the wheel, and the focus.
#include <algorithm>
#include <cstdlib>

#include "gridview/win32/control/CustomGridView.h"
#include "toolkit/Application.h"

int TCustomGridViewControl::NextVisibleColumn(int ACol, int Step) {
  const int Count = FModel.Columns().Count();
  int P = ACol >= 0 && ACol < Count ? FModel.Columns().DisplayIndexOf(FModel.Columns().Items(ACol))
                                    : (Step > 0 ? -1 : Count);
  for (P += Step; P >= 0 && P < Count; P += Step)
    if (FModel.Columns().DisplayItems(P)->Visible()) return FModel.Columns().DisplayItems(P)->Index();
  return -1;
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
  if (FModel.Columns().Count() > 0 && (Button == mbLeft || Button == mbRight) && !Busy) {
    // A right press keeps a multi-selection whole for the context menu, and is not reported.
    if (Button == mbRight && FModel.MultiSelecting()) return;
    FPressed = true;
    FPressButton = Button;
    FPressPoint = POINT{X, Y};
    FGeometry.CellAt(X, Y, FPressCol, FPressRow);
    const TGridHitArea Area = FGeometry.HitArea(X, Y);
    // Either button resizes, presses and drags headers; the mouse stays here until the release.
    if (Button == mbLeft || Area == haHeader) SetCapture(FHandle);
    if (TCustomColumn* Divider = FGeometry.DividerAt(X, Y)) {
      StartResize(Divider);
    } else if (Area == haData) {
      if (EditingInput()) {
        EndCellEdit();
        AcceptInputRow();
      }
      AcceptAndCloseEditor();
      FModel.SetInputRowMode(false);
      PressData(Shift, X, Y);
    } else if (Area == haHeader) {
      FDragCandidate = FGeometry.HeaderColumnAt(X, Y);
      if (FDragCandidate && FDragCandidate->Options().Contains(coCanClick)) SetPressedHeader(FDragCandidate);
    } else if (Area == haIndicator) {
      AcceptAndCloseEditor();
      const int Row = FGeometry.RowAt(Y);
      if (Row >= 0 && Row < FModel.RowCount()) FModel.SetCurrentCell(FModel.CurrentColumn(), Row, Shift);
    } else if (Area == haNowhere) {
      AcceptAndCloseEditor();
    }
  }
  TScrollView::MouseDown(Button, Shift, X, Y);
}

void TCustomGridViewControl::PressData(TShiftState Shift, int X, int Y) {
  if (FModel.RowCount() == 0) return;
  int Col = -1, Row = -1;
  FGeometry.CellAt(X, Y, Col, Row);
  if (Row < 0) Row = FModel.CurrentRow();
  if (Col < 0) Col = FModel.CurrentColumn();
  FModel.SetCurrentCell(Col, Row, Shift);
}

void TCustomGridViewControl::StartResize(TCustomColumn* Column) {
  FResizeColumn = Column;
  FResizeDelta = 0;
  const int Left = FGeometry.ColumnLeft(*Column);
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
  if (FModel.Columns().Count() == 0 || Rolling()) return;
  if (FResizeColumn) {
    InvertResizeLine(FResizeRightLine);
    const int Left = FResizeColumn->Left(), Width = FResizeColumn->Width();
    FResizeDelta = std::max(X + HorzOffset() - Left - Width, FModel.Metrics().MinColumnWidth() - Width);
    FResizeRightLine = Left + Width + FResizeDelta - HorzOffset() - 1;
    InvertResizeLine(FResizeRightLine);
    return;
  }
  if (FDragCandidate && (Shift & ButtonShiftState(FPressButton)) && !Options().Contains(goDissableColumnMoving)) {
    const int Threshold = FModel.Metrics().DragThreshold();
    if (std::abs(X - FPressPoint.x) <= Threshold && std::abs(Y - FPressPoint.y) <= Threshold) return;
    StartColumnDrag();
    return;
  }
  const TGridHitArea Area = FGeometry.HitArea(X, Y);
  if (Area != haHeader) SetHotHeader(nullptr);
  if (Area != haData && FHoverCol >= 0) {
    FHoverCol = FHoverRow = -1;
    HideHints();
  }
  switch (Area) {
    case haHeader: MoveInHeader(Shift, X, Y); break;
    case haIndicator: {
      const int Last = FModel.RowCount() > 0
                           ? FGeometry.RowTop(FModel.RowCount() - 1) + FGeometry.RowExtent(FModel.RowCount() - 1)
                           : FGeometry.DataTop();
      SetCursor(Y < Last ? crIndicatorSelect : crDefault);
      break;
    }
    case haData: MoveInData(X, Y); break;
    default: SetCursor(crDefault); break;
  }
}

void TCustomGridViewControl::MoveInHeader(TShiftState Shift, int X, int Y) {
  SetCursor(FGeometry.DividerAt(X, Y) ? crHorzSplit : crDefault);
  TStyleDisplay& Style = PreparedStyle();  // it answers by the theming in force now
  if (Style.Capabilities().Contains(scHotTracking) && !(Shift & (ssLeft | ssRight)))
    SetHotHeader(FGeometry.HeaderColumnAt(X, Y));
}

void TCustomGridViewControl::MoveInData(int X, int Y) {
  int Col = -1, Row = -1;
  FGeometry.CellAt(X, Y, Col, Row);
  SetCursor(Col >= 0 ? FModel.Columns().Items(Col)->Cursor() : crDefault);
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
  TCustomColumn* Column = FModel.Columns().Items(ACol);
  if (!Column->Options().Contains(coShowTextFitHint)) {
    FFitHint.HideFlyout();
    return;
  }
  const std::u16string Text = Column->FormatText(FModel.GetCellText(ACol, ARow));
  AssignGridFont(FFitHint.Font(), Column->Font());
  FFitHint.Font().SetColor(clInfoText);
  RECT Hint = FFitHint.CalcHintRect(0, Text);
  // The hint's own border and padding are not part of the text's width.
  const int TextWidth = Hint.right - 8;
  if (Text.empty() || TextWidth <= Column->Width() - FModel.Metrics().FitHintSlack()) {
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
  const bool OnCell = FGeometry.CellAt(X, Y, Col, Row);
  const bool SameCell = FPressed && Col == FPressCol && Row == FPressRow;
  const bool HeaderPress = FDragCandidate != nullptr || Pressed != nullptr;
  FPressed = false;
  FDragCandidate = nullptr;
  if (OnCell && SameCell && OnCellClick) OnCellClick(EventSender(), Col, Row);
  // A press released away from its header is a click given up, as with any button.
  if (Pressed && FGeometry.HeaderColumnAt(X, Y) == Pressed && OnHeaderClick)
    OnHeaderClick(EventSender(), Pressed->Index());
  if (Button == mbLeft) ReleaseLeft(FGeometry.HitArea(X, Y), X, Y, SameCell && OnCell, HeaderPress);
}

void TCustomGridViewControl::ReleaseLeft(TGridHitArea Area, int X, int Y, bool SameCell, bool HeaderPress) {
  switch (Area) {
    case haHeader:
      // The sort click: only a press that began in the header ends in one.
      if (HeaderPress) FModel.SortByHeaderClick(FGeometry.HeaderColumnAt(X, Y));
      break;
    case haFooter: {
      const int Col = FGeometry.ColumnAt(X);
      if (Col >= 0 && OnFooterClick) OnFooterClick(EventSender(), Col);
      break;
    }
    case haData: {
      if (FModel.MultiSelecting() || !SameCell) break;
      const int Col = FModel.CurrentColumn(), Row = FModel.CurrentRow();
      if (Col < 0 || Col >= FModel.Columns().Count()) break;
      if (BeginCellPlay(Col, Row)) {
        static_cast<TColumnPlay*>(FModel.Columns().Items(Col)->Play())->MouseDown(X, Y);
      } else if (FModel.Columns().Items(Col)->Options().Contains(coEditing)) {
        ShowCellEditor(Col, Row);
      }
      break;
    }
    case haInput: {
      const int Col = FGeometry.ColumnAt(X);
      if (Col >= 0) ShowInputEditor(Col);
      break;
    }
    default: break;
  }
}

void TCustomGridViewControl::DblClick() {
  // Only a double click on the rows opens something; on the header it was two sort clicks.
  if (FGeometry.HitArea(FDoubleClickPoint.x, FDoubleClickPoint.y) == haData) TScrollView::DblClick();
}

bool TCustomGridViewControl::MouseWheel(TShiftState Shift, int Delta, POINT ScreenPos) {
  if (FEditor) return true;
  if (TScrollView::MouseWheel(Shift, Delta, ScreenPos)) return true;
  const int Step = (Shift & ssCtrl) ? std::max(1, FGeometry.WholeRowsInView()) : 1;
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
  const POINT Corner = ClientToScreen(POINT{FGeometry.ColumnLeft(*Column), 0});
  FDragBox.SetBounds(Corner.x, Corner.y, Column->Width(), HeaderSize());
  FDragBox.OnMove = [this](TColumnDragBox&, int X, int Y) { ColumnDragMove(X, Y); };
  FDragBox.OnDrop = [this](TColumnDragBox&, int X, int Y) { ColumnDragDrop(X, Y); };
  POINT Cursor;
  GetCursorPos(&Cursor);
  FDragBox.StartDrag(Cursor.x, Cursor.y, false, Column, FPressButton);
}

void TCustomGridViewControl::ColumnDragMove(int ScreenX, int ScreenY) {
  const POINT P = ScreenToClient(POINT{ScreenX, ScreenY});
  const int Col = P.y < FGeometry.DataTop() && P.x >= FGeometry.DataLeft() ? FGeometry.ColumnAt(P.x) : -1;
  if (Col < 0) {
    HideDragArrows();
    Screen().SetCursor(crColumnNoDrag);
    return;
  }
  const POINT Edge = ClientToScreen(POINT{FGeometry.ColumnLeft(*FModel.Columns().Items(Col)), 0});
  FArrowAbove.SetShape(TDragArrow::shDown);
  FArrowBelow.SetShape(TDragArrow::shUp);
  const TGridMetrics& Metrics = FModel.Metrics();
  const int Size = Metrics.DragArrowSize(), Left = Edge.x - Metrics.DragArrowInset();
  FArrowAbove.SetBounds(Left, Edge.y - Metrics.DragArrowRise(), Size, Size);
  FArrowBelow.SetBounds(Left, Edge.y + HeaderSize() - 1, Size, Size);
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
    const int Col = P.x >= FGeometry.DataLeft() ? FGeometry.ColumnAt(P.x) : -1;
    if (Col >= 0 && FModel.Columns().Items(Col) != Column)
      Column->SetPosition(FModel.Columns().DisplayIndexOf(FModel.Columns().Items(Col)));
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
