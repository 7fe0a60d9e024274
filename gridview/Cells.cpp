#include "gridview/Cells.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/Text.h"
#include "gridview/Columns.h"
#include "gridview/Conversions.h"
#include "gridview/GridModel.h"

void ListIndexError(int Index) { throw EListError("List index out of bounds (" + std::to_string(Index) + ")"); }

TCells::TCells(TColumns* Columns, TGridModel* Grid) : FOwnerColumns(Columns), FGrid(Grid), FRandom(20261207u) {}

TCells::~TCells() { FreeAllCells(); }

TCellKind TCells::KindOf(int ACol) const {
  return FOwnerColumns && ACol < FOwnerColumns->Count() ? FOwnerColumns->Items(ACol)->CellKind() : ckText;
}

TColor TCells::ColorOf(int ACol) const {
  return FOwnerColumns && ACol < FOwnerColumns->Count() ? FOwnerColumns->Items(ACol)->Color() : clBlack;
}

std::unique_ptr<TCell> TCells::NewCell(int ACol, bool ForInsertion) {
  std::unique_ptr<TCell> Cell = CreateCell(*this, KindOf(ACol), ForInsertion);
  Cell->SetColor(ColorOf(ACol));
  Cell->EndInitializing();
  return Cell;
}

void TCells::CheckRow(int ARow) const {
  if (ARow < 0 || ARow >= FRowCount) ListIndexError(ARow);
}

TCell* TCells::GetCell(int ACol, int ARow) {
  if (ACol < 0 || ACol >= ColumnCount()) ListIndexError(ACol);
  CheckRow(ARow);
  TCell* Cell = FColumns[std::size_t(ACol)][std::size_t(ARow)].get();
  Cell->SetPosition(ACol, ARow);
  return Cell;
}

void TCells::AddRows(int Count) {
  if (Count <= 0) return;
  for (int N = 0; N < Count; ++N) {
    for (int Col = 0; Col < ColumnCount(); ++Col) FColumns[std::size_t(Col)].push_back(NewCell(Col, false));
    ++FRowCount;
  }
  FSortValid = false;
}

void TCells::InsertRow(int ARow) {
  if (ARow < 0 || ARow > FRowCount) ListIndexError(ARow);
  for (int Col = 0; Col < ColumnCount(); ++Col) {
    TCellList& List = FColumns[std::size_t(Col)];
    List.insert(List.begin() + ARow, NewCell(Col, true));
  }
  ++FRowCount;
  FSortValid = false;
}

void TCells::DeleteRow(int ARow) {
  CheckRow(ARow);
  for (TCellList& List : FColumns) List.erase(List.begin() + ARow);
  --FRowCount;
}

void TCells::MoveRow(int From, int To) {
  CheckRow(From);
  CheckRow(To);
  for (TCellList& List : FColumns) {
    if (From < To)
      std::rotate(List.begin() + From, List.begin() + From + 1, List.begin() + To + 1);
    else if (From > To)
      std::rotate(List.begin() + To, List.begin() + From, List.begin() + From + 1);
  }
  FSortValid = false;
}

void TCells::ExchangeRows(int A, int B) {
  CheckRow(A);
  CheckRow(B);
  for (TCellList& List : FColumns) std::swap(List[std::size_t(A)], List[std::size_t(B)]);
}

TSharedText TCells::ShareText(int ACol, std::u16string_view Text) {
  if (Text.empty() || ACol < 0) return TSharedText(Text);
  if (static_cast<std::size_t>(ACol) >= FRecentTexts.size()) FRecentTexts.resize(std::size_t(ACol) + 1);
  TRecentTexts& Recent = FRecentTexts[std::size_t(ACol)];
  for (const TSharedText& Item : Recent.Items)
    if (Item.View() == Text) return Item;
  TSharedText& Slot = Recent.Items[Recent.Next];
  Recent.Next = (Recent.Next + 1) % Recent.Items.size();
  Slot = TSharedText(Text);
  return Slot;
}

void TCells::ClearRows() {
  FRecentTexts.clear();
  FreeAllCells();
  FRowCount = 0;
  FSortValid = false;
}

