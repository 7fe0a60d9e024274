#include "gridview/Cells.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>

#include "core/Conversions.h"
#include "core/Text.h"
#include "gridview/Columns.h"

void ListIndexError(int Index) { throw EListError("List index out of bounds (" + std::to_string(Index) + ")"); }

std::unique_ptr<TCell> CreateCell(TCellOwner& Owner, TCellKind Kind, bool ForInsertion) {
  switch (Kind) {
    case ckIncrement:
      if (ForInsertion) return std::make_unique<TIntegerCell>(Owner);
      return std::make_unique<TIncrementCell>(Owner);
    case ckBoolean: return std::make_unique<TBooleanCell>(Owner);
    case ckDateTime: return std::make_unique<TDateTimeCell>(Owner);
    case ckFloat: return std::make_unique<TFloatCell>(Owner);
    case ckInteger: return std::make_unique<TIntegerCell>(Owner);
    case ckVirtual:
      if (ForInsertion) return std::make_unique<TStringCell>(Owner);
      return std::make_unique<TVirtualCell>(Owner);
    default: return std::make_unique<TStringCell>(Owner);
  }
}

TCells::TCells(TColumns* Columns) : FOwnerColumns(Columns), FRandom(20261207u) {}

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
  if (ARow < 0 || ARow >= RowCount()) ListIndexError(ARow);
}

bool TCells::Sourced(int ACol) const {
  return ACol >= 0 && ACol < ColumnCount() && FColumns[std::size_t(ACol)].SourceCell != nullptr;
}

std::uint32_t TCells::Item(int ARow) const {
  CheckRow(ARow);
  return FItems[std::size_t(ARow)];
}

TCell* TCells::GetCell(int ACol, int ARow) {
  if (ACol < 0 || ACol >= ColumnCount()) ListIndexError(ACol);
  CheckRow(ARow);
  TColumnCells& Column = FColumns[std::size_t(ACol)];
  TCell* Cell;
  if (Column.SourceCell) {
    Column.SourceCell->SetItem(FItems[std::size_t(ARow)]);
    Column.SourceCell->SetColor(ColorOf(ACol));  // the column's, as it stands now
    Cell = Column.SourceCell.get();
  } else {
    Cell = Column.Cells[std::size_t(ARow)].get();
  }
  Cell->SetPosition(ACol, ARow);
  return Cell;
}

TRow& TCells::Row(int ARow) {
  CheckRow(ARow);
  return FRows[std::size_t(ARow)];
}

const TRow& TCells::Row(int ARow) const {
  CheckRow(ARow);
  return FRows[std::size_t(ARow)];
}

int TCells::SelectedCount() const {
  return static_cast<int>(std::count_if(FRows.begin(), FRows.end(), [](const TRow& R) { return R.Selected; }));
}

void TCells::AddRows(int Count, int Height) {
  if (Count <= 0) return;
  for (int Col = 0; Col < ColumnCount(); ++Col) {
    TColumnCells& Column = FColumns[std::size_t(Col)];
    if (Column.SourceCell) continue;
    for (int N = 0; N < Count; ++N) Column.Cells.push_back(NewCell(Col, false));
  }
  FRows.resize(FRows.size() + std::size_t(Count), TRow{false, Height});
  for (int N = 0; N < Count; ++N) FItems.push_back(FNextItem++);
  FSortValid = false;
}

void TCells::InsertRow(int ARow, int Height) {
  if (ARow < 0 || ARow > RowCount()) ListIndexError(ARow);
  for (int Col = 0; Col < ColumnCount(); ++Col) {
    TColumnCells& Column = FColumns[std::size_t(Col)];
    if (!Column.SourceCell) Column.Cells.insert(Column.Cells.begin() + ARow, NewCell(Col, true));
  }
  FRows.insert(FRows.begin() + ARow, TRow{false, Height});
  FItems.insert(FItems.begin() + ARow, FNextItem++);
  FSortValid = false;
}

