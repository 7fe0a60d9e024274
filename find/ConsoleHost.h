#pragma once
// The search host of torvane-find: the criteria come from the command line, results go to stdout as
// they are found, the status bar becomes a progress line on an interactive stderr, and Ctrl+C (or a
// reader that went away) is the cancel request.
#include <string>

#include "core/Clock.h"
#include "find/Console.h"
#include "find/FindOptions.h"
#include "find/ResultWriter.h"
#include "search/SearchHost.h"

class TConsoleHost : public TSearchHost, private TResultSink {
 public:
  TConsoleHost(const TFindOptions& Options, TConsole& Console, TFileSystem& Files, const TFormatSettings& Settings);

  // After the run.
  int RowsFound() const { return FRowCount; }
  // A message was shown (the folder does not exist).
  bool MessageShown() const { return FMessageShown; }
  // The status bar's closing text: the total size or the large-files note.
  const std::string& FinalStatus() const { return FStatus[3]; }

  // TSearchHost
  std::string PathText() override { return FOptions.Folder; }
  std::string NameText() override { return FName; }
  void SetNameText(const std::string& Text) override { FName = Text; }
  std::string ContainsText() override { return FOptions.Contains; }
  bool SizeChecked() override { return !FOptions.AtLeast.empty() || !FOptions.AtMost.empty(); }
  std::string SizeText() override { return FOptions.AtLeast.empty() ? FOptions.AtMost : FOptions.AtLeast; }
  bool SizeAtLeast() override { return !FOptions.AtLeast.empty(); }
  std::string SizeAtMostText() override { return FOptions.AtLeast.empty() ? std::string() : FOptions.AtMost; }
  bool ModifiedChecked() override { return FOptions.Modified; }
  TDateTime StartDate() override { return FOptions.ModifiedFrom; }
  TDateTime EndDate() override { return FOptions.ModifiedTo; }

  int ButtonTag() override { return FTag; }
  void SetButtonTag(int Tag) override;
  bool ButtonEnabled() override;
  void SetButtonEnabled(bool Enabled) override { FEnabled = Enabled; }
  void SetButtonCaption(const std::string&) override {}

  void ShowMessage(const std::string& Text) override;
  void SetStatus(const std::string& Text, int Panel) override;
  void ShowProgress(bool Visible) override;
  void SetProgressPosition(int Position) override;
  void StepProgress() override {}
  void SetBusyCursor(bool) override {}
  void RepaintGrid() override {}
  void ProcessMessages() override {}
  // The window's name and folder histories are its own: scripted searches do not fill them.
  void UpdateHistories(const std::string&, const std::string&) override {}

  bool RowsShowDetails() override { return FOptions.Format != ofPath; }
  TResultSink& Results() override { return *this; }
  TClock& Clock() override { return FClock; }
  TFileSystem& FileSystem() override { return FFiles; }
  const TFormatSettings& Format() override { return FSettings; }

 private:
  // TResultSink: each result is written as it comes.
  void BeginUpdate() override {}
  void EndUpdate() override {}
  void Clear() override { FRowCount = 0; }
  void Add(const std::string& Folder, const TFileEntry& Entry) override;
  int Count() const override { return FRowCount; }

  // The window's clock without the pause at each refresh: a console gives no time to a message loop.
  class TNoPauseClock : public TClock {
   public:
    TDateTime Now() override { return SystemClock().Now(); }
    std::uint32_t TickCount() override { return SystemClock().TickCount(); }
    void Sleep(std::uint32_t) override {}
  };

  const TFindOptions& FOptions;
  TConsole& FConsole;
  TFileSystem& FFiles;
  const TFormatSettings& FSettings;
  TResultWriter FWriter;
  TNoPauseClock FClock;
  std::string FName;
  int FTag = 0;
  bool FEnabled = true;
  bool FMessageShown = false;
  bool FHeaderWritten = false;
  bool FShowStatus;  // the progress line: an interactive stderr, not --quiet
  bool FCachePass = false;
  std::string FStatus[4];
  int FRowCount = 0;
  std::string FText;  // reused for every result
};
