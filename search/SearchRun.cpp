#include "search/SearchRun.h"

#include <cmath>

#include "core/Text.h"
#include "search/CandidateLookup.h"
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
      if (FUpdateOpen) FHost.Rows().EndUpdate();
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
    : FHost(Host), FCache(Cache), FFileSystem(Host.FileSystem()), FDelimiter(Host.FileSystem().PathDelimiter()) {}

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
  Mask = std::make_unique<TMask>(AsciiLowerCase(NameText) + "~");
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
    if (static_cast<unsigned char>(C) >= 0x80 || std::string_view("*?[(!#~").find(C) != std::string_view::npos)
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
  TRowSink& Rows = FHost.Rows();
  Rows.BeginUpdate();
  FUpdateOpen = true;
  TRunGuard Guard(FHost, FUpdateOpen);
  // The run is in progress before the first status change pumps messages: an Enter or a click
  // handled there cancels this run instead of starting a second one inside it.
  FHost.SetButtonCaption(CancelCaption);
  FHost.SetButtonTag(1);
  FHost.SetStatus(SearchingText, 0);
  Rows.ClearRows();
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
  FFullRoot = WithoutSeparators(FFileSystem.FullPath(PathText));
  FShownRoot = WithoutSeparators(PathText);

  SearchCache(FFullRoot);
  FHost.SetStatus(SearchingText, 0);
  EntriesSeen = 0;
  WalkFolder(FFullRoot);

  FHost.SetButtonCaption(SearchCaption);
  FHost.SetButtonTag(0);
  FHost.SetButtonEnabled(true);
  FHost.SetStatus("", 0);
  // Without details the total is known only when every row is a file that the content test opened.
  const bool TotalKnown = FReadDetails || !ContentText.empty();
  FHost.SetStatus(LargeFilesSkipped ? std::string(LargeFilesText) : TotalKnown ? TotalText() : std::string(), 3);
  Mask.reset();
  Guard.Disarm();
  Rows.EndUpdate();
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

std::string TSearchRun::TotalText() const {
  const double Kilobytes = static_cast<double>(TotalBytes) / 1024.0;
  return FormatCount(static_cast<std::uint64_t>(std::floor(Kilobytes + 0.5))) + "KB";
}

void TSearchRun::RefreshProgress(const std::string& Folder) {
  TClock& Clock = FHost.Clock();
  if (static_cast<std::uint32_t>(Clock.TickCount() - LastRefresh) <= RefreshInterval) return;
  TRowSink& Rows = FHost.Rows();
  FHost.StepProgress();
  // Handlers that run inside SetStatus may delete rows; the bracket is reopened exactly when it was
  // closed, so it stays balanced.
  const bool RowsAdded = Rows.RowCount() != LastRowCount;
  if (RowsAdded) {
    Rows.EndUpdate();
    FUpdateOpen = false;
  }
  Clock.Sleep(Pause);
  FHost.SetStatus("Searched " + FormatCount(EntriesSeen) + " files, " + FormatCount(FoldersSeen) + " folders", 1);
  FHost.SetStatus("Found " + FormatCount(static_cast<std::uint64_t>(Rows.RowCount())) + " files", 2);
  FHost.SetStatus("Searching " + Folder + "...", 3);
  if (RowsAdded) {
    Rows.BeginUpdate();
    FUpdateOpen = true;
  }
  LastRowCount = Rows.RowCount();
  LastRefresh = Clock.TickCount();
}