void TCells::DeleteRow(int ARow) {
  CheckRow(ARow);
  for (TColumnCells& Column : FColumns)
    if (!Column.SourceCell) Column.Cells.erase(Column.Cells.begin() + ARow);
  FRows.erase(FRows.begin() + ARow);
  FItems.erase(FItems.begin() + ARow);
}

namespace {
template <class TList>
void MoveItem(TList& List, int From, int To) {
  if (From < To)
    std::rotate(List.begin() + From, List.begin() + From + 1, List.begin() + To + 1);
  else if (From > To)
    std::rotate(List.begin() + To, List.begin() + From, List.begin() + From + 1);
}
}  // namespace

void TCells::MoveRow(int From, int To) {
  CheckRow(From);
  CheckRow(To);
  for (TColumnCells& Column : FColumns)
    if (!Column.SourceCell) MoveItem(Column.Cells, From, To);
  MoveItem(FRows, From, To);
  MoveItem(FItems, From, To);
  FSortValid = false;
}

void TCells::ExchangeRows(int A, int B) {
  CheckRow(A);
  CheckRow(B);
  for (TColumnCells& Column : FColumns)
    if (!Column.SourceCell) std::swap(Column.Cells[std::size_t(A)], Column.Cells[std::size_t(B)]);
  std::swap(FItems[std::size_t(A)], FItems[std::size_t(B)]);
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
  // The memory goes too: a search that listed a million rows leaves nothing behind for the next.
  std::vector<TRow>().swap(FRows);
  std::vector<std::uint32_t>().swap(FItems);
  FNextItem = 0;
  FSortValid = false;
}

void TCells::FreeAllCells() noexcept {
  // Sorting scatters the cells over the heap; freeing them in address order instead of row order
  // keeps the allocator's work local and makes clearing a large grid several times faster.
  std::vector<TCell*> Cells;
  try {
    std::size_t Total = 0;
    for (const TColumnCells& Column : FColumns) Total += Column.Cells.size();
    Cells.reserve(Total);
  } catch (...) {
    // No room for the list: free them as they stand.
    for (TColumnCells& Column : FColumns) TCellList().swap(Column.Cells);
    return;
  }
  for (TColumnCells& Column : FColumns) {
    for (std::unique_ptr<TCell>& Cell : Column.Cells) Cells.push_back(Cell.release());
    TCellList().swap(Column.Cells);
  }
  std::sort(Cells.begin(), Cells.end(), std::less<TCell*>());
  for (TCell* Cell : Cells) delete Cell;
}

void TCells::SetSource(TRowSource* Value) {
  ClearRows();
  FSource = Value;
  for (int Col = 0; Col < ColumnCount(); ++Col) FColumns[std::size_t(Col)] = NewColumn(Col, false);
}

TCells::TColumnCells TCells::NewColumn(int Index, bool ForInsertion) {
  // The new column's kind and colour are those of the collection's column at Index.
  TColumnCells Column;
  if (FSource && KindOf(Index) == ckVirtual) {
    // It stays initialising: its colour follows the column's without reporting changes.
    Column.SourceCell = std::make_unique<TSourceCell>(*this, *FSource);
    return Column;
  }
  Column.Cells.reserve(FRows.size());
  for (std::size_t Row = 0; Row < FRows.size(); ++Row) Column.Cells.push_back(NewCell(Index, ForInsertion));
  return Column;
}

void TCells::AddColumn() { InsertColumn(ColumnCount()); }

void TCells::InsertColumn(int Index) {
  if (Index < 0 || Index > ColumnCount()) ListIndexError(Index);
  if (ColumnCount() >= MaxColumns) throw Exception("A grid holds at most " + std::to_string(MaxColumns) + " columns");
  const bool Inserted = Index < ColumnCount();
  FColumns.insert(FColumns.begin() + Index, NewColumn(Index, Inserted));
  if (Inserted) FSortValid = false;
}

