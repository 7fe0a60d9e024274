#include "search/FolderWalk.h"

namespace {

// "." or "..": compared by hand, as this runs for every entry of the walk.
bool IsDotEntry(const std::string& Name) {
  return !Name.empty() && Name[0] == '.' && (Name.size() == 1 || (Name.size() == 2 && Name[1] == '.'));
}

// An entry's details and bytes, reached through the listing it came from (no lookup of its path).
class TListingAccess : public TEntryAccess {
 public:
  explicit TListingAccess(TFolderListing& Listing) : FListing(Listing) {}
  bool ReadDetails(TFileEntry& Entry) override { return FListing.ReadDetails(Entry); }
  std::unique_ptr<TFileReader> OpenFile(const TFileEntry& Entry) override { return FListing.OpenFile(Entry.Name); }

 private:
  TFolderListing& FListing;
};

// The entries of one folder of the walk, from its listing or from the cache pass's listing of it
// (Replay), read a few ahead of their handling: the cache's place for each is fetched from memory while
// those before it are handled (with a large cache it is nearly always far from every processor cache).
class TFolderEntries {
 public:
  TFolderEntries(TFolderListing& Listing, std::vector<TFileEntry>* Replay, TSearchCache& Cache, std::string_view Folder)
      : FListing(Listing), FReplay(Replay), FCache(Cache), FFolder(Folder) {}

  // The next entry, or null at the end; valid until the next call.
  TFileEntry* Next() {
    if (FCount > 0) {
      FHead = (FHead + 1) % Ahead;
      --FCount;
    }
    while (!FEnded && FCount < Ahead) {
      TFileEntry& Entry = FQueue[(FHead + FCount) % Ahead];
      if (!Read(Entry)) {
        FEnded = true;
        break;
      }
      FCache.Prefetch(FFolder, Entry.Name);
      ++FCount;
    }
    return FCount > 0 ? &FQueue[FHead] : nullptr;
  }

 private:
  static constexpr std::size_t Ahead = 8;
  bool Read(TFileEntry& Entry) {
    if (!FReplay) return FListing.Next(Entry);
    if (FReplayed == FReplay->size()) return false;
    Entry = std::move((*FReplay)[FReplayed++]);
    return true;
  }

  TFolderListing& FListing;
  std::vector<TFileEntry>* FReplay;
  TSearchCache& FCache;
  std::string_view FFolder;
  TFileEntry FQueue[Ahead];
  std::size_t FHead = 0, FCount = 0, FReplayed = 0;
  bool FEnded = false;
};

}  // namespace

void TFolderWalk::Run(TResultSink& Results, TSearchProgress& Progress, TSharedListings& Shared) {
  FResults = &Results;
  FProgress = &Progress;
  FCounts = TCounts();
  FCounts.LastRefresh = FClock.TickCount();
  // Depth first like a recursive walk (a folder's entries, then each of its subfolders in the order
  // met), but with an explicit stack so that very deep trees cannot exhaust the thread's stack. A
  // subfolder is opened relative to its open parent, never by a path resolved from the root again.
  Shared.Drop(FRoot.Full);  // the root's stamp is met in no listing of the walk
  std::vector<TLevel> Stack(1);
  Stack.back().Path = FRoot.Full;
  if (!Progress.Cancelled()) Stack.back().Folder = FFiles.OpenFolder(FRoot.Full);
  ListFolder(Stack.back(), false, Shared);
  while (!Stack.empty()) {
    TLevel& Top = Stack.back();
    if (Top.Next == Top.Subfolders.size()) {
      Stack.pop_back();
      continue;
    }
    const bool FromShared = Top.Shared[Top.Next];
    const std::string& Name = Top.Subfolders[Top.Next++];
    TLevel Child;
    Child.Path.reserve(Top.Path.size() + 1 + Name.size());
    Child.Path.append(Top.Path).append(1, FRoot.Delimiter).append(Name);
    if (!Progress.Cancelled())
      Child.Folder = FromShared ? Top.Folder->OpenSubfolderUnlisted(Name) : Top.Folder->OpenSubfolder(Name);
    if (Top.Next == Top.Subfolders.size()) Top.Folder.reset();  // no more subfolders to open from it
    ListFolder(Child, FromShared, Shared);
    if (!Child.Subfolders.empty()) Stack.push_back(std::move(Child));
  }
  Shared.Clear();
  FResults = nullptr;
  FProgress = nullptr;
}

