#pragma once
// The column collection and the column base: widths and display order, left edges, auto-sizing of
// spare width, header and footer parts, sort settings and options. Every property change reaches
// the grid as a change kind through the owner the grid gives the collection.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Object.h"
#include "gridview/GridTypes.h"

class TColumns;
class TCustomColumn;

// What a column collection reports to, and asks of, the grid that owns it.
class TColumnsOwner {
 public:
  // A column was added, removed, inserted or moved, or all went (a TColumnsStructureKind).
  virtual void ColumnsStructureChanged(TColumnsStructureKind Kind, int Index, int Index2) = 0;
  // A property of the column changed.
  virtual void ColumnPropertyChanged(TCustomColumn* Column, TColumnChangeKind Kind) = 0;
  // After a structure change (its kind).
  virtual void AfterColumnsChange(int Kind) = 0;
  // One area of the column's strip needs painting again.
  virtual void RepaintColumn(TCustomColumn* Column, TGridArea Area) = 0;
  // The left edge of the data: the first column's left edge.
  virtual int ColumnsLeft() const = 0;
  // The width that auto-sized columns share, the indicator strip already taken off.
  virtual int ColumnsWidth() const = 0;
  // The font of columns with ParentFont.
  virtual const TGridFont& ColumnsFont() const = 0;

 protected:
  ~TColumnsOwner() = default;
};

// A small picture as plain pixels (row by row from the top); the window side makes a bitmap of it.
struct TGlyph {
  int Width = 0, Height = 0;
  std::vector<TColor> Pixels;
  // One per pixel (0 clear to 255 opaque) for pictures that carry alpha; empty for opaque ones.
  std::vector<std::uint8_t> Alpha;
  bool Transparent = false;
  TColor TransparentColor = clBlack;

  bool HasAlpha() const { return !Alpha.empty(); }

  bool Empty() const { return Width <= 0 || Height <= 0 || Pixels.size() < std::size_t(Width) * std::size_t(Height); }
  TColor Pixel(int X, int Y) const { return Pixels[std::size_t(Y) * std::size_t(Width) + std::size_t(X)]; }
  // Transparent with the colour of the bottom-left pixel; nothing for an empty picture.
  void MakeTransparentFromCorner();
  bool operator==(const TGlyph& O) const {
    return Width == O.Width && Height == O.Height && Pixels == O.Pixels && Alpha == O.Alpha &&
           Transparent == O.Transparent && TransparentColor == O.TransparentColor;
  }
};

// The cell rectangle of a column inside a slide (gsSlides style). Setting stores only.
struct TSlideBounds {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const TSlideBounds& O) const {
    return Left == O.Left && Top == O.Top && Width == O.Width && Height == O.Height;
  }
};

// Header or footer of a column.
class TColumnPart : public TObject {
 public:
  TColumnPart(TCustomColumn* Column, TColor DefaultColor);
  const std::u16string& Caption() const { return FCaption; }
  void SetCaption(const std::u16string& Value);  // repaints the column's strip
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);  // repaints the column's strip
  TDisplayMode DisplayMode() const { return FDisplayMode; }
  void SetDisplayMode(TDisplayMode Value);  // fires OnChange
  const TGlyph& Glyph() const { return FGlyph; }
  void SetGlyph(const TGlyph& Value);  // made transparent by its corner; fires OnChange
  virtual void Assign(const TColumnPart& Source);
  TCustomColumn* Column() const { return FColumn; }

  TNotifyEvent OnChange;

 protected:
  virtual TGridArea Area() const = 0;
  void Changed();
  void RepaintStrip();

 private:
  TCustomColumn* FColumn;
  std::u16string FCaption;
  TColor FColor;
  TDisplayMode FDisplayMode = dmTextOnly;
  TGlyph FGlyph;
};

class TColumnHeader : public TColumnPart {
 public:
  explicit TColumnHeader(TCustomColumn* Column) : TColumnPart(Column, clBtnFace) {}

 protected:
  TGridArea Area() const override { return gaHeader; }
};

class TColumnFooter : public TColumnPart {
 public:
  explicit TColumnFooter(TCustomColumn* Column) : TColumnPart(Column, clWindow) {}
  TFormulaKind FormulaKind() const { return FFormulaKind; }
  void SetFormulaKind(TFormulaKind Value);  // fires OnChange
  void Assign(const TColumnPart& Source) override;

 protected:
  TGridArea Area() const override { return gaFooter; }

 private:
  TFormulaKind FFormulaKind = fkNone;
};

