#include "core/FormatSettings.h"

#include <cctype>
#include <cmath>
#include <memory>

#include "core/Clock.h"
#include "core/Exceptions.h"
#include "core/Text.h"

TFormatSettings UnitedStatesFormatSettings() { return TFormatSettings(); }

namespace {
std::unique_ptr<TFormatSettings>& CurrentSettings() {
  static std::unique_ptr<TFormatSettings> Settings;
  return Settings;
}

std::string TwoDigits(int Value) {
  std::string Text = std::to_string(Value);
  return Text.size() < 2 ? "0" + Text : Text;
}

// Length of the run of the same character at Pos.
std::size_t RunLength(std::string_view Text, std::size_t Pos) {
  std::size_t End = Pos;
  while (End < Text.size() && Text[End] == Text[Pos]) ++End;
  return End - Pos;
}
}  // namespace

const TFormatSettings& FormatSettings() {
  auto& Settings = CurrentSettings();
  if (!Settings) Settings = std::make_unique<TFormatSettings>(UnitedStatesFormatSettings());
  return *Settings;
}

void SetFormatSettings(const TFormatSettings& Settings) {
  CurrentSettings() = std::make_unique<TFormatSettings>(Settings);
}

std::string FormatDateTimePicture(std::string_view Picture, TDateTime Value, const TFormatSettings& Settings) {
  const TDateTimeParts P = DecodeDateTime(Value);
  std::string Out;
  std::size_t Pos = 0;
  while (Pos < Picture.size()) {
    const char C = Picture[Pos];
    if (C == '\'') {
      // Quoted literal; two quotes in a row stand for one.
      std::size_t End = Pos + 1;
      while (End < Picture.size()) {
        if (Picture[End] == '\'') {
          if (End + 1 < Picture.size() && Picture[End + 1] == '\'') {
            Out += '\'';
            End += 2;
            continue;
          }
          break;
        }
        Out += Picture[End++];
      }
      Pos = End + 1;
      continue;
    }
    const std::size_t N = RunLength(Picture, Pos);
    switch (C) {
      case 'd':
        if (N == 1)
          Out += std::to_string(P.Day);
        else if (N == 2)
          Out += TwoDigits(P.Day);
        else if (N == 3)
          Out += Settings.ShortDayNames[P.DayOfWeek - 1];
        else
          Out += Settings.LongDayNames[P.DayOfWeek - 1];
        break;
      case 'M':
        if (N == 1)
          Out += std::to_string(P.Month);
        else if (N == 2)
          Out += TwoDigits(P.Month);
        else if (N == 3)
          Out += Settings.ShortMonthNames[P.Month - 1];
        else
          Out += Settings.LongMonthNames[P.Month - 1];
        break;
      case 'y':
        if (N == 1)
          Out += std::to_string(P.Year % 100);
        else if (N == 2)
          Out += TwoDigits(P.Year % 100);
        else {
          std::string Year = std::to_string(P.Year);
          while (Year.size() < 4) Year = "0" + Year;
          Out += Year;
        }
        break;
      case 'g':  // era: the Gregorian calendar needs none
        break;
      case 'h':
      case 'H': {
        const int Hour = C == 'H' ? P.Hour : (P.Hour % 12 == 0 ? 12 : P.Hour % 12);
        Out += N == 1 ? std::to_string(Hour) : TwoDigits(Hour);
        break;
      }
      case 'm': Out += N == 1 ? std::to_string(P.Minute) : TwoDigits(P.Minute); break;
      case 's': Out += N == 1 ? std::to_string(P.Second) : TwoDigits(P.Second); break;
      case 't': {
        const std::string& Word = P.Hour < 12 ? Settings.TimeAMString : Settings.TimePMString;
        Out += N == 1 ? Word.substr(0, 1) : Word;
        break;
      }
      case '/':
        for (std::size_t I = 0; I < N; ++I) Out += Settings.DateSeparator;
        break;
      case ':':
        for (std::size_t I = 0; I < N; ++I) Out += Settings.TimeSeparator;
        break;
      default: Out.append(Picture.substr(Pos, N)); break;
    }
    Pos += N;
  }
  return Out;
}

std::string DateToStr(TDateTime Value, const TFormatSettings& Settings) {
  return FormatDateTimePicture(Settings.ShortDateFormat, Value, Settings);
}

std::string TimeToStr(TDateTime Value, const TFormatSettings& Settings) {
  return FormatDateTimePicture(Settings.LongTimeFormat, Value, Settings);
}

std::string DateTimeToStr(TDateTime Value, const TFormatSettings& Settings) {
  std::string Text = DateToStr(Value, Settings);
  if (TimeOf(Value) != 0.0) Text += " " + TimeToStr(Value, Settings);
  return Text;
}

namespace {

class TDateScanner {
 public:
  TDateScanner(std::string_view Text, const TFormatSettings& Settings) : FText(Text), FSettings(Settings) {}

