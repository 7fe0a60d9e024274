#include "gridview/win32/displays/StyleDisplays.h"

#include "gridview/win32/base/Themes.h"

namespace {
// Parts and states of the themed "HEADER" class.
constexpr int HeaderItemPart = 1, HeaderItemRightPart = 2;
constexpr int StateNormal = 1, StateHot = 2, StatePressed = 3;

}  // namespace

void TStyleDisplay::ApplyFont(const TCustomColumn& Column) { AssignGridFont(FPaint.Canvas->Font(), Column.Font()); }

int TStyleDisplay::HeaderTextIndent(const TCustomColumn& Column) {
  if (!FPaint.Decorations) return 0;
  return FPaint.Themed && Column.Header().DisplayMode() == dmTextOnly ? 11 : 2;
}

void TStyleDisplay::DrawSortArrow(int X, int Y, bool Ascending) {
  TCanvas& C = *FPaint.Canvas;
  if (FPaint.Themed) {
    C.Pen().SetColor(clGrayText);
    C.Brush().SetColor(clGrayText);
    if (Ascending)
      C.Polygon({{X, Y + 4}, {X + 4, Y}, {X + 8, Y + 4}});
    else
      C.Polygon({{X, Y}, {X + 4, Y + 4}, {X + 8, Y}});
    return;
  }
  if (Ascending) {
    C.Pen().SetColor(clBtnShadow);
    C.Polyline({{X + 7, Y + 6},
                {X, Y + 6},
                {X, Y + 5},
                {X + 1, Y + 5},
                {X + 1, Y + 3},
                {X + 2, Y + 3},
                {X + 2, Y + 1},
                {X + 3, Y + 1},
                {X + 3, Y - 1}});
    C.Pen().SetColor(clBtnHighlight);
    C.Polyline({{X + 7, Y + 5},
                {X + 6, Y + 5},
                {X + 6, Y + 3},
                {X + 5, Y + 3},
                {X + 5, Y + 1},
                {X + 4, Y + 1},
                {X + 4, Y - 1}});
  } else {
    C.Pen().SetColor(clBtnShadow);
    C.Polyline({{X + 7, Y},
                {X, Y},
                {X, Y + 1},
                {X + 1, Y + 1},
                {X + 1, Y + 3},
                {X + 2, Y + 3},
                {X + 2, Y + 5},
                {X + 3, Y + 5},
                {X + 3, Y + 7}});
    C.Pen().SetColor(clBtnHighlight);
    C.Polyline({{X + 7, Y + 1},
                {X + 6, Y + 1},
                {X + 6, Y + 3},
                {X + 5, Y + 3},
                {X + 5, Y + 5},
                {X + 4, Y + 5},
                {X + 4, Y + 7}});
  }
}

void TStyleDisplay::DrawHeaderContent(TCustomColumn& Column, const RECT& Rect) {
  TCanvas& C = *FPaint.Canvas;
  ApplyFont(Column);
  const TColumnHeader& Header = Column.Header();
  const TDisplayMode Mode = Header.DisplayMode();
  const int Height = Rect.bottom - Rect.top;
  const int ArrowY = Rect.top + Height / 2 - (FPaint.Themed ? 3 : 4);
  const TGlyph& Glyph = Header.Glyph();
  const int Indent = HeaderTextIndent(Column);
  int TextLeft = Rect.left + 1 + Indent;
  const bool ShowsImage = Mode != dmTextOnly, ShowsText = Mode != dmImageOnly;
  int GlyphWidth = 0;
  if (ShowsImage && !Glyph.Empty()) {
    GlyphWidth = Glyph.Width;
    FGlyph.Draw(C, TextLeft, Rect.top + Height / 2 - Glyph.Height / 2, Glyph);
    TextLeft += Glyph.Width + 2;
  }
  if (ShowsText)
    TGraphicsProvider::DrawTextLine(C, RECT{TextLeft, Rect.top, Rect.right, Rect.bottom}, FPaint.RightToLeft,
                                    Header.Caption(), taLeftJustify);
  if (Column.Sorted()) {
    const int CaptionWidth = C.TextWidth(std::u16string_view(Header.Caption()));
    int X = Rect.left + 2;
    switch (Mode) {
      case dmImageOnly: X += GlyphWidth + 19; break;
      case dmTextOnly: X += CaptionWidth + 19; break;
      case dmTextAndImage: X += GlyphWidth + CaptionWidth + 21; break;
    }
    // Dropped when it would reach past the cell's right edge.
    if (X + 8 < Rect.right) DrawSortArrow(X, ArrowY, Column.SortKind() == skAscending);
  }
  InvertPressed(Column, Rect);
}

