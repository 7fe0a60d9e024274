#include "bench/gif/BenchPictures.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {
TArgb Argb(double R, double G, double B) {
  auto Byte = [](double V) { return TArgb(std::clamp(std::lround(V), 0L, 255L)); };
  return 0xFF000000u | Byte(R) << 16 | Byte(G) << 8 | Byte(B);
}
}  // namespace

std::vector<TArgb> SyntheticPhoto(int Width, int Height, unsigned Seed) {
  std::mt19937 Random(Seed);
  std::uniform_real_distribution<double> U(0, 1);
  struct TBlob {
    double X, Y, R, Cr, Cg, Cb;
  };
  std::vector<TBlob> Blobs;
  for (int I = 0; I < 14; ++I)
    Blobs.push_back({U(Random) * Width, U(Random) * Height, (0.08 + 0.3 * U(Random)) * Width, U(Random) * 255,
                     U(Random) * 255, U(Random) * 255});
  std::normal_distribution<double> Grain(0, 3.5);
  std::vector<TArgb> Pixels;
  Pixels.reserve(std::size_t(Width) * Height);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) {
      // A sky-to-ground gradient under soft coloured blobs, with one hard-edged blob as an object.
      const double T = double(Y) / Height;
      double R = 120 + 90 * (1 - T), G = 140 + 60 * (1 - T) - 40 * T, B = 200 * (1 - T) + 60 * T;
      for (const TBlob& Blob : Blobs) {
        const double D = std::hypot(X - Blob.X, Y - Blob.Y) / Blob.R;
        const double W = &Blob == &Blobs[0] ? (D < 1 ? 0.9 : 0) : std::exp(-D * D * 2) * 0.7;
        R += (Blob.Cr - R) * W;
        G += (Blob.Cg - G) * W;
        B += (Blob.Cb - B) * W;
      }
      const double Shade = 0.85 + 0.15 * std::sin(X * 0.05) * std::cos(Y * 0.04);
      Pixels.push_back(Argb(R * Shade + Grain(Random), G * Shade + Grain(Random), B * Shade + Grain(Random)));
    }
  return Pixels;
}

TTrueColourFrame PhotoFrame(int Width, int Height, unsigned Seed) {
  TTrueColourFrame Frame;
  Frame.Width = Width;
  Frame.Height = Height;
  Frame.Pixels = SyntheticPhoto(Width, Height, Seed);
  return Frame;
}

TGifFile FlatGraphic(int Width, int Height, int Colours, unsigned Seed) {
  std::mt19937 Random(Seed);
  TGifFile File;
  File.Width = Width;
  File.Height = Height;
  for (int I = 0; I < Colours; ++I)
    File.GlobalPalette.push_back({std::uint8_t(Random()), std::uint8_t(Random()), std::uint8_t(Random())});
  TGifFrame Frame;
  Frame.Width = Width;
  Frame.Height = Height;
  Frame.Indices.assign(std::size_t(Width) * Height, 0);
  for (int Box = 0; Box < 400; ++Box) {
    const int W = 4 + int(Random() % 300), H = 2 + int(Random() % 120), X0 = int(Random() % unsigned(Width)),
              Y0 = int(Random() % unsigned(Height));
    const std::uint8_t Index = std::uint8_t(Random() % unsigned(Colours));
    for (int Y = Y0; Y < std::min(Height, Y0 + H); ++Y)
      for (int X = X0; X < std::min(Width, X0 + W); ++X)
        if (Box % 3 != 0 || (X + Y) % 7 < 3) Frame.Indices[std::size_t(Y) * Width + X] = Index;
  }
  File.Frames.push_back(std::move(Frame));
  return File;
}

std::vector<TTrueColourFrame> AnimationFrames(int Width, int Height, int Count, unsigned Seed) {
  const std::vector<TArgb> Background = SyntheticPhoto(Width, Height, Seed);
  std::vector<TTrueColourFrame> Frames;
  for (int F = 0; F < Count; ++F) {
    TTrueColourFrame Frame;
    Frame.Width = Width;
    Frame.Height = Height;
    Frame.Delay = 4;
    Frame.Pixels = Background;
    const double CX = Width * (0.2 + 0.6 * F / Count), CY = Height * (0.5 + 0.3 * std::sin(F * 0.3));
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X)
        if (std::hypot(X - CX, Y - CY) < Height / 6.0)
          Frame.Pixels[std::size_t(Y) * Width + X] = Argb(230, 60 + 2 * (X % 50), 40);
    Frames.push_back(std::move(Frame));
  }
  return Frames;
}
