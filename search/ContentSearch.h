#pragma once
// The content test's reading: a file's text searched for a text in any case of its letters.
// - A file that starts with a UTF-16 byte order mark (FF FE, little endian, or FE FF, big endian) is
//   UTF-16 text, searched whole up to the size limit; its zero bytes are part of its characters.
// - Any other file is searched up to its first zero byte (binary files, and UTF-16 without a byte
//   order mark, end there), as UTF-8 with every letter folded (TFoldedPattern); bytes that are no
//   UTF-8 fold A to Z only.
// The file is read in pieces into buffers that every file reuses, and reading stops at the answer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/FileSystem.h"
#include "search/FoldedPattern.h"

class TContentSearch {
 public:
  // Measured on trees of text and of system files: a first piece of 16 KiB holds most source files
  // whole, and files that are no text show a zero byte in it; later pieces of 64 KiB cost fewer reads
  // than smaller ones and less than reading a file whole.
  static constexpr std::size_t FirstPieceSize = 16 * 1024;
  static constexpr std::size_t DefaultPieceSize = 64 * 1024;

  explicit TContentSearch(std::size_t PieceSize = DefaultPieceSize, std::size_t FirstPiece = FirstPieceSize);

  // The texts looked for: Text (UTF-8, as typed, in any case; not empty) and, unless empty, Bytes, the
  // same text in the ANSI code page, matched in files as bytes with A to Z folded.
  void SetTexts(const std::string& Text, const std::string& Bytes);

  // Whether the first Limit bytes of the file (fewer when it ends before) hold one of the texts.
  // False on a failure to read.
  bool Contains(TFileReader& File, std::uint64_t Limit);

 private:
  // The rest of a UTF-16 file, of which Start[0, Size) was read already after the byte order mark.
  bool ContainsUtf16(TFileReader& File, std::uint64_t Limit, const char* Start, std::size_t Size, bool BigEndian);

  std::size_t FPieceSize;
  std::size_t FFirstPiece;
  TFoldedPattern FFirst;
  TFoldedPattern FSecond;
  std::size_t FOverlap = 0;  // bytes of one piece kept before the next: a match may begin in them
  std::vector<char> FBuffer;
  std::vector<char> FRaw;  // a piece of a UTF-16 file before it becomes UTF-8 in FBuffer
};