void TStyleDisplay::InvertPressed(TCustomColumn& Column, const RECT& Rect) {
  if (!FPaint.Decorations || !Capabilities().Contains(scPressedInversion) || !FOwner ||
      FOwner->PressedHeaderColumn() != &Column)
    return;
  const bool Single = Column.Collection() && Column.Collection()->VisibleCount() == 1;
  FPaint.Canvas->InvertRect(Single ? RECT{Rect.left - 1, Rect.top - 1, Rect.right, Rect.bottom}
                                   : RECT{Rect.left, Rect.top, Rect.right - 1, Rect.bottom - 1});
}

void TStyleDisplay::DrawEmptyHeader(const RECT& Rect) {
  FPaint.Canvas->Brush().SetColor(FOwner ? FOwner->OwnerColor() : clBtnFace);
  FPaint.Canvas->FillRect(Rect);
}

void TStyleDisplay::DrawHeaderTail(const RECT& Rect) { TStyleDisplay::DrawEmptyHeader(Rect); }

void TStyleDisplay::DrawFooterCell(TCustomColumn& Column, const RECT& Rect, bool GridLines) {
  TCanvas& C = *FPaint.Canvas;
  ApplyFont(Column);
  const TColumnFooter& Footer = Column.Footer();
  C.Brush().SetColor(Footer.Color());
  if (GridLines) {
    C.FillRect(RECT{Rect.left, Rect.top, Rect.right - 1, Rect.bottom - 1});
    C.Pen().SetColor(clBtnFace);
    C.Line(Rect.left, Rect.bottom - 1, Rect.right, Rect.bottom - 1);
    C.Line(Rect.right - 1, Rect.top, Rect.right - 1, Rect.bottom);
  } else {
    C.FillRect(Rect);
  }
  int TextLeft = Rect.left + 2;
  const TGlyph& Glyph = Footer.Glyph();
  if (Footer.DisplayMode() != dmTextOnly && !Glyph.Empty()) {
    FGlyph.Draw(C, Rect.left + 2, Rect.top + (Rect.bottom - Rect.top) / 2 - Glyph.Height / 2, Glyph);
    TextLeft += Glyph.Width + 2;
  }
  if (Footer.DisplayMode() != dmImageOnly)
    TGraphicsProvider::DrawTextLine(C, RECT{TextLeft, Rect.top, Rect.right, Rect.bottom}, FPaint.RightToLeft,
                                    Footer.Caption(), taLeftJustify);
}

void TStyleDisplay::DrawInputCell(TCustomColumn& Column, const RECT& Rect, bool Focused, bool InputActive,
                                  bool GridLines) {
  TCanvas& C = *FPaint.Canvas;
  ApplyFont(Column);
  TColor Text = clGrayText, Back = Column.Color();
  if (InputActive && !Column.InputEditing()) {
    if (FOwner && FOwner->CurrentInputColumn() == &Column) {
      Text = clGrayText;
      Back = Column.Color();
    } else {
      Text = clHighlightText;
      Back = Focused ? clHighlight : clBtnFace;
    }
  }
  RECT R = Rect;
  if (InputActive && GridLines) {
    R = RECT{Rect.left, Rect.top, Rect.right - 1, Rect.bottom - 1};
    C.Pen().SetColor(clHighlight);
    C.Line(Rect.left, Rect.bottom - 1, Rect.right, Rect.bottom - 1);
    C.Line(Rect.right - 1, Rect.top, Rect.right - 1, Rect.bottom);
  }
  C.Brush().SetColor(Back);
  if (Column.InputEditing())
    C.FrameRect(R);
  else
    C.FillRect(R);
  C.Font().SetColor(Text);
  const RECT TextRect{Rect.left + 2, Rect.top, Rect.right - 1, Rect.bottom - 1};
  if (!Column.InputText().empty())
    TGraphicsProvider::DrawTextLine(C, TextRect, FPaint.RightToLeft, Column.InputText(), Column.Alignment());
  else
    TGraphicsProvider::DrawTextLine(C, TextRect, FPaint.RightToLeft, Column.InputCaption(), taCenter);
}

// Default style: themed header items, or classic raised buttons.

TStyleCapabilities TDefaultStyleDisplay::Capabilities() {
  return FPaint.Themed ? TStyleCapabilities{scHotTracking} : TStyleCapabilities{scPressedInversion};
}

void TDefaultStyleDisplay::DrawEmptyHeader(const RECT& Rect) {
  if (FPaint.Themed &&
      ThemeServices().DrawOpaqueBackground(L"HEADER", FPaint.Canvas->Handle(), HeaderItemPart, StateNormal, Rect))
    return;
  TGraphicsProvider::DrawButtonFrame(*FPaint.Canvas, Rect, false);
}

void TDefaultStyleDisplay::DrawHeaderCell(TCustomColumn& Column, const RECT& Rect) {
  if (FPaint.Themed)
    DrawThemedHeaderFrame(Column, Rect);
  else
    DrawHeaderFrame(Column, Rect);
  DrawHeaderContent(Column, Rect);
}

