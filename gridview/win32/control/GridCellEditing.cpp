#include "gridview/win32/control/GridCellEditing.h"

#include <algorithm>

void TGridCellEditing::Opened(TCellEditor& Editor, int ACol, int ARow, bool Input) {
  FEditor = &Editor;
  FInput = Input;
  FCol = ACol;
  FRow = ARow;
}

TGridCellEditing::TClosed TGridCellEditing::Forget() {
  const TClosed Closed{FEditor, FInput, FCol, FRow};
  FEditor = nullptr;
  FInput = false;
  FCol = FRow = -1;
  return Closed;
}

TGridRect TGridCellEditing::Bounds(const TGridGeometry& Geometry, int ACol, int ARow, bool Input) {
  TGridRect R = Geometry.CellRect(ACol, ARow, Input ? gaInput : gaData);
  R.Left = std::max(R.Left + 1, Geometry.DataLeft());
  R.Top += 1;
  R.Right -= 1;
  R.Bottom -= 1;
  return R;
}