void TCells::FreeAllCells() noexcept {
  // Sorting scatters the cells over the heap; freeing them in address order instead of row order
  // keeps the allocator's work local and makes clearing a large grid several times faster.
  std::vector<TCell*> Cells;
  try {
    std::size_t Total = 0;
    for (const TCellList& List : FColumns) Total += List.size();
    Cells.reserve(Total);
  } catch (...) {
    // No room for the list: free them as they stand.
    for (TCellList& List : FColumns) TCellList().swap(List);
    return;
  }
  for (TCellList& List : FColumns) {
    for (std::unique_ptr<TCell>& Cell : List) Cells.push_back(Cell.release());
    TCellList().swap(List);
  }
  std::sort(Cells.begin(), Cells.end(), std::less<TCell*>());
  for (TCell* Cell : Cells) delete Cell;
}

void TCells::AddColumn() { InsertColumn(ColumnCount()); }

void TCells::InsertColumn(int Index) {
  if (Index < 0 || Index > ColumnCount()) ListIndexError(Index);
  if (ColumnCount() >= MaxColumns) throw Exception("A grid holds at most " + std::to_string(MaxColumns) + " columns");
  // The new column's kind and colour are those of the collection's column at Index.
  TCellList List;
  List.reserve(std::size_t(FRowCount));
  for (int Row = 0; Row < FRowCount; ++Row) {
    std::unique_ptr<TCell> Cell = CreateCell(*this, KindOf(Index), Index < ColumnCount());
    Cell->SetColor(ColorOf(Index));
    Cell->EndInitializing();
    List.push_back(std::move(Cell));
  }
  const bool Inserted = Index < ColumnCount();
  FColumns.insert(FColumns.begin() + Index, std::move(List));
  if (Inserted) FSortValid = false;
}

void TCells::RemoveColumn(int Index) {
  if (Index < 0 || Index >= ColumnCount()) ListIndexError(Index);
  FColumns.erase(FColumns.begin() + Index);
  if (FColumns.empty()) FRowCount = 0;
}

void TCells::MoveColumn(int From, int To) {
  if (From < 0 || From >= ColumnCount()) ListIndexError(From);
  if (To < 0 || To >= ColumnCount()) ListIndexError(To);
  TCellList List = std::move(FColumns[std::size_t(From)]);
  FColumns.erase(FColumns.begin() + From);
  FColumns.insert(FColumns.begin() + To, std::move(List));
}

void TCells::RemoveAllColumns() {
  while (!FColumns.empty()) RemoveColumn(0);
}

void TCells::CellChanged(const TCell& Cell) {
  FSortValid = false;
  if (FGrid) FGrid->FollowCellChange(Cell.Col(), Cell.Row());
}

// Sorting.

void TCells::Reverse() {
  if (FRowCount < 2) return;
  for (TCellList& List : FColumns) std::reverse(List.begin(), List.end());
}

void TCells::ApplyOrder(const std::vector<int>& Order) {
  for (TCellList& List : FColumns) {
    TCellList Sorted;
    Sorted.reserve(List.size());
    for (int From : Order) Sorted.push_back(std::move(List[std::size_t(From)]));
    List.swap(Sorted);
  }
}

namespace {
// Total orders, so that no value (not even NaN) can lead a partition scan off the rows.
int CompareFloat(double A, double B) {
  if (std::isnan(A) || std::isnan(B)) return std::isnan(A) ? (std::isnan(B) ? 0 : -1) : 1;
  return A < B ? -1 : (A > B ? 1 : 0);
}

using TIPKey = std::array<int, 4>;

// Four numbers separated by dots; the digits collected up to each dot and up to the last character
// are converted (an empty collection there is a conversion error), other characters are skipped.
TIPKey IPKey(const std::u16string& Text) {
  TIPKey Key{0, 0, 0, 0};
  std::string Digits;
  std::size_t Slot = 0;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    const char16_t C = Text[I];
    if (C >= u'0' && C <= u'9') Digits += static_cast<char>(C);
    if (C == u'.' || I + 1 == Text.size()) {
      const int Number = StrToInt(Digits);
      if (Slot < Key.size()) Key[Slot++] = Number;
      Digits.clear();
    }
  }
  return Key;
}

std::string CaseInsensitiveKey(const std::u16string& Text) {
  std::string Bytes = Utf8ToAnsi(Utf16ToUtf8(Text));
  for (char& C : Bytes) C = AsciiLower(C);
  return Bytes;
}
}  // namespace

