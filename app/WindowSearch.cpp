#include "app/WindowSearch.h"

#include "search/SearchRun.h"

// One run as the window shows it: the engine's progress on the status bar and the progress bar, and
// the grid's update bracket, open for the whole run but for a moment whenever rows are to be painted.
class TWindowSearch::TShownRun : public TSearchProgress {
 public:
  explicit TShownRun(TWindowSearch& Search)
      : FWindow(Search.FWindow), FResults(Search.FWindow.Results()), FSearch(Search) {}

  void Execute(TSearchRun& Run) {
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

  bool Cancelled() override { return !FWindow.ButtonEnabled(); }
  void Pump() override { FWindow.ProcessMessages(); }
  void Report(const TSearchReport& Report) override {
    switch (Report.Stage) {
      case ssCachePassBegins: FWindow.ShowProgress(true); break;
      case ssCachePass: FWindow.SetProgressPosition(Report.Position); break;
      case ssCachePassRows: PaintRows(true, [this] { FWindow.ProcessMessages(); }); break;
      case ssWalkBegins: FWindow.SetStatus(SearchingText, 0); break;
      case ssWalking: Refresh(Report); break;
    }
  }

 private:
  void Begin() {
    // The run is in progress before the first status change pumps messages: an Enter or a click
    // handled there cancels this run instead of starting a second one inside it.
    FWindow.SetButtonCaption(CancelCaption);
    FWindow.SetButtonTag(1);
    FWindow.SetStatus(SearchingText, 0);
    // The last search's counts and total would contradict the emptied grid.
    for (int Panel = 1; Panel <= 3; ++Panel) FWindow.SetStatus("", Panel);
    FResults.Clear();
  }

  // Waits, answering input, for a cache still being loaded; false when the run was cancelled meanwhile.
  bool WaitForCache() {
    if (FWindow.CacheReady(0)) return true;
    FWindow.SetStatus(LoadingCacheText, 0);
    while (FWindow.ButtonEnabled())
      if (FWindow.CacheReady(50)) {
        FWindow.SetStatus(SearchingText, 0);
        return true;
      }
    return false;
  }

  // The walk's progress, at most every RefreshInterval: the bar steps, the rows added since the last
  // refresh are painted, and after a pause the counts and the folder show.
  void Refresh(const TSearchReport& Report) {
    FWindow.StepProgress();
    PaintRows(FResults.Count() != FLastRowCount, [&] {
      FSearch.FClock.Sleep(RefreshPause);
      ShowCounts(Report.EntriesSeen, Report.FoldersSeen);
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
  // button, the grid and the progress bar back to idle.
  void Finish(const TSearchOutcome* Outcome) {
    FWindow.SetButtonCaption(SearchCaption);
    FWindow.SetButtonTag(0);
    FWindow.SetButtonEnabled(true);  // this also clears a cancel request
    if (Outcome) {
      FWindow.SetStatus("", 0);
      // The refresh writes the counts at most every RefreshInterval: the final ones are written here,
      // so that they agree with the rows listed.
      ShowCounts(Outcome->EntriesSeen, Outcome->FoldersSeen);
      FWindow.SetStatus(OutcomeText(*Outcome, FSearch.FFormat), 3);
    }
    if (FUpdateOpen) {
      FUpdateOpen = false;
      FResults.EndUpdate();
    }
    if (Outcome) FWindow.RecordHistories();
    FWindow.ResetCursor();
    FWindow.ShowProgress(false);
    if (Outcome) FWindow.RepaintGrid();
  }

  TSearchWindow& FWindow;
  TResultSink& FResults;
  TWindowSearch& FSearch;
  bool FUpdateOpen = false;  // the grid's update bracket opened by the run
  int FLastRowCount = 0;     // rows at the last refresh
};

void TWindowSearch::Button1Click() {
  if (FWindow.ButtonTag() >= 1) {
    FWindow.SetButtonEnabled(false);
    FWindow.SetStatus(CancellingText, 0);
    return;
  }
  const TSearchCriteria Criteria = FWindow.Criteria();
  if (!FFiles.DirectoryExists(Criteria.Folder)) {
    FWindow.ShowMessage(FolderMissingText);
    return;
  }
  FWindow.ShowNameText(Criteria.NameText);
  TSearchRun Run(Criteria, FCache, FFiles, FClock);  // a malformed mask stops here, before anything else changes
  TShownRun(*this).Execute(Run);
}
