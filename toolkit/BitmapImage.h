#pragma once
// Pictures in the BMP format: read through the platform's DIB drawing (every depth and both RLE
// kinds), 32-bit ones with their alpha; written as 24-bit, or 32-bit when they have alpha.
#include "toolkit/Graphic.h"

class TBitmapImage : public TGraphic {
 public:
  int Width() const override { return FBitmap.Width(); }
  int Height() const override { return FBitmap.Height(); }
  TBitmap& Bitmap() override { return FBitmap; }
  void LoadFromBytes(const std::vector<std::uint8_t>& Bytes) override;
  std::vector<std::uint8_t> SaveToBytes() override;
  void Assign(TGraphic& Source) override;

 private:
  TBitmap FBitmap;
};
