#include "search/SearchRun.h"

#include <algorithm>

#include "core/Text.h"

namespace {

// "." or "..": compared by hand, as this runs for every entry of the walk.
bool IsDotEntry(const std::string& Name) {
  return !Name.empty() && Name[0] == '.' && (Name.size() == 1 || (Name.size() == 2 && Name[1] == '.'));
}

// Whether Text holds Lower (lower-case) somewhere, A to Z compared in either case.
bool AsciiContainsText(std::string_view Text, std::string_view Lower) {
  if (Lower.size() > Text.size()) return false;
  const std::size_t Last = Text.size() - Lower.size();
  for (std::size_t Start = 0; Start <= Last; ++Start) {
    if (AsciiLower(Text[Start]) != Lower[0]) continue;
    std::size_t Same = 1;
    while (Same < Lower.size() && AsciiLower(Text[Start + Same]) == Lower[Same]) ++Same;
    if (Same == Lower.size()) return true;
  }
  return false;
}

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

TSearchRun::TSearchRun(const TSearchCriteria& Criteria, TSearchCache& Cache, TFileSystem& Files, TClock& Clock)
    : FCache(Cache),
      FFileSystem(Files),
      FClock(Clock),
      FDelimiter(Files.PathDelimiter()),
      FTypedRoot(Criteria.Folder),
      FShared(Files) {
  SetMask(Criteria.NameText);  // a malformed mask stops here, before anything else
  SetContentText(Criteria.ContentText);
  FMinimumSize = Criteria.MinimumSize.value_or(0);
  FMaximumSize = Criteria.MaximumSize.value_or(UINT64_MAX);
  FEndTime = Clock.Now() + 9999.0;
  if (Criteria.Modified) {
    FStartTime = DateOf(Criteria.Modified->First);
    FEndTime = DateOf(Criteria.Modified->Last) + 1.0;
  }
  const bool CriteriaNeedDetails = Criteria.Modified || FMinimumSize > 0 || FMaximumSize != UINT64_MAX;
  FReadDetails = Criteria.RowsNeedDetails || CriteriaNeedDetails;
  FDetailsBeforeTests = CriteriaNeedDetails || (FReadDetails && FContentText.empty());
}

TSearchRun::~TSearchRun() = default;

void TSearchRun::SetContentText(const std::string& Text) {
  FContentText = AsciiUpperCase(Text);
  FContentTextAnsi.clear();
  bool Lossless = false;
  std::string Ansi = Utf8ToAnsi(FContentText, &Lossless);
  if (Lossless && Ansi != FContentText) FContentTextAnsi = std::move(Ansi);
  if (!FContentText.empty()) FContentSearch.SetTexts(FContentText, FContentTextAnsi);
}

void TSearchRun::SetMask(const std::string& NameText) {
  FMask = std::make_unique<TMask>(MaskTextForSearch(NameText));
  FNameExtension = MaskExtension(NameText);
  FNameLiteral = MaskLiteral(NameText);
  FNameAny = !NameText.empty() && NameText.find_first_not_of('*') == std::string::npos;
}

std::string MaskExtension(const std::string& NameText) {
  const bool Shortcut = NameText.size() >= 2 && NameText.compare(0, 2, "*.") == 0 &&
                        NameText.find('*', 1) == std::string::npos &&
                        NameText.find_first_of("?[(!#", 2) == std::string::npos &&
                        std::all_of(NameText.begin(), NameText.end(), [](char C) { return C > 0; });
  return Shortcut ? AsciiLowerCase(NameText.substr(1)) : std::string();
}

std::string MaskLiteral(const std::string& NameText) {
  if (NameText.size() < 3 || NameText.front() != '*' || NameText.back() != '*') return std::string();
  const std::string_view Inner = std::string_view(NameText).substr(1, NameText.size() - 2);
  for (const char C : Inner)
    if (static_cast<unsigned char>(C) >= 0x80 || std::string_view("*?[(!#").find(C) != std::string_view::npos)
      return std::string();
  return AsciiLowerCase(Inner);
}

TSearchOutcome TSearchRun::Execute(TResultSink& Results, TSearchProgress& Progress) {
  FResults = &Results;
  FProgress = &Progress;
  FLastRefresh = FClock.TickCount();
  // 'C:\' becomes 'C:'. Every trailing separator goes (and "/" is one on Windows): a root such as
  // 'C:\Data\\' would otherwise put a second spelling of each path into the cache, and a later search
  // would list both.
  // The cache holds full paths, so a relative root is resolved for it; rows show the folder as typed.
  const auto WithoutSeparators = [this](std::string Root) {
    while (!Root.empty() && (Root.back() == FDelimiter || (FDelimiter == '\\' && Root.back() == '/'))) Root.pop_back();
    return Root;
  };
  FFullRoot = SpelledAsOnDisk(WithoutSeparators(FFileSystem.FullPath(FTypedRoot)));
  FShownRoot = ShownRootFor(WithoutSeparators(FTypedRoot));

  SearchCache(FFullRoot);
  Report(ssWalkBegins);
  FEntriesSeen = 0;
  WalkFolder(FFullRoot);

  TSearchOutcome Outcome;
  Outcome.EntriesSeen = FEntriesSeen;
  Outcome.FoldersSeen = FFoldersSeen;
  Outcome.TotalBytes = FTotalBytes;
  // Without details the total is known only when every row is a file that the content test opened.
  Outcome.TotalKnown = FReadDetails || !FContentText.empty();
  Outcome.LargeFilesSkipped = FLargeFilesSkipped;
  FResults = nullptr;
  FProgress = nullptr;
  return Outcome;
}

void TSearchRun::Report(TSearchStage Stage, int Position) {
  TSearchReport Progress;
  Progress.Stage = Stage;
  Progress.Position = Position;
  FProgress->Report(Progress);
}

void TSearchRun::RefreshProgress(const std::string& Folder) {
  if (static_cast<std::uint32_t>(FClock.TickCount() - FLastRefresh) <= RefreshInterval) return;
  TSearchReport Progress;
  Progress.Stage = ssWalking;
  Progress.EntriesSeen = FEntriesSeen;
  Progress.FoldersSeen = FFoldersSeen;
  Progress.Folder = Folder;
  FProgress->Report(Progress);
  FLastRefresh = FClock.TickCount();
}

std::string TSearchRun::SpelledAsOnDisk(const std::string& Path) {
  std::string Probe = "Aa";
  FFileSystem.PathKey(Probe);
  if (Probe == "Aa") return Path;  // names compared exactly: what was typed is the disk's spelling
  // The volume ('C:', or '\\server\share') as it is; a drive letter in capitals, as Windows shows it.
  std::string Spelled;
  std::size_t At;
  if (Path.size() >= 2 && Path[1] == ':') {
    Spelled = Path.substr(0, 2);
    Spelled[0] = AsciiUpper(Spelled[0]);
    At = 2;
  } else if (Path.rfind("\\\\", 0) == 0 && Path.find_first_of("?.", 2) != 2) {
    const std::size_t Server = Path.find_first_of("\\/", 2);
    At = Server == std::string::npos ? Server : Path.find_first_of("\\/", Server + 1);
    if (At == std::string::npos) return Path;
    Spelled = Path.substr(0, At);
  } else {
    return Path;
  }
  TFileEntry Entry;
  while (At < Path.size()) {
    const std::size_t End = std::min(Path.find_first_of("\\/", At + 1), Path.size());
    const std::string Name = Path.substr(At + 1, End - At - 1);
    Spelled += Path[At];
    const bool Plain = !Name.empty() && Name != "." && Name != "..";
    Spelled += Plain && FFileSystem.FindEntry(Spelled + Name, Entry) && FFileSystem.SamePath(Entry.Name, Name)
                   ? Entry.Name
                   : Name;
    At = End;
  }
  return Spelled;
}

std::string TSearchRun::ShownRootFor(const std::string& Typed) const {
  if (FFileSystem.FullPath(Typed) == Typed) return FFullRoot;
  // A relative root keeps its form; the folders it names take the disk's spelling, last first.
  std::string Shown = Typed;
  std::size_t ShownEnd = Shown.size(), FullEnd = FFullRoot.size();
  while (ShownEnd > 0 && FullEnd > 0) {
    const std::size_t ShownSep = Shown.find_last_of("\\/", ShownEnd - 1);
    const std::size_t FullSep = FFullRoot.find_last_of("\\/", FullEnd - 1);
    const std::size_t ShownStart = ShownSep == std::string::npos ? 0 : ShownSep + 1;
    const std::size_t FullStart = FullSep == std::string::npos ? 0 : FullSep + 1;
    const std::string Name = Shown.substr(ShownStart, ShownEnd - ShownStart);
    const std::string_view Disk = std::string_view(FFullRoot).substr(FullStart, FullEnd - FullStart);
    if (Name.empty() || Name == "." || Name == ".." || !FFileSystem.SamePath(Name, Disk)) break;
    Shown.replace(ShownStart, Name.size(), Disk);
    if (ShownStart == 0 || FullStart == 0) break;
    ShownEnd = ShownStart - 1;
    FullEnd = FullStart - 1;
  }
  return Shown;
}

void TSearchRun::SearchCache(const std::string& Root) {
  Report(ssCachePassBegins);
  FListedLines.clear();
  FListedByKey.clear();
  FContentFailed.clear();
  FRowsShown = false;
  const TSFCList& List = FCache.List();
  std::vector<std::uint32_t> Candidates;
  FShared.Clear();
  // The content test's answers are kept for the walk with the size and stamp of the file tested.
  TCandidateLookup Lookup(FFileSystem, &FShared, FReadDetails || !FContentText.empty());
  if (!CollectCandidates(Root, Candidates, Lookup)) return;
  // Candidates only need the list's (collated) order: those a saved file gave are in it already.
  List.SortIndexes(Candidates);
  FListedLines.assign(List.Count(), false);
  int LastPosition = 0;
  TFileEntry Entry;
  std::string Path;
  for (std::size_t I = 0; I < Candidates.size() && !Cancelled(); ++I) {
    const std::uint32_t Line = Candidates[I];
    const std::uint32_t Folder = List.FolderOf(Line);
    List.TextInto(Line, Path);
    const std::size_t NameStart = List.FolderText(Folder).size();
    if (Lookup.Find(Folder, Path, NameStart, Entry) && !Entry.Name.empty())
      ListCachedEntry(Root, Line, Path, NameStart, Entry);
    const int Position = static_cast<int>(I * 100 / Candidates.size());
    if (Position != LastPosition) {
      Report(ssCachePass, Position);
      LastPosition = Position;
    }
    FProgress->Pump();
  }
}

bool TSearchRun::CollectCandidates(const std::string& Root, std::vector<std::uint32_t>& Candidates,
                                   TCandidateLookup& Lookup) {
  const TSFCList& List = FCache.List();
  // Which cached folders lie under the root is decided once per folder, the way the file system
  // compares paths: folded on Windows, exact where case tells names apart.
  std::string RootKey = Root + FDelimiter, Key;
  const std::size_t RootLength = RootKey.size();
  FFileSystem.PathKey(RootKey);
  std::vector<bool> Inside(List.FolderCount());
  for (std::uint32_t Folder = 0; Folder < List.FolderCount(); ++Folder) {
    const std::string_view Text = List.FolderText(Folder);
    if (Text.size() < RootLength) continue;
    Key.assign(Text.substr(0, RootLength));
    FFileSystem.PathKey(Key);
    Inside[Folder] = Key == RootKey;
    if ((Folder & 1023) == 1023 && Cancelled()) return false;
  }
  for (std::size_t I = 0; I < List.Count(); ++I) {
    if ((I & 4095) == 4095) {
      FProgress->Pump();
      if (Cancelled()) return false;
    }
    const std::uint32_t Folder = List.FolderOf(I);
    if (Folder == TSFCList::NoFolder || !Inside[Folder]) continue;
    Lookup.CountCachedPath(Folder);
    const std::string_view Name = List.NameOf(I);
    if (!Name.empty() && PassesName(Name)) {
      Candidates.push_back(static_cast<std::uint32_t>(I));
      Lookup.AddCandidate(Folder, Name);
    }
  }
  return !Cancelled();
}

void TSearchRun::ListCachedEntry(const std::string& Root, std::uint32_t Line, const std::string& Path,
                                 std::size_t NameStart, TFileEntry& Entry) {
  // The row shows the root as the disk spells it and the folders below it as the walk met them; the
  // name comes from the disk in its own spelling. The content is read where the file is (the cached
  // spelling, which a case-sensitive file system needs).
  std::string Folder = Root;
  Folder.append(Path, Root.size(), NameStart - 1 - Root.size());
  const bool Plain =
      std::all_of(Path.begin(), Path.begin() + static_cast<std::ptrdiff_t>(NameStart),
                  [](char C) { return static_cast<unsigned char>(C) < 0x80; }) &&
      std::all_of(Entry.Name.begin(), Entry.Name.end(), [](char C) { return static_cast<unsigned char>(C) < 0x80; });
  std::string Key;
  if (!Plain) {
    // A file may be cached under two spellings that only the file system takes for one: listed once.
    Key.assign(Path, 0, NameStart).append(Entry.Name);
    FFileSystem.PathKey(Key);
    if (FListedByKey.count(Key)) return;
  }
  FContentJudged = false;
  if (!ProcessEntryAt(ShownFolder(Folder), Path, Entry, false)) {
    // The walk need not read again a file found without the text, as long as it is the same file (a
    // link's own stamp does not tell whether its target changed).
    if (FContentJudged && Entry.DetailsKnown && Entry.Stamp != 0 && !Entry.IsLink())
      FContentFailed.emplace(Line, TTestedFile{Entry.Size, Entry.Stamp});
    return;
  }
  FListedLines[Line] = true;
  if (!Plain) FListedByKey.emplace(std::move(Key), Line);
  ShowRowsSoFar();
}

void TSearchRun::ShowRowsSoFar() {
  const std::uint32_t Now = FClock.TickCount();
  if (FRowsShown && static_cast<std::uint32_t>(Now - FLastShown) <= RefreshInterval) return;
  FRowsShown = true;
  FLastShown = Now;
  Report(ssCachePassRows);
}

void TSearchRun::WalkFolder(const std::string& Folder) {
  // Depth first like a recursive walk (a folder's entries, then each of its subfolders in the order
  // met), but with an explicit stack so that very deep trees cannot exhaust the thread's stack. A
  // subfolder is opened relative to its open parent, never by a path resolved from the root again.
  FShared.Drop(Folder);  // the root's stamp is met in no listing of the walk
  std::vector<TWalkLevel> Stack(1);
  Stack.back().Path = Folder;
  if (!Cancelled()) Stack.back().Folder = FFileSystem.OpenFolder(Folder);
  ListFolder(Stack.back(), false);
  while (!Stack.empty()) {
    TWalkLevel& Top = Stack.back();
    if (Top.Next == Top.Subfolders.size()) {
      Stack.pop_back();
      continue;
    }
    const bool Shared = Top.Shared[Top.Next];
    const std::string& Name = Top.Subfolders[Top.Next++];
    TWalkLevel Child;
    Child.Path.reserve(Top.Path.size() + 1 + Name.size());
    Child.Path.append(Top.Path).append(1, FDelimiter).append(Name);
    // After a cancel request each queued folder still counts, but none is opened.
    if (!Cancelled()) Child.Folder = Shared ? Top.Folder->OpenSubfolderUnlisted(Name) : Top.Folder->OpenSubfolder(Name);
    if (Top.Next == Top.Subfolders.size()) Top.Folder.reset();  // no more subfolders to open from it
    ListFolder(Child, Shared);
    if (!Child.Subfolders.empty()) Stack.push_back(std::move(Child));
  }
  FShared.Clear();
}

void TSearchRun::ListFolder(TWalkLevel& Level, bool Shared) {
  ++FFoldersSeen;
  if (!Level.Folder) {
    if (Shared) FShared.Drop(Level.Path);
    return;
  }
  TFolderListing& Listing = *Level.Folder;
  const bool Replay = Shared && FShared.Take(Level.Path, FReplay);
  FFolderPrefix.assign(Level.Path).append(1, FDelimiter);
  TFolderEntries Entries(Listing, Replay ? &FReplay : nullptr, FCache, FFolderPrefix);
  const std::string Shown = ShownFolder(Level.Path);
  while (!Cancelled()) {
    TFileEntry* Next = Entries.Next();
    if (!Next) break;
    TFileEntry& Entry = *Next;
    if (!IsDotEntry(Entry.Name)) {
      ++FEntriesSeen;
      // A name that fails the test costs no path, unless the cache records every path met.
      const bool NamePasses = PassesName(Entry.Name);
      if (NamePasses || FCache.Recording()) {
        FPath.assign(FFolderPrefix).append(Entry.Name);
        ProcessNamedEntry(Shown, FPath, Entry, true, &Listing, NamePasses);
      }
      // A link to a folder is listed but not entered: it may lead back up the tree.
      if (Entry.IsDirectory() && !Entry.IsLink()) {
        const bool Holds = !FShared.Empty() && SharedListingHolds(Level, Entry, Replay);
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

bool TSearchRun::SharedListingHolds(TWalkLevel& Level, TFileEntry& Entry, bool Replayed) {
  FSubfolderPath.assign(Level.Path).append(1, FDelimiter).append(Entry.Name);
  const std::uint64_t Kept = FShared.StampOf(FSubfolderPath);
  if (Kept == 0) return false;
  // A replayed entry's details date from the cache pass's listing: only a stamp read now tells (far
  // cheaper than listing the folder again, which is what a subfolder not shared costs).
  const bool Fresh =
      Entry.DetailsKnown ? !Replayed || Level.Folder->ReadStamp(Entry) : Level.Folder->ReadDetails(Entry);
  if (Fresh && Entry.Stamp == Kept) return true;
  FShared.Drop(FSubfolderPath);
  return false;
}

// Folder is what the row shows, Path where the entry really is: a relative root is shown as typed,
// but cached in full.
bool TSearchRun::ProcessEntryAt(const std::string& Folder, const std::string& Path, TFileEntry& Entry, bool CacheMode,
                                TFolderListing* Listing) {
  return ProcessNamedEntry(Folder, Path, Entry, CacheMode, Listing, PassesName(Entry.Name));
}

bool TSearchRun::ProcessNamedEntry(const std::string& Folder, const std::string& Path, TFileEntry& Entry,
                                   bool CacheMode, TFolderListing* Listing, bool NamePasses) {
  const TCacheHit Hit = CacheMode ? FCache.Record(Path) : TCacheHit();
  // A match that the cache pass listed is not listed again, nor read again. A cached match that the
  // cache pass did not list (its lookup failed, or a name differing only in case shares its cache
  // line) is the walk's to list.
  if (!NamePasses || (CacheMode && ListedByCachePass(Path, Hit))) return false;
  if (CacheMode && !FContentFailed.empty() && FailedContentTest(Hit, Entry, Listing)) return false;
  // A listing gives names and kinds; sizes and times cost a call per entry (POSIX), paid only for the
  // names that pass, so a search by name costs little more than the listing itself. A content test
  // that decides first (no size or date criterion) leaves them to the files that contain the text.
  if (!Entry.DetailsKnown && FDetailsBeforeTests && Listing && !Listing->ReadDetails(Entry)) return false;
  if (!PassesSizeTime(Entry.Size, Entry.Time) || !PassesContent(Path, Entry, Listing)) return false;
  if (!Entry.DetailsKnown && FReadDetails && Listing && !Listing->ReadDetails(Entry)) return false;  // gone
  AddResultRow(*FResults, Folder, Entry, FTotalBytes);
  return true;
}

std::string TSearchRun::ShownFolder(std::string_view Folder) const {
  if (FShownRoot == FFullRoot || Folder.compare(0, FFullRoot.size(), FFullRoot) != 0) return std::string(Folder);
  return FShownRoot + std::string(Folder.substr(FFullRoot.size()));
}

bool TSearchRun::ListedByCachePass(const std::string& Path, const TCacheHit& Hit) {
  if (Hit.SamePath && Hit.Line >= 0 && static_cast<std::size_t>(Hit.Line) < FListedLines.size() &&
      FListedLines[static_cast<std::size_t>(Hit.Line)])
    return true;
  if (FListedByKey.empty()) return false;
  FListedKey.assign(Path);
  FFileSystem.PathKey(FListedKey);
  const auto Found = FListedByKey.find(FListedKey);
  if (Found == FListedByKey.end()) return false;
  if (static_cast<std::int64_t>(Found->second) != Hit.Line) FCache.RespellPath(Found->second, Path);
  return true;
}

bool TSearchRun::FailedContentTest(const TCacheHit& Hit, TFileEntry& Entry, TFolderListing* Listing) {
  if (!Hit.SamePath || Hit.Line < 0) return false;
  const auto Tested = FContentFailed.find(static_cast<std::uint32_t>(Hit.Line));
  if (Tested == FContentFailed.end()) return false;
  // Its size and stamp tell whether it is the file tested; reading them costs far less than the file.
  if (!Entry.DetailsKnown && !(Listing && Listing->ReadDetails(Entry))) return false;
  return Entry.Size == Tested->second.Size && Entry.Stamp == Tested->second.Stamp;
}

bool TSearchRun::PassesName(std::string_view Name) {
  if (FNameAny) return true;
  // '*.ext' and '*text*' need no mask.
  if (!FNameExtension.empty())
    return Name.size() >= FNameExtension.size() &&
           AsciiSameText(Name.substr(Name.size() - FNameExtension.size()), FNameExtension);
  if (!FNameLiteral.empty()) return AsciiContainsText(Name, FNameLiteral);
  NameForMask(Name, FTestName);
  return FMask && FMask->MatchFrom(FTestName, 1);
}

bool TSearchRun::PassesSizeTime(std::uint64_t Size, TDateTime Time) const {
  return FMinimumSize <= Size && Size <= FMaximumSize && FStartTime <= Time && Time <= FEndTime;
}

bool TSearchRun::PassesContent(const std::string& Path, TFileEntry& Entry, TFolderListing* Listing) {
  if (FContentText.empty()) return true;
  FContentJudged = true;  // unless the file cannot be opened, below
  if (!Entry.DetailsKnown) {
    if (Entry.IsDirectory()) return false;  // a folder holds no text; a file or a link is opened
  } else if (!Entry.IsLink()) {
    if (Entry.Size >= ContentSizeLimit) {
      FLargeFilesSkipped = true;
      return false;
    }
    if (Entry.Size == 0) return false;  // an empty file (or a folder) holds no text: no need to open it
  }
  const std::unique_ptr<TFileReader> File = Listing ? Listing->OpenFile(Entry.Name) : FFileSystem.OpenFile(Path);
  if (!File) FContentJudged = false;  // perhaps held by another program now: the walk tries again
  if (File && !Entry.DetailsKnown) Entry.Size = File->Size();
  return OpenedFileContainsText(File.get());
}

bool TSearchRun::OpenedFileContainsText(TFileReader* File) {
  // A folder, a pipe or a device is no file: opening it fails at once, so it never contains a text.
  if (!File) return false;
  // Judged by the size of what was opened (a link's target, a file grown since it was listed).
  if (File->Size() >= ContentSizeLimit) {
    FLargeFilesSkipped = true;
    return false;
  }
  return FContentText.empty() || FContentSearch.Contains(*File, File->Size());
}
