#pragma once
// Cells whose values live outside the grid. A virtual cell reads and writes its text through two
// handlers of its own. A grid whose rows a program keeps itself (compactly, as typed values) gives
// its store a row source instead: the store then keeps no cell objects for its ckVirtual columns,
// only the number of each row's item in the source, and asks the source for a value when a cell is
// painted, read or sorted.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "gridview/CellClasses.h"

class TVirtualColElement;

class TVirtualCell : public TCell {
 public:
  using TGetTextEvent = std::function<std::u16string(TVirtualCell& Cell)>;
  using TSetTextEvent = std::function<void(TVirtualCell& Cell, const std::u16string& Text)>;

  using TCell::TCell;
  bool GetAsBoolean() const override;
  TDateTime GetAsDateTime() const override;
  double GetAsFloat() const override;
  int GetAsInteger() const override;
  // Empty when no handler is set.
  std::u16string GetAsText() const override;
  void SetAsBoolean(bool Value) override;
  void SetAsDateTime(TDateTime Value) override;
  void SetAsFloat(double Value) override;
  void SetAsInteger(int Value) override;
  // Ignored (only the change is reported) when no handler is set.
  void SetAsText(const std::u16string& Value) override;

  TGetTextEvent OnGetText;
  TSetTextEvent OnSetText;
};

// The values of the rows a program keeps itself. Items are numbered from 0 in the order their rows
// were added to the grid since it was last cleared.
class TRowSource {
 public:
  virtual ~TRowSource() = default;
  // The value of column ACol for Item, in the element's field that the column's display reads.
  virtual void LoadValue(int ACol, std::uint32_t Item, TVirtualColElement& Element) = 0;
  // The value as text: a view of the source's own text while it is unchanged, or of the text
  // formatted into Buffer.
  virtual std::u16string_view Text(int ACol, std::uint32_t Item, std::u16string& Buffer) = 0;
  // The value as a number (numeric and date sorts, footer formulas).
  virtual double Number(int ACol, std::uint32_t Item) = 0;
};

// The one cell object of a column whose values come from a row source: each lookup points it at
// another item. Its values are read only; setting one only reports the change.
class TSourceCell : public TCell {
 public:
  TSourceCell(TCellOwner& Owner, TRowSource& Source) : TCell(Owner), FSource(&Source) {}
  void SetItem(std::uint32_t Item) { FItem = Item; }
  bool GetAsBoolean() const override;
  TDateTime GetAsDateTime() const override { return Number(); }
  double GetAsFloat() const override { return Number(); }
  int GetAsInteger() const override;
  std::u16string GetAsText() const override;

 private:
  double Number() const { return FSource->Number(Col(), FItem); }
  TRowSource* FSource;
  std::uint32_t FItem = 0;
};
