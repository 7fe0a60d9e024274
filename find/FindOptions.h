#pragma once
// The command line of torvane-find: the window's three arguments (folder, name, text) and options
// for the rest of its criteria, the output form and the cache.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/DateTime.h"
#include "core/FormatSettings.h"
#include "search/SearchCriteria.h"

// The program's name, at the head of its messages.
inline constexpr const char* FindProgramName = "torvane-find";

enum TOutputFormat { ofPath, ofLong, ofCsv };

struct TFindOptions {
  std::string Folder;
  std::string Name;                      // as typed; the search wraps a plain word in "*"
  std::string Contains;                  // empty: no content test
  std::optional<std::uint64_t> AtLeast;  // bytes (given in KB); none: no limit
  std::optional<std::uint64_t> AtMost;
  bool Modified = false;
  TDateTime ModifiedFrom = 0;  // dates; the search takes the whole of both days
  TDateTime ModifiedTo = 0;
  TOutputFormat Format = ofPath;
  bool NulEnds = false;  // -0: every result ends with a NUL byte instead of a line break
  bool Quiet = false;    // no progress line and no final status text
  bool NoCache = false;
  std::string CacheFile;  // empty: "search.cache" in the settings folder
  bool Help = false;
  bool Version = false;
};

// Parses Arguments (without the program name). On a mistake, answers false with Error set to a
// one-line message for the user.
bool ParseFindOptions(const std::vector<std::string>& Arguments, const TFormatSettings& Settings, TFindOptions& Options,
                      std::string& Error);

// The search the options ask for: the name as the search takes it, sizes and dates as limits, details
// read only for the forms that show them.
TSearchCriteria FindCriteria(const TFindOptions& Options);

// A date as the user types it: ISO "YYYY-MM-DD" or the locale's short date format.
bool ParseDateArgument(const std::string& Text, const TFormatSettings& Settings, TDateTime& Date);

// The --help text (the example date in the locale's short format).
std::string FindUsageText(const TFormatSettings& Settings);
std::string FindVersionText();
