#include "gridview/VirtualColumn.h"

#include "core/Conversions.h"
#include "core/FormatSettings.h"
#include "core/Text.h"

namespace {
std::string Narrow(std::u16string_view Text) { return Utf16ToUtf8(Text); }
std::u16string Wide(const std::string& Text) { return Utf8ToUtf16(Text); }
}  // namespace

// Virtual cells: read and written through their handlers, converted like text cells.
std::u16string TVirtualCell::GetAsText() const {
  return OnGetText ? OnGetText(const_cast<TVirtualCell&>(*this)) : std::u16string();
}
bool TVirtualCell::GetAsBoolean() const { return StrToBool(Narrow(GetAsText())); }
TDateTime TVirtualCell::GetAsDateTime() const { return StrToDateTime(Narrow(GetAsText())); }
double TVirtualCell::GetAsFloat() const { return StrToFloat(Narrow(GetAsText())); }
int TVirtualCell::GetAsInteger() const { return StrToInt(Narrow(GetAsText())); }
void TVirtualCell::SetAsBoolean(bool Value) { SetAsText(Wide(BoolToStr(Value))); }
void TVirtualCell::SetAsDateTime(TDateTime Value) { SetAsText(Wide(DateTimeToStr(Value))); }
void TVirtualCell::SetAsFloat(double Value) { SetAsText(Wide(FloatToStr(Value))); }
void TVirtualCell::SetAsInteger(int Value) { SetAsText(Wide(IntToStr(Value))); }
void TVirtualCell::SetAsText(const std::u16string& Value) {
  if (OnSetText) OnSetText(*this, Value);
  TCell::SetAsText(Value);
}

// Cells of a row source.
std::u16string TSourceCell::GetAsText() const {
  std::u16string Buffer;
  return std::u16string(FSource->Text(Col(), FItem, Buffer));
}
bool TSourceCell::GetAsBoolean() const { return StrToBool(Narrow(GetAsText())); }
int TSourceCell::GetAsInteger() const { return RoundToInt(Number()); }
