// Any bytes as a GIF file. Reading fails with EGifError or gives frames whose pixels stay inside
// their frame; every frame composes; a file read whole is written back and read again to the same
// indices.
#include <cstdint>

#include "gif/GifCompositor.h"
#include "gif/GifReader.h"
#include "gif/GifWriter.h"

namespace {

// Small enough that a screen composed many times keeps the fuzzer quick.
constexpr std::uint64_t FuzzMaxPixels = std::uint64_t(1) << 20;
constexpr int FuzzMaxComposedFrames = 64;

void CheckRoundTrip(const TGifFile& File) {
  std::vector<std::uint8_t> Again;
  try {
    Again = WriteGif(File);
  } catch (const EGifError&) {
    return;  // indices past a table, frames past 65535: readable, but not written
  }
  const TGifFile Read = ReadGif(Again.data(), Again.size(), TGifReadLimits{FuzzMaxPixels});
  if (Read.Frames.size() != File.Frames.size()) __builtin_trap();
  for (std::size_t I = 0; I < File.Frames.size(); ++I)
    if (Read.Frames[I].Indices != File.Frames[I].Indices) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TGifFile File;
  try {
    File = ReadGif(Data, Size, TGifReadLimits{FuzzMaxPixels});
  } catch (const EGifError&) {
    return 0;
  }
  bool Whole = File.Damage.empty();
  for (const TGifFrame& Frame : File.Frames) {
    const std::size_t Area = std::size_t(Frame.Width) * std::size_t(Frame.Height);
    if (Frame.Decoded > Area || Frame.Indices.size() != Frame.Decoded || Frame.Decoded == 0) __builtin_trap();
    Whole = Whole && Frame.Complete();
  }
  TGifCompositor Compositor(File);
  for (int I = 0; I < int(File.Frames.size()) && I < FuzzMaxComposedFrames; ++I) Compositor.Seek(I);
  if (Whole) CheckRoundTrip(File);
  return 0;
}
