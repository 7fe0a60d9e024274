#pragma once
// Where everything of the grid lies, in client pixels: the header band, input row, data area,
// footer and indicator strip; column edges after horizontal scrolling; row tops, the row or cell at
// a point and the rows in view; the scroll limits; and the area a point falls in. Painting, the
// mouse and the keys all ask here. Portable: the view tells it its size and scroll positions
// through a viewport; rows, columns and options come from the model, pixel sizes from its metrics.
#include "gridview/GridMetrics.h"
#include "gridview/GridModel.h"
#include "gridview/SharedCommon.h"

enum TGridLinesStyle { lsNormal, lsFramed, lsHorizontalOnly };

// The parts of the grid a point can lie in.
enum TGridHitArea { haNowhere, haHeader, haInput, haData, haFooter, haIndicator };

// What the geometry reads of the view: its client size and where it is scrolled to.
class TGridViewport {
 public:
  virtual int ViewportWidth() const = 0;
  virtual int ViewportHeight() const = 0;
  virtual int TopRow() const = 0;
  virtual int HorzOffset() const = 0;

 protected:
  ~TGridViewport() = default;
};

class TGridGeometry {
 public:
  // No band or row is taller than this: sums of a screenful of them stay far inside an int, and a
  // taller one could not be shown anyway.
  static constexpr int MaxExtent = 1 << 24;

  TGridGeometry(TGridModel& Model, const TGridViewport& Viewport) : FModel(Model), FViewport(Viewport) {}

  // Sizes of the bands; values below zero (below one for slides) are refused with false.
  int HeaderSize() const { return FHeaderSize; }
  bool SetHeaderSize(int Value);
  int InputSize() const { return FInputSize; }
  bool SetInputSize(int Value);
  int SlideSize() const { return FSlideSize; }
  bool SetSlideSize(int Value);
  TGridLinesStyle LinesStyle() const { return FLinesStyle; }
  void SetLinesStyle(TGridLinesStyle Value) { FLinesStyle = Value; }
  const TGridMetrics& Metrics() const { return FModel.Metrics(); }

  // The areas.
  int Width() const { return FViewport.ViewportWidth(); }
  int Height() const { return FViewport.ViewportHeight(); }
  int TopRow() const { return FViewport.TopRow(); }
  int HorzOffset() const { return FViewport.HorzOffset(); }
  int GridLineWidth() const { return FModel.Options().Contains(goGrid) ? Metrics().GridLineWidth() : 0; }
  int IndicatorWidth() const { return Metrics().IndicatorWidth(); }
  int DataLeft() const { return FModel.DataLeft(); }
  int DataTop() const;
  int DataBottom() const;
  // The columns' right edge, which may lie beyond the client; DataRight is it held to the client.
  int ColumnsRight() const { return DataLeft() + FModel.Columns().TotalWidth() - HorzOffset(); }
  int DataRight() const { return std::min(ColumnsRight(), Width()); }
  TGridRect HeaderRect() const { return TGridRect{DataLeft(), 0, ColumnsRight(), FHeaderSize}; }
  TGridRect InputRect() const;
  TGridRect FooterRect() const;

  // Columns, rows and cells.
  // A column's left edge on screen.
  int ColumnLeft(const TCustomColumn& Column) const { return Column.Left() - HorzOffset(); }
  // The height of a row slot: its row's height, RowSize beyond the last row.
  int RowExtent(int ARow) const;
  int RowTop(int ARow) const;
  TGridRect CellRect(int ACol, int ARow, TGridArea Area = gaData) const;
  // The visible column (creation index) whose cells cover X (its right edge excluded); -1 for none.
  int ColumnAt(int X) const;
  // The row whose slot holds Y in the data area; -1 above, below or past the last row.
  int RowAt(int Y) const;
  // The cell under a point (either style); false when there is none, a missing column or row -1.
  // At an edge shared by two columns the first in display order wins.
  bool CellAt(int X, int Y, int& ACol, int& ARow) const;
  TGridHitArea HitArea(int X, int Y) const;
  // The column whose header cell holds the point; null outside the header.
  TCustomColumn* HeaderColumnAt(int X, int Y) const;
  // The resizable column whose header divider is within the divider zone of the point.
  TCustomColumn* DividerAt(int X, int Y) const;

  // Rows in view and scroll limits.
  // Rows from the top row that fit entirely, counting rows above it that would fit below the last.
  int VisibleRowCount() const;
  // Whole rows that fit in the data area from the top row.
  int WholeRowsInView() const;
  int MaxTopRow() const;
  // The highest top row that still shows ARow entirely (ARow itself when it is taller than the area).
  int TopRowShowing(int ARow) const;
  // Slides that fit in the client height.
  int SlidesInView() const { return Height() / (FSlideSize + GridLineWidth()); }
  int HorizontalOverflow() const;
  // Pixels the rows move when the top row goes From -> To (negative: up); summing stops a client
  // height away, so a jump across millions of rows costs no more than a screenful.
  int RowDistance(int From, int To) const;

 private:
  TGridModel& FModel;
  const TGridViewport& FViewport;
  int FHeaderSize = 18;
  int FInputSize = 16;
  int FSlideSize = 80;
  TGridLinesStyle FLinesStyle = lsNormal;
};
