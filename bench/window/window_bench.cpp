// Times the same "*.txt" search of search_bench's tree through the main window (a click on "&Search"
// until the window is idle again, with the status bar, the grid, the message pump and the 150 ms
// pause per 750 ms) and through the engine alone (no window, no pause), in one run; then lists every
// entry of the tree in the window and reports the process's peak working set. Prints "key: value".
//
//   window_bench [--root DIR]
//
// The tree is search_bench's (run it once first; the default root is the same).
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/MainForm.h"
#include "search/SearchRun.h"
#include "toolkit/Application.h"

namespace {

using TClockType = std::chrono::steady_clock;

double SecondsSince(TClockType::time_point Start) {
  return std::chrono::duration<double>(TClockType::now() - Start).count();
}

class TCountingRows : public TRowSink {
 public:
  void BeginUpdate() override {}
  void EndUpdate() override {}
  void ClearRows() override { Count = 0; }
  void AddRows(int Rows) override { Count += Rows; }
  int RowCount() const override { return Count; }
  void SetCellText(int, int, const std::string&) override {}
  int Count = 0;
};

class TNoPauseClock : public TClock {
 public:
  TDateTime Now() override { return SystemClock().Now(); }
  std::uint32_t TickCount() override { return SystemClock().TickCount(); }
  void Sleep(std::uint32_t) override {}
};

// The engine's host without a window: criteria, a button state and a row counter.
class TEngineHost : public TSearchHost {
 public:
  std::string PathText() override { return Root; }
  std::string NameText() override { return Name; }
  void SetNameText(const std::string& Text) override { Name = Text; }
  std::string ContainsText() override { return ""; }
  bool SizeChecked() override { return false; }
  std::string SizeText() override { return ""; }
  bool SizeAtLeast() override { return true; }
  bool ModifiedChecked() override { return false; }
  TDateTime StartDate() override { return 0; }
  TDateTime EndDate() override { return 0; }
  int ButtonTag() override { return Tag; }
  void SetButtonTag(int Value) override { Tag = Value; }
  bool ButtonEnabled() override { return true; }
  void SetButtonEnabled(bool) override {}
  void SetButtonCaption(const std::string&) override {}
  void ShowMessage(const std::string& Text) override { std::fprintf(stderr, "message: %s\n", Text.c_str()); }
  void SetStatus(const std::string&, int) override {}
  void ShowProgress(bool) override {}
  void SetProgressPosition(int) override {}
  void StepProgress() override {}
  void SetBusyCursor(bool) override {}
  void RepaintGrid() override {}
  void ProcessMessages() override {}
  void UpdateHistories(const std::string&, const std::string&) override {}
  TRowSink& Rows() override { return Grid; }
  TClock& Clock() override { return NoPause; }
  TFileSystem& FileSystem() override { return PlatformFileSystem(); }
  const TFormatSettings& Format() override { return FormatSettings(); }

  std::string Root, Name;
  int Tag = 0;
  TCountingRows Grid;
  TNoPauseClock NoPause;
};

// A click on "&Search" as the user makes it, timed until the window has nothing left to do.
double ClickToIdle(TForm1& Form) {
  const auto Start = TClockType::now();
  SendMessageW(Form.Button1.Handle(), BM_CLICK, 0, 0);
  Application().ProcessMessages();
  return SecondsSince(Start);
}

}  // namespace

int main(int Count, char** Arguments) {
  std::string Root = (std::filesystem::temp_directory_path() / "torvane-bench-tree").u8string();
  if (Count == 3 && std::string(Arguments[1]) == "--root") Root = Arguments[2];
  while (Root.size() > 1 && (Root.back() == '/' || Root.back() == '\\')) Root.pop_back();
  if (!std::filesystem::exists(std::filesystem::u8path(Root) / "tree-marker.cfg")) {
    std::fprintf(stderr, "window_bench: no bench tree at %s (run search_bench first)\n", Root.c_str());
    return 2;
  }
  const std::filesystem::path Settings = std::filesystem::temp_directory_path() / "torvane-window-bench";
  std::filesystem::remove_all(Settings);
  std::filesystem::create_directories(Settings);

  // The engine alone, then the window, each with an empty cache; one untimed listing warms the disk.
  TEngineHost Host;
  Host.Root = Root;
  {
    Host.Name = "*.none";
    TSearchCache Warm;
    TSearchRun::Button1Click(Host, Warm);
  }
  Host.Name = "*.txt";
  TSearchCache EngineCache;
  auto Start = TClockType::now();
  TSearchRun::Button1Click(Host, EngineCache);
  const double Engine = SecondsSince(Start);

  Application().Initialize();
  Application().SetTitle(MainCaption);
  TMainFormSetup Setup;
  Setup.SettingsFolder = Settings.u8string() + "\\";
  TForm1 Form(Setup);
  Form.Show();
  Application().ProcessMessages();
  Form.path.SetText(Root);
  Form.search.SetText("*.txt");
  const double Window = ClickToIdle(Form);
  const int Rows = Form.flist.RowCount();

  std::printf("engine_search_s: %.2f\n", Engine);
  std::printf("window_search_s: %.2f\n", Window);
  std::printf("rows: %d (engine %d)\n", Rows, Host.Grid.Count);
  std::printf("window_search_vs_engine: %.2f\n", Window / Engine);

  // Every entry of the tree as a row: the window's memory at its fullest.
  Form.search.SetText("*");
  const double All = ClickToIdle(Form);
  PROCESS_MEMORY_COUNTERS Memory = {};
  Memory.cb = sizeof(Memory);
  GetProcessMemoryInfo(GetCurrentProcess(), &Memory, sizeof(Memory));
  std::printf("window_all_rows: %d\n", Form.flist.RowCount());
  std::printf("window_all_rows_s: %.2f\n", All);
  std::printf("window_peak_working_set_mb: %.0f\n", Memory.PeakWorkingSetSize / 1048576.0);
  return 0;
}
