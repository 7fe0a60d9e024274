#pragma once
// The grid's incremental search: characters typed over a grid without an open editor gather into a
// text, and the current row moves to the next row whose search column starts with it, ignoring case;
// the text is forgotten half a second after the last character. Nothing here fails: a grid without a
// search column searches nothing.
#include <string>

#include "gridview/GridModel.h"
#include "toolkit/Timer.h"

class TIncrementalSearch {
 public:
  const std::u16string& Text() const { return FText; }
  // Adds Key to the text and answers the row to go to: the first after the current row (then from the
  // top round to it) whose text in the first search column starts with the text; -1 for none.
  int Type(TGridModel& Model, char16_t Key);
  // The pause after the last character: the text is forgotten.
  void Reset();

 private:
  std::u16string FText;
  TTimer FTimer;
};
