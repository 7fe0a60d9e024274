#pragma once
// torvane-find's side of a search: results go to stdout as they are found, the run's progress becomes
// a status line on an interactive stderr, and Ctrl+C (or a reader that went away) is the cancel request.
#include <string>

#include "find/Console.h"
#include "find/FindOptions.h"
#include "find/ResultWriter.h"
#include "search/ResultSink.h"
#include "search/SearchProgress.h"

// The status line for a progress report with Results listed so far; empty for a report that shows
// nothing (only the cache pass's position and the walk's refresh show something).
std::string ProgressLine(const TSearchReport& Report, int Results, const TFormatSettings& Settings);

class TConsoleSearch : public TSearchProgress, public TResultSink {
 public:
  TConsoleSearch(const TFindOptions& Options, TConsole& Console, char Delimiter, const TFormatSettings& Settings);

  // The run has begun (the folder exists and the mask compiled): the CSV header comes first.
  void Begin();
  int RowsFound() const { return FRowCount; }

  // TSearchProgress
  bool Cancelled() override;
  void Report(const TSearchReport& Report) override;

  // TResultSink: each result is written as it comes.
  void BeginUpdate() override {}
  void EndUpdate() override {}
  void Clear() override { FRowCount = 0; }
  void Add(const std::string& Folder, const TFileEntry& Entry) override;
  int Count() const override { return FRowCount; }

 private:
  TConsole& FConsole;
  const TFormatSettings& FSettings;
  TResultWriter FWriter;
  bool FShowStatus;  // the progress line: an interactive stderr, not --quiet
  int FRowCount = 0;
  std::string FText;  // reused for every result
};
