#pragma once
// A 32-bit device-independent bitmap with its own memory DC and canvas, loaded from resources or drawn.
#include <memory>
#include <string>

#include "core/Object.h"
#include "toolkit/Canvas.h"

class TBitmap : public TDrawable {
 public:
  TBitmap() = default;
  TBitmap(int Width, int Height) { SetSize(Width, Height); }
  ~TBitmap() override;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const override { return !FBitmap; }
  // A new blank (black, fully transparent) bitmap of this size.
  void SetSize(int Width, int Height);
  // A bitmap resource of the executable by its name; false (and empty) when there is none.
  bool LoadFromResourceName(HINSTANCE Instance, const std::string& Name);
  HBITMAP Handle() const { return FBitmap; }
  // The pixels carry their own alpha (straight, not premultiplied) and are drawn blended; plain
  // bitmaps drawn with GDI leave it false.
  bool HasAlpha = false;
  // Drawing on the bitmap itself.
  TCanvas& Canvas();
  // Straight access to the pixels (BGRA, top row first), for tests and per-pixel work.
  std::uint32_t* Pixels() { return FBits; }
  COLORREF Pixel(int X, int Y) const;

  // A new bitmap handle with the same pixels, selected nowhere; its alpha is cleared unless KeepAlpha.
  // The caller owns it.
  HBITMAP CopyHandle(bool KeepAlpha) const;

  void DrawOn(HDC DC, int X, int Y) override;
  void StretchOn(HDC DC, const RECT& Rect) override;
  void DrawTransparentOn(HDC DC, int X, int Y, COLORREF Transparent) override;
  // Blends per-pixel alpha (premultiplied BGRA) onto DC; Opacity scales it (0..255).
  void DrawAlphaOn(HDC DC, int X, int Y, int Opacity = 255);

 private:
  HDC MemoryDC();
  void Release();

  int FWidth = 0, FHeight = 0;
  HBITMAP FBitmap = nullptr;
  std::uint32_t* FBits = nullptr;
  HDC FDC = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
  std::unique_ptr<TCanvas> FCanvas;
};

// Target becomes Source drawn at Width x Height, each pixel the area-weighted mean of the source
// pixels it covers (sharp at whole multiples, smooth between). Pixels of MaskColor (clNone: none)
// are transparency: they never tint their neighbours, and a target pixel mostly covered by them
// takes MaskColor itself, so the picture stays cut out by that colour.
void ResampleBitmap(TBitmap& Source, int Width, int Height, TBitmap& Target, TColor MaskColor = clNone);
