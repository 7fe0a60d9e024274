// Repaint requests of TCustomGridViewControl: the whole grid, an area, a cell, rows, a column or the
// selection, asked by the model's observer, the mouse, the keys and the program (nothing before the
// window exists); and the border.
#include <algorithm>

#include "gridview/win32/base/Themes.h"
#include "gridview/win32/control/CustomGridView.h"

void TCustomGridViewControl::InvalidateClient(const RECT& Rect) {
  if (!HandleAllocated() || Rect.right <= Rect.left || Rect.bottom <= Rect.top) return;
  InvalidateRect(Rect);
}

void TCustomGridViewControl::InvalidateGrid() {
  if (HandleAllocated()) Invalidate();
}

void TCustomGridViewControl::InvalidateArea(TGridArea Area) {
  if (!HandleAllocated()) return;
  const int Width = ClientWidth();
  switch (Area) {
    case gaData:
      InvalidateClient(RECT{FGeometry.DataLeft(), FGeometry.DataTop(), Width, FGeometry.DataBottom()});
      break;
    case gaFooter:
      if (Options().Contains(goFooter)) InvalidateClient(RECT{0, FGeometry.FooterRect().Top, Width, ClientHeight()});
      break;
    case gaHeader:
      if (Options().Contains(goHeader)) InvalidateClient(RECT{0, 0, Width, FGeometry.HeaderSize()});
      break;
    case gaIndicator:
      if (Options().Contains(goIndicator)) InvalidateClient(RECT{0, 0, FGeometry.IndicatorWidth(), ClientHeight()});
      break;
    case gaInput:
      if (Options().Contains(goInput)) {
        const RECT Input = ToRECT(FGeometry.InputRect());
        InvalidateClient(RECT{0, Input.top, Width, Input.bottom});
      }
      break;
    case gaWhole: InvalidateGrid(); break;
  }
}

void TCustomGridViewControl::InvalidateCell(int ACol, int ARow) {
  if (!HandleAllocated() || ACol < 0 || ACol >= FModel.Columns().Count() || ARow < 0) return;
  if (GridStyle() == gsReport && ARow < TopRow()) return;
  const RECT R = GetCellRect(ACol, ARow);
  const int G = FGeometry.GridLineWidth();
  if (R.top >= FGeometry.DataBottom()) return;
  InvalidateClient(RECT{R.left, R.top, R.right + G, R.bottom + G});
}

void TCustomGridViewControl::InvalidateRow(int ARow) {
  if (!HandleAllocated() || ARow < 0) return;
  if (GridStyle() == gsSlides) {
    const int Top = FGeometry.RowTop(ARow);
    InvalidateClient(RECT{0, Top, ClientWidth(), Top + FGeometry.SlideSize() + FGeometry.GridLineWidth()});
    return;
  }
  if (ARow < TopRow()) return;
  const int Top = FGeometry.RowTop(ARow);
  if (Top >= FGeometry.DataBottom()) return;
  InvalidateClient(RECT{0, Top, ClientWidth(),
                        std::min(Top + FGeometry.RowExtent(ARow) + FGeometry.GridLineWidth(), FGeometry.DataBottom())});
}

void TCustomGridViewControl::InvalidateRows(int First, int Last) {
  if (!HandleAllocated() || Last < First) return;
  if (GridStyle() == gsSlides) {
    InvalidateGrid();
    return;
  }
  if (Last < TopRow()) return;
  const int Top = std::max(FGeometry.DataTop(), FGeometry.RowTop(std::max(First, TopRow())));
  if (Top >= FGeometry.DataBottom()) return;
  int Bottom = Top;
  for (int Row = std::max(First, TopRow()); Row <= Last && Bottom < FGeometry.DataBottom(); ++Row)
    Bottom += FGeometry.RowExtent(Row) + FGeometry.GridLineWidth();
  InvalidateClient(RECT{0, Top, ClientWidth(), std::min(Bottom, FGeometry.DataBottom())});
}

void TCustomGridViewControl::InvalidateIndicatorCell(int ARow) {
  if (!HandleAllocated() || !Options().Contains(goIndicator) || ARow < TopRow()) return;
  const int Top = FGeometry.RowTop(ARow);
  InvalidateClient(
      RECT{0, Top, FGeometry.IndicatorWidth(), Top + FGeometry.RowExtent(ARow) + FGeometry.GridLineWidth()});
}

void TCustomGridViewControl::InvalidateColumn(TCustomColumn* Column, TGridArea Area) {
  if (!HandleAllocated() || !Column) return;
  const int Left = FGeometry.ColumnLeft(*Column), Right = Left + Column->Width();
  int Top = 0, Bottom = ClientHeight();
  switch (Area) {
    case gaData: Top = FGeometry.DataTop(), Bottom = FGeometry.DataBottom(); break;
    case gaHeader: Bottom = FGeometry.HeaderSize(); break;
    case gaFooter: Top = FGeometry.FooterRect().Top; break;
    case gaInput: Top = FGeometry.InputRect().Top, Bottom = FGeometry.InputRect().Bottom; break;
    default: break;
  }
  InvalidateClient(RECT{Left, Top, Right, Bottom});
}

void TCustomGridViewControl::InvalidateFromColumn(TCustomColumn* Column) {
  if (!HandleAllocated() || !Column) return;
  InvalidateClient(RECT{FGeometry.ColumnLeft(*Column), 0, ClientWidth(), ClientHeight()});
}

void TCustomGridViewControl::InvalidateSelection() {
  if (!HandleAllocated()) return;
  if (Options().Contains(goSelectFullRow)) {
    for (int Row = TopRow(), Top = FGeometry.DataTop(); Row < FModel.RowCount() && Top < FGeometry.DataBottom();
         ++Row) {
      if (FModel.RowSelected(Row) || Row == FModel.CurrentRow()) InvalidateRow(Row);
      Top += FGeometry.RowExtent(Row) + FGeometry.GridLineWidth();
    }
  } else {
    InvalidateCell(FModel.CurrentColumn(), FModel.CurrentRow());
  }
  if (FModel.InputRowMode()) InvalidateArea(gaInput);
}

void TCustomGridViewControl::RedrawBorder() {
  if (HandleAllocated())
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomGridViewControl::PaintThemedBorder() {
  if (FBorderStyle != bsSingle || !FEnableVisualStyles || !ThemeServices().ThemesActive()) return;
  // The list view's themed background paints the frame; the client area is left out.
  TDCGuard Frame(FHandle, true);
  HDC DC = Frame.Get();
  RECT Window, Client;
  GetWindowRect(FHandle, &Window);
  OffsetRect(&Window, -Window.left, -Window.top);
  Client = RECT{2, 2, Window.right - 2, Window.bottom - 2};
  ExcludeClipRect(DC, Client.left, Client.top, Client.right, Client.bottom);
  ThemeServices().DrawBackground(L"LISTVIEW", DC, 0, 0, Window);
}
