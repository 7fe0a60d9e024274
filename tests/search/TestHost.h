#pragma once
// A window stand-in for search runs: criteria set by the test, rows, texts and button state recorded.
#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

#include "core/Clock.h"
#include "search/SearchHost.h"

class TRecordingRows : public TRowSink {
 public:
  void BeginUpdate() override { ++UpdateCount; }
  void EndUpdate() override { --UpdateCount; }  // below zero: an EndUpdate without its BeginUpdate
  void ClearRows() override { Rows.clear(); }
  void AddRows(int Count) override {
    for (int I = 0; I < Count; ++I) Rows.emplace_back(6, std::string());
  }
  int RowCount() const override { return static_cast<int>(Rows.size()); }
  void SetCellText(int Column, int Row, const std::string& Text) override {
    Rows.at(static_cast<std::size_t>(Row)).at(static_cast<std::size_t>(Column)) = Text;
  }

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

class TTestHost : public TSearchHost {
 public:
  std::string PathText() override { return Path; }
  std::string NameText() override { return Name; }
  void SetNameText(const std::string& Text) override { Name = Text; }
  std::string ContainsText() override { return Contains; }
  bool SizeChecked() override { return SizeOn; }
  std::string SizeText() override { return SizeNumber; }
  bool SizeAtLeast() override { return AtLeast; }
  bool ModifiedChecked() override { return ModifiedOn; }
  TDateTime StartDate() override { return From; }
  TDateTime EndDate() override { return To; }

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
  void SetBusyCursor(bool Busy) override { BusyCursor = Busy; }
  void RepaintGrid() override { ++Repaints; }
  void ProcessMessages() override {
    ++Pumps;
    if (OnPump) OnPump();
  }
  void UpdateHistories(const std::string& NameText, const std::string& Folder) override {
    Histories.push_back(NameText + "|" + Folder);
  }
  bool RowsShowDetails() override { return ShowsDetails; }
  TRowSink& Rows() override { return Grid; }
  TClock& Clock() override { return FakeClock; }
  TFileSystem& FileSystem() override { return *Files; }
  const TFormatSettings& Format() override { return Settings; }

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
