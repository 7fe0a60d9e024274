#include "search/SearchFolders.h"

#include "search/SearchRun.h"

namespace {

std::string Trimmed(const std::string& Text) {
  const auto First = Text.find_first_not_of(" \t");
  if (First == std::string::npos) return "";
  return Text.substr(First, Text.find_last_not_of(" \t") - First + 1);
}

// Path in full, without trailing separators, so that two spellings of a folder compare.
std::string ComparablePath(const std::string& Path, TFileSystem& Files) {
  std::string Full = Files.FullPath(Path);
  while (!Full.empty() && (Full.back() == Files.PathDelimiter() || Full.back() == '/')) Full.pop_back();
  return Full;
}

// Inner is Outer or lies below it (both comparable paths).
bool Within(const std::string& Inner, const std::string& Outer, TFileSystem& Files) {
  if (Inner.size() < Outer.size()) return false;
  if (!Files.SamePath(std::string_view(Inner).substr(0, Outer.size()), Outer)) return false;
  return Inner.size() == Outer.size() || Inner[Outer.size()] == Files.PathDelimiter() || Inner[Outer.size()] == '/';
}

// Drops every folder that lies within another one of the list (of two that are the same, the later).
std::vector<std::string> WithoutNested(const std::vector<std::string>& Folders, TFileSystem& Files) {
  std::vector<std::string> Full;
  for (const std::string& Folder : Folders) Full.push_back(ComparablePath(Folder, Files));
  std::vector<std::string> Kept;
  for (std::size_t I = 0; I < Folders.size(); ++I) {
    bool Inside = false;
    for (std::size_t J = 0; J < Folders.size() && !Inside; ++J) {
      if (I == J || !Within(Full[I], Full[J], Files)) continue;
      // The same folder twice keeps its first place; a folder inside a wider one goes.
      Inside = Full[I].size() > Full[J].size() || J < I;
    }
    if (!Inside) Kept.push_back(Folders[I]);
  }
  return Kept;
}

// Adds the walk's counts of the folders searched before to the reports of the one searched now.
class TListProgress : public TSearchProgress {
 public:
  explicit TListProgress(TSearchProgress& Progress) : FProgress(Progress) {}
  bool Cancelled() override { return FProgress.Cancelled(); }
  void Pump() override { FProgress.Pump(); }
  void Report(const TSearchReport& Report) override {
    TSearchReport Total = Report;
    Total.EntriesSeen += EntriesBefore;
    Total.FoldersSeen += FoldersBefore;
    FProgress.Report(Total);
  }
  std::uint64_t EntriesBefore = 0, FoldersBefore = 0;

 private:
  TSearchProgress& FProgress;
};

}  // namespace

TSearchFolders SplitSearchFolders(const std::string& Typed, TFileSystem& Files) {
  TSearchFolders Result;
  if (Typed.find(FolderListSeparator) == std::string::npos || Files.DirectoryExists(Typed)) {
    if (Files.DirectoryExists(Typed))
      Result.Folders.push_back(Typed);
    else
      Result.Missing = Typed;
    return Result;
  }
  std::vector<std::string> Named;
  for (std::size_t Start = 0; Start <= Typed.size();) {
    std::size_t End = Typed.find(FolderListSeparator, Start);
    if (End == std::string::npos) End = Typed.size();
    const std::string Folder = Trimmed(Typed.substr(Start, End - Start));
    if (!Folder.empty()) Named.push_back(Folder);
    Start = End + 1;
  }
  Result.Several = Named.size() > 1;
  if (Named.empty()) {
    Result.Missing = Typed;
    return Result;
  }
  for (const std::string& Folder : Named)
    if (!Files.DirectoryExists(Folder)) {
      Result.Missing = Folder;
      return Result;
    }
  Result.Folders = WithoutNested(Named, Files);
  return Result;
}

std::string MissingFolderText(const TSearchFolders& Folders) {
  return Folders.Several ? std::string(FolderMissingText) + ": " + Folders.Missing : FolderMissingText;
}

TFolderListRun::TFolderListRun(const TSearchCriteria& Criteria, const std::vector<std::string>& Folders,
                               TSearchCache& Cache, TFileSystem& Files, TClock& Clock) {
  for (const std::string& Folder : Folders) {
    TSearchCriteria One = Criteria;
    One.Folder = Folder;
    FRuns.push_back(std::make_unique<TSearchRun>(One, Cache, Files, Clock));
  }
}

TFolderListRun::~TFolderListRun() = default;

TSearchOutcome TFolderListRun::Execute(TResultSink& Results, TSearchProgress& Progress) {
  TSearchOutcome Total;
  TListProgress Counting(Progress);
  for (const std::unique_ptr<TSearchRun>& Run : FRuns) {
    const TSearchOutcome Outcome = Run->Execute(Results, Counting);
    Total.EntriesSeen += Outcome.EntriesSeen;
    Total.FoldersSeen += Outcome.FoldersSeen;
    Total.TotalBytes += Outcome.TotalBytes;
    Total.TotalKnown = Total.TotalKnown && Outcome.TotalKnown;
    Total.LargeFilesSkipped = Total.LargeFilesSkipped || Outcome.LargeFilesSkipped;
    Counting.EntriesBefore = Total.EntriesSeen;
    Counting.FoldersBefore = Total.FoldersSeen;
    if (Progress.Cancelled()) break;
  }
  return Total;
}
