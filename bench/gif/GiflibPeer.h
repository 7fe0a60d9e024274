#pragma once
// giflib as a benchmark peer: decoding a file's frames to indices, and coding paletted frames.
// Without giflib (no HAVE_GIFLIB) GiflibAvailable() is false and the rest is never called.
#include <cstdint>
#include <vector>

#include "gif/GifTypes.h"

bool GiflibAvailable();
// The indices of every frame; the number of pixels decoded (0 on an error).
std::size_t GiflibDecode(const std::vector<std::uint8_t>& Gif);
// The frames (one global table, padded to a power of two) as a GIF file, as giflib writes it.
std::vector<std::uint8_t> GiflibEncode(const TGifFile& File);
