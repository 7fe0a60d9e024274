#pragma once
// Text as the core handles it: A-to-Z case folding, UTF-8 and UTF-16, the ANSI code page of older
// files and digit grouping. Nothing here fails: malformed input is replaced, never rejected.
#include <cstdint>
#include <string>
#include <string_view>

// Byte-string helpers. Their case folding touches the letters A to Z only (core/CaseFold.h folds every
// letter, as names and texts are compared): bytes of 0x80 and above,
// and so every byte of a multi-byte UTF-8 sequence, pass unchanged.
std::string AsciiUpperCase(std::string_view Text);
std::string AsciiLowerCase(std::string_view Text);
inline char AsciiUpper(char C) { return (C >= 'a' && C <= 'z') ? char(C - 32) : C; }
inline char AsciiLower(char C) { return (C >= 'A' && C <= 'Z') ? char(C + 32) : C; }
bool AsciiSameText(std::string_view A, std::string_view B);
// Byte order with A to Z folded to lower case: <0, 0 or >0.
int AsciiCompareText(std::string_view A, std::string_view B);

// UTF-8 and UTF-16. Malformed input never fails: each bad byte or lone surrogate becomes U+FFFD.
bool IsValidUtf8(std::string_view Text);
std::u16string Utf8ToUtf16(std::string_view Text);
// The same appended to Out, whose buffer a caller converting many texts reuses.
void AppendUtf16(std::string_view Text, std::u16string& Out);
std::string Utf16ToUtf8(std::u16string_view Text);

// The ANSI code page (Windows: CP_ACP; elsewhere: Windows-1252), as core/CodePage.h installs it.
std::string AnsiToUtf8(std::string_view Ansi);
// Converts to the ANSI code page; Lossless (when given) tells whether every character had a place in it.
std::string Utf8ToAnsi(std::string_view Utf8, bool* Lossless = nullptr);
// Text from a file of unknown age: UTF-8 when it is valid UTF-8, the ANSI code page otherwise.
std::string DecodeLegacyText(std::string_view Bytes);

// Digits of Value with Separator between every group of three, counted from the right ("1,234,567").
std::string GroupDigits(std::uint64_t Value, std::string_view Separator);
