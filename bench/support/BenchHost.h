#pragma once
// What the search benchmarks share: a wall clock in seconds, and the engine's host without a window
// (criteria, a button state, results only counted, no pause): the engine's own cost.
#include <chrono>
#include <cstdio>
#include <string>

#include "core/Clock.h"
#include "core/FileSystem.h"
#include "core/FormatSettings.h"
#include "search/SearchHost.h"

using TClockType = std::chrono::steady_clock;

inline double SecondsSince(TClockType::time_point Start) {
  return std::chrono::duration<double>(TClockType::now() - Start).count();
}

class TCountingRows : public TResultSink {
 public:
  void BeginUpdate() override {}
  void EndUpdate() override {}
  void Clear() override { FCount = 0; }
  void Add(const std::string&, const TFileEntry&) override { ++FCount; }
  int Count() const override { return FCount; }
  int RowCount() const { return FCount; }

 private:
  int FCount = 0;
};

// Real ticks, no sleeping: the refresh still runs its logic every 750 ms but never pauses.
class TNoPauseClock : public TClock {
 public:
  TDateTime Now() override { return SystemClock().Now(); }
  std::uint32_t TickCount() override { return SystemClock().TickCount(); }
  void Sleep(std::uint32_t) override {}
};

class TQuietHost : public TSearchHost {
 public:
  std::string PathText() override { return Root; }
  std::string NameText() override { return Name; }
  void SetNameText(const std::string& Text) override { Name = Text; }
  std::string ContainsText() override { return Contains; }
  bool SizeChecked() override { return false; }
  std::string SizeText() override { return ""; }
  bool SizeAtLeast() override { return true; }
  bool ModifiedChecked() override { return false; }
  TDateTime StartDate() override { return 0; }
  TDateTime EndDate() override { return 0; }
  int ButtonTag() override { return Tag; }
  void SetButtonTag(int Value) override { Tag = Value; }
  bool ButtonEnabled() override { return Enabled; }
  void SetButtonEnabled(bool Value) override { Enabled = Value; }
  void SetButtonCaption(const std::string&) override {}
  void ShowMessage(const std::string& Text) override { std::fprintf(stderr, "message: %s\n", Text.c_str()); }
  void SetStatus(const std::string& Text, int Panel) override {
    if (Panel == 3) LastTotal = Text;
  }
  void ShowProgress(bool) override {}
  void SetProgressPosition(int) override {}
  void StepProgress() override {}
  void SetBusyCursor(bool) override {}
  void RepaintGrid() override {}
  void ProcessMessages() override {}
  void UpdateHistories(const std::string&, const std::string&) override {}
  TResultSink& Results() override { return Grid; }
  TClock& Clock() override { return NoPause; }
  TFileSystem& FileSystem() override { return PlatformFileSystem(); }
  const TFormatSettings& Format() override { return Settings; }

  std::string Root, Name, Contains, LastTotal;
  int Tag = 0;
  bool Enabled = true;
  TCountingRows Grid;
  TNoPauseClock NoPause;
  TFormatSettings Settings = UnitedStatesFormatSettings();
};
