#include "search/SearchRun.h"

#include <algorithm>
#include <cmath>

#include "core/Text.h"
#include "search/ResultRows.h"

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

// Puts the run's button and grid back to idle whatever way the run ends; an exception still
// reaches the general error report afterwards.
class TRunGuard {
 public:
  TRunGuard(TSearchHost& Host, const bool& UpdateOpen) : FHost(Host), FUpdateOpen(UpdateOpen) {}
  ~TRunGuard() {
    if (!FArmed) return;
    try {
      FHost.SetButtonCaption(SearchCaption);
      FHost.SetButtonTag(0);
      FHost.SetButtonEnabled(true);
      if (FUpdateOpen) FHost.Results().EndUpdate();
      FHost.ShowProgress(false);
      FHost.SetBusyCursor(false);
    } catch (...) {
      // Already unwinding from the run's own failure: that one is reported.
    }
  }
  void Disarm() { FArmed = false; }

 private:
  TSearchHost& FHost;
  const bool& FUpdateOpen;  // the run's update bracket is open (a refresh closes it for a moment)
  bool FArmed = true;
};

}  // namespace

std::string FormatThousands(std::uint64_t Value, const TFormatSettings& Settings) {
  return GroupDigits(Value, Settings.ThousandSeparator);
}

bool ParseSizeLimit(const std::string& Text, std::uint64_t& Bytes) {
  const auto IsBlank = [](char C) { return C == ' ' || C == '\t'; };
  std::size_t First = 0, End = Text.size();
  while (First < End && IsBlank(Text[First])) ++First;
  while (End > First && IsBlank(Text[End - 1])) --End;
  if (First < End && Text[First] == '+') ++First;
  if (First >= End) return false;
  bool TooLarge = false;
  std::uint64_t Kilobytes = 0;
  for (std::size_t I = First; I < End; ++I) {
    if (Text[I] < '0' || Text[I] > '9') return false;
    const unsigned Digit = static_cast<unsigned>(Text[I] - '0');
    TooLarge = TooLarge || Kilobytes > (UINT64_MAX - Digit) / 10;
    Kilobytes = Kilobytes * 10 + Digit;
  }
  // Past what 64 bits hold, the limit is larger than any file can be.
  Bytes = TooLarge || Kilobytes > UINT64_MAX / 1024 ? UINT64_MAX : Kilobytes * 1024;
  return true;
}

TSearchRun::TSearchRun(TSearchHost& Host, TSearchCache& Cache)
    : FHost(Host),
      FCache(Cache),
      FFileSystem(Host.FileSystem()),
      FDelimiter(Host.FileSystem().PathDelimiter()),
      FShared(Host.FileSystem()) {}

TSearchRun::~TSearchRun() = default;

void TSearchRun::Button1Click(TSearchHost& Host, TSearchCache& Cache) {
  if (Host.ButtonTag() >= 1) {
    Host.SetButtonEnabled(false);
    Host.SetStatus(CancellingText, 0);
    return;
  }
  TSearchRun Run(Host, Cache);
  Run.Execute();
}

void TSearchRun::SetContentText(const std::string& Text) {
  ContentText = AsciiUpperCase(Text);
  FContentTextAnsi.clear();
  bool Lossless = false;
  std::string Ansi = Utf8ToAnsi(ContentText, &Lossless);
  if (Lossless && Ansi != ContentText) FContentTextAnsi = std::move(Ansi);
  if (!ContentText.empty()) FContentSearch.SetTexts(ContentText, FContentTextAnsi);
}

void TSearchRun::SetMask(const std::string& NameText) {
  Mask = std::make_unique<TMask>(MaskTextForSearch(NameText));
  FNameExtension = MaskExtension(NameText);
  FNameLiteral = MaskLiteral(NameText);
  FNameAny = !NameText.empty() && NameText.find_first_not_of('*') == std::string::npos;
}

