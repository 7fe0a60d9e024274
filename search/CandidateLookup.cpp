#include "search/CandidateLookup.h"

#include <algorithm>
#include <vector>

void TCandidateLookup::AddCandidate(std::uint32_t Folder, std::string_view Name) {
  TFolder& Info = FolderInfo(Folder);
  ++Info.Remaining;
  Info.Wanted.insert(Name);
}

bool TCandidateLookup::WorthListing(const TFolder& Info) const {
  const double Lookups = static_cast<double>(Info.Wanted.size()) * FFiles.FindEntryCost();
  // Lookups that cost nothing are never replaced by a listing.
  if (FShared && FShared->HasRoom() && Lookups > 0) return Info.Cached <= Lookups + SmallFolder;
  return Info.Wanted.size() >= 2 && Info.Cached <= Lookups;
}

void TCandidateLookup::List(std::uint32_t Number, const std::string& Folder, TFolder& Info) {
  Info.Listed = true;
  ++FListings;
  const auto Listing = FFiles.OpenFolder(Folder);
  if (!Listing) return;
  const std::uint64_t Settled = Listing->StampsFollowEntries() ? Listing->SettledStamp() : 0;
  const std::uint64_t Stamp = FShared && FShared->HasRoom() ? Settled : 0;
  // Listed with the stamp the index holds: the walk may take it from the index.
  TFolderIndex::TFolderView View;
  if (Settled != 0 && FIndexed && FIndexed->FindIndexed(Number, View) && View.Stamp == Settled)
    FConfirmed.push_back(Number);
  std::vector<TFileEntry> Entries;
  TFileEntry Entry;
  while (Listing->Next(Entry)) {
    if (Info.Wanted.count(Entry.Name) && (!FDetails || Listing->ReadDetails(Entry)))
      Info.Found.emplace(Entry.Name, Entry);
    if (Stamp != 0 && Entry.Name != "." && Entry.Name != "..") Entries.push_back(Entry);
  }
  if (Stamp != 0) FShared->Keep(Folder, Stamp, std::move(Entries));
}

namespace {
// Folders kept open for their candidates at once; past this, candidates are looked up by path.
constexpr std::size_t OpenLimit = 64;
}  // namespace

void TCandidateLookup::CheckIndex(std::uint32_t Folder, const std::string& Path, TFolder& Info) {
  Info.Checked = true;
  TFolderIndex::TFolderView View;
  // Where a listing gives sizes and times and a single look-up is dear (Windows), a folder whose
  // candidates need them is listed instead.
  if (!FIndexed || FOpen >= OpenLimit || (FDetails && FFiles.FindEntryCost() > 1) ||
      !FIndexed->FindIndexed(Folder, View))
    return;
  // Only a folder on a disk whose stamps follow its entries was indexed. Candidates that need nothing
  // but to exist need no folder opened: its stamp is read by its path, where a look-up is cheap.
  if (!FDetails && FFiles.FindEntryCost() <= 1) {
    TFileEntry Own;
    if (!FFiles.FindEntry(Path, Own) || Own.Stamp != View.Stamp) return;
  } else {
    std::unique_ptr<TFolderListing> Open = FFiles.OpenFolderUnlisted(Path);
    if (!Open || Open->SettledStamp() != View.Stamp) return;
    Info.Open = std::move(Open);
    ++FOpen;
  }
  Info.Indexed = true;
  FConfirmed.push_back(Folder);
  Info.Items.assign(View.Items, View.Items + View.Count);
  std::sort(Info.Items.begin(), Info.Items.end());
}

bool TCandidateLookup::FindIndexed(TFolder& Info, std::string_view Name, std::uint32_t Line, TFileEntry& Entry) {
  // Items sort by line first: the item of Line, whatever its kind bits.
  const auto At = std::lower_bound(Info.Items.begin(), Info.Items.end(), TFolderIndex::Item(Line, false, false));
  // The entry's storage is reused: this runs for every candidate.
  Entry.Size = 0;
  Entry.Time = 0.0;
  Entry.Stamp = 0;
  if (At == Info.Items.end() || TFolderIndex::LineOf(*At) != Line) {
    Entry.Name.clear();
    Entry.Attributes = 0;
    return false;  // the folder is as it was when it lacked this name: gone
  }
  Entry.Name.assign(Name);
  Entry.Attributes = (*At & TFolderIndex::ikDirectory ? std::uint32_t(faDirectory) : 0u) |
                     (*At & TFolderIndex::ikLink ? std::uint32_t(faReparsePoint) : 0u);
  Entry.DetailsKnown = false;
  if (FDetails && !Info.Open->ReadDetails(Entry)) {
    Entry.Name.clear();
    return false;
  }
  return true;
}

TFolderListing* TCandidateLookup::OpenedFolder(std::uint32_t Folder) {
  if (FDone && FDoneFolder == Folder) return FDone.get();
  const auto It = FFolders.find(Folder);
  return It == FFolders.end() ? nullptr : It->second.Open.get();
}

bool TCandidateLookup::Find(std::uint32_t Folder, const std::string& Path, std::size_t NameStart, TFileEntry& Entry,
                            std::uint32_t Line) {
  const auto It = FFolders.find(Folder);
  if (It == FFolders.end()) return FFiles.FindEntry(Path, Entry);
  TFolder& Info = It->second;
  if (FDone && FDoneFolder != Folder) FDone.reset();
  if (!Info.Checked && !Info.Listed && Line != UINT32_MAX)
    CheckIndex(Folder, Path.substr(0, NameStart > 0 ? NameStart - 1 : 0), Info);
  if (Info.Indexed) {
    const bool Found = FindIndexed(Info, std::string_view(Path).substr(NameStart), Line, Entry);
    if (Info.Remaining > 0 && --Info.Remaining == 0) {
      Info.Indexed = false;
      // Kept until the next folder's turn: the last candidate is still read through it.
      if (Info.Open) --FOpen;
      FDone = std::move(Info.Open);
      FDoneFolder = Folder;
      std::vector<std::uint32_t>().swap(Info.Items);
      Info.Wanted.clear();
    }
    return Found;
  }
  if (!Info.Listed && !WorthListing(Info)) return FFiles.FindEntry(Path, Entry);
  if (!Info.Listed) List(Folder, Path.substr(0, NameStart > 0 ? NameStart - 1 : 0), Info);
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
