#pragma once
// The user's locale settings (separators, date and time pictures, month and day names) and the date
// and time texts written and read with them.
// Fails: the Try forms answer false; StrToDateTime throws EConvertError.
#include <string>
#include <string_view>

#include "core/DateTime.h"

// The user's locale settings that conversions and displays follow, handed in once by the program's
// entry. Date and time formats are the platform's pictures: d dd ddd dddd, M MM MMM MMMM, y yy yyyy,
// h hh (12-hour), H HH (24-hour), m mm, s ss, t tt (AM/PM), 'quoted text'.
struct TFormatSettings {
  std::string DecimalSeparator = ".";
  std::string ThousandSeparator = ",";
  std::string DateSeparator = "/";
  std::string TimeSeparator = ":";
  std::string ShortDateFormat = "M/d/yyyy";
  std::string ShortTimeFormat = "h:mm tt";
  std::string LongTimeFormat = "h:mm:ss tt";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::string ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::string LongMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                    "July",    "August",   "September", "October", "November", "December"};
  std::string ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::string LongDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
};

// United States settings, the defaults where the platform gives nothing.
TFormatSettings UnitedStatesFormatSettings();

// The program-wide settings: United States until the program's entry hands in the platform's with
// SetFormatSettings; tests may replace them.
const TFormatSettings& FormatSettings();
void SetFormatSettings(const TFormatSettings& Settings);

// Formats Value with a date/time picture (see above).
std::string FormatDateTimePicture(std::string_view Picture, TDateTime Value, const TFormatSettings& Settings);
// Short date; short date + " " + long time, the time left out when it is midnight; long time.
std::string DateToStr(TDateTime Value, const TFormatSettings& Settings = FormatSettings());
std::string TimeToStr(TDateTime Value, const TFormatSettings& Settings = FormatSettings());
std::string DateTimeToStr(TDateTime Value, const TFormatSettings& Settings = FormatSettings());

// Text to date-time in the order of the short date format (month, day, year for "M/d/yyyy"), with
// an optional time ("16:39", "4:39 PM", "4:39:07 pm"), or a time alone (on day zero). A date given
// without its year takes the year of Today; two-digit years fall within 50 years of Today's year.
// Today 0 means the date of ProgramClock. False for anything else.
bool TryStrToDateTime(std::string_view Text, TDateTime& Result, const TFormatSettings& Settings = FormatSettings(),
                      TDateTime Today = 0.0);
// Throwing form: EConvertError "'<text>' is not a valid date and time".
TDateTime StrToDateTime(std::string_view Text, const TFormatSettings& Settings = FormatSettings());

// Case-insensitive comparison in the user's locale collation (<0, 0, >0), as core/Collation.h
// installs it (Windows: linguistic case folding; elsewhere: A-to-Z folded byte order).
int CompareTextCollated(std::string_view A, std::string_view B);
// A key whose byte order (memcmp, then length) is the order of CompareTextCollated, equal exactly
// when the texts compare equal: for sorting and hashing many texts without repeated comparisons.
std::string CollationKey(std::string_view Text);
