#pragma once
// What a search run needs of the window that starts it: the criteria as typed, the search button
// (its tag and enabled state carry the run and cancel state between nested handlers), the status
// bar and progress bar, where the results go, the message pump, and the platform services.
#include <string>

#include "core/Clock.h"
#include "core/DateTime.h"
#include "core/FileSystem.h"
#include "core/FormatSettings.h"
#include "search/ResultSink.h"

class TSearchHost {
 public:
  virtual ~TSearchHost() = default;

  // Criteria: "Look in:", "Named:" (written back when wrapped in "*"), "With text:", "File Size:"
  // with its number and "At Least"/"At Most" choice, "Modified:" with its two dates.
  virtual std::string PathText() = 0;
  virtual std::string NameText() = 0;
  virtual void SetNameText(const std::string& Text) = 0;
  virtual std::string ContainsText() = 0;
  virtual bool SizeChecked() = 0;
  virtual std::string SizeText() = 0;
  virtual bool SizeAtLeast() = 0;  // the first item of the drop-down
  // A maximum beside an "At Least" minimum, as KB text; empty for none. The window's single drop-down
  // gives one limit only; the command line can give both.
  virtual std::string SizeAtMostText() { return std::string(); }
  virtual bool ModifiedChecked() = 0;
  virtual TDateTime StartDate() = 0;
  virtual TDateTime EndDate() = 0;

  // The search button: tag 1 while a run is in progress; disabled while the tag is 1 = cancel request.
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
  virtual void SetBusyCursor(bool Busy) = 0;  // hourglass, or back to the default shape
  virtual void RepaintGrid() = 0;
  virtual void ProcessMessages() = 0;
  virtual void UpdateHistories(const std::string& Name, const std::string& Folder) = 0;
  // True once the search cache may be used; while it is still being loaded, waits for that up to
  // Milliseconds (answering input meanwhile, where the host has any) and answers false.
  virtual bool CacheReady(unsigned Milliseconds) {
    (void)Milliseconds;
    return true;
  }

  // Whether the rows show sizes and times (the window's do; a list of paths does not). When no
  // criterion needs them either, a run reads none: a listing gives names and kinds only on POSIX.
  virtual bool RowsShowDetails() { return true; }

  virtual TResultSink& Results() = 0;
  virtual TClock& Clock() = 0;
  virtual TFileSystem& FileSystem() = 0;
  virtual const TFormatSettings& Format() = 0;
};
