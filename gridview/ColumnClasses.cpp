#include "gridview/ColumnClasses.h"

#include <functional>
#include <map>

#include "core/Clock.h"
#include "core/Conversions.h"
#include "core/FormatSettings.h"
#include "core/NumberFormat.h"
#include "core/Text.h"

namespace {
// The locale's separator as one UTF-16 unit (0 when it is empty).
char16_t SeparatorUnit(const std::string& Separator) {
  const std::u16string Wide = Utf8ToUtf16(Separator);
  return Wide.empty() ? 0 : Wide[0];
}

template <class T>
const T* SameKind(const TCustomColumn& Source) {
  return dynamic_cast<const T*>(&Source);
}

TColumnEditorLink* EditorLink(TCustomColumn& Column) { return dynamic_cast<TColumnEditorLink*>(Column.Editor()); }
}  // namespace

TCheckBoxColumn::TCheckBoxColumn() {
  SetCellKind(ckBoolean);
  SetSortType(stBoolean);
}

TImageColumn::TImageColumn() {
  SetCellKind(ckInteger);
  SetDefaultValue(u"0");
  SetSortType(stNumeric);
}

void TImageColumn::Assign(const TCustomColumn& Source) {
  TCustomColumn::Assign(Source);
  if (auto* S = SameKind<TImageColumn>(Source)) SetImages(S->FImages);
}

TProgressColumn::TProgressColumn() {
  SetCellKind(ckFloat);
  SetDefaultValue(u"0");
  SetSortType(stNumeric);
}

void TProgressColumn::Assign(const TCustomColumn& Source) {
  TCustomColumn::Assign(Source);
  if (auto* S = SameKind<TProgressColumn>(Source)) {
    SetBorderColor(S->FBorderColor);
    SetMargin(S->FMargin);
    SetMax(S->FMax);
    SetProgressColor(S->FProgressColor);
    SetProgressStyle(S->FProgressStyle);
    SetShowText(S->FShowText);
  }
}

TRateColumn::TRateColumn() {
  SetCellKind(ckInteger);
  SetDefaultValue(u"0");
  SetSortType(stNumeric);
}

void TRateColumn::GlyphChanged(TGlyph& Glyph) {
  if (FTransparent) Glyph.MakeTransparentFromCorner();
  Invalidate(gaData);
}

void TRateColumn::SetEmptyGlyph(const TGlyph& Value) {
  FEmptyGlyph = Value;
  GlyphChanged(FEmptyGlyph);
}

void TRateColumn::SetGlyph(const TGlyph& Value) {
  FGlyph = Value;
  GlyphChanged(FGlyph);
}

void TRateColumn::SetMax(int Value) {
  if (Value == FMax) return;
  SetAndRepaint(FMax, Value);
}

void TRateColumn::SetTransparent(bool Value) {
  FTransparent = Value;
  if (Value) {
    FGlyph.MakeTransparentFromCorner();
    FEmptyGlyph.MakeTransparentFromCorner();
  }
  Invalidate(gaData);
}

void TRateColumn::Assign(const TCustomColumn& Source) {
  TCustomColumn::Assign(Source);
  if (auto* S = SameKind<TRateColumn>(Source)) {
    SetEmptyGlyph(S->FEmptyGlyph);
    SetGlyph(S->FGlyph);
    SetMax(S->FMax);
    SetTransparent(S->FTransparent);
  }
}

TTextualColumn::TTextualColumn() { SetOptions(Options() + TColumnOptions{coShowTextFitHint}); }

std::u16string TTextualColumn::FormatText(const std::u16string& Value) const {
  return FTextBefore + Value + FTextAfter;
}

void TTextualColumn::PrepareEditor() {
  TCustomColumn::PrepareEditor();
  if (TColumnEditorLink* Link = EditorLink(*this)) Link->SetIgnoreArrowKeys(true);
}

void TTextualColumn::Assign(const TCustomColumn& Source) {
  TCustomColumn::Assign(Source);
  if (auto* S = SameKind<TTextualColumn>(Source)) {
    SetAutoExecute(S->FAutoExecute);
    SetTextAfter(S->FTextAfter);
    SetTextBefore(S->FTextBefore);
  }
}

