#pragma once
// The search cache: every file and folder path that a walk has met, kept in "search.cache" in the
// settings folder between runs.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/FileSystem.h"
#include "platform/Platform.h"
#include "search/FolderIndex.h"
#include "search/SFCList.h"

// False for a path with a line break (or a zero byte) in it, or one that starts with a byte order mark:
// "search.cache" holds one path per line, and could not give such a path back as it was.
bool FitsOnACacheLine(std::string_view Path);
// A line as a walk writes it: a full path ('C:\...' or '\\server\...' where the delimiter is "\",
// '/...' elsewhere). An empty line (an empty path, which never matches) is allowed too.
bool IsCacheLine(std::string_view Line, char Delimiter);

// The cache file's name, in the settings folder (or the folder a test gives).
inline constexpr const char* SearchCacheFileName = "search.cache";
// Added to the name of a file whose reading stopped at a zero byte, for the copy kept of it.
inline constexpr const char* DamagedCacheSuffix = ".damaged";

// What the cache holds of a path that a walk met.
struct TCacheHit {
  std::int64_t Line = -1;  // its storage index; -1 when the cache records nothing
  bool SamePath = false;   // the line names the path itself, as the file system compares paths
};

class TSearchCache {
 public:
  explicit TSearchCache(TFileSystem& FileSystem = PlatformFileSystem())
      : FFileSystem(FileSystem), FCache(FileSystem.PathDelimiter()) {}

  // The program's settings folder followed by "search.cache".
  static std::string CacheFileName();

  // Reads the file's lines in file order (the list stays unsorted until the first addition); a line
  // that repeats an earlier one (ignoring case) is kept once. A missing file leaves the cache empty;
  // a file that exists but cannot be read raises EFileError. When Cancel turns true the reading stops,
  // leaving part of the file loaded, and the answer is false. The folder index beside the file
  // (IndexFileFor) is read too, when it belongs to this very file; otherwise the index starts empty.
  bool LoadCache(const std::string& FileName, const std::atomic<bool>* Cancel = nullptr);
  // The same, asking Stop (a moment's question) between pieces of the file.
  bool LoadCache(const std::string& FileName, const std::function<bool()>& Stop);
  // Why the file loaded is not a search cache as a save writes it, or empty: a zero byte (nothing
  // after it was read), or a line that is no full path.
  const std::string& Damage() const { return FDamage; }
  // The reading stopped at a zero byte: the file holds more than the cache. The first save over it
  // keeps the file as it was under its name followed by DamagedCacheSuffix.
  bool LostBytes() const { return !FLostBytesOf.empty(); }
  // Records Path unless present and switches the list to sorted mode. A path met in another spelling
  // of the same path (as the file system compares them) takes the spelling met. A path that does not
  // fit on a line of the file is left out.
  TCacheHit Record(std::string_view Path);
  void AddToCache(std::string_view Path) { Record(Path); }
  // Starts fetching from memory where Record will look for the path Folder (with its separator) + Name.
  void Prefetch(std::string_view Folder, std::string_view Name) {
    if (!FRecording) return;
    UseFolder(Folder);
    FCache.Prefetch(FFolder, Name);
  }
  // A cache that will be neither read nor saved (torvane-find --no-cache) keeps no paths at all.
  void StopRecording() {
    FRecording = false;
    FIndex.Clear();
  }
  bool Recording() const { return FRecording; }
  bool IsCached(std::string_view Path) const { return FCache.IndexOf(Path) >= 0; }
  // The walk met the path at Index under the spelling Path (the file system's own, after a rename
  // that changed only its case): Path takes its place.
  void RespellPath(std::size_t Index, std::string_view Path);
  // When the paths changed since loading (added, respelled or removed): writes them sorted, without
  // duplicates ignoring case, CR LF after every line, through a temporary file so that the old file
  // stays whole until the new one is complete. Raises EFileError when the file cannot be written. The
  // folder index is written after it, when either changed; failing that only costs a later search
  // time (an index that does not belong to the cache file is never used).
  void SaveCache(const std::string& FileName);

  // The paths differ from those of the file loaded (or of an empty cache).
  bool Changed() const { return FCacheChanged; }
  TSFCList& List() { return FCache; }
  const TSFCList& List() const { return FCache; }
  // The folders listed whole by walks, by the list's folder numbers. Empty while not recording.
  TFolderIndex& Index() { return FIndex; }
  const TFolderIndex& Index() const { return FIndex; }
  // The index's entry for the folder Folder (its path with the delimiter after it, spelled exactly as
  // the walk met it); false when it has none, or one that names a path the list no longer holds.
  bool FindIndexed(std::string_view Folder, TFolderIndex::TFolderView& View) const;
  // The same for the list's folder number Folder.
  bool FindIndexed(std::uint32_t Folder, TFolderIndex::TFolderView& View) const;
  // The walk listed Folder whole: Items (TFolderIndex::Item form, lines from Record) in listing order,
  // with the folder's settled Stamp. A stamp of 0 (not settled, or not to be trusted) forgets it.
  void IndexFolder(std::string_view Folder, std::uint64_t Stamp, const std::vector<std::uint32_t>& Items);
  // Why the index file was not used at the last load (missing, another cache's, damaged), or empty.
  const std::string& IndexIgnored() const { return FIndexIgnored; }

 private:
  void AddLoadedLine(std::string_view Line);
  void KeepDamagedFile(const std::string& FileName);
  // The index file's bytes, when the index was made for the cache file FileName as it is (Cache); false
  // (and the reason in FIndexIgnored) otherwise.
  bool ReadIndexBytes(const std::string& FileName, TFileEntry& Cache, std::string& Bytes);
  void LoadIndex(const std::string& Bytes, const TFileEntry& Cache);
  // Writes the lines in Order; FileLines receives each storage index's line in the file.
  void WriteLines(const std::string& FileName, const std::vector<std::uint32_t>& Order,
                  std::vector<std::uint32_t>& FileLines);
  void SaveIndex(const std::string& FileName, const std::vector<std::uint32_t>* FileLines, std::uint64_t Lines);
  // The list's folder for the folder part of a path met, found once for the names that follow in it.
  void UseFolder(std::string_view Folder);

  TFileSystem& FFileSystem;
  TSFCList FCache;
  bool FCacheChanged = false;
  bool FRecording = true;
  std::string FDamage;
  std::size_t FLinesRead = 0;
  bool FLoadedDuplicates = false;
  std::string FLostBytesOf;                    // the file whose reading stopped at a zero byte
  std::uint32_t FFolder = TSFCList::NoFolder;  // of the last path recorded or loaded
  bool FFolderFits = true;                     // its text fits on a line of the file
  TFolderIndex FIndex;
  std::string FIndexIgnored;
  // Storage indexes are the lines of the cache file as it is on disk: it was loaded whole into an empty
  // list, every line kept, and not written since.
  bool FLinesAreFile = false;
  std::uint64_t FFileLines = 0;  // lines of the cache file on disk
  bool FTrustedLoad = false;     // the file being loaded is one a save wrote
};
