#include "gridview/Columns.h"

#include <algorithm>
#include <cmath>
#include <map>

// Glyphs and parts.

void TGlyph::MakeTransparentFromCorner() {
  if (Empty()) return;
  TransparentColor = Pixel(0, Height - 1);
  Transparent = true;
}

TColumnPart::TColumnPart(TCustomColumn* Column, TColor DefaultColor) : FColumn(Column), FColor(DefaultColor) {}

void TColumnPart::SetCaption(const std::u16string& Value) {
  FCaption = Value;
  RepaintStrip();
}

void TColumnPart::SetColor(TColor Value) {
  FColor = Value;
  RepaintStrip();
}

void TColumnPart::SetDisplayMode(TDisplayMode Value) {
  FDisplayMode = Value;
  Changed();
}

void TColumnPart::SetGlyph(const TGlyph& Value) {
  FGlyph = Value;
  FGlyph.MakeTransparentFromCorner();
  Changed();
}

void TColumnPart::Assign(const TColumnPart& Source) {
  SetCaption(Source.FCaption);
  SetColor(Source.FColor);
  SetDisplayMode(Source.FDisplayMode);
  SetGlyph(Source.FGlyph);
}

void TColumnPart::Changed() {
  if (OnChange) OnChange(this);
}

void TColumnPart::RepaintStrip() {
  if (FColumn) FColumn->Invalidate(Area());
}

void TColumnFooter::SetFormulaKind(TFormulaKind Value) {
  FFormulaKind = Value;
  Changed();
}

void TColumnFooter::Assign(const TColumnPart& Source) {
  TColumnPart::Assign(Source);
  if (auto* Footer = dynamic_cast<const TColumnFooter*>(&Source)) SetFormulaKind(Footer->FFormulaKind);
}

// Element classes registered by the window side.

namespace {
std::map<std::string, TColumnElementFactory>& ElementClasses() {
  static std::map<std::string, TColumnElementFactory> Classes;
  return Classes;
}
}  // namespace

void RegisterColumnElementClass(const std::string& ClassName, TColumnElementFactory Factory) {
  ElementClasses()[ClassName] = std::move(Factory);
}

void UnregisterColumnElementClass(const std::string& ClassName) { ElementClasses().erase(ClassName); }

std::unique_ptr<TObject> CreateColumnElement(const std::string& ClassName, TCustomColumn& Column) {
  if (ClassName.empty()) return nullptr;
  const auto It = ElementClasses().find(ClassName);
  return It == ElementClasses().end() || !It->second ? nullptr : It->second(Column);
}

// Columns.

TCustomColumn::TCustomColumn() : FFooter(this), FHeader(this) {
  FHeader.OnChange = [this](TObject*) { PartChanged(); };
  FFooter.OnChange = [this](TObject*) { PartChanged(); };
}

TCustomColumn::~TCustomColumn() = default;

void TCustomColumn::PartChanged() { Changed(ccAppearance); }

int TCustomColumn::Index() const { return FColumns ? FColumns->IndexOf(this) : -1; }

TObject* TCustomColumn::Display() {
  if (!FDisplayMade) FDisplay = CreateColumnElement(DisplayClass(), *this), FDisplayMade = true;
  return FDisplay.get();
}

TObject* TCustomColumn::Editor() {
  if (!FEditorMade) FEditor = CreateColumnElement(EditorClass(), *this), FEditorMade = true;
  return FEditor.get();
}

TObject* TCustomColumn::Play() {
  if (!FPlayMade) FPlay = CreateColumnElement(PlayClass(), *this), FPlayMade = true;
  return FPlay.get();
}

void TCustomColumn::CreateElements() {
  Display();
  Editor();
  Play();
}

void TCustomColumn::Changed(TColumnChangeKind Kind) {
  if (FColumns) FColumns->ColumnChanged(this, Kind);
}

void TCustomColumn::Invalidate(TGridArea Area) {
  if (TColumnsOwner* Owner = FColumns ? FColumns->Owner() : nullptr) Owner->RepaintColumn(this, Area);
}

void TCustomColumn::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Changed(ccAppearance);
}

