#pragma once
// The name and folder histories behind the "Named:" and "Look in:" drop-downs: one entry per line
// in the order of first use, compared without regard to case; shown sorted, with "[Clear History]"
// as the last item.
#include <string>
#include <vector>

#include "core/FileSystem.h"

inline constexpr const char* ClearHistoryText = "[Clear History]";
inline constexpr const char* NameHistoryFile = "kestrix.ini";
inline constexpr const char* FolderHistoryFile = "kestrixfolders.ini";

// Records Text in the history file at Path and answers the drop-down's items:
// - "[Clear History]" empties the file;
// - any other non-empty text is appended when no entry equals it ignoring case, and the file is
//   written again (unchanged when nothing was appended);
// - an empty text only reads the file (a missing file is an empty history).
// The items are the entries sorted in the locale's collation, then "[Clear History]" when there is
// at least one. Raises EFileError when the file cannot be read or written.
std::vector<std::string> UpdateHistory(const std::string& Path, const std::string& Text, TFileSystem& FileSystem);
