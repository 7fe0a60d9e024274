#pragma once
// Pass 2 of a search: the walk of the folder tree under the root, one folder's entries in the order the
// file system gives them, then each of its subfolders. Every entry met is recorded in the cache; every
// one that passes the tests and that the cache pass did not list already becomes a result.
//
// Nothing here throws but the result sink and the progress (and the cache, when memory runs out).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/FileSystem.h"
#include "search/CacheVerdicts.h"
#include "search/EntryTests.h"
#include "search/ResultSink.h"
#include "search/SearchCache.h"
#include "search/SearchProgress.h"
#include "search/SearchRoot.h"
#include "search/SharedListings.h"

class TFolderWalk {
 public:
  // Verdicts are the cache pass's, Shared the folders it listed (the walk takes what still holds).
  TFolderWalk(TSearchCache& Cache, TFileSystem& Files, TEntryTests& Tests, const TSearchRoot& Root, TClock& Clock,
              const TCacheVerdicts& Verdicts)
      : FCache(Cache), FFiles(Files), FTests(Tests), FRoot(Root), FClock(Clock), FVerdicts(Verdicts) {}
  TFolderWalk(const TFolderWalk&) = delete;
  TFolderWalk& operator=(const TFolderWalk&) = delete;

  // Walks the root. After a cancel request each queued folder still counts, but none is opened.
  void Run(TResultSink& Results, TSearchProgress& Progress, TSharedListings& Shared);

  // Entries (files and folders) met and folders listed, as the status bar shows them; the sizes of
  // the files listed.
  std::uint64_t EntriesSeen() const { return FCounts.Entries; }
  std::uint64_t FoldersSeen() const { return FCounts.Folders; }
  std::uint64_t TotalBytes() const { return FCounts.TotalBytes; }

 private:
  // One folder of the walk: its path, the folder kept open while subfolders of it remain to be
  // entered, and the names of those subfolders.
  struct TLevel {
    std::string Path;
    std::unique_ptr<TFolderListing> Folder;
    std::vector<std::string> Subfolders;
    std::vector<bool> Shared;  // of each subfolder: the cache pass's listing of it is still good
    std::size_t Next = 0;
  };
  struct TCounts {
    std::uint64_t Entries = 0, Folders = 0, TotalBytes = 0;
    std::uint32_t LastRefresh = 0;  // tick of the last progress report
  };
  // Lists one folder (counting it), or goes through the cache pass's listing of it (Shared), and
  // collects the names of its subfolders.
  void ListFolder(TLevel& Level, bool Shared, TSharedListings& Listings);
  // Whether the cache pass's listing of the subfolder Entry of Level, if it kept one, still holds: the
  // stamp the walk meets for the folder is the one it had then. Entry came from the cache pass's listing
  // of Level itself when Replayed (its details are as old as that, unless read now). A listing that no
  // longer holds is dropped.
  bool SharedListingHolds(TLevel& Level, TFileEntry& Entry, bool Replayed, TSharedListings& Listings);
  // Records the entry met at FPath and lists it when it passes the tests and the cache pass did not.
  void ProcessEntry(const std::string& Shown, TFileEntry& Entry, TFolderListing& Listing, bool NamePasses);
  // Whether the cache pass listed the entry at FPath, recorded as Hit (compared as the file system
  // compares paths); a line that spelled it otherwise takes the walk's spelling.
  bool ListedByCachePass(const TCacheHit& Hit);
  // Whether the entry (recorded as Hit) is a file the cache pass found without the text, still of the
  // size and stamp it had then.
  bool FoundWithoutText(const TCacheHit& Hit, TFileEntry& Entry, TFolderListing& Listing);
  // Called after every entry; reports at most every RefreshInterval ms.
  void RefreshProgress(const std::string& Shown);

  TSearchCache& FCache;
  TFileSystem& FFiles;
  TEntryTests& FTests;
  const TSearchRoot& FRoot;
  TClock& FClock;
  const TCacheVerdicts& FVerdicts;
  TResultSink* FResults = nullptr;  // set for the length of Run
  TSearchProgress* FProgress = nullptr;
  TCounts FCounts;
  // Buffers reused for every entry, so the walk allocates nothing per entry.
  std::string FPath;
  std::string FFolderPrefix;  // the folder being listed, with its separator
  std::string FSubfolderPath;
  std::string FKey;
  std::vector<TFileEntry> FReplay;
};
