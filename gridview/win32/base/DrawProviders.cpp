#include "gridview/win32/base/DrawProviders.h"

#include <algorithm>

#include "gridview/win32/base/Themes.h"
#include "toolkit/Graphics.h"

POINT AlignBox(int Width, int Height, TVerticalAlignment Vertical, TAlignment Horizontal, const RECT& Rect,
               int Margin) {
  const TGridPoint P = TCalcProvider::AlignBox(Width, Height, Vertical, Horizontal, ToGridRect(Rect), Margin);
  return POINT{P.X, P.Y};
}

void AssignGridFont(TFont& Target, const TGridFont& Font) {
  if (Target.Name() != Font.Name) Target.SetName(Font.Name);
  if (Target.Size() != Font.Size) Target.SetSize(Font.Size);
  if (Target.Style() != Font.Style) Target.SetStyle(Font.Style);
  if (Target.Color() != Font.Color) Target.SetColor(Font.Color);
}

namespace {
TColor Rgb(TColor Color) { return static_cast<TColor>(ColorToRGB(Color)); }

// Brush clear for a text call, solid again after it.
struct TClearBrush {
  explicit TClearBrush(TCanvas& Canvas) : FCanvas(Canvas) { Canvas.Brush().SetStyle(bsClear); }
  ~TClearBrush() { FCanvas.Brush().SetStyle(bsSolid); }
  TCanvas& FCanvas;
};

UINT HorizontalFlag(TAlignment Alignment) {
  switch (Alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

UINT VerticalFlag(TVerticalAlignment Alignment) {
  switch (Alignment) {
    case vaMiddle: return DT_VCENTER;
    case vaBottom: return DT_BOTTOM;
    default: return DT_TOP;
  }
}
}  // namespace

TColor TGraphicsProvider::BlendColors(TColor A, TColor B, int Alpha) { return BlendRGB(Rgb(A), Rgb(B), Alpha); }

TColor TGraphicsProvider::MixColors(TColor A, TColor B, double T) { return MixRGB(Rgb(A), Rgb(B), T); }

void TGraphicsProvider::SetClip(TCanvas& Canvas, const RECT& Rect) {
  TGdiHandle<HRGN> Region(CreateRectRgnIndirect(&Rect));
  SelectClipRgn(Canvas.Handle(), Region.Get());
}

void TGraphicsProvider::DrawButtonFrame(TCanvas& Canvas, const RECT& Rect, bool Dark) {
  Canvas.Brush().SetColor(clBtnFace);
  Canvas.FillRect(AdjustRECT(Rect, 1, 1, -1, -1));
  Canvas.Pen().SetColor(clBtnHighlight);
  Canvas.Polyline({{Rect.left, Rect.bottom - 1}, {Rect.left, Rect.top}, {Rect.right, Rect.top}});
  Canvas.Pen().SetColor(Dark ? clWindowFrame : clBtnShadow);
  Canvas.Polyline({{Rect.left, Rect.bottom - 1}, {Rect.right - 1, Rect.bottom - 1}, {Rect.right - 1, Rect.top - 1}});
}

void TGraphicsProvider::DrawFocusFrame(TCanvas& Canvas, const RECT& Rect, bool Solid) {
  if (Solid) {
    Canvas.Brush().SetColor(clHighlight);
    Canvas.FrameRect(Rect);
    return;
  }
  // Black background and white text make the dotted frame invert what it crosses.
  HDC DC = Canvas.Handle();
  const COLORREF OldBack = SetBkColor(DC, RGB(0, 0, 0)), OldText = SetTextColor(DC, RGB(255, 255, 255));
  DrawFocusRect(DC, &Rect);
  SetBkColor(DC, OldBack);
  SetTextColor(DC, OldText);
}

RECT TGraphicsProvider::CheckBoxRect(TVerticalAlignment Vertical, TAlignment Horizontal, const RECT& Rect,
                                     bool Themed) {
  const int Size = Themed ? 13 : 11;
  const POINT P = AlignBox(Size, Size, Vertical, Horizontal, Rect, 2);
  return RECT{P.x, P.y, P.x + Size, P.y + Size};
}

void TGraphicsProvider::DrawCheckBox(HWND, TCanvas& Canvas, bool Hot, bool Pressed, bool Checked,
                                     TVerticalAlignment Vertical, TAlignment Horizontal, const RECT& Rect,
                                     bool Themed) {
  if (Themed) {
    const RECT Box = CheckBoxRect(Vertical, Horizontal, Rect, true);
    int State = Checked ? 5 : 1;
    if (Hot) State = Checked ? (Pressed ? 7 : 6) : (Pressed ? 3 : 2);
    if (ThemeServices().DrawBackground(L"BUTTON", Canvas.Handle(), 3, State, Box)) return;
  }
  const RECT Box = CheckBoxRect(Vertical, Horizontal, Rect, false);
  Canvas.Pen().SetColor(clBtnShadow);
  Canvas.Brush().SetColor(Pressed ? clBtnFace : clWindow);
  Canvas.Rectangle(Box);
  if (!Checked) return;
  Canvas.Pen().SetColor(clWindowText);
  const int X = Box.left, Y = Box.top;
  for (int Dy = 0; Dy < 3; ++Dy) Canvas.Polyline({{X + 2, Y + 4 + Dy}, {X + 4, Y + 6 + Dy}, {X + 9, Y + 1 + Dy}});
}

void TGraphicsProvider::VerticalGradient(TCanvas& Canvas, const RECT& Rect, TColor ToColor, TColor FromColor) {
  const int Height = Rect.bottom - Rect.top;
  if (Height <= 0 || Rect.right <= Rect.left) return;
  for (int Y = Rect.top; Y < Rect.bottom; ++Y) {
    Canvas.Brush().SetColor(MixColors(FromColor, ToColor, double(Y - Rect.top) / Height));
    Canvas.FillRect(RECT{Rect.left, Y, Rect.right, Y + 1});
  }
}

void TGraphicsProvider::HorizontalGradient(TCanvas& Canvas, const RECT& Rect, TColor ToColor, TColor FromColor) {
  const int Width = Rect.right - Rect.left;
  if (Width <= 0 || Rect.bottom <= Rect.top) return;
  for (int X = Rect.left; X < Rect.right; ++X) {
    Canvas.Brush().SetColor(MixColors(FromColor, ToColor, double(X - Rect.left) / Width));
    Canvas.FillRect(RECT{X, Rect.top, X + 1, Rect.bottom});
  }
}

void TGraphicsProvider::DrawTextLine(TCanvas& Canvas, const RECT& Rect, bool RightToLeft, std::u16string_view Text,
                                     TAlignment Alignment) {
  TClearBrush Clear(Canvas);
  RECT R = Rect;
  UINT Flags =
      DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | DT_EXTERNALLEADING | HorizontalFlag(Alignment);
  if (RightToLeft) Flags |= DT_RTLREADING;
  Canvas.DrawText(Text, R, Flags);
}

void TGraphicsProvider::DrawTextBlock(TCanvas& Canvas, const RECT& Rect, std::u16string_view Text, bool Wrap,
                                      TVerticalAlignment Vertical, TAlignment Horizontal) {
  TClearBrush Clear(Canvas);
  RECT R = Rect;
  UINT Flags = DT_NOPREFIX | HorizontalFlag(Horizontal) | VerticalFlag(Vertical);
  Flags |= Wrap ? DT_WORDBREAK : DT_SINGLELINE;
  Canvas.DrawText(Text, R, Flags);
}

void TGraphicsProvider::DrawIndicatorCell(TCanvas& Canvas, const RECT& Rect, bool Raised, bool Pressed, bool Arrow) {
  if (Raised) {
    DrawButtonFrame(Canvas, Rect, true);
  } else {
    Canvas.Brush().SetColor(clBtnFace);
    Canvas.FillRect(RECT{1, Rect.top + 1, Rect.right - 1, Rect.bottom});
    Canvas.Pen().SetColor(clBtnHighlight);
    Canvas.Line(0, Rect.top, 0, Rect.bottom);
    Canvas.Line(2, Rect.top, Rect.right - 2, Rect.top);
    Canvas.Pen().SetColor(clBtnShadow);
    Canvas.Line(Rect.right - 1, Rect.top, Rect.right - 1, Rect.bottom);
    Canvas.Line(2, Rect.bottom - 1, Rect.right - 2, Rect.bottom - 1);
    for (int Y : {int(Rect.top), int(Rect.bottom - 1)}) {
      Canvas.SetPixel(1, Y, clBtnFace);
      Canvas.SetPixel(Rect.right - 2, Y, clBtnFace);
    }
  }
  if (Arrow) {
    const POINT P = AlignBox(6, 11, vaMiddle, taCenter, Rect, 0);
    Canvas.Pen().SetColor(clWindowText);
    Canvas.Brush().SetColor(clWindowText);
    Canvas.Polygon({{P.x, P.y}, {P.x + 5, P.y + 5}, {P.x, P.y + 10}});
  }
  if (Pressed) Canvas.InvertRect(Rect);
}

void TMaskProvider::DrawAlphaBitmap(TCanvas& Canvas, int X, int Y, TBitmap& Bitmap) {
  DrawBlended(Canvas, RECT{X, Y, X + Bitmap.Width(), Y + Bitmap.Height()}, Bitmap);
}

void TDrawProvider::DrawGraphic(TCanvas& Canvas, int X, int Y, TBitmap& Graphic) {
  DrawPicture(Canvas, RECT{X, Y, X + Graphic.Width(), Y + Graphic.Height()}, Graphic);
}

void TDrawProvider::DrawGraphic(TCanvas& Canvas, const RECT& Target, TBitmap& Graphic) {
  DrawPicture(Canvas, Target, Graphic);
}

void TDrawProvider::DrawGraphic(TCanvas& Canvas, int X, int Y, TGraphic& Graphic) { Graphic.Draw(Canvas, X, Y); }

TGlyph GlyphOf(TGraphic& Graphic) {
  TGlyph Glyph;
  if (Graphic.Empty()) return Glyph;
  TBitmap& Bitmap = Graphic.Bitmap();
  GdiFlush();
  Glyph.Width = Bitmap.Width();
  Glyph.Height = Bitmap.Height();
  const std::uint32_t* Pixels = Bitmap.Pixels();
  for (int I = 0; I < Glyph.Width * Glyph.Height; ++I) {
    const std::uint32_t P = Bitmap.HasAlpha ? Unpremultiplied(Pixels[I]) : Pixels[I];
    Glyph.Pixels.push_back(RGBColor(int(P >> 16 & 0xFF), int(P >> 8 & 0xFF), int(P & 0xFF)));
    if (Bitmap.HasAlpha) Glyph.Alpha.push_back(std::uint8_t(P >> 24));
  }
  return Glyph;
}

TBitmap& TGlyphBitmap::For(const TGlyph& Glyph) {
  if (!(Glyph == FSource) || (FBitmap.Empty() && !Glyph.Empty())) {
    FSource = Glyph;
    FBitmap.SetSize(Glyph.Width, Glyph.Height);
    FBitmap.HasAlpha = Glyph.HasAlpha();
    if (!Glyph.Empty()) {
      std::uint32_t* Pixels = FBitmap.Pixels();
      for (int Y = 0; Y < Glyph.Height; ++Y)
        for (int X = 0; X < Glyph.Width; ++X) {
          const TColor C = Rgb(Glyph.Pixel(X, Y));
          const std::size_t At = std::size_t(Y) * Glyph.Width + X;
          const std::uint32_t Alpha = At < Glyph.Alpha.size() ? Glyph.Alpha[At] : 0xFFu;
          Pixels[At] = Premultiplied(Alpha << 24 | std::uint32_t(RedOf(C)) << 16 | std::uint32_t(GreenOf(C)) << 8 |
                                     std::uint32_t(BlueOf(C)));
        }
    }
  }
  return FBitmap;
}

void TGlyphBitmap::Draw(TCanvas& Canvas, int X, int Y, const TGlyph& Glyph) {
  if (Glyph.Empty()) return;
  TBitmap& Bitmap = For(Glyph);
  if (Glyph.HasAlpha())
    TDrawProvider::DrawGraphic(Canvas, X, Y, Bitmap);
  else if (Glyph.Transparent)
    Canvas.DrawTransparent(X, Y, Bitmap, Glyph.TransparentColor);
  else
    Canvas.Draw(X, Y, Bitmap);
}
