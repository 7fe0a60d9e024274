#pragma once
// A file system held in memory for search tests: folders and their entries, for what a real disk
// cannot show here (a case-sensitive disk on Windows, junctions, names a lookup cannot reach).
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/FileSystem.h"

// A file of Data that claims Size at its opening; it may hold more (it grew since) or less (it
// shrank). Reads hand out at most Step bytes each and are counted.
class TStringReader : public TFileReader {
 public:
  TStringReader(std::string Data, std::uint64_t Size, std::size_t Step = SIZE_MAX)
      : FData(std::move(Data)), FSize(Size), FStep(Step) {}
  explicit TStringReader(const std::string& Data) : TStringReader(Data, Data.size()) {}
  std::uint64_t Size() const override { return FSize; }
  std::ptrdiff_t Read(char* Buffer, std::size_t Count) override {
    ++Reads;
    const std::size_t Taken = std::min({Count, FStep, FData.size() - Position});
    std::memcpy(Buffer, FData.data() + Position, Taken);
    Position += Taken;
    return static_cast<std::ptrdiff_t>(Taken);
  }
  int Reads = 0;
  std::size_t Position = 0;

 private:
  std::string FData;
  std::uint64_t FSize;
  std::size_t FStep;
};

class TMemoryFileSystem : public TFileSystem {
 public:
  std::map<std::string, std::vector<TFileEntry>> Folders;
  std::set<std::string> Unfindable;
  std::map<std::string, std::string> Aliases;   // path looked up -> path found (a case-insensitive disk)
  std::map<std::string, std::string> Contents;  // path -> the bytes of a file (none: it cannot be opened)
  // Listings give names and kinds only, as POSIX does; ReadDetails completes them and is counted.
  bool NamesOnly = false;
  int DetailsRead = 0;
  int FilesOpened = 0;
  double LookupCost = 1.0;
  // A folder's stamp (none: 0, which a listing never shares), given to its listing as its settled
  // stamp and to its entry in its parent's listing; and the folders listed, counted.
  std::map<std::string, std::uint64_t> FolderStamps;
  int Listings = 0;  // folders whose entries were read (the first Next of a listing)
  // False for a disk that never changes a folder's stamp when its entries change (as FAT): the walk
  // must not trust stamps there.
  bool StampsFollow = true;
  int StampsRead = 0;  // by ReadStamp

  char PathDelimiter() const override { return '\\'; }
  double FindEntryCost() const override { return LookupCost; }
  std::unique_ptr<TFolderListing> OpenFolder(const std::string& Folder) override { return Open(Folder, true); }
  std::unique_ptr<TFolderListing> OpenFolderUnlisted(const std::string& Folder) override { return Open(Folder, false); }
  std::unique_ptr<TFolderListing> Open(const std::string& Folder, bool List) {
    const auto It = Folders.find(Folder);
    if (It == Folders.end()) return nullptr;
    struct TListing : TFolderListing {
      TMemoryFileSystem* Files = nullptr;
      std::string Folder;
      std::vector<TFileEntry> Entries;
      std::uint64_t Stamp = 0;
      std::size_t Next_ = 0;
      bool Started = false;
      bool Next(TFileEntry& Entry) override {
        if (!Started) ++Files->Listings;
        Started = true;
        if (Next_ == Entries.size()) return false;
        Entry = Entries[Next_++];
        Files->StampSubfolder(Folder, Entry);
        if (Files->NamesOnly) {
          Entry.Size = 0;
          Entry.Time = 0;
          Entry.Stamp = 0;
          Entry.DetailsKnown = false;
        }
        return true;
      }
      std::uint64_t SettledStamp() override { return Started ? 0 : Stamp; }
      bool StampsFollowEntries() override { return Files->StampsFollow; }
      std::unique_ptr<TFolderListing> OpenSubfolderUnlisted(const std::string& Name) override {
        return Files->Open(Folder + "\\" + Name, false);
      }
      bool ReadStamp(TFileEntry& Entry) override {
        TFileEntry Now;
        if (!Files->FindEntry(Folder + "\\" + Entry.Name, Now)) return false;
        ++Files->StampsRead;
        Entry.Stamp = Now.Stamp;
        return true;
      }
      bool ReadDetails(TFileEntry& Entry) override {
        if (Entry.DetailsKnown) return true;
        ++Files->DetailsRead;
        return Files->FindEntry(Folder + "\\" + Entry.Name, Entry);
      }
      std::unique_ptr<TFolderListing> OpenSubfolder(const std::string& Name) override {
        return Files->OpenFolder(Folder + "\\" + Name);
      }
      std::unique_ptr<TFileReader> OpenFile(const std::string& Name) override {
        return Files->OpenFile(Folder + "\\" + Name);
      }
    };
    auto Listing = std::make_unique<TListing>();
    Listing->Files = this;
    Listing->Folder = Folder;
    if (List) Listing->Entries = It->second;
    const auto Stamp = FolderStamps.find(Folder);
    if (Stamp != FolderStamps.end()) Listing->Stamp = Stamp->second;
    return Listing;
  }
  void StampSubfolder(const std::string& Folder, TFileEntry& Entry) const {
    const auto Stamp = Entry.IsDirectory() ? FolderStamps.find(Folder + "\\" + Entry.Name) : FolderStamps.end();
    if (Stamp != FolderStamps.end()) Entry.Stamp = Stamp->second;
  }
  // Exact names, as a case-sensitive disk; names in Unfindable only show up in listings (as Windows
  // lists a name ending in "." that a lookup by path cannot reach).
  bool FindEntry(const std::string& Path, TFileEntry& Entry) override {
    Entry = TFileEntry();
    const auto Alias = Aliases.find(Path);
    if (Alias != Aliases.end()) return FindEntry(Alias->second, Entry);
    const std::size_t Slash = Path.rfind('\\');
    const auto It = Folders.find(Path.substr(0, Slash));
    if (Slash == std::string::npos || It == Folders.end() || Unfindable.count(Path)) return false;
    for (const TFileEntry& Found : It->second)
      if (Found.Name == Path.substr(Slash + 1)) {
        Entry = Found;
        StampSubfolder(Path.substr(0, Slash), Entry);
        return true;
      }
    return false;
  }
  bool ReadFile(const std::string&, std::size_t, std::string&, std::uint64_t*) override { return false; }
  std::unique_ptr<TFileReader> OpenFile(const std::string& Path) override {
    const auto It = Contents.find(Path);
    if (It == Contents.end()) return nullptr;
    ++FilesOpened;
    return std::make_unique<TStringReader>(It->second);
  }
  bool WriteFileAtomically(const std::string&, const std::string&) override { return false; }
  bool FileExists(const std::string&) override { return false; }
  bool DirectoryExists(const std::string& Path) override {
    std::string Folder = Path;
    while (!Folder.empty() && (Folder.back() == '\\' || Folder.back() == '/')) Folder.pop_back();
    return Folders.count(Folder) > 0;
  }
  bool RemoveFile(const std::string&) override { return false; }
  std::string LastErrorText() override { return "no"; }
};

inline TFileEntry MakeEntry(const std::string& Name, std::uint32_t Attributes) {
  TFileEntry Entry;
  Entry.Name = Name;
  Entry.Attributes = Attributes;
  Entry.Time = 45000.0;
  return Entry;
}
