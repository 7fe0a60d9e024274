#pragma once
// The window's side of a search: the search button as the run and cancel state, the status bar and
// progress bar while the engine reports, the wait for a cache still loading, and the closing steps
// (totals, histories). Portable: the window's controls are reached through TSearchWindow, so the
// rules are tested without a window.
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

// A refresh of the walk's progress pauses this long (milliseconds), leaving the processor to the rest
// of the system during long walks.
inline constexpr std::uint32_t RefreshPause = 150;

// What a search needs of the window's controls.
class TSearchWindow {
 public:
  virtual ~TSearchWindow() = default;

  // The criteria as the controls hold them now, the name as the search takes it (SearchNameText).
  virtual TSearchCriteria Criteria() = 0;
  // The "Named:" field shows Text (the name as the search takes it) from now on.
  virtual void ShowNameText(const std::string& Text) = 0;

  // The search button: tag 1 while a run is in progress; disabled while the tag is 1 = cancel request
  // (a second press, Enter, Escape or closing the window).
  virtual int ButtonTag() = 0;
  virtual void SetButtonTag(int Tag) = 0;
  virtual bool ButtonEnabled() = 0;
  virtual void SetButtonEnabled(bool Enabled) = 0;
  virtual void SetButtonCaption(const std::string& Caption) = 0;

  // Feedback. SetStatus also lets the window process its pending messages.
  virtual void ShowMessage(const std::string& Text) = 0;
  virtual void SetStatus(const std::string& Text, int Panel) = 0;
  virtual void ShowProgress(bool Visible) = 0;
  virtual void SetProgressPosition(int Position) = 0;
  virtual void StepProgress() = 0;
  virtual void ResetCursor() = 0;  // the default shape
  virtual void RepaintGrid() = 0;
  // Lets the window answer its input; called after every entry, so it keeps to a time budget.
  virtual void ProcessMessages() = 0;
  // Records the "Named:" and "Look in:" texts as they are now in the two histories.
  virtual void RecordHistories() = 0;
  // True once the search cache may be used; while it is still being loaded, waits for that up to
  // Milliseconds (answering input meanwhile) and answers false.
  virtual bool CacheReady(unsigned Milliseconds) = 0;
  // Where the rows go.
  virtual TResultSink& Results() = 0;
};

class TWindowSearch {
 public:
  TWindowSearch(TSearchWindow& Window, TSearchCache& Cache, TFileSystem& Files, TClock& Clock,
                const TFormatSettings& Format)
      : FWindow(Window), FCache(Cache), FFiles(Files), FClock(Clock), FFormat(Format) {}

  // The search button's click: starts a run and returns when it is over, or, while a run is in
  // progress (nested inside it), asks it to stop.
  void Button1Click();

 private:
  class TShownRun;

  TSearchWindow& FWindow;
  TSearchCache& FCache;
  TFileSystem& FFiles;
  TClock& FClock;
  const TFormatSettings& FFormat;
};
