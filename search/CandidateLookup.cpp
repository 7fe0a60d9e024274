#include "search/CandidateLookup.h"

std::string_view TCandidateLookup::FolderOf(std::string_view Path) const {
  const std::size_t Slash = Path.rfind(FDelimiter);
  return Slash == std::string_view::npos ? std::string_view() : Path.substr(0, Slash);
}

void TCandidateLookup::CountCachedPath(std::string_view Path) { ++FFolders[FolderOf(Path)].Cached; }

void TCandidateLookup::AddCandidate(std::string_view Path) {
  TFolder& Info = FFolders[FolderOf(Path)];
  ++Info.Remaining;
  Info.Wanted.insert(Path.substr(Path.rfind(FDelimiter) + 1));
}

void TCandidateLookup::List(std::string_view Folder, TFolder& Info) {
  Info.Listed = true;
  ++FListings;
  const auto Listing = FFiles.OpenFolder(std::string(Folder));
  if (!Listing) return;
  TFileEntry Entry;
  while (Listing->Next(Entry))
    if (Info.Wanted.count(Entry.Name) && Listing->ReadDetails(Entry)) Info.Found.emplace(Entry.Name, Entry);
}

bool TCandidateLookup::Find(std::string_view Path, TFileEntry& Entry) {
  const std::string_view Folder = FolderOf(Path);
  const auto It = FFolders.find(Folder);
  const std::string FullPath(Path);
  if (It == FFolders.end() || It->second.Wanted.size() < 2 ||
      It->second.Cached > It->second.Wanted.size() * FFiles.FindEntryCost())
    return FFiles.FindEntry(FullPath, Entry);
  TFolder& Info = It->second;
  if (!Info.Listed) List(Folder, Info);
  const auto Hit = Info.Found.find(FullPath.substr(Folder.size() + 1));
  bool Found;
  if (Hit != Info.Found.end()) {
    Entry = Hit->second;
    Found = true;
  } else {
    Found = FFiles.FindEntry(FullPath, Entry);
  }
  if (Info.Remaining > 0 && --Info.Remaining == 0) {
    Info.Found.clear();  // the folder is done: free what it held
    Info.Wanted.clear();
    Info.Cached = 0;
  }
  return Found;
}
