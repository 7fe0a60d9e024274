#include "gridview/GridModel.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "core/Conversions.h"
#include "core/Text.h"

namespace {
// Stands in for a missing observer, so that the operations need not ask whether there is one.
class TNoObserver final : public TGridObserver {
 public:
  bool ViewExists() override { return true; }
  int ViewClientWidth() override { return 0; }
  void MeasureRowHeight(int, int&) override {}
  void InvalidateGrid() override {}
  void InvalidateArea(TGridArea) override {}
  void InvalidateCell(int, int) override {}
  void InvalidateRow(int) override {}
  void InvalidateRows(int, int) override {}
  void InvalidateIndicatorCell(int) override {}
  void InvalidateColumn(TCustomColumn*, TGridArea) override {}
  void InvalidateFromColumn(TCustomColumn*) override {}
  void InvalidateSelection() override {}
  void UpdateHorizontalScrollBar() override {}
  void UpdateVerticalScrollBar() override {}
  void ScrollRowsFrom(int, int) override {}
  void ScrollIntoView(int) override {}
  void HideCellEditor() override {}
  void RepositionEditor() override {}
  void CellChanged(int, int) override {}
  void CellSelected(int, int) override {}
  void CellDeselected(int, int) override {}
  void ColumnSorted(int, bool) override {}
  void ColumnChanged(TCustomColumn*, TColumnChangeKind) override {}
  void ColumnsChanged(int) override {}
};
TNoObserver NoObserver;
}  // namespace

TGridModel::TGridModel() : FColumns(this), FCells(&FColumns) {
  FCells.OnChange = [this](int ACol, int ARow) { StoreCellChanged(ACol, ARow); };
}

TGridModel::~TGridModel() {
  // Nothing is reported while the members go.
  FObserver = nullptr;
  FColumns.Detach();
  FCells.OnChange = nullptr;
}

TGridObserver& TGridModel::View() const { return FObserver ? *FObserver : NoObserver; }

void TGridModel::BeginUpdate() { ++FUpdateCount; }

void TGridModel::EndUpdate() {
  if (FUpdateCount == 0) return;  // an unpaired call must not unlock someone else's bracket
  if (--FUpdateCount == 0) {
    // Only the rows changed under the lock are repainted: a search that appends rows below the
    // visible ones leaves the screen as it is, whatever the number of rows.
    const int First = std::exchange(FFirstUpdatedRow, NoUpdatedRow);
    if (First < RowCount()) View().InvalidateRows(std::max(First, 0), RowCount() - 1);
    View().UpdateVerticalScrollBar();
  }
}

void TGridModel::NoteUpdatedRow(int ARow) { FFirstUpdatedRow = std::min(FFirstUpdatedRow, ARow); }

void TGridModel::StoreCellChanged(int ACol, int ARow) {
  if (IsUpdating()) {
    NoteUpdatedRow(ARow);
    return;
  }
  View().InvalidateCell(ACol, ARow);
  View().CellChanged(ACol, ARow);
}

void TGridModel::CheckCell(int ACol, int ARow) const {
  if (ARow < 0 || ARow > RowCount() - 1 || ACol < 0 || ACol > FColumns.Count() - 1)
    throw Exception("Cell out of bounds (" + std::to_string(ACol) + ", " + std::to_string(ARow) + ")");
}

void TGridModel::AddCellRows(int Count) { FCells.AddRows(Count, FRowSize); }

void TGridModel::SetRowSource(TRowSource* Source) {
  ClearRows();
  FCells.SetSource(Source);
}

void TGridModel::AddRows(int Count) {
  if (Count <= 0) return;
  const int First = RowCount();
  FCells.AddRows(Count, FRowSize);
  const int Last = RowCount() - 1;
  if (FOptions.Contains(goUseDefaultValues))
    for (int Row = First; Row <= Last; ++Row)
      for (int Col = 0; Col < FColumns.Count(); ++Col)
        if (!FColumns.Items(Col)->DefaultValue().empty()) SetCellText(Col, Row, FColumns.Items(Col)->DefaultValue());
  // The grid line under the previous row is that row's bottom edge.
  const int FirstChanged = FOptions.Contains(goGrid) && First > 0 ? First - 1 : First;
  if (IsUpdating()) {
    NoteUpdatedRow(FirstChanged);
  } else {
    View().InvalidateRows(First, Last);
    if (FirstChanged < First) View().InvalidateRow(FirstChanged);
  }
  View().UpdateVerticalScrollBar();
}