void TSearchRun::SearchCache(const std::string& Root) {
  FHost.ShowProgress(true);
  int LastPosition = 0;
  const std::string RootPrefix = AsciiLowerCase(Root) + FDelimiter;
  // '*.ext' needs no mask: the lower-cased path ends with '.ext'.
  const std::string Extension = MaskExtension(FHost.NameText());
  const bool Shortcut = !Extension.empty();

  // Candidates first, in storage order; only they need the list's (collated) order.
  const TSFCList& List = FCache.List();
  std::vector<std::uint32_t> Candidates;
  TCandidateLookup Lookup(FFileSystem, FDelimiter);
  std::string& Lower = FTestName;
  for (std::size_t I = 0; I < List.Count(); ++I) {
    const std::string_view Path = List.Text(I);
    if (Path.size() > RootPrefix.size() && AsciiSameText(Path.substr(0, RootPrefix.size()), RootPrefix)) {
      Lookup.CountCachedPath(Path);
      bool Candidate;
      if (Shortcut) {
        Candidate =
            Path.size() >= Extension.size() && AsciiSameText(Path.substr(Path.size() - Extension.size()), Extension);
      } else {
        const std::string_view Name = Path.substr(Path.rfind(FDelimiter) + 1);
        Lower.assign(Name);
        for (char& C : Lower) C = AsciiLower(C);
        Lower += '~';
        Candidate = Mask->MatchFrom(Lower, 1);
      }
      if (Candidate) {
        Candidates.push_back(static_cast<std::uint32_t>(I));
        Lookup.AddCandidate(Path);
      }
    }
    if ((I & 63) == 63) FHost.ProcessMessages();
  }
  List.SortIndexes(Candidates);

  TFileEntry Entry;
  for (std::size_t I = 0; I < Candidates.size(); ++I) {
    const std::string Path(List.Text(Candidates[I]));
    // Rows of pass 1 show the folder lower-cased; the name comes from the disk in its own spelling. A
    // file system that tells case apart (POSIX) would take a lower-cased folder for another folder, or
    // none: there the folder keeps its cached spelling.
    std::string Folder = ShownFolder(Path.substr(0, Path.rfind(FDelimiter)));
    if (FDelimiter == '\\') Folder = AsciiLowerCase(Folder);
    if (Lookup.Find(List.Text(Candidates[I]), Entry) && !Entry.Name.empty() &&
        !ListedByCachePass(std::string_view(Path).substr(0, Path.rfind(FDelimiter)), Entry.Name)) {
      std::string Key = FListedKey;
      if (ProcessEntryAt(Folder, Path, Entry, false)) FListedByCachePass.emplace(std::move(Key), Candidates[I]);
    }
    const int Position = static_cast<int>(I * 100 / Candidates.size());
    if (Position != LastPosition) {
      FHost.SetProgressPosition(Position);
      LastPosition = Position;
    }
    FHost.ProcessMessages();
  }
}

void TSearchRun::WalkFolder(const std::string& Folder) {
  // Depth first like a recursive walk (a folder's entries, then each of its subfolders in the order
  // met), but with an explicit stack so that very deep trees cannot exhaust the thread's stack. A
  // subfolder is opened relative to its open parent, never by a path resolved from the root again.
  std::vector<TWalkLevel> Stack(1);
  Stack.back().Path = Folder;
  Stack.back().Folder = FFileSystem.OpenFolder(Folder);
  ListFolder(Stack.back());
  while (!Stack.empty()) {
    TWalkLevel& Top = Stack.back();
    if (Top.Next == Top.Subfolders.size()) {
      Stack.pop_back();
      continue;
    }
    const std::string& Name = Top.Subfolders[Top.Next++];
    TWalkLevel Child;
    Child.Path.reserve(Top.Path.size() + 1 + Name.size());
    Child.Path.append(Top.Path).append(1, FDelimiter).append(Name);
    // After a cancel request each queued folder still counts, but none is opened.
    if (FHost.ButtonEnabled()) Child.Folder = Top.Folder->OpenSubfolder(Name);
    if (Top.Next == Top.Subfolders.size()) Top.Folder.reset();  // no more subfolders to open from it
    ListFolder(Child);
    if (!Child.Subfolders.empty()) Stack.push_back(std::move(Child));
  }
}

