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
  TLevel& Root = Stack.back();
  Root.Path = FRoot.Full;
  TSource RootSource = wsListing;
  if (!Progress.Cancelled()) {
    Root.Folder = FFiles.OpenFolder(FRoot.Full);
    // The root's own stamp, read before its entries, tells whether the index still holds for it.
    TFolderIndex::TFolderView View;
    FBuffers.ChildPrefix.assign(FRoot.Full).append(1, FRoot.Delimiter);
    const std::uint32_t Folder =
        FCache.Index().Empty() ? TSFCList::NoFolder : FCache.List().FindFolder(FBuffers.ChildPrefix);
    if (Root.Folder && FCache.FindIndexed(Folder, View) && Root.Folder->StampsFollowEntries() &&
        Root.Folder->SettledStamp() == View.Stamp) {
      RootSource = ListedForStamps(View) ? wsListing : wsIndex;
      Root.Indexed = Folder;
    }
  }
  ListFolder(Root, RootSource, Shared);
  while (!Stack.empty()) {
    TLevel& Top = Stack.back();
    if (Top.Next == Top.Subfolders.size()) {
      Stack.pop_back();
      continue;
    }
    const TSubfolder& Sub = Top.Subfolders[Top.Next++];
    TLevel Child;
    Child.Path.reserve(Top.Path.size() + 1 + Sub.Name.size());
    Child.Path.append(Top.Path).append(1, FRoot.Delimiter).append(Sub.Name);
    // After a cancel request each queued folder still counts, but none is opened.
    if (!Progress.Cancelled()) {
      if (Sub.Source == wsIndex) {
        Child.Parent = Top.Folder.get();
        Child.Name = Sub.Name;
        Child.Indexed = Sub.Indexed;
      } else {
        Child.Folder =
            Sub.Source == wsListing ? Top.Folder->OpenSubfolder(Sub.Name) : Top.Folder->OpenSubfolderUnlisted(Sub.Name);
      }
    }
    ListFolder(Child, Sub.Source, Shared);
    Child.Parent = nullptr;
    if (Top.Next == Top.Subfolders.size()) Top.Folder.reset();  // no more subfolders to open from it
    if (!Child.Subfolders.empty()) Stack.push_back(std::move(Child));
  }
  Shared.Clear();
  FResults = nullptr;
  FProgress = nullptr;
}

void TFolderWalk::ListFolder(TLevel& Level, TSource Source, TSharedListings& Listings) {
  ++FCounts.Folders;
  if (!Level.Folder && !Level.Parent) {
    if (Source == wsShared) Listings.Drop(Level.Path);
    return;
  }
  FBuffers.FolderPrefix.assign(Level.Path).append(1, FRoot.Delimiter);
  const std::string Shown = FRoot.ShownFolder(Level.Path);
  if (Source == wsIndex) {
    ListIndexed(Level, Shown, Listings);
  } else {
    TFolderListing& Listing = *Level.Folder;
    // The folder's settled stamp, read before its entries: with them it goes into the index.
    std::uint64_t Stamp = Source == wsShared ? Listings.StampOf(Level.Path) : 0;
    const bool Replay = Source == wsShared && Listings.Take(Level.Path, FBuffers.Replay);
    if (!Replay) Stamp = FCache.Recording() && Listing.StampsFollowEntries() ? Listing.SettledStamp() : 0;
    bool Indexable = Stamp != 0;
    FBuffers.Items.clear();
    TFolderEntries Entries(Listing, Replay ? &FBuffers.Replay : nullptr, FCache, FBuffers.FolderPrefix);
    bool Whole = false;
    while (!FProgress->Cancelled()) {
      TFileEntry* Next = Entries.Next();
      if (!Next) {
        Whole = true;
        break;
      }
      TFileEntry& Entry = *Next;
      if (!IsDotEntry(Entry.Name)) {
        ++FCounts.Entries;
        // A name that fails the test costs no path, unless the cache records every path met.
        const bool NamePasses = FTests.PassesName(Entry.Name);
        if (NamePasses || FCache.Recording()) {
          FBuffers.Path.assign(FBuffers.FolderPrefix).append(Entry.Name);
          const TCacheHit Hit = FCache.Record(FBuffers.Path);
          Indexable = Indexable && Hit.SamePath && Hit.Line >= 0 && Hit.Line <= TFolderIndex::MaxLine;
          if (Indexable)
            FBuffers.Items.push_back(
                TFolderIndex::Item(static_cast<std::uint32_t>(Hit.Line), Entry.IsDirectory(), Entry.IsLink()));
          if (NamePasses && NotJudgedYet(Hit, Entry)) Judge(Shown, Entry, Listing);
        }
        // A link to a folder is listed but not entered: it may lead back up the tree.
        if (Entry.IsDirectory() && !Entry.IsLink())
          Level.Subfolders.push_back(SubfolderOf(Level, Entry, Replay, false, Listings));
      }
      FProgress->Pump();
      RefreshProgress(Shown);
    }
    if (Replay) FBuffers.Replay.clear();
    // Only a folder listed whole, each entry on a line of its own, is worth indexing.
    if (Whole && FCache.Recording()) FCache.IndexFolder(FBuffers.FolderPrefix, Indexable ? Stamp : 0, FBuffers.Items);
  }
  if (Level.Subfolders.empty()) {
    Level.Folder.reset();
  } else if (Level.Folder) {
    Level.Folder->EndListing();
  }
}

