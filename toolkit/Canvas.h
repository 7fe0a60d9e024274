#pragma once
// Drawing on a device context. The canvas selects its font, pen and brush into the DC when a drawing
// call needs them and puts the DC's own objects back when it lets the DC go. Lines and polylines leave
// out their end point, as GDI does.
#include <string>
#include <string_view>
#include <vector>

#include "core/Object.h"
#include "toolkit/Graphics.h"

// What the canvas draws by handing it its device context: a bitmap (pictures of any format, TGraphic,
// draw through their bitmap).
class TDrawable : public TObject {
 public:
  virtual bool Empty() const = 0;
  // At a point in its own size, stretched to a rectangle, and with one colour left out.
  virtual void DrawOn(HDC DC, int X, int Y) = 0;
  virtual void StretchOn(HDC DC, const RECT& Rect) = 0;
  virtual void DrawTransparentOn(HDC DC, int X, int Y, COLORREF Transparent) = 0;
};

class TCanvas {
 public:
  TCanvas();
  explicit TCanvas(HDC DC);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  HDC Handle() const { return FDC; }
  // Takes a DC to draw on (null lets the current one go); the DC stays the caller's.
  void SetHandle(HDC DC);

  TFont& Font() { return FFont; }
  TPen& Pen() { return FPen; }
  TBrush& Brush() { return FBrush; }

  void FillRect(const RECT& Rect);
  void FrameRect(const RECT& Rect);  // one-pixel frame in the brush colour
  void Rectangle(const RECT& Rect);  // pen outline, brush inside
  void Ellipse(const RECT& Rect);
  void RoundRect(const RECT& Rect, int CornerWidth, int CornerHeight);
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Line(int X1, int Y1, int X2, int Y2) {
    MoveTo(X1, Y1);
    LineTo(X2, Y2);
  }
  void Polyline(const std::vector<POINT>& Points);
  void Polygon(const std::vector<POINT>& Points);
  COLORREF Pixel(int X, int Y) const;
  void SetPixel(int X, int Y, TColor Color);
  void InvertRect(const RECT& Rect);

  // Text in UTF-8 or UTF-16, drawn in the font colour with a clear or brush-coloured background.
  void TextOut(int X, int Y, std::u16string_view Text);
  void TextOut(int X, int Y, std::string_view Utf8) { TextOut(X, Y, Utf8ToU16(Utf8)); }
  void TextRect(const RECT& Rect, int X, int Y, std::u16string_view Text);  // clipped to Rect
  // DrawTextW with its DT_ flags; answers the height of the text. Rect is updated with DT_CALCRECT.
  int DrawText(std::u16string_view Text, RECT& Rect, UINT Flags);
  int DrawText(std::string_view Utf8, RECT& Rect, UINT Flags) { return DrawText(Utf8ToU16(Utf8), Rect, Flags); }
  SIZE TextExtent(std::u16string_view Text);
  int TextWidth(std::u16string_view Text) { return TextExtent(Text).cx; }
  int TextHeight(std::u16string_view Text) { return TextExtent(Text).cy; }
  int TextWidth(std::string_view Utf8) { return TextExtent(Utf8ToU16(Utf8)).cx; }
  int TextHeight(std::string_view Utf8) { return TextExtent(Utf8ToU16(Utf8)).cy; }
  // Transparent text background (true) or filled with the brush colour (false).
  void SetTextTransparent(bool Transparent) { FTextTransparent = Transparent; }

  // Pictures: plain copy, stretched, and with one colour left out (the picture's transparent colour).
  void Draw(int X, int Y, TDrawable& Picture);
  void StretchDraw(const RECT& Rect, TDrawable& Picture);
  void DrawTransparent(int X, int Y, TDrawable& Picture, TColor TransparentColor);
  void CopyRect(const RECT& Dest, TCanvas& Source, const RECT& SourceRect);

  // Clipping: the region in force is intersected; TClipSave puts the previous one back.
  void IntersectClipRect(const RECT& Rect);
  void ExcludeClipRect(const RECT& Rect);
  RECT ClipRect() const;

  class TClipSave {
   public:
    explicit TClipSave(TCanvas& Canvas);
    ~TClipSave();
    TClipSave(const TClipSave&) = delete;
    TClipSave& operator=(const TClipSave&) = delete;

   private:
    TCanvas& FCanvas;
    TRegionHandle FSaved;
    bool FHadRegion;
  };

  static std::u16string Utf8ToU16(std::string_view Utf8);

 private:
  void RequireFont();
  void RequirePen();
  void RequireBrush();
  void Deselect();

  HDC FDC = nullptr;
  TFont FFont;
  TPen FPen;
  TBrush FBrush;
  HGDIOBJ FOldFont = nullptr, FOldPen = nullptr, FOldBrush = nullptr;
  bool FTextTransparent = true;
};
