#pragma once
// What a search tells whoever runs it: how far it has come while it runs (and the one question it
// asks, whether to stop), what it came to at the end, and the texts both are shown with.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/FormatSettings.h"

// The walk reports its progress at most this often (milliseconds), and the cache pass its rows.
inline constexpr std::uint32_t RefreshInterval = 750;

enum TSearchStage {
  ssCachePassBegins,  // pass 1 starts on the cached paths
  ssCachePass,        // pass 1 has looked up another hundredth of its candidates (Position)
  ssCachePassRows,    // pass 1 listed rows that may be shown now: the first at once, then now and then
  ssCachePassCounts,  // pass 1 once it knows its candidates, then now and then: how far it has come
  ssWalkBegins,       // pass 2 starts on the disk
  ssWalking,          // now and then during pass 2: the counts so far and the folder being walked
};

struct TSearchReport {
  TSearchStage Stage = ssCachePassBegins;
  int Position = 0;               // ssCachePass: the share of the candidates looked up, in percent (1 to 99)
  std::uint64_t Checked = 0;      // ssCachePassCounts: candidates looked up and tested so far
  std::uint64_t Candidates = 0;   // ssCachePassCounts: cached paths under the folder whose names pass
  std::uint64_t EntriesSeen = 0;  // ssWalking: entries (files and folders) the walk met
  std::uint64_t FoldersSeen = 0;  // ssWalking: folders the walk listed
  std::string_view Folder;        // ssWalking, ssCachePassCounts: the folder at hand, as the rows show it
};

class TSearchProgress {
 public:
  virtual ~TSearchProgress() = default;
  // Asked before every entry (and now and then in between): true once the run should stop, which it
  // then does at its next entry, listing nothing more.
  virtual bool Cancelled() = 0;
  // After every entry: a moment for the caller's own work (a window answers its input). Called very
  // often, so it should cost little when there is nothing to do.
  virtual void Pump() {}
  virtual void Report(const TSearchReport& Report) = 0;
};

// What a run came to.
struct TSearchOutcome {
  std::uint64_t EntriesSeen = 0;  // as in TSearchReport: counted by pass 2
  std::uint64_t FoldersSeen = 0;
  std::uint64_t TotalBytes = 0;    // the sizes of the files listed (folders add nothing)
  bool TotalKnown = true;          // false when the rows' sizes were not read
  bool LargeFilesSkipped = false;  // a file too large for the content test was left out
};

inline constexpr const char* LargeFilesText = "Some files larger than 300KB were not searched";

// "###,###,##0": whole number, thousands grouped with the locale's separator.
std::string FormatThousands(std::uint64_t Value, const TFormatSettings& Settings);
// "Searched 1,234 files, 56 folders".
std::string SearchedText(std::uint64_t EntriesSeen, std::uint64_t FoldersSeen, const TFormatSettings& Settings);
// "Found 12 files", the results listed (files and folders).
std::string FoundText(std::uint64_t Results, const TFormatSettings& Settings);
// "Checked 12 of 3,456 cached files": the cache pass's progress.
std::string CheckedText(std::uint64_t Checked, std::uint64_t Candidates, const TFormatSettings& Settings);
// "Searching " + folder + "...".
std::string SearchingFolderText(std::string_view Folder);
// The closing text: the note on skipped large files, or the total in kilobytes ('1,234KB'); empty when
// the total is not known.
std::string OutcomeText(const TSearchOutcome& Outcome, const TFormatSettings& Settings);
