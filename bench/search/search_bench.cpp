// Times the search engine over a synthetic tree with nothing around it (no window, no pause, no message
// pump, rows only counted): (a) a first search "*.txt" with an empty cache, (b) the same search with
// the cache from (a), (c) a search with a content text, (d) saving and loading the cache (and its folder
// index: index_bytes_per_path is the index file's size per cached path), (e) a bare enumeration of the
// tree through the same file-system interface. Prints "key: value" lines.
//
//   search_bench [--root DIR] [--files N] [--folders N] [--rounds N] [--cache-paths N] [--large-only 1]
//
// Then (f) a cache of --cache-paths paths (default 5,000,000: the tree's own and, to make up the
// number, paths of other folders of the disk, as a cache of a whole disk holds) is loaded, searched
// with "*.txt" over the tree, given one new path and saved: cache_peak_bytes_per_path is the most heap
// it held at once over the three, per cached path, and f_peak_resident_bytes_per_path the growth of the
// process's peak resident set (allocator overhead and all) over what it held before. --large-only
// makes (f) alone, so that nothing before it raises the peak.
//
// The _cpu figures compare processor time, which a machine busy with other work disturbs far less.
//
// Every figure is the best of N rounds (default 3): the machine may be busy with other work.
// The tree is made on first use and reused while its marker file says it has the same shape.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "bench/support/BenchHost.h"
#include "bench/support/BenchTree.h"
#include "bench/support/HeapCounter.h"
#include "bench/support/LargeCache.h"
#include "bench/support/ProcessStats.h"
#include "core/FileSystem.h"
#include "platform/Platform.h"
#include "search/IndexFile.h"
#include "search/SearchRun.h"

namespace {

struct TOptions : TBenchTreeShape {
  int Rounds = 3;
  long CachePaths = 5000000;
  bool LargeOnly = false;
};

// (e): every entry of the tree through the file-system interface, testing and storing nothing.
std::uint64_t Enumerate(TFileSystem& Files, const std::string& Root) {
  std::uint64_t Entries = 0;
  std::vector<std::string> Pending{Root};
  TFileEntry Entry;
  const char Delimiter = Files.PathDelimiter();
  while (!Pending.empty()) {
    const std::string Folder = std::move(Pending.back());
    Pending.pop_back();
    auto Listing = Files.OpenFolder(Folder);
    while (Listing && Listing->Next(Entry)) {
      if (Entry.Name == "." || Entry.Name == "..") continue;
      ++Entries;
      if (Entry.IsDirectory() && !Entry.IsLink()) Pending.push_back(Folder + Delimiter + Entry.Name);
    }
  }
  return Entries;
}

void Print(const char* Key, double Value, const char* Format = "%.0f") {
  std::printf("%s: ", Key);
  std::printf(Format, Value);
  std::printf("\n");
}

bool ParseOptions(int Count, char** Arguments, TOptions& Options) {
  for (int I = 1; I < Count; ++I) {
    const std::string Key = Arguments[I];
    if (I + 1 >= Count) return false;
    const std::string Value = Arguments[++I];
    if (Key == "--root") {
      Options.Root = Value;
    } else if (Key == "--files") {
      Options.Files = std::atol(Value.c_str());
    } else if (Key == "--folders") {
      Options.Folders = std::atol(Value.c_str());
    } else if (Key == "--rounds") {
      Options.Rounds = std::atoi(Value.c_str());
    } else if (Key == "--cache-paths") {
      Options.CachePaths = std::atol(Value.c_str());
    } else if (Key == "--large-only") {
      Options.LargeOnly = Value != "0";
    } else {
      return false;
    }
  }
  return Options.Files > 0 && Options.Folders > 0 && Options.Rounds > 0 && Options.CachePaths >= 0;
}

// The engine's pass 1 alone: the run stops where the walk would begin.
class TCachePassOnly : public TQuietSearch {
 public:
  bool Cancelled() override { return FWalking; }
  void Report(const TSearchReport& Report) override { FWalking = FWalking || Report.Stage == ssWalkBegins; }

