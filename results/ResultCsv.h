#pragma once
// Results as comma-separated values, the one form "Export Results..." and torvane-find --csv both
// write: a header line, then a line per result with its name, its size in bytes (empty for a
// folder), its modification time in ISO 8601 local time, its folder and its type. Fields are
// quoted as RFC 4180 has it; every line ends with CR LF.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/DateTime.h"

inline constexpr const char* ResultCsvHeader = "Name,Size,Modified,Folder,Type\r\n";

void AppendResultCsv(std::string& Out, std::string_view Folder, std::string_view Name, std::uint64_t Size,
                     TDateTime Time, bool IsFolder);
// One field: in double quotes, its own doubled, when it holds a comma, a double quote, CR or LF.
void AppendCsvField(std::string& Out, std::string_view Field);
// "2024-06-30T23:30:00", to the second.
std::string IsoDateTimeText(TDateTime Time);
