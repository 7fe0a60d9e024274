#include "toolkit/Graphic.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

std::vector<std::uint8_t> ReadPictureFile(const std::string& Path) {
  std::ifstream In(std::filesystem::u8path(Path), std::ios::binary);
  if (!In) throw EInvalidGraphic("Cannot open the picture file " + Path);
  std::vector<std::uint8_t> Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  if (In.bad()) throw EInvalidGraphic("Cannot read the picture file " + Path);
  return Bytes;
}

void WritePictureFile(const std::string& Path, const std::vector<std::uint8_t>& Bytes) {
  std::ofstream Out(std::filesystem::u8path(Path), std::ios::binary | std::ios::trunc);
  Out.write(reinterpret_cast<const char*>(Bytes.data()), std::streamsize(Bytes.size()));
  if (!Out) throw EInvalidGraphic("Cannot write the picture file " + Path);
}

void SetBitmapPixels(TBitmap& Target, int Width, int Height, const std::uint32_t* Pixels) {
  if (Target.Width() != Width || Target.Height() != Height) Target.SetSize(Width, Height);
  if (Target.Empty()) return;
  GdiFlush();
  const std::size_t Count = std::size_t(Width) * std::size_t(Height);
  std::copy_n(Pixels, Count, Target.Pixels());
  Target.HasAlpha = std::any_of(Pixels, Pixels + Count, [](std::uint32_t P) { return (P >> 24) != 0xFF; });
}

void TGraphic::LoadFromFile(const std::string& Path) { LoadFromBytes(ReadPictureFile(Path)); }

void TGraphic::SaveToFile(const std::string& Path) { WritePictureFile(Path, SaveToBytes()); }

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
  if (Empty()) return;
  TBitmap& Source = Bitmap();
  if (!Source.HasAlpha) return Canvas.Draw(X, Y, Source);
  // The platform's blend wants premultiplied pixels; ours are straight.
  TBitmap Premultiplied(Source.Width(), Source.Height());
  if (Premultiplied.Empty()) return;
  GdiFlush();
  const std::uint32_t* In = Source.Pixels();
  std::uint32_t* Out = Premultiplied.Pixels();
  for (int I = 0; I < Source.Width() * Source.Height(); ++I) {
    const std::uint32_t P = In[I], A = P >> 24;
    auto Scale = [A](std::uint32_t C) { return (C * A + 127) / 255; };
    Out[I] = A << 24 | Scale(P >> 16 & 0xFF) << 16 | Scale(P >> 8 & 0xFF) << 8 | Scale(P & 0xFF);
  }
  Premultiplied.DrawAlphaOn(Canvas.Handle(), X, Y);
}

void TGraphic::Changed() {
  if (OnChange) OnChange(this);
}