TFolderListing* TFolderWalk::Opened(TLevel& Level) {
  if (!Level.Folder && Level.Parent) {
    Level.Folder = Level.Parent->OpenSubfolderUnlisted(std::string(Level.Name));
    Level.Parent = nullptr;
  }
  return Level.Folder.get();
}

void TFolderWalk::ListIndexed(TLevel& Level, const std::string& Shown, TSharedListings& Listings) {
  // The folder was found in the index, its entries checked, when its stamp was compared.
  TFolderIndex::TFolderView View;
  if (!FCache.Index().Find(Level.Indexed, View)) return;
  FBuffers.Items.assign(View.Items, View.Items + View.Count);
  const TSFCList& List = FCache.List();
  TFileEntry Entry;
  for (std::size_t I = 0; I < FBuffers.Items.size() && !FProgress->Cancelled(); ++I) {
    const std::uint32_t Item = FBuffers.Items[I];
    const std::uint32_t Line = TFolderIndex::LineOf(Item);
    const std::string_view Name = List.NameOf(Line);
    ++FCounts.Entries;
    const bool NamePasses = FTests.PassesName(Name);
    const bool Descend = (Item & (TFolderIndex::ikDirectory | TFolderIndex::ikLink)) == TFolderIndex::ikDirectory;
    if (!NamePasses && !Descend) {
      FProgress->Pump();
      RefreshProgress(Shown);
      continue;  // a name that fails the test costs nothing more
    }
    // As a listing gives it: the name and the kind, the details left to be read when needed.
    Entry.Name.assign(Name);
    Entry.Size = 0;
    Entry.Time = 0.0;
    Entry.Stamp = 0;
    Entry.DetailsKnown = false;
    Entry.Attributes = (Item & TFolderIndex::ikDirectory ? std::uint32_t(faDirectory) : 0u) |
                       (Item & TFolderIndex::ikLink ? std::uint32_t(faReparsePoint) : 0u);
    if (NamePasses) {
      FBuffers.Path.assign(FBuffers.FolderPrefix).append(Name);
      if (NotJudgedYet(TCacheHit{Line, true}, Entry)) {
        TFolderListing* Listing = Opened(Level);
        if (!Listing) break;  // gone since its stamp was read
        Judge(Shown, Entry, *Listing);
      }
    }
    if (Descend) {
      if (!Opened(Level)) break;
      Level.Subfolders.push_back(SubfolderOf(Level, Entry, false, true, Listings));
    }
    FProgress->Pump();
    RefreshProgress(Shown);
  }
}

