#include "gridview/NumericText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/Conversions.h"
#include "core/FormatSettings.h"
#include "core/Text.h"

namespace {
constexpr char16_t CtrlC = 3, Backspace = 8, Tab = 9, CtrlV = 22, CtrlX = 24;

bool IsDigit(char16_t C) { return C >= u'0' && C <= u'9'; }
bool IsSign(char16_t C) { return C == u'+' || C == u'-'; }

std::u16string_view Selection(const TEditState& Edit) {
  const std::u16string_view Text = Edit.Text;
  const std::size_t Start = std::min<std::size_t>(std::max(Edit.SelStart, 0), Text.size());
  return Text.substr(Start, std::max(Edit.SelLength, 0));
}

// The text with the selection cut out.
std::u16string Outside(const TEditState& Edit) {
  std::u16string Text = Edit.Text;
  const std::size_t Start = std::min<std::size_t>(std::max(Edit.SelStart, 0), Text.size());
  Text.erase(Start, std::max(Edit.SelLength, 0));
  return Text;
}

bool Contains(std::u16string_view Text, char16_t C) { return Text.find(C) != std::u16string_view::npos; }
bool HasSign(std::u16string_view Text) { return Contains(Text, u'+') || Contains(Text, u'-'); }
}  // namespace

char16_t DecimalSeparatorUnit() {
  const std::u16string Wide = Utf8ToUtf16(FormatSettings().DecimalSeparator);
  return Wide.empty() ? u'.' : Wide[0];
}

bool NumericKeyAccepted(char16_t Key, const TEditState& Edit, TEditOptions Options, char16_t Decimal) {
  if (Options.Contains(eoAllowAll)) return true;
  if (Key == CtrlC || Key == Tab || Key == CtrlV || Key == CtrlX || Key == Backspace || IsDigit(Key)) return true;
  const std::u16string_view Selected = Selection(Edit);
  if (Key == Decimal)
    return Options.Contains(eoAllowFloat) && (!Contains(Edit.Text, Decimal) || Contains(Selected, Decimal));
  if (IsSign(Key))
    return Options.Contains(eoAllowSigns) && ((Edit.SelStart == 0 && !HasSign(Edit.Text)) || HasSign(Selected));
  return false;
}

std::u16string CleanNumericText(std::u16string_view Text, bool AllowFloat, bool AllowSigns, char16_t Decimal) {
  std::u16string Clean;
  bool HadDecimal = false;
  for (char16_t C : Text) {
    if (IsDigit(C)) {
      Clean += C;
    } else if (C == Decimal) {
      if (AllowFloat && !HadDecimal) Clean += C;
      HadDecimal = true;
    } else if (IsSign(C)) {
      if (AllowSigns && Clean.empty()) Clean += C;
    }
  }
  if (Clean == u"-") Clean = u"0";
  return Clean;
}

double ClampNumericValue(double Value, double Min, double Max) {
  if (Max > 0 && Value > Max) Value = Max;
  if (Value < Min) Value = Min;
  return Value;
}

std::u16string FormatNumericValue(double Value, const TNumericFormat& Format) {
  if (!std::isfinite(Value)) Value = 0;
  if (Value == 0 && !Format.NullText.empty()) return Format.NullText;
  std::u16string Shown;
  if (Format.Precision > 0 && Format.Options.Contains(eoAllowFloat)) {
    const int Digits = std::min(Format.Precision, 18);
    const int Size = std::snprintf(nullptr, 0, "%.*f", Digits, Value);
    std::string Plain(static_cast<std::size_t>(std::max(Size, 0)) + 1, '\0');
    std::snprintf(Plain.data(), Plain.size(), "%.*f", Digits, Value);
    Plain.resize(static_cast<std::size_t>(std::max(Size, 0)));
    Shown = Utf8ToUtf16(Plain);
    std::replace(Shown.begin(), Shown.end(), u'.', Format.Decimal);
  } else {
    TFormatSettings Settings = FormatSettings();
    Settings.DecimalSeparator = Utf16ToUtf8(std::u16string(1, Format.Decimal));
    Shown = Utf8ToUtf16(FloatToStr(Value, Settings));
  }
  return Shown + Format.TextAfter;
}

double NumericTextValue(std::u16string_view Text, const TNumericFormat& Format) {
  if (Text.empty() || (!Format.NullText.empty() && Text == Format.NullText)) return 0;
  // A unit shown after the number ("m2") must not lend the number its digits.
  const std::u16string_view After = Format.TextAfter;
  if (!After.empty() && Text.size() >= After.size() && Text.substr(Text.size() - After.size()) == After)
    Text.remove_suffix(After.size());
  std::u16string Clean = CleanNumericText(Text, Format.Options.Contains(eoAllowFloat),
                                          Format.Options.Contains(eoAllowSigns), Format.Decimal);
  if (Clean.empty()) Clean = u"0";
  std::replace(Clean.begin(), Clean.end(), Format.Decimal, u'.');
  TFormatSettings Settings = FormatSettings();
  Settings.DecimalSeparator = ".";
  double Value = 0;
  // What is left can still be no number ("+", "."): it reads as 0.
  if (!TryStrToFloat(Utf16ToUtf8(Clean), Value, Settings)) Value = 0;
  return ClampNumericValue(Value, Format.Min, Format.Max);
}

TEditState PasteNumericText(const TEditState& Edit, std::u16string_view Clip, const TNumericFormat& Format) {
  const std::u16string Rest = Outside(Edit);
  const bool AllowFloat = Format.Options.Contains(eoAllowFloat) && !Contains(Rest, Format.Decimal);
  const bool AllowSigns = Format.Options.Contains(eoAllowSigns) && Edit.SelStart == 0;
  const std::u16string Clean = CleanNumericText(Clip, AllowFloat, AllowSigns, Format.Decimal);
  const std::size_t Start = std::min<std::size_t>(std::max(Edit.SelStart, 0), Rest.size());
  TEditState Result;
  Result.Text = Rest.substr(0, Start) + Clean + Rest.substr(Start);
  Result.SelStart = static_cast<int>(Start);
  return Result;
}
