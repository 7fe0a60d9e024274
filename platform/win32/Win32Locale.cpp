// Locale services of the user's Windows locale.
#include <windows.h>

#include "core/FormatSettings.h"
#include "core/Text.h"
#include "platform/win32/WideText.h"

namespace {

std::string LocaleText(LCTYPE Type, const std::string& Default) {
  wchar_t Buffer[128];
  const int Length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, Type, Buffer, 128);
  if (Length <= 1) return Default;
  return Narrow(std::wstring_view(Buffer, static_cast<std::size_t>(Length - 1)));
}

// The first character of a date picture that is not a field letter or a quote: the date separator.
std::string SeparatorOf(const std::string& Picture, const std::string& Fields, const std::string& Default) {
  for (char C : Picture)
    if (Fields.find(C) == std::string::npos && C != '\'' && C != ' ') return std::string(1, C);
  return Default;
}

}  // namespace

TFormatSettings ReadPlatformFormatSettings() {
  TFormatSettings S = UnitedStatesFormatSettings();
  S.DecimalSeparator = LocaleText(LOCALE_SDECIMAL, ".");
  S.ThousandSeparator = LocaleText(LOCALE_STHOUSAND, ",");
  S.ShortDateFormat = LocaleText(LOCALE_SSHORTDATE, S.ShortDateFormat);
  S.LongTimeFormat = LocaleText(LOCALE_STIMEFORMAT, S.LongTimeFormat);
  S.ShortTimeFormat = LocaleText(LOCALE_SSHORTTIME, S.ShortTimeFormat);
  S.DateSeparator = SeparatorOf(S.ShortDateFormat, "dMyg", "/");
  S.TimeSeparator = SeparatorOf(S.LongTimeFormat, "hHmst", ":");
  S.TimeAMString = LocaleText(LOCALE_S1159, "");
  S.TimePMString = LocaleText(LOCALE_S2359, "");
  for (int I = 0; I < 12; ++I) {
    S.ShortMonthNames[I] = LocaleText(LOCALE_SABBREVMONTHNAME1 + I, S.ShortMonthNames[I]);
    S.LongMonthNames[I] = LocaleText(LOCALE_SMONTHNAME1 + I, S.LongMonthNames[I]);
  }
  // Windows numbers the days from Monday; the settings keep them from Sunday.
  for (int I = 0; I < 7; ++I) {
    const int Windows = (I + 6) % 7;
    S.ShortDayNames[I] = LocaleText(LOCALE_SABBREVDAYNAME1 + Windows, S.ShortDayNames[I]);
    S.LongDayNames[I] = LocaleText(LOCALE_SDAYNAME1 + Windows, S.LongDayNames[I]);
  }
  return S;
}

int CompareTextCollated(std::string_view A, std::string_view B) {
  const std::wstring WA = Widen(A), WB = Widen(B);
  const int Result =
      CompareStringEx(LOCALE_NAME_USER_DEFAULT, LINGUISTIC_IGNORECASE, WA.data(), static_cast<int>(WA.size()),
                      WB.data(), static_cast<int>(WB.size()), nullptr, nullptr, 0);
  if (Result == 0) return AsciiCompareText(A, B);
  return Result - CSTR_EQUAL;
}

std::string CollationKey(std::string_view Text) {
  const std::wstring Wide = Widen(Text);
  const DWORD Flags = LCMAP_SORTKEY | LINGUISTIC_IGNORECASE;
  const int Size = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, Flags, Wide.data(), static_cast<int>(Wide.size()), nullptr,
                                 0, nullptr, nullptr, 0);
  if (Size <= 0) return AsciiLowerCase(Text);
  std::string Key(static_cast<std::size_t>(Size), '\0');
  LCMapStringEx(LOCALE_NAME_USER_DEFAULT, Flags, Wide.data(), static_cast<int>(Wide.size()),
                reinterpret_cast<LPWSTR>(Key.data()), Size, nullptr, nullptr, 0);
  while (!Key.empty() && Key.back() == '\0') Key.pop_back();  // the terminator adds nothing to the order
  return Key;
}

std::string AnsiToUtf8(std::string_view Ansi) {
  if (Ansi.empty()) return std::string();
  const int Length = MultiByteToWideChar(CP_ACP, 0, Ansi.data(), static_cast<int>(Ansi.size()), nullptr, 0);
  std::wstring Wide(static_cast<std::size_t>(Length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, Ansi.data(), static_cast<int>(Ansi.size()), Wide.data(), Length);
  return Narrow(Wide);
}

std::string Utf8ToAnsi(std::string_view Utf8, bool* Lossless) {
  const std::wstring Wide = Widen(Utf8);
  if (Lossless) *Lossless = true;
  if (Wide.empty()) return std::string();
  BOOL UsedDefault = FALSE;
  const DWORD Flags = WC_NO_BEST_FIT_CHARS;
  const int Length =
      WideCharToMultiByte(CP_ACP, Flags, Wide.data(), static_cast<int>(Wide.size()), nullptr, 0, nullptr, &UsedDefault);
  std::string Result(static_cast<std::size_t>(Length), '\0');
  WideCharToMultiByte(CP_ACP, Flags, Wide.data(), static_cast<int>(Wide.size()), Result.data(), Length, nullptr,
                      &UsedDefault);
  if (Lossless) *Lossless = !UsedDefault;
  return Result;
}
