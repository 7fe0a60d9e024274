#pragma once
// The rules of the numeric cell editors as plain text operations: which typed characters are
// accepted, how a typed or pasted text is cleaned into a number, and how a value is shown again.
// Portable, so that the rules are tested without a window.
#include <string>
#include <string_view>

#include "gridview/GridTypes.h"

enum TEditOption { eoAllowAll, eoAllowFloat, eoAllowSigns };
using TEditOptions = TSet<TEditOption>;

// The text of an edit box and its selection (start and length, in UTF-16 units).
struct TEditState {
  std::u16string Text;
  int SelStart = 0;
  int SelLength = 0;
};

// The locale's decimal separator as one UTF-16 unit ('.' when the locale names none).
char16_t DecimalSeparatorUnit();

// Whether typing Key into the edit box is accepted. With eoAllowAll everything is; otherwise
// Ctrl+C, Tab, Ctrl+V and Ctrl+X pass, and any other character must be Backspace, a sign, a digit
// or the decimal separator, a separator only when floats are allowed and the text has none outside
// the selection, a sign only when signs are allowed and it lands at the start of a sign-less text
// or replaces a selected sign.
bool NumericKeyAccepted(char16_t Key, const TEditState& Edit, TEditOptions Options, char16_t Decimal);

// Keeps the digits, the first decimal separator (when AllowFloat) and a leading sign (when
// AllowSigns); a lone "-" becomes "0".
std::u16string CleanNumericText(std::u16string_view Text, bool AllowFloat, bool AllowSigns, char16_t Decimal);

// The bounds of a numeric editor: Max counts only when above 0; Min always.
double ClampNumericValue(double Value, double Min, double Max);

// What a numeric editor shows, and how it reads back what it shows.
struct TNumericFormat {
  TEditOptions Options{eoAllowFloat, eoAllowSigns};
  int Precision = 2;
  double Min = 0, Max = 0;
  std::u16string NullText, TextAfter;
  char16_t Decimal = u'.';
};

// The value shown: NullText for 0 when there is one; otherwise the number with Precision decimals
// (fixed, when Precision is above 0 and floats are allowed) or in the general form, then TextAfter.
std::u16string FormatNumericValue(double Value, const TNumericFormat& Format);
// The value of a text: 0 when empty or showing NullText; otherwise the cleaned number (TextAfter,
// when the text ends with it, is not read as part of the number), kept within the bounds.
double NumericTextValue(std::u16string_view Text, const TNumericFormat& Format);

// Pasting Clip over the selection: the clipboard text is cleaned (a separator only when floats are
// allowed and the text outside the selection has none, signs only with the caret at the start) and
// replaces the selection; the caret goes back to where the selection started.
TEditState PasteNumericText(const TEditState& Edit, std::u16string_view Clip, const TNumericFormat& Format);
