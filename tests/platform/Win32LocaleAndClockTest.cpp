// The user's locale as the program reads it, checked against the system's own formatting, and the clock.
#include <windows.h>
#include <gtest/gtest.h>

#include "core/Clock.h"
#include "core/DateTime.h"
#include "core/FormatSettings.h"
#include "platform/Platform.h"
#include "platform/win32/WideText.h"

namespace {

std::string SystemDate(const SYSTEMTIME& Time, const wchar_t* Picture) {
  wchar_t Buffer[128];
  const int Length = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &Time, Picture, Buffer, 128, nullptr);
  return Length > 0 ? Narrow(std::wstring_view(Buffer, static_cast<std::size_t>(Length - 1))) : "(failed)";
}

std::string SystemTime(const SYSTEMTIME& Time, const wchar_t* Picture) {
  wchar_t Buffer[128];
  const int Length = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &Time, Picture, Buffer, 128);
  return Length > 0 ? Narrow(std::wstring_view(Buffer, static_cast<std::size_t>(Length - 1))) : "(failed)";
}

TDateTime ValueOf(const SYSTEMTIME& Time) {
  return EncodeDateTime(Time.wYear, Time.wMonth, Time.wDay, Time.wHour, Time.wMinute, Time.wSecond, 0);
}

// A whole week (every day name), both ends of the year, small hours, noon and the last second of a day.
std::vector<SYSTEMTIME> Moments() {
  std::vector<SYSTEMTIME> Times;
  for (WORD Day = 7; Day <= 13; ++Day) Times.push_back(SYSTEMTIME{2024, 1, 0, Day, WORD(Day * 3 - 21), 5, 3, 0});
  Times.push_back(SYSTEMTIME{1999, 12, 5, 31, 23, 59, 59, 0});
  Times.push_back(SYSTEMTIME{2001, 9, 0, 9, 12, 0, 0, 0});
  Times.push_back(SYSTEMTIME{2030, 5, 0, 1, 0, 0, 1, 0});
  for (SYSTEMTIME& Time : Times) {
    FILETIME File;
    SystemTimeToFileTime(&Time, &File);
    FileTimeToSystemTime(&File, &Time);  // fills in the day of the week
  }
  return Times;
}

}  // namespace

TEST(Win32LocaleTest, DatesAndTimesReadAsTheSystemWritesThem) {
  const TFormatSettings S = ReadPlatformFormatSettings();
  for (const SYSTEMTIME& Time : Moments()) {
    const TDateTime Value = ValueOf(Time);
    const std::string When = SystemDate(Time, L"yyyy-MM-dd") + " " + SystemTime(Time, L"HH:mm:ss");
    EXPECT_EQ(DateToStr(Value, S), SystemDate(Time, nullptr)) << When;
    EXPECT_EQ(TimeToStr(Value, S), SystemTime(Time, nullptr)) << When;
    EXPECT_EQ(FormatDateTimePicture(S.ShortTimeFormat, Value, S), SystemTime(Time, Widen(S.ShortTimeFormat).c_str()))
        << When;
    EXPECT_EQ(FormatDateTimePicture("dddd ddd d MMMM MMM yyyy", Value, S),
              SystemDate(Time, L"dddd ddd d MMMM MMM yyyy"))
        << When;
    // What the program writes it reads back.
    TDateTime Read = 0;
    ASSERT_TRUE(TryStrToDateTime(DateToStr(Value, S), Read, S)) << When;
    EXPECT_EQ(Read, DateOf(Value)) << When;
  }
}

TEST(Win32LocaleTest, SeparatorsComeFromTheLocalesPictures) {
  const TFormatSettings S = ReadPlatformFormatSettings();
  EXPECT_NE(S.ShortDateFormat.find(S.DateSeparator), std::string::npos);
  EXPECT_NE(S.LongTimeFormat.find(S.TimeSeparator), std::string::npos);
  EXPECT_NE(S.DecimalSeparator, S.ThousandSeparator);
  for (const std::string* Separator : {&S.DateSeparator, &S.TimeSeparator}) {
    ASSERT_EQ(Separator->size(), 1u);
    EXPECT_EQ(std::string("dMyghHmst'").find((*Separator)[0]), std::string::npos);
  }
}

TEST(Win32ClockTest, NowIsTheLocalTimeOfTheMomentItIsAsked) {
  SYSTEMTIME Before, After;
  GetLocalTime(&Before);
  const TDateTime Now = ProgramClock().Now();
  GetLocalTime(&After);
  const auto Value = [](const SYSTEMTIME& Time) {
    return EncodeDateTime(Time.wYear, Time.wMonth, Time.wDay, Time.wHour, Time.wMinute, Time.wSecond,
                          Time.wMilliseconds);
  };
  EXPECT_LE(Value(Before), Now);
  EXPECT_LE(Now, Value(After));
}
