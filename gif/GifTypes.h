#pragma once
// What a GIF file holds, as the reader gives it and the writer takes it: the logical screen, colour
// tables, and frames of palette indices with their timing, transparency and disposal.
#include <cstdint>
#include <string>
#include <vector>

#include "core/Exceptions.h"

// A file that is not a GIF picture, or one too damaged to show anything; or frames the writer refuses.
class EGifError : public Exception {
 public:
  using Exception::Exception;
};

struct TGifRgb {
  std::uint8_t R = 0, G = 0, B = 0;
  bool operator==(const TGifRgb& O) const { return R == O.R && G == O.G && B == O.B; }
};

// 2 to 256 colours (a file's table is a power of two long; the writer pads).
using TGifPalette = std::vector<TGifRgb>;

// A pixel as the toolkit's 32-bit bitmaps hold it: alpha, red, green, blue from the high byte down
// (bytes blue, green, red, alpha in memory). Colours are premultiplied by alpha; a GIF pixel is
// either opaque (the same either way) or clear (0).
using TArgb = std::uint32_t;
constexpr TArgb ArgbOf(TGifRgb C) { return TArgb(0xFF) << 24 | TArgb(C.R) << 16 | TArgb(C.G) << 8 | C.B; }

// What happens to a frame's area before the next frame is drawn.
enum TGifDisposal : std::uint8_t {
  gdNone = 0,        // unspecified: left as it is
  gdLeave = 1,       // left as it is
  gdBackground = 2,  // cleared to transparent, as browsers do (the background colour index is not used)
  gdPrevious = 3,    // put back as it was before the frame was drawn
};

struct TGifFrame {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  // Empty: the file's global table.
  TGifPalette LocalPalette;
  // A frame a program made (what the writer takes): Width x Height palette indices, row by row from
  // the top.
  std::vector<std::uint8_t> Indices;
  // A frame read from a file keeps its pixels as the file codes them, and is decoded when it is
  // drawn (DecodeGifFrame, TGifCompositor): its LZW codes with the sub-block lengths taken out and
  // LzwInputSlack zero bytes after them, and their minimum code size (0: the frame holds Indices).
  std::vector<std::uint8_t> Codes;
  int MinCodeSize = 0;
  bool CutShort = false;  // the file ended inside the frame's codes
  bool Interlaced = false;
  // Hundredths of a second the frame stays, as the file says (players stretch 0 and 1, see below).
  int Delay = 0;
  int TransparentIndex = -1;  // -1: every index is opaque
  TGifDisposal Disposal = gdNone;

  bool Coded() const { return MinCodeSize > 0; }
  std::size_t Area() const { return std::size_t(Width) * std::size_t(Height); }
};

struct TGifFile {
  int Width = 0, Height = 0;  // the logical screen
  TGifPalette GlobalPalette;
  int BackgroundIndex = 0;
  // From the looping application extension: -1 when the file has none (shown once), 0 for ever,
  // N for N repeats after the first showing.
  int LoopCount = -1;
  std::vector<TGifFrame> Frames;
  // Empty for a file whose blocks are intact. Otherwise what was wrong with a file whose first frame
  // could still be read: the frames before the damage are kept. Damage inside a frame's codes shows
  // when the frame is decoded.
  std::string Damage;

  const TGifPalette& PaletteOf(const TGifFrame& Frame) const {
    return Frame.LocalPalette.empty() ? GlobalPalette : Frame.LocalPalette;
  }
};

// A frame's delay as browsers play it: 0 and 1 hundredth become 10 (a file asking for "as fast as
// possible" would otherwise spin), in milliseconds.
constexpr int PlayedDelayMs(int Hundredths) { return (Hundredths <= 1 ? 10 : Hundredths) * 10; }
