#pragma once
// The data half of the grid control: its columns and row store, the update lock, the current cell
// and row selection, sorting and footer formulas. The columns and the store report to the model;
// repaints, layout steps and events go on to one observer (the window control that owns the
// model); without one every operation still runs, so the data side is tested without a window.
#include <limits>
#include <string>

#include "gridview/Cells.h"
#include "gridview/Columns.h"
#include "gridview/GridMetrics.h"
#include "gridview/GridObserver.h"

class TGridModel : private TColumnsOwner {
 public:
  TGridModel();
  ~TGridModel();
  TGridModel(const TGridModel&) = delete;
  TGridModel& operator=(const TGridModel&) = delete;

  // The view that hears of every change; null for none. Not owned.
  void SetObserver(TGridObserver* Value) { FObserver = Value; }
  TGridObserver* Observer() const { return FObserver; }

  TColumns& Columns() { return FColumns; }
  const TColumns& Columns() const { return FColumns; }
  TCells& Cells() { return FCells; }
  const TCells& Cells() const { return FCells; }
  // Rows kept by the program itself: the ckVirtual columns take their values from Source (not
  // owned; null for none). Setting it empties the grid.
  void SetRowSource(TRowSource* Source);

  // Update lock: while it is held, cell changes neither repaint nor report and added rows are not
  // painted; the last EndUpdate repaints once what changed meanwhile (from the first row added or
  // changed down to the bottom of the data area).
  void BeginUpdate();
  void EndUpdate();
  bool IsUpdating() const { return FUpdateCount > 0; }

  // Rows and cells. Column indexes are creation-order indexes of Columns().
  int RowCount() const { return FCells.RowCount(); }
  void AddRows(int Count);
  void AddCellRows(int Count);  // rows without default values, repaint or scroll-bar update
  void ClearRows();             // the current cell stays where it was
  void DeleteRow(int ARow);
  void InsertRow(int ARow);
  void MoveRow(int From, int To);
  void ExchangeRows(int A, int B);
  // "Cell out of bounds (col, row)" outside the table; conversion errors leave the cell as it was.
  void SetCellText(int ACol, int ARow, const std::u16string& Text);
  std::u16string GetCellText(int ACol, int ARow);
  TColor GetCellColor(int ACol, int ARow);
  TCell* GetCell(int ACol, int ARow);  // EListError outside the table
  int RowHeight(int ARow);
  bool RowSelected(int ARow) const;
  void SetRowSelected(int ARow, bool Value);  // ignores rows that do not exist
  int SelectedCount() const { return FCells.SelectedCount(); }
  bool ValidRow(int ARow) const { return ARow >= 0 && ARow < RowCount(); }

  // Current cell and selection.
  int CurrentRow() const { return FCurrentRow; }
  int CurrentColumn() const { return FCurrentColumn; }
  int AnchorRow() const { return FAnchorRow; }
  void SetCurrentCell(int ACol, int ARow, TShiftState Shift);
  void SetCurrentRow(int ARow);
  void ClearSelection();
  // Selects every row as one multi-selection.
  void SelectAll();
  bool MultiSelecting() const { return FMultiSelecting; }
  bool InputRowMode() const { return FInputRowMode; }
  void SetInputRowMode(bool Value) { FInputRowMode = Value; }

  // Sorts by the column when it has coCanSort.
  void SortColumn(TCustomColumn* Column, bool Ascending);
  // A click on the column's header: the first sorts by it, each further one reverses the order.
  // Nothing for a column without coCanSort.
  void SortByHeaderClick(TCustomColumn* Column);
  // True when the column's cells can be edited in place.
  bool ColumnEditable(int ACol) const;
  // Puts the cell's value into the element's field for the column's cell kind (text for kinds
  // without a field of their own).
  void LoadCellValue(int ACol, int ARow, TVirtualColElement& Element);
  // Footer captions from their formulas; run on request only.
  void RecalcFooters();

  // Properties the data side reads.
  TGridOptions Options() const { return FOptions; }
  void SetOptions(TGridOptions Value);
  TAppearanceOptions AppearanceOptions() const { return FAppearanceOptions; }
  void SetAppearanceOptions(TAppearanceOptions Value);
  int RowSize() const { return FRowSize; }
  void SetRowSize(int Value);  // values <= 0 are ignored
  // Every row's height times Multiplier / Divisor, rounded (the grid moved to a screen of another
  // density); no row becomes lower than one pixel.
  void ScaleRowHeights(int Multiplier, int Divisor);
  TGridStyle GridStyle() const { return FGridStyle; }
  void SetGridStyle(TGridStyle Value);
  // The font columns with ParentFont take (the window control keeps it in step with its own).
  const TGridFont& GridFont() const { return FFont; }
  void SetGridFont(const TGridFont& Value);
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool Value) { FAutoScroll = Value; }

  // The width auto-sized columns share: the view's, or a settable one without a view.
  int GridClientWidth() const { return FObserver ? FObserver->ViewClientWidth() : FClientWidth; }
  // A new client width shares the spare width among the auto-sized columns again.
  void SetGridClientWidth(int Value);
  bool ViewExists() const { return !FObserver || FObserver->ViewExists(); }
  // Left edge of the data (the indicator strip's width when it is shown).
  int DataLeft() const { return FOptions.Contains(goIndicator) ? FMetrics.IndicatorWidth() : 0; }
  // The space below and right of every cell (goGrid).
  int GridLineWidth() const { return FOptions.Contains(goGrid) ? FMetrics.GridLineWidth() : 0; }

  // The grid's pixel sizes at the screen's scale (96 pixels per inch unless set).
  const TGridMetrics& Metrics() const { return FMetrics; }
  // A new scale lays the grid out again; rows, header and column sizes are the caller's to scale.
  void SetPixelsPerInch(int Value);

 private:
  // TColumnsOwner: what the columns report and ask.
  void ColumnsStructureChanged(TColumnsStructureKind Kind, int Index, int Index2) override;
  void ColumnPropertyChanged(TCustomColumn* Column, TColumnChangeKind Kind) override;
  void AfterColumnsChange(int Kind) override;
  void RepaintColumn(TCustomColumn* Column, TGridArea Area) override;
  int ColumnsLeft() const override { return DataLeft(); }
  int ColumnsWidth() const override;
  int MinColumnWidth() const override { return FMetrics.MinColumnWidth(); }
  const TGridFont& ColumnsFont() const override { return FFont; }
  // What the store reports.
  void StoreCellChanged(int ACol, int ARow);

  void CheckCell(int ACol, int ARow) const;
  // Rows from ARow on are repainted when the update lock ends.
  void NoteUpdatedRow(int ARow);
  // The observer, or a silent stand-in when there is none.
  TGridObserver& View() const;

  TGridObserver* FObserver = nullptr;
  TColumns FColumns;
  TCells FCells;
  int FUpdateCount = 0;
  static constexpr int NoUpdatedRow = std::numeric_limits<int>::max();
  int FFirstUpdatedRow = NoUpdatedRow;
  int FCurrentColumn = 0;
  int FCurrentRow = 0;
  int FAnchorRow = 0;
  bool FMultiSelecting = false;
  bool FInputRowMode = false;
  TGridOptions FOptions{goHeader};
  TAppearanceOptions FAppearanceOptions{aoHideSelection, aoHintMarks};
  int FRowSize = 16;
  TGridStyle FGridStyle = gsReport;
  TGridFont FFont;
  bool FAutoScroll = false;
  int FClientWidth = 250;
  TGridMetrics FMetrics;
};
