#include "gridview/win32/control/IncrementalSearch.h"

#include <windows.h>

#include <algorithm>

namespace {
// The search text is forgotten this long after the last typed character.
constexpr unsigned SearchResetMs = 500;

std::u16string UpperCased(std::u16string Text) {
  if (!Text.empty()) CharUpperBuffW(reinterpret_cast<wchar_t*>(Text.data()), static_cast<DWORD>(Text.size()));
  return Text;
}
}  // namespace

int TIncrementalSearch::Type(TGridModel& Model, char16_t Key) {
  int SearchCol = -1;
  for (int C = 0; C < Model.Columns().Count() && SearchCol < 0; ++C)
    if (Model.Columns().Items(C)->Options().Contains(coSearchColumn)) SearchCol = C;
  if (SearchCol < 0) return -1;
  FTimer.SetEnabled(false);
  FTimer.SetInterval(SearchResetMs);
  FTimer.OnTimer = [this](TObject*) { Reset(); };
  FTimer.SetEnabled(true);
  FText += Key;
  const std::u16string Wanted = UpperCased(FText);
  const int Count = Model.RowCount(), Start = std::clamp(Model.CurrentRow(), -1, Count - 1);
  // The rows after the current one first, then from the top round to the current row.
  for (int Step = 1; Step <= Count; ++Step) {
    const int Row = (Start + Step) % Count;
    const std::u16string Text = Model.GetCellText(SearchCol, Row);
    if (Text.size() >= Wanted.size() && UpperCased(Text.substr(0, Wanted.size())) == Wanted) return Row;
  }
  return -1;
}

void TIncrementalSearch::Reset() {
  FTimer.SetEnabled(false);
  FText.clear();
}
