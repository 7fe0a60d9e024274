#pragma once
// The window's side of a search: the run state (idle, running, cancelling), the status bar and
// progress bar while the engine reports, the wait for a cache still loading, and the closing steps
// (totals, histories). Portable: the window's controls are reached through TSearchWindow, so the
// rules are tested without a window.
// Fails: a malformed name mask is told in a message (what is wrong and where) and starts nothing;
// StartOrCancel lets the engine's other exceptions through, after the window was put back to idle.
#include <string>

#include "core/Clock.h"
#include "core/FileSystem.h"
#include "core/FormatSettings.h"
#include "search/ResultSink.h"
#include "search/SearchCache.h"
#include "search/SearchCriteria.h"

// The window's own texts of a run.
inline constexpr const char* SearchCaption = "&Search";
inline constexpr const char* CancelCaption = "&Cancel";
inline constexpr const char* SearchingText = "Searching...";
inline constexpr const char* CancellingText = "Cancelling...";
inline constexpr const char* LoadingCacheText = "Loading the search cache...";
// Left in the status bar's first panel by a run that was cancelled: its list is incomplete.
inline constexpr const char* CancelledText = "Cancelled";

// A refresh of the walk's progress pauses this long (milliseconds), leaving the processor to the rest
// of the system during long walks.
inline constexpr std::uint32_t RefreshPause = 150;

// Where the window is with a search. A cancel request is a run asked to stop (a second press of the
// search button, Enter, Escape or closing the window) that has not stopped yet.
enum TRunState { rsIdle, rsRunning, rsCancelling };

// How the progress bar changes while a run reports: shown as the cache pass begins, moved to a
// position by the cache pass, stepped by the walk. It is hidden when the run ends.
enum TProgressChange { pcShow, pcMoveTo, pcStep };

// What a search needs of the window's controls.
class TSearchWindow {
 public:
  virtual ~TSearchWindow() = default;

  // The criteria as the controls hold them now, the name as the search takes it (SearchNameText).
  virtual TSearchCriteria Criteria() = 0;
  // The "Named:" field shows Text (the name as the search takes it) from now on.
  virtual void ShowNameText(const std::string& Text) = 0;

  // The run state, which the window keeps where its handlers can see it.
  virtual TRunState RunState() = 0;
  virtual void SetRunState(TRunState State) = 0;

  // Feedback. SetStatus also lets the window process its pending messages.
  virtual void ShowMessage(const std::string& Text) = 0;
  virtual void SetStatus(const std::string& Text, int Panel) = 0;
  virtual void ChangeProgress(TProgressChange Change, int Position = 0) = 0;
  // Lets the window answer its input; called after every entry, so it keeps to a time budget.
  virtual void ProcessMessages() = 0;
  // True once the search cache may be used; while it is still being loaded, waits for that up to
  // Milliseconds (answering input meanwhile) and answers false.
  virtual bool CacheReady(unsigned Milliseconds) = 0;
  // The run is over and the window idle again: when it Completed (not ended by a failure), the
  // "Named:" and "Look in:" texts are recorded in the two histories first; then the cursor takes its
  // default shape and the progress bar hides; and when it Completed, the grid is repainted.
  virtual void RunEnded(bool Completed) = 0;
};

class TWindowSearch {
 public:
  TWindowSearch(TSearchWindow& Window, TSearchCache& Cache, TFileSystem& Files, TClock& Clock,
                const TFormatSettings& Format)
      : FWindow(Window), FCache(Cache), FFiles(Files), FClock(Clock), FFormat(Format) {}

  // When idle, starts a run whose rows go to Results and returns when it is over; while a run is in
  // progress (nested inside it), asks it to stop.
  void StartOrCancel(TResultSink& Results);

 private:
  class TShownRun;

  TSearchWindow& FWindow;
  TSearchCache& FCache;
  TFileSystem& FFiles;
  TClock& FClock;
  const TFormatSettings& FFormat;
};
