#include "core/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/Conversions.h"

namespace {
// Splits at ";" outside quotes.
std::vector<std::string_view> SplitSections(std::string_view Mask) {
  std::vector<std::string_view> Sections;
  std::size_t Start = 0;
  char Quote = 0;
  for (std::size_t I = 0; I < Mask.size(); ++I) {
    const char C = Mask[I];
    if (Quote) {
      if (C == Quote) Quote = 0;
    } else if (C == '\'' || C == '"') {
      Quote = C;
    } else if (C == ';') {
      Sections.push_back(Mask.substr(Start, I - Start));
      Start = I + 1;
      if (Sections.size() == 2) break;  // the third section runs to the end
    }
  }
  Sections.push_back(Mask.substr(Start));
  if (Sections.size() > 3) Sections.resize(3);
  return Sections;
}

// What a section asks for, gathered in one pass.
struct TSectionLayout {
  int IntPlaceholders = 0;  // digit placeholders before the point (or the exponent)
  int MinIntDigits = 0;     // from the leftmost "0" before the point
  int FracPlaceholders = 0;
  int MinFracDigits = 0;  // up to the rightmost "0" after the point
  bool HasPoint = false;
  bool Grouping = false;
  bool Scientific = false;
  bool ExponentPlus = false;
  int ExponentDigits = 0;
};

bool IsExponentAt(std::string_view S, std::size_t I) {
  return (S[I] == 'E' || S[I] == 'e') && I + 1 < S.size() && (S[I + 1] == '+' || S[I + 1] == '-');
}

TSectionLayout Analyse(std::string_view S) {
  TSectionLayout L;
  char Quote = 0;
  int LeftmostZero = -1;  // counted in placeholders from the left
  for (std::size_t I = 0; I < S.size(); ++I) {
    const char C = S[I];
    if (Quote) {
      if (C == Quote) Quote = 0;
      continue;
    }
    if (L.Scientific) {
      if (C == '0' && L.ExponentDigits < 4)
        ++L.ExponentDigits;
      else if (C != '0' && C != '#')
        break;
      continue;
    }
    if (C == '\'' || C == '"') {
      Quote = C;
    } else if (C == '0' || C == '#') {
      if (L.HasPoint) {
        ++L.FracPlaceholders;
        if (C == '0') L.MinFracDigits = L.FracPlaceholders;
      } else {
        if (C == '0' && LeftmostZero < 0) LeftmostZero = L.IntPlaceholders;
        ++L.IntPlaceholders;
      }
    } else if (C == '.') {
      L.HasPoint = true;
    } else if (C == ',') {
      L.Grouping = true;
    } else if (IsExponentAt(S, I)) {
      L.Scientific = true;
      L.ExponentPlus = S[I + 1] == '+';
      ++I;
    }
  }
  if (LeftmostZero >= 0) L.MinIntDigits = L.IntPlaceholders - LeftmostZero;
  return L;
}

// A non-negative number as decimal digits: Digits[0] is the leftmost, Point digits stand before
// the decimal point (Point may be <= 0 or beyond the digits).
struct TDecimal {
  std::string Digits;
  int Point = 0;
};

// Value (non-negative, finite) at 18 significant digits, the last one rounded half to even.
TDecimal ToDecimal18(double Value) {
  TDecimal D;
  if (Value == 0) return D;
  char Buffer[64];
  const auto R = std::to_chars(Buffer, Buffer + sizeof Buffer, Value, std::chars_format::scientific, 17);
  const std::string Sci(Buffer, R.ptr);
  const std::size_t EPos = Sci.find('e');
  for (std::size_t I = 0; I < EPos; ++I)
    if (Sci[I] != '.') D.Digits += Sci[I];
  D.Point = std::atoi(Sci.c_str() + EPos + 1) + 1;
  return D;
}

// Keeps Decimals fraction digits, looking only at the first dropped digit (5 and up rounds the
// magnitude up). The result has no leading zeros in its digits, except that zero is empty.
TDecimal RoundTo(TDecimal D, int Decimals) {
  const int Keep = D.Point + Decimals;
  if (Keep < 0 || D.Digits.empty()) return TDecimal{};
  if (Keep >= static_cast<int>(D.Digits.size())) return D;
  const bool Up = D.Digits[static_cast<std::size_t>(Keep)] >= '5';
  D.Digits.resize(static_cast<std::size_t>(Keep));
  if (Up) {
    int I = Keep - 1;
    while (I >= 0 && D.Digits[static_cast<std::size_t>(I)] == '9') D.Digits[static_cast<std::size_t>(I--)] = '0';
    if (I < 0) {
      D.Digits.insert(D.Digits.begin(), '1');
      ++D.Point;
    } else {
      ++D.Digits[static_cast<std::size_t>(I)];
    }
  }
  while (!D.Digits.empty() && D.Digits.back() == '0' && static_cast<int>(D.Digits.size()) > D.Point)
    D.Digits.pop_back();
  if (D.Digits.find_first_not_of('0') == std::string::npos) return TDecimal{};
  return D;
}

std::string IntegerDigits(const TDecimal& D) {
  if (D.Point <= 0) return "";
  std::string S = D.Digits.substr(0, static_cast<std::size_t>(std::min<int>(D.Point, int(D.Digits.size()))));
  S.append(static_cast<std::size_t>(std::max(0, D.Point - int(D.Digits.size()))), '0');
  return S;
}

std::string FractionDigits(const TDecimal& D, int Places) {
  std::string S;
  for (int K = 0; K < Places; ++K) {
    const int Index = D.Point + K;
    S += (Index >= 0 && Index < int(D.Digits.size())) ? D.Digits[static_cast<std::size_t>(Index)] : '0';
  }
  return S;
}

class TMaskWriter {
 public:
  TMaskWriter(std::string_view Section, const TSectionLayout& L, bool Negative, double Magnitude,
              const TFormatSettings& Settings)
      : FSection(Section), FLayout(L), FSettings(Settings) {
    int Exponent = 0;
    TDecimal D = ToDecimal18(Magnitude);
    if (L.Scientific && !D.Digits.empty()) {
      // One integer digit (or none for a "#"-only integer part), the rest in the exponent.
      const int Lead = L.IntPlaceholders > 0 ? 1 : 0;
      Exponent = D.Point - Lead;
      D.Point = Lead;
      D = RoundTo(D, L.FracPlaceholders);
      if (D.Point > Lead && !D.Digits.empty()) ++Exponent, --D.Point;  // 9.99 rounded to 10.0
    } else {
      D = RoundTo(D, L.FracPlaceholders);
    }
    FNegative = Negative && !D.Digits.empty();
    FInt = IntegerDigits(D);
    if (static_cast<int>(FInt.size()) < L.MinIntDigits) FInt.insert(0, std::size_t(L.MinIntDigits) - FInt.size(), '0');
    FFrac = FractionDigits(D, L.FracPlaceholders);
    while (static_cast<int>(FFrac.size()) > L.MinFracDigits && !FFrac.empty() && FFrac.back() == '0') FFrac.pop_back();
    FExponent = Exponent;
  }

