#include "gridview/Rows.h"

#include <algorithm>

#include "gridview/GridTypes.h"

TRow& TRows::Items(int Index) {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[static_cast<std::size_t>(Index)];
}

const TRow& TRows::Items(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[static_cast<std::size_t>(Index)];
}

void TRows::Add(int Count, int Height) {
  if (Count > 0) FItems.resize(FItems.size() + static_cast<std::size_t>(Count), TRow{false, Height});
}

void TRows::Insert(int Index, int Height) {
  if (Index < 0 || Index > Count()) ListIndexError(Index);
  FItems.insert(FItems.begin() + Index, TRow{false, Height});
}

void TRows::Delete(int Index) {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  FItems.erase(FItems.begin() + Index);
}

void TRows::Move(int From, int To) {
  if (From < 0 || From >= Count()) ListIndexError(From);
  if (To < 0 || To >= Count()) ListIndexError(To);
  if (From < To)
    std::rotate(FItems.begin() + From, FItems.begin() + From + 1, FItems.begin() + To + 1);
  else if (From > To)
    std::rotate(FItems.begin() + To, FItems.begin() + From, FItems.begin() + From + 1);
}

int TRows::SelectedCount() const {
  return static_cast<int>(std::count_if(FItems.begin(), FItems.end(), [](const TRow& R) { return R.Selected; }));
}
