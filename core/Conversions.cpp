#include "core/Conversions.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "core/Exceptions.h"
#include "core/Text.h"

namespace {
bool IsBlank(char C) { return C == ' ' || C == '\t'; }

int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

// Power of ten of the leading significant digit of a well-formed C-locale number text.
long long DecimalMagnitude(const std::string& Plain) {
  const std::size_t EPos = Plain.find('e');
  const std::string Mantissa = Plain.substr(0, EPos);
  long long Exponent = 0;
  if (EPos != std::string::npos) {
    const std::string Digits = Plain.substr(EPos + 1);
    const bool Negative = !Digits.empty() && Digits[0] == '-';
    for (char C : Digits)
      if (C >= '0' && C <= '9') Exponent = std::min(Exponent * 10 + (C - '0'), 1000000000LL);
    if (Negative) Exponent = -Exponent;
  }
  long long Position = 0, Point = -1, FirstNonZero = -1;
  for (char C : Mantissa) {
    if (C == '.')
      Point = Position;
    else if (C >= '0' && C <= '9') {
      if (C != '0' && FirstNonZero < 0) FirstNonZero = Position;
      ++Position;
    }
  }
  if (FirstNonZero < 0) return LLONG_MIN / 2;
  if (Point < 0) Point = Position;
  return Exponent + Point - FirstNonZero - 1;
}

[[noreturn]] void ConvertError(std::string_view Text, const char* What) {
  throw EConvertError("'" + std::string(Text) + "' is not a valid " + What);
}
}  // namespace

bool TryStrToInt(std::string_view Text, int& Value) {
  std::size_t Pos = 0;
  while (Pos < Text.size() && IsBlank(Text[Pos])) ++Pos;
  bool Negative = false;
  if (Pos < Text.size() && (Text[Pos] == '+' || Text[Pos] == '-')) Negative = Text[Pos++] == '-';
  int Base = 10;
  if (Pos < Text.size() && Text[Pos] == '$') {
    Base = 16, ++Pos;
  } else if (Pos + 1 < Text.size() && Text[Pos] == '0' && (Text[Pos + 1] == 'x' || Text[Pos + 1] == 'X')) {
    Base = 16, Pos += 2;
  }
  if (Pos == Text.size()) return false;
  long long Result = 0;
  for (; Pos < Text.size(); ++Pos) {
    const int Digit = HexDigit(Text[Pos]);
    if (Digit < 0 || Digit >= Base) return false;
    Result = Result * Base + Digit;
    if (Result > 0x100000000LL) return false;
  }
  if (Negative) Result = -Result;
  // Hex texts may name the bit pattern of a negative number ("$FFFFFFFF" is -1).
  if (Base == 16 && !Negative && Result > INT_MAX && Result <= 0xFFFFFFFFLL) Result -= 0x100000000LL;
  if (Result < INT_MIN || Result > INT_MAX) return false;
  Value = static_cast<int>(Result);
  return true;
}

int StrToInt(std::string_view Text) {
  int Value = 0;
  if (!TryStrToInt(Text, Value)) ConvertError(Text, "integer value");
  return Value;
}

std::string IntToStr(long long Value) { return std::to_string(Value); }

