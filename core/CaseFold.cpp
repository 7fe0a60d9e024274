#include "core/CaseFold.h"

#include <cstring>

namespace {
#include "core/CaseFoldTable.inc"

inline bool Continuation(unsigned char Byte) { return (Byte & 0xC0) == 0x80; }

// Eight ASCII bytes with A to Z lower-cased, all at once: no byte carries into the next, since every
// byte is below 0x80.
inline std::uint64_t LowerAsciiWord(std::uint64_t Word) {
  constexpr std::uint64_t Ones = 0x0101010101010101ull, High = 0x8080808080808080ull;
  const std::uint64_t AtLeastA = Word + Ones * (0x80 - 'A');
  const std::uint64_t AboveZ = Word + Ones * (0x80 - 'Z' - 1);
  return Word | (((AtLeastA & ~AboveZ) & High) >> 2);
}

// The next folded character of Text at Position (advanced past it).
inline char32_t NextFolded(std::string_view Text, std::size_t& Position) {
  const auto Byte = static_cast<unsigned char>(Text[Position]);
  if (Byte < 0x80) {
    ++Position;
    return (Byte >= 'A' && Byte <= 'Z') ? Byte + 32u : Byte;
  }
  std::size_t Length;
  const char32_t Code = DecodeCharacter(Text, Position, Length);
  Position += Length;
  return FoldNonAscii(Code);
}

}  // namespace

namespace {
// Twice the distance to the other member of Code's pair, plus 1 for an upper-case member; 0 for none.
inline std::int32_t PairOf(char32_t Code) {
  if (Code >= CaseFoldLimit) return 0;
  const std::uint8_t Block = CaseFoldBlockOf[Code >> CaseFoldShift];
  return CaseFoldPairs[CaseFoldBlocks[Block][Code & ((1u << CaseFoldShift) - 1)]];
}
}  // namespace

char32_t FoldNonAscii(char32_t Code) {
  const std::int32_t Pair = PairOf(Code);
  return (Pair & 1) ? static_cast<char32_t>(static_cast<std::int32_t>(Code) + (Pair >> 1)) : Code;
}

char32_t CasePartner(char32_t Code) {
  return static_cast<char32_t>(static_cast<std::int32_t>(Code) + (PairOf(Code) >> 1));
}

char32_t DecodeCharacter(std::string_view Text, std::size_t Position, std::size_t& Length) {
  const auto Byte = [&](std::size_t I) { return static_cast<unsigned char>(Text[Position + I]); };
  const unsigned char Lead = Byte(0);
  Length = 1;
  if (Lead < 0x80) return Lead;
  std::size_t Size = 0;
  char32_t Code = 0, Minimum = 0;
  if (Lead >= 0xC2 && Lead <= 0xDF) {
    Size = 2, Code = Lead & 0x1Fu, Minimum = 0x80;
  } else if (Lead >= 0xE0 && Lead <= 0xEF) {
    Size = 3, Code = Lead & 0x0Fu, Minimum = 0x800;
  } else if (Lead >= 0xF0 && Lead <= 0xF4) {
    Size = 4, Code = Lead & 0x07u, Minimum = 0x10000;
  }
  if (Size == 0 || Position + Size > Text.size()) return StrayByte + Lead;
  for (std::size_t I = 1; I < Size; ++I) {
    if (!Continuation(Byte(I))) return StrayByte + Lead;
    Code = (Code << 6) | (Byte(I) & 0x3Fu);
  }
  if (Code < Minimum || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF)) return StrayByte + Lead;
  Length = Size;
  return Code;
}

std::size_t EncodeCharacter(char32_t Code, char* Out) {
  if (Code < 0x80) {
    Out[0] = static_cast<char>(Code);
    return 1;
  }
  if (Code < 0x800) {
    Out[0] = static_cast<char>(0xC0 | (Code >> 6));
    Out[1] = static_cast<char>(0x80 | (Code & 0x3F));
    return 2;
  }
  if (Code < 0x10000) {
    Out[0] = static_cast<char>(0xE0 | (Code >> 12));
    Out[1] = static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
    Out[2] = static_cast<char>(0x80 | (Code & 0x3F));
    return 3;
  }
  if (Code < StrayByte) {
    Out[0] = static_cast<char>(0xF0 | (Code >> 18));
    Out[1] = static_cast<char>(0x80 | ((Code >> 12) & 0x3F));
    Out[2] = static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
    Out[3] = static_cast<char>(0x80 | (Code & 0x3F));
    return 4;
  }
  Out[0] = static_cast<char>(Code - StrayByte);
  return 1;
}

