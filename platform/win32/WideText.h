#pragma once
// Text at the Win32 boundary: the program's UTF-8 becomes UTF-16 for W functions and back.
#include <string>
#include <string_view>

std::wstring Widen(std::string_view Utf8);
std::string Narrow(std::wstring_view Wide);
// Narrow into an existing string, reusing its storage (for hot loops).
void NarrowInto(std::wstring_view Wide, std::string& Utf8);
std::u16string ToU16(std::wstring_view Wide);
std::wstring FromU16(std::u16string_view Text);

// A path in the form W functions accept at any length: "\\?\C:\..." or "\\?\UNC\server\share\..." once it
// is too long for the classic form; shorter paths are passed as they are.
std::wstring LongPathW(std::string_view Utf8Path);
// A folder in the "\\?\" form, resolved to a full path once and without a trailing separator: names
// appended to it are taken literally, at any length ('C:' is the root of drive C).
std::wstring ExtendedFolderW(std::string_view Utf8Folder);