void TFolderWalk::ListFolder(TLevel& Level, bool Shared, TSharedListings& Listings) {
  ++FCounts.Folders;
  if (!Level.Folder) {
    if (Shared) Listings.Drop(Level.Path);
    return;
  }
  TFolderListing& Listing = *Level.Folder;
  const bool Replay = Shared && Listings.Take(Level.Path, FReplay);
  FFolderPrefix.assign(Level.Path).append(1, FRoot.Delimiter);
  TFolderEntries Entries(Listing, Replay ? &FReplay : nullptr, FCache, FFolderPrefix);
  const std::string Shown = FRoot.ShownFolder(Level.Path);
  while (!FProgress->Cancelled()) {
    TFileEntry* Next = Entries.Next();
    if (!Next) break;
    TFileEntry& Entry = *Next;
    if (!IsDotEntry(Entry.Name)) {
      ++FCounts.Entries;
      // A name that fails the test costs no path, unless the cache records every path met.
      const bool NamePasses = FTests.PassesName(Entry.Name);
      if (NamePasses || FCache.Recording()) {
        FPath.assign(FFolderPrefix).append(Entry.Name);
        ProcessEntry(Shown, Entry, Listing, NamePasses);
      }
      // A link to a folder is listed but not entered: it may lead back up the tree.
      if (Entry.IsDirectory() && !Entry.IsLink()) {
        const bool Holds = !Listings.Empty() && SharedListingHolds(Level, Entry, Replay, Listings);
        Level.Subfolders.push_back(Entry.Name);
        Level.Shared.push_back(Holds);
      }
    }
    FProgress->Pump();
    RefreshProgress(Shown);
  }
  if (Replay) FReplay.clear();
  if (Level.Subfolders.empty()) {
    Level.Folder.reset();
  } else {
    Listing.EndListing();
  }
}

bool TFolderWalk::SharedListingHolds(TLevel& Level, TFileEntry& Entry, bool Replayed, TSharedListings& Listings) {
  FSubfolderPath.assign(Level.Path).append(1, FRoot.Delimiter).append(Entry.Name);
  const std::uint64_t Kept = Listings.StampOf(FSubfolderPath);
  if (Kept == 0) return false;
  // A replayed entry's details date from the cache pass's listing: only a stamp read now tells (far
  // cheaper than listing the folder again, which is what a subfolder not shared costs).
  const bool Fresh =
      Entry.DetailsKnown ? !Replayed || Level.Folder->ReadStamp(Entry) : Level.Folder->ReadDetails(Entry);
  if (Fresh && Entry.Stamp == Kept) return true;
  Listings.Drop(FSubfolderPath);
  return false;
}

void TFolderWalk::ProcessEntry(const std::string& Shown, TFileEntry& Entry, TFolderListing& Listing, bool NamePasses) {
  const TCacheHit Hit = FCache.Record(FPath);
  // A match that the cache pass listed is not listed again, nor read again. A cached match that the
  // cache pass did not list (its lookup failed, or a name differing only in case shares its cache
  // line) is the walk's to list.
  if (!NamePasses || ListedByCachePass(Hit)) return;
  if (FVerdicts.AnyNoText() && FoundWithoutText(Hit, Entry, Listing)) return;
  TListingAccess Access(Listing);
  if (FTests.Judge(Entry, Access) == tvMatch) AddResultRow(*FResults, Shown, Entry, FCounts.TotalBytes);
}

bool TFolderWalk::ListedByCachePass(const TCacheHit& Hit) {
  if (Hit.SamePath && FVerdicts.ListedLine(Hit.Line)) return true;
  if (!FVerdicts.HasKeys()) return false;
  FKey.assign(FPath);
  FFiles.PathKey(FKey);
  const std::int64_t Line = FVerdicts.LineOfKey(FKey);
  if (Line < 0) return false;
  if (Line != Hit.Line) FCache.RespellPath(static_cast<std::size_t>(Line), FPath);
  return true;
}

bool TFolderWalk::FoundWithoutText(const TCacheHit& Hit, TFileEntry& Entry, TFolderListing& Listing) {
  if (!Hit.SamePath) return false;
  const TCacheVerdicts::TTestedFile* Tested = FVerdicts.NoTextAt(Hit.Line);
  if (!Tested) return false;
  // Its size and stamp tell whether it is the file tested; reading them costs far less than the file.
  if (!Entry.DetailsKnown && !Listing.ReadDetails(Entry)) return false;
  return Entry.Size == Tested->Size && Entry.Stamp == Tested->Stamp;
}

void TFolderWalk::RefreshProgress(const std::string& Shown) {
  if (static_cast<std::uint32_t>(FClock.TickCount() - FCounts.LastRefresh) <= RefreshInterval) return;
  TSearchReport Progress;
  Progress.Stage = ssWalking;
  Progress.EntriesSeen = FCounts.Entries;
  Progress.FoldersSeen = FCounts.Folders;
  Progress.Folder = Shown;
  FProgress->Report(Progress);
  FCounts.LastRefresh = FClock.TickCount();
}
