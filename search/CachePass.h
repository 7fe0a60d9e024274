#pragma once
// Pass 1 of a search: the cached paths under the root that pass the name test, looked up on disk,
// tested and listed at once, before the walk reaches them.
//
// It reads the cache's list and never changes it; what it found out goes to the walk through its
// verdicts and the folder listings it shares. Nothing here throws but the result sink and the progress.
#include <cstdint>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/FileSystem.h"
#include "search/CacheVerdicts.h"
#include "search/CandidateLookup.h"
#include "search/EntryTests.h"
#include "search/ResultSink.h"
#include "search/SFCList.h"
#include "search/SearchCache.h"
#include "search/SearchProgress.h"
#include "search/SearchRoot.h"
#include "search/SharedListings.h"

class TCachePass {
 public:
  // Cache is only read: its paths, and its index of folders whose entries are known.
  TCachePass(const TSearchCache& Cache, TFileSystem& Files, TEntryTests& Tests, const TSearchRoot& Root, TClock& Clock)
      : FCache(Cache), FList(Cache.List()), FFiles(Files), FTests(Tests), FRoot(Root), FClock(Clock) {}
  TCachePass(const TCachePass&) = delete;
  TCachePass& operator=(const TCachePass&) = delete;

  // Lists the cached hits under the root into Results; the folders it lists whole go to Shared. Stops
  // at the next candidate once Progress asks it to.
  void Run(TResultSink& Results, TSearchProgress& Progress, TSharedListings& Shared);

  const TCacheVerdicts& Verdicts() const { return FVerdicts; }
  std::uint64_t TotalBytes() const { return FTotalBytes; }

 private:
  // The cached paths under the root that pass the name test, in storage order; false when cancelled.
  bool CollectCandidates(std::vector<std::uint32_t>& Candidates, TCandidateLookup& Lookup);
  // Tests and lists a candidate that the disk still has, found as Entry (through Folder, when not null).
  void ListCachedEntry(std::uint32_t Line, const std::string& Path, std::size_t NameStart, TFileEntry& Entry,
                       TFolderListing* Folder);
  // Offers the rows listed so far for showing: the first at once, then at most every RefreshInterval.
  void ShowRowsSoFar();
  // Says how far the pass has come, the first time at once, then at most every RefreshInterval; Path
  // is the candidate at hand, its name from NameStart.
  void ShowCounts(std::size_t Checked, std::size_t Candidates, const std::string& Path, std::size_t NameStart);
  void Report(TSearchStage Stage, int Position = 0);

  const TSearchCache& FCache;
  const TSFCList& FList;
  TFileSystem& FFiles;
  TEntryTests& FTests;
  const TSearchRoot& FRoot;
  TClock& FClock;
  TResultSink* FResults = nullptr;  // set for the length of Run
  TSearchProgress* FProgress = nullptr;
  TCacheVerdicts FVerdicts;
  std::uint64_t FTotalBytes = 0;
  // When rows and counts were last offered for showing.
  struct TShown {
    std::uint32_t RowsAt = 0, CountsAt = 0;
    bool Rows = false, Counts = false;
  } FShown;
  // The folder of the last candidate: as its rows show it, its path below the root, and whether its
  // path is plain ASCII.
  struct TFolderShown {
    std::string Shown, BelowRoot;
    bool Known = false, Ascii = true;
  } FFolder;
};