void TDefaultStyleDisplay::DrawHeaderTail(const RECT& Rect) {
  if (FPaint.Themed &&
      ThemeServices().DrawOpaqueBackground(L"HEADER", FPaint.Canvas->Handle(), HeaderItemRightPart, StateNormal, Rect))
    return;
  TStyleDisplay::DrawHeaderTail(Rect);
}

void TDefaultStyleDisplay::DrawThemedHeaderFrame(TCustomColumn& Column, const RECT& Rect) {
  int State = StateNormal;
  if (FOwner && FOwner->PressedHeaderColumn() == &Column)
    State = StatePressed;
  else if (FOwner && FOwner->HotHeaderColumn() == &Column)
    State = StateHot;
  if (!ThemeServices().DrawOpaqueBackground(L"HEADER", FPaint.Canvas->Handle(), HeaderItemPart, State, Rect))
    DrawHeaderFrame(Column, Rect);
}

void TDefaultStyleDisplay::DrawHeaderFrame(TCustomColumn& Column, const RECT& Rect) {
  TCanvas& C = *FPaint.Canvas;
  const TColor Face = Column.Header().Color();
  C.Brush().SetColor(Face);
  C.FillRect(AdjustRECT(Rect, 1, 1, -1, -1));
  const int Visible = Column.Collection() ? Column.Collection()->VisibleCount() : 1;
  const int Place = Column.VisibleIndex();
  const int L = Rect.left, T = Rect.top, R = Rect.right, B = Rect.bottom;
  if (Visible <= 1) {
    C.Pen().SetColor(clBtnHighlight);
    C.Polyline({{L, B - 1}, {L, T}, {R, T}});
    C.Pen().SetColor(clBtnShadow);
    C.Polyline({{L, B - 1}, {R - 1, B - 1}, {R - 1, T - 1}});
    return;
  }
  C.Pen().SetColor(clBtnHighlight);
  C.Line(L, T, R, T);
  if (Place <= 0) {
    C.Line(L, T + 1, L, B - 1);
  } else {
    C.Line(L, T + 2, L, B - 2);
    C.SetPixel(L, T + 1, Face);
    C.SetPixel(L, B - 2, Face);
  }
  C.Pen().SetColor(clBtnShadow);
  C.Line(L, B - 1, R, B - 1);
  if (Place >= Visible - 1) {
    C.Line(R - 1, T, R - 1, B - 1);
  } else {
    C.Line(R - 1, T + 2, R - 1, B - 2);
    C.SetPixel(R - 1, T + 1, Face);
    C.SetPixel(R - 1, B - 2, Face);
  }
}

// Flat style: thin grey lines on the right and bottom.

void TFlatStyleDisplay::DrawFlatLines(const RECT& Rect) {
  FPaint.Canvas->Pen().SetColor(clGrayText);
  FPaint.Canvas->Line(Rect.right - 1, Rect.top, Rect.right - 1, Rect.bottom - 1);
  FPaint.Canvas->Line(Rect.right - 1, Rect.bottom - 1, Rect.left - 1, Rect.bottom - 1);
}

void TFlatStyleDisplay::DrawEmptyHeader(const RECT& Rect) {
  FPaint.Canvas->Brush().SetColor(clBtnFace);
  FPaint.Canvas->FillRect(Rect);
  DrawFlatLines(Rect);
}

void TFlatStyleDisplay::DrawHeaderFrame(TCustomColumn& Column, const RECT& Rect) {
  FPaint.Canvas->Brush().SetColor(Column.Header().Color());
  FPaint.Canvas->FillRect(Rect);
  DrawFlatLines(Rect);
}

void TFlatStyleDisplay::DrawHeaderCell(TCustomColumn& Column, const RECT& Rect) {
  DrawHeaderFrame(Column, Rect);
  DrawHeaderContent(Column, Rect);
}

// Old style: raised cells with a dark outer edge.

void TOldStyleDisplay::DrawEmptyHeader(const RECT& Rect) {
  TCanvas& C = *FPaint.Canvas;
  C.Brush().SetColor(clBtnFace);
  C.FillRect(AdjustRECT(Rect, 1, 1, -1, -1));
  C.Pen().SetColor(clBtnHighlight);
  C.Polyline({{Rect.left, Rect.bottom - 1}, {Rect.left, Rect.top}, {Rect.right, Rect.top}});
  C.Pen().SetColor(clWindowFrame);
  C.Polyline({{Rect.left, Rect.bottom - 1}, {Rect.right - 1, Rect.bottom - 1}, {Rect.right - 1, Rect.top - 1}});
}

void TOldStyleDisplay::DrawHeaderCell(TCustomColumn& Column, const RECT& Rect) {
  DrawEmptyHeader(Rect);
  DrawHeaderContent(Column, Rect);
}
