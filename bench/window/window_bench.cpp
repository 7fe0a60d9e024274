// Times the same "*.txt" search of search_bench's tree through the main window (a click on "&Search"
// until the window is idle again, with the status bar, the grid, the message pump and the 150 ms
// pause per 750 ms) and through the engine alone (no window, no pause); then lists every file of the
// tree, 200,000 rows, in the window and reports the process's peak working set; then lists them four
// times more into the same grid (the window's own search, its results kept from one listing to the
// next), 1,000,000 rows, and reports the peak again; then repeats the "*.txt" search --repeats times
// (50 by default) in the same window and reports how the working set after the last compares with
// the working set after the fifth. Prints "key: value".
//
// The search cache: each round also repeats the window's search with the cache its first search left
// (cached_vs_uncached, click to idle; first_row_cached_ms, click until the first row is painted). Then a
// window starts with a cache file of --cache-paths paths (1,000,000 by default): startup_idle_ms until
// it is shown and answers input (the cache still loading), cache_loaded_ms until the load is over, and
// close_unchanged_ms for closing it when nothing changed. Between the two, a text that no file holds is
// looked for in every file, without the cache and then with it: cached_text_vs_uncached_text, and
// cached_text_first_status_ms (the click to the first counts in the status bar).
//
//   window_bench [--root DIR] [--rounds N] [--repeats N] [--cache-paths N]
//
// The engine and the window take turns, each round starting with an empty cache, and each figure is
// the best of its rounds (3 by default): a machine busy with other work slows some rounds, not the
// comparison. The processor time of the thread (engine_cpu_s, window_cpu_s) shows what the window
// adds even when the machine is too busy for the wall-clock figures to settle. The tree is search_bench's (run it once
// first; the default root is the same).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/MainForm.h"
#include "bench/support/BenchHost.h"
#include "bench/support/LargeCache.h"
#include "platform/Platform.h"
#include "search/SearchRun.h"
#include "toolkit/Application.h"

namespace {

// Processor time of this thread: on a machine busy with other work it tells what the window itself
// costs, where the wall-clock figures also count the time the thread waited for a processor.
double ThreadSeconds() {
  FILETIME Created, Ended, Kernel, User;
  GetThreadTimes(GetCurrentThread(), &Created, &Ended, &Kernel, &User);
  const auto Seconds = [](FILETIME Time) {
    return (static_cast<double>(Time.dwHighDateTime) * 4294967296.0 + Time.dwLowDateTime) / 1e7;
  };
  return Seconds(Kernel) + Seconds(User);
}

// The system clock, with the time of its pauses added up.
class TPauseClock : public TClock {
 public:
  TDateTime Now() override { return PlatformClock().Now(); }
  std::uint32_t TickCount() override { return PlatformClock().TickCount(); }
  void Sleep(std::uint32_t Milliseconds) override {
    const auto Start = TClockType::now();
    PlatformClock().Sleep(Milliseconds);
    Seconds += SecondsSince(Start);
  }
  double Seconds = 0;
};
TPauseClock PauseClock;

// The main window, with the time of its status bar (the messages each status change pumps
// included) and of its pauses added up: what is left of the difference to the engine is the pump
// between entries and the grid's rows (timing those per entry would cost more than they do).
class TTimedForm : public TForm1 {
 public:
  using TForm1::TForm1;
  void SetStatus(const std::string& Text, int Panel) override {
    const auto Start = TClockType::now();
    if (FirstStatusSeconds < 0 && Panel >= 1 && !Text.empty()) FirstStatusSeconds = SecondsSince(ClickTime);
    TForm1::SetStatus(Text, Panel);
    StatusSeconds += SecondsSince(Start);
  }
  // While KeepRows is set, a new search adds its rows to those already listed.
  TResultSink& Results() override { return FKeeping; }
  bool KeepRows = false;
  // The first row painted: the grid holds rows and is out of its update bracket while messages run.
  void ProcessMessages() override {
    TForm1::ProcessMessages();
    if (FirstRowSeconds < 0 && flist.Model().RowCount() > 0 && !flist.Model().IsUpdating())
      FirstRowSeconds = SecondsSince(ClickTime);
  }
  double StatusSeconds = 0, FirstRowSeconds = -1, FirstStatusSeconds = -1;
  TClockType::time_point ClickTime;

