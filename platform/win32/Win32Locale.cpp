// Locale services of the user's Windows locale.
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/Text.h"
#include "platform/Platform.h"
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

namespace {

// The system's sort key of Text (trailing zero bytes dropped: they add nothing to the order).
std::string SystemSortKey(std::string_view Text) {
  const std::wstring Wide = Widen(Text);
  const DWORD Flags = LCMAP_SORTKEY | LINGUISTIC_IGNORECASE;
  const int Size = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, Flags, Wide.data(), static_cast<int>(Wide.size()), nullptr,
                                 0, nullptr, nullptr, 0);
  if (Size <= 0) return AsciiLowerCase(Text);
  std::string Key(static_cast<std::size_t>(Size), '\0');
  LCMapStringEx(LOCALE_NAME_USER_DEFAULT, Flags, Wide.data(), static_cast<int>(Wide.size()),
                reinterpret_cast<LPWSTR>(Key.data()), Size, nullptr, nullptr, 0);
  while (!Key.empty() && Key.back() == '\0') Key.pop_back();
  return Key;
}

// Sort keys of plain ASCII text made without asking the system: asking costs microseconds a text (far
// more under Wine), and a search orders tens of thousands of paths. As the system makes them, a key
// holds the two-byte weight of every character in turn, then the sections of diacritics and case
// (empty here: no diacritics, case ignored), then for each character with a special weight (the
// hyphen and the apostrophe, which weigh nothing in the first part) its place, counted down from
// FFFF by the weights before it, and its own two bytes. The table is read from the system's keys of
// single characters and used only when the system's keys of every pair of them, and of a few longer
// texts, are the table's own: a locale that contracts two letters into one sorting element, or keys
// of another shape, leave every text to the system. Text beyond ASCII always goes to the system.
class TAsciiSortKeys {
 public:
  TAsciiSortKeys() {
    // The sections that follow the weights, as a letter shows them.
    const std::string Letter = SystemSortKey("a");
    if (Letter.size() <= 2) return;
    FTail = Letter.substr(2);
    for (int C = 0x20; C < 0x7F; ++C) {
      const std::string Key = SystemSortKey(std::string(1, static_cast<char>(C)));
      const auto Byte = [&](std::size_t I) { return static_cast<unsigned char>(Key[I]); };
      if (Key.size() == 2 + FTail.size() && Key.compare(2, std::string::npos, FTail) == 0 && Byte(0) > 1) {
        FWeight[C] = static_cast<std::uint16_t>(Byte(0) << 8 | Byte(1));  // above the sections' 01
      } else if (Key.size() == FTail.size() + 4 && Key.compare(0, FTail.size(), FTail) == 0 &&
                 Byte(FTail.size()) == 0xFF && Byte(FTail.size() + 1) == 0xFF) {
        FSpecial[C] = static_cast<std::uint16_t>(Byte(FTail.size() + 2) << 8 | Byte(FTail.size() + 3));
      }
    }
    FUsable = Agrees();
  }

  // The key of Text, when every character of it is in the table (an empty text is left to the system).
  bool Compose(std::string_view Text, std::string& Key) const {
    if (!FUsable || Text.empty()) return false;
    Key.clear();
    Key.reserve(Text.size() * 2 + FTail.size());
    std::size_t Specials = 0;
    for (const char C : Text) {
      const unsigned char Byte = static_cast<unsigned char>(C);
      if (Byte >= 0x80) return false;
      if (FWeight[Byte]) {
        Key += static_cast<char>(FWeight[Byte] >> 8);
        Key += static_cast<char>(FWeight[Byte] & 0xFF);
      } else if (FSpecial[Byte]) {
        ++Specials;
      } else {
        return false;
      }
    }
    const std::size_t Weights = Key.size() / 2;
    Key += FTail;
    if (Specials == 0) return true;
    if (Weights > 0xFFFF) return false;
    std::size_t Before = 0;
    for (const char C : Text) {
      const unsigned char Byte = static_cast<unsigned char>(C);
      if (FWeight[Byte]) {
        ++Before;
        continue;
      }
      const std::size_t Place = 0xFFFF - Before;
      Key += static_cast<char>(Place >> 8);
      Key += static_cast<char>(Place & 0xFF);
      Key += static_cast<char>(FSpecial[Byte] >> 8);
      Key += static_cast<char>(FSpecial[Byte] & 0xFF);
    }
    return true;
  }