bool TryStrToFloat(std::string_view Text, double& Value, const TFormatSettings& Settings) {
  std::size_t Begin = 0, End = Text.size();
  while (Begin < End && IsBlank(Text[Begin])) ++Begin;
  while (End > Begin && IsBlank(Text[End - 1])) --End;
  std::string_view Decimal = Settings.DecimalSeparator;
  if (Decimal.empty()) Decimal = ".";
  // Rewrite into the C locale's form, checking the shape on the way.
  std::string Plain;
  std::size_t Pos = Begin;
  if (Pos < End && (Text[Pos] == '+' || Text[Pos] == '-')) Plain += Text[Pos++];
  int Digits = 0;
  bool SeenDecimal = false;
  while (Pos < End) {
    const char C = Text[Pos];
    if (C >= '0' && C <= '9') {
      Plain += C, ++Digits, ++Pos;
    } else if (!SeenDecimal && Text.substr(Pos, Decimal.size()) == Decimal) {
      Plain += '.', SeenDecimal = true, Pos += Decimal.size();
    } else {
      break;
    }
  }
  if (Digits == 0) return false;
  if (Pos < End && (Text[Pos] == 'e' || Text[Pos] == 'E')) {
    Plain += 'e', ++Pos;
    if (Pos < End && (Text[Pos] == '+' || Text[Pos] == '-')) Plain += Text[Pos++];
    int ExponentDigits = 0;
    while (Pos < End && Text[Pos] >= '0' && Text[Pos] <= '9') Plain += Text[Pos++], ++ExponentDigits;
    if (ExponentDigits == 0) return false;
  }
  if (Pos != End) return false;
  const char* First = Plain.c_str();
  if (*First == '+') ++First;
  double Result = 0;
  const auto [Ptr, Error] = std::from_chars(First, Plain.c_str() + Plain.size(), Result);
  if (Error != std::errc() || Ptr != Plain.c_str() + Plain.size() || !std::isfinite(Result)) {
    // Underflow to zero is a number all the same; overflow is not.
    if (Error == std::errc::result_out_of_range && DecimalMagnitude(Plain) < 0) {
      Value = 0.0;
      return true;
    }
    return false;
  }
  Value = Result;
  return true;
}

double StrToFloat(std::string_view Text, const TFormatSettings& Settings) {
  double Value = 0;
  if (!TryStrToFloat(Text, Value, Settings)) ConvertError(Text, "floating point value");
  return Value;
}

std::string FloatToStr(double Value, const TFormatSettings& Settings) {
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value > 0 ? "INF" : "-INF";
  if (Value == 0) return "0";
  // 15 significant digits, then decide between fixed and scientific on the rounded exponent.
  char Buffer[64];
  const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, Value, std::chars_format::scientific, 14);
  const std::string Sci(Buffer, Result.ptr);
  const std::size_t EPos = Sci.find('e');
  const bool Negative = Sci[0] == '-';
  std::string Digits;
  for (std::size_t I = Negative ? 1 : 0; I < EPos; ++I)
    if (Sci[I] != '.') Digits += Sci[I];
  const int Exponent = std::atoi(Sci.c_str() + EPos + 1);
  while (Digits.size() > 1 && Digits.back() == '0') Digits.pop_back();
  const std::string& Decimal = Settings.DecimalSeparator;
  std::string Out = Negative ? "-" : "";
  if (Exponent >= 15 || Exponent < -5) {
    Out += Digits.substr(0, 1);
    if (Digits.size() > 1) Out += Decimal + Digits.substr(1);
    Out += "E" + std::string(Exponent < 0 ? "-" : "") + std::to_string(std::abs(Exponent));
  } else if (Exponent < 0) {
    Out += "0" + Decimal + std::string(static_cast<std::size_t>(-Exponent - 1), '0') + Digits;
  } else {
    const std::size_t IntDigits = static_cast<std::size_t>(Exponent) + 1;
    if (Digits.size() <= IntDigits) {
      Out += Digits + std::string(IntDigits - Digits.size(), '0');
    } else {
      Out += Digits.substr(0, IntDigits) + Decimal + Digits.substr(IntDigits);
    }
  }
  return Out;
}

bool TryStrToBool(std::string_view Text, bool& Value) {
  if (AsciiSameText(Text, "true")) return Value = true, true;
  if (AsciiSameText(Text, "false")) return Value = false, true;
  return false;
}

bool StrToBool(std::string_view Text) {
  bool Value = false;
  if (!TryStrToBool(Text, Value)) ConvertError(Text, "boolean value");
  return Value;
}

std::string BoolToStr(bool Value) { return Value ? "True" : "False"; }

int RoundToInt(double Value) {
  if (std::isnan(Value)) return 0;
  const double Rounded = std::nearbyint(Value);
  if (Rounded >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (Rounded <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(Rounded);
}
