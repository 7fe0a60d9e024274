#pragma once
// Calendar arithmetic on date-times: encoding, decoding, whole days and times of day.
// Fails: the Try forms answer false for values out of range; the Encode forms throw EConvertError.
#include <cstdint>

// Days since 1899-12-30; the fraction is the time of day. Values before the epoch are negative,
// and their fraction still counts forward from midnight in magnitude (-1.25 is 1899-12-29 06:00).
using TDateTime = double;

struct TDateTimeParts {
  int Year = 1899, Month = 12, Day = 30;
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
  int DayOfWeek = 7;  // 1 = Sunday ... 7 = Saturday
};

constexpr double MSecsPerDay = 86400000.0;

bool IsLeapYear(int Year);
int DaysInMonth(int Year, int Month);
bool IsValidDate(int Year, int Month, int Day);
bool IsValidTime(int Hour, int Minute, int Second, int Millisecond);

// The Try forms answer false for values out of range (year 1..9999, month 1..12, hour 0..23, ...).
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Result);
bool TryEncodeTime(int Hour, int Minute, int Second, int Millisecond, TDateTime& Result);
bool TryEncodeDateTime(const TDateTimeParts& Parts, TDateTime& Result);
// Throwing forms (EConvertError) for callers that have validated their input.
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Minute, int Second, int Millisecond);
TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour, int Minute, int Second, int Millisecond);
TDateTimeParts DecodeDateTime(TDateTime Value);

// Whole days (midnight) and the time of day of a value, negative values included.
TDateTime DateOf(TDateTime Value);
TDateTime TimeOf(TDateTime Value);

// A local file time to the second; 0 when the parts are no date and time.
TDateTime FileDateTime(int Year, int Month, int Day, int Hour, int Minute, int Second);
// A time at the two-second resolution of the DOS date and time format, as the results grid's
// Modified column holds it: an odd second and the milliseconds are dropped.
TDateTime DosResolution(TDateTime Time);
TDateTime DosResolutionDateTime(int Year, int Month, int Day, int Hour, int Minute, int Second);
