#include "search/ContentSearch.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

unsigned char Upper(unsigned char C) { return static_cast<unsigned char>(C - (unsigned(C - 'a') < 26u ? 32 : 0)); }
unsigned char Lower(unsigned char C) { return static_cast<unsigned char>(C + (unsigned(C - 'A') < 26u ? 32 : 0)); }

// How common a byte is in text (higher is more common): blanks and line breaks most, then the letters
// in the order of their frequency in English, punctuation, digits; bytes of other scripts and control
// characters least.
int Commonness(unsigned char C) {
  static constexpr std::string_view Letters = "ZQJXKVBPGYFWMUCLDRHSNIOATE";  // rarest first
  const std::size_t Letter = Letters.find(static_cast<char>(Upper(C)));
  if (Letter != std::string_view::npos) return 10 + static_cast<int>(Letter);
  if (C == ' ' || C == '\t' || C == '\r' || C == '\n') return 40;
  if (C >= '0' && C <= '9') return 12;
  if (C > ' ' && C < 0x7F) return 18;
  return 0;
}

// The first Byte in [From, Stop), or Stop.
const unsigned char* FindByte(const unsigned char* From, const unsigned char* Stop, unsigned char Byte) {
  if (From >= Stop) return Stop;
  const void* Found = std::memchr(From, Byte, static_cast<std::size_t>(Stop - From));
  return Found ? static_cast<const unsigned char*>(Found) : Stop;
}

}  // namespace

void TContentSearch::TPattern::Set(const std::string& Upper) {
  Text = Upper;
  Rare = 0;
  for (std::size_t I = 1; I < Text.size(); ++I)
    if (Commonness(static_cast<unsigned char>(Text[I])) < Commonness(static_cast<unsigned char>(Text[Rare]))) Rare = I;
  RareUpper = Text.empty() ? 0 : static_cast<unsigned char>(Text[Rare]);
  RareLower = Lower(RareUpper);
}

bool TContentSearch::TPattern::MatchesAt(const unsigned char* Data) const {
  for (std::size_t I = 0; I < Text.size(); ++I)
    if (Upper(Data[I]) != static_cast<unsigned char>(Text[I])) return false;
  return true;
}

bool TContentSearch::TPattern::FoundIn(const unsigned char* Data, std::size_t Size) const {
  if (Text.empty() || Text.size() > Size) return false;
  // Where the rare byte may stand: a match begins Rare bytes before it and must end within Data.
  const unsigned char* const From = Data + Rare;
  const unsigned char* const Stop = Data + Size - (Text.size() - 1 - Rare);
  const unsigned char* NextUpper = FindByte(From, Stop, RareUpper);
  const unsigned char* NextLower = RareLower == RareUpper ? Stop : FindByte(From, Stop, RareLower);
  for (;;) {
    const unsigned char* At = std::min(NextUpper, NextLower);
    if (At == Stop) return false;
    if (MatchesAt(At - Rare)) return true;
    if (At == NextUpper) {
      NextUpper = FindByte(At + 1, Stop, RareUpper);
    } else {
      NextLower = FindByte(At + 1, Stop, RareLower);
    }
  }
}

TContentSearch::TContentSearch(std::size_t PieceSize, std::size_t FirstPiece)
    : FPieceSize(std::max<std::size_t>(PieceSize, 1)),
      FFirstPiece(std::clamp<std::size_t>(FirstPiece, 1, FPieceSize)) {}

void TContentSearch::SetTexts(const std::string& First, const std::string& Second) {
  FFirst.Set(First);
  FSecond.Set(Second);
  FOverlap = std::max(First.size(), Second.size());
  if (FOverlap > 0) --FOverlap;
  FBuffer.assign(FOverlap + FPieceSize, '\0');
}

bool TContentSearch::Contains(TFileReader& File, std::uint64_t Limit) {
  if (FFirst.Text.empty()) return false;
  std::size_t Kept = 0;  // the end of the last piece
  for (std::size_t Piece = FFirstPiece; Limit > 0; Piece = FPieceSize) {
    const std::size_t Wanted = static_cast<std::size_t>(std::min<std::uint64_t>(Piece, Limit));
    char* const Start = FBuffer.data() + Kept;
    std::ptrdiff_t Got = File.Read(Start, Wanted);
    if (Got <= 0) return false;  // a failure, or the file ended early: it shrank since it was opened
    Limit -= static_cast<std::uint64_t>(Got);
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
