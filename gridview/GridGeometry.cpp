#include "gridview/GridGeometry.h"

#include <algorithm>
#include <cstdlib>

bool TGridGeometry::SetHeaderSize(int Value) {
  if (Value < 0) return false;  // a band cannot be less than empty
  FHeaderSize = std::min(Value, MaxExtent);
  return true;
}

bool TGridGeometry::SetInputSize(int Value) {
  if (Value < 0) return false;
  FInputSize = std::min(Value, MaxExtent);
  return true;
}

bool TGridGeometry::SetSlideSize(int Value) {
  if (Value <= 0) return false;  // slides are counted by dividing by their height
  FSlideSize = std::min(Value, MaxExtent);
  return true;
}

// The areas.

int TGridGeometry::DataTop() const {
  int Top = FModel.Options().Contains(goHeader) ? FHeaderSize : 0;
  if (FModel.Options().Contains(goInput)) Top += FInputSize + Metrics().InputPanelHeight() + GridLineWidth();
  return Top;
}

int TGridGeometry::DataBottom() const {
  if (!FModel.Options().Contains(goFooter)) return Height();
  return Height() - (FHeaderSize + Metrics().FooterPanelHeight() + GridLineWidth());
}

TGridRect TGridGeometry::InputRect() const {
  const int Top = FModel.Options().Contains(goHeader) ? FHeaderSize : 0;
  return TGridRect{DataLeft(), Top, ColumnsRight(), Top + FInputSize + Metrics().InputPanelHeight() + GridLineWidth()};
}

TGridRect TGridGeometry::FooterRect() const {
  const int Top = Height() - FHeaderSize - Metrics().FooterPanelHeight() - GridLineWidth();
  return TGridRect{DataLeft(), Top, ColumnsRight(), Height()};
}

// Columns, rows and cells.

int TGridGeometry::RowExtent(int ARow) const {
  // A height handler that answers less than nothing gets an empty row, not a row that runs upwards.
  if (FModel.ValidRow(ARow)) return std::clamp(FModel.RowHeight(ARow), 0, MaxExtent);
  return std::min(FModel.RowSize(), MaxExtent);
}

int TGridGeometry::RowTop(int ARow) const {
  const int G = GridLineWidth();
  if (FModel.GridStyle() == gsSlides) {
    const long long Top = static_cast<long long>(FSlideSize + G) * (static_cast<long long>(ARow) - TopRow());
    return static_cast<int>(std::clamp<long long>(Top, -(1 << 30), 1 << 30));
  }
  // Rows far off screen are walked only until they are surely off screen: below the data bottom,
  // or so far above the data top that not even the tallest row reaches back into view. The walk
  // stays short however many rows there are, and the sum never overflows.
  const int First = DataTop(), Last = DataBottom();
  int Top = First;
  for (int Row = TopRow(); Row < ARow && Top < Last; ++Row) Top += RowExtent(Row) + G;
  for (int Row = ARow; Row < TopRow() && Top > First - 2 * MaxExtent; ++Row) Top -= RowExtent(Row) + G;
  return Top;
}

TGridRect TGridGeometry::CellRect(int ACol, int ARow, TGridArea Area) const {
  const TCustomColumn* Column = FModel.Columns().Items(ACol);
  const int G = GridLineWidth();
  if (FModel.GridStyle() == gsSlides) {
    const TSlideBounds& B = Column->SlideBounds();
    const int Top = (FSlideSize + G) * (ARow - TopRow());
    return TGridRect{B.Left, Top + B.Top, B.Left + B.Width, Top + B.Top + B.Height};
  }
  TGridRect R;
  R.Left = ColumnLeft(*Column);
  R.Right = R.Left + Column->Width() - (FLinesStyle != lsHorizontalOnly ? G : 0);
  R.Top = Area == gaInput ? InputRect().Top : RowTop(ARow);
  R.Bottom = R.Top + (Area == gaInput ? FInputSize : RowExtent(ARow));
  return R;
}

int TGridGeometry::ColumnAt(int X) const {
  const int Data = X + HorzOffset();
  const TColumns& Columns = FModel.Columns();
  for (int P = 0; P < Columns.Count(); ++P) {
    const TCustomColumn* Column = Columns.DisplayItems(P);
    if (Column->Visible() && Data >= Column->Left() && Data < Column->Right()) return Column->Index();
  }
  return -1;
}

int TGridGeometry::RowAt(int Y) const {
  if (Y < DataTop() || Y >= DataBottom()) return -1;
  const int G = GridLineWidth();
  for (int Row = TopRow(), Top = DataTop(); Row < FModel.RowCount() && Top < DataBottom(); ++Row) {
    const int Bottom = Top + RowExtent(Row) + G;
    if (Y < Bottom) return Row;
    Top = Bottom;
  }
  return -1;
}

