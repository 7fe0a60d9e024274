#pragma once
// What the search benchmarks share: a wall clock in seconds, and the engine without a window (criteria,
// results only counted): the engine's own cost.
#include <chrono>
#include <string>

#include "core/Clock.h"
#include "core/FileSystem.h"
#include "core/FormatSettings.h"
#include "platform/Platform.h"
#include "search/SearchRun.h"

using TClockType = std::chrono::steady_clock;

inline double SecondsSince(TClockType::time_point Start) {
  return std::chrono::duration<double>(TClockType::now() - Start).count();
}

class TCountingRows : public TResultSink {
 public:
  void BeginUpdate() override {}
  void EndUpdate() override {}
  void Clear() override { FCount = 0; }
  void Add(const std::string&, const TFileEntry&) override { ++FCount; }
  int Count() const override { return FCount; }
  int RowCount() const { return FCount; }

 private:
  int FCount = 0;
};

// The engine alone: criteria as the window would give them (rows with details), results only counted,
// never cancelled, no progress shown.
class TQuietSearch : public TSearchProgress {
 public:
  bool Cancelled() override { return false; }
  void Report(const TSearchReport&) override {}

  // A search of Root for Name (wrapped as the window wraps it) containing Contains.
  TSearchOutcome Run(TSearchCache& Cache) {
    TSearchCriteria Criteria;
    Criteria.Folder = Root;
    Criteria.NameText = SearchNameText(Name);
    Criteria.ContentText = Contains;
    TSearchRun Search(Criteria, Cache, PlatformFileSystem(), PlatformClock());
    Grid.Clear();
    return Search.Execute(Grid, *this);
  }

  std::string Root, Name, Contains;
  TCountingRows Grid;
};
