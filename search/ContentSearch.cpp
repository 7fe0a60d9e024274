#include "search/ContentSearch.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

// A to Z only, written so that the compiler can do many bytes at once.
void UpperCaseAscii(char* Text, std::size_t Size) {
  auto* Bytes = reinterpret_cast<unsigned char*>(Text);
  for (std::size_t I = 0; I < Size; ++I) {
    const unsigned char C = Bytes[I];
    Bytes[I] = static_cast<unsigned char>(C - (static_cast<unsigned char>(C - 'a') < 26 ? 32 : 0));
  }
}

}  // namespace

TContentSearch::TContentSearch(std::size_t PieceSize) : FPieceSize(std::max<std::size_t>(PieceSize, 1)) {}

void TContentSearch::SetTexts(const std::string& First, const std::string& Second) {
  FFirst = First;
  FSecond = Second;
  FOverlap = std::max(FFirst.size(), FSecond.size());
  if (FOverlap > 0) --FOverlap;
  FBuffer.assign(FOverlap + FPieceSize, '\0');
}

bool TContentSearch::Found(std::size_t End) const {
  const std::string_view Text(FBuffer.data(), End);
  if (Text.find(FFirst) != std::string_view::npos) return true;
  return !FSecond.empty() && Text.find(FSecond) != std::string_view::npos;
}

bool TContentSearch::Contains(TFileReader& File, std::uint64_t Limit) {
  if (FFirst.empty()) return false;
  std::size_t Kept = 0;  // the end of the last piece, upper-cased already
  while (Limit > 0) {
    const std::size_t Wanted = static_cast<std::size_t>(std::min<std::uint64_t>(FPieceSize, Limit));
    char* const Piece = FBuffer.data() + Kept;
    std::ptrdiff_t Got = File.Read(Piece, Wanted);
    if (Got < 0) return false;
    if (Got == 0) return false;  // the file ended early: it shrank since it was opened
    Limit -= static_cast<std::uint64_t>(Got);
    // The text ends at the first zero byte: what follows it is never searched.
    const void* Zero = std::memchr(Piece, 0, static_cast<std::size_t>(Got));
    if (Zero) Got = static_cast<const char*>(Zero) - Piece;
    UpperCaseAscii(Piece, static_cast<std::size_t>(Got));
    const std::size_t End = Kept + static_cast<std::size_t>(Got);
    if (Found(End)) return true;
    if (Zero) return false;
    Kept = std::min(FOverlap, End);
    std::memmove(FBuffer.data(), FBuffer.data() + End - Kept, Kept);
  }
  return false;
}
