#pragma once
// The variable-length-code LZW of GIF image data: codes of MinCodeSize + 1 up to 12 bits, least
// significant bit first, with a clear code (1 << MinCodeSize) and an end code after it.
#include <cstddef>
#include <cstdint>
#include <vector>

// Bytes the decoder may write past the capacity it is given (its copies run in whole words).
constexpr std::size_t LzwOutputSlack = 16;
// Bytes of zeros the decoder may read past the end of its input.
constexpr std::size_t LzwInputSlack = 8;

// The longest string one code stands for.
constexpr std::size_t LzwMaxString = 4096;

struct TLzwDecodeResult {
  std::size_t Written = 0;  // indices written (never more than the capacity)
  bool EndCode = false;     // the stream ended with its end code
  bool BadCode = false;     // a code that names no table entry stopped decoding
};

// Decodes a stream of codes piece by piece into buffers the caller hands it, so that a frame can be
// drawn as it decodes without holding all of its indices. A code's string is copied from earlier
// output while that is still in the caller's buffer, and rebuilt from the table otherwise.
class TLzwDecoder {
 public:
  // Data: Size bytes followed by LzwInputSlack readable bytes, alive while decoding. Limit: the most
  // indices the stream may give (at most 2^32 - 1: a frame is at most 65535 x 65535). MinCodeSize
  // is 1 to 8.
  TLzwDecoder(const std::uint8_t* Data, std::size_t Size, int MinCodeSize, std::size_t Limit);
  // The next indices into Out, which has room for Room + LzwOutputSlack bytes: how many were
  // written, 0 once the stream is over. Room must be at least LzwMaxString, or what is left of the
  // limit. Stops at the end code, a bad code, the end of the data, or the limit.
  std::size_t Decode(std::uint8_t* Out, std::size_t Room);
  bool Finished() const { return FFinished; }
  bool EndCode() const { return FEndCode; }
  bool BadCode() const { return FBadCode; }
  // Indices given so far.
  std::size_t Position() const { return FPos; }

 private:
  static constexpr unsigned TableSize = 4096;
  static constexpr std::size_t MaxLimit = 0xFFFFFFFFu;
  void Rebuild(unsigned Code, std::size_t Length, std::uint8_t* To, std::size_t Count) const;

  const std::uint8_t* FData;
  std::size_t FSize, FInPos = 0, FLimit, FPos = 0;
  std::uint64_t FBits = 0, FConsumed = 0;
  unsigned FBitCount = 0;
  const unsigned FMinCodeSize, FClear;
  unsigned FNext, FWidth;
  int FPending = -1;  // a code read whose string did not fit the last buffer
  bool FHavePrev = false, FFinished = false, FEndCode = false, FBadCode = false;
  unsigned FPrevCode = 0;
  std::size_t FPrevPos = 0, FPrevLen = 0;
  // Entry E: the string of Prefix[E] followed by Suffix[E], Length[E] long, last written at
  // position Offset[E] of the output.
  std::uint32_t FOffset[TableSize];
  std::uint16_t FLength[TableSize];
  std::uint16_t FPrefix[TableSize];
  std::uint8_t FSuffix[TableSize];
};

// Decodes codes from Data (Size bytes followed by LzwInputSlack readable bytes) into Out, which has
// room for Capacity + LzwOutputSlack bytes. Stops at the end code, a bad code, the end of the data,
// or when Capacity indices are written. A full table keeps its codes until the next clear code.
// MinCodeSize is 1 to 8.
TLzwDecodeResult LzwDecode(const std::uint8_t* Data, std::size_t Size, int MinCodeSize, std::uint8_t* Out,
                           std::size_t Capacity);

struct TLzwEncodeOptions {
  // A full table is kept while it codes better than a fresh one would (judged by how well the table
  // coded while it filled); off, it is cleared at once, as most encoders do.
  bool AdaptiveClear = true;
  // More than 0: exactly this many codes are written with a full table before it is cleared.
  std::size_t ClearDelay = 0;
};

// Codes Count indices (each below 1 << MinCodeSize) as one LZW stream: a clear code first, a clear
// code when the 4096-entry table is full (at once, or as the options say), the end code last.
// MinCodeSize is 2 to 8.
std::vector<std::uint8_t> LzwEncode(const std::uint8_t* Indices, std::size_t Count, int MinCodeSize,
                                    const TLzwEncodeOptions& Options = {});