// What a column asks of its editor before input starts. The window side's editors implement the
// parts they have; the rest stay no-ops.
class TColumnEditorLink {
 public:
  virtual ~TColumnEditorLink() = default;
  virtual void SetIgnoreArrowKeys(bool) {}
  virtual void SetItems(const std::vector<std::u16string>&) {}
  virtual void SetImages(TObject*) {}
  virtual void SetDropDownCount(int) {}
  virtual void SetDropDownStyle(TDropDownStyle) {}
  virtual void SetIncrement(double) {}
  virtual void SetBounds(double /*Min*/, double /*Max*/) {}
};

// Makers of a column's display, editor and play objects by class name ("TTextualColumnDisplay",
// "TSpinEditor", ...). The window side registers them; where none is registered (native builds,
// tests) the column simply has no such object.
using TColumnElementFactory = std::function<std::unique_ptr<TObject>(TCustomColumn& Column)>;
void RegisterColumnElementClass(const std::string& ClassName, TColumnElementFactory Factory);
void UnregisterColumnElementClass(const std::string& ClassName);
std::unique_ptr<TObject> CreateColumnElement(const std::string& ClassName, TCustomColumn& Column);

// Base of a column's display and play objects: the column, and the value of the cell about to be
// painted or played, in the field of the column's cell kind. The window side adds the canvas.
class TVirtualColElement : public TObject {
 public:
  explicit TVirtualColElement(TCustomColumn& Column) : FColumn(&Column) {}
  TCustomColumn& Column() const { return *FColumn; }

  bool BooleanValue = false;
  double DateTimeValue = 0;
  double FloatValue = 0;
  int IntegerValue = 0;
  std::u16string TextValue;
  TObject* ObjectValue = nullptr;

 private:
  TCustomColumn* FColumn;
};

class TCustomColumn : public TObject {
 public:
  static constexpr int MinWidth = 8;
  // Wider than any screen; with it the sums of all columns' widths stay inside an int.
  static constexpr int MaxWidth = 1 << 24;
  static constexpr TColumnOptions DefaultOptions{coCanClick, coCanSort, coCanInput, coEditorAutoSelect, coPublicUsing};

  TCustomColumn();
  ~TCustomColumn() override;
  TCustomColumn(const TCustomColumn&) = delete;
  TCustomColumn& operator=(const TCustomColumn&) = delete;

  virtual std::string ClassName() const { return "TCustomColumn"; }
  // Names of the classes that paint, edit and play in this column's cells; empty for none.
  virtual std::string EditorClass() const { return {}; }
  virtual std::string DisplayClass() const { return {}; }
  virtual std::string PlayClass() const { return {}; }
  virtual void SetCellKind(TCellKind Kind) { FCellKind = Kind; }
  // Raw cell text as hints and footers show it.
  virtual std::u16string FormatText(const std::u16string& Value) const { return Value; }
  // Whether typing Key in a selected cell starts input.
  virtual bool AcceptsKey(char16_t /*Key*/) const { return false; }
  // Configures the editor each time it opens.
  virtual void PrepareEditor() {}
  // Copies the column's properties (each through its setter); the kinds add their own.
  virtual void Assign(const TCustomColumn& Source);

  TCellKind CellKind() const { return FCellKind; }
  TColumns* Collection() const { return FColumns; }
  int Index() const;  // in the collection's creation order, -1 outside one