void TCustomColumn::SetColor(TColor Value) {
  FColor = Value;
  Changed(ccAppearance);
}

void TCustomColumn::SetCursor(TCursor Value) {
  FCursor = Value;
  Changed(ccAppearance);
}

void TCustomColumn::SetDrawingOptions(TDrawingOptions Value) {
  FDrawingOptions = Value;
  Changed(ccAppearance);
}

void TCustomColumn::SetFont(const TGridFont& Value) {
  FFont = Value;
  FParentFont = false;
  Changed(ccAppearance);
}

void TCustomColumn::SetFooter(const TColumnFooter& Value) {
  FFooter.Assign(Value);
  Changed(ccAppearance);
}

void TCustomColumn::SetHeader(const TColumnHeader& Value) {
  FHeader.Assign(Value);
  Changed(ccAppearance);
}

void TCustomColumn::SetInputCaption(const std::u16string& Value) {
  FInputCaption = Value;
  Changed(ccAppearance);
}

void TCustomColumn::SetOptions(TColumnOptions Value) {
  const TColumnOptions Old = FOptions;
  FOptions = Value;
  // Typing searches one column at most.
  if (Value.Contains(coSearchColumn) && FColumns)
    for (int I = 0; I < FColumns->Count(); ++I) {
      TCustomColumn* Other = FColumns->Items(I);
      if (Other != this && Other->FOptions.Contains(coSearchColumn))
        Other->SetOptions(Other->FOptions - TColumnOptions{coSearchColumn});
    }
  Changed(ccAppearance);
  if (FColumns && !(Old.Contains(coAutoSize) && Value.Contains(coAutoSize))) FColumns->AutoSize(this, true);
}

void TCustomColumn::ApplyGridFont() {
  if (TColumnsOwner* Owner = FColumns ? FColumns->Owner() : nullptr) FFont = Owner->ColumnsFont();
}

void TCustomColumn::SetParentFont(bool Value) {
  FParentFont = Value;
  TColumnsOwner* Owner = FColumns ? FColumns->Owner() : nullptr;
  if (Value && Owner && FFont != Owner->ColumnsFont()) {
    ApplyGridFont();
    Changed(ccAppearance);
  }
}

void TCustomColumn::SetPosition(int Value) {
  if (FColumns && !FColumns->Loading() && FColumns->Count() > 0) {
    // Moves within the display order; a position beyond it means the last place.
    const int From = FColumns->DisplayIndexOf(this);
    const int To = std::clamp(Value, 0, FColumns->Count() - 1);
    FColumns->Move(From, To);
    Changed(ccPosition);
    FPosition = To;
    return;
  }
  FPosition = Value;
}

void TCustomColumn::SetSlideBounds(const TSlideBounds& Value) {
  FSlideBounds = Value;
  Changed(ccAppearance);
}

void TCustomColumn::SetSorted(bool Value) {
  if (Value == FSorted) return;
  if (Value && FColumns)
    for (int I = 0; I < FColumns->Count(); ++I) {
      TCustomColumn* Other = FColumns->Items(I);
      if (Other != this && Other->FSorted) Other->SetSorted(false);
    }
  FSorted = Value;
  Changed(Value ? ccSortOn : ccSortOff);
}

void TCustomColumn::SetSortKind(TSortKind Value) {
  FSortKind = Value;
  Changed(ccSortSettings);
}

void TCustomColumn::SetSortType(TSortType Value) {
  FSortType = Value;
  Changed(ccSortSettings);
}

void TCustomColumn::SetVerticalAlignment(TVerticalAlignment Value) {
  FVerticalAlignment = Value;
  Changed(ccAppearance);
}

void TCustomColumn::SetVisible(bool Value) {
  FVisible = Value;
  if (FColumns) {
    FColumns->RecalcLefts(false);
    FColumns->AutoSize(nullptr, false);
  }
  Changed(ccVisible);
}

void TCustomColumn::SetWidth(int Value) {
  FWidth = std::clamp(Value, MinWidth, MaxWidth);
  if (FColumns) FColumns->RecalcLefts(false);
  Changed(ccWidth);
  if (FColumns) FColumns->AutoSize(this, false);
}

