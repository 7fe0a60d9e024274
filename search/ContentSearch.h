#pragma once
// The content test's reading: a file's bytes up to its first zero byte, searched for a text with the
// letters A to Z in either case. The file is read in pieces into one buffer that every file reuses,
// and reading stops at the first zero byte or the first match, so a file is read only as far as the
// answer needs.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/FileSystem.h"

class TContentSearch {
 public:
  // Measured on trees of text and of system files: a first piece of 16 KiB holds most source files
  // whole, and files that are no text show a zero byte in it; later pieces of 64 KiB cost fewer reads
  // than smaller ones and less than reading a file whole.
  static constexpr std::size_t FirstPieceSize = 16 * 1024;
  static constexpr std::size_t DefaultPieceSize = 64 * 1024;

  explicit TContentSearch(std::size_t PieceSize = DefaultPieceSize, std::size_t FirstPiece = FirstPieceSize);

  // The texts looked for, already upper-cased (A to Z); an empty Second is left out. First must not
  // be empty.
  void SetTexts(const std::string& First, const std::string& Second);

  // Whether the first Limit bytes of the file (fewer when it ends before) hold one of the texts
  // before its first zero byte. False on a failure to read.
  bool Contains(TFileReader& File, std::uint64_t Limit);

 private:
  // A text and its rarest byte (in either case for a letter): the search looks for that byte with
  // the fast scan of the library and compares the whole text only where it is found.
  struct TPattern {
    std::string Text;
    std::size_t Rare = 0;  // index of the rarest byte
    unsigned char RareUpper = 0, RareLower = 0;
    void Set(const std::string& Upper);
    bool FoundIn(const unsigned char* Data, std::size_t Size) const;
    bool MatchesAt(const unsigned char* Data) const;
  };

  std::size_t FPieceSize;
  std::size_t FFirstPiece;
  TPattern FFirst;
  TPattern FSecond;
  std::size_t FOverlap = 0;  // bytes of one piece kept before the next: a match may begin in them
  std::vector<char> FBuffer;
};
