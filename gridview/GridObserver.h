#pragma once
// The one channel from the grid's data to whoever shows it. The model (and, through the model, its
// columns, cells and rows) reports every repaint, layout step and event it causes here; the window
// control implements it. A model without an observer works alone, as the data-side tests use it.
#include "gridview/GridTypes.h"

class TCustomColumn;

class TGridObserver {
 public:
  virtual ~TGridObserver() = default;

  // Questions the model asks of its view.
  // Whether the view is on screen: sorting on a column change waits for it.
  virtual bool ViewExists() = 0;
  // The width that auto-sized columns share.
  virtual int ViewClientWidth() = 0;
  // A chance to change a row's height before it is used (the view's measuring event).
  virtual void MeasureRowHeight(int ARow, int& Height) = 0;

  // Repaint requests, in the view's areas.
  virtual void InvalidateGrid() = 0;
  virtual void InvalidateArea(TGridArea Area) = 0;
  virtual void InvalidateCell(int ACol, int ARow) = 0;
  virtual void InvalidateRow(int ARow) = 0;
  virtual void InvalidateRows(int First, int Last) = 0;
  virtual void InvalidateIndicatorCell(int ARow) = 0;
  virtual void InvalidateColumn(TCustomColumn* Column, TGridArea Area) = 0;
  // From the column's left edge to the right of the view.
  virtual void InvalidateFromColumn(TCustomColumn* Column) = 0;
  virtual void InvalidateSelection() = 0;

  // Layout.
  virtual void UpdateHorizontalScrollBar() = 0;
  virtual void UpdateVerticalScrollBar() = 0;
  // Moves the pixels from the top of ARow to the bottom of the data area by DY (negative: up).
  virtual void ScrollRowsFrom(int ARow, int DY) = 0;
  // Keeps ARow on screen (AutoScroll).
  virtual void ScrollIntoView(int ARow) = 0;
  // Closes an open cell editor (dropping its text), or moves one to its cell's new place.
  virtual void HideCellEditor() = 0;
  virtual void RepositionEditor() = 0;

  // Changes, after the model has followed them; the view raises its events from these.
  virtual void CellChanged(int ACol, int ARow) = 0;
  virtual void CellSelected(int ACol, int ARow) = 0;
  virtual void CellDeselected(int ACol, int ARow) = 0;
  virtual void ColumnSorted(int ACol, bool Ascending) = 0;
  virtual void ColumnChanged(TCustomColumn* Column, TColumnChangeKind Kind) = 0;
  // Columns were added, removed or cleared (a TColumnsStructureKind).
  virtual void ColumnsChanged(int Kind) = 0;
};
