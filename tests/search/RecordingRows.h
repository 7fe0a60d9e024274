#pragma once
// What a search run hands out, recorded for tests: its rows as the grid's texts, and a clock the
// test moves by hand.
#include <string>
#include <vector>

#include "core/Clock.h"
#include "results/ResultRows.h"
#include "search/ResultSink.h"
#include "search/SearchRun.h"

// Results recorded as the texts a row of six cells takes: the image index "1" for a folder, the
// size in kilobytes for a file, the others as the grid shows them ("" where nothing is written).
class TRecordingRows : public TResultSink {
 public:
  void BeginUpdate() override { ++UpdateCount; }
  void EndUpdate() override { --UpdateCount; }  // below zero: an EndUpdate without its BeginUpdate
  void Clear() override { Rows.clear(); }
  void Add(const std::string& Folder, const TFileEntry& Entry) override {
    const bool IsFolder = Entry.IsDirectory();
    Rows.push_back({IsFolder ? "1" : "", Entry.Name, IsFolder ? "" : SizeText(Entry.Size),
                    Entry.DetailsKnown ? DateText(Entry.Time, Settings) : "", Folder,
                    ResultTypeName(Entry.Name, IsFolder)});
  }
  int Count() const override { return RowCount(); }
  int RowCount() const { return static_cast<int>(Rows.size()); }

  // Name -> row, for tests that look rows up by name.
  const std::vector<std::string>* Find(const std::string& Name) const {
    for (const auto& Row : Rows)
      if (Row[1] == Name) return &Row;
    return nullptr;
  }
  int Count(const std::string& Name) const {
    int N = 0;
    for (const auto& Row : Rows) N += Row[1] == Name;
    return N;
  }

  std::vector<std::vector<std::string>> Rows;
  int UpdateCount = 0;
  TFormatSettings Settings = UnitedStatesFormatSettings();
};

class TManualClock : public TClock {
 public:
  TDateTime Now() override { return NowValue; }
  std::uint32_t TickCount() override { return Tick += TickStep; }
  void Sleep(std::uint32_t Milliseconds) override { Slept += Milliseconds; }
  TDateTime NowValue = 45000.5;
  std::uint32_t Tick = 0;
  std::uint32_t TickStep = 0;  // added at every reading
  std::uint64_t Slept = 0;
};

// One run of the engine straight into Rows, emptied first as the window empties its grid, with
// nothing shown and no cancel.
inline TSearchOutcome RunSearch(const TSearchCriteria& Criteria, TSearchCache& Cache, TFileSystem& Files, TClock& Clock,
                                TRecordingRows& Rows) {
  struct TQuiet : TSearchProgress {
    bool Cancelled() override { return false; }
    void Report(const TSearchReport&) override {}
  } Quiet;
  Rows.Clear();
  return TSearchRun(Criteria, Cache, Files, Clock).Execute(Rows, Quiet);
}
