#pragma once
// The data half of the grid control: its columns, cell store and rows, the update lock, the
// current cell and row selection, sorting and footer formulas. Repaint and layout requests go to
// virtual hooks that the window control implements; natively they do nothing, so every operation
// runs and can be tested without a window.
#include <functional>
#include <string>

#include "core/Object.h"
#include "gridview/Cells.h"
#include "gridview/Columns.h"
#include "gridview/Rows.h"

// Not a TObject itself: the window control derives from this class and from its window base (a
// TObject), and the events name that object as their sender through EventSender.
//
// A window control on top of it overrides EventSender, GridClientWidth and WindowExists, turns the
// Invalidate* hooks into invalidations of its areas (nothing before the window exists), computes
// its scroll bars in the two Update*ScrollBar hooks, and calls Columns().AutoSize(nullptr, false)
// when its client width changes. Cell colours and SetCurrentCell may be overridden for selection
// colours and painting details.
class TGridModel {
 public:
  using TCellEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;
  using TSortColumnEvent = std::function<void(TObject* Sender, int ACol, bool Ascending)>;
  using TMeasuringRowHeightEvent = std::function<void(TObject* Sender, int Index, int& RowHeight)>;
  using TColumnResizeEvent = std::function<void(TObject* Sender, int ACol)>;

  TGridModel();
  virtual ~TGridModel();
  TGridModel(const TGridModel&) = delete;
  TGridModel& operator=(const TGridModel&) = delete;

  TColumns& Columns() { return FColumns; }
  const TColumns& Columns() const { return FColumns; }
  TCells& Cells() { return FCells; }
  TRows& Rows() { return FRows; }

  // Update lock: while it is held, cell changes neither repaint nor fire OnChange and added rows
  // are not painted; the last EndUpdate repaints the data area once.
  void BeginUpdate();
  void EndUpdate();
  bool IsUpdating() const { return FUpdateCount > 0; }

  // Rows and cells. Column indexes are creation-order indexes of Columns().
  virtual int RowCount() const { return FCells.RowCount(); }
  virtual void AddRows(int Count);
  void AddCellRows(int Count);  // cells only, no row records or repaint
  virtual void ClearRows();     // the current cell stays where it was
  virtual void DeleteRow(int ARow);
  virtual void InsertRow(int ARow);
  virtual void MoveRow(int From, int To);
  virtual void ExchangeRows(int A, int B);
  // "Cell out of bounds (col, row)" outside the table; conversion errors leave the cell as it was.
  virtual void SetCellText(int ACol, int ARow, const std::u16string& Text);
  virtual std::u16string GetCellText(int ACol, int ARow);
  virtual TColor GetCellColor(int ACol, int ARow);
  TCell* GetCell(int ACol, int ARow);  // EListError outside the table
  virtual int RowHeight(int ARow);
  virtual bool RowSelected(int ARow);
  virtual void SetRowSelected(int ARow, bool Value);  // ignores rows that do not exist
  int SelectedCount() const { return FRows.SelectedCount(); }

  // Current cell and selection.
  int CurrentRow() const { return FCurrentRow; }
  int CurrentColumn() const { return FCurrentColumn; }
  virtual void SetCurrentCell(int ACol, int ARow, TShiftState Shift);
  void SetCurrentRow(int ARow);
  void ClearSelection();
  bool MultiSelecting() const { return FMultiSelecting; }
  bool InputRowMode() const { return FInputRowMode; }
  void SetInputRowMode(bool Value) { FInputRowMode = Value; }

  // Following the column collection.
  virtual void ColumnsStructureChanged(TColumnsStructureKind Kind, int Index, int Index2);
  virtual void ColumnChanged(TCustomColumn* Column, TColumnChangeKind Kind);
  virtual void ColumnsChanged(int Kind);
  // Sorts by the column when it has coCanSort.
  virtual void SortColumn(TCustomColumn* Column, bool Ascending);
  // A click on the column's header: the first sorts by it, each further one reverses the order.
  // Nothing for a column without coCanSort.
  void SortByHeaderClick(TCustomColumn* Column);
  // True when the column's cells can be edited in place.
  virtual bool ColumnEditable(int ACol) const;
  // Puts the cell's value into the element's field for the column's cell kind (text for kinds
  // without a field of their own).
  void LoadCellValue(int ACol, int ARow, TVirtualColElement& Element);
  // Footer captions from their formulas; run on request only.
  void RecalcFooters();

