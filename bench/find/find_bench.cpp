// Times torvane-find as a user runs it (a process of its own, results to a file) against what it
// cannot beat:
//   find_vs_bare_listing  a name-only search ("*.txt", no cache) of the search bench's tree against a
//                         bare recursive listing of the same tree (names and kinds only, in this process)
//   find_cached_vs_bare_listing  the same search with the cache that an earlier one left (pass 1, the
//                         walk, and saving the cache)
//   content_vs_grep       (POSIX) a text search over files of 10 to 200 KB against grep -rliF on the same
//                         files, both folding case (grep in the C locale folds A to Z, as we do)
//
//   find_bench [--root DIR] [--files N] [--folders N] [--content-root DIR] [--content-files N] [--rounds N]
//
// Every figure is the best of N rounds (default 3). The trees are made on first use and reused.
#ifdef _WIN32
#include <windows.h>

#include "platform/win32/WideText.h"
#else
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
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

constexpr const char* ContentNeedle = "Unusual Needle Phrase";

struct TOptions : TBenchTreeShape {
  std::string ContentRoot;
  long ContentFiles = 20000;
  int Rounds = 3;
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

// Runs Program with stdout to OutFile and stderr discarded; answers the seconds it took.
double TimedRun(const std::string& Program, const std::vector<std::string>& Arguments, const std::string& OutFile) {
  const auto Start = TClockType::now();
#ifdef _WIN32
  std::wstring CommandLine = L"\"" + Widen(Program) + L"\"";
  for (const std::string& Argument : Arguments) CommandLine += L" \"" + Widen(Argument) + L"\"";
  SECURITY_ATTRIBUTES Inherit{sizeof Inherit, nullptr, TRUE};
  const HANDLE Out =
      CreateFileW(Widen(OutFile).c_str(), GENERIC_WRITE, 0, &Inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  const HANDLE Null = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &Inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW Startup{};
  Startup.cb = sizeof Startup;
  Startup.dwFlags = STARTF_USESTDHANDLES;
  Startup.hStdOutput = Out;
  Startup.hStdError = Null;
  PROCESS_INFORMATION Process{};
  if (CreateProcessW(nullptr, CommandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &Startup, &Process)) {
    WaitForSingleObject(Process.hProcess, INFINITE);
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
    waitpid(Pid, &Status, 0);
  } else {
    std::fprintf(stderr, "cannot start %s\n", Program.c_str());
  }
  posix_spawn_file_actions_destroy(&Actions);
#endif
  return std::chrono::duration<double>(TClockType::now() - Start).count();
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
    const HANDLE Find = FindFirstFileExW(LongPathW(Folder + "\\*").c_str(), FindExInfoBasic, &Data,
                                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (Find == INVALID_HANDLE_VALUE) continue;
    do {
      const std::wstring_view Name = Data.cFileName;
      if (Name == L"." || Name == L"..") continue;
      ++Entries;
      if ((Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(Data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        Pending.push_back(Folder + "\\" + Narrow(Name));
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
  const std::string Marker = "torvane content bench tree 1: files=" + std::to_string(Options.ContentFiles) + "\n";
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
    if (I % 40 == 7) Body.replace(Random() % (Size - 32), 21, "uNUSUAL nEEDLE pHRASE");
    std::ofstream(Folder / ("doc_" + std::to_string(I) + ".txt"), std::ios::binary) << Body;
  }
  std::ofstream(Root / "tree-marker.cfg", std::ios::binary) << Marker;
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
                 "[--rounds N]\n");
    return 2;
  }
  MakeBenchTree(Options);
  const std::string Work = BenchTempPath("torvane-find-bench");
  fs::create_directories(fs::u8path(Work));
  const std::string Out = (fs::u8path(Work) / "out.txt").u8string();
  const std::string Cache = (fs::u8path(Work) / "bench.cache").u8string();
  fs::remove(fs::u8path(Cache));

  BareListing(Options.Root);  // warm the system's caches once, untimed
  double Bare = 1e9, Find = 1e9, Cached = 1e9;
  long Entries = 0, Found = 0, FoundCached = 0;
  TimedRun(Program(), {"--cache", Cache, Options.Root, "*.txt"}, Out);  // the cache the second form reads
  for (int Round = 0; Round < Options.Rounds; ++Round) {
    const auto Start = TClockType::now();
    Entries = BareListing(Options.Root);
    Bare = std::min(Bare, std::chrono::duration<double>(TClockType::now() - Start).count());
    Find = std::min(Find, TimedRun(Program(), {"--no-cache", Options.Root, "*.txt"}, Out));
    Found = LinesOf(Out);
    Cached = std::min(Cached, TimedRun(Program(), {"--cache", Cache, Options.Root, "*.txt"}, Out));
    FoundCached = LinesOf(Out);
  }
  std::printf("tree_entries: %ld\n", Entries);
  std::printf("found: %ld\nfound_cached: %ld\n", Found, FoundCached);
  std::printf("bare_listing_s: %.3f\n", Bare);
  std::printf("find_name_search_s: %.3f\n", Find);
  std::printf("find_cached_name_search_s: %.3f\n", Cached);
  std::printf("find_vs_bare_listing: %.2f\n", Find / Bare);
  std::printf("find_cached_vs_bare_listing: %.2f\n", Cached / Bare);

#ifndef _WIN32
  MakeContentTree(Options);
  setenv("LC_ALL", "C", 1);
  const std::vector<std::string> GrepArguments = {"-rliF", ContentNeedle, Options.ContentRoot};
  TimedRun("grep", GrepArguments, Out);  // warm the system's caches once, untimed
  double Content = 1e9, Grep = 1e9;
  long ContentFound = 0, GrepFound = 0;
  for (int Round = 0; Round < Options.Rounds; ++Round) {
    Content = std::min(Content, TimedRun(Program(), {"--no-cache", Options.ContentRoot, "*", ContentNeedle}, Out));
    ContentFound = LinesOf(Out);
    Grep = std::min(Grep, TimedRun("grep", GrepArguments, Out));
    GrepFound = LinesOf(Out);
  }
  std::printf("content_files: %ld\ncontent_found: %ld\ngrep_found: %ld\n", Options.ContentFiles, ContentFound,
              GrepFound);
  std::printf("content_search_s: %.3f\ngrep_s: %.3f\n", Content, Grep);
  std::printf("content_vs_grep: %.2f\n", Content / Grep);
#endif
  return 0;
}