 private:
  class TKeepingSink : public TResultSink {
   public:
    explicit TKeepingSink(TTimedForm& Form) : FForm(Form) {}
    void BeginUpdate() override { Sink().BeginUpdate(); }
    void EndUpdate() override { Sink().EndUpdate(); }
    void Clear() override {
      if (!FForm.KeepRows) Sink().Clear();
    }
    void Add(const std::string& Folder, const TFileEntry& Entry) override { Sink().Add(Folder, Entry); }
    int Count() const override { return FForm.flist.Model().RowCount(); }

   private:
    TResultSink& Sink() { return FForm.TForm1::Results(); }
    TTimedForm& FForm;
  };
  TKeepingSink FKeeping{*this};
};

// A click on "&Search" as the user makes it, timed until the window has nothing left to do.
double ClickToIdle(TTimedForm& Form) {
  Form.StatusSeconds = PauseClock.Seconds = 0;
  Form.FirstRowSeconds = Form.FirstStatusSeconds = -1;
  const auto Start = Form.ClickTime = TClockType::now();
  SendMessageW(Form.Button1.Handle(), BM_CLICK, 0, 0);
  Application().ProcessMessages();
  return SecondsSince(Start);
}

double WorkingSetMb(bool Peak) {
  PROCESS_MEMORY_COUNTERS Memory = {};
  Memory.cb = sizeof(Memory);
  GetProcessMemoryInfo(GetCurrentProcess(), &Memory, sizeof(Memory));
  return static_cast<double>(Peak ? Memory.PeakWorkingSetSize : Memory.WorkingSetSize) / 1048576.0;
}

double EngineSearch(TQuietSearch& Host) {
  TSearchCache Cache;
  const auto Start = TClockType::now();
  Host.Run(Cache);
  return SecondsSince(Start);
}

// Waits, with the window answering, until its cache is loaded.
void WaitForCache(TForm1& Form) {
  while (!Form.CacheReady(20)) {
  }
}

// A window started with a cache file of Paths paths (the tree's and an archive's), then closed unchanged.
void LargeCacheWindow(const std::filesystem::path& Settings, TForm1& Form, long Paths) {
  WriteLargeCache((Settings / SearchCacheFileName).u8string(), Form.Cache().List(), Paths, '\\');
  TMainFormSetup Setup;
  Setup.SettingsFolder = Settings.u8string() + "\\";
  const auto Start = TClockType::now();
  auto Large = std::make_unique<TForm1>(Setup);
  Large->Show();
  Application().ProcessMessages();
  SendMessageW(Large->Handle(), WM_NULL, 0, 0);  // it answers
  const double Idle = SecondsSince(Start);
  WaitForCache(*Large);
  const double Loaded = SecondsSince(Start);
  const std::size_t Count = Large->Cache().List().Count();
  const auto Closing = TClockType::now();
  Large.reset();
  const double Close = SecondsSince(Closing);
  std::printf("large_cache_paths: %zu\n", Count);
  std::printf("startup_idle_ms: %.0f\n", Idle * 1000);
  std::printf("cache_loaded_ms: %.0f\n", Loaded * 1000);
  std::printf("close_unchanged_ms: %.0f\n", Close * 1000);
}

}  // namespace