void AppendCharacter(char32_t Code, std::string& Out) {
  char Bytes[4];
  Out.append(Bytes, EncodeCharacter(Code, Bytes));
}

void FoldText(std::string_view Text, std::string& Out) {
  // Out keeps room for the rest of Text at every step; only a letter whose fold is longer (a few
  // phonetic letters) makes it grow.
  const std::size_t Size = Text.size();
  Out.resize(Size);
  std::size_t From = 0, To = 0;
  while (From < Size) {
    while (From + 8 <= Size) {
      std::uint64_t Word;
      std::memcpy(&Word, Text.data() + From, 8);
      if (Word & 0x8080808080808080ull) break;
      Word = LowerAsciiWord(Word);
      std::memcpy(&Out[To], &Word, 8);
      From += 8;
      To += 8;
    }
    if (From == Size) break;
    const auto Byte = static_cast<unsigned char>(Text[From]);
    if (Byte < 0x80) {
      Out[To++] = static_cast<char>((Byte >= 'A' && Byte <= 'Z') ? Byte + 32 : Byte);
      ++From;
      continue;
    }
    // Two-byte letters (Latin, Greek, Cyrillic, Armenian, Hebrew, Arabic) fold without the general decoder.
    if (Byte >= 0xC2 && Byte <= 0xDF && From + 1 < Size && Continuation(static_cast<unsigned char>(Text[From + 1]))) {
      const char32_t Code = ((Byte & 0x1Fu) << 6) | (static_cast<unsigned char>(Text[From + 1]) & 0x3Fu);
      const char32_t Folded = FoldNonAscii(Code);
      if (Folded < 0x800) {
        Out[To++] = static_cast<char>(0xC0 | (Folded >> 6));
        Out[To++] = static_cast<char>(0x80 | (Folded & 0x3F));
        From += 2;
        continue;
      }
    }
    std::size_t Length;
    const char32_t Code = DecodeCharacter(Text, From, Length);
    const char32_t Folded = FoldNonAscii(Code);
    if (Folded == Code) {
      std::memcpy(&Out[To], Text.data() + From, Length);
      To += Length;
    } else {
      char Bytes[4];
      const std::size_t Made = EncodeCharacter(Folded, Bytes);
      if (Made > Length) Out.resize(Out.size() + Made - Length);
      std::memcpy(&Out[To], Bytes, Made);
      To += Made;
    }
    From += Length;
  }
  Out.resize(To);
}

std::string FoldText(std::string_view Text) {
  std::string Out;
  Out.reserve(Text.size());
  FoldText(Text, Out);
  return Out;
}

int CompareFoldedText(std::string_view A, std::string_view B) {
  std::size_t I = 0, J = 0;
  while (I < A.size() && J < B.size()) {
    const char32_t X = NextFolded(A, I);
    const char32_t Y = NextFolded(B, J);
    if (X != Y) return X < Y ? -1 : 1;
  }
  if (I < A.size()) return 1;
  return J < B.size() ? -1 : 0;
}

bool SameFoldedText(std::string_view A, std::string_view B) {
  // Equal bytes are equal characters as long as both sides stay in step, which they do up to the
  // first difference: the common run is skipped before anything is decoded.
  std::size_t Same = 0;
  const std::size_t Limit = A.size() < B.size() ? A.size() : B.size();
  while (Same < Limit && A[Same] == B[Same]) ++Same;
  if (Same == A.size() && Same == B.size()) return true;
  // Every byte that is no continuation byte starts a character: back to one that does in both.
  const auto Starts = [](std::string_view Text, std::size_t At) {
    return At >= Text.size() || !Continuation(static_cast<unsigned char>(Text[At]));
  };
  while (Same > 0 && !(Starts(A, Same) && Starts(B, Same))) --Same;
  return CompareFoldedText(A.substr(Same), B.substr(Same)) == 0;
}