void TGridModel::ClearRows() {
  View().HideCellEditor();
  // Every row goes, so the marks need no clearing one by one (nor a repaint each).
  FMultiSelecting = false;
  FCells.ClearRows();
  View().InvalidateArea(gaData);
  View().InvalidateArea(gaIndicator);
  View().UpdateHorizontalScrollBar();
  View().UpdateVerticalScrollBar();
}

void TGridModel::DeleteRow(int ARow) {
  View().HideCellEditor();
  const int Height = RowHeight(ARow) + GridLineWidth();
  FCells.DeleteRow(ARow);
  // The scroll range is taken after the row is gone, so that it is not one row too long.
  View().UpdateVerticalScrollBar();
  View().ScrollRowsFrom(ARow, -Height);
  View().InvalidateSelection();
}

void TGridModel::InsertRow(int ARow) {
  View().HideCellEditor();
  FCells.InsertRow(ARow, FRowSize);
  View().UpdateVerticalScrollBar();
  SetCurrentRow(CurrentRow() + 1);
  View().ScrollRowsFrom(ARow, RowHeight(ARow) + GridLineWidth());
}

void TGridModel::MoveRow(int From, int To) {
  View().HideCellEditor();
  FCells.MoveRow(From, To);
  View().InvalidateGrid();
}

void TGridModel::ExchangeRows(int A, int B) { FCells.ExchangeRows(A, B); }

void TGridModel::SetCellText(int ACol, int ARow, const std::u16string& Text) {
  CheckCell(ACol, ARow);
  GetCell(ACol, ARow)->SetAsText(Text);
}

std::u16string TGridModel::GetCellText(int ACol, int ARow) {
  CheckCell(ACol, ARow);
  return GetCell(ACol, ARow)->GetAsText();
}

TColor TGridModel::GetCellColor(int ACol, int ARow) { return GetCell(ACol, ARow)->Color(); }

TCell* TGridModel::GetCell(int ACol, int ARow) { return FCells.GetCell(ACol, ARow); }

int TGridModel::RowHeight(int ARow) {
  int Height = FCells.Row(ARow).Height;
  View().MeasureRowHeight(ARow, Height);
  return Height;
}

bool TGridModel::RowSelected(int ARow) const { return FCells.Row(ARow).Selected; }

void TGridModel::SetRowSelected(int ARow, bool Value) {
  if (!ValidRow(ARow)) return;
  TRow& Row = FCells.Row(ARow);
  if (Row.Selected == Value) return;
  Row.Selected = Value;
  View().InvalidateRow(ARow);
}

// Current cell and selection.

void TGridModel::ClearSelection() {
  for (int Row = 0; Row < RowCount(); ++Row) SetRowSelected(Row, false);
  FMultiSelecting = false;
}

void TGridModel::SelectAll() {
  for (int Row = 0; Row < RowCount(); ++Row) SetRowSelected(Row, true);
  FMultiSelecting = true;
}

void TGridModel::SetCurrentRow(int ARow) {
  if (ARow >= RowCount()) return;
  SetCurrentCell(FCurrentColumn, ARow, 0);
  FInputRowMode = false;
}

void TGridModel::SetCurrentCell(int ACol, int ARow, TShiftState Shift) {
  const bool Shifted = (Shift & ShiftKeyBit) != 0, Ctrl = (Shift & CtrlKeyBit) != 0;
  if (FMultiSelecting && !Shifted && !Ctrl) ClearSelection();
  const int OldCol = FCurrentColumn, OldRow = FCurrentRow;
  FCurrentColumn = ACol;
  FCurrentRow = ARow;
  const bool ColChanged = OldCol != ACol, RowChanged = OldRow != ARow;
  if (ColChanged || RowChanged) View().CellDeselected(OldCol, OldRow);
  if (FAutoScroll) View().ScrollIntoView(ARow);
  if (FInputRowMode) {
    if (ColChanged) {
      if (ACol >= 0 && ACol < FColumns.Count()) View().InvalidateColumn(FColumns.Items(ACol), gaInput);
      if (OldCol >= 0 && OldCol < FColumns.Count()) View().InvalidateColumn(FColumns.Items(OldCol), gaInput);
    }
    return;
  }
  if (RowCount() == 0) return;
  auto Selected = [&] { View().CellSelected(ACol, ARow); };
  if (!FOptions.Contains(goSelectFullRow)) {
    if (ColChanged || RowChanged) {
      View().InvalidateCell(ACol, ARow);
      View().InvalidateCell(OldCol, OldRow);
      if (RowChanged) View().InvalidateIndicatorCell(ARow), View().InvalidateIndicatorCell(OldRow);
    }
    Selected();
    return;
  }
  const bool Multi = FOptions.Contains(goMultiSelect);
  if (Multi && Ctrl) {
    FAnchorRow = ARow;
    FMultiSelecting = true;
    if (ValidRow(ARow)) SetRowSelected(ARow, !RowSelected(ARow));
    if (RowChanged) View().InvalidateRow(ARow), View().InvalidateRow(OldRow);
    Selected();
    return;
  }
  if (Multi && Shifted) {
    FMultiSelecting = true;
    const int Low = std::min(FAnchorRow, ARow), High = std::max(FAnchorRow, ARow);
    for (int Row = 0; Row < RowCount(); ++Row) SetRowSelected(Row, Row >= Low && Row <= High);
    if (RowChanged) View().InvalidateRow(ARow), View().InvalidateRow(OldRow);
    Selected();
    return;
  }
  if (!RowChanged) {
    if (FAppearanceOptions.Contains(aoIndicateSelectedCell) && ColChanged) {
      View().InvalidateCell(OldCol, OldRow);
      View().InvalidateCell(ACol, ARow);
    }
  } else {
    // The focus frame moves with the current row, whatever the selection marks do (a row that was
    // current without being selected repaints nothing through its mark).
    View().InvalidateRow(OldRow);
    View().InvalidateRow(ARow);
    if (!FMultiSelecting) SetRowSelected(OldRow, false);
  }
  SetRowSelected(ARow, true);
  FAnchorRow = ARow;
  Selected();
}

