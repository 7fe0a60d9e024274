#pragma once
// The content test's reading: a file's bytes up to its first zero byte, upper-cased A to Z, searched
// for a text. The file is read in pieces into one buffer that every file reuses, and reading stops at
// the first zero byte or the first match, so a file is read only as far as the answer needs.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/FileSystem.h"

class TContentSearch {
 public:
  // Large enough that a file costs few reads, small enough that a file that answers early (a zero
  // byte near its start, a match) is not copied whole.
  static constexpr std::size_t DefaultPieceSize = 16 * 1024;

  explicit TContentSearch(std::size_t PieceSize = DefaultPieceSize);

  // The texts looked for, already upper-cased (A to Z); an empty Second is left out. First must not
  // be empty.
  void SetTexts(const std::string& First, const std::string& Second);

  // Whether the first Limit bytes of the file (fewer when it ends before) hold one of the texts
  // before its first zero byte. False on a failure to read.
  bool Contains(TFileReader& File, std::uint64_t Limit);

 private:
  bool Found(std::size_t End) const;

  std::size_t FPieceSize;
  std::string FFirst;
  std::string FSecond;
  std::size_t FOverlap = 0;  // bytes of one piece kept before the next: a match may begin in them
  std::vector<char> FBuffer;
};
