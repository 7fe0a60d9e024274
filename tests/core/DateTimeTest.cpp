#include <gtest/gtest.h>

#include "core/DateTime.h"
#include "core/Exceptions.h"

namespace {
TDateTimeParts Parts(int Y, int M, int D, int H = 0, int N = 0, int S = 0, int Ms = 0) {
  TDateTimeParts P;
  P.Year = Y, P.Month = M, P.Day = D, P.Hour = H, P.Minute = N, P.Second = S, P.Millisecond = Ms;
  return P;
}
void ExpectParts(TDateTime Value, const TDateTimeParts& E) {
  const TDateTimeParts P = DecodeDateTime(Value);
  EXPECT_EQ(P.Year, E.Year);
  EXPECT_EQ(P.Month, E.Month);
  EXPECT_EQ(P.Day, E.Day);
  EXPECT_EQ(P.Hour, E.Hour);
  EXPECT_EQ(P.Minute, E.Minute);
  EXPECT_EQ(P.Second, E.Second);
  EXPECT_EQ(P.Millisecond, E.Millisecond);
}
}  // namespace

TEST(DateTimeTest, KnownDaysAroundTheEpoch) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1899, 12, 31), 1.0);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(1900, 3, 1), 61.0);  // 1900 is no leap year
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
}

TEST(DateTimeTest, NegativeValuesCountTheTimeForward) {
  const TDateTime Value = EncodeDateTime(1899, 12, 29, 6, 0, 0, 0);
  EXPECT_DOUBLE_EQ(Value, -1.25);
  ExpectParts(Value, Parts(1899, 12, 29, 6));
  ExpectParts(-1.75, Parts(1899, 12, 29, 18));
  ExpectParts(EncodeDateTime(1800, 2, 28, 23, 59, 58, 0), Parts(1800, 2, 28, 23, 59, 58));
}

TEST(DateTimeTest, RoundTripsAcrossLeapYearsAndCenturies) {
  for (int Year : {1, 1600, 1899, 1900, 1904, 2000, 2024, 2100, 9999}) {
    for (int Month = 1; Month <= 12; ++Month) {
      const int Last = DaysInMonth(Year, Month);
      for (int Day : {1, Last}) {
        const TDateTime Value = EncodeDateTime(Year, Month, Day, 13, 45, 30, 250);
        ExpectParts(Value, Parts(Year, Month, Day, 13, 45, 30, 250));
      }
    }
  }
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2100, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
}

TEST(DateTimeTest, InvalidPartsAreRejected) {
  TDateTime Value = 0;
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29, Value));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, Value));
  EXPECT_FALSE(TryEncodeDate(2023, 13, 1, Value));
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, Value));
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
}

TEST(DateTimeTest, DayOfWeekAndRoundingToNextMidnight) {
  EXPECT_EQ(DecodeDateTime(0.0).DayOfWeek, 7);                       // Saturday
  EXPECT_EQ(DecodeDateTime(EncodeDate(2026, 12, 7)).DayOfWeek, 2);   // Monday
  EXPECT_EQ(DecodeDateTime(EncodeDate(1899, 12, 24)).DayOfWeek, 1);  // Sunday
  ExpectParts(EncodeDate(2020, 2, 28) + 0.9999999999, Parts(2020, 2, 29));
}

TEST(DateTimeTest, DosResolutionDropsOddSeconds) {
  ExpectParts(DosResolutionDateTime(2026, 12, 17, 16, 39, 59), Parts(2026, 12, 17, 16, 39, 58));
  ExpectParts(DosResolutionDateTime(2026, 12, 17, 16, 39, 58), Parts(2026, 12, 17, 16, 39, 58));
  ExpectParts(DosResolutionDateTime(2026, 12, 17, 0, 0, 1), Parts(2026, 12, 17));
  EXPECT_EQ(DosResolutionDateTime(2026, 2, 30, 0, 0, 0), 0.0);
  ExpectParts(DosResolution(EncodeDateTime(2026, 12, 17, 16, 39, 59, 999)), Parts(2026, 12, 17, 16, 39, 58));
  ExpectParts(FileDateTime(2026, 12, 17, 16, 39, 59), Parts(2026, 12, 17, 16, 39, 59));
}

TEST(DateTimeTest, DateOfAndTimeOf) {
  EXPECT_EQ(DateOf(45000.75), 45000.0);
  EXPECT_DOUBLE_EQ(TimeOf(45000.75), 0.75);
  EXPECT_EQ(DateOf(-1.25), -1.0);
  EXPECT_DOUBLE_EQ(TimeOf(-1.25), 0.25);
}
