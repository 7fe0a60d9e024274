#include "core/Text.h"

#include <algorithm>

std::string AsciiUpperCase(std::string_view Text) {
  std::string Result(Text);
  for (char& C : Result) C = AsciiUpper(C);
  return Result;
}

std::string AsciiLowerCase(std::string_view Text) {
  std::string Result(Text);
  for (char& C : Result) C = AsciiLower(C);
  return Result;
}

bool AsciiSameText(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (std::size_t I = 0; I < A.size(); ++I)
    if (AsciiLower(A[I]) != AsciiLower(B[I])) return false;
  return true;
}

int AsciiCompareText(std::string_view A, std::string_view B) {
  const std::size_t Common = std::min(A.size(), B.size());
  for (std::size_t I = 0; I < Common; ++I) {
    const auto X = static_cast<unsigned char>(AsciiLower(A[I]));
    const auto Y = static_cast<unsigned char>(AsciiLower(B[I]));
    if (X != Y) return X < Y ? -1 : 1;
  }
  return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}

namespace {

constexpr char32_t Replacement = 0xFFFD;

// Decodes one code point at Pos and advances Pos; malformed sequences, overlong forms, surrogates
// and values past U+10FFFF give U+FFFD for their first byte only, so decoding resynchronises.
char32_t DecodeUtf8(std::string_view Text, std::size_t& Pos, bool& Valid) {
  const auto Byte = [&](std::size_t I) { return static_cast<unsigned char>(Text[I]); };
  const unsigned char Lead = Byte(Pos);
  Valid = true;
  if (Lead < 0x80) {
    ++Pos;
    return Lead;
  }
  int Length = 0;
  char32_t Code = 0, Minimum = 0;
  if ((Lead & 0xE0) == 0xC0) {
    Length = 2, Code = Lead & 0x1F, Minimum = 0x80;
  } else if ((Lead & 0xF0) == 0xE0) {
    Length = 3, Code = Lead & 0x0F, Minimum = 0x800;
  } else if ((Lead & 0xF8) == 0xF0) {
    Length = 4, Code = Lead & 0x07, Minimum = 0x10000;
  }
  if (Length == 0 || Pos + Length > Text.size()) {
    Valid = false;
    ++Pos;
    return Replacement;
  }
  for (int I = 1; I < Length; ++I) {
    const unsigned char Next = Byte(Pos + I);
    if ((Next & 0xC0) != 0x80) {
      Valid = false;
      ++Pos;
      return Replacement;
    }
    Code = (Code << 6) | (Next & 0x3F);
  }
  if (Code < Minimum || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF)) {
    Valid = false;
    ++Pos;
    return Replacement;
  }
  Pos += Length;
  return Code;
}

void AppendUtf8(std::string& Out, char32_t Code) {
  if (Code < 0x80) {
    Out += char(Code);
  } else if (Code < 0x800) {
    Out += char(0xC0 | (Code >> 6));
    Out += char(0x80 | (Code & 0x3F));
  } else if (Code < 0x10000) {
    Out += char(0xE0 | (Code >> 12));
    Out += char(0x80 | ((Code >> 6) & 0x3F));
    Out += char(0x80 | (Code & 0x3F));
  } else {
    Out += char(0xF0 | (Code >> 18));
    Out += char(0x80 | ((Code >> 12) & 0x3F));
    Out += char(0x80 | ((Code >> 6) & 0x3F));
    Out += char(0x80 | (Code & 0x3F));
  }
}

}  // namespace

bool IsValidUtf8(std::string_view Text) {
  std::size_t Pos = 0;
  bool Valid = true;
  while (Pos < Text.size()) {
    DecodeUtf8(Text, Pos, Valid);
    if (!Valid) return false;
  }
  return true;
}

void AppendUtf16(std::string_view Text, std::u16string& Out) {
  std::size_t Pos = 0;
  bool Valid = true;
  while (Pos < Text.size()) {
    const char32_t Code = DecodeUtf8(Text, Pos, Valid);
    if (Code >= 0x10000) {
      Out += char16_t(0xD800 + ((Code - 0x10000) >> 10));
      Out += char16_t(0xDC00 + ((Code - 0x10000) & 0x3FF));
    } else {
      Out += char16_t(Code);
    }
  }
}

std::u16string Utf8ToUtf16(std::string_view Text) {
  std::u16string Result;
  Result.reserve(Text.size());
  AppendUtf16(Text, Result);
  return Result;
}

std::string Utf16ToUtf8(std::u16string_view Text) {
  std::string Result;
  Result.reserve(Text.size());
  for (std::size_t I = 0; I < Text.size(); ++I) {
    char32_t Code = Text[I];
    if (Code >= 0xD800 && Code <= 0xDBFF && I + 1 < Text.size() && Text[I + 1] >= 0xDC00 && Text[I + 1] <= 0xDFFF) {
      Code = 0x10000 + ((Code - 0xD800) << 10) + (Text[I + 1] - 0xDC00);
      ++I;
    } else if (Code >= 0xD800 && Code <= 0xDFFF) {
      Code = Replacement;
    }
    AppendUtf8(Result, Code);
  }
  return Result;
}

std::string DecodeLegacyText(std::string_view Bytes) {
  if (IsValidUtf8(Bytes)) return std::string(Bytes);
  return AnsiToUtf8(Bytes);
}

std::string GroupDigits(std::uint64_t Value, std::string_view Separator) {
  const std::string Digits = std::to_string(Value);
  std::string Result;
  Result.reserve(Digits.size() + Digits.size() / 3 * Separator.size());
  for (std::size_t I = 0; I < Digits.size(); ++I) {
    if (I > 0 && (Digits.size() - I) % 3 == 0) Result += Separator;
    Result += Digits[I];
  }
  return Result;
}
