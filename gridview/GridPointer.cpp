#include "gridview/GridPointer.h"

#include <algorithm>
#include <cstdlib>

void TGridPointer::Press(int Button, int X, int Y) {
  FState = psPressing;
  FPressButton = Button;
  FPressX = X, FPressY = Y;
  // A press off the cells leaves what the geometry does not write as it was.
  FPressOnRow = FGeometry.CellAt(X, Y, FPressCol, FPressRow) && FGeometry.HitArea(X, Y) == haData;
  FSelectOnRelease = false;
  if (TCustomColumn* Divider = FGeometry.DividerAt(X, Y)) {
    FState = psResizing;
    FResizeColumn = Divider;
    FResizeDelta = 0;
    const int Left = FGeometry.ColumnLeft(*Divider);
    FResizeLeftLine = Divider->Index() == 0 ? Left : Left - 1;
    FResizeRightLine = Left + Divider->Width() - 1;
  } else if (FGeometry.HitArea(X, Y) == haHeader) {
    FHeaderColumn = FGeometry.HeaderColumnAt(X, Y);
    if (FHeaderColumn) FState = psHeaderPress;
  }
}

void TGridPointer::ResizeTo(int X) {
  if (FState != psResizing) return;
  const int Left = FResizeColumn->Left(), Width = FResizeColumn->Width(), Offset = FGeometry.HorzOffset();
  FResizeDelta = std::max(X + Offset - Left - Width, FGeometry.Metrics().MinColumnWidth() - Width);
  FResizeRightLine = Left + Width + FResizeDelta - Offset - 1;
}

TGridPointer::TDragStep TGridPointer::MoveHeaderPress(int X, int Y, bool ButtonHeld, bool MovingAllowed) const {
  if (FState != psHeaderPress || !ButtonHeld || !MovingAllowed) return dsNone;
  const int Threshold = FGeometry.Metrics().DragThreshold();
  return std::abs(X - FPressX) <= Threshold && std::abs(Y - FPressY) <= Threshold ? dsWait : dsStart;
}

TGridPointer::TDragStep TGridPointer::MoveRowPress(int X, int Y, bool ButtonHeld, bool DragOutAllowed) const {
  if (FState != psPressing || FPressButton != 0 || !FPressOnRow || !ButtonHeld || !DragOutAllowed) return dsNone;
  const int Threshold = FGeometry.Metrics().DragThreshold();
  return std::abs(X - FPressX) <= Threshold && std::abs(Y - FPressY) <= Threshold ? dsWait : dsStart;
}

void TGridPointer::StartDragOut() {
  if (FState != psPressing) return;
  FState = psDraggingOut;
  FSelectOnRelease = false;
}

void TGridPointer::EndDragOut() {
  if (FState == psDraggingOut) FState = psIdle;
}

TCustomColumn* TGridPointer::StartDrag() {
  if (FState != psHeaderPress) return nullptr;
  FDragColumn = FHeaderColumn;
  FHeaderColumn = nullptr;
  FState = psDragging;
  return FDragColumn;
}

TCustomColumn* TGridPointer::EndDrag() {
  if (FState != psDragging) return nullptr;
  TCustomColumn* Column = FDragColumn;
  FDragColumn = nullptr;
  FState = psIdle;
  return Column;
}

TPointerRelease TGridPointer::Release(int Button, int X, int Y) {
  TPointerRelease Result;
  if ((FState == psResizing || FState == psHeaderPress) && Button != FPressButton) {
    Result.Ignored = true;
    return Result;
  }
  Result.PressHeld = Pressed() && Button == FPressButton;
  Result.PressedHeader = FPressedHeader;
  if (FState == psResizing) {
    Result.Resized = FResizeColumn;
    Result.ResizeDelta = FResizeDelta;
    FResizeColumn = nullptr;
    FState = psIdle;
    return Result;
  }
  Result.OnCell = FGeometry.CellAt(X, Y, Result.Col, Result.Row);
  Result.SameCell = Pressed() && Result.Col == FPressCol && Result.Row == FPressRow;
  Result.SelectOnRelease = FSelectOnRelease && FState == psPressing && Button == FPressButton;
  FSelectOnRelease = false;
  Result.HeaderPress = FState == psHeaderPress || FPressedHeader != nullptr;
  FHeaderColumn = nullptr;
  // A drag has its own release, through the drag box.
  if (FState != psDragging) FState = psIdle;
  return Result;
}

TGridPointer::TCancelled TGridPointer::Cancel() {
  TCancelled Result;
  Result.Resize = FState == psResizing;
  Result.Drag = FState == psDragging;
  FSelectOnRelease = false;
  FResizeColumn = FHeaderColumn = FDragColumn = nullptr;
  FState = psIdle;
  return Result;
}

bool TGridPointer::HoverOver(int Col, int Row) {
  if (Col == FHoverCol && Row == FHoverRow) return false;
  FHoverCol = Col;
  FHoverRow = Row;
  return true;
}

bool TGridPointer::LeaveRows() {
  if (FHoverCol < 0) return false;
  ForgetHover();
  return true;
}