std::string MaskExtension(const std::string& NameText) {
  const bool Shortcut = NameText.size() >= 2 && NameText.compare(0, 2, "*.") == 0 &&
                        NameText.find('*', 1) == std::string::npos &&
                        NameText.find_first_of("?[(!#", 2) == std::string::npos;
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

void TSearchRun::Execute() {
  const std::string PathText = FHost.PathText();
  if (!FFileSystem.DirectoryExists(PathText)) {
    FHost.ShowMessage(FolderMissingText);
    return;
  }
  Pause = 150;
  TotalBytes = 0;
  std::string NameText = FHost.NameText();
  if (NameText.find_first_of("*?") == std::string::npos) {
    NameText = "*" + NameText + "*";
    FHost.SetNameText(NameText);
  }
  SetMask(NameText);  // a malformed mask stops here, before anything else changes
  TResultSink& Results = FHost.Results();
  Results.BeginUpdate();
  FUpdateOpen = true;
  TRunGuard Guard(FHost, FUpdateOpen);
  // The run is in progress before the first status change pumps messages: an Enter or a click
  // handled there cancels this run instead of starting a second one inside it.
  FHost.SetButtonCaption(CancelCaption);
  FHost.SetButtonTag(1);
  FHost.SetStatus(SearchingText, 0);
  // The last search's counts and total would contradict the emptied grid.
  for (int Panel = 1; Panel <= 3; ++Panel) FHost.SetStatus("", Panel);
  Results.Clear();
  LargeFilesSkipped = false;
  SetContentText(FHost.ContainsText());
  EntriesSeen = 0;
  FoldersSeen = 0;
  MinimumSize = 0;
  MaximumSize = UINT64_MAX;
  StartTime = 0.0;
  EndTime = FHost.Clock().Now() + 9999.0;
  if (FHost.SizeChecked()) ReadSizeLimit();
  if (FHost.ModifiedChecked()) {
    StartTime = DateOf(FHost.StartDate());
    EndTime = DateOf(FHost.EndDate()) + 1.0;
  }
  const bool CriteriaNeedDetails = FHost.ModifiedChecked() || MinimumSize > 0 || MaximumSize != UINT64_MAX;
  FReadDetails = FHost.RowsShowDetails() || CriteriaNeedDetails;
  FDetailsBeforeTests = CriteriaNeedDetails || (FReadDetails && ContentText.empty());
  LastRefresh = FHost.Clock().TickCount();
  // 'C:\' becomes 'C:'. Every trailing separator goes (and "/" is one on Windows): a root such as
  // 'C:\Data\\' would otherwise put a second spelling of each path into the cache, and a later search
  // would list both.
  // The cache holds full paths, so a relative root is resolved for it; rows show the folder as typed.
  const auto WithoutSeparators = [this](std::string Root) {
    while (!Root.empty() && (Root.back() == FDelimiter || (FDelimiter == '\\' && Root.back() == '/'))) Root.pop_back();
    return Root;
  };
  FFullRoot = SpelledAsOnDisk(WithoutSeparators(FFileSystem.FullPath(PathText)));
  FShownRoot = ShownRootFor(WithoutSeparators(PathText));

  // A run cancelled while the cache still loads touches neither the cache nor the disk.
  if (WaitForCache()) {
    SearchCache(FFullRoot);
    FHost.SetStatus(SearchingText, 0);
    EntriesSeen = 0;
    WalkFolder(FFullRoot);
  }

  FHost.SetButtonCaption(SearchCaption);
  FHost.SetButtonTag(0);
  FHost.SetButtonEnabled(true);
  FHost.SetStatus("", 0);
  // The refresh writes the counts at most every 750 ms: the final ones are written here, so that they
  // agree with the rows listed.
  ShowCounts();
  // Without details the total is known only when every row is a file that the content test opened.
  const bool TotalKnown = FReadDetails || !ContentText.empty();
  FHost.SetStatus(LargeFilesSkipped ? std::string(LargeFilesText) : TotalKnown ? TotalText() : std::string(), 3);
  Mask.reset();
  Guard.Disarm();
  Results.EndUpdate();
  FUpdateOpen = false;
  FHost.UpdateHistories(FHost.NameText(), FHost.PathText());
  FHost.SetBusyCursor(false);
  FHost.ShowProgress(false);
  FHost.RepaintGrid();
}

void TSearchRun::ReadSizeLimit() {
  std::uint64_t Bytes = 0;
  if (!ParseSizeLimit(FHost.SizeText(), Bytes)) return;  // not a number: no limit
  if (FHost.SizeAtLeast()) {
    MinimumSize = Bytes;
    if (ParseSizeLimit(FHost.SizeAtMostText(), Bytes)) MaximumSize = Bytes;
  } else {
    MaximumSize = Bytes;
  }
}

std::string TSearchRun::FormatCount(std::uint64_t Value) const { return FormatThousands(Value, FHost.Format()); }

void TSearchRun::ShowCounts() {
  FHost.SetStatus("Searched " + FormatCount(EntriesSeen) + " files, " + FormatCount(FoldersSeen) + " folders", 1);
  FHost.SetStatus("Found " + FormatCount(static_cast<std::uint64_t>(FHost.Results().Count())) + " files", 2);
}

std::string TSearchRun::TotalText() const {
  const double Kilobytes = static_cast<double>(TotalBytes) / 1024.0;
  return FormatCount(static_cast<std::uint64_t>(std::floor(Kilobytes + 0.5))) + "KB";
}

void TSearchRun::RefreshProgress(const std::string& Folder) {
  TClock& Clock = FHost.Clock();
  if (static_cast<std::uint32_t>(Clock.TickCount() - LastRefresh) <= RefreshInterval) return;
  TResultSink& Results = FHost.Results();
  FHost.StepProgress();
  // Handlers that run inside SetStatus may delete rows; the bracket is reopened exactly when it was
  // closed, so it stays balanced.
  const bool RowsAdded = Results.Count() != LastRowCount;
  if (RowsAdded) {
    Results.EndUpdate();
    FUpdateOpen = false;
  }
  Clock.Sleep(Pause);
  ShowCounts();
  FHost.SetStatus("Searching " + Folder + "...", 3);
  if (RowsAdded) {
    Results.BeginUpdate();
    FUpdateOpen = true;
  }
  LastRowCount = Results.Count();
  LastRefresh = Clock.TickCount();
}

bool TSearchRun::WaitForCache() {
  if (FHost.CacheReady(0)) return true;
  FHost.SetStatus(LoadingCacheText, 0);
  while (FHost.ButtonEnabled())
    if (FHost.CacheReady(50)) {
      FHost.SetStatus(SearchingText, 0);
      return true;
    }
  return false;
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
    Spelled += Plain && FFileSystem.FindEntry(Spelled + Name, Entry) && SameName(Entry.Name, Name) ? Entry.Name : Name;
    At = End;
  }
  return Spelled;
}

