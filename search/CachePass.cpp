#include "search/CachePass.h"

#include <algorithm>
#include <memory>

namespace {

// A candidate's details and bytes, reached by its path.
class TPathAccess : public TEntryAccess {
 public:
  // Folder, when the candidate was found through its folder opened (the index held it), reaches it
  // relative to that folder, as the walk would.
  TPathAccess(TFileSystem& Files, const std::string& Path, TFolderListing* Folder)
      : FFiles(Files), FPath(Path), FFolder(Folder) {}
  bool ReadDetails(TFileEntry& Entry) override {
    if (Entry.DetailsKnown) return true;
    if (FFolder) return FFolder->ReadDetails(Entry);
    TFileEntry Found;
    if (!FFiles.FindEntry(FPath, Found)) return false;
    Found.Name = std::move(Entry.Name);
    Entry = std::move(Found);
    return true;
  }
  // The content is read where the file is: the cached spelling, which a case-sensitive file system needs
  // (a folder the index holds spells its names as the disk does).
  std::unique_ptr<TFileReader> OpenFile(const TFileEntry& Entry) override {
    return FFolder ? FFolder->OpenFile(Entry.Name) : FFiles.OpenFile(FPath);
  }

 private:
  TFileSystem& FFiles;
  const std::string& FPath;
  TFolderListing* FFolder;
};

bool IsAscii(std::string_view Text) {
  return std::all_of(Text.begin(), Text.end(), [](char C) { return static_cast<unsigned char>(C) < 0x80; });
}

}  // namespace

void TCachePass::Report(TSearchStage Stage, int Position) {
  TSearchReport Progress;
  Progress.Stage = Stage;
  Progress.Position = Position;
  FProgress->Report(Progress);
}

void TCachePass::Run(TResultSink& Results, TSearchProgress& Progress, TSharedListings& Shared) {
  FResults = &Results;
  FProgress = &Progress;
  Report(ssCachePassBegins);
  FVerdicts.Reset(FList.Count());
  FShown.Rows = false;
  FShown.Counts = false;
  std::vector<std::uint32_t> Candidates;
  // The content test's answers are kept for the walk with the size and stamp of the file tested.
  TCandidateLookup Lookup(FFiles, &Shared, FTests.ReadsDetails() || FTests.HasContentText(), &FCache);
  if (CollectCandidates(Candidates, Lookup)) {
    // The counts show before the candidates are put in order, which can take a while for many paths
    // added since the last save (those a saved file gave are in order already).
    if (!Candidates.empty()) {
      std::string First;
      FList.TextInto(Candidates.front(), First);
      ShowCounts(0, Candidates.size(), First, FList.FolderLength(FList.FolderOf(Candidates.front())));
    }
    FList.SortIndexes(Candidates);
    int LastPosition = 0;
    TFileEntry Entry;
    std::string Path;
    for (std::size_t I = 0; I < Candidates.size() && !Progress.Cancelled(); ++I) {
      const std::uint32_t Line = Candidates[I];
      const std::uint32_t Folder = FList.FolderOf(Line);
      FList.TextInto(Line, Path);
      const std::size_t NameStart = FList.FolderLength(Folder);
      ShowCounts(I, Candidates.size(), Path, NameStart);
      if (Lookup.Find(Folder, Path, NameStart, Entry, Line) && !Entry.Name.empty())
        ListCachedEntry(Line, Path, NameStart, Entry, Lookup.OpenedFolder(Folder));
      const int Position = static_cast<int>(I * 100 / Candidates.size());
      if (Position != LastPosition) {
        Report(ssCachePass, Position);
        LastPosition = Position;
      }
      Progress.Pump();
    }
  }
  for (const std::uint32_t Folder : Lookup.Confirmed()) FVerdicts.Confirmed(Folder);
  FResults = nullptr;
  FProgress = nullptr;
}