void TCustomColumn::SetInputText(const std::u16string& Value) {
  FInputText = Value;
  Changed(ccInput);
}

void TCustomColumn::Assign(const TCustomColumn& Source) {
  if (&Source == this) return;
  SetAlignment(Source.FAlignment);
  SetColor(Source.FColor);
  SetCursor(Source.FCursor);
  SetDefaultValue(Source.FDefaultValue);
  SetDrawingOptions(Source.FDrawingOptions);
  SetFont(Source.FFont);
  SetFooter(Source.FFooter);
  SetHeader(Source.FHeader);
  SetInputCaption(Source.FInputCaption);
  SetInputText(Source.FInputText);
  SetOptions(Source.FOptions);
  SetParentFont(Source.FParentFont);
  SetPosition(Source.FPosition);
  SetSlideBounds(Source.FSlideBounds);
  SetSorted(Source.FSorted);
  SetSortKind(Source.FSortKind);
  SetVerticalAlignment(Source.FVerticalAlignment);
  SetVisible(Source.FVisible);
  SetWidth(Source.FWidth);
  SetWrapKind(Source.FWrapKind);
}

// The collection.

TColumns::TColumns(TColumnsOwner* Owner) : FOwner(Owner) {}

TColumns::~TColumns() {
  // The columns go without telling a grid that is itself going away.
  FOwner = nullptr;
  for (auto& Column : FItems) Column->FColumns = nullptr;
}

TCustomColumn* TColumns::Items(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[std::size_t(Index)].get();
}

TCustomColumn* TColumns::DisplayItems(int Position) const {
  if (Position < 0 || Position >= Count()) ListIndexError(Position);
  return FDisplay[std::size_t(Position)];
}

int TColumns::IndexOf(const TCustomColumn* Column) const {
  for (std::size_t I = 0; I < FItems.size(); ++I)
    if (FItems[I].get() == Column) return static_cast<int>(I);
  return -1;
}

int TColumns::DisplayIndexOf(const TCustomColumn* Column) const {
  const auto It = std::find(FDisplay.begin(), FDisplay.end(), Column);
  return It == FDisplay.end() ? -1 : static_cast<int>(It - FDisplay.begin());
}

int TColumns::VisibleCount() const {
  return static_cast<int>(std::count_if(FItems.begin(), FItems.end(), [](const auto& C) { return C->Visible(); }));
}

// Left edges and the total stop growing at a billion pixels: thousands of the widest columns
// still add up to a number the painting can do arithmetic with.
static constexpr long long MaxTotalWidth = 1 << 30;

int TColumns::TotalWidth() const {
  long long Total = 0;
  for (const auto& C : FItems)
    if (C->Visible()) Total = std::min(Total + C->Width(), MaxTotalWidth);
  return static_cast<int>(Total);
}

int TColumns::FindByCaption(const std::u16string& Caption) const {
  int Found = 0;
  for (int I = 0; I < Count(); ++I)
    if (FItems[std::size_t(I)]->Header().Caption() == Caption) Found = I;
  return Found;
}

int TColumns::DataLeft() const { return FOwner ? FOwner->ColumnsLeft() : 0; }

TCustomColumn* TColumns::Add(std::unique_ptr<TCustomColumn> Column) {
  if (!Column) return nullptr;
  if (Column->FColumns) throw Exception("The column already belongs to a grid");
  TCustomColumn* Added = Column.get();
  Added->FColumns = this;
  if (Added->FParentFont) Added->ApplyGridFont();
  FItems.push_back(std::move(Column));
  const auto Place = std::find_if(FDisplay.begin(), FDisplay.end(),
                                  [&](const TCustomColumn* C) { return C->Position() > Added->Position(); });
  FDisplay.insert(Place, Added);
  try {
    if (FOwner) FOwner->ColumnsStructureChanged(scAdded, Count() - 1, -1);
  } catch (...) {
    // The store refused it (too many columns): the collection stays as it was.
    FDisplay.erase(std::find(FDisplay.begin(), FDisplay.end(), Added));
    FItems.pop_back();
    throw;
  }
  RecalcLefts(false);
  AutoSize(nullptr, false);
  Changed(scAdded);
  return Added;
}