bool TSearchRun::SameName(std::string_view A, std::string_view B) const {
  std::string KeyA(A), KeyB(B);
  FFileSystem.PathKey(KeyA);
  FFileSystem.PathKey(KeyB);
  return KeyA == KeyB;
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
    if (Name.empty() || Name == "." || Name == ".." || !SameName(Name, Disk)) break;
    Shown.replace(ShownStart, Name.size(), Disk);
    if (ShownStart == 0 || FullStart == 0) break;
    ShownEnd = ShownStart - 1;
    FullEnd = FullStart - 1;
  }
  return Shown;
}

void TSearchRun::SearchCache(const std::string& Root) {
  FHost.ShowProgress(true);
  FListedLines.clear();
  FListedByKey.clear();
  FContentFailed.clear();
  FRowsShown = false;
  const TSFCList& List = FCache.List();
  std::vector<std::uint32_t> Candidates;
  FShared.Clear();
  // The content test's answers are kept for the walk with the size and stamp of the file tested.
  TCandidateLookup Lookup(FFileSystem, &FShared, FReadDetails || !ContentText.empty());
  if (!CollectCandidates(Root, Candidates, Lookup)) return;
  // Candidates only need the list's (collated) order: those a saved file gave are in it already.
  List.SortIndexes(Candidates);
  FListedLines.assign(List.Count(), false);
  int LastPosition = 0;
  TFileEntry Entry;
  std::string Path;
  for (std::size_t I = 0; I < Candidates.size() && FHost.ButtonEnabled(); ++I) {
    const std::uint32_t Line = Candidates[I];
    const std::uint32_t Folder = List.FolderOf(Line);
    List.TextInto(Line, Path);
    const std::size_t NameStart = List.FolderText(Folder).size();
    if (Lookup.Find(Folder, Path, NameStart, Entry) && !Entry.Name.empty())
      ListCachedEntry(Root, Line, Path, NameStart, Entry);
    const int Position = static_cast<int>(I * 100 / Candidates.size());
    if (Position != LastPosition) {
      FHost.SetProgressPosition(Position);
      LastPosition = Position;
    }
    FHost.ProcessMessages();
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
    if ((Folder & 1023) == 1023 && !FHost.ButtonEnabled()) return false;
  }
  // '*.ext' needs no mask: the lower-cased name ends with '.ext'.
  const std::string Extension = MaskExtension(FHost.NameText());
  std::string& Lower = FTestName;
  for (std::size_t I = 0; I < List.Count(); ++I) {
    if ((I & 4095) == 4095) {
      FHost.ProcessMessages();
      if (!FHost.ButtonEnabled()) return false;
    }
    const std::uint32_t Folder = List.FolderOf(I);
    if (Folder == TSFCList::NoFolder || !Inside[Folder]) continue;
    Lookup.CountCachedPath(Folder);
    const std::string_view Name = List.NameOf(I);
    bool Candidate;
    if (!Extension.empty()) {
      Candidate =
          Name.size() >= Extension.size() && AsciiSameText(Name.substr(Name.size() - Extension.size()), Extension);
    } else {
      NameForMask(Name, Lower);
      Candidate = !Name.empty() && Mask->MatchFrom(Lower, 1);
    }
    if (Candidate) {
      Candidates.push_back(static_cast<std::uint32_t>(I));
      Lookup.AddCandidate(Folder, Name);
    }
  }
  return FHost.ButtonEnabled();
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
  const std::uint32_t Now = FHost.Clock().TickCount();
  if (FRowsShown && static_cast<std::uint32_t>(Now - FLastShown) <= RefreshInterval) return;
  FRowsShown = true;
  FLastShown = Now;
  TResultSink& Results = FHost.Results();
  if (!FUpdateOpen) return;
  Results.EndUpdate();
  FUpdateOpen = false;
  FHost.ProcessMessages();
  Results.BeginUpdate();
  FUpdateOpen = true;
}

