// Choosing a palette for true-colour pictures, mapping onto it, dithering, and whole pictures to GIF.
#include <gtest/gtest.h>

#include <random>

#include "gif/GifEncoder.h"
#include "gif/Quantiser.h"
#include "tests/gif/GifTestFiles.h"

namespace {

TArgb Opaque(int R, int G, int B) { return 0xFF000000u | TArgb(R) << 16 | TArgb(G) << 8 | TArgb(B); }

TEST(QuantiserTest, APictureOfFewColoursKeepsThemExactly) {
  // 216 colours far enough apart that no two share a cell of the histogram.
  std::vector<TArgb> Pixels;
  for (int R = 0; R < 6; ++R)
    for (int G = 0; G < 6; ++G)
      for (int B = 0; B < 6; ++B) Pixels.insert(Pixels.end(), 1 + (R + G + B) % 5, Opaque(R * 51, G * 51, B * 51));
  TColourHistogram Histogram;
  Histogram.Add(Pixels.data(), Pixels.size());
  const TGifPalette Palette = Histogram.Palette(256);
  EXPECT_EQ(Palette.size(), 216u);
  const std::vector<std::uint8_t> Indices = MapToPalette(Pixels.data(), int(Pixels.size()), 1, Palette, false);
  for (std::size_t I = 0; I < Pixels.size(); ++I) ASSERT_EQ(ArgbOf(Palette[Indices[I]]), Pixels[I]) << I;
}

TEST(QuantiserTest, TheNearestColourIsExactlyTheNearest) {
  std::mt19937 Random(5);
  for (int Size : {1, 2, 7, 256}) {
    TGifPalette Palette;
    for (int I = 0; I < Size; ++I)
      Palette.push_back({std::uint8_t(Random()), std::uint8_t(Random()), std::uint8_t(Random())});
    TNearestColour Nearest(Palette);
    for (int Trial = 0; Trial < 5000; ++Trial) {
      const int R = int(Random() & 255), G = int(Random() & 255), B = int(Random() & 255);
      auto Distance = [&](int I) {
        const TGifRgb C = Palette[std::size_t(I)];
        return (R - C.R) * (R - C.R) + (G - C.G) * (G - C.G) + (B - C.B) * (B - C.B);
      };
      int Best = 0;
      for (int I = 1; I < Size; ++I)
        if (Distance(I) < Distance(Best)) Best = I;
      ASSERT_EQ(Distance(Nearest.Find(R, G, B)), Distance(Best)) << R << "," << G << "," << B;
    }
  }
}

TEST(QuantiserTest, DitheringKeepsTheAverageColourOfAnArea) {
  // Mid grey and a light red over a palette whose mixes can make them: the dots average to them.
  const int Width = 64, Height = 64;
  const TGifPalette Palette = {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}};
  for (TArgb Colour : {Opaque(128, 128, 128), Opaque(250, 170, 170)}) {
    const std::vector<TArgb> Pixels(Width * Height, Colour);
    const std::vector<std::uint8_t> Plain = MapToPalette(Pixels.data(), Width, Height, Palette, false);
    const std::vector<std::uint8_t> Dithered = MapToPalette(Pixels.data(), Width, Height, Palette, true);
    EXPECT_EQ(std::count(Plain.begin(), Plain.end(), Plain[0]), Width * Height);  // one flat colour
    double Sum[3] = {};
    for (std::uint8_t I : Dithered) {
      Sum[0] += Palette[I].R;
      Sum[1] += Palette[I].G;
      Sum[2] += Palette[I].B;
    }
    EXPECT_NEAR(Sum[0] / Dithered.size(), double(Colour >> 16 & 0xFF), 1.5);
    EXPECT_NEAR(Sum[1] / Dithered.size(), double(Colour >> 8 & 0xFF), 1.5);
    EXPECT_NEAR(Sum[2] / Dithered.size(), double(Colour & 0xFF), 1.5);
  }
}

TEST(QuantiserTest, TransparentPixelsTakeTheTransparentIndexAndPassNoError) {
  std::vector<TArgb> Pixels(16, Opaque(128, 128, 128));
  Pixels[5] = 0x7FFFFFFFu;  // alpha just below half
  const TGifPalette Palette = {{0, 0, 0}, {255, 255, 255}};
  for (bool Dither : {false, true}) {
    const std::vector<std::uint8_t> Indices = MapToPalette(Pixels.data(), 4, 4, Palette, Dither, 2);
    EXPECT_EQ(Indices[5], 2);
    EXPECT_EQ(std::count(Indices.begin(), Indices.end(), 2), 1);
  }
}

TEST(GifEncoderTest, AnAnimationWithTransparencyRoundTrips) {
  std::vector<TTrueColourFrame> Frames(2);
  for (int I = 0; I < 2; ++I) {
    TTrueColourFrame& F = Frames[std::size_t(I)];
    F.Left = I * 4;
    F.Width = 12;
    F.Height = 10;
    F.Delay = 5 + I;
    F.Disposal = gdBackground;
    for (int P = 0; P < F.Width * F.Height; ++P)
      F.Pixels.push_back(P % 7 == 0 ? 0 : Opaque((P * 40) % 256, I * 100, 30 * (P % 3)));
  }
  TGifEncodeOptions Options;
  Options.LoopCount = 2;
  const TGifFile File = ReadGifBytes(EncodeGif(Frames, Options));
  ASSERT_EQ(File.Frames.size(), 2u);
  EXPECT_EQ(File.Width, 16);
  EXPECT_EQ(File.LoopCount, 2);
  EXPECT_EQ(File.Frames[1].Delay, 6);
  EXPECT_EQ(File.Frames[1].Disposal, gdBackground);
  for (std::size_t I = 0; I < 2; ++I) {
    const TGifFrame& Frame = File.Frames[I];
    const std::vector<std::uint8_t> Indices = IndicesOf(Frame);
    ASSERT_EQ(Indices.size(), Frames[I].Pixels.size());
    for (std::size_t P = 0; P < Indices.size(); ++P) {
      const int Index = Indices[P];
      const TArgb Shown = Index == Frame.TransparentIndex ? 0 : ArgbOf(File.GlobalPalette[std::size_t(Index)]);
      ASSERT_EQ(Shown, Frames[I].Pixels[P]) << "frame " << I << " pixel " << P;
    }
  }
}

TEST(GifEncoderTest, APictureOfOneColourStillHasATableOfTwo) {
  TTrueColourFrame Frame;
  Frame.Width = Frame.Height = 3;
  Frame.Pixels.assign(9, Opaque(10, 20, 30));
  const TGifFile File = ReadGifBytes(EncodeGif({Frame}));
  EXPECT_EQ(ArgbOf(File.GlobalPalette[IndicesOf(File.Frames[0])[4]]), Opaque(10, 20, 30));
}

}  // namespace
