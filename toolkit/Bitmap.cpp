#include "toolkit/Bitmap.h"

#include <algorithm>
#include <atomic>

#include "platform/win32/WideText.h"

namespace {
std::atomic<std::size_t> BitmapsMade{0};
}  // namespace

std::size_t TBitmap::Made() { return BitmapsMade; }

TBitmap::~TBitmap() { Release(); }

void TBitmap::Release() {
  FCanvas.reset();
  if (FDC) {
    SelectObject(FDC, FOldBitmap);
    DeleteDC(FDC);
    FDC = nullptr;
  }
  if (FBitmap) DeleteObject(FBitmap);
  FBitmap = nullptr;
  FBits = nullptr;
  FWidth = FHeight = 0;
}

void TBitmap::SetSize(int Width, int Height) {
  Release();
  if (Width <= 0 || Height <= 0) return;
  BITMAPINFO Info = {};
  Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Info.bmiHeader.biWidth = Width;
  Info.bmiHeader.biHeight = -Height;  // top row first
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  FBitmap = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (!FBitmap) return;
  ++BitmapsMade;
  FBits = static_cast<std::uint32_t*>(Bits);
  FWidth = Width;
  FHeight = Height;
}

bool TBitmap::LoadFromResourceName(HINSTANCE Instance, const std::string& Name) {
  const std::wstring WideName = Widen(Name);
  TBitmapHandle Loaded(
      static_cast<HBITMAP>(LoadImageW(Instance, WideName.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!Loaded) {
    Release();
    return false;
  }
  BITMAP Info = {};
  GetObjectW(Loaded.Get(), sizeof(Info), &Info);
  SetSize(Info.bmWidth, Info.bmHeight);
  {
    TMemoryDC Source;
    TSelectedObject Selected(Source.Get(), Loaded.Get());
    BitBlt(MemoryDC(), 0, 0, FWidth, FHeight, Source.Get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  // Resource bitmaps carry no alpha: make them opaque.
  for (int I = 0; I < FWidth * FHeight; ++I) FBits[I] |= 0xFF000000u;
  return true;
}

HDC TBitmap::MemoryDC() {
  if (!FDC) {
    FDC = CreateCompatibleDC(nullptr);
    FOldBitmap = SelectObject(FDC, FBitmap);
  }
  return FDC;
}

TCanvas& TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TCanvas>(MemoryDC());
  return *FCanvas;
}

COLORREF TBitmap::Pixel(int X, int Y) const {
  if (!FBits || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return CLR_INVALID;
  GdiFlush();
  const std::uint32_t Value = FBits[Y * FWidth + X];
  return RGB((Value >> 16) & 0xFF, (Value >> 8) & 0xFF, Value & 0xFF);
}

void TBitmap::DrawOn(HDC DC, int X, int Y) { BitBlt(DC, X, Y, FWidth, FHeight, MemoryDC(), 0, 0, SRCCOPY); }

void TBitmap::StretchOn(HDC DC, const RECT& Rect) {
  SetStretchBltMode(DC, COLORONCOLOR);
  StretchBlt(DC, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top, MemoryDC(), 0, 0, FWidth, FHeight,
             SRCCOPY);
}

void TBitmap::DrawTransparentOn(HDC DC, int X, int Y, COLORREF Transparent) {
  TransparentBlt(DC, X, Y, FWidth, FHeight, MemoryDC(), 0, 0, FWidth, FHeight, Transparent);
}

HBITMAP TBitmap::CopyHandle(bool KeepAlpha) const {
  if (!FBits) return nullptr;
  TBitmap Copy(FWidth, FHeight);
  if (Copy.Empty()) return nullptr;
  GdiFlush();
  for (int I = 0; I < FWidth * FHeight; ++I) Copy.FBits[I] = KeepAlpha ? FBits[I] : (FBits[I] & 0x00FFFFFFu);
  HBITMAP Handle = Copy.FBitmap;
  Copy.FBitmap = nullptr;  // handed to the caller; the copy never made a DC
  Copy.FBits = nullptr;
  return Handle;
}

std::uint32_t Premultiplied(std::uint32_t P) {
  const std::uint32_t A = P >> 24;
  if (A == 0xFF) return P;
  auto Scale = [A](std::uint32_t C) { return (C * A + 127) / 255; };
  return A << 24 | Scale(P >> 16 & 0xFF) << 16 | Scale(P >> 8 & 0xFF) << 8 | Scale(P & 0xFF);
}

std::uint32_t Unpremultiplied(std::uint32_t P) {
  const std::uint32_t A = P >> 24;
  if (A == 0xFF) return P;
  if (A == 0) return 0;
  auto Scale = [A](std::uint32_t C) { return std::min<std::uint32_t>(255, (C * 255 + A / 2) / A); };
  return A << 24 | Scale(P >> 16 & 0xFF) << 16 | Scale(P >> 8 & 0xFF) << 8 | Scale(P & 0xFF);
}

namespace {

// The work bitmap of DrawBlended: the canvas under one tile is copied in, mixed and copied back.
constexpr int TileSize = 128;

TBitmap& BlendTile() {
  static TBitmap Tile(TileSize, TileSize);
  return Tile;
}

// One channel mixed as the grid's BlendPixel does, from a premultiplied picture channel.
inline std::uint32_t MixChannel(std::uint32_t Picture, std::uint32_t Background, std::uint32_t Alpha) {
  return std::min<std::uint32_t>(255, (Picture * 255 + Background * (255 - Alpha)) >> 8);
}

}  // namespace

void DrawBlended(TCanvas& Canvas, const RECT& Target, TBitmap& Picture) {
  const int W = Target.right - Target.left, H = Target.bottom - Target.top;
  const int SW = Picture.Width(), SH = Picture.Height();
  TBitmap& Tile = BlendTile();
  RECT Visible{}, Clip = Canvas.ClipRect();
  if (W <= 0 || H <= 0 || Picture.Empty() || Tile.Empty() || !IntersectRect(&Visible, &Target, &Clip)) return;
  const HDC TileDC = Tile.Canvas().Handle();
  const std::uint32_t* Source = Picture.Pixels();
  for (int Top = Visible.top; Top < Visible.bottom; Top += TileSize)
    for (int Left = Visible.left; Left < Visible.right; Left += TileSize) {
      const int TW = std::min(TileSize, int(Visible.right) - Left), TH = std::min(TileSize, int(Visible.bottom) - Top);
      BitBlt(TileDC, 0, 0, TW, TH, Canvas.Handle(), Left, Top, SRCCOPY);
      GdiFlush();
      for (int Y = 0; Y < TH; ++Y) {
        const std::uint32_t* Row = Source + std::size_t((Top + Y - Target.top) * std::int64_t(SH) / H) * SW;
        std::uint32_t* Out = Tile.Pixels() + std::size_t(Y) * TileSize;
        for (int X = 0; X < TW; ++X) {
          const std::uint32_t P = Row[(Left + X - Target.left) * std::int64_t(SW) / W], B = Out[X], A = P >> 24;
          Out[X] = (B & 0xFF000000u) | MixChannel(P >> 16 & 0xFF, B >> 16 & 0xFF, A) << 16 |
                   MixChannel(P >> 8 & 0xFF, B >> 8 & 0xFF, A) << 8 | MixChannel(P & 0xFF, B & 0xFF, A);
        }
      }
      BitBlt(Canvas.Handle(), Left, Top, TW, TH, TileDC, 0, 0, SRCCOPY);
    }
}

void DrawPicture(TCanvas& Canvas, const RECT& Target, TBitmap& Picture) {
  if (Picture.Empty()) return;
  if (Picture.HasAlpha) return DrawBlended(Canvas, Target, Picture);
  if (Target.right - Target.left == Picture.Width() && Target.bottom - Target.top == Picture.Height())
    Canvas.Draw(Target.left, Target.top, Picture);
  else
    Canvas.StretchDraw(Target, Picture);
}

namespace {

// How much of the source span [Start, End) lies on source pixel I.
double Overlap(double Start, double End, int I) {
  return std::max(0.0, std::min(End, I + 1.0) - std::max(Start, double(I)));
}

// One target pixel: the mean over the source rectangle [X0, X1) x [Y0, Y1).
std::uint32_t MeanPixel(const std::uint32_t* Pixels, int Stride, double X0, double X1, double Y0, double Y1,
                        bool Masked, std::uint32_t MaskPixel) {
  double Sum[4] = {0, 0, 0, 0}, Opaque = 0, Clear = 0;
  for (int Y = int(Y0); Y < Y1; ++Y) {
    const double WY = Overlap(Y0, Y1, Y);
    for (int X = int(X0); X < X1; ++X) {
      const double W = WY * Overlap(X0, X1, X);
      const std::uint32_t P = Pixels[Y * Stride + X];
      if (Masked && (P & 0xFFFFFFu) == (MaskPixel & 0xFFFFFFu)) {
        Clear += W;
        continue;
      }
      Opaque += W;
      for (int C = 0; C < 4; ++C) Sum[C] += W * ((P >> (8 * C)) & 0xFF);
    }
  }
  // Half covered keeps the picture (the margin absorbs rounding, so both halves of a shape agree).
  if (Opaque <= 0 || (Masked && Clear > Opaque + 1e-9)) return MaskPixel;
  std::uint32_t Result = 0;
  for (int C = 0; C < 4; ++C) Result |= std::uint32_t(Sum[C] / Opaque + 0.5) << (8 * C);
  return Result;
}

}  // namespace

void ResampleBitmap(TBitmap& Source, int Width, int Height, TBitmap& Target, TColor MaskColor) {
  Target.SetSize(Width, Height);
  if (Source.Empty() || Target.Empty()) return;
  GdiFlush();
  const int SW = Source.Width(), SH = Source.Height();
  const bool Masked = MaskColor != clNone;
  const COLORREF Mask = Masked ? ColorToRGB(MaskColor) : 0;
  const std::uint32_t MaskPixel =
      0xFF000000u | (std::uint32_t(GetRValue(Mask)) << 16) | (std::uint32_t(GetGValue(Mask)) << 8) | GetBValue(Mask);
  const double FX = double(SW) / Width, FY = double(SH) / Height;
  std::uint32_t* Out = Target.Pixels();
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X)
      Out[Y * Width + X] = MeanPixel(Source.Pixels(), SW, X * FX, std::min((X + 1) * FX, double(SW)), Y * FY,
                                     std::min((Y + 1) * FY, double(SH)), Masked, MaskPixel);
  Target.HasAlpha = Source.HasAlpha;
}
