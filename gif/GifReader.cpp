#include "gif/GifReader.h"

#include <algorithm>
#include <cstring>

#include "gif/Lzw.h"

const char* const GifNotAGif = "Not a GIF picture";
const char* const GifCutShort = "The GIF picture is cut short";
const char* const GifTooLarge = "The GIF picture is too large";
const char* const GifNoFrames = "The GIF picture has no frames";
const char* const GifNoColourTable = "A GIF frame has no colour table";
const char* const GifBadCodeSize = "A GIF frame has a bad LZW code size";
const char* const GifBadCode = "A GIF frame has a bad LZW code";
const char* const GifFrameEndsEarly = "A GIF frame ends before its last pixel";
const char* const GifUnknownBlock = "A GIF file has a block of unknown kind";

namespace {

// Raised inside the reader when the file ends or breaks; Read decides between error and damage.
struct TStop {
  const char* Message;
};

class TCursor {
 public:
  TCursor(const std::uint8_t* Data, std::size_t Size) : FData(Data), FLeft(Size) {}
  std::size_t Left() const { return FLeft; }
  void Need(std::size_t Count) const {
    if (FLeft < Count) throw TStop{GifCutShort};
  }
  std::uint8_t Byte() {
    Need(1);
    --FLeft;
    return *FData++;
  }
  int Word() {
    Need(2);
    const int Value = FData[0] | FData[1] << 8;
    FData += 2;
    FLeft -= 2;
    return Value;
  }
  const std::uint8_t* Take(std::size_t Count) {
    Need(Count);
    const std::uint8_t* At = FData;
    FData += Count;
    FLeft -= Count;
    return At;
  }

 private:
  const std::uint8_t* FData;
  std::size_t FLeft;
};

struct TControl {
  int Delay = 0;
  int TransparentIndex = -1;
  TGifDisposal Disposal = gdNone;
};

class TGifReader {
 public:
  TGifReader(const std::uint8_t* Data, std::size_t Size, const TGifReadLimits& Limits)
      : FIn(Data, Size), FSize(Size), FLimits(Limits) {}
  TGifFile Read();

 private:
  void ReadScreen();
  TGifPalette ReadPalette(int Packed);
  void ReadExtension();
  void SkipSubBlocks();
  void ReadFrame();
  void GatherImageData(std::vector<std::uint8_t>& Data, bool& Truncated);
  void NoteDamage(const char* Message) {
    if (FFile.Damage.empty()) FFile.Damage = Message;
  }

