#include "toolkit/Canvas.h"

#include "core/Text.h"

std::u16string TCanvas::Utf8ToU16(std::string_view Utf8) { return Utf8ToUtf16(Utf8); }

namespace {
const wchar_t* W(std::u16string_view Text) { return reinterpret_cast<const wchar_t*>(Text.data()); }
}  // namespace

TCanvas::TCanvas() {
  // A changed object must leave the DC before its old handle is freed.
  FFont.OnChange = [this] {
    // A new colour keeps the handle: the font stays selected (selecting a font is costly).
    if (FFont.ChangingColorOnly()) return;
    if (FDC && FOldFont) {
      SelectObject(FDC, FOldFont);
      FOldFont = nullptr;
    }
  };
  FPen.OnChange = [this] {
    if (FDC && FOldPen) {
      SelectObject(FDC, FOldPen);
      FOldPen = nullptr;
    }
  };
  FBrush.OnChange = [this] {
    if (FDC && FOldBrush) {
      SelectObject(FDC, FOldBrush);
      FOldBrush = nullptr;
    }
  };
}

TCanvas::TCanvas(HDC DC) : TCanvas() { SetHandle(DC); }

TCanvas::~TCanvas() { Deselect(); }

void TCanvas::SetHandle(HDC DC) {
  if (DC == FDC) return;
  Deselect();
  FDC = DC;
}

void TCanvas::Deselect() {
  if (!FDC) return;
  if (FOldFont) SelectObject(FDC, FOldFont);
  if (FOldPen) SelectObject(FDC, FOldPen);
  if (FOldBrush) SelectObject(FDC, FOldBrush);
  FOldFont = FOldPen = FOldBrush = nullptr;
}

void TCanvas::RequireFont() {
  HFONT Font = FFont.Handle();
  if (!FOldFont || GetCurrentObject(FDC, OBJ_FONT) != Font) {
    HGDIOBJ Previous = SelectObject(FDC, Font);
    if (!FOldFont) FOldFont = Previous;
  }
  SetTextColor(FDC, ColorToRGB(FFont.Color()));
}

void TCanvas::RequirePen() {
  HGDIOBJ Previous = SelectObject(FDC, FPen.Handle());
  if (!FOldPen) FOldPen = Previous;
  static const int Modes[] = {R2_COPYPEN, R2_NOT, R2_XORPEN, R2_MASKPEN, R2_MERGEPEN};
  SetROP2(FDC, Modes[FPen.Mode()]);
}

void TCanvas::RequireBrush() {
  HGDIOBJ Previous = SelectObject(FDC, FBrush.Handle());
  if (!FOldBrush) FOldBrush = Previous;
  SetBkColor(FDC, ColorToRGB(FBrush.Color()));
  SetBkMode(FDC, FBrush.Style() == bsClear ? TRANSPARENT : OPAQUE);
}

void TCanvas::FillRect(const RECT& Rect) {
  if (FBrush.Style() == bsClear) return;
  ::FillRect(FDC, &Rect, FBrush.Handle());
}

void TCanvas::FrameRect(const RECT& Rect) { ::FrameRect(FDC, &Rect, FBrush.Handle()); }

void TCanvas::Rectangle(const RECT& Rect) {
  RequirePen();
  RequireBrush();
  ::Rectangle(FDC, Rect.left, Rect.top, Rect.right, Rect.bottom);
}

void TCanvas::Ellipse(const RECT& Rect) {
  RequirePen();
  RequireBrush();
  ::Ellipse(FDC, Rect.left, Rect.top, Rect.right, Rect.bottom);
}

void TCanvas::RoundRect(const RECT& Rect, int CornerWidth, int CornerHeight) {
  RequirePen();
  RequireBrush();
  ::RoundRect(FDC, Rect.left, Rect.top, Rect.right, Rect.bottom, CornerWidth, CornerHeight);
}

void TCanvas::MoveTo(int X, int Y) { MoveToEx(FDC, X, Y, nullptr); }

void TCanvas::LineTo(int X, int Y) {
  RequirePen();
  ::LineTo(FDC, X, Y);
}

void TCanvas::Polyline(const std::vector<POINT>& Points) {
  if (Points.size() < 2) return;
  RequirePen();
  ::Polyline(FDC, Points.data(), static_cast<int>(Points.size()));
}