bool TGridGeometry::CellAt(int X, int Y, int& ACol, int& ARow) const {
  ACol = ARow = -1;
  const TColumns& Columns = FModel.Columns();
  if (FModel.GridStyle() == gsSlides) {
    const int Slide = FSlideSize + GridLineWidth();
    const int Row = (Y < 0 ? -1 : Y / Slide) + TopRow();
    if (Y >= 0 && Row < FModel.RowCount()) ARow = Row;
    const int SlideTop = Y - (Y < 0 ? 0 : Y / Slide * Slide);
    for (int C = 0; C < Columns.Count() && ACol < 0; ++C) {
      const TSlideBounds& B = Columns.Items(C)->SlideBounds();
      if (X >= B.Left && X < B.Left + B.Width && SlideTop >= B.Top && SlideTop < B.Top + B.Height) ACol = C;
    }
    return ACol >= 0 && ARow >= 0;
  }
  const int Data = X + HorzOffset();
  for (int P = 0; P < Columns.Count() && ACol < 0; ++P) {
    const TCustomColumn* Column = Columns.DisplayItems(P);
    if (Column->Visible() && Data >= Column->Left() && Data <= Column->Right()) ACol = Column->Index();
  }
  ARow = RowAt(Y);
  return ACol >= 0 && ARow >= 0;
}

TGridHitArea TGridGeometry::HitArea(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= Width() || Y >= Height()) return haNowhere;
  if (FModel.GridStyle() == gsSlides) return haData;
  const TGridOptions Options = FModel.Options();
  const bool InRows = Y >= DataTop() && Y < DataBottom();
  if (X < DataLeft()) return Options.Contains(goIndicator) && InRows ? haIndicator : haNowhere;
  if (Options.Contains(goHeader) && Y < FHeaderSize) return haHeader;
  if (Options.Contains(goInput) && Y >= InputRect().Top && Y < InputRect().Bottom) return haInput;
  if (InRows) return haData;
  if (Options.Contains(goFooter) && Y >= FooterRect().Top) return haFooter;
  return haNowhere;
}

TCustomColumn* TGridGeometry::HeaderColumnAt(int X, int Y) const {
  if (!FModel.Options().Contains(goHeader) || Y < 0 || Y >= FHeaderSize || X < DataLeft()) return nullptr;
  const int Col = ColumnAt(X);
  return Col >= 0 ? FModel.Columns().Items(Col) : nullptr;
}

TCustomColumn* TGridGeometry::DividerAt(int X, int Y) const {
  if (!FModel.Options().Contains(goHeader) || FModel.GridStyle() != gsReport || Y < 0 || Y >= FHeaderSize)
    return nullptr;
  const TColumns& Columns = FModel.Columns();
  for (int P = 0; P < Columns.Count(); ++P) {
    TCustomColumn* Column = Columns.DisplayItems(P);
    if (!Column->Visible() || Column->Options().Contains(coFixedSize)) continue;
    if (std::abs(X - (Column->Right() - HorzOffset())) <= Metrics().DividerZone()) return Column;
  }
  return nullptr;
}

// Rows in view and scroll limits.

int TGridGeometry::VisibleRowCount() const {
  const int G = GridLineWidth(), Bottom = DataBottom(), Rows = FModel.RowCount(), Top = TopRow();
  int Count = 0;
  for (int Row = Top, Y = DataTop(); Row < Rows; ++Row) {
    Y += RowExtent(Row) + G;
    if (Y > Bottom) break;
    ++Count;
  }
  // Rows above the top row that would fit below the last one count too, so that a grid scrolled
  // to its end and then made taller gives the new room to rows rather than to empty space.
  int Room = Bottom - DataTop();
  for (int Row = Top; Row < Top + Count; ++Row) Room -= RowExtent(Row) + G;
  for (int Row = Top - 1; Row >= 0 && Top + Count >= Rows; --Row) {
    Room -= RowExtent(Row) + G;
    if (Room < 0) break;
    ++Count;
  }
  return std::min(Count, Rows);
}

int TGridGeometry::WholeRowsInView() const {
  const int G = GridLineWidth(), Room = DataBottom() - DataTop();
  int Used = 0, Count = 0;
  for (int Row = TopRow(); Row < FModel.RowCount() && Used + RowExtent(Row) + G <= Room; ++Row, ++Count)
    Used += RowExtent(Row) + G;
  return Count;
}

int TGridGeometry::MaxTopRow() const {
  const int Max = FModel.RowCount() - VisibleRowCount();
  return Max >= 0 && FModel.Columns().Count() > 0 ? Max : 0;
}

int TGridGeometry::TopRowShowing(int ARow) const {
  const int G = GridLineWidth(), Room = DataBottom() - DataTop();
  int Used = 0, Top = ARow;
  while (Top >= 0 && Used + RowExtent(Top) + G <= Room) Used += RowExtent(Top--) + G;
  return std::min(Top + 1, ARow);
}

int TGridGeometry::HorizontalOverflow() const {
  const int Total = FModel.Columns().TotalWidth(), Client = Width() - DataLeft();
  return Client >= Total ? 0 : Total - Client;
}

int TGridGeometry::RowDistance(int From, int To) const {
  const int G = GridLineWidth();
  const int Limit = Height() + 1;
  if (FModel.GridStyle() == gsSlides) {
    const long long Distance = (static_cast<long long>(From) - To) * (FSlideSize + G);
    return static_cast<int>(std::clamp<long long>(Distance, -Limit - MaxExtent, Limit + MaxExtent));
  }
  int Distance = 0;
  for (int Row = From; Row < To && Distance > -Limit; ++Row) Distance -= RowExtent(Row) + G;
  for (int Row = To; Row < From && Distance < Limit; ++Row) Distance += RowExtent(Row) + G;
  return Distance;
}
