#pragma once
// A window stand-in for search runs: criteria set by the test, rows, texts and button state recorded.
#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

#include "app/WindowSearch.h"
#include "core/Clock.h"
#include "search/ResultRows.h"

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

class TTestHost : public TSearchWindow {
 public:
  // A click on the search button, as the window handles it.
  void Click(TSearchCache& Cache) { TWindowSearch(*this, Cache, *Files, FakeClock, Settings).Button1Click(); }

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

  int ButtonTag() override { return Tag; }
  void SetButtonTag(int Value) override { Tag = Value; }
  bool ButtonEnabled() override { return Enabled; }
  void SetButtonEnabled(bool Value) override { Enabled = Value; }
  void SetButtonCaption(const std::string& Text) override { Caption = Text; }

  void ShowMessage(const std::string& Text) override { Messages.push_back(Text); }
  void SetStatus(const std::string& Text, int Panel) override {
    Status[Panel] = Text;
    StatusLog.push_back(std::to_string(Panel) + ":" + Text);
    ProcessMessages();
  }
  void ShowProgress(bool Visible) override { ProgressVisible = Visible; }
  void SetProgressPosition(int Position) override { ProgressPositions.push_back(Position); }
  void StepProgress() override { ++ProgressSteps; }
  void ResetCursor() override { BusyCursor = false; }
  void RepaintGrid() override { ++Repaints; }
  void ProcessMessages() override {
    ++Pumps;
    if (OnPump) OnPump();
  }
  void RecordHistories() override { Histories.push_back(Name + "|" + Path); }
  bool CacheReady(unsigned) override { return true; }
  TResultSink& Results() override { return Grid; }

  std::string Path, Name, Contains, SizeNumber;
  bool SizeOn = false, AtLeast = true, ModifiedOn = false, ShowsDetails = true;
  TDateTime From = 0, To = 0;
  int Tag = 0;
  bool Enabled = true;
  std::string Caption = "&Search";
  std::vector<std::string> Messages, StatusLog, Histories;
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
