#pragma once
// Number format masks, as the grid's numeric columns and the console's long listing write numbers
// ("###,###,##0k "): up to three sections split at ";" (positive; negative; zero), digit placeholders
// "0" and "#", the decimal point ".", grouping ",", exponents "E+" "E-" "e+" "e-", quoted literals and
// plain literal characters. Nothing here fails: any mask gives some text.
#include <string>
#include <string_view>

#include "core/FormatSettings.h"

// Value written with Mask in the given locale. An empty mask (or an empty first section) gives the
// general form of FloatToStr.
std::string FormatFloat(std::string_view Mask, double Value, const TFormatSettings& Settings = FormatSettings());
