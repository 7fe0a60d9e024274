// A "search.cache" file of any bytes, read as the window reads it at start-up. Every path read fits
// on a line of the file again; written back (sorted, without duplicates) and read again, the cache
// holds exactly the lines written, in the same order; a cache that nothing changed is not written. The first input byte
// picks the platform's rule for lines that are no UTF-8 (kept as bytes, or read in the ANSI code page) and the size of
// the pieces the file is read in.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "search/SearchCache.h"

namespace {

// Files held in memory: only what the cache reads and writes.
class TMemoryFiles : public TFileSystem {
 public:
  TMemoryFiles(bool Bytes, std::size_t PieceSize) : FBytes(Bytes), FPieceSize(PieceSize) {}
  std::map<std::string, std::string> Files;

  char PathDelimiter() const override { return '\\'; }
  bool PathsAreBytes() const override { return FBytes; }
  std::unique_ptr<TFolderListing> OpenFolder(const std::string&) override { return nullptr; }
  bool FindEntry(const std::string&, TFileEntry&) override { return false; }
  bool ReadFile(const std::string& Path, std::size_t MaxBytes, std::string& Data, std::uint64_t* Size) override {
    const auto Found = Files.find(Path);
    if (Found == Files.end()) return false;
    Data = Found->second.substr(0, MaxBytes);
    if (Size) *Size = Found->second.size();
    return true;
  }
  bool ReadFileInPieces(const std::string& Path, const std::function<void(std::string_view)>& OnPiece) override {
    const auto Found = Files.find(Path);
    if (Found == Files.end()) return false;
    for (std::size_t Start = 0; Start < Found->second.size(); Start += FPieceSize)
      OnPiece(std::string_view(Found->second).substr(Start, FPieceSize));
    return true;
  }
  bool WriteFileAtomically(const std::string& Path, const std::string& Data) override {
    Files[Path] = Data;
    return true;
  }
  bool FileExists(const std::string& Path) override { return Files.count(Path) > 0; }
  bool DirectoryExists(const std::string&) override { return false; }
  bool RemoveFile(const std::string& Path) override { return Files.erase(Path) > 0; }
  std::string LastErrorText() override { return "no"; }

 private:
  bool FBytes;
  std::size_t FPieceSize;
};

std::vector<std::string> Lines(const TSearchCache& Cache) {
  std::vector<std::string> Texts;
  for (std::uint32_t Index : Cache.List().Order()) Texts.emplace_back(Cache.List().Text(Index));
  return Texts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  if (Size == 0) return 0;
  TMemoryFiles Files(Data[0] & 1, 1 + (Data[0] >> 1));
  Files.Files["search.cache"].assign(reinterpret_cast<const char*>(Data) + 1, Size - 1);
  TSearchCache Cache(Files);
  Cache.LoadCache("search.cache");
  for (std::size_t I = 0; I < Cache.List().Count(); ++I)
    if (!FitsOnACacheLine(Cache.List().Text(I))) __builtin_trap();
  Cache.AddToCache("C:\\added by a walk");
  const std::string Before = Files.Files["search.cache"];
  const bool Changed = Cache.Changed();
  Cache.SaveCache("search.cache");
  // A cache that already held that path is not written again.
  if (!Changed) {
    if (Files.Files["search.cache"] != Before) __builtin_trap();
    return 0;
  }
  TSearchCache Again(Files);
  Again.LoadCache("search.cache");
  Again.List().SetSorted(true);
  std::string Written;
  for (const std::string& Line : Lines(Again)) Written.append(Line).append("\r\n");
  if (Written != Files.Files["search.cache"]) __builtin_trap();
  return 0;
}
