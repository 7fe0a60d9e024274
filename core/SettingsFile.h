#pragma once
// Settings files: plain lines of text, read and written whole through a file system.
// Fails: ReadSettingsFile and WriteSettingsFile throw EFileError; the line functions never fail.
#include <string>
#include <string_view>
#include <vector>

#include "core/FileSystem.h"

// Settings files are plain lines of text. Reading: CR LF, CR alone and LF alone each end a line,
// reading stops at the first zero byte, an empty line is an empty entry; the text is UTF-8, or the
// ANSI code page when the bytes are not valid UTF-8 (files from older installs).
std::vector<std::string> SplitSettingsLines(std::string_view Bytes);
// Writing: every line, the last one included, ends in CR LF; UTF-8.
std::string JoinSettingsLines(const std::vector<std::string>& Lines);

// Throw EFileError with the system's reason when the file cannot be read or written; a write never
// leaves a half-written file behind.
std::vector<std::string> ReadSettingsFile(const std::string& Path, TFileSystem& FileSystem);
void WriteSettingsFile(const std::string& Path, const std::vector<std::string>& Lines, TFileSystem& FileSystem);
