#include "gridview/win32/control/GridView.h"

bool TCustomGridView::PrepareCellFont(int ACol, int ARow, TCellState State, TColumnDisplay& Display) {
  TFont& Font = Canvas().Font();
  AssignGridFont(Font, Model().Columns().Items(ACol)->Font());
  Font.SetColor(CellTextColor(ACol, ARow));
  const bool Loaded = FormatCell(ACol, ARow, State, Display);
  if (State.Contains(csBoldTextSelection) && !(Font.Style() & fsBold)) Font.SetStyle(Font.Style() | fsBold);
  return Loaded;
}

bool TCustomGridView::FormatCell(int, int, TCellState, TColumnDisplay&) { return false; }

void TGridView::ChangeScale(int M, int D) {
  TCustomGridView::ChangeScale(M, D);
  SetHeaderSize(ScaleLength(HeaderSize(), M, D));
  SetRowSize(ScaleLength(RowSize(), M, D));
  Model().ScaleRowHeights(M, D);  // rows already there, too: their text grows with the font
  SetInputSize(ScaleLength(InputSize(), M, D));
  SetSlideSize(ScaleLength(SlideSize(), M, D));
  // The cell hint is a window of its own, outside the control's children.
  FCellHint.ScaleForPPI(CurrentPPI());
  for (int Index = 0; Index < Model().Columns().Count(); ++Index) {
    TCustomColumn* Column = Model().Columns().Items(Index);
    Column->SetWidth(ScaleLength(Column->Width(), M, D));
    Column->SetDefaultWidth(ScaleLength(Column->DefaultWidth(), M, D));
    if (!Column->ParentFont()) {
      // Point sizes are kept at 96 pixels per inch: a denser screen takes a larger size.
      TGridFont Font = Column->Font();
      Font.Size = ScaleFontHeight(Font.Size, M, D);
      Column->SetFont(Font);
    }
  }
}

bool TGridView::FormatCell(int ACol, int ARow, TCellState State, TColumnDisplay& Display) {
  TFont& Font = Canvas().Font();
  TCell* Cell = Model().GetCell(ACol, ARow);
  TColor TextColor = Font.Color();
  TFontStyles Style = Cell->FontStyle() | Model().Columns().Items(ACol)->Font().Style;
  if (OnCellFormating) OnCellFormating(EventSender(), ACol, ARow, TextColor, Style, State);
  if (Style != Font.Style()) Font.SetStyle(Style);
  if (TextColor != Font.Color()) Font.SetColor(TextColor);
  Model().LoadCellValue(ACol, ARow, Display);
  if (AppearanceOptions().Contains(aoHintMarks) && !Cell->Hint().empty()) Display.DrawHintMark();
  return true;
}

void TGridView::UpdateHints(int ACol, int ARow) {
  TCustomGridView::UpdateHints(ACol, ARow);
  const std::u16string Hint = ACol >= 0 && ARow >= 0 ? Model().GetCell(ACol, ARow)->Hint() : std::u16string();
  if (Hint.empty() || FitHint().FlyoutShowing()) {
    FCellHint.HideFlyout();
    return;
  }
  // Beside the cell's right edge, a little above it, at most so wide.
  const TGridMetrics& Metrics = Model().Metrics();
  RECT Bounds = FCellHint.CalcHintRect(Metrics.CellHintMaxWidth(), Hint);
  const RECT Cell = GetCellRect(ACol, ARow);
  const POINT Corner = ClientToScreen(POINT{Cell.right, Cell.top - Metrics.CellHintRise()});
  OffsetRect(&Bounds, Corner.x, Corner.y);
  FCellHint.ActivateHint(Bounds, Hint);
}

void TGridView::HideHints() {
  TCustomGridView::HideHints();
  FCellHint.HideFlyout();
}
