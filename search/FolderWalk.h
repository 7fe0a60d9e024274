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
  // Where a folder's entries come from: its own listing, the cache pass's listing of it (still good),
  // or the index (the folder's stamp is the one it had when a walk last listed it).
  enum TSource { wsListing, wsShared, wsIndex };
  struct TSubfolder {
    std::string Name;
    TSource Source;
    std::uint32_t Indexed;  // its folder number in the cache's list, when the index gives its entries
  };
  // One folder of the walk: its path, the folder kept open while subfolders of it remain to be
  // entered, and those subfolders. A folder whose entries the index gives is opened (from Parent) only
  // when something in it must be read.
  struct TLevel {
    std::string Path;
    std::unique_ptr<TFolderListing> Folder;
    std::vector<TSubfolder> Subfolders;
    std::size_t Next = 0;
    TFolderListing* Parent = nullptr;
    std::string_view Name;  // in Parent
    std::uint32_t Indexed = TSFCList::NoFolder;
  };
  struct TCounts {
    std::uint64_t Entries = 0, Folders = 0, TotalBytes = 0;
    std::uint32_t LastRefresh = 0;  // tick of the last progress report
  };
  // Reused for every entry, so that the walk allocates nothing per entry.
  struct TBuffers {
    std::string Path;          // of the entry at hand
    std::string FolderPrefix;  // the folder being listed, with its delimiter
    std::string ChildPrefix;   // a subfolder of it, with its delimiter
    std::string Key;
    std::vector<TFileEntry> Replay;
    std::vector<std::uint32_t> Items;  // of the folder being listed, for the index
  };
  // Lists one folder (counting it) from Source, and collects its subfolders.
  void ListFolder(TLevel& Level, TSource Source, TSharedListings& Listings);
  // The same for a folder whose entries the index gives.
  void ListIndexed(TLevel& Level, const std::string& Shown, TSharedListings& Listings);
  // The subfolder Entry of Level, and where it will take its entries from. Entry came from the cache
  // pass's listing of Level when Replayed, from the index when Indexed (its details are as old as that).
  TSubfolder SubfolderOf(TLevel& Level, TFileEntry& Entry, bool Replayed, bool Indexed, TSharedListings& Listings);
  // Whether a folder the index holds (View) is better listed all the same: where a listing gives its
  // subfolders' stamps with their names and a single look-up is dear (Windows), one listing costs less
  // than asking each of many subfolders for its stamp.
  bool ListedForStamps(const TFolderIndex::TFolderView& View) const;
  // Whether the cache pass's listing of the subfolder Entry of Level, if it kept one, still holds: the
  // stamp the walk meets for the folder is the one it had then. A listing that no longer holds is dropped.
  bool SharedListingHolds(TLevel& Level, TFileEntry& Entry, bool Replayed, TSharedListings& Listings);
  // The folder of Level, opened now if it was not; null when it cannot be.
  TFolderListing* Opened(TLevel& Level);
  // Whether the walk must judge the entry at FBuffers.Path (recorded as Hit): the cache pass neither
  // listed it nor judged it already.
  bool NotJudgedYet(const TCacheHit& Hit, const TFileEntry& Entry);
  // Lists the entry when it passes the tests.
  void Judge(const std::string& Shown, TFileEntry& Entry, TFolderListing& Listing);
  // Whether the cache pass listed the entry at FBuffers.Path, recorded as Hit (compared as the file
  // system compares paths); a line that spelled it otherwise takes the walk's spelling.
  bool ListedByCachePass(const TCacheHit& Hit);
  // Whether the cache pass judged the entry (recorded as Hit) by its own details or bytes and found it
  // no result, and it is still the file judged: of the same size and stamp where the walk has them.
  bool RejectedByCachePass(const TCacheHit& Hit, const TFileEntry& Entry);
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
  TBuffers FBuffers;
};
