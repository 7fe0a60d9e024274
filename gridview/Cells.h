#pragma once
// The grid's cell store: column-major lists of typed cells (one list per column, one cell per row),
// the sort of the rows by one column and the sort state that lets a change of direction reverse
// the rows instead of sorting again.
#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "gridview/CellClasses.h"

class TColumns;
class TGridModel;

class TCells {
 public:
  static constexpr int MaxColumns = 1025;

  // Columns gives each new cell its class (the column's cell kind) and its colour; both may be null
  // for a bare store whose cells are all text. Grid hears of every changed cell.
  explicit TCells(TColumns* Columns = nullptr, TGridModel* Grid = nullptr);
  ~TCells();
  TCells(const TCells&) = delete;
  TCells& operator=(const TCells&) = delete;

  int ColumnCount() const { return static_cast<int>(FColumns.size()); }
  int RowCount() const { return FRowCount; }
  TGridModel* Grid() const { return FGrid; }

  // EListError outside the table. Writes the coordinates into the cell.
  TCell* GetCell(int ACol, int ARow);

  void AddRows(int Count);
  void InsertRow(int ARow);  // ARow may equal RowCount
  void DeleteRow(int ARow);
  void MoveRow(int From, int To);
  void ExchangeRows(int A, int B);
  void ClearRows();

  // Following the column collection.
  void AddColumn();  // at the end, one cell per existing row
  void InsertColumn(int Index);
  void RemoveColumn(int Index);  // the last one gone empties the rows too
  void MoveColumn(int From, int To);
  void RemoveAllColumns();

  // Sorts rows 0 .. RowCount-1 by column ACol. When the same column was sorted last, nothing
  // changed since and only the direction differs, the rows are reversed without comparing.
  // A value that does not convert raises EConvertError with the rows as they were.
  void Sort(int ACol, TSortType SortType, bool Descending);
  int SortedColumn() const { return FSortColumn; }
  bool SortDescending() const { return FSortDescending; }
  bool SortValid() const { return FSortValid; }
  void InvalidateSort() { FSortValid = false; }

  // The stored form of a text cell's Text in column ACol: one of the texts recently stored in that
  // column when it equals one, so that a folder, type or time repeated over many rows is kept once.
  TSharedText ShareText(int ACol, std::u16string_view Text);

  // Called by a cell after its value or colour changed.
  void CellChanged(const TCell& Cell);
  // Stops reporting to the grid (it is going away).
  void Detach() { FGrid = nullptr; }

 private:
  using TCellList = std::vector<std::unique_ptr<TCell>>;
  TCellKind KindOf(int ACol) const;
  TColor ColorOf(int ACol) const;
  std::unique_ptr<TCell> NewCell(int ACol, bool ForInsertion);
  void CheckRow(int ARow) const;
  void FreeAllCells() noexcept;
  void Reverse();
  void ApplyOrder(const std::vector<int>& Order);
  template <class TKey, class TLess>
  void QuickSort(std::vector<TKey>& Keys, bool Descending, TLess Less);

  // The last distinct texts stored in each column, newest replacing oldest.
  struct TRecentTexts {
    std::array<TSharedText, 8> Items;
    std::size_t Next = 0;
  };
  std::vector<TRecentTexts> FRecentTexts;
  TColumns* FOwnerColumns;
  TGridModel* FGrid;
  std::vector<TCellList> FColumns;
  int FRowCount = 0;
  int FSortColumn = -1;
  bool FSortDescending = false;
  bool FSortValid = false;
  std::minstd_rand FRandom;
};
