// Painting of TCustomGridViewControl: column parts through the active style display, rows cell by
// cell through the columns' displays, the indicator strip, the empty-grid caption and slides.
#include <algorithm>
#include <optional>

#include "gridview/win32/base/Themes.h"
#include "gridview/win32/control/CustomGridView.h"

void TCustomGridViewControl::ApplyColumnFont(const TCustomColumn& Column) {
  AssignGridFont(Canvas().Font(), Column.Font());
}

TStyleDisplay& TCustomGridViewControl::PreparedStyle() {
  TStyleDisplay& Style = ActiveStyle();
  Style.SetPaint(TStylePaint{&Canvas(), GridThemes()});
  return Style;
}

void TCustomGridViewControl::Paint() {
  if (FPaint.Painting) return;
  FPaint.Painting = true;
  struct TDone {
    bool& Flag;
    ~TDone() { Flag = false; }
  } Done{FPaint.Painting};
  FPaint.Focused = HasFocus();
  FPaint.ThemesActive = ThemeServices().ThemesActive();
  FPaint.Themes = FEnableVisualStyles && FPaint.ThemesActive;
  if (GridStyle() == gsSlides)
    PaintSlides();
  else
    PaintReport();
  UpdateHorizontalScrollBar();
  if (OnPostDraw) OnPostDraw(EventSender());
}

void TCustomGridViewControl::PaintReport() {
  const int Width = ClientWidth(), Height = ClientHeight();
  UpdateScrollAreas();
  PaintColumnParts();
  PaintRows();
  TCanvas& C = Canvas();
  // Right of the last column.
  const int ColumnsRight = FGeometry.ColumnsRight();
  if (ColumnsRight < Width) {
    int Top = 0;
    if (Options().Contains(goHeader) && FHeaderStyle == hsAuto && FPaint.ThemesActive) {
      TStyleDisplay& Style = PreparedStyle();
      Style.DrawHeaderTail(RECT{ColumnsRight, 0, Width, FGeometry.HeaderSize()});
      Top = FGeometry.HeaderSize();
    }
    C.Brush().SetColor(Color());
    C.FillRect(RECT{ColumnsRight, Top, Width, Height});
  }
  // The footer's and input row's parts left of the indicator line are the indicator's.
  if (!Options().Contains(goIndicator) && FGeometry.DataLeft() > 0) {
    C.Brush().SetColor(Color());
    C.FillRect(RECT{0, 0, FGeometry.DataLeft(), Height});
  }
  if (FModel.RowCount() == 0 && !FCaption.empty()) {
    AssignGridFont(C.Font(), GridFont());
    const int TextHeight = C.TextHeight(std::u16string_view(FCaption));
    const int Top = FGeometry.DataTop() + FModel.Metrics().CaptionGap();
    TGraphicsProvider::DrawTextLine(C, RECT{0, Top, Width, Top + TextHeight}, false, FCaption, taCenter);
  }
}

