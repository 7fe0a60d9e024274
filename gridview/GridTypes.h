#pragma once
// Value types shared by the grid family: colours, fonts, option sets and the enumerations that the
// model, the column kinds and the window control all speak.
#include <cstdint>
#include <initializer_list>
#include <string>

#include "core/Alignment.h"
#include "core/Color.h"
#include "core/Exceptions.h"

// The toolkit declares these three the same way; the data side needs them without the toolkit.
using TCursor = int;  // 0 is the default cursor
// Shift state as the toolkit passes it: its bits ssShift 1, ssAlt 2, ssCtrl 4.
using TShiftState = unsigned;
constexpr TShiftState ShiftKeyBit = 1, CtrlKeyBit = 4;
// Font style bits as the toolkit's: fsBold 1, fsItalic 2, fsUnderline 4, fsStrikeOut 8.
using TFontStyles = unsigned;

// A small set of enumeration values (at most 32), as the option properties use them.
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> Values) {
    for (E V : Values) FBits |= Bit(V);
  }
  constexpr bool Contains(E V) const { return (FBits & Bit(V)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TSet& Include(E V) {
    FBits |= Bit(V);
    return *this;
  }
  constexpr TSet& Exclude(E V) {
    FBits &= ~Bit(V);
    return *this;
  }
  constexpr TSet operator+(TSet O) const { return FromBits(FBits | O.FBits); }
  constexpr TSet operator-(TSet O) const { return FromBits(FBits & ~O.FBits); }
  constexpr TSet operator*(TSet O) const { return FromBits(FBits & O.FBits); }
  constexpr bool operator==(TSet O) const { return FBits == O.FBits; }
  constexpr bool operator!=(TSet O) const { return FBits != O.FBits; }
  constexpr std::uint32_t Bits() const { return FBits; }
  static constexpr TSet FromBits(std::uint32_t Bits) {
    TSet S;
    S.FBits = Bits;
    return S;
  }

 private:
  static constexpr std::uint32_t Bit(E V) { return std::uint32_t(1) << static_cast<unsigned>(V); }
  std::uint32_t FBits = 0;
};

enum TVerticalAlignment { vaTop = 0, vaMiddle = 1, vaBottom = 2 };
enum TWrapKind { wkNone, wkEllipsis, wkWordWrap };
enum TDrawingOptions { doNormal, doBackgroundOnly, doCustom, doCustomOnly };
enum TDisplayMode { dmImageOnly, dmTextAndImage, dmTextOnly };
enum TFormulaKind { fkNone, fkAverage, fkCount, fkMaximum, fkMinimum, fkSum };
enum TSortKind { skAscending, skDescending };
enum TSortType { stAlphabetic, stBoolean, stCaseInsensitive, stNumeric, stDate, stIP };
enum TGridStyle { gsReport, gsSlides };
enum TDropDownStyle { dsDropDown, dsDropDownList };
enum TBorderStyle { bsNone, bsSingle };
// Where Enter moves the current cell (with WantReturns).
enum TSelectionMoveDirection { mdNone, mdUp, mdDown, mdLeft, mdRight };

// The value kind of a column's cells; it selects the cell class of the store. Values without a
// name (1, 8, anything above 9) make text cells.
enum TCellKind : std::uint8_t {
  ckIncrement = 0,
  ckObject = 2,
  ckBoolean = 3,
  ckDateTime = 4,
  ckFloat = 5,
  ckInteger = 6,
  ckText = 7,
  ckVirtual = 9,
};

enum TColumnOption {
  coAutoSize,
  coCanClick,
  coCanSort,
  coEditing,
  coCanInput,
  coEditorAutoSelect,
  coFixedSize,
  coImageForIcon,
  coDontHighlight,
  coPublicUsing,
  coSearchColumn,
  coShowTextFitHint,
  coTextForCaption,
};
using TColumnOptions = TSet<TColumnOption>;

enum TGridOption {
  goCanHideColumn,
  goDissableColumnMoving,
  goFooter,
  goGrid,
  goHeader,
  goIndicator,
  goInput,
  goMultiSelect,
  goSelectFullRow,
  goUseDefaultValues,
};
using TGridOptions = TSet<TGridOption>;

enum TAppearanceOption {
  aoAlphaBlendedSelection,
  aoBoldTextSelection,
  aoHideFocus,
  aoHideSelection,
  aoHintMarks,
  aoIndicateSelectedCell,
  aoIndicateSortedColumn,
};
using TAppearanceOptions = TSet<TAppearanceOption>;

// What changed in a column; the grid repaints or re-sorts accordingly.
enum TColumnChangeKind {
  ccInput = 1,
  ccPosition = 2,
  ccSortOn = 3,
  ccSortSettings = 4,
  ccAppearance = 5,
  ccVisible = 6,
  ccSortOff = 7,
  ccWidth = 8,
};

// Changes of the column collection that the cell store follows.
enum TColumnsStructureKind { scAdded = 0, scRemoved = 1, scCleared = 2, scInserted = 3, scMoved = 4 };

// Areas of the grid a repaint request can name; gaWhole is a column's full-height strip.
enum TGridArea { gaWhole = 0, gaData = 1, gaFooter = 2, gaHeader = 3, gaIndicator = 4, gaInput = 5 };

// A font as a plain value; the window side makes the GDI font from it.
struct TGridFont {
  std::string Name = "Tahoma";
  int Size = 8;
  TFontStyles Style = 0;
  TColor Color = clWindowText;
  bool operator==(const TGridFont& O) const {
    return Name == O.Name && Size == O.Size && Style == O.Style && Color == O.Color;
  }
  bool operator!=(const TGridFont& O) const { return !(*this == O); }
};

// An index outside a list: "List index out of bounds (5)".
class EListError : public Exception {
 public:
  using Exception::Exception;
};
[[noreturn]] void ListIndexError(int Index);
