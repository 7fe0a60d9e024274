#pragma once
// Case folding as Windows compares names: the simple, one-to-one upper-casing of every letter that has
// one (é and É, ω and Ω, ő and Ő are one letter), from a table generated from the Unicode data
// (tools/make-case-fold-table, checked against the system's own upper-casing under Wine). Letters whose
// upper case belongs to another letter as well (the dotless ı, the long ſ, the final ς, the micro
// sign µ) fold to nothing else, and "ß" stays "ß", as on Windows.
//
// A letter folds to the lower-case member of its pair, so A to Z fold to a to z as they always have.
// Bytes that are not UTF-8 pass unchanged. Nothing here throws or allocates beyond the output string.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

char32_t FoldNonAscii(char32_t Code);
// The folded form of one code point.
inline char32_t FoldCase(char32_t Code) {
  if (Code < 0x80) return (Code >= 'A' && Code <= 'Z') ? Code + 32 : Code;
  return FoldNonAscii(Code);
}

// The other member of Code's pair (its upper case for a lower-case letter, and the reverse); Code
// itself when it folds with nothing.
char32_t CasePartner(char32_t Code);

// Decodes the UTF-8 character at Text[Position] (Position < size): its code point, and its length in
// Length. A byte that starts no well-formed character (a stray or truncated sequence, an overlong form,
// a surrogate) gives Length 1 and StrayByte + the byte: a character of its own, past every code point,
// that folds to itself.
inline constexpr char32_t StrayByte = 0x110000;
char32_t DecodeCharacter(std::string_view Text, std::size_t Position, std::size_t& Length);
// Code as UTF-8 (a stray byte as that byte): the bytes written to Out (room for 4), or appended.
std::size_t EncodeCharacter(char32_t Code, char* Out);
void AppendCharacter(char32_t Code, std::string& Out);

// Text folded into Out (replacing its contents; a caller folding many texts reuses its storage).
void FoldText(std::string_view Text, std::string& Out);
std::string FoldText(std::string_view Text);
// Whether A and B are equal once folded, and their order by folded code points (<0, 0, >0; stray
// bytes after every code point), without building the folded texts.
bool SameFoldedText(std::string_view A, std::string_view B);
int CompareFoldedText(std::string_view A, std::string_view B);
