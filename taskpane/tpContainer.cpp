#include "taskpane/tpContainer.h"

TtpCustomContainer::TtpCustomContainer(TWinControl* Parent) : TtpCustomControl(Parent) {
  SetBounds(0, 0, ScaleValue(185), ScaleValue(41));
}

void TtpCustomContainer::ChangeScale(int M, int D) {
  TtpCustomControl::ChangeScale(M, D);
  // The bound lines stay one pixel wide: they are hairlines at any density.
  SetSpacing(ScaleLength(FSpacing, M, D));
  SetBorderWidth(ScaleLength(FBorderWidth, M, D));
}

void TtpCustomContainer::CreateParams(TCreateParams& Params) {
  TtpCustomControl::CreateParams(Params);
  // No CS_HREDRAW or CS_VREDRAW: a resize repaints only what it uncovers.
  Params.ClassName = L"Torvane.tpContainer";
  Params.ClassStyle = CS_DBLCLKS;
}

void TtpCustomContainer::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  Redraw();
}

void TtpCustomContainer::SetBorderWidth(int Value) {
  if (Value < 0) Value = 0;
  if (Value == FBorderWidth) return;
  FBorderWidth = Value;
  Realign();
}

void TtpCustomContainer::SetBoundColor(TColor Value) {
  if (Value == FBoundColor) return;
  FBoundColor = Value;
  Redraw();
}

void TtpCustomContainer::SetBoundLines(TtpBoundLines Value) {
  Value &= blLeft | blTop | blRight | blBottom;
  if (Value == FBoundLines) return;
  FBoundLines = Value;
  Realign();
}

void TtpCustomContainer::SetEnabledMode(TtpEnabledMode Value) {
  if (Value == FEnabledMode) return;
  FEnabledMode = Value;
  DoEnabledChanged();
}

void TtpCustomContainer::GlyphChanged() { Realign(); }

void TtpCustomContainer::SetGlyphLayout(TtpGlyphLayout Value) {
  if (Value == FGlyphLayout) return;
  FGlyphLayout = Value;
  Redraw();
}

void TtpCustomContainer::SetLayout(TTextLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  Redraw();
}

void TtpCustomContainer::SetShowBoundLines(bool Value) {
  if (Value == FShowBoundLines) return;
  FShowBoundLines = Value;
  Realign();
}

void TtpCustomContainer::SetShowCaption(bool Value) {
  if (Value == FShowCaption) return;
  FShowCaption = Value;
  Redraw();
}

void TtpCustomContainer::SetSpacing(int Value) {
  Value &= 0xFF;
  if (Value == FSpacing) return;
  FSpacing = Value;
  Redraw();
}

void TtpCustomContainer::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  Redraw();
}

RECT TtpCustomContainer::ChildArea() {
  RECT Area = ClientRect();
  InsetRect(FBorderWidth, FShowBoundLines, FBoundLines, Area);
  if (!FGlyph.Empty()) Area.left += FGlyph.Width();
  return Area;
}

void TtpCustomContainer::Realign() {
  if (OnAlignChildren) OnAlignChildren(this);
  Redraw();
}

void TtpCustomContainer::Paint() {
  TCanvas& Canvas = this->Canvas();
  const RECT Client = ClientRect();
  Canvas.Brush().SetStyle(bsSolid);
  Canvas.Brush().SetColor(Color());
  Canvas.FillRect(Client);
  if (FShowBoundLines && FBoundLines) DrawBoundLines(Canvas, FBoundLines, FBoundColor, Client);
  RECT Inner = Client;
  InsetRect(FBorderWidth, FShowBoundLines, FBoundLines, Inner);
  if (OnPaint) OnPaint(this, Inner, Canvas, Canvas.Font());
  if (!FGlyph.Empty()) {
    int Y = Inner.top;
    if (FGlyphLayout == glBottom) Y = Inner.bottom - FGlyph.Height();
    if (FGlyphLayout == glCenter) Y = (Inner.bottom - Inner.top - FGlyph.Height()) / 2 + 1;
    // The glyph's lower-left pixel names its transparent colour.
    const COLORREF Transparent = FGlyph.Pixel(0, FGlyph.Height() - 1);
    Canvas.DrawTransparent(Inner.left, Y, FGlyph, static_cast<TColor>(Transparent));
    Inner.left += FGlyph.Width();
  }
  if (FShowCaption) {
    Canvas.Font().Assign(Font());
    Inner.left += FSpacing, Inner.right -= FSpacing;
    Inner.top += 1, Inner.bottom -= 1;
    DrawCaption(Inner);
  }
}

void TtpCustomContainer::DrawCaption(RECT Rect) {
  TCanvas& Canvas = this->Canvas();
  const std::u16string Text = TCanvas::Utf8ToU16(Caption());
  UINT Flags = FAlignment == taLeftJustify ? DT_LEFT : (FAlignment == taRightJustify ? DT_RIGHT : DT_CENTER);
  // A caption that does not fit starts at the left, so its beginning stays readable before the ellipsis.
  if (Flags != DT_LEFT && Canvas.TextWidth(Text) > Rect.right - Rect.left) Flags = DT_LEFT;
  if (FWordWrap) Flags |= DT_WORDBREAK;
  Flags |= DT_EXPANDTABS | DT_END_ELLIPSIS;
  if (FLayout != tlTop) {
    RECT Measured = Rect;
    Canvas.DrawText(Text, Measured, Flags | DT_CALCRECT);
    const int Shift = Rect.bottom - Measured.bottom;
    OffsetRect(&Rect, 0, FLayout == tlBottom ? Shift : Shift / 2);
  }
  Canvas.SetTextTransparent(true);
  Canvas.DrawText(Text, Rect, Flags);
}

void TtpCustomContainer::DoEnabledChanged() {
  TtpCustomControl::DoEnabledChanged();
  if (FEnabledMode == emAffectChilds)
    for (TWinControl* Child : Controls()) Child->SetEnabled(Enabled());
  if (OnEnabledChanged) OnEnabledChanged(this);
}

void TtpCustomContainer::DoMouseDown() {
  if (FFocusable) {
    TtpCustomControl::DoMouseDown();
    return;
  }
  Include(dsClicked);
  Redraw();
}

void TtpCustomContainer::DoPositionChanged() {
  TtpCustomControl::DoPositionChanged();
  Redraw();
}

void TtpCustomContainer::DoSizeChanged() {
  TtpCustomControl::DoSizeChanged();
  if (OnAlignChildren) OnAlignChildren(this);
}