void TCustomGridViewControl::PaintColumnParts() {
  TCanvas& C = Canvas();
  const int Width = ClientWidth(), Height = ClientHeight(), G = FGeometry.GridLineWidth();
  const bool Header = Options().Contains(goHeader), Input = Options().Contains(goInput),
             Footer = Options().Contains(goFooter);
  TStyleDisplay& Style = PreparedStyle();
  const RECT InputArea = ToRECT(FGeometry.InputRect()), FooterArea = ToRECT(FGeometry.FooterRect());
  const bool Focused = GridFocused();
  const int InputPanel = FModel.Metrics().InputPanelHeight(), FooterPanel = FModel.Metrics().FooterPanelHeight();
  {
    TCanvas::TClipSave Clip(C);
    C.IntersectClipRect(RECT{FGeometry.DataLeft(), 0, Width, Height});
    for (int P = 0; P < FModel.Columns().Count(); ++P) {
      TCustomColumn* Column = FModel.Columns().DisplayItems(P);
      if (!Column->Visible()) continue;
      const int Left = FGeometry.ColumnLeft(*Column), Right = Left + Column->Width();
      if (Right <= FGeometry.DataLeft() || Left >= Width) continue;
      // Parts outside the area being painted are skipped: a scrolled strip repaints no header.
      const RECT HeaderCell{Left, 0, Right, FGeometry.HeaderSize()},
          InputCell{Left, InputArea.top, Right, InputArea.top + FGeometry.InputSize() + G},
          FooterCell{Left, FooterArea.top + FooterPanel, Right, Height};
      if (Header && RectVisible(C.Handle(), &HeaderCell)) Style.DrawHeaderCell(*Column, HeaderCell);
      if (Input && RectVisible(C.Handle(), &InputCell))
        Style.DrawInputCell(*Column, InputCell, Focused, FModel.InputRowMode(), G != 0);
      if (Footer && RectVisible(C.Handle(), &FooterCell)) Style.DrawFooterCell(*Column, FooterCell, G != 0);
    }
    const int Right = FGeometry.DataRight();
    if (Input)
      TGraphicsProvider::DrawButtonFrame(
          C, RECT{FGeometry.DataLeft(), InputArea.bottom - InputPanel, Right, InputArea.bottom},
          FHeaderStyle == hsOldStyle);
    if (Footer)
      TGraphicsProvider::DrawButtonFrame(
          C, RECT{FGeometry.DataLeft(), FooterArea.top, Right, FooterArea.top + FooterPanel},
          FHeaderStyle == hsOldStyle);
  }
  if (!Options().Contains(goIndicator)) return;
  if (Header) Style.DrawEmptyHeader(RECT{0, 0, FGeometry.IndicatorWidth(), FGeometry.HeaderSize()});
  if (Input)
    TGraphicsProvider::DrawIndicatorCell(C, RECT{0, InputArea.top, FGeometry.IndicatorWidth(), InputArea.bottom}, true,
                                         false, FModel.InputRowMode());
  if (Footer)
    TGraphicsProvider::DrawIndicatorCell(C, RECT{0, FooterArea.top, FGeometry.IndicatorWidth(), Height}, true, false,
                                         false);
}

void TCustomGridViewControl::PaintRows() {
  TCanvas& C = Canvas();
  const int Width = ClientWidth(), Top = FGeometry.DataTop(), Bottom = FGeometry.DataBottom(),
            G = FGeometry.GridLineWidth();
  if (Bottom <= Top) return;
  const int ColumnsRight = FGeometry.ColumnsRight();
  const int Right = std::min(ColumnsRight, Width);
  // The row's focus frame ends at the columns' right edge, wherever that is: columns running on
  // past the client leave its right side out of sight.
  const int FocusRight = std::min(ColumnsRight - G, Width + 1);
  TCanvas::TClipSave Clip(C);
  C.IntersectClipRect(RECT{0, Top, Right, Bottom});
  const RECT ClipBox = C.ClipRect();
  int Y = Top;
  for (int Row = TopRow(); Y < Bottom; ++Row) {
    const int Extent = FGeometry.RowExtent(Row);
    const bool Exists = Row < FModel.RowCount();
    if (Y + Extent + G > ClipBox.top && Y < ClipBox.bottom) {
      for (int P = 0; P < FModel.Columns().Count(); ++P) {
        TCustomColumn* Column = FModel.Columns().DisplayItems(P);
        if (!Column->Visible()) continue;
        const int Left = FGeometry.ColumnLeft(*Column);
        if (Left + Column->Width() <= FGeometry.DataLeft() || Left >= Width) continue;
        if (Exists)
          DrawCell(Column->Index(), Row);
        else
          PaintEmptyCell(*Column, GetCellRect(Column->Index(), Row), Row);
      }
      if (Options().Contains(goIndicator)) PaintIndicatorCell(Exists ? Row : -1, Y, Extent + G);
      if (Exists && Row == FModel.CurrentRow() && Options().Contains(goSelectFullRow) && FocusRectAllowed())
        PaintFocusRect(RECT{FGeometry.DataLeft(), Y, FocusRight, Y + Extent});
    }
    Y += Extent + G;
  }
}

