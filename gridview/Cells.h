#pragma once
// The grid's row store: every row's record (its selection mark and height), its cells in
// column-major lists of typed cell objects (one list per column, one cell per row), the number of
// its item in a row source, the sort of the rows by one column and the sort state that lets a
// change of direction reverse the rows instead of sorting again. It reports cell changes through
// the handler its owner gives it.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "gridview/CellClasses.h"
#include "gridview/VirtualColumn.h"

class TColumns;

// Per-row state that keeps its screen position: sorting moves the cells, not these.
struct TRow {
  bool Selected = false;
  int Height = 16;
};

class TCells : public TCellOwner {
 public:
  static constexpr int MaxColumns = 1025;

  // Columns gives each new cell its class (the column's cell kind) and its colour; null for a bare
  // store whose cells are all text.
  explicit TCells(TColumns* Columns = nullptr);
  ~TCells();
  TCells(const TCells&) = delete;
  TCells& operator=(const TCells&) = delete;

  // Called with the cell's column and row after a cell's value or colour changed.
  std::function<void(int ACol, int ARow)> OnChange;

  int ColumnCount() const { return static_cast<int>(FColumns.size()); }
  int RowCount() const { return static_cast<int>(FRows.size()); }

  // EListError outside the table. Writes the coordinates into the cell.
  TCell* GetCell(int ACol, int ARow);

  // New rows are unselected and Height pixels high.
  void AddRows(int Count, int Height = TRow().Height);
  void InsertRow(int ARow, int Height = TRow().Height);  // ARow may equal RowCount
  void DeleteRow(int ARow);
  void MoveRow(int From, int To);
  // The rows' cells and items change places; their records stay.
  void ExchangeRows(int A, int B);
  void ClearRows();
  // EListError outside the rows.
  TRow& Row(int ARow);
  const TRow& Row(int ARow) const;
  int SelectedCount() const;

  // Where the values of the ckVirtual columns come from; null for none (then they hold virtual
  // cells with handlers of their own). Not owned. Setting it empties the rows.
  void SetSource(TRowSource* Value);
  TRowSource* Source() const { return FSource; }
  // Whether column ACol takes its values from the source.
  bool Sourced(int ACol) const;
  // The source item of a row, and the one the next new row takes (0 after ClearRows).
  std::uint32_t Item(int ARow) const;
  std::uint32_t NextItem() const { return FNextItem; }

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

  // TCellOwner: one of the texts recently stored in the column when it equals one, so that a
  // folder, type or time repeated over many rows is kept once.
  TSharedText ShareText(int ACol, std::u16string_view Text) override;
  void CellChanged(const TCell& Cell) override;

 private:
  using TCellList = std::vector<std::unique_ptr<TCell>>;
  // A column's cells, or, for a column whose values come from the source, the one cell that
  // stands for any of them.
  struct TColumnCells {
    TCellList Cells;
    std::unique_ptr<TSourceCell> SourceCell;
  };
  TCellKind KindOf(int ACol) const;
  TColor ColorOf(int ACol) const;
  std::unique_ptr<TCell> NewCell(int ACol, bool ForInsertion);
  TColumnCells NewColumn(int Index, bool ForInsertion);
  void CheckRow(int ARow) const;
  void FreeAllCells() noexcept;
  void Reverse();
  void ApplyOrder(const std::vector<int>& Order);
  template <class TKey, class TLess>
  void QuickSort(std::vector<TKey>& Keys, bool Descending, TLess Less);
  void SortByText(int ACol, bool Descending);

  // The last distinct texts stored in each column, newest replacing oldest.
  struct TRecentTexts {
    std::array<TSharedText, 8> Items;
    std::size_t Next = 0;
  };
  std::vector<TRecentTexts> FRecentTexts;
  TColumns* FOwnerColumns;
  TRowSource* FSource = nullptr;
  std::vector<TColumnCells> FColumns;
  std::vector<TRow> FRows;
  std::vector<std::uint32_t> FItems;
  std::uint32_t FNextItem = 0;
  int FSortColumn = -1;
  bool FSortDescending = false;
  bool FSortValid = false;
  std::minstd_rand FRandom;
};

// Makes the cell object for a column kind. Insertion makes integer cells for increment columns
// (and text cells for virtual ones), as a row number cannot be inserted.
std::unique_ptr<TCell> CreateCell(TCellOwner& Owner, TCellKind Kind, bool ForInsertion = false);
