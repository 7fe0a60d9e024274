#pragma once
// Text to value and back in the user's locale, as the grid's cells and the console's options need
// them. Fails: the Try forms answer false; the others throw EConvertError with the message the user
// sees ("'x' is not a valid integer value").
#include <string>
#include <string_view>

#include "core/FormatSettings.h"

// Whole numbers: optional blanks in front, an optional sign, decimal digits or "$"/"0x" hex digits;
// the result must fit 32 bits.
bool TryStrToInt(std::string_view Text, int& Value);
int StrToInt(std::string_view Text);
std::string IntToStr(long long Value);

// Floating point: blanks around, an optional sign, digits with at most one locale decimal
// separator, an optional exponent; no thousands separators; the result must be finite.
bool TryStrToFloat(std::string_view Text, double& Value, const TFormatSettings& Settings = FormatSettings());
double StrToFloat(std::string_view Text, const TFormatSettings& Settings = FormatSettings());
// General form: up to 15 significant digits, no grouping, no trailing fraction zeros; scientific
// ("1E15", "1.5E-6") from 1E15 up and below 1E-5 in magnitude.
std::string FloatToStr(double Value, const TFormatSettings& Settings = FormatSettings());

// The words "True" and "False" in any letter case.
bool TryStrToBool(std::string_view Text, bool& Value);
bool StrToBool(std::string_view Text);
std::string BoolToStr(bool Value);

// Nearest whole number, halves to even; values beyond 32 bits are clamped, NaN gives 0.
int RoundToInt(double Value);
