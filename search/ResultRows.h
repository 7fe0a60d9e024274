#pragma once
// Result rows: what each of the grid's six columns shows for a file or folder that was found, and
// how a result is handed on.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/FileSystem.h"
#include "core/FormatSettings.h"
#include "search/ResultSink.h"

// Grid columns as the window defines them.
enum TResultColumn { rcImage = 0, rcName = 1, rcSize = 2, rcModified = 3, rcFolder = 4, rcType = 5 };
inline constexpr int ResultColumnCount = 6;
// Header captions; the image column has none.
inline constexpr const char* ResultColumnCaptions[ResultColumnCount] = {"",         "Name",   "Size",
                                                                        "Modified", "Folder", "Type"};
// The Size column's number format: whole kilobytes, thousands grouped ("1,234k ").
inline constexpr const char* SizeColumnMask = "###,###,##0k ";

// Hands Entry, found in Folder (written as given), to the sink. A file's size is added to TotalBytes.
void AddResultRow(TResultSink& Results, const std::string& Folder, const TFileEntry& Entry, std::uint64_t& TotalBytes);
// The type text for an extension, upper-cased and without its dot ("TXT" gives "Text Document").
std::string FileTypeName(std::string_view Extension);
// The Type column's text: "Folder" for a folder, else the type of the name's extension.
std::string ResultTypeName(std::string_view Name, bool IsFolder);
// Whole kilobytes as plain digits ("0" below 1024 bytes).
std::string SizeText(std::uint64_t Size);
// Short date, a blank, short time.
std::string DateText(TDateTime Time, const TFormatSettings& Settings);
