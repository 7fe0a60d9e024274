#pragma once
// The reference pictures of tests/gif/data and small helpers shared by the GIF tests.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gif/GifCompositor.h"
#include "gif/GifFrameDecoder.h"
#include "gif/GifReader.h"

// The pictures of tests/gif/data made by other programs, each with its reference decoding beside it.
inline const char* const ReferencePictures[] = {"colours-2",
                                                "colours-4",
                                                "colours-8",
                                                "colours-16",
                                                "colours-32",
                                                "colours-64",
                                                "colours-128",
                                                "colours-256",
                                                "gif87a",
                                                "table-full",
                                                "deferred-clear",
                                                "interlaced",
                                                "interlaced-animation",
                                                "disposal-none",
                                                "disposal-background",
                                                "disposal-previous",
                                                "comment",
                                                "unknown-extension",
                                                "gifsicle-optimised",
                                                "giflib-encoded",
                                                "clipped"};

inline std::vector<std::uint8_t> ReadTestFile(const std::string& Name) {
  std::ifstream In(std::string(GIF_TEST_DATA) + "/" + Name, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

inline TGifFile ReadGifBytes(const std::vector<std::uint8_t>& Bytes, const TGifReadLimits& Limits = {}) {
  return ReadGif(Bytes.data(), Bytes.size(), Limits);
}

// A frame's indices, decoded whole (row by row from the top).
inline std::vector<std::uint8_t> IndicesOf(const TGifFrame& Frame) { return DecodeGifFrame(Frame).Indices; }

// The screen as the compositor shows it now.
inline std::vector<TArgb> PixelsOf(const TGifCompositor& Compositor) {
  return std::vector<TArgb>(Compositor.Pixels(),
                            Compositor.Pixels() + std::size_t(Compositor.Width()) * std::size_t(Compositor.Height()));
}

// Every frame composed, one after the other, as the reference tool writes them (R, G, B, A bytes).
inline std::vector<std::uint8_t> ComposedRgba(const TGifFile& File) {
  std::vector<std::uint8_t> Out;
  TGifCompositor Compositor(File);
  for (int I = 0; I < int(File.Frames.size()); ++I) {
    Compositor.Seek(I);
    for (TArgb P : PixelsOf(Compositor))
      Out.insert(Out.end(), {std::uint8_t(P >> 16), std::uint8_t(P >> 8), std::uint8_t(P), std::uint8_t(P >> 24)});
  }
  return Out;
}

// Pixels that differ, where a fully transparent pixel matches any other fully transparent one.
inline int DifferingPixels(const std::vector<std::uint8_t>& A, const std::vector<std::uint8_t>& B) {
  if (A.size() != B.size()) return -1;
  int Count = 0;
  for (std::size_t I = 0; I + 3 < A.size(); I += 4) {
    if (A[I + 3] == 0 && B[I + 3] == 0) continue;
    if (!std::equal(&A[I], &A[I + 4], &B[I])) ++Count;
  }
  return Count;
}
