#pragma once
// Per-row state kept beside the cells: the selection mark and the row's height. Sorting moves the
// cells but not these, so marks and heights stay at their screen positions.
#include <vector>

struct TRow {
  bool Selected = false;
  int Height = 16;
};

class TRows {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  // EListError when Index is outside the rows.
  TRow& Items(int Index);
  const TRow& Items(int Index) const;
  void Add(int Count, int Height);
  void Insert(int Index, int Height);  // Index may equal Count
  void Delete(int Index);
  void Move(int From, int To);
  void Clear() { FItems.clear(); }
  int SelectedCount() const;

 private:
  std::vector<TRow> FItems;
};
