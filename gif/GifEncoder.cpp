#include "gif/GifEncoder.h"

#include <algorithm>

#include "gif/GifWriter.h"
#include "gif/Quantiser.h"

TGifFile QuantiseFrames(const std::vector<TTrueColourFrame>& Frames, const TGifEncodeOptions& Options) {
  TGifFile File;
  TColourHistogram Histogram;
  for (const TTrueColourFrame& Frame : Frames) {
    if (Frame.Width < 1 || Frame.Height < 1 ||
        Frame.Pixels.size() != std::size_t(Frame.Width) * std::size_t(Frame.Height))
      throw EGifError("A frame needs a pixel for each of its places");
    Histogram.Add(Frame.Pixels.data(), Frame.Pixels.size());
    File.Width = std::max(File.Width, Frame.Left + Frame.Width);
    File.Height = std::max(File.Height, Frame.Top + Frame.Height);
  }
  const int MaxColours = std::clamp(Options.MaxColours, 2, 256);
  const bool Transparency = Histogram.Transparent() > 0;
  File.GlobalPalette = Histogram.Palette(Transparency ? MaxColours - 1 : MaxColours);
  const int TransparentIndex = Transparency ? int(File.GlobalPalette.size()) : -1;
  if (Transparency) File.GlobalPalette.push_back(TGifRgb{});
  // A table holds two colours at least.
  while (File.GlobalPalette.size() < 2) File.GlobalPalette.push_back(TGifRgb{});
  File.LoopCount = Options.LoopCount;
  for (const TTrueColourFrame& Frame : Frames) {
    TGifFrame Out;
    Out.Left = Frame.Left;
    Out.Top = Frame.Top;
    Out.Width = Frame.Width;
    Out.Height = Frame.Height;
    Out.Delay = Frame.Delay;
    Out.Disposal = Frame.Disposal;
    Out.Interlaced = Options.Interlaced;
    Out.Indices = MapToPalette(Frame.Pixels.data(), Frame.Width, Frame.Height, File.GlobalPalette, Options.Dither,
                               TransparentIndex);
    const bool Clear =
        std::any_of(Frame.Pixels.begin(), Frame.Pixels.end(), [](TArgb P) { return (P >> 24) < OpaqueAlpha; });
    Out.TransparentIndex = Clear ? TransparentIndex : -1;
    File.Frames.push_back(std::move(Out));
  }
  return File;
}

std::vector<std::uint8_t> EncodeGif(const std::vector<TTrueColourFrame>& Frames, const TGifEncodeOptions& Options) {
  return WriteGif(QuantiseFrames(Frames, Options));
}
