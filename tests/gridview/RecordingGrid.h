#pragma once
// A window-less grid: a model with an observer that writes down every repaint and layout request
// it receives and raises the events a window would.
#include <functional>
#include <string>
#include <vector>

#include "gridview/GridModel.h"

class TRecordingGrid : public TGridModel, public TGridObserver {
 public:
  TRecordingGrid() { SetObserver(this); }
  ~TRecordingGrid() override { SetObserver(nullptr); }

  std::vector<std::string> Log;
  std::vector<std::pair<int, TColumnChangeKind>> Changes;  // column index, kind
  int RowsAtLastVBar = -1;
  int ClientWidth = 250;

  std::function<void(int ACol, int ARow)> OnChange, OnSelectCell, OnDeselectCell;
  std::function<void(int ACol, bool Ascending)> OnSortColumn;
  std::function<void(int ACol)> OnColumnResize;
  std::function<void(int Index, int& Height)> OnMeasuringRowHeight;

  void Forget() { Log.clear(), Changes.clear(); }
  int CountOf(const std::string& Entry) const {
    int N = 0;
    for (const auto& E : Log) N += E == Entry;
    return N;
  }
  bool Has(const std::string& Entry) const { return CountOf(Entry) > 0; }

  bool ViewExists() override { return true; }
  int ViewClientWidth() override { return ClientWidth; }
  void SetGridClientWidth(int Value) {
    ClientWidth = Value;
    TGridModel::SetGridClientWidth(Value);
  }
  void MeasureRowHeight(int ARow, int& Height) override {
    if (OnMeasuringRowHeight) OnMeasuringRowHeight(ARow, Height);
  }
  void InvalidateGrid() override { Log.push_back("grid"); }
  void InvalidateArea(TGridArea Area) override { Log.push_back("area " + std::to_string(Area)); }
  void InvalidateCell(int C, int R) override { Log.push_back("cell " + std::to_string(C) + "," + std::to_string(R)); }
  void InvalidateRow(int R) override { Log.push_back("row " + std::to_string(R)); }
  void InvalidateRows(int F, int L) override { Log.push_back("rows " + std::to_string(F) + "-" + std::to_string(L)); }
  void InvalidateColumn(TCustomColumn* C, TGridArea A) override {
    Log.push_back("column " + std::to_string(C->Index()) + " area " + std::to_string(A));
  }
  void InvalidateFromColumn(TCustomColumn* C) override { Log.push_back("from column " + std::to_string(C->Index())); }
  void InvalidateIndicatorCell(int R) override { Log.push_back("indicator " + std::to_string(R)); }
  void InvalidateSelection() override { Log.push_back("selection"); }
  void UpdateHorizontalScrollBar() override { Log.push_back("hbar"); }
  void UpdateVerticalScrollBar() override {
    Log.push_back("vbar");
    RowsAtLastVBar = RowCount();
  }
  void ScrollRowsFrom(int R, int DY) override {
    Log.push_back("scroll " + std::to_string(R) + " by " + std::to_string(DY));
  }
  void ScrollIntoView(int) override {}
  void HideCellEditor() override { Log.push_back("hide editor"); }
  void RepositionEditor() override {}
  void CellChanged(int C, int R) override {
    if (OnChange) OnChange(C, R);
  }
  void CellSelected(int C, int R) override {
    if (OnSelectCell) OnSelectCell(C, R);
  }
  void CellDeselected(int C, int R) override {
    if (OnDeselectCell) OnDeselectCell(C, R);
  }
  void ColumnSorted(int C, bool Ascending) override {
    if (OnSortColumn) OnSortColumn(C, Ascending);
  }
  void ColumnChanged(TCustomColumn* Column, TColumnChangeKind Kind) override {
    Changes.push_back({Column->Index(), Kind});
    if (Kind == ccWidth && OnColumnResize) OnColumnResize(Column->Index());
  }
  void ColumnsChanged(int) override {}
};
