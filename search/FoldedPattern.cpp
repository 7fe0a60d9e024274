#include "search/FoldedPattern.h"

#include <algorithm>
#include <cstring>

#include "core/CaseFold.h"

namespace {

inline unsigned char AsciiFold(unsigned char C) {
  return static_cast<unsigned char>(C + (unsigned(C - 'A') < 26u ? 32 : 0));
}

// How common a byte is in text (higher is more common): blanks and line breaks most, then the letters
// in the order of their frequency in English, punctuation, digits; the lead bytes of other scripts'
// characters are common in their texts, the bytes that end them much less; control characters least.
int Commonness(unsigned char C) {
  static constexpr std::string_view Letters = "zqjxkvbpgyfwmucldrhsnioate";  // rarest first
  const std::size_t Letter = Letters.find(static_cast<char>(AsciiFold(C)));
  if (Letter != std::string_view::npos) return 10 + static_cast<int>(Letter);
  if (C == ' ' || C == '\t' || C == '\r' || C == '\n') return 40;
  if (C >= '0' && C <= '9') return 12;
  if (C > ' ' && C < 0x7F) return 18;
  if (C >= 0xC0) return 30;
  if (C >= 0x80) return 5;
  return 0;
}

// The first Byte in [From, Stop), or Stop.
const unsigned char* FindByte(const unsigned char* From, const unsigned char* Stop, unsigned char Byte) {
  if (From >= Stop) return Stop;
  const void* Found = std::memchr(From, Byte, static_cast<std::size_t>(Stop - From));
  return Found ? static_cast<const unsigned char*>(Found) : Stop;
}

// The ways a folded character may be written: itself and the other member of its pair.
struct TForms {
  char Bytes[2][4];
  std::size_t Lengths[2];
  int Count;
};

TForms FormsOf(char32_t Folded, bool Bytes) {
  TForms Forms{};
  const char32_t Partner = Bytes ? (Folded >= 'a' && Folded <= 'z' ? Folded - 32 : Folded) : CasePartner(Folded);
  Forms.Count = Partner == Folded ? 1 : 2;
  Forms.Lengths[0] = EncodeCharacter(Folded, Forms.Bytes[0]);
  if (Forms.Count == 2) Forms.Lengths[1] = EncodeCharacter(Partner, Forms.Bytes[1]);
  return Forms;
}

}  // namespace

void TFoldedPattern::Set(std::string_view Text, TUnits Units) {
  FBytes = Units == puBytes;
  FChars.clear();
  for (std::size_t Position = 0, Length = 1; Position < Text.size(); Position += Length) {
    const auto Byte = static_cast<unsigned char>(Text[Position]);
    if (FBytes || Byte < 0x80) {
      Length = 1;
      FChars.push_back(Byte < 0x80 ? AsciiFold(Byte) : StrayByte + Byte);
    } else {
      FChars.push_back(FoldCase(DecodeCharacter(Text, Position, Length)));
    }
  }
  std::vector<TForms> Forms;
  for (const char32_t Char : FChars) Forms.push_back(FormsOf(Char, FBytes));
  const auto Shortest = [](const TForms& F) {
    return std::min(F.Lengths[0], F.Count == 2 ? F.Lengths[1] : F.Lengths[0]);
  };
  const auto Longest = [](const TForms& F) {
    return std::max(F.Lengths[0], F.Count == 2 ? F.Lengths[1] : F.Lengths[0]);
  };
  FMaxBytes = 0;
  for (const TForms& F : Forms) FMaxBytes += Longest(F);
  FAnchorCount = 0;
  if (FChars.empty()) return;

  // The anchor is the last byte of a character whose two forms have one length, when every character
  // before it is of that kind too (so that it stands at a known distance from the start); or else the
  // first byte of the first character. Of these, the rarest.
  std::size_t MinAfter = 0;  // least bytes of the characters after the one considered
  std::vector<std::size_t> Tails(Forms.size());
  for (std::size_t I = Forms.size(); I-- > 0;) {
    Tails[I] = MinAfter;
    MinAfter += Shortest(Forms[I]);
  }
  int Best = 1 << 30;
  const auto Consider = [&](const TForms& F, std::size_t ByteIndex, std::size_t Offset, std::size_t Tail) {
    const auto First = static_cast<unsigned char>(F.Bytes[0][ByteIndex == 0 ? 0 : F.Lengths[0] - 1]);
    const int Cost = Commonness(First);
    if (Cost >= Best) return;
    Best = Cost;
    FAnchors[0] = FAnchors[1] = First;
    if (F.Count == 2) FAnchors[1] = static_cast<unsigned char>(F.Bytes[1][ByteIndex == 0 ? 0 : F.Lengths[1] - 1]);
    FAnchorCount = FAnchors[1] == FAnchors[0] ? 1 : 2;
    FAnchorOffset = Offset;
    FMinTail = Tail;
  };
  Consider(Forms[0], 0, 0, Shortest(Forms[0]) - 1 + Tails[0]);
  std::size_t Offset = 0;
  for (std::size_t I = 0; I < Forms.size(); ++I) {
    const TForms& F = Forms[I];
    if (F.Count == 2 && F.Lengths[0] != F.Lengths[1]) break;
    Consider(F, 1, Offset + F.Lengths[0] - 1, Tails[I]);
    Offset += F.Lengths[0];
  }
}

bool TFoldedPattern::MatchesAt(const unsigned char* At, const unsigned char* End) const {
  for (const char32_t Char : FChars) {
    if (At >= End) return false;
    const unsigned char Byte = *At;
    if (Byte < 0x80 || FBytes) {
      if ((Byte < 0x80 ? AsciiFold(Byte) : StrayByte + Byte) != Char) return false;
      ++At;
      continue;
    }
    std::size_t Length;
    const std::string_view Rest(reinterpret_cast<const char*>(At), static_cast<std::size_t>(End - At));
    if (FoldNonAscii(DecodeCharacter(Rest, 0, Length)) != Char) return false;
    At += Length;
  }
  return true;
}

bool TFoldedPattern::FoundIn(const unsigned char* Data, std::size_t Size) const {
  if (FAnchorCount == 0 || Size < FAnchorOffset + 1 + FMinTail) return false;
  const unsigned char* const End = Data + Size;
  const unsigned char* const From = Data + FAnchorOffset;
  const unsigned char* const Stop = End - FMinTail;
  const unsigned char* Next[2] = {FindByte(From, Stop, FAnchors[0]),
                                  FAnchorCount == 2 ? FindByte(From, Stop, FAnchors[1]) : Stop};
  for (;;) {
    const int Which = Next[1] < Next[0] ? 1 : 0;
    const unsigned char* At = Next[Which];
    if (At == Stop) return false;
    if (MatchesAt(At - FAnchorOffset, End)) return true;
    Next[Which] = FindByte(At + 1, Stop, FAnchors[Which]);
  }
}
