#include "search/ContentSearch.h"

#include <algorithm>
#include <cstring>

#include "core/CaseFold.h"

namespace {

// UTF-16 code units from Raw (an even count of bytes) as UTF-8 into Out; High carries a high
// surrogate whose partner may come in the next piece. A unit that is no part of a pair becomes U+FFFD.
std::size_t Utf16ToUtf8(const unsigned char* Raw, std::size_t Size, bool BigEndian, char32_t& High, char* Out) {
  char* const Start = Out;
  for (std::size_t I = 0; I + 1 < Size; I += 2) {
    const char32_t Unit = BigEndian ? (char32_t(Raw[I]) << 8) | Raw[I + 1] : (char32_t(Raw[I + 1]) << 8) | Raw[I];
    if (Unit < 0x80 && High == 0) {
      *Out++ = static_cast<char>(Unit);
      continue;
    }
    if (High != 0) {
      const char32_t First = High;
      High = 0;
      if (Unit >= 0xDC00 && Unit <= 0xDFFF) {
        Out += EncodeCharacter(0x10000 + ((First - 0xD800) << 10) + (Unit - 0xDC00), Out);
        continue;
      }
      Out += EncodeCharacter(0xFFFD, Out);
    }
    if (Unit >= 0xD800 && Unit <= 0xDBFF) {
      High = Unit;
    } else {
      Out += EncodeCharacter(Unit >= 0xDC00 && Unit <= 0xDFFF ? 0xFFFD : Unit, Out);
    }
  }
  return static_cast<std::size_t>(Out - Start);
}

}  // namespace

TContentSearch::TContentSearch(std::size_t PieceSize, std::size_t FirstPiece)
    : FPieceSize(std::max<std::size_t>(PieceSize, 2)),
      FFirstPiece(std::clamp<std::size_t>(FirstPiece, 2, FPieceSize)) {}

void TContentSearch::SetTexts(const std::string& Text, const std::string& Bytes) {
  FFirst.Set(Text, TFoldedPattern::puUtf8);
  FSecond.Set(Bytes, TFoldedPattern::puBytes);
  FOverlap = std::max(FFirst.MaxMatchBytes(), FSecond.MaxMatchBytes());
  if (FOverlap > 0) --FOverlap;
  // A piece of UTF-16 takes at most half again its size as UTF-8 (three bytes for two), and a pair
  // carried from the piece before four more.
  FBuffer.assign(FOverlap + FPieceSize + FPieceSize / 2 + 16, '\0');
  FRaw.assign(FPieceSize + 1, '\0');
}

bool TContentSearch::Contains(TFileReader& File, std::uint64_t Limit) {
  if (FFirst.Empty()) return false;
  std::size_t Kept = 0;  // the end of the last piece
  for (std::size_t Piece = FFirstPiece; Limit > 0; Piece = FPieceSize) {
    const std::size_t Wanted = static_cast<std::size_t>(std::min<std::uint64_t>(Piece, Limit));
    char* const Start = FBuffer.data() + Kept;
    std::ptrdiff_t Got = File.Read(Start, Wanted);
    if (Got <= 0) return false;  // a failure, or the file ended early: it shrank since it was opened
    Limit -= static_cast<std::uint64_t>(Got);
    if (Piece == FFirstPiece && Kept == 0 && Got >= 2) {
      const auto Mark = [&](unsigned char A, unsigned char B) {
        return static_cast<unsigned char>(Start[0]) == A && static_cast<unsigned char>(Start[1]) == B;
      };
      if (Mark(0xFF, 0xFE) || Mark(0xFE, 0xFF))
        return ContainsUtf16(File, Limit, Start + 2, static_cast<std::size_t>(Got) - 2, Mark(0xFE, 0xFF));
    }
    // The text ends at the first zero byte: what follows it is never searched.
    const void* Zero = std::memchr(Start, 0, static_cast<std::size_t>(Got));
    if (Zero) Got = static_cast<const char*>(Zero) - Start;
    const std::size_t End = Kept + static_cast<std::size_t>(Got);
    const auto* Data = reinterpret_cast<const unsigned char*>(FBuffer.data());
    if (FFirst.FoundIn(Data, End) || FSecond.FoundIn(Data, End)) return true;
    if (Zero) return false;
    Kept = std::min(FOverlap, End);
    std::memmove(FBuffer.data(), FBuffer.data() + End - Kept, Kept);
  }
  return false;
}

bool TContentSearch::ContainsUtf16(TFileReader& File, std::uint64_t Limit, const char* Start, std::size_t Size,
                                   bool BigEndian) {
  std::memcpy(FRaw.data(), Start, Size);
  const auto* Raw = reinterpret_cast<const unsigned char*>(FRaw.data());
  const auto* Data = reinterpret_cast<const unsigned char*>(FBuffer.data());
  std::size_t Kept = 0;
  char32_t High = 0;
  for (;;) {
    std::size_t End = Kept + Utf16ToUtf8(Raw, Size, BigEndian, High, FBuffer.data() + Kept);
    const bool Last = Limit == 0;
    if (Last && High != 0) End += EncodeCharacter(0xFFFD, FBuffer.data() + End);  // cut inside a pair
    if (FFirst.FoundIn(Data, End)) return true;
    if (Last) return false;  // an odd byte at the end is no character
    Kept = std::min(FOverlap, End);
    std::memmove(FBuffer.data(), FBuffer.data() + End - Kept, Kept);
    const std::size_t Odd = Size % 2;
    if (Odd) FRaw[0] = FRaw[Size - 1];
    const std::size_t Wanted = static_cast<std::size_t>(std::min<std::uint64_t>(FPieceSize, Limit));
    const std::ptrdiff_t Got = File.Read(FRaw.data() + Odd, Wanted);
    if (Got <= 0) return false;
    Limit -= static_cast<std::uint64_t>(Got);
    Size = Odd + static_cast<std::size_t>(Got);
  }
}
