#pragma once
// What one search looks for, read once by whoever starts it (the window from its controls,
// torvane-find from its command line), and the rules that turn typed texts into it.
#include <cstdint>
#include <optional>
#include <string>

#include "core/DateTime.h"

inline constexpr const char* FolderMissingText = "The entered folder does not exist";

// A range of whole days: a file qualifies from the first moment of First to the end of Last.
struct TDayRange {
  TDateTime First = 0;
  TDateTime Last = 0;
};

struct TSearchCriteria {
  std::string Folder;       // "Look in:" as typed
  std::string NameText;     // "Named:" as the search takes it and the field then shows it (SearchNameText)
  std::string ContentText;  // "With text:" as typed; empty: no content test
  std::optional<std::uint64_t> MinimumSize;  // bytes; none: no limit
  std::optional<std::uint64_t> MaximumSize;
  std::optional<TDayRange> Modified;  // none: any time
  // Whether the results show sizes and times (the window's do; a list of paths does not). When no
  // criterion needs them either, a run reads none: a listing gives names and kinds only on POSIX.
  bool RowsNeedDetails = true;
};

// The "Named:" text as a search takes it: a text with neither "*" nor "?" is wrapped in one "*" on
// each side ('report' becomes '*report*', an empty text '**').
std::string SearchNameText(const std::string& Typed);

// A "KB" count typed into the size field, in bytes, blanks around it ignored; false for text that is no
// whole number of kilobytes from 0 up (no limit). A number whose bytes do not fit in 64 bits gives
// UINT64_MAX, larger than any file: "At Least" it lists nothing, "At Most" everything.
bool ParseSizeLimit(const std::string& Text, std::uint64_t& Bytes);

// The size field with its "At Least"/"At Most" choice: the number, when it is one, becomes the minimum
// or the maximum; any other text leaves the criteria without a size limit.
void ApplySizeField(TSearchCriteria& Criteria, const std::string& Text, bool AtLeast);
