#pragma once
// One search: the criteria turned into the entry tests, the cache pass (the cached hits, listed at once),
// then the folder walk (everything else, recorded in the cache), and what the run came to.
#include <cstdint>
#include <string>

#include "core/Clock.h"
#include "core/FileSystem.h"
#include "search/EntryTests.h"
#include "search/ResultSink.h"
#include "search/SearchCache.h"
#include "search/SearchCriteria.h"
#include "search/SearchProgress.h"

class TSearchRun {
 public:
  // Takes the criteria (the folder is the caller's to check); a malformed name mask raises its
  // EMaskError here, before anything is searched.
  TSearchRun(const TSearchCriteria& Criteria, TSearchCache& Cache, TFileSystem& Files, TClock& Clock);
  TSearchRun(const TSearchRun&) = delete;
  TSearchRun& operator=(const TSearchRun&) = delete;

  // Pass 1 over the cached paths under the folder, then pass 2, the walk of the folder; every result
  // goes to Results as it is found (the caller clears it and brackets the run's additions).
  TSearchOutcome Execute(TResultSink& Results, TSearchProgress& Progress);

 private:
  TSearchCache& FCache;
  TFileSystem& FFileSystem;
  TClock& FClock;
  const std::string FTypedRoot;  // the folder as typed
  TEntryTests FTests;
};