  TCursor FIn;
  std::size_t FSize;
  TGifReadLimits FLimits;
  TGifFile FFile;
  TControl FControl;
  std::uint64_t FFramePixels = 0;
  bool FEnded = false;
};

TGifFile TGifReader::Read() {
  if (FSize < 6) throw EGifError(GifNotAGif);
  const std::uint8_t* Signature = FIn.Take(6);
  if (std::memcmp(Signature, "GIF87a", 6) != 0 && std::memcmp(Signature, "GIF89a", 6) != 0) throw EGifError(GifNotAGif);
  try {
    ReadScreen();
    while (!FEnded && FIn.Left() > 0) {
      switch (FIn.Byte()) {
        case 0x2C: ReadFrame(); break;
        case 0x21: ReadExtension(); break;
        case 0x3B: FEnded = true; break;
        default: throw TStop{GifUnknownBlock};
      }
    }
  } catch (const TStop& Stop) {
    // Damage before the first pixel leaves nothing to show.
    if (FFile.Frames.empty()) throw EGifError(Stop.Message);
    NoteDamage(Stop.Message);
  }
  if (FFile.Frames.empty()) throw EGifError(FFile.Damage.empty() ? GifNoFrames : FFile.Damage);
  // A screen of no width or height takes the frames' extent, as browsers show such files.
  int Right = 0, Bottom = 0;
  for (const TGifFrame& Frame : FFile.Frames) {
    Right = std::max(Right, std::min(Frame.Left + Frame.Width, 65535));
    Bottom = std::max(Bottom, std::min(Frame.Top + Frame.Height, 65535));
  }
  if (FFile.Width == 0) FFile.Width = Right;
  if (FFile.Height == 0) FFile.Height = Bottom;
  if (std::uint64_t(FFile.Width) * std::uint64_t(FFile.Height) > FLimits.MaxScreenPixels) throw EGifError(GifTooLarge);
  return std::move(FFile);
}

void TGifReader::ReadScreen() {
  FFile.Width = FIn.Word();
  FFile.Height = FIn.Word();
  if (std::uint64_t(FFile.Width) * std::uint64_t(FFile.Height) > FLimits.MaxScreenPixels) throw TStop{GifTooLarge};
  const int Packed = FIn.Byte();
  FFile.BackgroundIndex = FIn.Byte();
  FIn.Byte();  // pixel aspect ratio: square pixels are assumed, as everywhere
  if (Packed & 0x80) FFile.GlobalPalette = ReadPalette(Packed);
}

TGifPalette TGifReader::ReadPalette(int Packed) {
  const std::size_t Count = std::size_t(2) << (Packed & 7);
  const std::uint8_t* Bytes = FIn.Take(Count * 3);
  TGifPalette Palette(Count);
  for (std::size_t I = 0; I < Count; ++I) Palette[I] = TGifRgb{Bytes[I * 3], Bytes[I * 3 + 1], Bytes[I * 3 + 2]};
  return Palette;
}

void TGifReader::SkipSubBlocks() {
  for (;;) {
    const std::size_t Size = FIn.Byte();
    if (Size == 0) return;
    FIn.Take(Size);
  }
}

void TGifReader::ReadExtension() {
  const int Label = FIn.Byte();
  const std::size_t Size = FIn.Byte();
  if (Size == 0) return;  // an extension with no data at all
  const std::uint8_t* Block = FIn.Take(Size);
  if (Label == 0xF9 && Size >= 4) {
    FControl.Disposal = TGifDisposal((Block[0] >> 2) & 7);
    if (FControl.Disposal > gdPrevious) FControl.Disposal = gdNone;  // 4 to 7 mean nothing yet
    FControl.Delay = Block[1] | Block[2] << 8;
    FControl.TransparentIndex = (Block[0] & 1) ? Block[3] : -1;
  } else if (Label == 0xFF && Size == 11 &&
             (std::memcmp(Block, "NETSCAPE2.0", 11) == 0 || std::memcmp(Block, "ANIMEXTS1.0", 11) == 0)) {
    const std::size_t DataSize = FIn.Byte();
    if (DataSize == 0) return;
    const std::uint8_t* Data = FIn.Take(DataSize);
    if (DataSize >= 3 && Data[0] == 1) FFile.LoopCount = Data[1] | Data[2] << 8;
  } else if (Label == 0x01) {
    FControl = TControl();  // plain text is not drawn, but it uses up its control block
  }
  SkipSubBlocks();
}

void TGifReader::GatherImageData(std::vector<std::uint8_t>& Data, bool& Truncated) {
  for (;;) {
    if (FIn.Left() == 0) {
      Truncated = true;
      break;
    }
    const std::size_t Size = FIn.Byte();
    if (Size == 0) break;
    const std::size_t Available = std::min(Size, FIn.Left());
    const std::uint8_t* Block = FIn.Take(Available);
    Data.insert(Data.end(), Block, Block + Available);
    if (Available < Size) {
      Truncated = true;
      break;
    }
  }
  Data.resize(Data.size() + LzwInputSlack, 0);
}

void TGifReader::ReadFrame() {
  TGifFrame Frame;
  Frame.Left = FIn.Word();
  Frame.Top = FIn.Word();
  Frame.Width = FIn.Word();
  Frame.Height = FIn.Word();
  const int Packed = FIn.Byte();
  Frame.Interlaced = (Packed & 0x40) != 0;
  if (Packed & 0x80) Frame.LocalPalette = ReadPalette(Packed);
  Frame.Delay = FControl.Delay;
  Frame.TransparentIndex = FControl.TransparentIndex;
  Frame.Disposal = FControl.Disposal;
  FControl = TControl();
  Frame.MinCodeSize = FIn.Byte();
  if (Frame.MinCodeSize < 2 || Frame.MinCodeSize > 8) throw TStop{GifBadCodeSize};
  if (Frame.LocalPalette.empty() && FFile.GlobalPalette.empty()) throw TStop{GifNoColourTable};
  FFramePixels += Frame.Area();
  if (FFramePixels > FLimits.MaxFramePixels) throw TStop{GifTooLarge};
  GatherImageData(Frame.Codes, Frame.CutShort);
  const bool CutShort = Frame.CutShort;
  // A frame of no size shows nothing.
  if (Frame.Area() > 0) FFile.Frames.push_back(std::move(Frame));
  if (CutShort) throw TStop{GifCutShort};
}

}  // namespace

TGifFile ReadGif(const std::uint8_t* Data, std::size_t Size, const TGifReadLimits& Limits) {
  return TGifReader(Data, Size, Limits).Read();
}