 private:
  bool FWalking = false;
};

// (a) to (e), each round afresh; every figure is the best of the rounds, as the machine is shared.
void SmallCacheFigures(const TOptions& Options, TFileSystem& Files, const std::string& CacheFile) {
  Enumerate(Files, Options.Root);  // warm the system's caches once, untimed
  // The machine is shared: every figure is the best of the rounds, each round (a) to (e) afresh.
  double Enumeration = 1e9, First = 1e9, Second = 1e9, CachePass = 1e9, Content = 1e9, Save = 1e9, Load = 1e9;
  double EnumerationCpu = 1e9, FirstCpu = 1e9, SecondCpu = 1e9;
  std::uint64_t Entries = 0;
  int FirstRows = 0, SecondRows = 0, ContentRows = 0;
  std::size_t CacheHeap = 0, LoadedHeap = 0, Paths = 0, PathBytes = 0, IndexBytes = 0;
  for (int Round = 0; Round < Options.Rounds; ++Round) {
    auto Start = TClockType::now();
    double Cpu = ProcessCpuSeconds();
    Entries = Enumerate(Files, Options.Root);
    Enumeration = std::min(Enumeration, SecondsSince(Start));
    EnumerationCpu = std::min(EnumerationCpu, ProcessCpuSeconds() - Cpu);

    TQuietSearch Host;
    Host.Root = Options.Root;
    const std::size_t HeapBeforeCache = LiveHeapBytes();
    TSearchCache Cache(Files);
    auto Search = [&](const std::string& Name, const std::string& Contains) {
      Host.Name = Name;
      Host.Contains = Contains;
      const auto Begin = TClockType::now();
      Host.Run(Cache);
      return SecondsSince(Begin);
    };
    Cpu = ProcessCpuSeconds();
    First = std::min(First, Search("*.txt", ""));
    FirstCpu = std::min(FirstCpu, ProcessCpuSeconds() - Cpu);
    FirstRows = Host.Grid.RowCount();
    CacheHeap = LiveHeapBytes() - HeapBeforeCache;
    Cpu = ProcessCpuSeconds();
    Second = std::min(Second, Search("*.txt", ""));
    SecondCpu = std::min(SecondCpu, ProcessCpuSeconds() - Cpu);
    SecondRows = Host.Grid.RowCount();
    {
      // Pass 1 alone, as (b) makes it: the run is cancelled as the walk begins.
      TCachePassOnly Pass1;
      Pass1.Root = Options.Root;
      Pass1.Name = "*.txt";
      const auto Begin = TClockType::now();
      Pass1.Run(Cache);
      CachePass = std::min(CachePass, SecondsSince(Begin));
    }
    Content = std::min(Content, Search("*.txt", BenchNeedle));
    ContentRows = Host.Grid.RowCount();

    Start = TClockType::now();
    Cache.SaveCache(CacheFile);
    std::error_code NoIndex;
    IndexBytes =
        static_cast<std::size_t>(std::filesystem::file_size(std::filesystem::u8path(IndexFileFor(CacheFile)), NoIndex));
    Save = std::min(Save, SecondsSince(Start));
    const std::size_t HeapBeforeLoad = LiveHeapBytes();
    TSearchCache Loaded(Files);
    Start = TClockType::now();
    Loaded.LoadCache(CacheFile);
    Load = std::min(Load, SecondsSince(Start));
    LoadedHeap = LiveHeapBytes() - HeapBeforeLoad;
    Paths = Loaded.List().Count();
    PathBytes = 0;
    for (std::size_t I = 0; I < Paths; ++I) PathBytes += Loaded.List().Text(I).size();
    std::filesystem::remove(std::filesystem::u8path(CacheFile));
    std::filesystem::remove(std::filesystem::u8path(IndexFileFor(CacheFile)));
  }

  Print("tree_entries", static_cast<double>(Entries));
  Print("cached_paths", static_cast<double>(Paths));
  Print("average_path_length", Paths ? static_cast<double>(PathBytes) / Paths : 0.0, "%.1f");
  std::printf("rows_first: %d\nrows_second: %d\nrows_content: %d\n", FirstRows, SecondRows, ContentRows);
  Print("a_first_search_entries_per_s", Entries / First);
  Print("b_second_search_entries_per_s", Entries / Second);
  Print("b_cache_pass_s", CachePass, "%.3f");
  Print("b_second_search_s", Second, "%.3f");
  Print("a_first_search_s", First, "%.3f");
  Print("c_content_search_entries_per_s", Entries / Content);
  Print("d_cache_save_load_paths_per_s", Paths / (Save + Load));
  Print("d_cache_save_s", Save, "%.3f");
  Print("d_cache_load_s", Load, "%.3f");
  Print("e_enumeration_entries_per_s", Entries / Enumeration);
  Print("cache_heap_bytes_after_first_search_per_path", Paths ? static_cast<double>(CacheHeap) / Paths : 0.0);
  Print("first_search_vs_enumeration", (Entries / First) / (Entries / Enumeration), "%.2f");
  Print("second_search_vs_first", Second / First, "%.2f");
  Print("first_search_vs_enumeration_cpu", EnumerationCpu / FirstCpu, "%.2f");
  Print("second_search_vs_first_cpu", SecondCpu / FirstCpu, "%.2f");
  Print("cache_bytes_per_path", Paths ? static_cast<double>(LoadedHeap) / Paths : 0.0);
  Print("index_bytes_per_path", Paths ? static_cast<double>(IndexBytes) / Paths : 0.0, "%.1f");
}

// (f): a cache of a whole disk loaded, searched over the tree, given one new path and saved.
void LargeCacheFigures(const TOptions& Options, TFileSystem& Files, const std::string& CacheFile) {
  {
    TQuietSearch Host;
    Host.Root = Options.Root;
    Host.Name = "*";
    TSearchCache TreeCache(Files);
    Host.Run(TreeCache);
    WriteLargeCache(CacheFile, TreeCache.List(), Options.CachePaths, Files.PathDelimiter());
  }
  std::size_t Paths = 0;
  double LoadTime = 0, SearchTime = 0, SaveTime = 0;
  const std::size_t HeapBefore = LiveHeapBytes(), ResidentBefore = ResidentBytes();
  ResetHeapPeak();
  {
    TSearchCache Big(Files);
    auto Start = TClockType::now();
    Big.LoadCache(CacheFile);
    LoadTime = SecondsSince(Start);
    Paths = Big.List().Count();
    TQuietSearch Host;
    Host.Root = Options.Root;
    Host.Name = "*.txt";
    Start = TClockType::now();
    Host.Run(Big);
    SearchTime = SecondsSince(Start);
    Big.AddToCache(Options.Root + Files.PathDelimiter() + "new since the last save.txt");
    Start = TClockType::now();
    Big.SaveCache(CacheFile);
    SaveTime = SecondsSince(Start);
  }
  const std::size_t Peak = PeakHeapBytes() - HeapBefore, PeakResident = PeakResidentBytes() - ResidentBefore;
  std::filesystem::remove(std::filesystem::u8path(CacheFile));
  std::filesystem::remove(std::filesystem::u8path(IndexFileFor(CacheFile)));
  if (Paths == 0) return;
  Print("f_large_cache_paths", static_cast<double>(Paths));
  Print("f_large_cache_load_s", LoadTime, "%.2f");
  Print("f_large_cache_search_s", SearchTime, "%.2f");
  Print("f_large_cache_save_s", SaveTime, "%.2f");
  Print("cache_peak_bytes_per_path", static_cast<double>(Peak) / Paths);
  Print("f_peak_resident_bytes_per_path", static_cast<double>(PeakResident) / Paths);
}

}  // namespace

int main(int Count, char** Arguments) {
  InstallPlatformServices();
  TOptions Options;
  Options.Root = BenchTempPath("torvane-bench-tree");
  if (!ParseOptions(Count, Arguments, Options)) {
    std::fprintf(stderr,
                 "usage: search_bench [--root DIR] [--files N] [--folders N] [--rounds N] [--cache-paths N] "
                 "[--large-only 1]\n");
    return 2;
  }
  while (Options.Root.size() > 1 && (Options.Root.back() == '/' || Options.Root.back() == '\\'))
    Options.Root.pop_back();
  MakeBenchTree(Options);
  TFileSystem& Files = PlatformFileSystem();
  const std::string CacheFile = Options.Root + Files.PathDelimiter() + "bench-search.cache";
  std::filesystem::remove(std::filesystem::u8path(CacheFile));
  if (!Options.LargeOnly) SmallCacheFigures(Options, Files, CacheFile);
  if (Options.CachePaths > 0) LargeCacheFigures(Options, Files, CacheFile);
  return 0;
}
