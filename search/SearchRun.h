#pragma once
// One search: the criteria normalised, the cache pass, the folder walk, the entry tests, the results.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/Clock.h"
#include "core/FileSystem.h"
#include "masks/Masks.h"
#include "search/CandidateLookup.h"
#include "search/ContentSearch.h"
#include "search/ResultSink.h"
#include "search/SearchCache.h"
#include "search/SearchCriteria.h"
#include "search/SearchProgress.h"
#include "search/SharedListings.h"

// Files of this size or more are not read for the content test.
inline constexpr std::uint64_t ContentSizeLimit = 300000;
// The walk reports its progress at most this often (milliseconds), and the cache pass its rows.
inline constexpr std::uint32_t RefreshInterval = 750;

class TSearchRun {
 public:
  // Takes the criteria (the folder is the caller's to check); a malformed name mask raises its
  // EMaskError here, before anything is searched.
  TSearchRun(const TSearchCriteria& Criteria, TSearchCache& Cache, TFileSystem& Files, TClock& Clock);
  ~TSearchRun();
  TSearchRun(const TSearchRun&) = delete;
  TSearchRun& operator=(const TSearchRun&) = delete;

  // Pass 1 over the cached paths under the folder, then pass 2, the walk of the folder; every result
  // goes to Results as it is found (the caller clears it and brackets the run's additions).
  TSearchOutcome Execute(TResultSink& Results, TSearchProgress& Progress);

 private:
  // Pass 1: the cached paths under Root that pass the name test, looked up on disk and listed.
  void SearchCache(const std::string& Root);
  // Pass 2: Folder's entries, then the folders below it, one listing open at a time.
  void WalkFolder(const std::string& Folder);
  // Called after every entry of the walk; reports at most every RefreshInterval ms.
  void RefreshProgress(const std::string& Folder);
  bool Cancelled() { return FProgress->Cancelled(); }
  void Report(TSearchStage Stage, int Position = 0);
  // Sets FContentText (upper-cased A to Z; the search folds every letter) and the forms of it that
  // files are searched for.
  void SetContentText(const std::string& Text);
  // The mask from the "Named:" text as the search takes it.
  void SetMask(const std::string& NameText);
  // The entry tests: the cheap ones (the name first, as it needs no size or time), and the content
  // test that may read the file.
  bool PassesName(std::string_view Name);
  bool PassesSizeTime(std::uint64_t Size, TDateTime Time) const;
  // Entry's size is the listed size: a link's own, not its target's, so a link is always opened. The
  // file is opened through Listing when there is one (no lookup of the folder's path again), else by
  // Path. An entry listed without its size takes the size of the file opened.
  bool PassesContent(const std::string& Path, TFileEntry& Entry, TFolderListing* Listing);
  // The content test on a file opened (or null when it could not be).
  bool OpenedFileContainsText(TFileReader* File);
  // Lists the entry when it passes the tests and, in cache mode, records it; Path is where the file
  // really is. True when a row was added.
  bool ProcessEntryAt(const std::string& Folder, const std::string& Path, TFileEntry& Entry, bool CacheMode,
                      TFolderListing* Listing = nullptr);
  // The same with the name test already answered.
  bool ProcessNamedEntry(const std::string& Folder, const std::string& Path, TFileEntry& Entry, bool CacheMode,
                         TFolderListing* Listing, bool NamePasses);
  // Whether the cache pass listed the entry at Path, which the walk met and recorded as Hit (compared
  // as the file system compares paths); a line that spelled it otherwise takes the walk's spelling.
  bool ListedByCachePass(const std::string& Path, const TCacheHit& Hit);
  // Whether the walk's entry (recorded as Hit) is a file the cache pass found without the text, still
  // of the size and stamp it had then.
  bool FailedContentTest(const TCacheHit& Hit, TFileEntry& Entry, TFolderListing* Listing);
  // The cache pass's parts: the cached paths under Root that pass the name test (false when cancelled),
  // and the listing of one of them that the disk still has.
  bool CollectCandidates(const std::string& Root, std::vector<std::uint32_t>& Candidates, TCandidateLookup& Lookup);
  void ListCachedEntry(const std::string& Root, std::uint32_t Line, const std::string& Path, std::size_t NameStart,
                       TFileEntry& Entry);
  // Offers the rows listed so far for showing: the first at once, then at most every RefreshInterval.
  void ShowRowsSoFar();
  // Path (a full path) with every folder below its volume spelled as the disk spells it, where the file
  // system ignores case; the root typed in another case must reach neither the rows nor the cache.
  std::string SpelledAsOnDisk(const std::string& Path);
  // The root as typed (a relative one) with the folders it names spelled as in FFullRoot.
  std::string ShownRootFor(const std::string& Typed) const;
  // One folder of the walk: its path, the folder kept open while subfolders of it remain to be
  // entered, and the names of those subfolders.
  struct TWalkLevel {
    std::string Path;
    std::unique_ptr<TFolderListing> Folder;
    std::vector<std::string> Subfolders;
    std::vector<bool> Shared;  // of each subfolder: the cache pass's listing of it is still good
    std::size_t Next = 0;
  };
  // Lists one folder (counting it), or goes through the cache pass's listing of it (Shared), and
  // collects the names of its subfolders.
  void ListFolder(TWalkLevel& Level, bool Shared);
  // Whether the cache pass's listing of the subfolder Entry of Level, if it kept one, still holds:
  // the stamp the walk meets for the folder is the one it had then. Entry came from the cache pass's
  // listing of Level itself when Replayed (its details are as old as that, unless read now). A listing
  // that no longer holds is dropped.
  bool SharedListingHolds(TWalkLevel& Level, TFileEntry& Entry, bool Replayed);
  // A folder below the full root, as the row shows it: below the root as typed.
  std::string ShownFolder(std::string_view Folder) const;

