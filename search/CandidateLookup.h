#pragma once
// Looks up the cache pass's candidates on disk, folder by folder where that is cheaper.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "core/FileSystem.h"
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
// Folders are named by number (the cache's folder numbers); the names given must stay valid while the
// object lives (they are views into the cache).
class TCandidateLookup {
 public:
  // Listed entries are completed with their sizes and times when Details is true (a lookup always
  // gives them); otherwise they carry what the listing gave.
  explicit TCandidateLookup(TFileSystem& Files, TSharedListings* Shared = nullptr, bool Details = true)
      : FFiles(Files), FShared(Shared), FDetails(Details) {}

  // A folder of at most this many entries is listed for a single candidate when the walk takes its
  // listing: a few milliseconds at most, even under Wine.
  static constexpr std::uint32_t SmallFolder = 256;

  // Every cached path under the root, so that folder sizes are known.
  void CountCachedPath(std::uint32_t Folder) { ++FFolders[Folder].Cached; }
  // Every candidate, once, before the first Find.
  void AddCandidate(std::uint32_t Folder, std::string_view Name);
  // The entry of a candidate, as FindEntry gives it for Path, whose name starts at NameStart (after the
  // folder's separator); each candidate is asked for once.
  bool Find(std::uint32_t Folder, const std::string& Path, std::size_t NameStart, TFileEntry& Entry);

  std::size_t FolderListings() const { return FListings; }

 private:
  struct TFolder {
    std::uint32_t Cached = 0;
    std::uint32_t Remaining = 0;  // candidates not yet asked for
    bool Listed = false;
    std::unordered_set<std::string_view> Wanted;
    std::unordered_map<std::string, TFileEntry> Found;
  };
  bool WorthListing(const TFolder& Info) const;
  void List(const std::string& Folder, TFolder& Info);

  TFileSystem& FFiles;
  TSharedListings* FShared;
  bool FDetails;
  std::unordered_map<std::uint32_t, TFolder> FFolders;
  std::size_t FListings = 0;
};