TFolderWalk::TSubfolder TFolderWalk::SubfolderOf(TLevel& Level, TFileEntry& Entry, bool Replayed, bool Indexed,
                                                 TSharedListings& Listings) {
  TFolderIndex::TFolderView View;
  FBuffers.ChildPrefix.assign(FBuffers.FolderPrefix).append(Entry.Name).append(1, FRoot.Delimiter);
  const std::uint32_t Folder =
      FCache.Index().Empty() ? TSFCList::NoFolder : FCache.List().FindFolder(FBuffers.ChildPrefix);
  if (FCache.FindIndexed(Folder, View)) {
    // The cache pass met its stamp moments ago. The stamp the parent's own listing gave is as fresh as
    // that listing; one from an older listing (the cache pass's, or the index's, which gives none) is
    // read now.
    const bool Holds = FVerdicts.IsConfirmed(Folder) ||
                       ((Entry.DetailsKnown && !Replayed && !Indexed ? true : Level.Folder->ReadStamp(Entry)) &&
                        Entry.Stamp == View.Stamp);
    if (Holds && !ListedForStamps(View)) {
      if (!Listings.Empty()) Listings.Drop(FBuffers.ChildPrefix.substr(0, FBuffers.ChildPrefix.size() - 1));
      return TSubfolder{Entry.Name, wsIndex, Folder};
    }
    if (Holds) return TSubfolder{Entry.Name, wsListing, TSFCList::NoFolder};
  }
  const TSource Source =
      !Listings.Empty() && SharedListingHolds(Level, Entry, Replayed || Indexed, Listings) ? wsShared : wsListing;
  return TSubfolder{Entry.Name, Source, TSFCList::NoFolder};
}

bool TFolderWalk::ListedForStamps(const TFolderIndex::TFolderView& View) const {
  const double Lookup = FFiles.FindEntryCost();
  if (Lookup <= 1) return false;
  std::size_t Subfolders = 0;
  for (std::uint32_t I = 0; I < View.Count; ++I)
    Subfolders += (View.Items[I] & (TFolderIndex::ikDirectory | TFolderIndex::ikLink)) == TFolderIndex::ikDirectory;
  return static_cast<double>(Subfolders) * Lookup > static_cast<double>(View.Count);
}

bool TFolderWalk::SharedListingHolds(TLevel& Level, TFileEntry& Entry, bool Replayed, TSharedListings& Listings) {
  const std::string Path = FBuffers.ChildPrefix.substr(0, FBuffers.ChildPrefix.size() - 1);
  const std::uint64_t Kept = Listings.StampOf(Path);
  if (Kept == 0) return false;
  // A replayed entry's details date from the cache pass's listing: only a stamp read now tells (far
  // cheaper than listing the folder again, which is what a subfolder not shared costs).
  const bool Fresh =
      Entry.DetailsKnown ? !Replayed || Level.Folder->ReadStamp(Entry) : Level.Folder->ReadDetails(Entry);
  if (Fresh && Entry.Stamp == Kept) return true;
  Listings.Drop(Path);
  return false;
}

bool TFolderWalk::NotJudgedYet(const TCacheHit& Hit, const TFileEntry& Entry) {
  // A match that the cache pass listed is not listed again, nor read again. A cached match that the
  // cache pass did not list (its lookup failed, or a name differing only in case shares its cache
  // line) is the walk's to list.
  return !ListedByCachePass(Hit) && !RejectedByCachePass(Hit, Entry);
}

void TFolderWalk::Judge(const std::string& Shown, TFileEntry& Entry, TFolderListing& Listing) {
  TListingAccess Access(Listing);
  if (FTests.Judge(Entry, Access) == tvMatch) AddResultRow(*FResults, Shown, Entry, FCounts.TotalBytes);
}

bool TFolderWalk::ListedByCachePass(const TCacheHit& Hit) {
  if (Hit.SamePath && FVerdicts.ListedLine(Hit.Line)) return true;
  if (!FVerdicts.HasKeys()) return false;
  FBuffers.Key.assign(FBuffers.Path);
  FFiles.PathKey(FBuffers.Key);
  const std::int64_t Line = FVerdicts.LineOfKey(FBuffers.Key);
  if (Line < 0) return false;
  if (Line != Hit.Line) FCache.RespellPath(static_cast<std::size_t>(Line), FBuffers.Path);
  return true;
}

bool TFolderWalk::RejectedByCachePass(const TCacheHit& Hit, const TFileEntry& Entry) {
  if (!Hit.SamePath || !FVerdicts.AnyRejected()) return false;
  const TCacheVerdicts::TTestedFile* Tested = FVerdicts.RejectedAt(Hit.Line);
  if (!Tested) return false;
  // Judged moments ago on what the disk said then; where the walk has the details at no cost, they
  // tell whether it is still the file judged.
  return !Entry.DetailsKnown || (Entry.Size == Tested->Size && Entry.Stamp == Tested->Stamp);
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
