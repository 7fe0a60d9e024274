#include "gridview/CellClasses.h"

#include "core/Clock.h"
#include "core/Conversions.h"
#include "core/FormatSettings.h"
#include "core/Text.h"

namespace {
std::string Narrow(std::u16string_view Text) { return Utf16ToUtf8(Text); }
std::u16string Wide(const std::string& Text) { return Utf8ToUtf16(Text); }
}  // namespace

TCell::TCell(TCellOwner& Owner) : FOwner(&Owner) {}

void TCell::SetAsBoolean(bool) { Changed(); }
void TCell::SetAsDateTime(TDateTime) { Changed(); }
void TCell::SetAsFloat(double) { Changed(); }
void TCell::SetAsInteger(int) { Changed(); }
void TCell::SetAsText(const std::u16string&) { Changed(); }

void TCell::SetColor(TColor Value) {
  FColor = Value;
  if (!FInitializing) Changed();
}

void TCell::SetHint(const std::u16string& Value) {
  if (Value.empty())
    FHint.reset();
  else
    FHint = std::make_unique<std::u16string>(Value);
}

void TCell::Changed() { FOwner->CellChanged(*this); }

// Text cells.
bool TStringCell::GetAsBoolean() const { return StrToBool(Narrow(FValue.View())); }
TDateTime TStringCell::GetAsDateTime() const { return StrToDateTime(Narrow(FValue.View())); }
double TStringCell::GetAsFloat() const { return StrToFloat(Narrow(FValue.View())); }
int TStringCell::GetAsInteger() const { return StrToInt(Narrow(FValue.View())); }
void TStringCell::SetAsBoolean(bool Value) { SetAsText(Wide(BoolToStr(Value))); }
void TStringCell::SetAsDateTime(TDateTime Value) { SetAsText(Wide(DateTimeToStr(Value))); }
void TStringCell::SetAsFloat(double Value) { SetAsText(Wide(FloatToStr(Value))); }
void TStringCell::SetAsInteger(int Value) { SetAsText(Wide(IntToStr(Value))); }
void TStringCell::SetAsText(const std::u16string& Value) {
  FValue = Owner().ShareText(Col(), Value);
  TCell::SetAsText(Value);
}

// Integer cells.
std::u16string TIntegerCell::GetAsText() const { return Wide(IntToStr(FValue)); }
void TIntegerCell::SetAsBoolean(bool) { SetAsInteger(0); }
void TIntegerCell::SetAsDateTime(TDateTime) { SetAsInteger(0); }
void TIntegerCell::SetAsFloat(double Value) { SetAsInteger(RoundToInt(Value)); }
void TIntegerCell::SetAsInteger(int Value) {
  FValue = Value;
  TCell::SetAsInteger(Value);
}
void TIntegerCell::SetAsText(const std::u16string& Value) { SetAsInteger(Value.empty() ? 0 : StrToInt(Narrow(Value))); }

// Float cells.
int TFloatCell::GetAsInteger() const { return RoundToInt(FValue); }
std::u16string TFloatCell::GetAsText() const { return Wide(FloatToStr(FValue)); }
void TFloatCell::SetAsBoolean(bool) { SetAsFloat(0); }
void TFloatCell::SetAsDateTime(TDateTime Value) { SetAsFloat(Value); }
void TFloatCell::SetAsFloat(double Value) {
  FValue = Value;
  TCell::SetAsFloat(Value);
}
void TFloatCell::SetAsInteger(int Value) { SetAsFloat(Value); }
void TFloatCell::SetAsText(const std::u16string& Value) { SetAsFloat(StrToFloat(Narrow(Value))); }

// Date-time cells.
int TDateTimeCell::GetAsInteger() const { return RoundToInt(FValue); }
std::u16string TDateTimeCell::GetAsText() const { return Wide(DateTimeToStr(FValue)); }
void TDateTimeCell::SetAsBoolean(bool) { SetAsDateTime(ProgramClock().Today()); }
void TDateTimeCell::SetAsDateTime(TDateTime Value) {
  FValue = Value;
  TCell::SetAsDateTime(Value);
}
void TDateTimeCell::SetAsFloat(double Value) { SetAsDateTime(Value); }
void TDateTimeCell::SetAsInteger(int Value) { SetAsDateTime(Value); }
void TDateTimeCell::SetAsText(const std::u16string& Value) {
  TDateTime Result = 0;
  if (Value.empty() || !TryStrToDateTime(Narrow(Value), Result)) Result = 0;
  SetAsDateTime(Result);
}

// Boolean cells.
std::u16string TBooleanCell::GetAsText() const { return FValue ? u"True" : u"False"; }
void TBooleanCell::SetAsBoolean(bool Value) {
  FValue = Value;
  TCell::SetAsBoolean(Value);
}
void TBooleanCell::SetAsDateTime(TDateTime) { SetAsBoolean(false); }
void TBooleanCell::SetAsFloat(double Value) { SetAsBoolean(Value > 0); }
void TBooleanCell::SetAsInteger(int Value) { SetAsBoolean(Value > 0); }
void TBooleanCell::SetAsText(const std::u16string& Value) { SetAsBoolean(AsciiSameText(Narrow(Value), "true")); }

// Increment cells.
std::u16string TIncrementCell::GetAsText() const { return Wide(IntToStr(Row() + 1LL)); }
