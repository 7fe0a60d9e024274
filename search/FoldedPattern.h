#pragma once
// A text of the content test, found in any case of its letters. In UTF-8 text every letter folds as
// names do (core/CaseFold.h: "über" finds "ÜBER", "ωmega" finds "ΩMEGA"); a byte that is no UTF-8 is a
// character of its own and matches only itself. In a byte text (the text in the ANSI code page,
// for files of that age) only A to Z fold.
//
// The search looks for one byte of the text with the library's fast scan (the rarest, in either
// case) and compares the whole text only where it is found; for plain ASCII text that is one
// comparison per byte, as before letters beyond A to Z folded.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TFoldedPattern {
 public:
  enum TUnits { puUtf8, puBytes };

  // Text as typed (an empty one never matches).
  void Set(std::string_view Text, TUnits Units);
  bool Empty() const { return FChars.empty(); }
  // The most bytes a match can span: a piece of a file keeps this many less one before the next.
  std::size_t MaxMatchBytes() const { return FMaxBytes; }
  // Whether a match lies wholly in Data[0, Size).
  bool FoundIn(const unsigned char* Data, std::size_t Size) const;

 private:
  bool MatchesAt(const unsigned char* At, const unsigned char* End) const;

  std::vector<char32_t> FChars;  // folded; bytes that are no UTF-8 as StrayByte + the byte
  bool FBytes = false;
  // Where a match is sought: the bytes the anchor may be (its two cases), how far it stands from
  // the start of a match, and how many bytes a match needs after it at the least.
  unsigned char FAnchors[2] = {0, 0};
  int FAnchorCount = 0;
  std::size_t FAnchorOffset = 0;
  std::size_t FMinTail = 0;
  std::size_t FMaxBytes = 0;
};
