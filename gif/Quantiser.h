#pragma once
// Reduces true-colour pictures to a palette of at most 256 colours and maps them onto it, plainly or
// with Floyd-Steinberg dithering. The palette comes from Wu's variance-minimising cuts of the colour
// histogram, refined by a few rounds of k-means over the pictures' colours.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "gif/GifTypes.h"

// Pixels with alpha below this are transparent in a GIF; the rest are opaque.
constexpr unsigned OpaqueAlpha = 128;

// The colours of one or more pictures, gathered before a palette is chosen for all of them.
class TColourHistogram {
 public:
  TColourHistogram();
  ~TColourHistogram();
  TColourHistogram(const TColourHistogram&) = delete;
  TColourHistogram& operator=(const TColourHistogram&) = delete;

  // Counts the opaque pixels (transparent ones are left out).
  void Add(const TArgb* Pixels, std::size_t Count);
  std::uint64_t Opaque() const { return FOpaque; }
  std::uint64_t Transparent() const { return FTransparent; }
  // At most MaxColours (1 to 256) colours; fewer when the pictures have fewer.
  TGifPalette Palette(int MaxColours) const;

 private:
  struct TMoments;
  std::unique_ptr<TMoments> FMoments;
  std::uint64_t FOpaque = 0, FTransparent = 0;
};

// The palette entry nearest to a colour (least squared RGB distance), exactly, without trying all
// of them: each cell of a 16 x 16 x 16 grid of the colour cube keeps the few entries that can be
// nearest to some colour inside it, found the first time a colour falls in the cell.
class TNearestColour {
 public:
  explicit TNearestColour(const TGifPalette& Palette);
  int Find(int R, int G, int B);

 private:
  void BuildCell(int Cell);

  TGifPalette FPalette;
  std::vector<std::uint32_t> FFirst;  // per cell: where its candidates start in FCandidates, or unbuilt
  std::vector<std::uint16_t> FCount;
  std::vector<std::uint8_t> FCandidates;
};

// Palette indices for Width x Height pixels: the nearest colour of each opaque pixel, or with
// Dither the colour that Floyd-Steinberg error diffusion (serpentine) chooses. Transparent pixels
// get TransparentIndex (and pass no error on).
std::vector<std::uint8_t> MapToPalette(const TArgb* Pixels, int Width, int Height, const TGifPalette& Palette,
                                       bool Dither, int TransparentIndex = -1);
