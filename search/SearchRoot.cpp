#include "search/SearchRoot.h"

#include <algorithm>

#include "core/Text.h"

namespace {

std::string WithoutSeparators(std::string Root, char Delimiter) {
  while (!Root.empty() && (Root.back() == Delimiter || (Delimiter == '\\' && Root.back() == '/'))) Root.pop_back();
  return Root;
}

// The separators of a typed path: the file system's, and "/" as well on Windows.
bool IsSeparator(char C, char Delimiter) { return C == Delimiter || (Delimiter == '\\' && C == '/'); }

std::size_t LastSeparator(const std::string& Path, std::size_t Before, char Delimiter) {
  for (std::size_t I = Before; I-- > 0;)
    if (IsSeparator(Path[I], Delimiter)) return I;
  return std::string::npos;
}

// Path (a full path) with every folder below its volume spelled as the disk spells it, where the file
// system ignores case; the root typed in another case must reach neither the rows nor the cache.
std::string SpelledAsOnDisk(const std::string& Path, TFileSystem& Files) {
  std::string Probe = "Aa";
  Files.PathKey(Probe);
  if (Probe == "Aa") return Path;  // names compared exactly: what was typed is the disk's spelling
  // The volume ('C:', or '\\server\share') as it is; a drive letter in capitals, as Windows shows it.
  std::string Spelled;
  std::size_t At;
  if (Path.size() >= 2 && Path[1] == ':') {
    Spelled = Path.substr(0, 2);
    Spelled[0] = AsciiUpper(Spelled[0]);
    At = 2;
  } else if (Path.rfind("\\\\", 0) == 0 && Path.find_first_of("?.", 2) != 2) {
    const std::size_t Server = Path.find_first_of("\\/", 2);
    At = Server == std::string::npos ? Server : Path.find_first_of("\\/", Server + 1);
    if (At == std::string::npos) return Path;
    Spelled = Path.substr(0, At);
  } else {
    return Path;
  }
  TFileEntry Entry;
  while (At < Path.size()) {
    const std::size_t End = std::min(Path.find_first_of("\\/", At + 1), Path.size());
    const std::string Name = Path.substr(At + 1, End - At - 1);
    Spelled += Path[At];
    const bool Plain = !Name.empty() && Name != "." && Name != "..";
    Spelled += Plain && Files.FindEntry(Spelled + Name, Entry) && Files.SamePath(Entry.Name, Name) ? Entry.Name : Name;
    At = End;
  }
  return Spelled;
}

// The root as typed (a relative one) with the folders it names spelled as in Full.
std::string ShownRootFor(const std::string& Typed, const std::string& Full, TFileSystem& Files) {
  if (Files.FullPath(Typed) == Typed) return Full;
  // A relative root keeps its form; the folders it names take the disk's spelling, last first.
  const char Delimiter = Files.PathDelimiter();
  std::string Shown = Typed;
  std::size_t ShownEnd = Shown.size(), FullEnd = Full.size();
  while (ShownEnd > 0 && FullEnd > 0) {
    const std::size_t ShownSep = LastSeparator(Shown, ShownEnd, Delimiter);
    const std::size_t FullSep = LastSeparator(Full, FullEnd, Delimiter);
    const std::size_t ShownStart = ShownSep == std::string::npos ? 0 : ShownSep + 1;
    const std::size_t FullStart = FullSep == std::string::npos ? 0 : FullSep + 1;
    const std::string Name = Shown.substr(ShownStart, ShownEnd - ShownStart);
    const std::string_view Disk = std::string_view(Full).substr(FullStart, FullEnd - FullStart);
    if (Name.empty() || Name == "." || Name == ".." || !Files.SamePath(Name, Disk)) break;
    Shown.replace(ShownStart, Name.size(), Disk);
    if (ShownStart == 0 || FullStart == 0) break;
    ShownEnd = ShownStart - 1;
    FullEnd = FullStart - 1;
  }
  return Shown;
}

}  // namespace

std::string TSearchRoot::ShownFolder(std::string_view Folder) const {
  if (Shown == Full || Folder.compare(0, Full.size(), Full) != 0) return std::string(Folder);
  return Shown + std::string(Folder.substr(Full.size()));
}

TSearchRoot ResolveSearchRoot(const std::string& Typed, TFileSystem& Files) {
  TSearchRoot Root;
  Root.Delimiter = Files.PathDelimiter();
  // The cache holds full paths, so a relative root is resolved for it; rows show the folder as typed.
  Root.Full = SpelledAsOnDisk(WithoutSeparators(Files.FullPath(Typed), Root.Delimiter), Files);
  Root.Shown = ShownRootFor(WithoutSeparators(Typed, Root.Delimiter), Root.Full, Files);
  return Root;
}
