#pragma once
// The drawing half of the grid family's helpers: colours with system colours resolved, frames,
// check boxes, gradients, text, indicator cells and pictures with per-pixel alpha. Never
// instantiated; everything draws through the toolkit canvas.
#include <string_view>

#include "gridview/Columns.h"
#include "gridview/SharedCommon.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Canvas.h"
#include "toolkit/Graphic.h"
#include "toolkit/HandleGuards.h"

inline RECT ToRECT(const TGridRect& R) { return RECT{R.Left, R.Top, R.Right, R.Bottom}; }
inline TGridRect ToGridRect(const RECT& R) { return TGridRect{R.left, R.top, R.right, R.bottom}; }
inline RECT AdjustRECT(const RECT& R, int DLeft, int DTop, int DRight, int DBottom) {
  return RECT{R.left + DLeft, R.top + DTop, R.right + DRight, R.bottom + DBottom};
}
// Makes the canvas font the grid font; only what differs is changed, so handles are not remade per cell.
void AssignGridFont(TFont& Target, const TGridFont& Font);
POINT AlignBox(int Width, int Height, TVerticalAlignment Vertical, TAlignment Horizontal, const RECT& Rect, int Margin);

class TGraphicsProvider {
 public:
  TGraphicsProvider() = delete;
  static TColor BlendColors(TColor A, TColor B, int Alpha);
  static TColor MixColors(TColor A, TColor B, double T);
  static void SetClip(TCanvas& Canvas, const RECT& Rect);
  static void DrawButtonFrame(TCanvas& Canvas, const RECT& Rect, bool Dark);
  static void DrawFocusFrame(TCanvas& Canvas, const RECT& Rect, bool Solid);
  // Themed (13 x 13 "Button" check box) when Themed and the platform draws it, else classic 11 x 11.
  static void DrawCheckBox(HWND Window, TCanvas& Canvas, bool Hot, bool Pressed, bool Checked,
                           TVerticalAlignment Vertical, TAlignment Horizontal, const RECT& Rect, bool Themed);
  // The check box's square as DrawCheckBox places it.
  static RECT CheckBoxRect(TVerticalAlignment Vertical, TAlignment Horizontal, const RECT& Rect, bool Themed);
  static void VerticalGradient(TCanvas& Canvas, const RECT& Rect, TColor ToColor, TColor FromColor);
  static void HorizontalGradient(TCanvas& Canvas, const RECT& Rect, TColor ToColor, TColor FromColor);
  static void DrawTextLine(TCanvas& Canvas, const RECT& Rect, bool RightToLeft, std::u16string_view Text,
                           TAlignment Alignment);
  static void DrawTextBlock(TCanvas& Canvas, const RECT& Rect, std::u16string_view Text, bool Wrap,
                            TVerticalAlignment Vertical, TAlignment Horizontal);
  static void DrawIndicatorCell(TCanvas& Canvas, const RECT& Rect, bool Raised, bool Pressed, bool Arrow);
};

class TMaskProvider {
 public:
  TMaskProvider() = delete;
  static TColor BlendPixel(TColor Source, TColor Background, int Alpha) { return BlendRGB(Source, Background, Alpha); }
  // Mixes a picture whose pixels carry alpha over what the canvas shows at (X, Y) (DrawBlended).
  static void DrawAlphaBitmap(TCanvas& Canvas, int X, int Y, TBitmap& Bitmap);
};

class TDrawProvider {
 public:
  TDrawProvider() = delete;
  // Pictures with alpha are mixed over the canvas; others are copied (DrawPicture).
  static void DrawGraphic(TCanvas& Canvas, int X, int Y, TBitmap& Graphic);
  // The same, stretched to Target.
  static void DrawGraphic(TCanvas& Canvas, const RECT& Target, TBitmap& Graphic);
  // Any picture of the toolkit's formats, as it shows now.
  static void DrawGraphic(TCanvas& Canvas, int X, int Y, TGraphic& Graphic);
};

// A picture as a column glyph (header, footer, rate glyphs), its alpha kept.
TGlyph GlyphOf(TGraphic& Graphic);

// A column glyph (plain pixels) as a bitmap, made again only when the glyph changes.
class TGlyphBitmap {
 public:
  TBitmap& For(const TGlyph& Glyph);
  // Draws the glyph at (X, Y): mixed by its alpha when it has one, else leaving out its transparent
  // colour when it has one.
  void Draw(TCanvas& Canvas, int X, int Y, const TGlyph& Glyph);

 private:
  TGlyph FSource;
  TBitmap FBitmap;
};
