#pragma once
// The grid's pixel sizes in one place, all derived from one scale: each is written as its size on a
// screen of 96 pixels per inch and grows with the screen's pixels per inch, rounded to the nearest
// pixel. At 96 every size is exactly the number written here. Sizes the program sets from outside
// (row and header heights, column widths) are not among them: whoever changes the scale scales those.
#include <algorithm>

class TGridMetrics {
 public:
  static constexpr int DefaultPixelsPerInch = 96;

  int PixelsPerInch() const { return FPixelsPerInch; }
  // Values below one are ignored; huge ones are held where no size can overflow.
  void SetPixelsPerInch(int Value) {
    if (Value > 0) FPixelsPerInch = std::min(Value, 96 * 64);
  }
  // A size given at 96 pixels per inch, at this scale; a size of at least one pixel stays at least one.
  int Scale(int Pixels) const {
    const long long Scaled =
        (static_cast<long long>(Pixels) * FPixelsPerInch + DefaultPixelsPerInch / 2) / DefaultPixelsPerInch;
    return Pixels > 0 ? std::max(1, static_cast<int>(Scaled)) : static_cast<int>(Scaled);
  }

  // Layout of the grid's areas.
  int IndicatorWidth() const { return Scale(12); }    // the strip left of the data (goIndicator)
  int GridLineWidth() const { return 1; }             // below and right of a cell (goGrid): a hairline at any scale
  int InputPanelHeight() const { return Scale(6); }   // the raised strip below the input row
  int FooterPanelHeight() const { return Scale(4); }  // the raised strip above the footer
  int CaptionGap() const { return Scale(4); }         // the empty grid's caption below the data top
  int MinColumnWidth() const { return Scale(8); }
  int SelectedMarkSize() const { return Scale(4); }  // the indicator's square of a selected row

  // The mouse.
  int DividerZone() const { return Scale(2); }    // either side of a header divider, a press resizes
  int DragThreshold() const { return Scale(3); }  // how far a header press may wander before it drags
  int DragArrowSize() const { return Scale(9); }
  int DragArrowInset() const { return Scale(4); }  // the arrows' left side, left of the column edge
  int DragArrowRise() const { return Scale(12); }  // the upper arrow's top, above the header's top

  // Hints.
  int FitHintSlack() const { return Scale(5); }   // text this much narrower than its column fits
  int CellHintRise() const { return Scale(20); }  // a cell's own hint sits this far above the cell
  int CellHintMaxWidth() const { return Scale(250); }

  // Inside cells.
  int CellTextMargin() const { return Scale(2); }      // text and images keep this far from the sides
  int HintMarkSize() const { return Scale(4); }        // the red corner of a cell that has a hint
  int ProgressTextWidth() const { return Scale(30); }  // the percentage left of a progress bar
  int ProgressBarInset() const { return Scale(2); }    // the bar inside its frame

 private:
  int FPixelsPerInch = DefaultPixelsPerInch;
};
