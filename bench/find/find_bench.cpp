// Times torvane-find as a user runs it (a process of its own, results to a file) against what it
// cannot beat:
//   find_vs_bare_listing  a search by a name that few entries have ("*_1234*", no cache) of the search
//                         bench's tree against a bare recursive listing of the same tree (names and
//                         kinds only, in this process): what the walk adds to the listing
//   find_txt_vs_bare_listing  the same for "*.txt", a quarter of the files, each hit's size and time read
//   find_txt_cached_vs_bare_listing  "*.txt" with the cache that an earlier search left (the cache pass,
//                         the walk, and saving the cache when it changed)
//   find_txt_cached_vs_uncached  the same cached search against the one with --no-cache
//   find_txt_cached_after_changes_vs_uncached  the cached search after files were added, renamed and
//                         removed in 1% of the folders, against --no-cache
//   find_content_cached_vs_uncached  "*.txt" with a text that few of the files hold, cached against
//                         --no-cache
//   (POSIX) hostile caches, --hostile-paths N (default 5,000,000; 0 skips them): a cache of N paths each
//   in a folder of its own, loaded, searched over the tree and saved by one process:
//   hostile_peak_resident_bytes_per_path (its peak resident set, as wait4 reports it), hostile_load_s
//   (loaded and a search of an empty folder), interrupt_during_load_ms (Ctrl+C during that load, to
//   the process's end), and long_name_extra_s (a cached search of the tree with a cached name of 4 MB
//   that starts like the tree's folders, against the same without it)
//   content_vs_grep       (POSIX) a text search over files of 10 to 200 KB against grep -rliF on the same
//                         files, both folding case (grep in the C locale folds A to Z; the text is ASCII)
//   content_utf16_mb_per_s  (POSIX) a text search over UTF-16 files with a byte order mark, in megabytes
//                         of file per second; content_utf8_mb_per_s the same text saved as UTF-8
// and (POSIX) against the tools of the field, each installed one run in turn with torvane-find on the
// same tree (the bench trees; or, with --tree DIR, that tree as it is, and only these figures):
//   name_vs_find          --no-cache DIR '*.txt'  against  find DIR -iname '*.txt'
//   name_vs_fd            the same against  fdfind -j1 -u -i -g '*.txt' DIR
//   all_vs_find           --no-cache DIR '*'  against  find DIR
//   content_vs_grep_same_files  --no-cache DIR '*' TEXT  against  grep -liF TEXT over the same files, those
//                         under 300,000 bytes (find DIR -type f -size -300000c -exec grep -liF TEXT {} +)
//   content_vs_rg_same_files    the same against  rg -l -i -F -uuu --max-filesize 299999 -j1 TEXT DIR
//
//   find_bench [--root DIR] [--files N] [--folders N] [--content-root DIR] [--content-files N] [--rounds N]
//              [--tree DIR] [--text TEXT]
//
// Every figure is the best of N rounds (default 3). The trees are made on first use and reused.
#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/support/BenchTree.h"

#ifndef _WIN32
extern char** environ;
#endif

