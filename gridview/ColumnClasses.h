#pragma once
// The concrete column kinds: the value kind of their cells, their defaults, their own properties,
// the names of the classes that paint, edit and play in their cells, how hints and footers show a
// raw text, and which typed keys start input.
#include <memory>
#include <string>
#include <vector>

#include "gridview/Columns.h"

class TCheckBoxColumn : public TCustomColumn {
 public:
  TCheckBoxColumn();
  std::string ClassName() const override { return "TCheckBoxColumn"; }
  std::string EditorClass() const override { return "TCheckBoxEditor"; }
  std::string DisplayClass() const override { return "TCheckBoxColumnDisplay"; }
  std::string PlayClass() const override { return "TCheckBoxColumnPlay"; }
};

class THtmlColumn : public TCustomColumn {
 public:
  std::string ClassName() const override { return "THtmlColumn"; }
  std::string DisplayClass() const override { return "THtmlColumnDisplay"; }
};

class TImageColumn : public TCustomColumn {
 public:
  TImageColumn();
  std::string ClassName() const override { return "TImageColumn"; }
  std::string DisplayClass() const override { return "TImageColumnDisplay"; }
  void Assign(const TCustomColumn& Source) override;

  TObject* Images() const { return FImages; }  // not owned
  void SetImages(TObject* Value) { FImages = Value; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }

 private:
  TObject* FImages = nullptr;
  bool FTransparent = true;
};

// Scoped: the toolkit's pen styles use the same names.
enum class TProgressStyle { psSolid, psGradient, psCylinder };

class TProgressColumn : public TCustomColumn {
 public:
  TProgressColumn();
  std::string ClassName() const override { return "TProgressColumn"; }
  std::string DisplayClass() const override { return "TProgressColumnDisplay"; }
  void Assign(const TCustomColumn& Source) override;

  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value) { FBorderColor = Value; }
  bool HideWhenEmpty() const { return FHideWhenEmpty; }
  void SetHideWhenEmpty(bool Value) { SetAndRepaint(FHideWhenEmpty, Value); }
  int Margin() const { return FMargin; }
  void SetMargin(int Value) { FMargin = Value; }
  int Max() const { return FMax; }
  void SetMax(int Value) { FMax = Value; }
  TColor ProgressColor() const { return FProgressColor; }
  void SetProgressColor(TColor Value) { SetAndRepaint(FProgressColor, Value); }
  TProgressStyle ProgressStyle() const { return FProgressStyle; }
  void SetProgressStyle(TProgressStyle Value) { SetAndRepaint(FProgressStyle, Value); }
  bool ShowText() const { return FShowText; }
  void SetShowText(bool Value) { FShowText = Value; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }

 private:
  TColor FBorderColor = 8421504;
  bool FHideWhenEmpty = false;
  int FMargin = 2;
  int FMax = 100;
  TColor FProgressColor = clHighlight;
  TProgressStyle FProgressStyle = TProgressStyle::psSolid;
  bool FShowText = false;
  bool FTransparent = false;
};

class TRateColumn : public TCustomColumn {
 public:
  TRateColumn();
  std::string ClassName() const override { return "TRateColumn"; }
  std::string DisplayClass() const override { return "TRateColumnDisplay"; }
  void Assign(const TCustomColumn& Source) override;

  const TGlyph& EmptyGlyph() const { return FEmptyGlyph; }
  void SetEmptyGlyph(const TGlyph& Value);
  const TGlyph& Glyph() const { return FGlyph; }
  void SetGlyph(const TGlyph& Value);
  bool HideWhenEmpty() const { return FHideWhenEmpty; }
  void SetHideWhenEmpty(bool Value) { SetAndRepaint(FHideWhenEmpty, Value); }
  int Max() const { return FMax; }
  void SetMax(int Value);  // repaints only when the value changes
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);

 private:
  void GlyphChanged(TGlyph& Glyph);
  TGlyph FEmptyGlyph, FGlyph;
  bool FHideWhenEmpty = false;
  int FMax = 5;
  bool FTransparent = false;
};

class TTextualColumn : public TCustomColumn {
 public:
  TTextualColumn();
  std::string ClassName() const override { return "TTextualColumn"; }
  std::string EditorClass() const override { return "TTextualEditor"; }
  std::string DisplayClass() const override { return "TTextualColumnDisplay"; }
  std::u16string FormatText(const std::u16string& Value) const override;
  bool AcceptsKey(char16_t Key) const override { return Key > 32; }
  void PrepareEditor() override;
  void Assign(const TCustomColumn& Source) override;

  bool AutoExecute() const { return FAutoExecute; }
  void SetAutoExecute(bool Value) { FAutoExecute = Value; }
  const std::u16string& TextAfter() const { return FTextAfter; }
  void SetTextAfter(const std::u16string& Value) { FTextAfter = Value; }
  const std::u16string& TextBefore() const { return FTextBefore; }
  void SetTextBefore(const std::u16string& Value) { FTextBefore = Value; }