  std::string Write() {
    char Quote = 0;
    bool InExponent = false;
    for (std::size_t I = 0; I < FSection.size(); ++I) {
      const char C = FSection[I];
      if (Quote) {
        if (C == Quote)
          Quote = 0;
        else
          FOut += C;
        continue;
      }
      if (InExponent && (C == '0' || C == '#')) continue;  // written with the exponent
      InExponent = false;
      if (C == '\'' || C == '"') {
        Quote = C;
      } else if (C == '0' || C == '#') {
        Placeholder();
      } else if (C == '.') {
        if (!FPointDone) Point();
      } else if (C == ',') {
        // grouping is a property of the whole section
      } else if (FLayout.Scientific && !FExponentDone && IsExponentAt(FSection, I)) {
        FinishInteger();
        if (!FPointDone) Point();
        Exponent(C);
        ++I;
        InExponent = true;
      } else {
        FOut += C;
      }
    }
    FinishInteger();
    return FOut;
  }

 private:
  void Sign() {
    if (FNegative && !FSignDone) FOut += '-';
    FSignDone = true;
  }
  // Integer digit at Position (1 = units), with a group separator after it when one is due.
  void Digit(int Position) {
    FOut += FInt[FInt.size() - static_cast<std::size_t>(Position)];
    if (FLayout.Grouping && Position > 1 && (Position - 1) % 3 == 0) FOut += FSettings.ThousandSeparator;
  }
  void Placeholder() {
    if (FPointDone) {
      if (FFracWritten < static_cast<int>(FFrac.size())) FOut += FFrac[static_cast<std::size_t>(FFracWritten)];
      ++FFracWritten;
      return;
    }
    Sign();
    const int Remaining = FLayout.IntPlaceholders - FIntSeen;  // this placeholder's position
    if (FIntSeen == 0)
      for (int P = static_cast<int>(FInt.size()); P > Remaining; --P) Digit(P);  // digits beyond the mask
    if (Remaining <= static_cast<int>(FInt.size())) Digit(Remaining);
    ++FIntSeen;
  }
  void FinishInteger() {
    if (FIntSeen > 0 || FIntDone) return;
    // A section without integer placeholders still writes every integer digit.
    Sign();
    for (int P = static_cast<int>(FInt.size()); P >= 1; --P) Digit(P);
    FIntDone = true;
  }
  void Point() {
    FinishInteger();
    FPointDone = true;
    if (!FFrac.empty() || FLayout.MinFracDigits > 0) FOut += FSettings.DecimalSeparator;
  }
  void Exponent(char E) {
    FExponentDone = true;
    FOut += E;
    if (FExponent < 0)
      FOut += '-';
    else if (FLayout.ExponentPlus)
      FOut += '+';
    std::string Digits = std::to_string(std::abs(FExponent));
    if (static_cast<int>(Digits.size()) < FLayout.ExponentDigits)
      Digits.insert(0, std::size_t(FLayout.ExponentDigits) - Digits.size(), '0');
    FOut += Digits;
  }

