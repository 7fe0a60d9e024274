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

struct TLzwDecodeResult {
  std::size_t Written = 0;  // indices written (never more than the capacity)
  bool EndCode = false;     // the stream ended with its end code
  bool BadCode = false;     // a code that names no table entry stopped decoding
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
