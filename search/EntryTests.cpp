#include "search/EntryTests.h"

#include <algorithm>
#include <limits>

#include "core/Text.h"

namespace {

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

}  // namespace

TEntryTests::TEntryTests(const TSearchCriteria& Criteria)
    : FMask(std::make_unique<TMask>(MaskTextForSearch(Criteria.NameText))),  // a malformed mask stops here
      FNameExtension(MaskExtension(Criteria.NameText)),
      FNameLiteral(MaskLiteral(Criteria.NameText)),
      FNameAny(!Criteria.NameText.empty() && Criteria.NameText.find_first_not_of('*') == std::string::npos) {
  const std::string Text = AsciiUpperCase(Criteria.ContentText);
  FHasText = !Text.empty();
  if (FHasText) {
    // Files of either encoding are found: the text's ANSI bytes are looked for too, when it has
    // characters beyond ASCII that the ANSI code page holds.
    bool Lossless = false;
    const std::string Ansi = Utf8ToAnsi(Text, &Lossless);
    FContentSearch.SetTexts(Text, Lossless && Ansi != Text ? Ansi : std::string());
  }
  FMinimumSize = Criteria.MinimumSize.value_or(0);
  FMaximumSize = Criteria.MaximumSize.value_or(UINT64_MAX);
  // Without "Modified:" no time is excluded: a file dated far ahead is as real as any other, and a
  // limit there would make the answer depend on whether a run happened to read the file's time.
  FEndTime = std::numeric_limits<TDateTime>::infinity();
  if (Criteria.Modified) {
    FStartTime = DateOf(Criteria.Modified->First);
    FEndTime = DateOf(Criteria.Modified->Last) + 1.0;
  }
  const bool CriteriaNeedDetails = Criteria.Modified || FMinimumSize > 0 || FMaximumSize != UINT64_MAX;
  FReadDetails = Criteria.RowsNeedDetails || CriteriaNeedDetails;
  FDetailsBeforeTests = CriteriaNeedDetails || (FReadDetails && !FHasText);
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

bool TEntryTests::PassesName(std::string_view Name) {
  if (FNameAny) return true;
  // '*.ext' and '*text*' need no mask.
  if (!FNameExtension.empty())
    return Name.size() >= FNameExtension.size() &&
           AsciiSameText(Name.substr(Name.size() - FNameExtension.size()), FNameExtension);
  if (!FNameLiteral.empty()) return AsciiContainsText(Name, FNameLiteral);
  NameForMask(Name, FTestName);
  return FMask->MatchFrom(FTestName, 1);
}

TVerdict TEntryTests::Judge(TFileEntry& Entry, TEntryAccess& Access) {
  // A listing gives names and kinds; sizes and times cost a call per entry (POSIX), paid only for the
  // names that pass, so a search by name costs little more than the listing itself.
  if (!Entry.DetailsKnown && FDetailsBeforeTests && !Access.ReadDetails(Entry)) return tvNoMatch;
  if (!PassesSizeTime(Entry.Size, Entry.Time)) return tvRejected;
  const TVerdict Content = PassesContent(Entry, Access);
  if (Content != tvMatch) return Content;
  if (!Entry.DetailsKnown && FReadDetails && !Access.ReadDetails(Entry)) return tvNoMatch;  // gone
  return tvMatch;
}

TVerdict TEntryTests::PassesContent(TFileEntry& Entry, TEntryAccess& Access) {
  if (!FHasText) return tvMatch;
  if (!Entry.DetailsKnown) {
    if (Entry.IsDirectory()) return tvRejected;  // a folder holds no text; a file or a link is opened
  } else if (!Entry.IsLink()) {
    if (Entry.Size >= ContentSizeLimit) {
      FLargeFilesSkipped = true;
      return tvRejected;
    }
    if (Entry.Size == 0) return tvRejected;  // an empty file (or a folder) holds no text: no need to open it
  }
  // A folder, a pipe or a device is no file: opening it fails at once, so it never contains a text. A
  // file that cannot be opened may be held by another program now: the walk tries again.
  const std::unique_ptr<TFileReader> File = Access.OpenFile(Entry);
  if (!File) return tvNoMatch;
  if (!Entry.DetailsKnown) Entry.Size = File->Size();
  // Judged by the size of what was opened (a link's target, a file grown since it was listed).
  if (File->Size() >= ContentSizeLimit) {
    FLargeFilesSkipped = true;
    return tvRejected;
  }
  return FContentSearch.Contains(*File, File->Size()) ? tvMatch : tvRejected;
}
