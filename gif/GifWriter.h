#pragma once
// Writes frames of palette indices as a GIF file (GIF89a when it needs the 89a extensions, else
// GIF87a). Every frame of an animation carries its graphic control block; a single frame only when
// it has a delay, transparency or disposal to say.
#include <cstdint>
#include <vector>

#include "gif/GifTypes.h"
#include "gif/Lzw.h"

struct TGifWriteOptions {
  TLzwEncodeOptions Lzw;
};

// Frames read from a file are decoded and coded again. Every frame must be complete, inside a screen of 1 to 65535
// pixels a side, with a table (its own or the global one) of 1 to 256 colours that holds every index it uses; EGifError
// otherwise. Tables are padded to a power of two; each frame's LZW codes are as narrow as its indices allow.
std::vector<std::uint8_t> WriteGif(const TGifFile& File, const TGifWriteOptions& Options = {});
