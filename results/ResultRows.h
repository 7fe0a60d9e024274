#pragma once
// Result rows: what each of the grid's six columns shows for a file or folder that was found, for the
// window's grid, its export and torvane-find alike. Nothing here fails.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/FormatSettings.h"

// Grid columns as the window defines them.
enum TResultColumn { rcImage = 0, rcName = 1, rcSize = 2, rcModified = 3, rcFolder = 4, rcType = 5 };
inline constexpr int ResultColumnCount = 6;
// Header captions; the image column has none.
inline constexpr const char* ResultColumnCaptions[ResultColumnCount] = {"",         "Name",   "Size",
                                                                        "Modified", "Folder", "Type"};
// The Size column's number format: whole kilobytes, thousands grouped ("1,234k ").
inline constexpr const char* SizeColumnMask = "###,###,##0k ";

// The extension a file's type is named by: what follows the name's last dot, upper-cased, into Out
// (emptied first; empty without a dot). Callers naming many files reuse Out.
void TypeExtensionOf(std::string_view Name, std::string& Out);
// The type text for an extension as TypeExtensionOf gives it ("TXT" gives "Text Document").
std::string FileTypeName(std::string_view Extension);
// The Type column's text: "Folder" for a folder, else the type of the name's extension.
std::string ResultTypeName(std::string_view Name, bool IsFolder);
// Whole kilobytes as plain digits ("0" below 1024 bytes).
std::string SizeText(std::uint64_t Size);
// Short date, a blank, short time.
std::string DateText(TDateTime Time, const TFormatSettings& Settings);