  // The order of two texts as their keys compare; false when either is left to the system.
  bool Compare(std::string_view A, std::string_view B, int& Order) const {
    std::string KeyA, KeyB;
    if (!Compose(A, KeyA) || !Compose(B, KeyB)) return false;
    const int Result = KeyA.compare(KeyB);
    Order = Result < 0 ? -1 : Result > 0 ? 1 : 0;
    return true;
  }

 private:
  // Every pair of table characters, and longer texts with special characters at later places.
  bool Agrees() {
    FUsable = true;
    std::string Text(2, ' '), Made;
    const auto Same = [&] { return Compose(Text, Made) && Made == SystemSortKey(Text); };
    for (int A = 0x20; A < 0x7F; ++A)
      for (int B = 0x20; B < 0x7F; ++B) {
        if (!(FWeight[A] || FSpecial[A]) || !(FWeight[B] || FSpecial[B])) continue;
        Text[0] = static_cast<char>(A);
        Text[1] = static_cast<char>(B);
        if (!Same()) return false;
      }
    for (const std::size_t Length : {40, 300}) {
      Text.assign(Length, 'a');
      Text[Length / 2] = '-';
      Text += "'b-";
      if (!Same()) return false;
    }
    return true;
  }

  std::uint16_t FWeight[128] = {};   // 0: no weight of its own
  std::uint16_t FSpecial[128] = {};  // 0: no special weight
  std::string FTail;
  bool FUsable = false;
};

const TAsciiSortKeys& AsciiSortKeys() {
  static const TAsciiSortKeys Keys;
  return Keys;
}

}  // namespace

namespace {

class TWin32Collation : public TCollation {
 public:
  int Compare(std::string_view A, std::string_view B) override {
    int Order;
    if (AsciiSortKeys().Compare(A, B, Order)) return Order;
    const std::wstring WA = Widen(A), WB = Widen(B);
    const int Result =
        CompareStringEx(LOCALE_NAME_USER_DEFAULT, LINGUISTIC_IGNORECASE, WA.data(), static_cast<int>(WA.size()),
                        WB.data(), static_cast<int>(WB.size()), nullptr, nullptr, 0);
    if (Result == 0) return AsciiCompareText(A, B);
    return Result - CSTR_EQUAL;
  }

  std::string Key(std::string_view Text) override {
    std::string Key;
    if (AsciiSortKeys().Compose(Text, Key)) return Key;
    return SystemSortKey(Text);
  }
};

class TWin32CodePage : public TCodePage {
 public:
  std::string ToUtf8(std::string_view Ansi) override {
    if (Ansi.empty()) return std::string();
    const int Length = MultiByteToWideChar(CP_ACP, 0, Ansi.data(), static_cast<int>(Ansi.size()), nullptr, 0);
    std::wstring Wide(static_cast<std::size_t>(Length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, Ansi.data(), static_cast<int>(Ansi.size()), Wide.data(), Length);
    return Narrow(Wide);
  }

  std::string FromUtf8(std::string_view Utf8, bool* Lossless) override {
    const std::wstring Wide = Widen(Utf8);
    if (Lossless) *Lossless = true;
    if (Wide.empty()) return std::string();
    BOOL UsedDefault = FALSE;
    const DWORD Flags = WC_NO_BEST_FIT_CHARS;
    const int Length = WideCharToMultiByte(CP_ACP, Flags, Wide.data(), static_cast<int>(Wide.size()), nullptr, 0,
                                           nullptr, &UsedDefault);
    std::string Result(static_cast<std::size_t>(Length), '\0');
    WideCharToMultiByte(CP_ACP, Flags, Wide.data(), static_cast<int>(Wide.size()), Result.data(), Length, nullptr,
                        &UsedDefault);
    if (Lossless) *Lossless = !UsedDefault;
    return Result;
  }
};

}  // namespace

TCollation& PlatformCollation() {
  static TWin32Collation Collation;
  return Collation;
}

TCodePage& PlatformCodePage() {
  static TWin32CodePage CodePage;
  return CodePage;
}
