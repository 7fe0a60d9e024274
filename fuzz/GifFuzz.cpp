// Any bytes as a GIF file. Reading fails with EGifError or gives frames that decode to no more than
// their area, whole or with a reason; every frame composes, piece by piece, to as many pixels as it
// decodes whole; a file read whole is written back and read again to the same indices.
#include <cstdint>

#include "gif/GifCompositor.h"
#include "gif/GifFrameDecoder.h"
#include "gif/GifReader.h"
#include "gif/GifWriter.h"

namespace {

// Small enough that a screen composed many times keeps the fuzzer quick.
constexpr std::uint64_t FuzzMaxPixels = std::uint64_t(1) << 20;
constexpr int FuzzMaxComposedFrames = 64;

void CheckRoundTrip(const TGifFile& File, const std::vector<std::vector<std::uint8_t>>& Indices) {
  std::vector<std::uint8_t> Again;
  try {
    Again = WriteGif(File);
  } catch (const EGifError&) {
    return;  // indices past a table, frames past 65535: readable, but not written
  }
  const TGifFile Read = ReadGif(Again.data(), Again.size(), TGifReadLimits{FuzzMaxPixels, FuzzMaxPixels * 64});
  if (Read.Frames.size() != File.Frames.size()) __builtin_trap();
  for (std::size_t I = 0; I < File.Frames.size(); ++I)
    if (DecodeGifFrame(Read.Frames[I]).Indices != Indices[I]) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TGifFile File;
  try {
    File = ReadGif(Data, Size, TGifReadLimits{FuzzMaxPixels, FuzzMaxPixels * 64});
  } catch (const EGifError&) {
    return 0;
  }
  bool Whole = File.Damage.empty();
  std::vector<std::vector<std::uint8_t>> Indices;
  for (const TGifFrame& Frame : File.Frames) {
    const TGifIndices Decoded = DecodeGifFrame(Frame);
    if (Decoded.Indices.size() > Frame.Area() || Decoded.Complete() != (Decoded.Indices.size() == Frame.Area()))
      __builtin_trap();
    Whole = Whole && Decoded.Complete();
    Indices.push_back(Decoded.Indices);
  }
  TGifCompositor Compositor(File);
  for (int I = 0; I < int(File.Frames.size()) && I < FuzzMaxComposedFrames; ++I) {
    Compositor.Seek(I);
    if (Compositor.Decoded() != Indices[std::size_t(I)].size()) __builtin_trap();
  }
  if (Whole) CheckRoundTrip(File, Indices);
  return 0;
}