namespace {

namespace fs = std::filesystem;
using TClockType = std::chrono::steady_clock;

constexpr const char* ContentNeedle = "Zebra Quokka Needle";  // no word of the text around it

struct TOptions : TBenchTreeShape {
  long HostilePaths = 5000000;
  std::string ContentRoot;
  long ContentFiles = 20000;
  int Rounds = 3;
  std::string Tree;                  // an existing tree for the peer figures, used as it is
  std::string Text = ContentNeedle;  // what the peers' text searches look for
};

std::string Program() {
  std::string Path = TORVANE_FIND_PROGRAM;
#ifdef _WIN32
  if (!Path.empty() && Path[0] == '/') {  // the build's folders as Wine maps them
    std::replace(Path.begin(), Path.end(), '/', '\\');
    Path = "Z:" + Path;
  }
#endif
  return Path;
}

// Wall-clock and processor seconds (user and system) of one run. The machine may be shared: processor
// time shows the cost when others keep the processors busy.
struct TTimes {
  double Wall = 1e9;
  double Cpu = 1e9;
  long PeakKb = 0;  // the process's peak resident set (POSIX)
  void KeepBest(const TTimes& Other) {
    Wall = std::min(Wall, Other.Wall);
    Cpu = std::min(Cpu, Other.Cpu);
  }
};

#ifdef _WIN32
double CpuSeconds(HANDLE Process) {
  FILETIME Created, Exited, Kernel, User;
  if (!GetProcessTimes(Process, &Created, &Exited, &Kernel, &User)) return 0;
  const auto Ticks = [](const FILETIME& Time) {
    return static_cast<double>((static_cast<std::uint64_t>(Time.dwHighDateTime) << 32) | Time.dwLowDateTime);
  };
  return (Ticks(Kernel) + Ticks(User)) / 1e7;
}
double OwnCpuSeconds() { return CpuSeconds(GetCurrentProcess()); }
#else
double CpuSeconds(const struct rusage& Usage) {
  return Usage.ru_utime.tv_sec + Usage.ru_stime.tv_sec + (Usage.ru_utime.tv_usec + Usage.ru_stime.tv_usec) / 1e6;
}
double OwnCpuSeconds() {
  struct rusage Usage {};
  getrusage(RUSAGE_SELF, &Usage);
  return CpuSeconds(Usage);
}
#endif

// Runs Program with stdout to OutFile and stderr discarded.
TTimes TimedRun(const std::string& Program, const std::vector<std::string>& Arguments, const std::string& OutFile) {
  TTimes Times;
  const auto Start = TClockType::now();
#ifdef _WIN32
  std::wstring CommandLine = L"\"" + fs::u8path(Program).wstring() + L"\"";
  for (const std::string& Argument : Arguments) CommandLine += L" \"" + fs::u8path(Argument).wstring() + L"\"";
  SECURITY_ATTRIBUTES Inherit{sizeof Inherit, nullptr, TRUE};
  const HANDLE Out = CreateFileW(fs::u8path(OutFile).wstring().c_str(), GENERIC_WRITE, 0, &Inherit, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  const HANDLE Null = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &Inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW Startup{};
  Startup.cb = sizeof Startup;
  Startup.dwFlags = STARTF_USESTDHANDLES;
  Startup.hStdOutput = Out;
  Startup.hStdError = Null;
  PROCESS_INFORMATION Process{};
  if (CreateProcessW(nullptr, CommandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &Startup, &Process)) {
    WaitForSingleObject(Process.hProcess, INFINITE);
    Times.Cpu = CpuSeconds(Process.hProcess);
    CloseHandle(Process.hProcess);
    CloseHandle(Process.hThread);
  } else {
    std::fprintf(stderr, "cannot start %s\n", Program.c_str());
  }
  CloseHandle(Out);
  CloseHandle(Null);
#else
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  posix_spawn_file_actions_addopen(&Actions, 1, OutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&Actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> Argv{const_cast<char*>(Program.c_str())};
  for (const std::string& Argument : Arguments) Argv.push_back(const_cast<char*>(Argument.c_str()));
  Argv.push_back(nullptr);
  pid_t Pid = 0;
  if (posix_spawnp(&Pid, Program.c_str(), &Actions, nullptr, Argv.data(), environ) == 0) {
    int Status = 0;
    struct rusage Usage {};
    wait4(Pid, &Status, 0, &Usage);
    Times.Cpu = CpuSeconds(Usage);
    Times.PeakKb = Usage.ru_maxrss;
  } else {
    std::fprintf(stderr, "cannot start %s\n", Program.c_str());
  }
  posix_spawn_file_actions_destroy(&Actions);
#endif
  Times.Wall = std::chrono::duration<double>(TClockType::now() - Start).count();
  return Times;
}

long LinesOf(const std::string& File) {
  std::ifstream In(fs::u8path(File), std::ios::binary);
  return static_cast<long>(std::count(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>(), '\n'));
}

// The cheapest recursive listing the platform offers: names and kinds, no sizes or times asked for.
long BareListing(const std::string& Root) {
  long Entries = 0;
  std::vector<std::string> Pending{Root};
  while (!Pending.empty()) {
    const std::string Folder = std::move(Pending.back());
    Pending.pop_back();
#ifdef _WIN32
    WIN32_FIND_DATAW Data;
    const HANDLE Find = FindFirstFileExW(fs::u8path(Folder + "\\*").wstring().c_str(), FindExInfoBasic, &Data,
                                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (Find == INVALID_HANDLE_VALUE) continue;
    do {
      const std::wstring_view Name = Data.cFileName;
      if (Name == L"." || Name == L"..") continue;
      ++Entries;
      if ((Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(Data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        Pending.push_back(Folder + "\\" + fs::path(Name).u8string());
    } while (FindNextFileW(Find, &Data));
    FindClose(Find);
#else
    DIR* Dir = opendir(Folder.c_str());
    if (!Dir) continue;
    while (const dirent* Item = readdir(Dir)) {
      const std::string_view Name = Item->d_name;
      if (Name == "." || Name == "..") continue;
      ++Entries;
      if (Item->d_type == DT_DIR) Pending.push_back(Folder + "/" + Item->d_name);
    }
    closedir(Dir);
#endif
  }
  return Entries;
}

#ifndef _WIN32
// Files of 10 to 200 KB of ordinary words in 100 folders; one in 40 holds ContentNeedle somewhere,
// in a mixed spelling of its case.
void MakeContentTree(const TOptions& Options) {
  const fs::path Root = fs::u8path(Options.ContentRoot);
  const std::string Marker = "torvane content bench tree 2: files=" + std::to_string(Options.ContentFiles) + "\n";
  {
    std::ifstream In(Root / "tree-marker.cfg", std::ios::binary);
    if (std::string((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>()) == Marker) return;
  }
  std::fprintf(stderr, "making the content tree under %s ...\n", Options.ContentRoot.c_str());
  std::error_code Ignored;
  fs::remove_all(Root, Ignored);
  const char* const Words[] = {"report", "figures", "quarter", "the",  "of", "and", "needle", "unusual",
                               "phrase", "total",   "margin",  "data", "a",  "in",  "sales",  "north"};
  std::mt19937 Random(20240531);
  std::string Text;
  while (Text.size() < 200 * 1024 + 64) {
    Text += Words[Random() % 16];
    Text += (Random() % 12 == 0) ? "\r\n" : " ";
  }
  for (long I = 0; I < Options.ContentFiles; ++I) {
    const fs::path Folder = Root / ("Part " + std::to_string(I % 100));
    fs::create_directories(Folder);
    const std::size_t Size = 10 * 1024 + Random() % (190 * 1024);
    std::string Body = Text.substr(Random() % 64, Size);
    if (I % 40 == 7) Body.replace(Random() % (Size - 32), 19, "zEBRA qUOKKA nEEDLE");
    std::ofstream(Folder / ("doc_" + std::to_string(I) + ".txt"), std::ios::binary) << Body;
  }
  std::ofstream(Root / "tree-marker.cfg", std::ios::binary) << Marker;
}
#endif

#ifndef _WIN32
// The same words in files of 10 to 140 KB of text, saved twice: as UTF-16 (little endian, with its byte
// order mark, as Windows programs save "Unicode" text) and as UTF-8; one in 40 holds ContentNeedle.
// Returns the bytes of each form.
std::uint64_t MakeUtf16Tree(const std::string& Root, long Files) {
  const fs::path Folder = fs::u8path(Root);
  const std::string Marker = "torvane utf-16 bench tree 1: files=" + std::to_string(Files) + "\n";
  std::uint64_t Bytes = 0;
  {
    std::ifstream In(Folder / "tree-marker.cfg", std::ios::binary);
    std::string Line;
    std::getline(In, Line);
    if (Line + "\n" == Marker && In >> Bytes) return Bytes;
  }
  std::error_code Ignored;
  fs::remove_all(Folder, Ignored);
  fs::create_directories(Folder / "utf16");
  fs::create_directories(Folder / "utf8");
  const char* const Words[] = {"report", "figures", "quarter", "the",  "of", "and", "needle", "unusual",
                               "phrase", "total",   "margin",  "data", "a",  "in",  "sales",  "north"};
  std::mt19937 Random(20240531);
  std::string Text;
  while (Text.size() < 140 * 1024 + 64) {
    Text += Words[Random() % 16];
    Text += (Random() % 12 == 0) ? "\r\n" : " ";
  }
  for (long I = 0; I < Files; ++I) {
    const std::size_t Size = 10 * 1024 + Random() % (130 * 1024);
    std::string Body = Text.substr(Random() % 64, Size);
    if (I % 40 == 7) Body.replace(Random() % (Size - 32), 19, "zEBRA qUOKKA nEEDLE");
    std::string Wide = "\xFF\xFE";
    for (const char C : Body) Wide += std::string{C, '\0'};
    const std::string Name = "doc_" + std::to_string(I) + ".txt";
    std::ofstream(Folder / "utf16" / Name, std::ios::binary) << Wide;
    std::ofstream(Folder / "utf8" / Name, std::ios::binary) << Body;
    Bytes += Wide.size();
  }
  std::ofstream(Folder / "tree-marker.cfg", std::ios::binary) << Marker << Bytes << "\n";
  return Bytes;
}
#endif

#ifndef _WIN32
// The tools of the field: each installed one against torvane-find on the same tree, in turn.

// Name as found on the PATH; empty when it is not installed.
std::string Installed(const std::string& Name) {
  const char* Path = std::getenv("PATH");
  std::string Folders = Path ? Path : "/usr/bin:/bin";
  for (std::size_t Start = 0; Start <= Folders.size();) {
    const std::size_t End = std::min(Folders.find(':', Start), Folders.size());
    const std::string Candidate = Folders.substr(Start, End - Start) + "/" + Name;
    if (End > Start && access(Candidate.c_str(), X_OK) == 0) return Candidate;
    Start = End + 1;
  }
  return std::string();
}

struct TPeerPair {
  TTimes Ours, Peer;
  long OursFound = 0, PeerFound = 0;
};

// Our command and the peer's taking turns, each the best of the rounds, after one untimed run of each.
TPeerPair RunPair(const std::vector<std::string>& Ours, const std::string& Peer,
                  const std::vector<std::string>& PeerArguments, int Rounds, const std::string& Out) {
  TPeerPair Pair;
  TimedRun(Program(), Ours, Out);
  TimedRun(Peer, PeerArguments, Out);
  for (int Round = 0; Round < Rounds; ++Round) {
    Pair.Ours.KeepBest(TimedRun(Program(), Ours, Out));
    Pair.OursFound = LinesOf(Out);
    Pair.Peer.KeepBest(TimedRun(Peer, PeerArguments, Out));
    Pair.PeerFound = LinesOf(Out);
  }
  return Pair;
}

void ReportPair(const std::string& Key, const TPeerPair& Pair) {
  std::printf("%s: %.2f\n%s_cpu: %.2f\n", Key.c_str(), Pair.Ours.Wall / Pair.Peer.Wall, Key.c_str(),
              Pair.Ours.Cpu / Pair.Peer.Cpu);
  std::printf("%s_ours_s: %.3f\n%s_peer_s: %.3f\n", Key.c_str(), Pair.Ours.Wall, Key.c_str(), Pair.Peer.Wall);
  std::printf("%s_found_ours: %ld\n%s_found_peer: %ld\n", Key.c_str(), Pair.OursFound, Key.c_str(), Pair.PeerFound);
}

void ComparePeers(const TOptions& Options, const std::string& Out) {
  setenv("LC_ALL", "C", 1);  // grep and find fold A to Z only, as we do
  const std::string NameTree = Options.Tree.empty() ? Options.Root : Options.Tree;
  const std::string TextTree = Options.Tree.empty() ? Options.ContentRoot : Options.Tree;
  std::printf("peer_tree: %s\npeer_text_tree: %s\n", NameTree.c_str(), TextTree.c_str());
  const std::string Find = Installed("find");
  if (!Find.empty()) {
    ReportPair("name_vs_find",
               RunPair({"--no-cache", NameTree, "*.txt"}, Find, {NameTree, "-iname", "*.txt"}, Options.Rounds, Out));
    ReportPair("all_vs_find", RunPair({"--no-cache", NameTree, "*"}, Find, {NameTree}, Options.Rounds, Out));
  }
  std::string Fd = Installed("fdfind");
  if (Fd.empty()) Fd = Installed("fd");
  if (!Fd.empty())
    ReportPair("name_vs_fd", RunPair({"--no-cache", NameTree, "*.txt"}, Fd,
                                     {"-j1", "-u", "-i", "-g", "*.txt", NameTree}, Options.Rounds, Out));
  const std::vector<std::string> Ours = {"--no-cache", TextTree, "*", Options.Text};
  if (!Find.empty() && !Installed("grep").empty())
    ReportPair("content_vs_grep_same_files",
               RunPair(Ours, Find,
                       {TextTree, "-type", "f", "-size", "-300000c", "-exec", "grep", "-liF", Options.Text, "{}", "+"},
                       Options.Rounds, Out));
  const std::string Rg = Installed("rg");
  if (!Rg.empty())
    ReportPair("content_vs_rg_same_files",
               RunPair(Ours, Rg, {"-l", "-i", "-F", "-uuu", "--max-filesize", "299999", "-j1", Options.Text, TextTree},
                       Options.Rounds, Out));
}
#endif

// Every hundredth folder of the tree: the folders a round of changes touches.
std::vector<fs::path> TouchedFolders(const std::string& Root) {
  std::vector<fs::path> Folders;
  long Seen = 0;
  for (const auto& Item : fs::recursive_directory_iterator(fs::u8path(Root)))
    if (Item.is_directory() && Seen++ % 100 == 0) Folders.push_back(Item.path());
  return Folders;
}

// Round's changes in each folder: a file added, the one the last round added renamed, the one it
// renamed removed. Round -1 takes away whatever the rounds left.
void ChangeFolders(const std::vector<fs::path>& Folders, int Round) {
  std::error_code Ignored;
  for (const fs::path& Folder : Folders) {
    const auto Name = [&](const char* Stem, int Of) { return Folder / (Stem + std::to_string(Of) + ".txt"); };
    fs::remove(Name("renamed_", Round - 1), Ignored);
    if (Round < 0) {
      for (const auto& Item : fs::directory_iterator(Folder, Ignored)) {
        const std::string File = Item.path().filename().u8string();
        if (File.rfind("added_", 0) == 0 || File.rfind("renamed_", 0) == 0) fs::remove(Item.path(), Ignored);
      }
      continue;
    }
    fs::rename(Name("added_", Round - 1), Name("renamed_", Round), Ignored);
    std::ofstream(Name("added_", Round), std::ios::binary) << "x";
  }
}

#ifndef _WIN32
// A cache of Count paths, each in a folder of its own, as a save writes it (sorted, CR LF).
void WriteHostileCache(const std::string& File, long Count) {
  std::ofstream Out(fs::u8path(File), std::ios::binary);
  const std::string Disk = BenchTempPath("torvane-hostile");
  char Line[512];
  for (long I = 0; I < Count; ++I) {
    const int Length = std::snprintf(Line, sizeof Line, "%s/Archive/Box %04ld/Folder %07ld/Document_%07ld.txt\r\n",
                                     Disk.c_str(), I / 1000, I, I);
    Out.write(Line, Length);
  }
}

// Seconds from a Ctrl+C (SIGINT), sent After seconds into a run of the program, to the run's end.
double InterruptAfter(const std::vector<std::string>& Arguments, double After) {
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  posix_spawn_file_actions_addopen(&Actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&Actions, 2, "/dev/null", O_WRONLY, 0);
  const std::string Path = Program();
  std::vector<char*> Argv{const_cast<char*>(Path.c_str())};
  for (const std::string& Argument : Arguments) Argv.push_back(const_cast<char*>(Argument.c_str()));
  Argv.push_back(nullptr);
  pid_t Pid = 0;
  double Seconds = -1;
  if (posix_spawnp(&Pid, Path.c_str(), &Actions, nullptr, Argv.data(), environ) == 0) {
    usleep(static_cast<useconds_t>(After * 1e6));
    const auto Start = TClockType::now();
    kill(Pid, SIGINT);
    int Status = 0;
    waitpid(Pid, &Status, 0);
    Seconds = std::chrono::duration<double>(TClockType::now() - Start).count();
  }
  posix_spawn_file_actions_destroy(&Actions);
  return Seconds;
}

// The caches that once cost far more than their size: paths each in a folder of their own, and a very
// long name beside folders whose names start as it does.
void HostileFigures(const TOptions& Options, const std::string& Work, const std::string& TreeCache,
                    const std::string& Out) {
  if (Options.HostilePaths <= 0) return;
  const fs::path Folder = fs::u8path(Work);
  const std::string File = (Folder / "hostile.cache").u8string();
  const std::string Empty = (Folder / "empty").u8string();
  std::error_code Ignored;
  fs::create_directories(fs::u8path(Empty), Ignored);
  fs::remove(Folder / "hostile.index", Ignored);
  WriteHostileCache(File, Options.HostilePaths);
  // One process loads it (no index yet), walks the tree, records the tree's paths and saves both files.
  const TTimes Whole = TimedRun(Program(), {"--cache", File, Options.Root, "*.txt"}, Out);
  TTimes Load;
  for (int Round = 0; Round < Options.Rounds; ++Round)
    Load.KeepBest(TimedRun(Program(), {"--cache", File, Empty, "x"}, Out));
  const double Interrupt = InterruptAfter({"--cache", File, Empty, "x"}, Load.Wall / 3);
  std::printf("hostile_paths: %ld\nhostile_whole_run_s: %.2f\nhostile_peak_resident_bytes_per_path: %.0f\n",
              Options.HostilePaths, Whole.Wall, Whole.PeakKb * 1024.0 / static_cast<double>(Options.HostilePaths));
  std::printf("hostile_load_s: %.2f\ninterrupt_during_load_ms: %.0f\n", Load.Wall, Interrupt * 1000);
  fs::remove(fs::u8path(File), Ignored);
  fs::remove(Folder / "hostile.index", Ignored);

  // The tree's cache, and the same with a name of 4 MB in the tree's first folder that starts as the
  // names of the folders beside it do; each settled once (sorted, indexed) before the timings.
  const std::string Plain = (Folder / "plain.cache").u8string(), Long = (Folder / "long.cache").u8string();
  fs::copy_file(fs::u8path(TreeCache), fs::u8path(Plain), fs::copy_options::overwrite_existing, Ignored);
  fs::copy_file(fs::u8path(TreeCache), fs::u8path(Long), fs::copy_options::overwrite_existing, Ignored);
  std::ofstream(fs::u8path(Long), std::ios::binary | std::ios::app)
      << Options.Root << "/Folder_0/Sub 1" << std::string(std::size_t(4) << 20, 'x') << "\r\n";
  TTimes PlainTimes, LongTimes;
  for (int Round = -1; Round < Options.Rounds; ++Round) {
    const TTimes P = TimedRun(Program(), {"--cache", Plain, Options.Root, "*"}, Out);
    const TTimes L = TimedRun(Program(), {"--cache", Long, Options.Root, "*"}, Out);
    if (Round < 0) continue;
    PlainTimes.KeepBest(P);
    LongTimes.KeepBest(L);
  }
  std::printf("long_name_s: %.3f\nlong_name_extra_s: %.3f\n", LongTimes.Wall, LongTimes.Wall - PlainTimes.Wall);
  for (const char* Name : {"plain.cache", "plain.index", "long.cache", "long.index"})
    fs::remove(Folder / Name, Ignored);
}
#endif

bool ParseOptions(int Count, char** Arguments, TOptions& Options) {
  for (int I = 1; I + 1 < Count; I += 2) {
    const std::string Key = Arguments[I], Value = Arguments[I + 1];
    if (Key == "--root") {
      Options.Root = Value;
    } else if (Key == "--files") {
      Options.Files = std::atol(Value.c_str());
    } else if (Key == "--folders") {
      Options.Folders = std::atol(Value.c_str());
    } else if (Key == "--content-root") {
      Options.ContentRoot = Value;
    } else if (Key == "--content-files") {
      Options.ContentFiles = std::atol(Value.c_str());
    } else if (Key == "--rounds") {
      Options.Rounds = std::atoi(Value.c_str());
    } else if (Key == "--tree") {
      Options.Tree = Value;
    } else if (Key == "--text") {
      Options.Text = Value;
    } else if (Key == "--hostile-paths") {
      Options.HostilePaths = std::atol(Value.c_str());
    } else {
      return false;
    }
  }
  return Count % 2 == 1 && Options.Files > 0 && Options.Folders > 0 && Options.ContentFiles > 0 && Options.Rounds > 0;
}

}  // namespace

int main(int Count, char** Arguments) {
  TOptions Options;
  Options.Root = BenchTempPath("torvane-bench-tree");
  Options.ContentRoot = BenchTempPath("torvane-content-tree");
  if (!ParseOptions(Count, Arguments, Options)) {
    std::fprintf(stderr,
                 "usage: find_bench [--root DIR] [--files N] [--folders N] [--content-root DIR] [--content-files N] "
                 "[--rounds N] [--tree DIR] [--text TEXT] [--hostile-paths N]\n");
    return 2;
  }
  const std::string Work = BenchTempPath("torvane-find-bench");
  fs::create_directories(fs::u8path(Work));
  const std::string Out = (fs::u8path(Work) / "out.txt").u8string();
#ifndef _WIN32
  if (!Options.Tree.empty()) {
    ComparePeers(Options, Out);
    return 0;
  }
#endif
  MakeBenchTree(Options);
  const std::string Cache = (fs::u8path(Work) / "bench.cache").u8string();
  fs::remove(fs::u8path(Cache));

  BareListing(Options.Root);  // warm the system's caches once, untimed
  // A name that few entries have, and "*.txt", which a quarter of the files have: every hit costs a
  // look at its size and time (the row shows them, the total adds them up).
  const std::vector<std::string> RareName = {"--no-cache", Options.Root, "*_1234*"};
  const std::vector<std::string> TextFiles = {"--no-cache", Options.Root, "*.txt"};
  const std::vector<std::string> TextFilesCached = {"--cache", Cache, Options.Root, "*.txt"};
  TimedRun(Program(), TextFilesCached, Out);  // the cache that the cached form reads
  TTimes Bare, Rare, Text, Cached;
  long Entries = 0, FoundRare = 0, FoundText = 0, FoundCached = 0;
  for (int Round = 0; Round < Options.Rounds; ++Round) {
    TTimes Listing;
    const double CpuBefore = OwnCpuSeconds();
    const auto Start = TClockType::now();
    Entries = BareListing(Options.Root);
    Listing.Wall = std::chrono::duration<double>(TClockType::now() - Start).count();
    Listing.Cpu = OwnCpuSeconds() - CpuBefore;
    Bare.KeepBest(Listing);
    Rare.KeepBest(TimedRun(Program(), RareName, Out));
    FoundRare = LinesOf(Out);
    Text.KeepBest(TimedRun(Program(), TextFiles, Out));
    FoundText = LinesOf(Out);
    Cached.KeepBest(TimedRun(Program(), TextFilesCached, Out));
    FoundCached = LinesOf(Out);
  }
  std::printf("tree_entries: %ld\n", Entries);
  std::printf("found_rare_name: %ld\nfound_txt: %ld\nfound_txt_cached: %ld\n", FoundRare, FoundText, FoundCached);
  const auto Report = [&](const char* Key, const TTimes& Times) {
    std::printf("%s_s: %.3f\n%s_cpu_s: %.3f\n", Key, Times.Wall, Key, Times.Cpu);
  };
  Report("bare_listing", Bare);
  Report("find_rare_name", Rare);
  Report("find_txt", Text);
  Report("find_txt_cached", Cached);
  const auto Ratio = [&](const char* Key, const TTimes& Times) {
    std::printf("%s: %.2f\n%s_cpu: %.2f\n", Key, Times.Wall / Bare.Wall, Key, Times.Cpu / Bare.Cpu);
  };
  Ratio("find_vs_bare_listing", Rare);
  Ratio("find_txt_vs_bare_listing", Text);
  Ratio("find_txt_cached_vs_bare_listing", Cached);
  std::printf("find_txt_cached_vs_uncached: %.2f\nfind_txt_cached_vs_uncached_cpu: %.2f\n", Cached.Wall / Text.Wall,
              Cached.Cpu / Text.Cpu);

  // The index after changes: each round touches 1% of the folders just before the cached search.
  const std::vector<fs::path> Touched = TouchedFolders(Options.Root);
  TTimes AfterChanges;
  for (int Round = 0; Round < Options.Rounds; ++Round) {
    ChangeFolders(Touched, Round);
    AfterChanges.KeepBest(TimedRun(Program(), TextFilesCached, Out));
  }
  ChangeFolders(Touched, -1);
  TimedRun(Program(), TextFilesCached, Out);  // the cache and index as the tree is again
  Report("find_txt_cached_after_changes", AfterChanges);
  std::printf(
      "touched_folders: %zu\nfind_txt_cached_after_changes_vs_uncached: %.2f\n"
      "find_txt_cached_after_changes_vs_uncached_cpu: %.2f\n",
      Touched.size(), AfterChanges.Wall / Text.Wall, AfterChanges.Cpu / Text.Cpu);

  // A text that few files hold, cached and not: the cache pass reads each candidate once, the walk none.
  const std::vector<std::string> Needle = {"--no-cache", Options.Root, "*.txt", BenchNeedle};
  const std::vector<std::string> NeedleCached = {"--cache", Cache, Options.Root, "*.txt", BenchNeedle};
  TimedRun(Program(), NeedleCached, Out);
  TTimes NeedleTimes, NeedleCachedTimes;
  long NeedleFound = 0, NeedleCachedFound = 0;
  for (int Round = 0; Round < Options.Rounds; ++Round) {
    NeedleTimes.KeepBest(TimedRun(Program(), Needle, Out));
    NeedleFound = LinesOf(Out);
    NeedleCachedTimes.KeepBest(TimedRun(Program(), NeedleCached, Out));
    NeedleCachedFound = LinesOf(Out);
  }
  std::printf("found_content: %ld\nfound_content_cached: %ld\n", NeedleFound, NeedleCachedFound);
  Report("find_content", NeedleTimes);
  Report("find_content_cached", NeedleCachedTimes);
  std::printf("find_content_cached_vs_uncached: %.2f\nfind_content_cached_vs_uncached_cpu: %.2f\n",
              NeedleCachedTimes.Wall / NeedleTimes.Wall, NeedleCachedTimes.Cpu / NeedleTimes.Cpu);

#ifndef _WIN32
  MakeContentTree(Options);
  setenv("LC_ALL", "C", 1);
  const std::vector<std::string> GrepArguments = {"-rliF", ContentNeedle, Options.ContentRoot};
  TimedRun("grep", GrepArguments, Out);  // warm the system's caches once, untimed
  TTimes Content, Grep;
  long ContentFound = 0, GrepFound = 0;
  for (int Round = 0; Round < Options.Rounds; ++Round) {
    Content.KeepBest(TimedRun(Program(), {"--no-cache", Options.ContentRoot, "*", ContentNeedle}, Out));
    ContentFound = LinesOf(Out);
    Grep.KeepBest(TimedRun("grep", GrepArguments, Out));
    GrepFound = LinesOf(Out);
  }
  std::printf("content_files: %ld\ncontent_found: %ld\ngrep_found: %ld\n", Options.ContentFiles, ContentFound,
              GrepFound);
  std::printf("content_search_s: %.3f\ngrep_s: %.3f\n", Content.Wall, Grep.Wall);
  std::printf("content_vs_grep: %.2f\ncontent_vs_grep_cpu: %.2f\n", Content.Wall / Grep.Wall, Content.Cpu / Grep.Cpu);

  // UTF-16 files are read as text: megabytes of file searched per second, and of the same text in UTF-8.
  const std::string WideRoot = BenchTempPath("torvane-utf16-tree");
  const long WideFiles = std::max(1L, Options.ContentFiles / 10);
  const double WideBytes = static_cast<double>(MakeUtf16Tree(WideRoot, WideFiles));
  TTimes Wide, Narrow;
  long WideFound = 0, NarrowFound = 0;
  const std::vector<std::string> WideSearch = {"--no-cache", WideRoot + "/utf16", "*", ContentNeedle};
  const std::vector<std::string> NarrowSearch = {"--no-cache", WideRoot + "/utf8", "*", ContentNeedle};
  TimedRun(Program(), WideSearch, Out);  // warm the system's caches once, untimed
  TimedRun(Program(), NarrowSearch, Out);
  for (int Round = 0; Round < Options.Rounds; ++Round) {
    Wide.KeepBest(TimedRun(Program(), WideSearch, Out));
    WideFound = LinesOf(Out);
    Narrow.KeepBest(TimedRun(Program(), NarrowSearch, Out));
    NarrowFound = LinesOf(Out);
  }
  std::printf("content_utf16_found: %ld of %ld\ncontent_utf16_mb_per_s: %.0f\ncontent_utf8_mb_per_s: %.0f\n", WideFound,
              (WideFiles + 32) / 40, WideBytes / 1e6 / Wide.Wall, WideBytes / 2e6 / Narrow.Wall);
  (void)NarrowFound;

  HostileFigures(Options, Work, Cache, Out);
  ComparePeers(Options, Out);
#endif
  return 0;
}
