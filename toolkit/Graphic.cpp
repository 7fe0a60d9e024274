#include "toolkit/Graphic.h"

#include <algorithm>

std::vector<std::uint8_t> ReadPictureFile(TFileSystem& FileSystem, const std::string& Path) {
  std::string Data;
  std::uint64_t Size = 0;
  if (!FileSystem.ReadFile(Path, MaxPictureFileBytes, Data, &Size))
    throw EInvalidGraphic("Cannot read the picture file " + Path);
  if (Size > MaxPictureFileBytes) throw EInvalidGraphic("The picture file is too large: " + Path);
  return std::vector<std::uint8_t>(Data.begin(), Data.end());
}

void WritePictureFile(TFileSystem& FileSystem, const std::string& Path, const std::vector<std::uint8_t>& Bytes) {
  if (!FileSystem.WriteFileAtomically(Path, std::string(Bytes.begin(), Bytes.end())))
    throw EInvalidGraphic("Cannot write the picture file " + Path);
}

void SetBitmapPixels(TBitmap& Target, int Width, int Height, const std::uint32_t* Pixels) {
  if (Target.Width() != Width || Target.Height() != Height) Target.SetSize(Width, Height);
  if (Target.Empty()) return;
  GdiFlush();
  const std::size_t Count = std::size_t(Width) * std::size_t(Height);
  std::copy_n(Pixels, Count, Target.Pixels());
  Target.HasAlpha = std::any_of(Pixels, Pixels + Count, [](std::uint32_t P) { return (P >> 24) != 0xFF; });
}

void TGraphic::LoadFromFile(TFileSystem& FileSystem, const std::string& Path) {
  LoadFromBytes(ReadPictureFile(FileSystem, Path));
}

void TGraphic::SaveToFile(TFileSystem& FileSystem, const std::string& Path) {
  WritePictureFile(FileSystem, Path, SaveToBytes());
}

void TGraphic::AssignTo(TBitmap& Target) {
  if (Empty()) {
    Target.SetSize(0, 0);
    return;
  }
  TBitmap& Source = Bitmap();
  GdiFlush();
  SetBitmapPixels(Target, Source.Width(), Source.Height(), Source.Pixels());
}

void TGraphic::Draw(TCanvas& Canvas, int X, int Y) {
  if (!Empty()) DrawPicture(Canvas, RECT{X, Y, X + Width(), Y + Height()}, Bitmap());
}

void TGraphic::Changed() {
  if (OnChange) OnChange(this);
}