// Columns.

void TGridModel::ColumnsStructureChanged(TColumnsStructureKind Kind, int Index, int Index2) {
  switch (Kind) {
    case scAdded: FCells.AddColumn(); break;
    case scRemoved: FCells.RemoveColumn(Index); break;
    case scCleared: FCells.RemoveAllColumns(); break;
    case scInserted: FCells.InsertColumn(Index); break;
    case scMoved: FCells.MoveColumn(Index, Index2); break;
  }
}

void TGridModel::AfterColumnsChange(int Kind) {
  if (Kind != scCleared) View().RepositionEditor();
  View().InvalidateGrid();
  View().ColumnsChanged(Kind);
}

void TGridModel::ColumnPropertyChanged(TCustomColumn* Column, TColumnChangeKind Kind) {
  if (!ViewExists() || !Column) return;
  if (Kind == ccPosition || Kind == ccSortOn || Kind == ccVisible || Kind == ccWidth) View().RepositionEditor();
  switch (Kind) {
    case ccInput: View().InvalidateColumn(Column, gaInput); break;
    case ccPosition: View().InvalidateGrid(); break;
    case ccVisible:
      View().UpdateHorizontalScrollBar();
      View().InvalidateGrid();
      break;
    case ccAppearance: View().InvalidateColumn(Column, gaWhole); break;
    case ccSortOff: View().InvalidateColumn(Column, gaHeader); break;
    case ccWidth: View().InvalidateFromColumn(Column); break;
    case ccSortOn:
    case ccSortSettings:
      if (Column->Sorted()) {
        const bool Ascending = Column->SortKind() == skAscending;
        SortColumn(Column, Ascending);
        View().ColumnSorted(Column->Index(), Ascending);
      }
      break;
  }
  View().ColumnChanged(Column, Kind);
}

void TGridModel::RepaintColumn(TCustomColumn* Column, TGridArea Area) {
  if (ViewExists()) View().InvalidateColumn(Column, Area);
}

void TGridModel::SortColumn(TCustomColumn* Column, bool Ascending) {
  if (!Column || !Column->Options().Contains(coCanSort)) return;
  View().HideCellEditor();
  FCells.Sort(Column->Index(), Column->SortType(), !Ascending);
  View().InvalidateArea(gaData);
}

void TGridModel::SortByHeaderClick(TCustomColumn* Column) {
  if (!Column || !Column->Options().Contains(coCanSort)) return;
  if (Column->Sorted())
    Column->SetSortKind(Column->SortKind() == skAscending ? skDescending : skAscending);
  else
    Column->SetSorted(true);
}

bool TGridModel::ColumnEditable(int ACol) const {
  return ACol >= 0 && ACol < FColumns.Count() && FColumns.Items(ACol)->Options().Contains(coEditing);
}