void TCells::RemoveColumn(int Index) {
  if (Index < 0 || Index >= ColumnCount()) ListIndexError(Index);
  FColumns.erase(FColumns.begin() + Index);
  if (FColumns.empty()) ClearRows();
}

void TCells::MoveColumn(int From, int To) {
  if (From < 0 || From >= ColumnCount()) ListIndexError(From);
  if (To < 0 || To >= ColumnCount()) ListIndexError(To);
  MoveItem(FColumns, From, To);
}

void TCells::RemoveAllColumns() {
  while (!FColumns.empty()) RemoveColumn(0);
}

void TCells::CellChanged(const TCell& Cell) {
  FSortValid = false;
  if (OnChange) OnChange(Cell.Col(), Cell.Row());
}

// Sorting.

void TCells::Reverse() {
  if (RowCount() < 2) return;
  for (TColumnCells& Column : FColumns) std::reverse(Column.Cells.begin(), Column.Cells.end());
  std::reverse(FItems.begin(), FItems.end());
}

namespace {
template <class TList>
void Reorder(TList& List, const std::vector<int>& Order) {
  TList Sorted;
  Sorted.reserve(List.size());
  for (int From : Order) Sorted.push_back(std::move(List[std::size_t(From)]));
  List.swap(Sorted);
}
}  // namespace