  // Display, editor and play objects, made on first use from the registered classes.
  TObject* Display();
  TObject* Editor();
  TObject* Play();
  void CreateElements();

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  const std::u16string& DefaultValue() const { return FDefaultValue; }
  void SetDefaultValue(const std::u16string& Value) { FDefaultValue = Value; }
  int DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(int Value) { FDefaultWidth = Value; }
  TDrawingOptions DrawingOptions() const { return FDrawingOptions; }
  void SetDrawingOptions(TDrawingOptions Value);
  const TGridFont& Font() const { return FFont; }
  void SetFont(const TGridFont& Value);  // also ParentFont false
  TColumnFooter& Footer() { return FFooter; }
  const TColumnFooter& Footer() const { return FFooter; }
  void SetFooter(const TColumnFooter& Value);
  TColumnHeader& Header() { return FHeader; }
  const TColumnHeader& Header() const { return FHeader; }
  void SetHeader(const TColumnHeader& Value);
  const std::u16string& InputCaption() const { return FInputCaption; }
  void SetInputCaption(const std::u16string& Value);
  TColumnOptions Options() const { return FOptions; }
  void SetOptions(TColumnOptions Value);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  const TSlideBounds& SlideBounds() const { return FSlideBounds; }
  void SetSlideBounds(const TSlideBounds& Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TSortKind SortKind() const { return FSortKind; }
  void SetSortKind(TSortKind Value);
  TSortType SortType() const { return FSortType; }
  void SetSortType(TSortType Value);
  TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
  void SetVerticalAlignment(TVerticalAlignment Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);  // never below MinWidth nor above MaxWidth
  TWrapKind WrapKind() const { return FWrapKind; }
  void SetWrapKind(TWrapKind Value) { FWrapKind = Value; }

  // Layout kept by the collection.
  int Left() const { return FLeft; }
  int Right() const { return FLeft + FWidth; }
  int VisibleIndex() const { return FVisibleIndex; }
  // Text typed for this column in the input row.
  const std::u16string& InputText() const { return FInputText; }
  void SetInputText(const std::u16string& Value);
  bool InputEditing() const { return FInputEditing; }
  void SetInputEditing(bool Value) { FInputEditing = Value; }

  // Reports a change of this column to the grid (through the collection).
  void Changed(TColumnChangeKind Kind);
  // Repaint request for one area of the column's strip.
  void Invalidate(TGridArea Area);

 protected:
  // Stores a property value of a kind's own, then repaints the column's cells or its strip.
  template <class T>
  void SetAndRepaint(T& Field, const T& Value, TGridArea Area = gaData) {
    Field = Value;
    Invalidate(Area);
  }

 private:
  friend class TColumns;
  void PartChanged();
  void ApplyGridFont();

  TColumns* FColumns = nullptr;
  TCellKind FCellKind = ckText;
  std::unique_ptr<TObject> FDisplay, FEditor, FPlay;
  bool FDisplayMade = false, FEditorMade = false, FPlayMade = false;

  TAlignment FAlignment = taLeftJustify;
  TColor FColor = clBlack;
  TCursor FCursor = 0;
  std::u16string FDefaultValue;
  int FDefaultWidth = 80;
  TDrawingOptions FDrawingOptions = doNormal;
  TGridFont FFont;
  TColumnFooter FFooter;
  TColumnHeader FHeader;
  std::u16string FInputCaption;
  TColumnOptions FOptions = DefaultOptions;
  bool FParentFont = true;
  int FPosition = -1;
  TSlideBounds FSlideBounds;
  bool FSorted = false;
  TSortKind FSortKind = skAscending;
  TSortType FSortType = stAlphabetic;
  TVerticalAlignment FVerticalAlignment = vaMiddle;
  bool FVisible = true;
  int FWidth = 80;
  TWrapKind FWrapKind = wkEllipsis;

  int FLeft = 0;
  int FVisibleIndex = -1;
  std::u16string FInputText;
  bool FInputEditing = false;
};

class TColumns : public TObject {
 public:
  // Owner is told of every change; null for a collection on its own.
  explicit TColumns(TColumnsOwner* Owner = nullptr);
  ~TColumns() override;
  TColumns(const TColumns&) = delete;
  TColumns& operator=(const TColumns&) = delete;

  TColumnsOwner* Owner() const { return FOwner; }
  // Stops reporting to the owner (it is going away).
  void Detach() { FOwner = nullptr; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // Creation order: the column index of every data operation. EListError outside.
  TCustomColumn* Items(int Index) const;
  // Display order.
  TCustomColumn* DisplayItems(int Position) const;
  int IndexOf(const TCustomColumn* Column) const;
  int DisplayIndexOf(const TCustomColumn* Column) const;
  int VisibleCount() const;
  int TotalWidth() const;  // of the visible columns
  // The last column whose header caption is Caption, in creation order; 0 when none is.
  int FindByCaption(const std::u16string& Caption) const;

  // Takes the column; it goes into the display order before the first column with a greater
  // Position. Raises when the store's column limit is reached (the column is then freed).
  TCustomColumn* Add(std::unique_ptr<TCustomColumn> Column);
  template <class T>
  T* Add() {
    return static_cast<T*>(Add(std::make_unique<T>()));
  }
  void Delete(int Index);
  void Clear();
  void Move(int FromPosition, int ToPosition);
  void RecalcLefts(bool Renumber);
  void AutoSize(TCustomColumn* Column, bool FromLeft);

  // While the grid is being loaded, moves and auto-sizing wait for the final layout.
  bool Loading() const { return FLoading; }
  void SetLoading(bool Value) { FLoading = Value; }

 private:
  friend class TCustomColumn;
  void ColumnChanged(TCustomColumn* Column, TColumnChangeKind Kind);
  void Changed(int Kind);
  int DataLeft() const;

  TColumnsOwner* FOwner;
  std::vector<std::unique_ptr<TCustomColumn>> FItems;
  std::vector<TCustomColumn*> FDisplay;
  bool FLoading = false;
  bool FAutoSizing = false;
};
