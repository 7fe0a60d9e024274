#pragma once
// True-colour pictures (one or an animation) to a GIF file: one palette chosen for all frames,
// optional dithering, transparency for pixels with little alpha, and the timing of each frame.
#include <cstdint>
#include <vector>

#include "gif/GifTypes.h"

struct TTrueColourFrame {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  std::vector<TArgb> Pixels;  // Width x Height, row by row from the top
  int Delay = 0;              // hundredths of a second
  TGifDisposal Disposal = gdNone;
};

struct TGifEncodeOptions {
  // 2 to 256; one of them becomes the transparent index when a frame has transparent pixels.
  int MaxColours = 256;
  bool Dither = false;
  int LoopCount = -1;  // as TGifFile::LoopCount
  bool Interlaced = false;
};

// The frames as palette indices, ready for WriteGif. The screen is as large as the frames reach.
TGifFile QuantiseFrames(const std::vector<TTrueColourFrame>& Frames, const TGifEncodeOptions& Options = {});
// QuantiseFrames, then WriteGif.
std::vector<std::uint8_t> EncodeGif(const std::vector<TTrueColourFrame>& Frames, const TGifEncodeOptions& Options = {});
