#pragma once
// The search cache: every file and folder path that a walk has met, kept in "search.cache" in the
// settings folder between runs.
#include <string>
#include <string_view>

#include "core/FileSystem.h"
#include "search/SFCList.h"

// False for a path with a line break (or a zero byte) in it, or one that starts with a byte order mark:
// "search.cache" holds one path per line, and could not give such a path back as it was.
bool FitsOnACacheLine(std::string_view Path);

// The cache file's name, in the settings folder (or the folder a test gives).
inline constexpr const char* SearchCacheFileName = "search.cache";

class TSearchCache {
 public:
  explicit TSearchCache(TFileSystem& FileSystem = PlatformFileSystem()) : FFileSystem(FileSystem) {}

  // The program's settings folder followed by "search.cache".
  static std::string CacheFileName();

  // Reads the file's lines in file order (the list stays unsorted until the first addition); a line
  // that repeats an earlier one (ignoring case) is kept once. A missing file leaves the cache empty;
  // a file that exists but cannot be read raises EFileError.
  void LoadCache(const std::string& FileName);
  // Adds Path unless present and switches the list to sorted mode; marks the cache changed either way.
  // A path that does not fit on a line of the file is left out.
  void AddToCache(std::string_view Path);
  // A cache that will be neither read nor saved (torvane-find --no-cache) keeps no paths at all.
  void StopRecording() { FRecording = false; }
  bool Recording() const { return FRecording; }
  bool IsCached(std::string_view Path) const { return FCache.IndexOf(Path) >= 0; }
  // The walk met the path at Index under the spelling Path (the file system's own, after a rename
  // that changed only its case): Path takes its place.
  void RespellPath(std::size_t Index, std::string_view Path);
  // When changed: writes the paths sorted, without duplicates ignoring case, CR LF after every line,
  // through a temporary file so that the old file stays whole until the new one is complete.
  // Raises EFileError when the file cannot be written.
  void SaveCache(const std::string& FileName);

  bool Changed() const { return FCacheChanged; }
  TSFCList& List() { return FCache; }
  const TSFCList& List() const { return FCache; }

 private:
  void AddLoadedLine(std::string_view Line);

  TFileSystem& FFileSystem;
  TSFCList FCache;
  bool FCacheChanged = false;
  bool FRecording = true;
};
