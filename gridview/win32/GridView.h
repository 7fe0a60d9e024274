#pragma once
// The grid classes the program uses: TCustomGridView prepares each cell's font and colour,
// TGridView adds the cell's own font style, the formatting event, the cell value and hint marks.
#include "gridview/win32/CustomGridView.h"

class TCustomGridView : public TCustomGridViewControl {
 public:
  using TCustomGridViewControl::TCustomGridViewControl;

 protected:
  bool PrepareCellFont(int ACol, int ARow, TCellState State, TColumnDisplay& Display) override;
  // Changes the text colour and font style of a cell before it is painted; true when the cell's
  // value was loaded into the display.
  virtual bool FormatCell(int ACol, int ARow, TCellState State, TColumnDisplay& Display);
};

class TGridView : public TCustomGridView {
 public:
  using TCellFormatingEvent = std::function<void(TObject* Sender, int ACol, int ARow, TColor& TextColor,
                                                 TFontStyles& FontStyle, TCellState State)>;
  using TCustomGridView::TCustomGridView;

  TCellFormatingEvent OnCellFormating;
  // The window of cell hints (a cell's own hint text, shown while the mouse is over the cell).
  THintWindow& CellHint() { return FCellHint; }
  static constexpr int CellHintMaxWidth = 250;
  // The header, row, input and slide sizes, the column widths and the columns' own fonts follow the
  // density (the grid's font follows the parent's, or is scaled as the control's own).
  void ChangeScale(int M, int D) override;

 protected:
  bool FormatCell(int ACol, int ARow, TCellState State, TColumnDisplay& Display) override;
  void UpdateHints(int ACol, int ARow) override;
  void HideHints() override;

 private:
  THintWindow FCellHint;
};