  // Properties the data side reads.
  TGridOptions Options() const { return FOptions; }
  virtual void SetOptions(TGridOptions Value);
  TAppearanceOptions AppearanceOptions() const { return FAppearanceOptions; }
  virtual void SetAppearanceOptions(TAppearanceOptions Value);
  int RowSize() const { return FRowSize; }
  virtual void SetRowSize(int Value);  // values <= 0 are ignored
  TGridStyle GridStyle() const { return FGridStyle; }
  virtual void SetGridStyle(TGridStyle Value);
  // The font columns with ParentFont take (the window control keeps it in step with its own).
  const TGridFont& GridFont() const { return FFont; }
  virtual void SetGridFont(const TGridFont& Value);
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool Value) { FAutoScroll = Value; }

  // The Sender of the events: the window control answers itself; a window-less model has none.
  virtual TObject* EventSender() { return nullptr; }

  // Layout facts the window knows; a window-less model uses a settable client width.
  virtual int GridClientWidth() const { return FClientWidth; }
  // A new client width shares the spare width among the auto-sized columns again.
  void SetGridClientWidth(int Value);
  virtual bool WindowExists() const { return true; }
  // Left edge of the data (the indicator strip's width when it is shown).
  int DataLeft() const { return FOptions.Contains(goIndicator) ? IndicatorWidth : 0; }

  // Colours a cell is painted with; the window side adds selection and events.
  virtual TColor CellBackgroundColor(int ACol, int ARow);
  virtual TColor CellTextColor(int ACol, int ARow);

  // Repaint and layout hooks for the window control.
  virtual void InvalidateGrid() {}
  virtual void InvalidateArea(TGridArea) {}
  virtual void InvalidateCell(int /*ACol*/, int /*ARow*/) {}
  virtual void InvalidateRow(int /*ARow*/) {}
  virtual void InvalidateRows(int /*First*/, int /*Last*/) {}
  virtual void InvalidateIndicatorCell(int /*ARow*/) {}
  virtual void InvalidateColumn(TCustomColumn*, TGridArea) {}
  // From the column's left edge to the right of the client area.
  virtual void InvalidateFromColumn(TCustomColumn*) {}
  virtual void InvalidateSelection() {}
  virtual void UpdateHorizontalScrollBar() {}
  virtual void UpdateVerticalScrollBar() {}
  // Moves the pixels from the top of ARow to the bottom of the data area by DY (negative: up).
  virtual void ScrollRowsFrom(int /*ARow*/, int /*DY*/) {}
  // Keeps ARow on screen (AutoScroll).
  virtual void ScrollIntoView(int /*ARow*/) {}
  // Closes an open cell editor (dropping its text) and moves one to its cell's new place.
  virtual void HideCellEditor() {}
  virtual void RepositionEditor() {}

  TCellEvent OnChange;
  TCellEvent OnSelectCell;
  TCellEvent OnDeselectCell;
  TSortColumnEvent OnSortColumn;
  TMeasuringRowHeightEvent OnMeasuringRowHeight;
  TColumnResizeEvent OnColumnResize;

 protected:
  void CellChanged(int ACol, int ARow);
  void CheckCell(int ACol, int ARow) const;
  bool ValidRow(int ARow) const { return ARow >= 0 && ARow < RowCount(); }

  int FCurrentColumn = 0;
  int FCurrentRow = 0;
  int FAnchorRow = 0;
  bool FMultiSelecting = false;
  bool FInputRowMode = false;

 private:
  TColumns FColumns;
  TCells FCells;
  TRows FRows;
  int FUpdateCount = 0;
  TGridOptions FOptions{goHeader};
  TAppearanceOptions FAppearanceOptions{aoHideSelection, aoHintMarks};
  int FRowSize = 16;
  TGridStyle FGridStyle = gsReport;
  TGridFont FFont;
  bool FAutoScroll = false;
  int FClientWidth = 250;
};