void TCustomGridViewControl::PaintEmptyCell(TCustomColumn& Column, const RECT& Rect, int ARow) {
  TCanvas& C = Canvas();
  const int G = FGeometry.GridLineWidth();
  TColor Back = Color();
  if (AppearanceOptions().Contains(aoIndicateSortedColumn) && Column.Sorted()) Back = ScaleRGB(ColorToRGB(Back), 245);
  C.Brush().SetColor(Back);
  C.FillRect(RECT{Rect.left, Rect.top, Rect.right + G, Rect.bottom + G});
  if (!G) return;
  (void)ARow;
  C.Pen().SetColor(FGridLinesColor);
  C.Line(Rect.left, Rect.bottom, Rect.right + 1, Rect.bottom);
  if (FGeometry.LinesStyle() != lsHorizontalOnly) C.Line(Rect.right, Rect.top, Rect.right, Rect.bottom + 1);
}

void TCustomGridViewControl::PaintIndicatorCell(int ARow, int Top, int Height) {
  TCanvas& C = Canvas();
  const RECT Cell{0, Top, FGeometry.IndicatorWidth(), Top + Height};
  const bool Current = ARow >= 0 && ARow == FModel.CurrentRow() && !FModel.InputRowMode();
  TGraphicsProvider::DrawIndicatorCell(C, Cell, false, false, Current);
  if (ARow >= 0 && !Current && FModel.RowSelected(ARow)) {
    // Selected rows other than the current one carry a small square.
    C.Brush().SetColor(clHighlight);
    const int Mark = FModel.Metrics().SelectedMarkSize();
    const POINT P = AlignBox(Mark, Mark, vaMiddle, taCenter, Cell, 0);
    C.FillRect(RECT{P.x, P.y, P.x + Mark, P.y + Mark});
  }
}

bool TCustomGridViewControl::FocusRectAllowed() {
  return GridFocused() && FModel.RowCount() > 0 && !FModel.InputRowMode() && !AppearanceOptions().Contains(aoHideFocus);
}

void TCustomGridViewControl::PaintFocusRect(const RECT& Rect) {
  TGraphicsProvider::DrawFocusFrame(Canvas(), Rect, AppearanceOptions().Contains(aoAlphaBlendedSelection));
}

void TCustomGridViewControl::DrawCell(int ACol, int ARow) {
  TCustomColumn* Column = FModel.Columns().Items(ACol);
  if (!Column->Visible()) return;
  TCanvas& C = Canvas();
  const RECT Rect = GetCellRect(ACol, ARow);
  const int G = FGeometry.GridLineWidth();
  const RECT Clip = C.ClipRect();
  if (Rect.right + G <= Clip.left || Rect.left >= Clip.right || Rect.bottom + G <= Clip.top || Rect.top >= Clip.bottom)
    return;
  ApplyColumnFont(*Column);
  TColor Background = CellBackgroundColor(ACol, ARow);
  const bool Selected = CellDrawnSelected(ACol, ARow);
  TCellState State;
  if (Selected) {
    State.Include(csSelected);
    if (AppearanceOptions().Contains(aoBoldTextSelection)) State.Include(csBoldTextSelection);
  }
  if (GridFocused() && !AppearanceOptions().Contains(aoHideFocus)) State.Include(csFocused);
  auto* Display = dynamic_cast<TColumnDisplay*>(Column->Display());
  TColor GridColor = FGridLinesColor;
  if (OnCellColoring) OnCellColoring(EventSender(), ACol, ARow, Background, GridColor, State);
  if (AppearanceOptions().Contains(aoIndicateSortedColumn) && Column->Sorted() && !Selected)
    Background = ScaleRGB(ColorToRGB(Background), 245);

  // The cell's own clip region is skipped when nothing can draw outside the cell anyway: the row
  // loop already clips to the data area, grid lines and text stay inside.
  const bool OwnClip = !Display || !Display->ClipsItself() || OnDrawCellBackground || OnCustomDrawCell;
  std::optional<TCanvas::TClipSave> Save;
  if (OwnClip) {
    Save.emplace(C);
    C.IntersectClipRect(
        RECT{Rect.left, Rect.top, Rect.right + G, std::min<int>(Rect.bottom + G, FGeometry.DataBottom())});
  }
  if (G && GridStyle() == gsReport) PaintCellLines(*Column, ARow, Rect, GridColor);
  bool DefaultDrawing = true;
  if (OnDrawCellBackground) OnDrawCellBackground(EventSender(), ACol, ARow, Rect, State, DefaultDrawing);
  if (DefaultDrawing) {
    C.Brush().SetColor(Background);
    C.FillRect(Rect);
  }
  const bool Current = ACol == FModel.CurrentColumn() && ARow == FModel.CurrentRow();
  if (Display)
    Display->SetCell(TCellPaint::Of(C, Rect, FHandle, FModel.Metrics())
                         .ThemedChecks(GridThemes())
                         .AsSelected(Selected)
                         .AsCurrent(Current)
                         .HighlightTextIn(FHighlightedTextColor)
                         .FilledWith(DefaultDrawing ? Background : clNone));
  const TDrawingOptions Drawing = Column->DrawingOptions();
  if ((Drawing == doNormal || Drawing == doCustom) && Display && PrepareCellFont(ACol, ARow, State, *Display))
    Display->Paint();
  if (Drawing != doNormal && OnCustomDrawCell) OnCustomDrawCell(EventSender(), ACol, ARow, Rect, State);
  if (!Options().Contains(goSelectFullRow) && Current && FocusRectAllowed()) PaintFocusRect(Rect);
}

