#pragma once
// What the search benchmarks share: a wall clock in seconds, and a grid that only counts its rows (the
// engine's own cost, without any window).
#include <chrono>
#include <string>

#include "search/RowSink.h"

using TClockType = std::chrono::steady_clock;

inline double SecondsSince(TClockType::time_point Start) {
  return std::chrono::duration<double>(TClockType::now() - Start).count();
}

class TCountingRows : public TRowSink {
 public:
  void BeginUpdate() override {}
  void EndUpdate() override {}
  void ClearRows() override { FCount = 0; }
  void AddRows(int Count) override { FCount += Count; }
  int RowCount() const override { return FCount; }
  void SetCellText(int, int, const std::string&) override {}

 private:
  int FCount = 0;
};