 private:
  bool FAutoExecute = false;
  std::u16string FTextAfter, FTextBefore;
};

enum TCompoBoxStyle { cbsDropDown, cbsDropDownList };

class TComboBoxColumn : public TTextualColumn {
 public:
  std::string ClassName() const override { return "TComboBoxColumn"; }
  std::string EditorClass() const override { return "TComboBoxEditor"; }
  void PrepareEditor() override;
  void Assign(const TCustomColumn& Source) override;

  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value) { FDropDownCount = Value; }
  TObject* Images() const { return FImages; }  // not owned
  void SetImages(TObject* Value) { FImages = Value; }
  const std::vector<std::u16string>& Items() const { return FItems; }
  void SetItems(const std::vector<std::u16string>& Value) { FItems = Value; }
  bool ShowImages() const { return FShowImages; }
  void SetShowImages(bool Value) { FShowImages = Value; }
  TCompoBoxStyle Style() const { return FStyle; }
  void SetStyle(TCompoBoxStyle Value) { FStyle = Value; }

 private:
  int FDropDownCount = 8;
  TObject* FImages = nullptr;
  std::vector<std::u16string> FItems;
  bool FShowImages = false;
  TCompoBoxStyle FStyle = cbsDropDown;
};

class TIncrementColumn : public TCustomColumn {
 public:
  TIncrementColumn();
  std::string ClassName() const override { return "TIncrementColumn"; }
  std::string DisplayClass() const override { return "TIncrementColumnDisplay"; }
};

class TNumericColumn : public TCustomColumn {
 public:
  TNumericColumn();
  std::string ClassName() const override { return "TNumericColumn"; }
  std::string EditorClass() const override { return "TSpinEditor"; }
  std::string DisplayClass() const override { return "TNumericColumnDisplay"; }
  // With a mask: the text read as a number (EConvertError when it is not one), formatted, then
  // TextAfter; without one: the text and TextAfter.
  std::u16string FormatText(const std::u16string& Value) const override;
  bool AcceptsKey(char16_t Key) const override;
  void PrepareEditor() override;
  void Assign(const TCustomColumn& Source) override;
  // The stored value as the cell shows it (mask or general form, without TextBefore/TextAfter).
  std::u16string FormatValue(double Value) const;

  const std::string& FormatMask() const { return FFormatMask; }
  void SetFormatMask(const std::string& Value) { FFormatMask = Value; }
  double Increment() const { return FIncrement; }
  void SetIncrement(double Value) { FIncrement = Value; }
  int Max() const { return FMax; }
  void SetMax(int Value) { FMax = Value; }
  int Min() const { return FMin; }
  void SetMin(int Value) { FMin = Value; }
  const std::u16string& TextAfter() const { return FTextAfter; }
  void SetTextAfter(const std::u16string& Value) { SetAndRepaint(FTextAfter, Value); }
  const std::u16string& TextBefore() const { return FTextBefore; }
  void SetTextBefore(const std::u16string& Value) { SetAndRepaint(FTextBefore, Value); }

 private:
  std::string FFormatMask;
  double FIncrement = 1.0;
  int FMax = 0, FMin = 0;
  std::u16string FTextAfter, FTextBefore;
};

class TDateColumn : public TCustomColumn {
 public:
  TDateColumn();  // DefaultValue: today's date as text
  std::string ClassName() const override { return "TDateColumn"; }
  std::string EditorClass() const override { return "TDatePickerEditor"; }
  std::string DisplayClass() const override { return "TDateColumnDisplay"; }
  bool AcceptsKey(char16_t Key) const override;
  void PrepareEditor() override;

  const std::u16string& EmptyCaption() const { return FEmptyCaption; }
  void SetEmptyCaption(const std::u16string& Value) { FEmptyCaption = Value; }
  bool HideWhenEmpty() const { return FHideWhenEmpty; }
  void SetHideWhenEmpty(bool Value) { SetAndRepaint(FHideWhenEmpty, Value); }

 private:
  std::u16string FEmptyCaption;
  bool FHideWhenEmpty = false;
};

class TGraphicColumn : public TCustomColumn {
 public:
  TGraphicColumn();
  std::string ClassName() const override { return "TGraphicColumn"; }
  std::string DisplayClass() const override { return "TGraphicColumnDisplay"; }

  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value) { SetAndRepaint(FBorderWidth, Value, gaWhole); }
  int Margin() const { return FMargin; }
  void SetMargin(int Value) { SetAndRepaint(FMargin, Value, gaWhole); }
  bool Strecht() const { return FStrecht; }
  void SetStrecht(bool Value) { SetAndRepaint(FStrecht, Value, gaWhole); }

 private:
  int FBorderWidth = 1;
  int FMargin = 4;
  bool FStrecht = false;
};

// A column of the named kind ("TNumericColumn"), or null for a name that is none of them; for
// building grids from stored descriptions.
std::unique_ptr<TCustomColumn> CreateColumnByClassName(const std::string& ClassName);