void TGridModel::LoadCellValue(int ACol, int ARow, TVirtualColElement& Element) {
  if (FCells.Sourced(ACol)) {
    FCells.Source()->LoadValue(ACol, FCells.Item(ARow), Element);
    return;
  }
  TCell* Cell = GetCell(ACol, ARow);
  switch (FColumns.Items(ACol)->CellKind()) {
    case ckBoolean: Element.BooleanValue = Cell->GetAsBoolean(); break;
    case ckDateTime: Element.DateTimeValue = Cell->GetAsDateTime(); break;
    case ckFloat: Element.FloatValue = Cell->GetAsFloat(); break;
    case ckInteger: Element.IntegerValue = Cell->GetAsInteger(); break;
    case ckObject: Element.ObjectValue = Cell->Object(); break;
    case ckIncrement:
      Element.IntegerValue = Cell->GetAsInteger();
      Element.TextValue = Cell->GetAsText();
      break;
    default: Element.TextValue = Cell->GetAsText(); break;
  }
}

int TGridModel::ColumnsWidth() const {
  const int Width = GridClientWidth();
  return FGridStyle == gsReport && FOptions.Contains(goIndicator) ? Width - FMetrics.IndicatorWidth() : Width;
}

void TGridModel::SetGridClientWidth(int Value) {
  FClientWidth = Value;
  FColumns.AutoSize(nullptr, false);
}

void TGridModel::RecalcFooters() {
  for (int Col = 0; Col < FColumns.Count(); ++Col) {
    TCustomColumn* Column = FColumns.Items(Col);
    const TFormulaKind Kind = Column->Footer().FormulaKind();
    if (Kind == fkNone) continue;
    if (RowCount() == 0) {
      Column->Footer().SetCaption(u"0");
      continue;
    }
    double Sum = 0, Max = -std::numeric_limits<double>::infinity(), Min = std::numeric_limits<double>::infinity();
    for (int Row = 0; Row < RowCount(); ++Row) {
      const double Value = GetCell(Col, Row)->GetAsFloat();
      Sum += Value;
      Max = std::max(Max, Value);
      Min = std::min(Min, Value);
    }
    double Result = Sum;
    switch (Kind) {
      case fkAverage: Result = Sum / RowCount(); break;
      case fkCount: Result = RowCount(); break;
      case fkMaximum: Result = Max; break;
      case fkMinimum: Result = Min; break;
      default: break;
    }
    Column->Footer().SetCaption(Column->FormatText(Utf8ToUtf16(FloatToStr(Result))));
  }
}

// Properties.

void TGridModel::SetOptions(TGridOptions Value) {
  const bool IndicatorChanged = Value.Contains(goIndicator) != FOptions.Contains(goIndicator);
  FOptions = Value;
  if (IndicatorChanged) FColumns.RecalcLefts(false);
  View().InvalidateGrid();
  View().RepositionEditor();
  View().UpdateHorizontalScrollBar();
}

void TGridModel::SetPixelsPerInch(int Value) {
  if (Value <= 0 || Value == FMetrics.PixelsPerInch()) return;
  FMetrics.SetPixelsPerInch(Value);
  FColumns.RecalcLefts(false);  // the indicator strip has a new width
  View().InvalidateGrid();
  View().RepositionEditor();
  View().UpdateHorizontalScrollBar();
  View().UpdateVerticalScrollBar();
}

void TGridModel::SetAppearanceOptions(TAppearanceOptions Value) {
  FAppearanceOptions = Value;
  View().InvalidateGrid();
}

void TGridModel::SetRowSize(int Value) {
  if (Value <= 0) return;
  FRowSize = Value;
  View().InvalidateArea(gaData);
  View().InvalidateArea(gaInput);
  View().InvalidateArea(gaIndicator);
  View().RepositionEditor();
}

void TGridModel::ScaleRowHeights(int Multiplier, int Divisor) {
  if (Multiplier <= 0 || Divisor <= 0 || Multiplier == Divisor) return;
  for (int ARow = 0; ARow < RowCount(); ++ARow) {
    TRow& Row = FCells.Row(ARow);
    const long long Scaled = (static_cast<long long>(Row.Height) * Multiplier + Divisor / 2) / Divisor;
    Row.Height = static_cast<int>(std::clamp<long long>(Scaled, 1, std::numeric_limits<int>::max()));
  }
  View().InvalidateGrid();
  View().RepositionEditor();
  View().UpdateVerticalScrollBar();
}

void TGridModel::SetGridStyle(TGridStyle Value) {
  if (Value == gsSlides) {
    View().HideCellEditor();
    FInputRowMode = false;
  }
  FGridStyle = Value;
  View().InvalidateGrid();
  View().RepositionEditor();
  View().UpdateVerticalScrollBar();
}

void TGridModel::SetGridFont(const TGridFont& Value) {
  FFont = Value;
  for (int Col = 0; Col < FColumns.Count(); ++Col)
    if (FColumns.Items(Col)->ParentFont()) FColumns.Items(Col)->SetParentFont(true);
  View().InvalidateGrid();
}
