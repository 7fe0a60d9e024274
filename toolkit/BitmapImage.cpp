#include "toolkit/BitmapImage.h"

#include <cstring>

namespace {

constexpr long long MaxSide = 32768;
constexpr long long MaxPixels = 1LL << 26;

std::uint32_t U32(const std::vector<std::uint8_t>& B, std::size_t At) {
  return std::uint32_t(B[At]) | std::uint32_t(B[At + 1]) << 8 | std::uint32_t(B[At + 2]) << 16 |
         std::uint32_t(B[At + 3]) << 24;
}
std::uint16_t U16(const std::vector<std::uint8_t>& B, std::size_t At) { return std::uint16_t(B[At] | B[At + 1] << 8); }

void Put32(std::vector<std::uint8_t>& B, std::uint32_t V) {
  for (int I = 0; I < 4; ++I) B.push_back(std::uint8_t(V >> (8 * I)));
}
void Put16(std::vector<std::uint8_t>& B, std::uint16_t V) {
  B.push_back(std::uint8_t(V));
  B.push_back(std::uint8_t(V >> 8));
}

// 32-bit rows as they are, keeping alpha when the file has any (many writers leave it zero).
void CopyTrueColour(TBitmap& Target, const std::uint8_t* Bits, int Width, int Height, bool TopDown) {
  std::vector<std::uint32_t> Pixels(std::size_t(Width) * std::size_t(Height));
  for (int Y = 0; Y < Height; ++Y)
    std::memcpy(&Pixels[std::size_t(TopDown ? Y : Height - 1 - Y) * Width], Bits + std::size_t(Y) * Width * 4,
                std::size_t(Width) * 4);
  bool AnyAlpha = false;
  for (std::uint32_t P : Pixels) AnyAlpha = AnyAlpha || (P >> 24) != 0;
  // The file's alpha is straight; the bitmap's is premultiplied.
  for (std::uint32_t& P : Pixels) P = AnyAlpha ? Premultiplied(P) : P | 0xFF000000u;
  SetBitmapPixels(Target, Width, Height, Pixels.data());
}

}  // namespace

void TBitmapImage::LoadFromBytes(const std::vector<std::uint8_t>& B) {
  if (B.size() < 54 || B[0] != 'B' || B[1] != 'M') throw EInvalidGraphic("Not a BMP picture");
  const std::uint32_t Offset = U32(B, 10), HeaderSize = U32(B, 14);
  if (HeaderSize < 40 || 14 + std::size_t(HeaderSize) > B.size()) throw EInvalidGraphic("Not a BMP picture");
  const long long Width = std::int32_t(U32(B, 18)), RawHeight = std::int32_t(U32(B, 22));
  const long long Height = RawHeight < 0 ? -RawHeight : RawHeight;
  const int BitCount = U16(B, 28);
  const std::uint32_t Compression = U32(B, 30), ColoursUsed = U32(B, 46);
  if (Width <= 0 || Height <= 0 || Width > MaxSide || Height > MaxSide || Width * Height > MaxPixels)
    throw EInvalidGraphic("The BMP picture is too large or has no size");
  const bool Rle = Compression == 1 || Compression == 2;
  const std::size_t Stride = std::size_t((Width * BitCount + 31) / 32) * 4;
  const std::size_t BitsSize = Rle ? std::size_t(U32(B, 34)) : Stride * std::size_t(Height);
  const std::size_t Masks = Compression == 3 && HeaderSize == 40 ? 12 : 0;
  const std::size_t Table = BitCount <= 8 ? 4 * std::size_t(ColoursUsed ? ColoursUsed : 1u << BitCount) : 0;
  if (Offset > B.size() || BitsSize > B.size() - Offset || 14 + HeaderSize + Masks + Table > B.size() ||
      (Table > 0 && ColoursUsed > 256) || (Rle && BitsSize == 0))
    throw EInvalidGraphic("The BMP picture is cut short");
  if (BitCount == 32 && (Compression == 0 || Compression == 3))
    return CopyTrueColour(FBitmap, &B[Offset], int(Width), int(Height), RawHeight < 0);
  if (!(BitCount == 1 || BitCount == 4 || BitCount == 8 || BitCount == 16 || BitCount == 24) ||
      (Rle && !((Compression == 1 && BitCount == 8) || (Compression == 2 && BitCount == 4))))
    throw EInvalidGraphic("The BMP picture's kind is not supported");
  // The platform draws every other depth and compression into our 32-bit bitmap.
  TBitmap Loaded{int(Width), int(Height)};
  if (Loaded.Empty()) throw EInvalidGraphic("The BMP picture is too large");
  const auto* Info = reinterpret_cast<const BITMAPINFO*>(&B[14]);
  StretchDIBits(Loaded.Canvas().Handle(), 0, 0, int(Width), int(Height), 0, 0, int(Width), int(Height), &B[Offset],
                Info, DIB_RGB_COLORS, SRCCOPY);
  GdiFlush();
  std::uint32_t* Pixels = Loaded.Pixels();
  for (long long I = 0; I < Width * Height; ++I) Pixels[I] |= 0xFF000000u;
  SetBitmapPixels(FBitmap, int(Width), int(Height), Pixels);
}

std::vector<std::uint8_t> TBitmapImage::SaveToBytes() {
  const int W = FBitmap.Width(), H = FBitmap.Height();
  if (W <= 0 || H <= 0) throw EInvalidGraphic("An empty picture cannot be saved");
  const bool Alpha = FBitmap.HasAlpha;
  const std::size_t Stride = Alpha ? std::size_t(W) * 4 : (std::size_t(W) * 3 + 3) / 4 * 4;
  std::vector<std::uint8_t> B = {'B', 'M'};
  Put32(B, std::uint32_t(54 + Stride * H));
  Put32(B, 0);
  Put32(B, 54);
  Put32(B, 40);
  Put32(B, std::uint32_t(W));
  Put32(B, std::uint32_t(H));  // bottom row first, as every reader expects
  Put16(B, 1);
  Put16(B, Alpha ? 32 : 24);
  for (int I = 0; I < 6; ++I) Put32(B, 0);
  GdiFlush();
  const std::uint32_t* Pixels = FBitmap.Pixels();
  for (int Y = H - 1; Y >= 0; --Y) {
    const std::size_t Start = B.size();
    for (int X = 0; X < W; ++X) {
      const std::uint32_t P = Alpha ? Unpremultiplied(Pixels[std::size_t(Y) * W + X]) : Pixels[std::size_t(Y) * W + X];
      B.insert(B.end(), {std::uint8_t(P), std::uint8_t(P >> 8), std::uint8_t(P >> 16)});
      if (Alpha) B.push_back(std::uint8_t(P >> 24));
    }
    B.resize(Start + Stride, 0);
  }
  return B;
}

void TBitmapImage::Assign(TGraphic& Source) {
  if (&Source == this) return;
  Source.AssignTo(FBitmap);
  Changed();
}