// Hoare partition with a random pivot that is never row Lo. The keys are fetched once per row and
// move together with their row numbers; the cells follow in one pass afterwards.
template <class TKey, class TLess>
void TCells::QuickSort(std::vector<TKey>& Keys, bool Descending, TLess Compare) {
  std::vector<int> Order(Keys.size());
  for (std::size_t I = 0; I < Order.size(); ++I) Order[I] = static_cast<int>(I);
  auto Exchange = [&](int A, int B) {
    std::swap(Keys[std::size_t(A)], Keys[std::size_t(B)]);
    std::swap(Order[std::size_t(A)], Order[std::size_t(B)]);
  };
  // Pivot <= key when ascending, pivot >= key when descending, and the reverse for the j scan.
  auto StopsI = [&](const TKey& Pivot, const TKey& Key) {
    const int C = Compare(Pivot, Key);
    return Descending ? C >= 0 : C <= 0;
  };
  auto StopsJ = [&](const TKey& Pivot, const TKey& Key) {
    const int C = Compare(Pivot, Key);
    return Descending ? C <= 0 : C >= 0;
  };
  // An explicit stack, smaller part first, keeps the depth logarithmic on any input.
  std::vector<std::pair<int, int>> Pending{{0, static_cast<int>(Keys.size()) - 1}};
  while (!Pending.empty()) {
    const auto [Lo, Hi] = Pending.back();
    Pending.pop_back();
    if (Lo >= Hi) continue;
    std::uniform_int_distribution<int> Offset(0, Hi - Lo - 1);
    const TKey Pivot = Keys[std::size_t(Lo + 1 + Offset(FRandom))];
    int I = Lo - 1, J = Hi + 1;
    do {
      do ++I;
      while (!StopsI(Pivot, Keys[std::size_t(I)]));
      do --J;
      while (!StopsJ(Pivot, Keys[std::size_t(J)]));
      if (I != J) Exchange(I, J);
    } while (I < J);
    if (I != J) Exchange(I, J);  // undoes the exchange made after the scans crossed
    const int P = I;
    if (P - Lo < Hi - P) {
      Pending.push_back({P, Hi});
      Pending.push_back({Lo, P - 1});
    } else {
      Pending.push_back({Lo, P - 1});
      Pending.push_back({P, Hi});
    }
  }
  ApplyOrder(Order);
}

void TCells::Sort(int ACol, TSortType SortType, bool Descending) {
  if (ACol == FSortColumn && FSortValid && Descending != FSortDescending) {
    FSortDescending = Descending;
    Reverse();
    return;
  }
  FSortDescending = Descending;
  if (FRowCount >= 2) {
    if (ACol < 0 || ACol >= ColumnCount()) ListIndexError(ACol);
    // Every key is read before any row moves: a value that does not convert leaves the rows as
    // they were.
    TCellList& List = FColumns[std::size_t(ACol)];
    auto Cell = [&](int Row) -> TCell& {
      TCell& C = *List[std::size_t(Row)];
      C.SetPosition(ACol, Row);
      return C;
    };
    const int N = FRowCount;
    const std::size_t Size = static_cast<std::size_t>(N);
    switch (SortType) {
      case stBoolean: {
        std::vector<int> Keys(Size, 0);
        for (int R = 0; R < N; ++R) Keys[std::size_t(R)] = Cell(R).GetAsBoolean() ? 1 : 0;
        QuickSort(Keys, Descending, [](int A, int B) { return A - B; });
        break;
      }
      case stNumeric:
      case stDate: {
        std::vector<double> Keys(Size, 0.0);
        for (int R = 0; R < N; ++R)
          Keys[std::size_t(R)] = SortType == stNumeric ? Cell(R).GetAsFloat() : Cell(R).GetAsDateTime();
        QuickSort(Keys, Descending, CompareFloat);
        break;
      }
      case stCaseInsensitive: {
        std::vector<std::string> Keys(Size);
        for (int R = 0; R < N; ++R) Keys[std::size_t(R)] = CaseInsensitiveKey(Cell(R).GetAsText());
        QuickSort(Keys, Descending, [](const std::string& A, const std::string& B) { return A.compare(B); });
        break;
      }
      case stIP: {
        std::vector<TIPKey> Keys(Size);
        for (int R = 0; R < N; ++R) Keys[std::size_t(R)] = IPKey(Cell(R).GetAsText());
        QuickSort(Keys, Descending, [](const TIPKey& A, const TIPKey& B) { return A < B ? -1 : (B < A ? 1 : 0); });
        break;
      }
      default: {
        std::vector<std::u16string> Keys(Size);
        for (int R = 0; R < N; ++R) Keys[std::size_t(R)] = Cell(R).GetAsText();
        QuickSort(Keys, Descending, [](const std::u16string& A, const std::u16string& B) { return A.compare(B); });
        break;
      }
    }
  }
  FSortColumn = ACol;
  FSortValid = true;
}
