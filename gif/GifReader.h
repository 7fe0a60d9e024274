#pragma once
// Reads GIF87a and GIF89a files into frames of palette indices.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gif/GifTypes.h"

struct TGifReadLimits {
  // The largest logical screen and the largest frame, in pixels (a side is at most 65535 anyway).
  std::uint64_t MaxPixels = std::uint64_t(1) << 26;
};

// The file's frames in order. Throws EGifError for what is not a GIF picture or shows nothing;
// a file damaged after its first pixels comes back with what could be read and Damage set.
// Memory stays in proportion to the file: no frame holds more indices than its data can code.
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
