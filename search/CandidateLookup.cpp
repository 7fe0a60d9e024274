#include "search/CandidateLookup.h"

void TCandidateLookup::AddCandidate(std::uint32_t Folder, std::string_view Name) {
  TFolder& Info = FFolders[Folder];
  ++Info.Remaining;
  Info.Wanted.insert(Name);
}

void TCandidateLookup::List(const std::string& Folder, TFolder& Info) {
  Info.Listed = true;
  ++FListings;
  const auto Listing = FFiles.OpenFolder(Folder);
  if (!Listing) return;
  TFileEntry Entry;
  while (Listing->Next(Entry))
    if (Info.Wanted.count(Entry.Name) && Listing->ReadDetails(Entry)) Info.Found.emplace(Entry.Name, Entry);
}

bool TCandidateLookup::Find(std::uint32_t Folder, const std::string& Path, std::size_t NameStart, TFileEntry& Entry) {
  const auto It = FFolders.find(Folder);
  if (It == FFolders.end() || It->second.Wanted.size() < 2 ||
      It->second.Cached > It->second.Wanted.size() * FFiles.FindEntryCost())
    return FFiles.FindEntry(Path, Entry);
  TFolder& Info = It->second;
  if (!Info.Listed) List(Path.substr(0, NameStart > 0 ? NameStart - 1 : 0), Info);
  const auto Hit = Info.Found.find(Path.substr(NameStart));
  bool Found;
  if (Hit != Info.Found.end()) {
    Entry = Hit->second;
    Found = true;
  } else {
    Found = FFiles.FindEntry(Path, Entry);
  }
  if (Info.Remaining > 0 && --Info.Remaining == 0) {
    Info.Found.clear();  // the folder is done: free what it held
    Info.Wanted.clear();
    Info.Cached = 0;
  }
  return Found;
}