  TSearchCache& FCache;
  TFileSystem& FFileSystem;
  TClock& FClock;
  const char FDelimiter;
  const std::string FTypedRoot;  // the folder as typed
  // Set for the length of Execute.
  TResultSink* FResults = nullptr;
  TSearchProgress* FProgress = nullptr;

  // The criteria as the tests take them.
  std::string FContentText;
  std::unique_ptr<TMask> FMask;
  std::uint64_t FMinimumSize = 0;
  std::uint64_t FMaximumSize = UINT64_MAX;  // no limit
  TDateTime FStartTime = 0.0;
  TDateTime FEndTime = 0.0;
  // What the run has come to so far.
  bool FLargeFilesSkipped = false;
  std::uint64_t FTotalBytes = 0;
  std::uint64_t FEntriesSeen = 0;
  std::uint64_t FFoldersSeen = 0;
  std::uint32_t FLastRefresh = 0;  // tick of the walk's last progress report
  // Sizes and times are read for the entries that pass the name test when the rows show them or a
  // size or date criterion tests them; otherwise only the content test reads sizes, of the files it
  // opens. Without such a criterion, a content test comes first: only the rows read them then.
  bool FReadDetails = true;
  bool FDetailsBeforeTests = true;
  // The root as typed and as a full path, both without trailing separators.
  std::string FShownRoot;
  std::string FFullRoot;
  // Second form of the content text: its ANSI bytes, when it has non-ASCII characters that the ANSI
  // code page holds. Files of either encoding are found.
  std::string FContentTextAnsi;
  // The cache lines through which the cache pass listed an entry: the walk skips exactly these. Paths
  // with letters beyond ASCII, which the file system may join where the cache does not, are also kept
  // by their key (TFileSystem::PathKey), so that a file is listed once whatever spellings the cache holds.
  std::vector<bool> FListedLines;
  // The cache lines of files the cache pass read for the text and found without it (or too large),
  // with the size and stamp they had.
  struct TTestedFile {
    std::uint64_t Size, Stamp;
  };
  std::unordered_map<std::uint32_t, TTestedFile> FContentFailed;
  bool FContentJudged = false;  // the content test of the last entry decided on the file itself
  std::unordered_map<std::string, std::uint32_t> FListedByKey;
  std::string FListedKey;
  std::uint32_t FLastShown = 0;  // tick at which the cache pass last offered its rows
  bool FRowsShown = false;
  // Buffers reused for every entry, so the walk allocates nothing per entry.
  std::string FPath;
  std::string FTestName;
  std::string FNameExtension;  // '.ext' of a mask '*.ext', which a name test answers without the mask
  std::string FNameLiteral;    // 'text' of a mask '*text*', the same
  bool FNameAny = false;       // a mask of "*" alone matches every name
  TContentSearch FContentSearch;
  // The folders the cache pass listed, for the walk.
  TSharedListings FShared;
  std::vector<TFileEntry> FReplay;
  std::string FSubfolderPath;
  std::string FFolderPrefix;  // the folder being listed, with its separator
};

// '.ext' (lower-cased) for a name text of the form '*.ext' that the mask matches exactly as "ends with
// '.ext'", when ext is plain ASCII (no other letter folds to one of A to Z); empty for every other text.
std::string MaskExtension(const std::string& NameText);
// 'text' (lower-cased) for a name text of the form '*text*' whose text is plain ASCII without a
// wildcard, a set or an escape: the mask matches exactly the names that contain it, in any case
// of A to Z. Empty for every other text.
std::string MaskLiteral(const std::string& NameText);