void TColumns::Delete(int Index) {
  TCustomColumn* Column = Items(Index);
  FDisplay.erase(std::find(FDisplay.begin(), FDisplay.end(), Column));
  std::unique_ptr<TCustomColumn> Gone = std::move(FItems[std::size_t(Index)]);
  FItems.erase(FItems.begin() + Index);
  Gone->FColumns = nullptr;
  if (FOwner) FOwner->ColumnsStructureChanged(scRemoved, Index, -1);
  RecalcLefts(false);
  AutoSize(nullptr, false);
  Changed(scRemoved);
}

void TColumns::Clear() {
  for (auto& Column : FItems) Column->FColumns = nullptr;
  FItems.clear();
  FDisplay.clear();
  if (FOwner) FOwner->ColumnsStructureChanged(scCleared, -1, -1);
  Changed(scCleared);
}

void TColumns::Move(int FromPosition, int ToPosition) {
  if (FromPosition == ToPosition) return;
  if (FromPosition < 0 || FromPosition >= Count()) ListIndexError(FromPosition);
  if (ToPosition < 0 || ToPosition >= Count()) ListIndexError(ToPosition);
  TCustomColumn* Column = FDisplay[std::size_t(FromPosition)];
  FDisplay.erase(FDisplay.begin() + FromPosition);
  FDisplay.insert(FDisplay.begin() + ToPosition, Column);
  RecalcLefts(true);
  ColumnChanged(FDisplay[std::size_t(ToPosition)], ccPosition);
}

void TColumns::RecalcLefts(bool Renumber) {
  long long X = DataLeft();
  int Visible = 0;
  for (std::size_t P = 0; P < FDisplay.size(); ++P) {
    TCustomColumn* C = FDisplay[P];
    if (C->Visible()) {
      C->FLeft = static_cast<int>(X);
      C->FVisibleIndex = Visible++;
      X = std::min(X + C->Width(), MaxTotalWidth);
    } else {
      C->FVisibleIndex = -1;
    }
    if (Renumber) C->FPosition = static_cast<int>(P);
  }
}

void TColumns::AutoSize(TCustomColumn* Column, bool FromLeft) {
  // Widths set here would ask for auto-sizing again; one pass shares the space.
  if (FLoading || FAutoSizing) return;
  const int Available = FOwner ? FOwner->ColumnsWidth() : 0;
  int Base = 0;
  std::size_t Start = 0;
  if (Column) {
    const int Position = DisplayIndexOf(Column);
    if (Position < 0) return;
    if (FromLeft) {
      Base = Column->Left();
      Start = std::size_t(Position);
    } else {
      Base = Column->Visible() ? Column->Right() : Column->Left();
      Start = std::size_t(Position) + 1;
    }
    Base -= DataLeft();
  }
  long long AutoTotal = 0, Others = 0;
  std::vector<std::pair<TCustomColumn*, int>> Sized;
  for (std::size_t P = Start; P < FDisplay.size(); ++P) {
    TCustomColumn* C = FDisplay[P];
    if (!C->Visible()) continue;
    if (C->Options().Contains(coAutoSize)) {
      AutoTotal += C->Width();
      Sized.push_back({C, C->Width()});
    } else {
      Others += C->Width();
    }
  }
  if (AutoTotal == 0) return;
  const double Spare = static_cast<double>(Available - Base - Others);
  FAutoSizing = true;
  try {
    for (auto& [C, Width] : Sized) {
      const double Share = std::nearbyint(static_cast<double>(Width) / static_cast<double>(AutoTotal) * Spare);
      C->SetWidth(static_cast<int>(std::clamp(Share, -1e9, 1e9)));
    }
  } catch (...) {
    FAutoSizing = false;
    throw;
  }
  FAutoSizing = false;
}

void TColumns::ColumnChanged(TCustomColumn* Column, TColumnChangeKind Kind) {
  if (FOwner) FOwner->ColumnPropertyChanged(Column, Kind);
}

void TColumns::Changed(int Kind) {
  if (FOwner) FOwner->AfterColumnsChange(Kind);
}
