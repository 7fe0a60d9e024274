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
  // The pixels carry their own alpha, premultiplied (each colour already scaled by it, as the
  // platform's blend and a decoder writing straight into the bitmap have them), and are drawn mixed
  // by it (DrawBlended); plain bitmaps drawn with GDI leave it false.
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
  TBitmap* PictureBitmap() override { return Empty() ? nullptr : this; }

  // How many bitmaps the process has made so far (benchmarks count what a paint allocates).
  static std::size_t Made();

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

// A pixel (alpha, red, green, blue from the high byte down) with its colour scaled by its alpha, and
// back (rounded; a clear pixel comes back black).
std::uint32_t Premultiplied(std::uint32_t Straight);
std::uint32_t Unpremultiplied(std::uint32_t Premultiplied);

// The one way a picture with alpha reaches a canvas, for the toolkit's pictures and the grid's cells
// and glyphs alike. Picture is stretched to Target (each target pixel takes the source pixel its
// top-left corner falls on) and mixed over what the canvas shows by its alpha: each channel becomes
// (picture x 255 + background x (255 - alpha)) div 256, as the grid's BlendPixel mixes, so that an
// opaque pixel comes out a step darker there too. Only the part inside the canvas's clipping box is
// touched, a tile at a time through one work bitmap kept for the purpose: no bitmap is made per call.
void DrawBlended(TCanvas& Canvas, const RECT& Target, TBitmap& Picture);
// A picture with alpha through DrawBlended; any other copied, stretched when Target is not its size.
void DrawPicture(TCanvas& Canvas, const RECT& Target, TBitmap& Picture);

// Target becomes Source drawn at Width x Height, each pixel the area-weighted mean of the source
// pixels it covers (sharp at whole multiples, smooth between). Pixels of MaskColor (clNone: none)
// are transparency: they never tint their neighbours, and a target pixel mostly covered by them
// takes MaskColor itself, so the picture stays cut out by that colour.
void ResampleBitmap(TBitmap& Source, int Width, int Height, TBitmap& Target, TColor MaskColor = clNone);
