#include "search/SearchRun.h"

#include "search/CachePass.h"
#include "search/FolderWalk.h"
#include "search/SearchRoot.h"
#include "search/SharedListings.h"

TSearchRun::TSearchRun(const TSearchCriteria& Criteria, TSearchCache& Cache, TFileSystem& Files, TClock& Clock)
    : FCache(Cache), FFileSystem(Files), FClock(Clock), FTypedRoot(Criteria.Folder), FTests(Criteria) {}

TSearchOutcome TSearchRun::Execute(TResultSink& Results, TSearchProgress& Progress) {
  const TSearchRoot Root = ResolveSearchRoot(FTypedRoot, FFileSystem);
  // The folders the cache pass lists whole are handed to the walk, which then need not list them again.
  TSharedListings Shared(FFileSystem);
  TCachePass CachePass(FCache, FFileSystem, FTests, Root, FClock);
  CachePass.Run(Results, Progress, Shared);

  TSearchReport Walking;
  Walking.Stage = ssWalkBegins;
  Progress.Report(Walking);
  TFolderWalk Walk(FCache, FFileSystem, FTests, Root, FClock, CachePass.Verdicts());
  Walk.Run(Results, Progress, Shared);

  TSearchOutcome Outcome;
  Outcome.EntriesSeen = Walk.EntriesSeen();
  Outcome.FoldersSeen = Walk.FoldersSeen();
  Outcome.TotalBytes = CachePass.TotalBytes() + Walk.TotalBytes();
  // Without details the total is known only when every row is a file that the content test opened.
  Outcome.TotalKnown = FTests.ReadsDetails() || FTests.HasContentText();
  Outcome.LargeFilesSkipped = FTests.LargeFilesSkipped();
  return Outcome;
}
