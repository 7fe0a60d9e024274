#include "search/SharedListings.h"

void TSharedListings::Keep(const std::string& Folder, std::uint64_t Stamp, std::vector<TFileEntry> Entries) {
  if (Stamp == 0 || !HasRoom()) return;
  TListing Listing;
  Listing.Stamp = Stamp;
  Listing.Bytes = sizeof(TListing) + Folder.size();
  for (const TFileEntry& Entry : Entries)
    Listing.Bytes += sizeof(TFileEntry) + (Entry.Name.size() > 15 ? Entry.Name.capacity() + 1 : 0);
  Listing.Entries = std::move(Entries);
  auto& Held = FListings[KeyOf(Folder)];
  FBytes -= Held.Bytes;
  FBytes += Listing.Bytes;
  Held = std::move(Listing);
}

std::uint64_t TSharedListings::StampOf(const std::string& Folder) {
  if (FListings.empty()) return 0;
  const auto It = FListings.find(KeyOf(Folder));
  return It == FListings.end() ? 0 : It->second.Stamp;
}

bool TSharedListings::Take(const std::string& Folder, std::vector<TFileEntry>& Entries) {
  if (FListings.empty()) return false;
  const auto It = FListings.find(KeyOf(Folder));
  if (It == FListings.end()) return false;
  Entries = std::move(It->second.Entries);
  Forget(It);
  return true;
}

void TSharedListings::Drop(const std::string& Folder) {
  if (FListings.empty()) return;
  const auto It = FListings.find(KeyOf(Folder));
  if (It != FListings.end()) Forget(It);
}

void TSharedListings::Clear() {
  std::unordered_map<std::string, TListing>().swap(FListings);
  FBytes = 0;
}

void TSharedListings::Forget(std::unordered_map<std::string, TListing>::iterator It) {
  FBytes -= It->second.Bytes;
  FListings.erase(It);
}

const std::string& TSharedListings::KeyOf(const std::string& Folder) {
  FKey.assign(Folder);
  FFiles.PathKey(FKey);
  return FKey;
}
