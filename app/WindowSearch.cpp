#include "app/WindowSearch.h"

#include <memory>

#include "masks/Masks.h"
#include "search/SearchFolders.h"

// One run as the window shows it: the engine's progress on the status bar and the progress bar, and
// the grid's update bracket, open for the whole run but for a moment whenever rows are to be painted.
class TWindowSearch::TShownRun : public TSearchProgress {
 public:
  TShownRun(TWindowSearch& Search, TResultSink& Results)
      : FWindow(Search.FWindow), FResults(Results), FSearch(Search) {}

  void Execute(TFolderListRun& Run) {
    FResults.BeginUpdate();
    FUpdateOpen = true;
    try {
      Begin();
      TSearchOutcome Outcome;
      // A run cancelled while the cache still loads touches neither the cache nor the disk.
      if (WaitForCache()) Outcome = Run.Execute(FResults, *this);
      Finish(&Outcome);
    } catch (...) {
      try {
        Finish(nullptr);
      } catch (...) {
        // Already unwinding from the run's own failure: that one is reported.
      }
      throw;
    }
  }

  bool Cancelled() override { return FWindow.RunState() == rsCancelling; }
  void Pump() override { FWindow.ProcessMessages(); }
  void Report(const TSearchReport& Report) override {
    switch (Report.Stage) {
      case ssCachePassBegins: FWindow.ChangeProgress(pcShow); break;
      case ssCachePass: FWindow.ChangeProgress(pcMoveTo, Report.Position); break;
      case ssCachePassRows: PaintRows(true, [this] { FWindow.ProcessMessages(); }); break;
      case ssCachePassCounts: ShowCachePass(Report); break;
      case ssWalkBegins: FWindow.SetStatus(SearchingText, 0); break;
      case ssWalking: Refresh(Report); break;
    }
  }

 private:
  void Begin() {
    // The run is in progress before the first status change pumps messages: an Enter or a click
    // handled there cancels this run instead of starting a second one inside it.
    FWindow.SetRunState(rsRunning);
    FWindow.SetStatus(SearchingText, 0);
    // The last search's counts and total would contradict the emptied grid.
    for (int Panel = 1; Panel <= 3; ++Panel) FWindow.SetStatus("", Panel);
    FResults.Clear();
  }

  // Waits, answering input, for a cache still being loaded; false when the run was cancelled meanwhile.
  bool WaitForCache() {
    if (FWindow.CacheReady(0)) return true;
    FWindow.SetStatus(LoadingCacheText, 0);
    while (FWindow.RunState() != rsCancelling)
      if (FWindow.CacheReady(50)) {
        FWindow.SetStatus(SearchingText, 0);
        return true;
      }
    return false;
  }

  // The walk's progress, at most every RefreshInterval: the bar steps, the rows added since the last
  // refresh are painted, and after a pause the counts and the folder show.
  void Refresh(const TSearchReport& Report) {
    FWindow.ChangeProgress(pcStep);
    PaintRows(FResults.Count() != FLastRowCount, [&] {
      FSearch.FClock.Sleep(RefreshPause);
      ShowCounts(Report.EntriesSeen, Report.FoldersSeen);
      FWindow.SetStatus(SearchingFolderText(Report.Folder), 3);
    });
    FLastRowCount = FResults.Count();
  }

  // The cache pass's progress: what it has checked, what it found, and where, without the walk's pause.
  void ShowCachePass(const TSearchReport& Report) {
    PaintRows(FResults.Count() != FLastRowCount, [&] {
      FWindow.SetStatus(CheckedText(Report.Checked, Report.Candidates, FSearch.FFormat), 1);
      FWindow.SetStatus(FoundText(static_cast<std::uint64_t>(FResults.Count()), FSearch.FFormat), 2);
      FWindow.SetStatus(SearchingFolderText(Report.Folder), 3);
    });
    FLastRowCount = FResults.Count();
  }

  // Runs Meanwhile, with the update bracket closed if Paint asks for it, so that the grid paints the
  // rows added. Handlers that run meanwhile may delete rows; the bracket is reopened exactly when it
  // was closed, so it stays balanced.
  template <typename TMeanwhile>
  void PaintRows(bool Paint, const TMeanwhile& Meanwhile) {
    const bool RowsAdded = Paint && FUpdateOpen;
    if (RowsAdded) {
      FResults.EndUpdate();
      FUpdateOpen = false;
    }
    Meanwhile();
    if (RowsAdded) {
      FResults.BeginUpdate();
      FUpdateOpen = true;
    }
  }

  // Status panels 1 and 2: entries and folders the walk met, rows listed.
  void ShowCounts(std::uint64_t EntriesSeen, std::uint64_t FoldersSeen) {
    FWindow.SetStatus(SearchedText(EntriesSeen, FoldersSeen, FSearch.FFormat), 1);
    FWindow.SetStatus(FoundText(static_cast<std::uint64_t>(FResults.Count()), FSearch.FFormat), 2);
  }

  // The closing steps, whatever way the run ends; without an outcome (a failure) only what puts the
  // window, the grid and the progress bar back to idle.
  void Finish(const TSearchOutcome* Outcome) {
    const bool Cancelled = FWindow.RunState() == rsCancelling;
    FWindow.SetRunState(rsIdle);  // this also clears a cancel request
    if (Outcome) {
      // The first panel is free once the progress bar goes: it says whether the list is whole.
      FWindow.SetStatus(Cancelled ? CancelledText : "", 0);
      // The refresh writes the counts at most every RefreshInterval: the final ones are written here,
      // so that they agree with the rows listed.
      ShowCounts(Outcome->EntriesSeen, Outcome->FoldersSeen);
      FWindow.SetStatus(OutcomeText(*Outcome, FSearch.FFormat), 3);
    }
    if (FUpdateOpen) {
      FUpdateOpen = false;
      FResults.EndUpdate();
    }
    FWindow.RunEnded(Outcome != nullptr);
  }

  TSearchWindow& FWindow;
  TResultSink& FResults;
  TWindowSearch& FSearch;
  bool FUpdateOpen = false;  // the grid's update bracket opened by the run
  int FLastRowCount = 0;     // rows at the last refresh
};

void TWindowSearch::StartOrCancel(TResultSink& Results) {
  if (FWindow.RunState() != rsIdle) {
    FWindow.SetRunState(rsCancelling);
    FWindow.SetStatus(CancellingText, 0);
    return;
  }
  const TSearchCriteria Criteria = FWindow.Criteria();
  const TSearchFolders Folders = SplitSearchFolders(Criteria.Folder, FFiles);
  if (Folders.Folders.empty()) {
    FWindow.ShowMessage(MissingFolderText(Folders));
    return;
  }
  FWindow.ShowNameText(Criteria.NameText);
  std::unique_ptr<TFolderListRun> Run;
  try {
    Run = std::make_unique<TFolderListRun>(Criteria, Folders.Folders, FCache, FFiles, FClock);
  } catch (const EMaskError& Error) {
    // Before anything else changed: the user reads what to write instead, the list stays.
    FWindow.ShowMessage(MaskErrorText(Criteria.NameText, Error));
    return;
  }
  TShownRun(*this, Results).Execute(*Run);
}
