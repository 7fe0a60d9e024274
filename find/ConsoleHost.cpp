#include "find/ConsoleHost.h"

#include "search/SearchRun.h"

TConsoleHost::TConsoleHost(const TFindOptions& Options, TConsole& Console, TFileSystem& Files,
                           const TFormatSettings& Settings)
    : FOptions(Options),
      FConsole(Console),
      FFiles(Files),
      FSettings(Settings),
      FWriter(Options.Format, Options.NulEnds, Files.PathDelimiter(), Settings),
      FName(Options.Name),
      FShowStatus(Console.ErrInteractive() && !Options.Quiet) {}

void TConsoleHost::SetButtonTag(int Tag) {
  // The run has begun (the folder exists and the mask compiled): the CSV header comes first.
  if (Tag == 1 && !FHeaderWritten) {
    FConsole.Out(FWriter.Header());
    FHeaderWritten = true;
  }
  FTag = Tag;
}

bool TConsoleHost::ButtonEnabled() {
  // Ctrl+C, or nobody left to read the results: the walk stops at its next entry.
  return FEnabled && !InterruptRequested() && !FConsole.OutFailed();
}

void TConsoleHost::ShowMessage(const std::string& Text) {
  FMessageShown = true;
  std::string Line = std::string(FindProgramName) + ": " + Text;
  if (Text == FolderMissingText && !FOptions.Folder.empty()) Line += ": " + FOptions.Folder;
  FConsole.Err(Line + "\n");
}

void TConsoleHost::SetStatus(const std::string& Text, int Panel) {
  if (Panel < 0 || Panel > 3) return;
  FStatus[Panel] = Text;
  // Panel 3 comes last at each refresh of a running search (at most every 750 ms): a moment to pass
  // the results found meanwhile on to a pipe, and to show the counters. (A search clears it as it starts.)
  if (Panel != 3 || FTag != 1 || Text.empty()) return;
  FConsole.Flush();
  if (FShowStatus) FConsole.SetStatusLine(FStatus[1] + " | " + FStatus[2] + " | " + FStatus[3]);
}

void TConsoleHost::ShowProgress(bool Visible) {
  FCachePass = Visible;
  if (!Visible && FShowStatus) FConsole.SetStatusLine("");
}

void TConsoleHost::SetProgressPosition(int Position) {
  // Only the cache pass sets a position: the share of the cached paths gone through.
  if (FCachePass && FShowStatus) FConsole.SetStatusLine("Looking up cached paths... " + std::to_string(Position) + "%");
}

void TConsoleHost::Add(const std::string& Folder, const TFileEntry& Entry) {
  ++FRowCount;
  FText.clear();
  FWriter.AppendResult(Folder, Entry, FText);
  FConsole.Out(FText);
}
