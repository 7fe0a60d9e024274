#pragma once
// Looks up the cache pass's candidates on disk, folder by folder where that is cheaper.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/FileSystem.h"
#include "search/SearchCache.h"
#include "search/SharedListings.h"

// A lookup of one path costs the file system about as much as listing FindEntryCost() entries of a
// folder (under Wine a lookup opens a handle and costs ~30 listed entries). When a folder holds many
// candidates for its size, one listing answers all of them with the very data a lookup would give
// (a lookup is a listing filtered to one name). Anything the listing does not answer by exact name
// (a case changed on disk, a file deleted, a folder that cannot be listed) is looked up on its own,
// so the answers never differ from FindEntry's.
//
// A listing handed on to the walk (Shared) costs the run nothing more than the walk's own listing of
// the folder would: then a folder is listed also for few candidates, unless it is large enough that
// listing it would keep its candidates' rows waiting.
//
// A folder that the index holds (Indexed) with the stamp it has now needs neither: its entries are
// known, so a candidate it lacks has gone, and one it holds is read where it is, relative to the folder
// opened once (one look-up per candidate, and nothing listed).
//
// Folders are named by number (the cache's folder numbers); the names given must stay valid while the
// object lives (they are views into the cache).
class TCandidateLookup {
 public:
  // Listed entries are completed with their sizes and times when Details is true (a lookup always
  // gives them); otherwise they carry what the listing gave.
  explicit TCandidateLookup(TFileSystem& Files, TSharedListings* Shared = nullptr, bool Details = true,
                            const TSearchCache* Indexed = nullptr)
      : FFiles(Files), FShared(Shared), FDetails(Details), FIndexed(Indexed) {}

  // A folder of at most this many entries is listed for a single candidate when the walk takes its
  // listing: a few milliseconds at most, even under Wine.
  static constexpr std::uint32_t SmallFolder = 256;

  // Every cached path under the root, so that folder sizes are known.
  void CountCachedPath(std::uint32_t Folder) { ++FolderInfo(Folder).Cached; }
  // Every candidate, once, before the first Find.
  void AddCandidate(std::uint32_t Folder, std::string_view Name);
  // The entry of a candidate, as FindEntry gives it for Path, whose name starts at NameStart (after the
  // folder's separator); each candidate is asked for once. Line is its line in the cache.
  bool Find(std::uint32_t Folder, const std::string& Path, std::size_t NameStart, TFileEntry& Entry,
            std::uint32_t Line = UINT32_MAX);

  std::size_t FolderListings() const { return FListings; }
  // The folder of the candidate just found, when it was found through the folder opened (indexed):
  // its bytes and details are read relative to it. Null otherwise.
  TFolderListing* OpenedFolder(std::uint32_t Folder);
  // The indexed folders found with the stamp the index holds, in the order found.
  const std::vector<std::uint32_t>& Confirmed() const { return FConfirmed; }

 private:
  struct TFolder {
    std::uint32_t Cached = 0;
    std::uint32_t Remaining = 0;  // candidates not yet asked for
    bool Listed = false;
    bool Checked = false;  // the index was asked about it
    bool Indexed = false;  // found with the stamp the index holds: its candidates are looked up there
    std::unordered_set<std::string_view> Wanted;
    std::unordered_map<std::string, TFileEntry> Found;
    std::unique_ptr<TFolderListing> Open;  // an indexed folder, its stamp as the index holds it
    std::vector<std::uint32_t> Items;      // its entries (TFolderIndex::Item form), sorted
  };
  // The folder's entry, found once for the paths of it that come one after the other.
  TFolder& FolderInfo(std::uint32_t Folder) {
    if (Folder != FLastFolder || !FLast) {
      FLast = &FFolders[Folder];
      FLastFolder = Folder;
    }
    return *FLast;
  }
  bool WorthListing(const TFolder& Info) const;
  void List(std::uint32_t Number, const std::string& Folder, TFolder& Info);
  // Opens the folder when the index holds it with the stamp it has now.
  void CheckIndex(std::uint32_t Folder, const std::string& Path, TFolder& Info);
  bool FindIndexed(TFolder& Info, std::string_view Name, std::uint32_t Line, TFileEntry& Entry);

  TFileSystem& FFiles;
  TSharedListings* FShared;
  bool FDetails;
  const TSearchCache* FIndexed;
  std::size_t FOpen = 0;  // indexed folders open at once
  std::vector<std::uint32_t> FConfirmed;
  std::unique_ptr<TFolderListing> FDone;  // the last indexed folder whose candidates are all found
  std::uint32_t FDoneFolder = 0;
  TFolder* FLast = nullptr;
  std::uint32_t FLastFolder = 0;
  std::unordered_map<std::uint32_t, TFolder> FFolders;
  std::size_t FListings = 0;
};
