#include "gif/GifFrameDecoder.h"

#include <algorithm>

#include "gif/GifReader.h"
#include "gif/Interlace.h"
#include "gif/Lzw.h"

namespace {
// Indices decoded per run: enough that strings rarely reach back past the buffer.
constexpr std::size_t RunSize = std::size_t(1) << 16;
// No LZW code codes more than 4096 indices, and none is shorter than 3 bits: the most pixels a
// byte of codes can ever give.
constexpr std::size_t MaxPixelsPerByte = 4096 * 8 / 3 + 1;

std::size_t CodedBytes(const TGifFrame& Frame) {
  return Frame.Codes.size() > LzwInputSlack ? Frame.Codes.size() - LzwInputSlack : 0;
}
}  // namespace

TGifFrameDecoder::TGifFrameDecoder(const TGifFrame& Frame) : FFrame(Frame) {
  if (!Frame.Coded()) return;
  const std::size_t Coded = CodedBytes(Frame);
  FLzw = std::make_unique<TLzwDecoder>(Frame.Codes.data(), Coded, Frame.MinCodeSize, Frame.Area());
  FBuffer.resize(std::min(RunSize, std::min(Frame.Area(), Coded * MaxPixelsPerByte)) + LzwOutputSlack);
}

TGifFrameDecoder::~TGifFrameDecoder() = default;

bool TGifFrameDecoder::Next(const std::uint8_t*& Run, std::size_t& Count, std::size_t& Start) {
  if (FOver) return false;
  Start = FDecoded;
  if (!FLzw) {
    FOver = true;
    Run = FFrame.Indices.data();
    Count = std::min(FFrame.Indices.size(), FFrame.Area());
  } else {
    Run = FBuffer.data();
    // The buffer holds the longest string (or the whole frame), so only the end gives nothing.
    Count = FLzw->Decode(FBuffer.data(), FBuffer.size() - LzwOutputSlack);
    FOver = Count == 0;
  }
  FDecoded += Count;
  return Count > 0;
}

const char* TGifFrameDecoder::Damage() const {
  if (FDecoded >= FFrame.Area()) return nullptr;
  if (FLzw && FLzw->BadCode()) return GifBadCode;
  return FFrame.CutShort ? GifCutShort : GifFrameEndsEarly;
}

TGifIndices DecodeGifFrame(const TGifFrame& Frame) {
  TGifIndices Result;
  if (!Frame.Coded()) {
    Result.Indices.assign(Frame.Indices.begin(),
                          Frame.Indices.begin() + std::ptrdiff_t(std::min(Frame.Indices.size(), Frame.Area())));
    if (Result.Indices.size() < Frame.Area()) Result.Damage = GifFrameEndsEarly;
    return Result;
  }
  const std::size_t Coded = CodedBytes(Frame);
  const std::size_t Capacity = std::min(Frame.Area(), Coded * MaxPixelsPerByte);
  Result.Indices.resize(Capacity + LzwOutputSlack);
  const TLzwDecodeResult Decoded =
      LzwDecode(Frame.Codes.data(), Coded, Frame.MinCodeSize, Result.Indices.data(), Capacity);
  Result.Indices.resize(Decoded.Written);
  if (Decoded.Written < Frame.Area()) {
    Result.Indices.shrink_to_fit();
    Result.Damage = Decoded.BadCode ? GifBadCode : Frame.CutShort ? GifCutShort : GifFrameEndsEarly;
  } else if (Frame.Interlaced) {
    Result.Indices = Deinterlaced(Result.Indices, Frame.Width, Frame.Height);
  }
  return Result;
}
