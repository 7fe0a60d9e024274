#include "search/CandidateLookup.h"

#include <vector>

void TCandidateLookup::AddCandidate(std::uint32_t Folder, std::string_view Name) {
  TFolder& Info = FFolders[Folder];
  ++Info.Remaining;
  Info.Wanted.insert(Name);
}

bool TCandidateLookup::WorthListing(const TFolder& Info) const {
  const double Lookups = static_cast<double>(Info.Wanted.size()) * FFiles.FindEntryCost();
  // Lookups that cost nothing are never replaced by a listing.
  if (FShared && FShared->HasRoom() && Lookups > 0) return Info.Cached <= Lookups + SmallFolder;
  return Info.Wanted.size() >= 2 && Info.Cached <= Lookups;
}

void TCandidateLookup::List(const std::string& Folder, TFolder& Info) {
  Info.Listed = true;
  ++FListings;
  const auto Listing = FFiles.OpenFolder(Folder);
  if (!Listing) return;
  const std::uint64_t Stamp = FShared && FShared->HasRoom() ? Listing->SettledStamp() : 0;
  std::vector<TFileEntry> Entries;
  TFileEntry Entry;
  while (Listing->Next(Entry)) {
    if (Info.Wanted.count(Entry.Name) && (!FDetails || Listing->ReadDetails(Entry)))
      Info.Found.emplace(Entry.Name, Entry);
    if (Stamp != 0 && Entry.Name != "." && Entry.Name != "..") Entries.push_back(Entry);
  }
  if (Stamp != 0) FShared->Keep(Folder, Stamp, std::move(Entries));
}

bool TCandidateLookup::Find(std::uint32_t Folder, const std::string& Path, std::size_t NameStart, TFileEntry& Entry) {
  const auto It = FFolders.find(Folder);
  if (It == FFolders.end() || (!It->second.Listed && !WorthListing(It->second))) return FFiles.FindEntry(Path, Entry);
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