int main(int Count, char** Arguments) {
  InstallPlatformServices();
  std::string Root = (std::filesystem::temp_directory_path() / "torvane-bench-tree").u8string();
  int Rounds = 3, Repeats = 50;
  long CachePaths = 1000000;
  for (int I = 1; I + 1 < Count; I += 2) {
    const std::string Key = Arguments[I], Value = Arguments[I + 1];
    if (Key == "--root") Root = Value;
    if (Key == "--rounds") Rounds = std::max(1, std::atoi(Value.c_str()));
    if (Key == "--repeats") Repeats = std::max(5, std::atoi(Value.c_str()));
    if (Key == "--cache-paths") CachePaths = std::atol(Value.c_str());
  }
  while (Root.size() > 1 && (Root.back() == '/' || Root.back() == '\\')) Root.pop_back();
  if (!std::filesystem::exists(std::filesystem::u8path(Root) / "tree-marker.cfg")) {
    std::fprintf(stderr, "window_bench: no bench tree at %s (run search_bench first)\n", Root.c_str());
    return 2;
  }
  const std::filesystem::path Settings = std::filesystem::temp_directory_path() / "torvane-window-bench";
  std::filesystem::remove_all(Settings);
  std::filesystem::create_directories(Settings);

  TQuietSearch Host;
  Host.Root = Root;
  Host.Name = "*.none";
  EngineSearch(Host);  // one untimed listing warms the disk
  Host.Name = "*.txt";

  Application().Initialize();
  Application().SetTitle(MainCaption);
  TMainFormSetup Setup;
  Setup.SettingsFolder = Settings.u8string() + "\\";
  Setup.Clock = &PauseClock;
  TTimedForm Form(Setup);
  Form.Show();
  Application().ProcessMessages();
  WaitForCache(Form);
  Form.path.SetText(Root);

  double Engine = 0, Window = 0, Status = 0, Pause = 0, EngineCpu = 0, WindowCpu = 0, Cached = 0, FirstRow = 0;
  double CachedCpu = 0;
  for (int Round = 0; Round < Rounds; ++Round) {
    const double EngineStart = ThreadSeconds();
    const double EngineRound = EngineSearch(Host);
    const double EngineRoundCpu = ThreadSeconds() - EngineStart;
    Form.Cache().List().Clear();
    Form.Cache().Index().Clear();
    Form.search.SetText("*.txt");
    const double WindowStart = ThreadSeconds();
    const double WindowRound = ClickToIdle(Form);
    const double WindowRoundCpu = ThreadSeconds() - WindowStart;
    const double CachedStart = ThreadSeconds();
    const double CachedRound = ClickToIdle(Form);  // the same search with the cache the first one left
    const double CachedRoundCpu = ThreadSeconds() - CachedStart;
    if (Round == 0 || CachedRound < Cached) Cached = CachedRound;
    if (Round == 0 || CachedRoundCpu < CachedCpu) CachedCpu = CachedRoundCpu;
    if (Round == 0 || Form.FirstRowSeconds < FirstRow) FirstRow = Form.FirstRowSeconds;
    std::fprintf(stderr, "round %d: engine %.2f s (cpu %.2f), window %.2f s (cpu %.2f), cached %.2f s (cpu %.2f)\n",
                 Round + 1, EngineRound, EngineRoundCpu, WindowRound, WindowRoundCpu, CachedRound, CachedRoundCpu);
    if (Round == 0 || EngineRound < Engine) Engine = EngineRound;
    if (Round == 0 || EngineRoundCpu < EngineCpu) EngineCpu = EngineRoundCpu;
    if (Round == 0 || WindowRoundCpu < WindowCpu) WindowCpu = WindowRoundCpu;
    if (Round == 0 || WindowRound < Window) {
      Window = WindowRound;
      Status = Form.StatusSeconds, Pause = PauseClock.Seconds;
    }
  }
  std::printf("engine_search_s: %.2f\n", Engine);
  std::printf("window_search_s: %.2f\n", Window);
  std::printf("window_status_s: %.2f\n", Status);
  std::printf("window_pause_s: %.2f\n", Pause);
  std::printf("rows: %d (engine %d)\n", Form.flist.Model().RowCount(), Host.Grid.RowCount());
  std::printf("engine_cpu_s: %.2f\n", EngineCpu);
  std::printf("window_cpu_s: %.2f\n", WindowCpu);
  std::printf("window_search_vs_engine: %.2f\n", Window / Engine);
  std::printf("window_cached_search_s: %.2f\n", Cached);
  std::printf("cached_vs_uncached: %.2f\n", Cached / Window);
  std::printf("window_cached_cpu_s: %.2f\n", CachedCpu);
  std::printf("cached_vs_uncached_cpu: %.2f\n", CachedCpu / WindowCpu);
  std::printf("first_row_cached_ms: %.0f\n", FirstRow * 1000);

  // A text found nowhere, looked for in every file of the tree: without the cache, then with the cache
  // and index that search left. cached_text_first_status_ms: from the click to the first counts shown.
  Form.search.SetText("*");
  Form.contains.SetText("zzqqxx");
  double Text = 0, TextCached = 0, FirstStatus = 0;
  for (int Round = 0; Round < Rounds; ++Round) {
    Form.Cache().List().Clear();
    Form.Cache().Index().Clear();
    const double Uncached = ClickToIdle(Form);
    const double CachedText = ClickToIdle(Form);
    std::fprintf(stderr, "round %d: text %.2f s, cached text %.2f s\n", Round + 1, Uncached, CachedText);
    if (Round == 0 || Uncached < Text) Text = Uncached;
    if (Round == 0 || CachedText < TextCached) TextCached = CachedText;
    if (Round == 0 || Form.FirstStatusSeconds < FirstStatus) FirstStatus = Form.FirstStatusSeconds;
  }
  Form.contains.SetText("");
  std::printf("window_text_search_s: %.2f\nwindow_cached_text_search_s: %.2f\n", Text, TextCached);
  std::printf("cached_text_vs_uncached_text: %.2f\n", TextCached / Text);
  std::printf("cached_text_first_status_ms: %.0f\n", FirstStatus * 1000);
  std::fflush(stdout);

  // Every file of the tree as a row (names starting with "t" are left out: only the tree's marker
  // file has one), found again with the cache of the last round: the window at its fullest.
  Form.search.SetText("!t*.*");
  const double All = ClickToIdle(Form);
  std::printf("window_all_rows: %d\n", Form.flist.Model().RowCount());
  std::printf("window_all_rows_s: %.2f\n", All);
  std::printf("window_peak_working_set_mb: %.0f\n", WorkingSetMb(true));
  std::fflush(stdout);

  // Four listings more into the same grid: a million rows, each a real entry as the search found it.
  Form.KeepRows = true;
  for (int Listing = 0; Listing < 4; ++Listing) ClickToIdle(Form);
  Form.KeepRows = false;
  std::printf("window_rows_1m: %d\n", Form.flist.Model().RowCount());
  std::printf("window_peak_working_set_mb_1m: %.0f\n", WorkingSetMb(true));
  std::fflush(stdout);

  // The same search again and again in one window: what each leaves behind.
  Form.search.SetText("*.txt");
  double AfterFifth = 0;
  for (int Search = 1; Search <= Repeats; ++Search) {
    ClickToIdle(Form);
    if (Search == 5) AfterFifth = WorkingSetMb(false);
  }
  const double AfterLast = WorkingSetMb(false);
  std::printf("repeat_searches: %d\n", Repeats);
  std::printf("repeat_working_set_mb_5: %.0f\n", AfterFifth);
  std::printf("repeat_working_set_mb_last: %.0f\n", AfterLast);
  std::printf("repeat_growth_pct: %.1f\n", (AfterLast / AfterFifth - 1.0) * 100.0);
  std::fflush(stdout);
  if (CachePaths > 0) LargeCacheWindow(Settings, Form, CachePaths);
  return 0;
}
