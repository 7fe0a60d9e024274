#include "taskpane/tpCoreUtils.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "toolkit/Bitmap.h"

void DrawLine(TCanvas& Canvas, int X1, int Y1, int X2, int Y2) {
  Canvas.MoveTo(X1, Y1);
  Canvas.LineTo(X2, Y2);
}

void InsetRect(int BorderWidth, bool ShowLines, TtpBoundLines Lines, RECT& Rect) {
  const int Border = BorderWidth & 0xFF;
  Rect.left += Border, Rect.top += Border, Rect.right -= Border, Rect.bottom -= Border;
  if (!ShowLines) return;
  if (Lines & blLeft) ++Rect.left;
  if (Lines & blRight) --Rect.right;
  if (Lines & blTop) ++Rect.top;
  if (Lines & blBottom) --Rect.bottom;
}

void DrawBoundLines(TCanvas& Canvas, TtpBoundLines Lines, TColor Color, const RECT& Rect) {
  Canvas.Pen().SetColor(Color);
  Canvas.Pen().SetStyle(psSolid);
  const int L = Rect.left, T = Rect.top, R = Rect.right, B = Rect.bottom;
  if (Lines & blLeft) DrawLine(Canvas, L, T, L, B - 1);
  if (Lines & blTop) DrawLine(Canvas, L, T, R, T);
  if (Lines & blRight) DrawLine(Canvas, R - 1, T, R - 1, B - 1);
  if (Lines & blBottom) DrawLine(Canvas, L, B - 1, R, B - 1);
}

namespace {

// The bitmap's pixel layout: 0x00RRGGBB with red in bits 16..23.
std::uint32_t PixelOf(COLORREF Color) {
  return 0xFF000000u | (std::uint32_t(GetRValue(Color)) << 16) | (std::uint32_t(GetGValue(Color)) << 8) |
         GetBValue(Color);
}

int Channel(int Start, int End, int Index, int Last) {
  if (Last == 0) return Start;
  return static_cast<int>(std::nearbyint(Start + double(Index) * (End - Start) / Last));  // ties to even
}

// One generator for every gradient: the dither pattern needs no particular seed, only variety.
std::minstd_rand& DitherRandom() {
  static std::minstd_rand Generator(20011);
  return Generator;
}

int RandomBelow(int K) {
  if (K <= 0) return 0;
  return std::uniform_int_distribution<int>(0, K - 1)(DitherRandom());
}

}  // namespace

void BuildGradient(int Width, int Height, TColor StartColor, TColor EndColor, int Colors, bool Dither,
                   TBitmap& Bitmap) {
  Bitmap.SetSize(Width, Height);
  if (Bitmap.Empty()) return;
  // A single colour has no steps to spread (and would divide by zero below).
  const int N = std::clamp(Colors, 1, 255);
  const COLORREF Start = ColorToRGB(StartColor), End = ColorToRGB(EndColor);
  std::vector<std::uint32_t> Table(static_cast<std::size_t>(N));
  for (int I = 0; I < N; ++I) {
    Table[I] = PixelOf(RGB(Channel(GetRValue(Start), GetRValue(End), I, N - 1),
                           Channel(GetGValue(Start), GetGValue(End), I, N - 1),
                           Channel(GetBValue(Start), GetBValue(End), I, N - 1)));
  }
  GdiFlush();
  std::uint32_t* Pixels = Bitmap.Pixels();
  std::fill(Pixels, Pixels + std::size_t(Width) * Height, Table[0]);
  const int DitherRows = std::min(Height, 16);
  const int Spill = N > 1 ? Width / (N - 1) : 0;
  for (int I = 0; I < N; ++I) {
    const int X0 = MulDiv(I, Width, N), X1 = MulDiv(I + 1, Width, N);
    for (int Y = 0; Y < Height; ++Y)
      for (int X = std::max(X0, 0); X < std::min(X1, Width); ++X) Pixels[std::size_t(Y) * Width + X] = Table[I];
    if (!Dither || I == 0) continue;
    for (int Row = 0; Row < DitherRows; ++Row) {
      for (int K = 0; K <= Spill; ++K) {
        const int X = X0 + RandomBelow(K);
        if (X >= 0 && X < Width) Pixels[std::size_t(Row) * Width + X] = Table[I - 1];
      }
    }
  }
  // The dithered top rows repeat down the bitmap, clipped at the bottom.
  for (int Copy = 1; Copy <= Height / 16; ++Copy) {
    for (int Row = 0; Row < 16; ++Row) {
      const int Target = Copy * 16 + Row;
      if (Target >= Height) break;
      std::memcpy(Pixels + std::size_t(Target) * Width, Pixels + std::size_t(Row) * Width,
                  sizeof(std::uint32_t) * Width);
    }
  }
}
