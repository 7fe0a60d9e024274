// The mouse in TCustomGridViewControl: what the pointer's state machine (TGridPointer) decides,
// carried out on screen: capture, inverted marker lines of a resize, pressed and hot headers, the
// column drag's box and arrows, the start of a drag out of the grid, hover hints, double clicks, the
// wheel, and the focus.
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
  if (FModel.Columns().Count() > 0 && (Button == mbLeft || Button == mbRight) && !FPointer.Busy()) {
    // A right press keeps a multi-selection whole for the context menu, and is not reported.
    if (Button == mbRight && FModel.MultiSelecting()) return;
    FPointer.Press(Button, X, Y);
    const TGridHitArea Area = FGeometry.HitArea(X, Y);
    // Either button resizes, presses and drags headers; the mouse stays here until the release.
    if (Button == mbLeft || Area == haHeader) SetCapture(FHandle);
    if (FPointer.State() == psResizing) {
      InvertResizeLine(FPointer.ResizeLeftLine());
      InvertResizeLine(FPointer.ResizeRightLine());
    } else if (Area == haData) {
      if (EditingInput()) {
        EndCellEdit();
        AcceptInputRow();
      }
      AcceptAndCloseEditor();
      FModel.SetInputRowMode(false);
      PressData(Shift, X, Y);
    } else if (Area == haHeader) {
      TCustomColumn* Column = FPointer.HeaderColumn();
      if (Column && Column->Options().Contains(coCanClick)) SetPressedHeader(Column);
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
  // A plain left press on a row of a selection of several keeps them selected for a drag out; its
  // release without a drag selects that row alone, as a click does.
  if (OnDragOut && FPointer.PressButton() == mbLeft && !(Shift & (ssShift | ssCtrl)) && Row >= 0 &&
      FModel.MultiSelecting() && FModel.RowSelected(Row)) {
    FPointer.SelectOnRelease();
    return;
  }
  if (Row < 0) Row = FModel.CurrentRow();
  if (Col < 0) Col = FModel.CurrentColumn();
  FModel.SetCurrentCell(Col, Row, Shift);
}

void TCustomGridViewControl::InvertResizeLine(int X) {
  TDCGuard DC(FHandle);
  PatBlt(DC.Get(), X, 0, 1, ClientHeight(), DSTINVERT);
}

// Moving.

void TCustomGridViewControl::MouseMove(TShiftState Shift, int X, int Y) {
  TScrollView::MouseMove(Shift, X, Y);
  if (FModel.Columns().Count() == 0 || Rolling()) return;
  if (FPointer.State() == psResizing) {
    InvertResizeLine(FPointer.ResizeRightLine());
    FPointer.ResizeTo(X);
    InvertResizeLine(FPointer.ResizeRightLine());
    return;
  }
  const bool Held = (Shift & ButtonShiftState(static_cast<TMouseButton>(FPointer.PressButton()))) != 0;
  const int PressRow = FPointer.PressRow();
  const bool DragOut = OnDragOut && PressRow >= 0 && PressRow < FModel.RowCount() && FModel.RowSelected(PressRow);
  switch (FPointer.MoveRowPress(X, Y, Held, DragOut)) {
    case TGridPointer::dsWait: return;
    case TGridPointer::dsStart: StartDragOut(); return;
    case TGridPointer::dsNone: break;
  }
  switch (FPointer.MoveHeaderPress(X, Y, Held, !Options().Contains(goDissableColumnMoving))) {
    case TGridPointer::dsWait: return;
    case TGridPointer::dsStart: StartColumnDrag(); return;
    case TGridPointer::dsNone: break;
  }
  const TGridHitArea Area = FGeometry.HitArea(X, Y);
  if (Area != haHeader) SetHotHeader(nullptr);
  if (Area != haData && FPointer.LeaveRows()) HideHints();
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
  if (FPointer.HoverOver(Col, Row)) UpdateHints(Col, Row);
}

void TCustomGridViewControl::UpdateHints(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || FEditing.OpenOver(ACol, ARow)) {
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
  FPointer.ForgetHover();
  HideHints();
  TScrollView::MouseLeave();
}

// Releasing.

void TCustomGridViewControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TScrollView::MouseUp(Button, Shift, X, Y);
  // The other button's release leaves a resize or header press running.
  const TPointerRelease Release = FPointer.Release(Button, X, Y);
  if (Release.Ignored) return;
  // The mouse is given back once the release is handled, when nothing waits for it any more.
  struct TGiveBack {
    HWND Window;
    bool Pressing;
    ~TGiveBack() {
      if (Pressing && GetCapture() == Window) ReleaseCapture();
    }
  } GiveBack{FHandle, Button == mbLeft || Release.PressHeld};
  TCustomColumn* Pressed = Release.PressedHeader;
  SetPressedHeader(nullptr);
  if (TCustomColumn* Column = Release.Resized) {
    InvertResizeLine(FPointer.ResizeLeftLine());
    InvertResizeLine(FPointer.ResizeRightLine());
    Column->SetWidth(Column->Width() + Release.ResizeDelta);
    return;
  }
  const int Col = Release.Col, Row = Release.Row;
  if (Release.SelectOnRelease && Release.OnCell && Release.SameCell) FModel.SetCurrentCell(Col, Row, Shift);
  if (Release.OnCell && Release.SameCell && OnCellClick) OnCellClick(EventSender(), Col, Row);
  // A press released away from its header is a click given up, as with any button.
  if (Pressed && FGeometry.HeaderColumnAt(X, Y) == Pressed && OnHeaderClick)
    OnHeaderClick(EventSender(), Pressed->Index());
  if (Button == mbLeft)
    ReleaseLeft(FGeometry.HitArea(X, Y), X, Y, Release.SameCell && Release.OnCell, Release.HeaderPress);
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
  if (FPointer.DoubleClickOnRows()) TScrollView::DblClick();
}

