#pragma once
// Reads GIF87a and GIF89a files into frames that are decoded when they are drawn (GifFrameDecoder.h).
#include <cstddef>
#include <cstdint>
#include <string>

#include "gif/GifTypes.h"

// What a file may ask of memory and time, whatever its length. A player needs one canvas of the
// logical screen (4 bytes a pixel) and decodes each frame it shows; these bound both.
struct TGifReadLimits {
  // The largest logical screen in pixels: 2^26 (8192 x 8192, a canvas of 256 MiB).
  std::uint64_t MaxScreenPixels = std::uint64_t(1) << 26;
  // The most pixels of all frames together, counted from their own rectangles: what decoding every
  // frame once may cost. 2^30 (16 screens of the largest size); frames past it are not read.
  std::uint64_t MaxFramePixels = std::uint64_t(1) << 30;
};

// The file's frames in order, each kept as the file codes it (memory in proportion to the file).
// Throws EGifError for what is not a GIF picture, has no frame, or asks for more than the limits
// before its first frame; a file damaged after its first frame comes back with the frames before
// the damage and Damage set.
TGifFile ReadGif(const std::uint8_t* Data, std::size_t Size, const TGifReadLimits& Limits = {});

// The texts of the errors and damage notes (shown to users as they are).
extern const char* const GifNotAGif;
extern const char* const GifCutShort;
extern const char* const GifTooLarge;
extern const char* const GifNoFrames;
extern const char* const GifNoColourTable;
extern const char* const GifBadCodeSize;
extern const char* const GifBadCode;
extern const char* const GifFrameEndsEarly;
extern const char* const GifUnknownBlock;
