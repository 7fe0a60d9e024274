#include "gridview/demo/DemoGifs.h"

#include <algorithm>
#include <cmath>

#include "gif/GifEncoder.h"
#include "toolkit/GifImage.h"

namespace {

constexpr double Pi = 3.14159265358979;

TArgb Argb(double R, double G, double B, double A = 255) {
  auto Byte = [](double V) { return TArgb(std::clamp(std::lround(V), 0L, 255L)); };
  return Byte(A) << 24 | Byte(R) << 16 | Byte(G) << 8 | Byte(B);
}

// Twelve frames of a shaded ball falling, squashing on the ground and rising, over its shadow.
std::vector<TTrueColourFrame> BallFrames() {
  std::vector<TTrueColourFrame> Frames;
  const int Size = 28, Count = 12;
  for (int F = 0; F < Count; ++F) {
    TTrueColourFrame Frame;
    Frame.Width = Frame.Height = Size;
    Frame.Delay = 6;
    Frame.Disposal = gdBackground;
    const double Height = std::fabs(std::cos(Pi * F / Count));  // 1 at the top, 0 on the ground
    const double Squash = Height < 0.15 ? 1.25 : 1.0;
    const double CX = 14, CY = 7 + 13 * (1 - Height), RX = 6.5 * Squash, RY = 6.5 / Squash;
    for (int Y = 0; Y < Size; ++Y)
      for (int X = 0; X < Size; ++X) {
        const double DX = (X + 0.5 - CX) / RX, DY = (Y + 0.5 - CY) / RY, D = DX * DX + DY * DY;
        const double SX = (X + 0.5 - 14) / (5 + 3 * (1 - Height)), SY = (Y + 0.5 - 26) / 1.6;
        TArgb P = 0;
        if (SX * SX + SY * SY < 1) P = Argb(90, 90, 100);  // the shadow, wider as the ball comes down
        if (D < 1) {
          const double Light = std::max(0.0, 1 - std::hypot(DX + 0.35, DY + 0.4) / 1.4);
          P = Argb(150 + 105 * Light, 30 + 170 * Light * Light, 40 + 160 * Light * Light);
        }
        Frame.Pixels.push_back(P);
      }
    Frames.push_back(std::move(Frame));
  }
  return Frames;
}

// A sky from orange to violet, a low sun and its broken reflection on the sea.
TTrueColourFrame Sunset() {
  TTrueColourFrame Frame;
  Frame.Width = 40;
  Frame.Height = 28;
  for (int Y = 0; Y < 28; ++Y)
    for (int X = 0; X < 40; ++X) {
      const double T = Y / 17.0, Sun = std::hypot(X - 26.0, Y - 15.0);
      TArgb P = Argb(250 - 90 * T, 170 - 120 * T, 80 + 60 * T);
      if (Sun < 5) P = Argb(255, 235, 150);
      if (Y >= 18) {
        const double Depth = (Y - 18) / 10.0;
        const bool Glint = std::fabs(X - 26.0) < 6 - 4 * Depth && (X + Y * 3) % 5 < 2;
        P = Glint ? Argb(250, 200, 120) : Argb(40 + 30 * Depth, 60 + 20 * Depth, 110 - 30 * Depth);
      }
      Frame.Pixels.push_back(P);
    }
  return Frame;
}

std::unique_ptr<TPicture> PictureOf(const std::vector<TTrueColourFrame>& Frames, const TGifEncodeOptions& Options) {
  auto Gif = std::make_unique<TGifImage>();
  Gif->LoadFromBytes(EncodeGif(Frames, Options));
  auto Picture = std::make_unique<TPicture>();
  Picture->SetGraphic(std::move(Gif));
  return Picture;
}

}  // namespace

std::vector<std::unique_ptr<TPicture>> MakeDemoGifs() {
  std::vector<std::unique_ptr<TPicture>> Pictures;
  TGifEncodeOptions Ball;
  Ball.LoopCount = 0;
  Pictures.push_back(PictureOf(BallFrames(), Ball));
  TGifEncodeOptions Few;
  Few.MaxColours = 16;
  Few.Dither = true;
  Pictures.push_back(PictureOf({Sunset()}, Few));
  Few.Dither = false;
  Pictures.push_back(PictureOf({Sunset()}, Few));
  return Pictures;
}