void TSearchRun::ListFolder(TWalkLevel& Level) {
  ++FoldersSeen;
  if (!Level.Folder) return;
  TFolderListing& Listing = *Level.Folder;
  const std::string Shown = ShownFolder(Level.Path);
  TFileEntry Entry;
  while (FHost.ButtonEnabled() && Listing.Next(Entry)) {
    if (!IsDotEntry(Entry.Name)) {
      ++EntriesSeen;
      // A name that fails the test costs no path, unless the cache records every path met.
      const bool NamePasses = PassesName(Entry.Name);
      if (NamePasses || FCache.Recording()) {
        FPath.assign(Level.Path).append(1, FDelimiter).append(Entry.Name);
        ProcessNamedEntry(Shown, FPath, Entry, true, &Listing, NamePasses);
      }
      // A link to a folder is listed but not entered: it may lead back up the tree.
      if (Entry.IsDirectory() && !Entry.IsLink()) Level.Subfolders.push_back(Entry.Name);
    }
    FHost.ProcessMessages();
    RefreshProgress(Shown);
  }
  if (Level.Subfolders.empty()) {
    Level.Folder.reset();
  } else {
    Listing.EndListing();
  }
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
  bool Listed = false;
  if (NamePasses) {
    // A listing gives names and kinds; sizes and times cost a call per entry (POSIX), paid only for the
    // names that pass, so a search by name costs little more than the listing itself. A content test
    // that decides first (no size or date criterion) leaves them to the files that contain the text.
    if (!Entry.DetailsKnown && FDetailsBeforeTests && Listing && !Listing->ReadDetails(Entry)) return false;
    if (PassesSizeTime(Entry.Size, Entry.Time)) {
      // A match that the cache pass listed is not listed again (nor read again); the cache keeps the
      // spelling met on disk. A cached match that the cache pass did not list (its lookup failed, the
      // extension shortcut passed it over, or a name differing only in case shares its cache line) is
      // the walk's to list.
      if (CacheMode && !FListedByCachePass.empty()) {
        const std::string_view RealFolder(Path.data(), Path.size() - Entry.Name.size() - 1);
        if (const std::uint32_t* Line = ListedByCachePass(RealFolder, Entry.Name)) {
          FCache.RespellPath(*Line, Path);
          return false;
        }
      }
      if (PassesContent(Path, Entry, Listing)) {
        if (!Entry.DetailsKnown && FReadDetails && Listing && !Listing->ReadDetails(Entry)) return false;
        AddResultRow(FHost.Rows(), FHost.Format(), Folder, Entry, TotalBytes);
        Listed = true;
      }
    }
  }
  if (CacheMode) FCache.AddToCache(Path);
  return Listed;
}

std::string TSearchRun::ShownFolder(std::string_view Folder) const {
  if (FShownRoot == FFullRoot || Folder.compare(0, FFullRoot.size(), FFullRoot) != 0) return std::string(Folder);
  return FShownRoot + std::string(Folder.substr(FFullRoot.size()));
}

const std::uint32_t* TSearchRun::ListedByCachePass(std::string_view Folder, const std::string& Name) {
  FListedKey.assign(Folder).append(1, FDelimiter).append(Name);
  FFileSystem.PathKey(FListedKey);
  const auto Found = FListedByCachePass.find(FListedKey);
  return Found == FListedByCachePass.end() ? nullptr : &Found->second;
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
  // '*.ext' needs no mask, unless the name has a "~" of its own, which could end the mask early.
  if (!FNameExtension.empty() && Name.find('~') == std::string::npos)
    return Name.size() >= FNameExtension.size() &&
           AsciiSameText(std::string_view(Name).substr(Name.size() - FNameExtension.size()), FNameExtension);
  if (!FNameLiteral.empty()) return AsciiContainsText(Name, FNameLiteral);
  FTestName.assign(Name);
  for (char& C : FTestName) C = AsciiLower(C);
  FTestName += '~';
  return Mask && Mask->MatchFrom(FTestName, 1);
}

bool TSearchRun::PassesSizeTime(std::uint64_t Size, TDateTime Time) const {
  return MinimumSize <= Size && Size <= MaximumSize && StartTime <= Time && Time <= EndTime;
}

bool TSearchRun::PassesContent(const std::string& Path, TFileEntry& Entry, TFolderListing* Listing) {
  if (ContentText.empty()) return true;
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
