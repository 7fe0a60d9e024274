#include "search/SearchCache.h"

#include "core/Exceptions.h"
#include "core/FormatSettings.h"
#include "core/Text.h"

std::string TSearchCache::CacheFileName() { return ExecutableFolder() + "search.cache"; }

void TSearchCache::LoadCache(const std::string& FileName) {
  if (!FFileSystem.FileExists(FileName)) return;
  std::string Bytes;
  if (!FFileSystem.ReadFile(FileName, std::string::npos, Bytes))
    throw EFileError("Cannot open file \"" + FileName + "\". " + FFileSystem.LastErrorText());
  const std::size_t Zero = Bytes.find('\0');
  if (Zero != std::string::npos) Bytes.resize(Zero);
  std::string_view Text(Bytes);
  // A file written by hand in an editor that marks UTF-8 starts with a byte order mark: no part of a path.
  if (Text.substr(0, 3) == "\xEF\xBB\xBF") Text.remove_prefix(3);
  std::size_t Start = 0;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] != '\r' && Text[I] != '\n') continue;
    AddLoadedLine(Text.substr(Start, I - Start));
    if (Text[I] == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n') ++I;
    Start = I + 1;
  }
  if (Start < Text.size()) AddLoadedLine(Text.substr(Start));
}

// Lines written by older versions are in the ANSI code page. Each line is judged on its own: one
// name that is not UTF-8 must not turn every other line of the file into mojibake. Where names are
// bytes, a line that is no UTF-8 is such a name, kept as it is.
void TSearchCache::AddLoadedLine(std::string_view Line) {
  if (FFileSystem.PathsAreBytes() || IsValidUtf8(Line)) {
    FCache.Add(Line);
  } else {
    FCache.Add(AnsiToUtf8(Line));
  }
}

bool FitsOnACacheLine(std::string_view Path) {
  return Path.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

void TSearchCache::AddToCache(std::string_view Path) {
  if (!FitsOnACacheLine(Path)) return;  // the walk still finds it; the cache file could not hold it
  FCache.Add(Path);
  FCache.SetSorted(true);
  FCacheChanged = true;
}

void TSearchCache::RespellPath(std::size_t Index, std::string_view Path) {
  if (FCache.Text(Index) == Path) return;
  FCache.Replace(Index, Path);
  FCacheChanged = true;
}

void TSearchCache::SaveCache(const std::string& FileName) {
  if (!FCacheChanged) return;
  // The file is always sorted and free of duplicates, whatever mode the list is in.
  const bool WasSorted = FCache.Sorted();
  FCache.SetSorted(true);
  const std::vector<std::uint32_t> Order = FCache.Order(true);
  FCache.SetSorted(WasSorted);
  std::size_t Size = 0;
  for (std::uint32_t Index : Order) Size += FCache.Text(Index).size() + 2;
  std::string Data;
  Data.reserve(Size);
  for (std::uint32_t Index : Order) Data.append(FCache.Text(Index)).append("\r\n");
  if (!FFileSystem.WriteFileAtomically(FileName, Data))
    throw EFileError("Cannot create file \"" + FileName + "\". " + FFileSystem.LastErrorText());
  FCacheChanged = false;
}