void TCanvas::Polygon(const std::vector<POINT>& Points) {
  if (Points.size() < 2) return;
  RequirePen();
  RequireBrush();
  ::Polygon(FDC, Points.data(), static_cast<int>(Points.size()));
}

COLORREF TCanvas::Pixel(int X, int Y) const { return GetPixel(FDC, X, Y); }

void TCanvas::SetPixel(int X, int Y, TColor Color) { ::SetPixelV(FDC, X, Y, ColorToRGB(Color)); }

void TCanvas::InvertRect(const RECT& Rect) { ::InvertRect(FDC, &Rect); }

void TCanvas::TextOut(int X, int Y, std::u16string_view Text) {
  RequireFont();
  RequireBrush();
  if (FTextTransparent) SetBkMode(FDC, TRANSPARENT);
  ::TextOutW(FDC, X, Y, W(Text), static_cast<int>(Text.size()));
}

void TCanvas::TextRect(const RECT& Rect, int X, int Y, std::u16string_view Text) {
  RequireFont();
  RequireBrush();
  const UINT Options = ETO_CLIPPED | (FBrush.Style() != bsClear && !FTextTransparent ? ETO_OPAQUE : 0);
  if (FTextTransparent) SetBkMode(FDC, TRANSPARENT);
  ::ExtTextOutW(FDC, X, Y, Options, &Rect, W(Text), static_cast<UINT>(Text.size()), nullptr);
}

int TCanvas::DrawText(std::u16string_view Text, RECT& Rect, UINT Flags) {
  RequireFont();
  RequireBrush();
  if (FTextTransparent) SetBkMode(FDC, TRANSPARENT);
  // DT_MODIFYSTRING would write into the text; the canvas never passes it on.
  return ::DrawTextW(FDC, W(Text), static_cast<int>(Text.size()), &Rect, Flags & ~UINT(DT_MODIFYSTRING));
}

SIZE TCanvas::TextExtent(std::u16string_view Text) {
  RequireFont();
  SIZE Size = {0, 0};
  GetTextExtentPoint32W(FDC, W(Text), static_cast<int>(Text.size()), &Size);
  if (Text.empty()) {
    TEXTMETRICW Metrics;
    GetTextMetricsW(FDC, &Metrics);
    Size.cy = Metrics.tmHeight;
  }
  return Size;
}

void TCanvas::Draw(int X, int Y, TDrawable& Picture) {
  if (Picture.Empty()) return;
  Picture.DrawOn(FDC, X, Y);
}

void TCanvas::StretchDraw(const RECT& Rect, TDrawable& Picture) {
  if (Picture.Empty()) return;
  Picture.StretchOn(FDC, Rect);
}

void TCanvas::DrawTransparent(int X, int Y, TDrawable& Picture, TColor TransparentColor) {
  if (Picture.Empty()) return;
  Picture.DrawTransparentOn(FDC, X, Y, ColorToRGB(TransparentColor));
}

void TCanvas::CopyRect(const RECT& Dest, TCanvas& Source, const RECT& SourceRect) {
  StretchBlt(FDC, Dest.left, Dest.top, Dest.right - Dest.left, Dest.bottom - Dest.top, Source.Handle(), SourceRect.left,
             SourceRect.top, SourceRect.right - SourceRect.left, SourceRect.bottom - SourceRect.top, SRCCOPY);
}

void TCanvas::IntersectClipRect(const RECT& Rect) {
  ::IntersectClipRect(FDC, Rect.left, Rect.top, Rect.right, Rect.bottom);
}

void TCanvas::ExcludeClipRect(const RECT& Rect) {
  ::ExcludeClipRect(FDC, Rect.left, Rect.top, Rect.right, Rect.bottom);
}

RECT TCanvas::ClipRect() const {
  RECT Rect = {0, 0, 0, 0};
  GetClipBox(FDC, &Rect);
  return Rect;
}

TCanvas::TClipSave::TClipSave(TCanvas& Canvas) : FCanvas(Canvas), FSaved(CreateRectRgn(0, 0, 0, 0)) {
  FHadRegion = GetClipRgn(Canvas.Handle(), FSaved.Get()) == 1;
}

TCanvas::TClipSave::~TClipSave() { SelectClipRgn(FCanvas.Handle(), FHadRegion ? FSaved.Get() : nullptr); }
