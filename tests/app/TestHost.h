#pragma once
// A window stand-in for search runs: criteria set by the test, rows, texts and run state recorded.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/WindowSearch.h"
#include "platform/Platform.h"
#include "tests/search/RecordingRows.h"

class TTestHost : public TSearchWindow {
 public:
  // A click on the search button, as the window handles it.
  void Click(TSearchCache& Cache) { TWindowSearch(*this, Cache, *Files, FakeClock, Settings).StartOrCancel(Results()); }
  // Where the rows go; a test may send them elsewhere.
  virtual TResultSink& Results() { return Grid; }

  TSearchCriteria Criteria() override {
    TSearchCriteria Result;
    Result.Folder = Path;
    Result.NameText = SearchNameText(Name);
    Result.ContentText = Contains;
    if (SizeOn) ApplySizeField(Result, SizeNumber, AtLeast);
    if (ModifiedOn) Result.Modified = TDayRange{From, To};
    Result.RowsNeedDetails = ShowsDetails;
    return Result;
  }
  void ShowNameText(const std::string& Text) override { Name = Text; }

  // The run state kept as the main window keeps it, in a button's tag, enabled state and caption.
  TRunState RunState() override { return Tag < 1 ? rsIdle : Enabled ? rsRunning : rsCancelling; }
  void SetRunState(TRunState State) override {
    RunStates.push_back(State);
    if (State == rsCancelling) {
      Enabled = false;
      return;
    }
    Caption = State == rsIdle ? SearchCaption : CancelCaption;
    Tag = State == rsIdle ? 0 : 1;
    if (State == rsIdle) Enabled = true;
  }

  void ShowMessage(const std::string& Text) override { Messages.push_back(Text); }
  void SetStatus(const std::string& Text, int Panel) override {
    Status[Panel] = Text;
    StatusLog.push_back(std::to_string(Panel) + ":" + Text);
    ProcessMessages();
  }
  void ChangeProgress(TProgressChange Change, int Position) override {
    if (Change == pcShow) ProgressVisible = true;
    if (Change == pcMoveTo) ProgressPositions.push_back(Position);
    if (Change == pcStep) ++ProgressSteps;
  }
  void ProcessMessages() override {
    ++Pumps;
    if (OnPump) OnPump();
  }
  bool CacheReady(unsigned) override { return true; }
  void RunEnded(bool Completed) override {
    if (Completed) Histories.push_back(Name + "|" + Path);
    BusyCursor = false;
    ProgressVisible = false;
    Repaints += Completed;
  }

  std::string Path, Name, Contains, SizeNumber;
  bool SizeOn = false, AtLeast = true, ModifiedOn = false, ShowsDetails = true;
  TDateTime From = 0, To = 0;
  int Tag = 0;
  bool Enabled = true;
  std::string Caption = "&Search";
  std::vector<std::string> Messages, StatusLog, Histories;
  std::vector<TRunState> RunStates;
  std::map<int, std::string> Status;
  bool ProgressVisible = false, BusyCursor = true;
  std::vector<int> ProgressPositions;
  int ProgressSteps = 0, Repaints = 0;
  long Pumps = 0;
  std::function<void()> OnPump;
  TRecordingRows Grid;
  TManualClock FakeClock;
  TFileSystem* Files = &PlatformFileSystem();
  TFormatSettings Settings = UnitedStatesFormatSettings();
};