void TCustomGridViewControl::PaintCellLines(const TCustomColumn& Column, int ARow, const RECT& Rect, TColor Color) {
  // A framed grid draws the outer edges of the last row and last column in black.
  TCanvas& C = Canvas();
  const bool Framed = FGeometry.LinesStyle() == lsFramed;
  C.Pen().SetColor(Framed && ARow == FModel.RowCount() - 1 ? clBlack : Color);
  C.Line(Rect.left, Rect.bottom, Rect.right + 1, Rect.bottom);
  if (FGeometry.LinesStyle() == lsHorizontalOnly) return;
  const bool LastVisible = Column.VisibleIndex() == FModel.Columns().VisibleCount() - 1;
  C.Pen().SetColor(Framed && LastVisible ? clBlack : Color);
  C.Line(Rect.right, Rect.top, Rect.right, Rect.bottom + 1);
}

bool TCustomGridViewControl::PrepareCellFont(int ACol, int, TCellState, TColumnDisplay&) {
  ApplyColumnFont(*FModel.Columns().Items(ACol));
  return false;
}

void TCustomGridViewControl::PaintSlides() {
  TCanvas& C = Canvas();
  const int Width = ClientWidth(), Height = ClientHeight(), G = FGeometry.GridLineWidth(),
            Slot = FGeometry.SlideSize() + G;
  UpdateScrollAreas();
  int Y = 0;
  for (int Row = TopRow(); Row < FModel.RowCount() && Y < Height; ++Row, Y += Slot) {
    C.Brush().SetColor(Color());
    C.FillRect(RECT{0, Y, Width, Y + Slot});
    for (int P = 0; P < FModel.Columns().Count(); ++P) {
      TCustomColumn* Column = FModel.Columns().DisplayItems(P);
      if (Column->Visible()) DrawCell(Column->Index(), Row);
    }
    if (Row == FModel.CurrentRow()) {
      C.Brush().SetColor(clHighlight);
      C.FrameRect(RECT{1, Y + 1, Width - 1, Y + FGeometry.SlideSize() - 1});
      C.FrameRect(RECT{2, Y + 2, Width - 2, Y + FGeometry.SlideSize() - 2});
    }
    if (G) {
      C.Pen().SetColor(clBtnFace);
      C.Line(0, Y + FGeometry.SlideSize(), Width, Y + FGeometry.SlideSize());
    }
  }
  if (Y < Height) {
    C.Brush().SetColor(Color());
    C.FillRect(RECT{0, Y, Width, Height});
  }
}
