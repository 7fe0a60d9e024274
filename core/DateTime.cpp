#include "core/DateTime.h"

#include <cmath>

#include "core/Exceptions.h"

namespace {

// Days from 1899-12-30 to the given civil date (proleptic Gregorian calendar).
std::int64_t DaysFromCivil(std::int64_t Year, unsigned Month, unsigned Day) {
  Year -= Month <= 2;
  const std::int64_t Era = (Year >= 0 ? Year : Year - 399) / 400;
  const unsigned YearOfEra = static_cast<unsigned>(Year - Era * 400);
  const unsigned DayOfYear = (153 * (Month + (Month > 2 ? -3 : 9)) + 2) / 5 + Day - 1;
  const unsigned DayOfEra = YearOfEra * 365 + YearOfEra / 4 - YearOfEra / 100 + DayOfYear;
  const std::int64_t DaysSinceUnixEpoch = Era * 146097 + static_cast<std::int64_t>(DayOfEra) - 719468;
  return DaysSinceUnixEpoch + 25569;  // 1970-01-01 is day 25569
}

void CivilFromDays(std::int64_t Days, int& Year, int& Month, int& Day) {
  const std::int64_t Z = Days - 25569 + 719468;
  const std::int64_t Era = (Z >= 0 ? Z : Z - 146096) / 146097;
  const unsigned DayOfEra = static_cast<unsigned>(Z - Era * 146097);
  const unsigned YearOfEra = (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
  const unsigned DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
  const unsigned MonthPrime = (5 * DayOfYear + 2) / 153;
  Day = static_cast<int>(DayOfYear - (153 * MonthPrime + 2) / 5 + 1);
  Month = static_cast<int>(MonthPrime < 10 ? MonthPrime + 3 : MonthPrime - 9);
  Year = static_cast<int>(static_cast<std::int64_t>(YearOfEra) + Era * 400 + (Month <= 2));
}

}  // namespace

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysInMonth(int Year, int Month) {
  static const int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return Month == 2 && IsLeapYear(Year) ? 29 : Days[Month - 1];
}

bool IsValidDate(int Year, int Month, int Day) {
  return Year >= 1 && Year <= 9999 && Month >= 1 && Month <= 12 && Day >= 1 && Day <= DaysInMonth(Year, Month);
}

bool IsValidTime(int Hour, int Minute, int Second, int Millisecond) {
  return Hour >= 0 && Hour < 24 && Minute >= 0 && Minute < 60 && Second >= 0 && Second < 60 && Millisecond >= 0 &&
         Millisecond < 1000;
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Result) {
  if (!IsValidDate(Year, Month, Day)) return false;
  Result = static_cast<double>(DaysFromCivil(Year, static_cast<unsigned>(Month), static_cast<unsigned>(Day)));
  return true;
}

bool TryEncodeTime(int Hour, int Minute, int Second, int Millisecond, TDateTime& Result) {
  if (!IsValidTime(Hour, Minute, Second, Millisecond)) return false;
  Result = ((Hour * 3600000.0) + Minute * 60000.0 + Second * 1000.0 + Millisecond) / MSecsPerDay;
  return true;
}

bool TryEncodeDateTime(const TDateTimeParts& Parts, TDateTime& Result) {
  TDateTime Date = 0, Time = 0;
  if (!TryEncodeDate(Parts.Year, Parts.Month, Parts.Day, Date) ||
      !TryEncodeTime(Parts.Hour, Parts.Minute, Parts.Second, Parts.Millisecond, Time))
    return false;
  // Before the epoch the time of day still counts forward, so it moves the value away from zero.
  Result = Date < 0 ? Date - Time : Date + Time;
  return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  TDateTime Result = 0;
  if (!TryEncodeDate(Year, Month, Day, Result)) throw EConvertError("Invalid argument to date encode");
  return Result;
}

TDateTime EncodeTime(int Hour, int Minute, int Second, int Millisecond) {
  TDateTime Result = 0;
  if (!TryEncodeTime(Hour, Minute, Second, Millisecond, Result)) throw EConvertError("Invalid argument to time encode");
  return Result;
}

TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour, int Minute, int Second, int Millisecond) {
  TDateTimeParts Parts;
  Parts.Year = Year, Parts.Month = Month, Parts.Day = Day;
  Parts.Hour = Hour, Parts.Minute = Minute, Parts.Second = Second, Parts.Millisecond = Millisecond;
  TDateTime Result = 0;
  if (!TryEncodeDateTime(Parts, Result)) throw EConvertError("Invalid argument to date encode");
  return Result;
}

TDateTimeParts DecodeDateTime(TDateTime Value) {
  TDateTimeParts Parts;
  if (!std::isfinite(Value)) return Parts;
  std::int64_t Days = static_cast<std::int64_t>(std::trunc(Value));
  std::int64_t Milliseconds = std::llround(std::fabs(Value - std::trunc(Value)) * MSecsPerDay);
  if (Milliseconds >= static_cast<std::int64_t>(MSecsPerDay)) {
    // Rounded up to the next midnight, which lies one calendar day later on either side of the epoch.
    Milliseconds = 0;
    Days += 1;
  }
  CivilFromDays(Days, Parts.Year, Parts.Month, Parts.Day);
  Parts.Hour = static_cast<int>(Milliseconds / 3600000);
  Parts.Minute = static_cast<int>(Milliseconds / 60000 % 60);
  Parts.Second = static_cast<int>(Milliseconds / 1000 % 60);
  Parts.Millisecond = static_cast<int>(Milliseconds % 1000);
  Parts.DayOfWeek = static_cast<int>(((Days % 7 + 7) % 7 + 6) % 7 + 1);  // day 0 was a Saturday
  return Parts;
}

TDateTime DateOf(TDateTime Value) { return std::trunc(Value); }

TDateTime TimeOf(TDateTime Value) { return std::fabs(Value - std::trunc(Value)); }

TDateTime FileDateTime(int Year, int Month, int Day, int Hour, int Minute, int Second) {
  TDateTimeParts Parts;
  Parts.Year = Year, Parts.Month = Month, Parts.Day = Day;
  Parts.Hour = Hour, Parts.Minute = Minute, Parts.Second = Second;
  TDateTime Result = 0;
  return TryEncodeDateTime(Parts, Result) ? Result : 0.0;
}

TDateTime DosResolution(TDateTime Time) {
  TDateTimeParts Parts = DecodeDateTime(Time);
  return FileDateTime(Parts.Year, Parts.Month, Parts.Day, Parts.Hour, Parts.Minute, Parts.Second - Parts.Second % 2);
}

TDateTime DosResolutionDateTime(int Year, int Month, int Day, int Hour, int Minute, int Second) {
  return FileDateTime(Year, Month, Day, Hour, Minute, Second - Second % 2);
}
