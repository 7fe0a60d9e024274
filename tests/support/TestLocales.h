#pragma once
// Locales the tests switch between; each test restores the United States settings.
#include "core/FormatSettings.h"

inline TFormatSettings GermanSettings() {
  TFormatSettings S;
  S.DecimalSeparator = ",", S.ThousandSeparator = ".", S.DateSeparator = ".";
  S.ShortDateFormat = "dd.MM.yyyy", S.ShortTimeFormat = "HH:mm", S.LongTimeFormat = "HH:mm:ss";
  return S;
}

// Sets a locale for one test and puts the United States one back afterwards.
class TLocaleScope {
 public:
  explicit TLocaleScope(const TFormatSettings& Settings = UnitedStatesFormatSettings()) { SetFormatSettings(Settings); }
  ~TLocaleScope() { SetFormatSettings(UnitedStatesFormatSettings()); }
};
