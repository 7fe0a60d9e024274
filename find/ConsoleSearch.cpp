#include "find/ConsoleSearch.h"

std::string ProgressLine(const TSearchReport& Report, int Results, const TFormatSettings& Settings) {
  if (Report.Stage == ssCachePass) return "Looking up cached paths... " + std::to_string(Report.Position) + "%";
  if (Report.Stage == ssCachePassCounts)
    return CheckedText(Report.Checked, Report.Candidates, Settings) + " | " +
           FoundText(static_cast<std::uint64_t>(Results), Settings) + " | " + SearchingFolderText(Report.Folder);
  if (Report.Stage != ssWalking) return std::string();
  return SearchedText(Report.EntriesSeen, Report.FoldersSeen, Settings) + " | " +
         FoundText(static_cast<std::uint64_t>(Results), Settings) + " | " + SearchingFolderText(Report.Folder);
}

TConsoleSearch::TConsoleSearch(const TFindOptions& Options, TConsole& Console, char Delimiter,
                               const TFormatSettings& Settings)
    : FConsole(Console),
      FSettings(Settings),
      FWriter(Options.Format, Options.NulEnds, Delimiter, Settings),
      FShowStatus(Console.ErrInteractive() && !Options.Quiet) {}

void TConsoleSearch::Begin() { FConsole.Out(FWriter.Header()); }

bool TConsoleSearch::Cancelled() {
  // Ctrl+C, or nobody left to read the results: the walk stops at its next entry.
  return InterruptRequested() || FConsole.OutFailed();
}

void TConsoleSearch::Report(const TSearchReport& Report) {
  // The walk's refresh (at most every 750 ms) is a moment to pass the results found meanwhile on to a
  // pipe.
  if (Report.Stage == ssWalking) FConsole.Flush();
  if (!FShowStatus) return;
  const std::string Line = ProgressLine(Report, FRowCount, FSettings);
  if (!Line.empty()) FConsole.SetStatusLine(Line);
}

void TConsoleSearch::Add(const std::string& Folder, const TFileEntry& Entry) {
  ++FRowCount;
  FText.clear();
  FWriter.AppendResult(Folder, Entry, FText);
  FConsole.Out(FText);
}