void TCells::ApplyOrder(const std::vector<int>& Order) {
  for (TColumnCells& Column : FColumns)
    if (!Column.SourceCell) Reorder(Column.Cells, Order);
  Reorder(FItems, Order);
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

// Hoare partition with a random pivot that is never row Lo; short ranges by insertion. Each key
// travels with its row number, and the cells follow in one pass afterwards.
template <class TKey, class TLess>
void TCells::QuickSort(std::vector<TKey>& Keys, bool Descending, TLess Compare) {
  std::vector<std::pair<TKey, int>> Rows(Keys.size());
  for (std::size_t I = 0; I < Rows.size(); ++I) Rows[I] = {std::move(Keys[I]), static_cast<int>(I)};
  std::vector<TKey>().swap(Keys);
  auto Key = [&Rows](int Row) -> const TKey& { return Rows[std::size_t(Row)].first; };
  // Pivot <= key when ascending, pivot >= key when descending, and the reverse for the j scan.
  auto StopsI = [&](const TKey& Pivot, const TKey& Other) {
    const int C = Compare(Pivot, Other);
    return Descending ? C >= 0 : C <= 0;
  };
  auto StopsJ = [&](const TKey& Pivot, const TKey& Other) {
    const int C = Compare(Pivot, Other);
    return Descending ? C <= 0 : C >= 0;
  };
  constexpr int ShortRange = 16;
  // An explicit stack, smaller part first, keeps the depth logarithmic on any input.
  std::vector<std::pair<int, int>> Pending{{0, static_cast<int>(Rows.size()) - 1}};
  while (!Pending.empty()) {
    const auto [Lo, Hi] = Pending.back();
    Pending.pop_back();
    if (Hi - Lo < ShortRange) {
      for (int I = Lo + 1; I <= Hi; ++I)
        for (int J = I; J > Lo && !StopsJ(Key(J), Key(J - 1)); --J)
          std::swap(Rows[std::size_t(J)], Rows[std::size_t(J - 1)]);
      continue;
    }
    std::uniform_int_distribution<int> Offset(0, Hi - Lo - 1);
    const TKey Pivot = Key(Lo + 1 + Offset(FRandom));
    int I = Lo - 1, J = Hi + 1;
    do {
      do ++I;
      while (!StopsI(Pivot, Key(I)));
      do --J;
      while (!StopsJ(Pivot, Key(J)));
      if (I != J) std::swap(Rows[std::size_t(I)], Rows[std::size_t(J)]);
    } while (I < J);
    if (I != J)
      std::swap(Rows[std::size_t(I)], Rows[std::size_t(J)]);  // undoes the exchange made after the scans crossed
    const int P = I;
    if (P - Lo < Hi - P) {
      Pending.push_back({P, Hi});
      Pending.push_back({Lo, P - 1});
    } else {
      Pending.push_back({Lo, P - 1});
      Pending.push_back({P, Hi});
    }
  }
  std::vector<int> Order(Rows.size());
  for (std::size_t I = 0; I < Rows.size(); ++I) Order[I] = Rows[I].second;
  ApplyOrder(Order);
}

// Texts are compared where they are kept (a text cell's shared text, the source's own text); only
// values that have to be formatted first are copied.
namespace {
// A text as the sort holds it: its first four code units packed in order of significance, so that
// most comparisons are decided without reaching the text itself, wherever it lies in memory.
struct TTextKey {
  std::uint64_t Prefix = 0;
  std::u16string_view Text;
};

TTextKey MakeTextKey(std::u16string_view Text) {
  TTextKey Key{0, Text};
  for (std::size_t I = 0; I < 4; ++I) Key.Prefix = Key.Prefix << 16 | (I < Text.size() ? Text[I] : 0u);
  return Key;
}

// Ordinal order of the code units; a text that is a prefix of another comes first.
int CompareTextKeys(const TTextKey& A, const TTextKey& B) {
  if (A.Prefix != B.Prefix) return A.Prefix < B.Prefix ? -1 : 1;
  const std::size_t Skip = std::min<std::size_t>({4, A.Text.size(), B.Text.size()});
  return A.Text.substr(Skip).compare(B.Text.substr(Skip));
}
}  // namespace

void TCells::SortByText(int ACol, bool Descending) {
  const std::size_t Size = FRows.size();
  std::vector<TTextKey> Keys(Size);
  std::deque<std::u16string> Formatted;
  std::u16string Buffer;
  const TColumnCells& Column = FColumns[std::size_t(ACol)];
  for (std::size_t R = 0; R < Size; ++R) {
    std::u16string_view Key;
    if (Column.SourceCell) {
      Key = FSource->Text(ACol, FItems[R], Buffer);
      if (!Buffer.empty() && Key.data() == Buffer.data()) Key = Formatted.emplace_back(Key);
    } else if (const auto* Text = dynamic_cast<const TStringCell*>(Column.Cells[R].get())) {
      Key = Text->Text();
    } else {
      Key = Formatted.emplace_back(GetCell(ACol, static_cast<int>(R))->GetAsText());
    }
    Keys[R] = MakeTextKey(Key);
  }
  QuickSort(Keys, Descending, [](const TTextKey& A, const TTextKey& B) { return CompareTextKeys(A, B); });
}

void TCells::Sort(int ACol, TSortType SortType, bool Descending) {
  if (ACol == FSortColumn && FSortValid && Descending != FSortDescending) {
    FSortDescending = Descending;
    Reverse();
    return;
  }
  FSortDescending = Descending;
  if (RowCount() >= 2) {
    if (ACol < 0 || ACol >= ColumnCount()) ListIndexError(ACol);
    // Every key is read before any row moves: a value that does not convert leaves the rows as
    // they were.
    auto Cell = [&](int Row) -> TCell& { return *GetCell(ACol, Row); };
    const int N = RowCount();
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
        if (Sourced(ACol))  // the source's number, without a cell in between
          for (std::size_t R = 0; R < Size; ++R) Keys[R] = FSource->Number(ACol, FItems[R]);
        else
          for (int R = 0; R < N; ++R)
            Keys[std::size_t(R)] = SortType == stNumeric ? Cell(R).GetAsFloat() : Cell(R).GetAsDateTime();
        QuickSort(Keys, Descending, [](double A, double B) { return CompareFloat(A, B); });
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
      default: SortByText(ACol, Descending); break;
    }
  }
  FSortColumn = ACol;
  FSortValid = true;
}