void TComboBoxColumn::PrepareEditor() {
  if (TColumnEditorLink* Link = EditorLink(*this)) {
    Link->SetItems(FItems);
    Link->SetImages(FImages);
    Link->SetDropDownCount(FDropDownCount);
    Link->SetDropDownStyle(FStyle == cbsDropDownList ? dsDropDownList : dsDropDown);
  }
}

void TComboBoxColumn::Assign(const TCustomColumn& Source) {
  TTextualColumn::Assign(Source);
  if (auto* S = SameKind<TComboBoxColumn>(Source)) {
    SetDropDownCount(S->FDropDownCount);
    SetItems(S->FItems);
    SetStyle(S->FStyle);
  }
}

TIncrementColumn::TIncrementColumn() { SetCellKind(ckIncrement); }

TNumericColumn::TNumericColumn() {
  SetCellKind(ckFloat);
  SetDefaultValue(u"0");
  SetSortType(stNumeric);
}

std::u16string TNumericColumn::FormatValue(double Value) const { return Utf8ToUtf16(FormatFloat(FFormatMask, Value)); }

std::u16string TNumericColumn::FormatText(const std::u16string& Value) const {
  if (FFormatMask.empty()) return Value + FTextAfter;
  return FormatValue(StrToFloat(Utf16ToUtf8(Value))) + FTextAfter;
}

bool TNumericColumn::AcceptsKey(char16_t Key) const {
  return Key == u'+' || Key == u'-' || (Key >= u'0' && Key <= u'9') ||
         (Key != 0 && Key == SeparatorUnit(FormatSettings().DecimalSeparator));
}

void TNumericColumn::PrepareEditor() {
  if (TColumnEditorLink* Link = EditorLink(*this)) {
    Link->SetIncrement(FIncrement);
    Link->SetBounds(FMin, FMax);
  }
}

void TNumericColumn::Assign(const TCustomColumn& Source) {
  TCustomColumn::Assign(Source);
  if (auto* S = SameKind<TNumericColumn>(Source)) {
    SetFormatMask(S->FFormatMask);
    SetIncrement(S->FIncrement);
    SetMax(S->FMax);
    SetMin(S->FMin);
    SetTextAfter(S->FTextAfter);
    SetTextBefore(S->FTextBefore);
  }
}

TDateColumn::TDateColumn() {
  SetCellKind(ckDateTime);
  SetDefaultValue(Utf8ToUtf16(DateTimeToStr(ProgramClock().Today())));
  SetSortType(stDate);
}

bool TDateColumn::AcceptsKey(char16_t Key) const {
  return (Key >= u'0' && Key <= u'9') || (Key != 0 && Key == SeparatorUnit(FormatSettings().DateSeparator));
}

void TDateColumn::PrepareEditor() {
  if (TColumnEditorLink* Link = EditorLink(*this)) Link->SetDropDownStyle(dsDropDown);
}

TGraphicColumn::TGraphicColumn() { SetCellKind(ckObject); }

std::unique_ptr<TCustomColumn> CreateColumnByClassName(const std::string& ClassName) {
  static const std::map<std::string, std::function<std::unique_ptr<TCustomColumn>()>> Makers = {
      {"TCheckBoxColumn", [] { return std::make_unique<TCheckBoxColumn>(); }},
      {"THtmlColumn", [] { return std::make_unique<THtmlColumn>(); }},
      {"TImageColumn", [] { return std::make_unique<TImageColumn>(); }},
      {"TProgressColumn", [] { return std::make_unique<TProgressColumn>(); }},
      {"TRateColumn", [] { return std::make_unique<TRateColumn>(); }},
      {"TTextualColumn", [] { return std::make_unique<TTextualColumn>(); }},
      {"TComboBoxColumn", [] { return std::make_unique<TComboBoxColumn>(); }},
      {"TIncrementColumn", [] { return std::make_unique<TIncrementColumn>(); }},
      {"TNumericColumn", [] { return std::make_unique<TNumericColumn>(); }},
      {"TDateColumn", [] { return std::make_unique<TDateColumn>(); }},
      {"TGraphicColumn", [] { return std::make_unique<TGraphicColumn>(); }},
  };
  const auto It = Makers.find(ClassName);
  return It == Makers.end() ? nullptr : It->second();
}