void TSearchRun::WalkFolder(const std::string& Folder) {
  // Depth first like a recursive walk (a folder's entries, then each of its subfolders in the order
  // met), but with an explicit stack so that very deep trees cannot exhaust the thread's stack. A
  // subfolder is opened relative to its open parent, never by a path resolved from the root again.
  FShared.Drop(Folder);  // the root's stamp is met in no listing of the walk
  std::vector<TWalkLevel> Stack(1);
  Stack.back().Path = Folder;
  if (FHost.ButtonEnabled()) Stack.back().Folder = FFileSystem.OpenFolder(Folder);
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
    if (FHost.ButtonEnabled())
      Child.Folder = Shared ? Top.Folder->OpenSubfolderUnlisted(Name) : Top.Folder->OpenSubfolder(Name);
    if (Top.Next == Top.Subfolders.size()) Top.Folder.reset();  // no more subfolders to open from it
    ListFolder(Child, Shared);
    if (!Child.Subfolders.empty()) Stack.push_back(std::move(Child));
  }
  FShared.Clear();
}

void TSearchRun::ListFolder(TWalkLevel& Level, bool Shared) {
  ++FoldersSeen;
  if (!Level.Folder) {
    if (Shared) FShared.Drop(Level.Path);
    return;
  }
  TFolderListing& Listing = *Level.Folder;
  const bool Replay = Shared && FShared.Take(Level.Path, FReplay);
  FFolderPrefix.assign(Level.Path).append(1, FDelimiter);
  TFolderEntries Entries(Listing, Replay ? &FReplay : nullptr, FCache, FFolderPrefix);
  const std::string Shown = ShownFolder(Level.Path);
  while (FHost.ButtonEnabled()) {
    TFileEntry* Next = Entries.Next();
    if (!Next) break;
    TFileEntry& Entry = *Next;
    if (!IsDotEntry(Entry.Name)) {
      ++EntriesSeen;
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
    FHost.ProcessMessages();
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
  // A replayed entry's details date from the cache pass's listing: only details read now tell.
  const bool Fresh = Entry.DetailsKnown ? !Replayed : Level.Folder->ReadDetails(Entry);
  if (Fresh && Entry.Stamp == Kept) return true;
  FShared.Drop(FSubfolderPath);
  return false;
}

void TSearchRun::ProcessEntry(const std::string& Folder, TFileEntry& Entry, bool CacheMode, TFolderListing* Listing) {
  if (Entry.Name.empty()) return;
  FPath.assign(Folder).append(1, FDelimiter).append(Entry.Name);
  ProcessEntryAt(Folder, FPath, Entry, CacheMode, Listing);
}

// Folder is what the row shows, Path where the entry really is: pass 1 shows a lower-cased folder,
// but reads the file by the cached spelling, which a case-sensitive file system needs; a relative
// root is shown as typed, but cached in full.
bool TSearchRun::ProcessEntryAt(const std::string& Folder, const std::string& Path, TFileEntry& Entry, bool CacheMode,
                                TFolderListing* Listing) {
  return ProcessNamedEntry(Folder, Path, Entry, CacheMode, Listing, PassesName(Entry.Name));
}

bool TSearchRun::ProcessNamedEntry(const std::string& Folder, const std::string& Path, TFileEntry& Entry,
                                   bool CacheMode, TFolderListing* Listing, bool NamePasses) {
  const TCacheHit Hit = CacheMode ? FCache.Record(Path) : TCacheHit();
  // A match that the cache pass listed is not listed again, nor read again. A cached match that the
  // cache pass did not list (its lookup failed, the extension shortcut passed it over, or a name
  // differing only in case shares its cache line) is the walk's to list.
  if (!NamePasses || (CacheMode && ListedByCachePass(Path, Hit))) return false;
  if (CacheMode && !FContentFailed.empty() && FailedContentTest(Hit, Entry, Listing)) return false;
  // A listing gives names and kinds; sizes and times cost a call per entry (POSIX), paid only for the
  // names that pass, so a search by name costs little more than the listing itself. A content test
  // that decides first (no size or date criterion) leaves them to the files that contain the text.
  if (!Entry.DetailsKnown && FDetailsBeforeTests && Listing && !Listing->ReadDetails(Entry)) return false;
  if (!PassesSizeTime(Entry.Size, Entry.Time) || !PassesContent(Path, Entry, Listing)) return false;
  if (!Entry.DetailsKnown && FReadDetails && Listing && !Listing->ReadDetails(Entry)) return false;  // gone
  AddResultRow(FHost.Results(), Folder, Entry, TotalBytes);
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

bool TSearchRun::EntryMatches(const std::string& Folder, const std::string& Name, std::uint64_t Size, TDateTime Time) {
  if (!PassesName(Name) || !PassesSizeTime(Size, Time)) return false;
  FContentPath.assign(Folder).append(1, FDelimiter).append(Name);
  TFileEntry Entry;
  Entry.Size = Size;
  return PassesContent(FContentPath, Entry, nullptr);
}

bool TSearchRun::PassesName(const std::string& Name) {
  if (FNameAny) return true;
  // '*.ext' and '*text*' need no mask.
  if (!FNameExtension.empty())
    return Name.size() >= FNameExtension.size() &&
           AsciiSameText(std::string_view(Name).substr(Name.size() - FNameExtension.size()), FNameExtension);
  if (!FNameLiteral.empty()) return AsciiContainsText(Name, FNameLiteral);
  NameForMask(Name, FTestName);
  return Mask && Mask->MatchFrom(FTestName, 1);
}

bool TSearchRun::PassesSizeTime(std::uint64_t Size, TDateTime Time) const {
  return MinimumSize <= Size && Size <= MaximumSize && StartTime <= Time && Time <= EndTime;
}

bool TSearchRun::PassesContent(const std::string& Path, TFileEntry& Entry, TFolderListing* Listing) {
  if (ContentText.empty()) return true;
  FContentJudged = true;  // unless the file cannot be opened, below
  if (!Entry.DetailsKnown) {
    if (Entry.IsDirectory()) return false;  // a folder holds no text; a file or a link is opened
  } else if (!Entry.IsLink()) {
    if (Entry.Size >= ContentSizeLimit) {
      LargeFilesSkipped = true;
      return false;
    }
    if (Entry.Size == 0) return false;  // an empty file (or a folder) holds no text: no need to open it
  }
  const std::unique_ptr<TFileReader> File = Listing ? Listing->OpenFile(Entry.Name) : FFileSystem.OpenFile(Path);
  if (!File) FContentJudged = false;  // perhaps held by another program now: the walk tries again
  if (File && !Entry.DetailsKnown) Entry.Size = File->Size();
  return OpenedFileContainsText(File.get());
}

bool TSearchRun::FileContainsText(const std::string& Path) {
  return OpenedFileContainsText(FFileSystem.OpenFile(Path).get());
}

bool TSearchRun::OpenedFileContainsText(TFileReader* File) {
  // A folder, a pipe or a device is no file: opening it fails at once, so it never contains a text.
  if (!File) return false;
  // Judged by the size of what was opened (a link's target, a file grown since it was listed).
  if (File->Size() >= ContentSizeLimit) {
    LargeFilesSkipped = true;
    return false;
  }
  return ContentText.empty() || FContentSearch.Contains(*File, File->Size());
}