  void SkipBlanks() {
    while (FPos < FText.size() && FText[FPos] == ' ') ++FPos;
  }
  bool AtEnd() {
    SkipBlanks();
    return FPos >= FText.size();
  }
  bool Number(int& Value, int& Digits) {
    SkipBlanks();
    Value = 0, Digits = 0;
    while (FPos < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPos])) && Digits < 9) {
      Value = Value * 10 + (FText[FPos++] - '0');
      ++Digits;
    }
    return Digits > 0;
  }
  bool Literal(std::string_view Word) {
    SkipBlanks();
    if (Word.empty() || FText.substr(FPos, Word.size()) != Word) return false;
    FPos += Word.size();
    return true;
  }
  bool Word(std::string_view Word) {
    SkipBlanks();
    if (Word.empty() || !AsciiSameText(FText.substr(FPos, Word.size()), Word)) return false;
    FPos += Word.size();
    return true;
  }
  std::size_t Pos() const { return FPos; }
  void SetPos(std::size_t Pos) { FPos = Pos; }

  bool Date(TDateTime& Result, int CurrentYear) {
    int Values[3] = {0, 0, 0}, Digits[3] = {0, 0, 0};
    int Count = 0;
    for (; Count < 3; ++Count) {
      if (Count > 0 && !Literal(FSettings.DateSeparator)) break;
      if (!Number(Values[Count], Digits[Count])) return false;
    }
    if (Count < 2) return false;
    // Order of the fields from the short date picture: the first of y, M, d decides.
    char Order = 'M';
    for (char C : FSettings.ShortDateFormat)
      if (C == 'y' || C == 'M' || C == 'd') {
        Order = C;
        break;
      }
    int Year = CurrentYear, Month = 0, Day = 0, YearDigits = 4;
    if (Count == 2) {
      if (Order == 'd')
        Day = Values[0], Month = Values[1];
      else
        Month = Values[0], Day = Values[1];
    } else if (Order == 'y') {
      Year = Values[0], YearDigits = Digits[0], Month = Values[1], Day = Values[2];
    } else if (Order == 'd') {
      Day = Values[0], Month = Values[1], Year = Values[2], YearDigits = Digits[2];
    } else {
      Month = Values[0], Day = Values[1], Year = Values[2], YearDigits = Digits[2];
    }
    if (YearDigits <= 2 && Count == 3) {
      // Within fifty years of the current year, either way.
      const int Century = CurrentYear - CurrentYear % 100;
      Year += Century;
      if (Year > CurrentYear + 49)
        Year -= 100;
      else if (Year < CurrentYear - 50)
        Year += 100;
    }
    return TryEncodeDate(Year, Month, Day, Result);
  }

  bool Time(TDateTime& Result) {
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0, Digits = 0;
    if (!Number(Hour, Digits)) return false;
    if (Literal(FSettings.TimeSeparator)) {
      if (!Number(Minute, Digits)) return false;
      if (Literal(FSettings.TimeSeparator)) {
        if (!Number(Second, Digits)) return false;
        if (Literal(".") && !Number(Millisecond, Digits)) return false;
      }
    }
    bool Pm = false, HasAmPm = false;
    for (const std::string* W : {&FSettings.TimeAMString, &FSettings.TimePMString}) {
      if (!HasAmPm && Word(*W)) HasAmPm = true, Pm = (W == &FSettings.TimePMString);
    }
    if (!HasAmPm) {
      if (Word("AM"))
        HasAmPm = true;
      else if (Word("PM"))
        HasAmPm = Pm = true;
    }
    if (HasAmPm) {
      if (Hour < 1 || Hour > 12) return false;
      Hour = Hour % 12 + (Pm ? 12 : 0);
    }
    return TryEncodeTime(Hour, Minute, Second, Millisecond, Result);
  }

 private:
  std::string_view FText;
  const TFormatSettings& FSettings;
  std::size_t FPos = 0;
};

}  // namespace

bool TryStrToDateTime(std::string_view Text, TDateTime& Result, const TFormatSettings& Settings, TDateTime Today) {
  if (Today == 0.0) Today = ProgramClock().Today();
  const int CurrentYear = DecodeDateTime(Today).Year;
  TDateScanner Scanner(Text, Settings);
  TDateTime Date = 0, Time = 0;
  if (Scanner.Date(Date, CurrentYear) && (Scanner.AtEnd() || (Scanner.Time(Time) && Scanner.AtEnd()))) {
    Result = Date < 0 ? Date - Time : Date + Time;
    return true;
  }
  Scanner.SetPos(0);
  if (Scanner.Time(Time) && Scanner.AtEnd()) {
    Result = Time;
    return true;
  }
  return false;
}

TDateTime StrToDateTime(std::string_view Text, const TFormatSettings& Settings) {
  TDateTime Result = 0;
  if (!TryStrToDateTime(Text, Result, Settings)) {
    throw EConvertError("'" + std::string(Text) + "' is not a valid date and time");
  }
  return Result;
}