bool TCustomGridViewControl::MouseWheel(TShiftState Shift, int Delta, POINT ScreenPos) {
  if (FEditing.Editor()) return true;
  if (TScrollView::MouseWheel(Shift, Delta, ScreenPos)) return true;
  const int Step = (Shift & ssCtrl) ? std::max(1, FGeometry.WholeRowsInView()) : 1;
  if (Delta > 0)
    SetTopRow(TopRow() - Step);
  else if (Delta < 0)
    SetTopRow(TopRow() + Step);
  return true;
}

// Drag out of the grid.

void TCustomGridViewControl::StartDragOut() {
  FPointer.StartDragOut();
  HideHints();
  // The drag takes the mouse and runs its own loop until the drop, which is the press's release.
  if (GetCapture() == FHandle) ReleaseCapture();
  struct TDragEnd {
    TGridPointer& Pointer;
    ~TDragEnd() { Pointer.EndDragOut(); }
  } End{FPointer};
  OnDragOut(EventSender());
}

// Pressed and hot headers.

void TCustomGridViewControl::SetPressedHeader(TCustomColumn* Column) {
  TCustomColumn* Old = FPointer.PressedHeader();
  if (Column == Old) return;
  if (Old) InvalidateColumn(Old, gaHeader);
  FPointer.SetPressedHeader(Column);
  if (Column) InvalidateColumn(Column, gaHeader);
}

void TCustomGridViewControl::SetHotHeader(TCustomColumn* Column) {
  TCustomColumn* Old = FPointer.HotHeader();
  if (Column == Old) return;
  if (Old) InvalidateColumn(Old, gaHeader);
  FPointer.SetHotHeader(Column);
  if (Column) InvalidateColumn(Column, gaHeader);
}

// Column drag.

void TCustomGridViewControl::StartColumnDrag() {
  TCustomColumn* Column = FPointer.StartDrag();
  SetPressedHeader(nullptr);
  FDragBox.Font().Assign(Font());
  const POINT Corner = ClientToScreen(POINT{FGeometry.ColumnLeft(*Column), 0});
  FDragBox.SetBounds(Corner.x, Corner.y, Column->Width(), HeaderSize());
  FDragBox.OnMove = [this](TColumnDragBox&, int X, int Y) { ColumnDragMove(X, Y); };
  FDragBox.OnDrop = [this](TColumnDragBox&, int X, int Y) { ColumnDragDrop(X, Y); };
  POINT Cursor;
  GetCursorPos(&Cursor);
  FDragBox.StartDrag(Cursor.x, Cursor.y, false, Column, static_cast<TMouseButton>(FPointer.PressButton()));
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
  TCustomColumn* Column = FPointer.EndDrag();
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
  const TGridPointer::TCancelled Cancelled = FPointer.Cancel();
  if (Cancelled.Resize) {
    InvertResizeLine(FPointer.ResizeLeftLine());
    InvertResizeLine(FPointer.ResizeRightLine());
  }
  if (Cancelled.Drag) {
    FDragBox.CancelDrag();
    HideDragArrows();
  }
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
  if (FEditing.Editor() && !(FFocusTarget && (FFocusTarget == FHandle || IsChild(FHandle, FFocusTarget))))
    AcceptAndCloseEditor();
}

void TCustomGridViewControl::ApplicationDeactivated() {
  TScrollView::ApplicationDeactivated();
  if (Rolling()) StopRolling();
  CancelMouseInteraction();
  FPointer.ForgetHover();
  HideHints();
}
