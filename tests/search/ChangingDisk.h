#pragma once
// A disk in memory whose folders change as a real one's do: every entry that comes, goes or is renamed
// gives its folder a new stamp (unless it plays a FAT volume, whose stamps never move), and a file
// written anew gets a new stamp of its own. Folder listings are counted (TMemoryFileSystem::Listings).
#include <string>

#include "tests/search/MemoryFileSystem.h"

class TChangingDisk : public TMemoryFileSystem {
 public:
  TChangingDisk() { NamesOnly = true; }  // as POSIX lists: names and kinds only

  void MakeFolder(const std::string& Parent, const std::string& Name) {
    if (!Parent.empty()) Add(Parent, MakeEntry(Name, faDirectory));
    Folders[Join(Parent, Name)];
    FolderStamps[Join(Parent, Name)] = ++FClock;
  }
  void WriteFile(const std::string& Folder, const std::string& Name, const std::string& Bytes) {
    const std::string Path = Join(Folder, Name);
    TFileEntry* Held = Find(Folder, Name);
    if (!Held) {
      Add(Folder, MakeEntry(Name, faArchive));
      Held = Find(Folder, Name);
    }
    Held->Size = Bytes.size();
    Held->Stamp = ++FClock;
    Held->Time = 45000.0 + static_cast<double>(FClock) / 1000;
    Contents[Path] = Bytes;
  }
  // A folder goes with everything in it.
  void Remove(const std::string& Folder, const std::string& Name) {
    auto& Entries = Folders[Folder];
    for (auto It = Entries.begin(); It != Entries.end(); ++It)
      if (It->Name == Name) {
        Entries.erase(It);
        break;
      }
    const std::string Path = Join(Folder, Name), Prefix = Path + "\\";
    Contents.erase(Path);
    for (auto It = Folders.begin(); It != Folders.end();)
      It = It->first == Path || It->first.compare(0, Prefix.size(), Prefix) == 0 ? Folders.erase(It) : std::next(It);
    Touch(Folder);
  }
  void Rename(const std::string& Folder, const std::string& From, const std::string& To) {
    TFileEntry* Held = Find(Folder, From);
    if (!Held) return;
    Held->Name = To;
    const auto Bytes = Contents.find(Join(Folder, From));
    if (Bytes != Contents.end()) {
      Contents[Join(Folder, To)] = Bytes->second;
      Contents.erase(Join(Folder, From));
    }
    if (Held->IsDirectory()) MoveFolder(Join(Folder, From), Join(Folder, To));
    Touch(Folder);
  }
  static std::string Join(const std::string& Folder, const std::string& Name) {
    return Folder.empty() ? Name : Folder + "\\" + Name;
  }

 private:
  void Add(const std::string& Folder, TFileEntry Entry) {
    Entry.Stamp = ++FClock;
    Folders[Folder].push_back(Entry);
    Touch(Folder);
  }
  void Touch(const std::string& Folder) {
    if (StampsFollow) FolderStamps[Folder] = ++FClock;
  }
  TFileEntry* Find(const std::string& Folder, const std::string& Name) {
    for (TFileEntry& Entry : Folders[Folder])
      if (Entry.Name == Name) return &Entry;
    return nullptr;
  }
  void MoveFolder(const std::string& From, const std::string& To) {
    const std::string Prefix = From + "\\";
    std::map<std::string, std::vector<TFileEntry>> Moved;
    for (auto It = Folders.begin(); It != Folders.end();) {
      if (It->first == From || It->first.compare(0, Prefix.size(), Prefix) == 0) {
        Moved[To + It->first.substr(From.size())] = std::move(It->second);
        FolderStamps[To + It->first.substr(From.size())] = FolderStamps[It->first];
        It = Folders.erase(It);
      } else {
        ++It;
      }
    }
    for (auto& Folder : Moved) Folders[Folder.first] = std::move(Folder.second);
    std::map<std::string, std::string> Bytes;
    for (auto It = Contents.begin(); It != Contents.end();) {
      if (It->first.compare(0, Prefix.size(), Prefix) == 0) {
        Bytes[To + It->first.substr(From.size())] = It->second;
        It = Contents.erase(It);
      } else {
        ++It;
      }
    }
    for (auto& File : Bytes) Contents[File.first] = File.second;
  }

  std::uint64_t FClock = 1000;
};