  std::string_view FSection;
  const TSectionLayout& FLayout;
  const TFormatSettings& FSettings;
  bool FNegative = false;
  std::string FInt, FFrac, FOut;
  int FExponent = 0;
  int FIntSeen = 0, FFracWritten = 0;
  bool FSignDone = false, FIntDone = false, FPointDone = false, FExponentDone = false;
};

bool HasPlaceholder(std::string_view Section) {
  char Quote = 0;
  for (char C : Section) {
    if (Quote) {
      if (C == Quote) Quote = 0;
    } else if (C == '\'' || C == '"') {
      Quote = C;
    } else if (C == '0' || C == '#') {
      return true;
    }
  }
  return false;
}
}  // namespace

std::string FormatFloat(std::string_view Mask, double Value, const TFormatSettings& Settings) {
  if (Mask.empty() || !std::isfinite(Value)) return FloatToStr(Value, Settings);
  const std::vector<std::string_view> Sections = SplitSections(Mask);
  if (Sections[0].empty()) return FloatToStr(Value, Settings);
  std::string_view Section = Sections[0];
  bool WriteMinus = Value < 0;
  if (Value < 0 && Sections.size() > 1 && !Sections[1].empty()) {
    Section = Sections[1];
    WriteMinus = false;  // the negative section carries its own sign, if any
  } else if (Value == 0 && Sections.size() > 2 && !Sections[2].empty()) {
    Section = Sections[2];
  }
  if (!HasPlaceholder(Section)) {
    // Only literal text: written as it stands.
    return TMaskWriter(Section, Analyse(Section), false, 0.0, Settings).Write();
  }
  return TMaskWriter(Section, Analyse(Section), WriteMinus, std::fabs(Value), Settings).Write();
}