bool TCachePass::CollectCandidates(std::vector<std::uint32_t>& Candidates, TCandidateLookup& Lookup) {
  // Which cached folders lie under the root is decided once per folder, the way the file system
  // compares paths: folded on Windows, exact where case tells names apart.
  std::string RootKey = FRoot.Full + FRoot.Delimiter, Key;
  const std::size_t RootLength = RootKey.size();
  FFiles.PathKey(RootKey);
  // A folder is kept below its parent, which comes before it: one at the root's length is compared,
  // one longer is inside when its parent is.
  std::vector<bool> Inside(FList.FolderCount());
  for (std::uint32_t Folder = 0; Folder < FList.FolderCount(); ++Folder) {
    const std::size_t Length = FList.FolderLength(Folder);
    if (Length > RootLength) {
      const std::uint32_t Parent = FList.ParentOf(Folder);
      Inside[Folder] = Parent != TSFCList::NoFolder && Inside[Parent];
    } else if (Length == RootLength) {
      FList.FolderTextInto(Folder, Key);
      FFiles.PathKey(Key);
      Inside[Folder] = Key == RootKey;
    }
    if ((Folder & 65535) == 65535 && FProgress->Cancelled()) return false;
  }
  for (std::size_t I = 0; I < FList.Count(); ++I) {
    if ((I & 4095) == 4095) {
      FProgress->Pump();
      if (FProgress->Cancelled()) return false;
    }
    const std::uint32_t Folder = FList.FolderOf(I);
    if (Folder == TSFCList::NoFolder || !Inside[Folder]) continue;
    Lookup.CountCachedPath(Folder);
    const std::string_view Name = FList.NameOf(I);
    if (!Name.empty() && FTests.PassesName(Name)) {
      Candidates.push_back(static_cast<std::uint32_t>(I));
      Lookup.AddCandidate(Folder, Name);
    }
  }
  return !FProgress->Cancelled();
}

void TCachePass::ListCachedEntry(std::uint32_t Line, const std::string& Path, std::size_t NameStart, TFileEntry& Entry,
                                 TFolderListing* Folder) {
  // Candidates of one folder come one after the other: what the folder's rows share is made once. A
  // row shows the root as the disk spells it and the folders below it as the walk met them; the name
  // comes from the disk in its own spelling.
  const std::string_view Below = std::string_view(Path).substr(FRoot.Full.size(), NameStart - 1 - FRoot.Full.size());
  if (!FFolder.Known || FFolder.BelowRoot != Below) {
    FFolder.BelowRoot.assign(Below);
    FFolder.Shown = FRoot.ShownFolder(FRoot.Full + FFolder.BelowRoot);
    FFolder.Ascii = IsAscii(std::string_view(Path).substr(0, NameStart));
    FFolder.Known = true;
  }
  std::string Key;
  if (!FFolder.Ascii || !IsAscii(Entry.Name)) {
    // A file may be cached under two spellings that only the file system takes for one: listed once.
    Key.assign(Path, 0, NameStart).append(Entry.Name);
    FFiles.PathKey(Key);
    if (FVerdicts.LineOfKey(Key) >= 0) return;
  }
  if (!FTests.PassesName(Entry.Name)) return;  // the disk's spelling may differ from the cached one
  TPathAccess Access(FFiles, Path, Folder);
  const TVerdict Verdict = FTests.Judge(Entry, Access);
  if (Verdict != tvMatch) {
    // The walk need not judge again a file judged on its own details or bytes, as long as it is the
    // same file (a link's own stamp does not tell whether its target changed).
    if (Verdict == tvRejected && Entry.DetailsKnown && Entry.Stamp != 0 && !Entry.IsLink())
      FVerdicts.Rejected(Line, Entry.Size, Entry.Stamp);
    return;
  }
  AddResultRow(*FResults, FFolder.Shown, Entry, FTotalBytes);
  FVerdicts.Listed(Line, std::move(Key));
  ShowRowsSoFar();
}

void TCachePass::ShowCounts(std::size_t Checked, std::size_t Candidates, const std::string& Path,
                            std::size_t NameStart) {
  const std::uint32_t Now = FClock.TickCount();
  if (FShown.Counts && static_cast<std::uint32_t>(Now - FShown.CountsAt) <= RefreshInterval) return;
  FShown.Counts = true;
  FShown.CountsAt = Now;
  const std::string Folder =
      FRoot.ShownFolder(FRoot.Full + Path.substr(FRoot.Full.size(), NameStart - 1 - FRoot.Full.size()));
  TSearchReport Counts;
  Counts.Stage = ssCachePassCounts;
  Counts.Checked = Checked;
  Counts.Candidates = Candidates;
  Counts.Folder = Folder;
  FProgress->Report(Counts);
}

void TCachePass::ShowRowsSoFar() {
  const std::uint32_t Now = FClock.TickCount();
  if (FShown.Rows && static_cast<std::uint32_t>(Now - FShown.RowsAt) <= RefreshInterval) return;
  FShown.Rows = true;
  FShown.RowsAt = Now;
  Report(ssCachePassRows);
}
