#pragma once
// Cells whose text lives outside the grid: reading and writing go through two handlers.
#include <functional>

#include "gridview/CellClasses.h"

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
