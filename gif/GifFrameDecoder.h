#pragma once
// Decoding a frame's pixels: all at once into its indices (DecodeGifFrame), or run by run into a
// small buffer (TGifFrameDecoder) for a caller that draws them as they come and never holds them
// all. A frame cut short or with a bad code gives the indices before the damage and says why.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "gif/GifTypes.h"

class TLzwDecoder;

class TGifFrameDecoder {
 public:
  // The frame must outlive the decoder.
  explicit TGifFrameDecoder(const TGifFrame& Frame);
  ~TGifFrameDecoder();
  TGifFrameDecoder(const TGifFrameDecoder&) = delete;
  TGifFrameDecoder& operator=(const TGifFrameDecoder&) = delete;

  // The next Count indices, which continue the frame at position Start of the order it stores them
  // in (StoredInterlaced: by pass); false once the frame is over. Run stays valid until the next call.
  bool Next(const std::uint8_t*& Run, std::size_t& Count, std::size_t& Start);
  // The frame's rows come in interlaced order (a frame read from a file that stores them so).
  bool StoredInterlaced() const { return FFrame.Coded() && FFrame.Interlaced; }
  std::size_t Decoded() const { return FDecoded; }
  // Null for a frame that decoded whole; otherwise GifBadCode, GifCutShort or GifFrameEndsEarly.
  const char* Damage() const;

 private:
  const TGifFrame& FFrame;
  std::unique_ptr<TLzwDecoder> FLzw;
  std::vector<std::uint8_t> FBuffer;
  std::size_t FDecoded = 0;
  bool FOver = false;
};

struct TGifIndices {
  // Row by row from the top when Complete; a frame that stopped short holds the indices decoded, in
  // the order the frame stores them (interlaced frames by pass).
  std::vector<std::uint8_t> Indices;
  const char* Damage = nullptr;  // as TGifFrameDecoder::Damage
  bool Complete() const { return Damage == nullptr; }
};

// The whole frame. Memory stays in proportion to its codes: no frame gives more indices than its
// data can code.
TGifIndices DecodeGifFrame(const TGifFrame& Frame);
