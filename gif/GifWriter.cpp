#include "gif/GifWriter.h"

#include <algorithm>

#include "gif/GifFrameDecoder.h"
#include "gif/Interlace.h"

namespace {

// Bits for a table of Count entries (at least 1: a table holds 2 or more).
int TableBits(std::size_t Count) {
  int Bits = 1;
  while ((std::size_t(1) << Bits) < Count) ++Bits;
  return Bits;
}

bool NeedsControl(const TGifFrame& Frame);

class TGifWriter {
 public:
  TGifWriter(const TGifFile& File, const TGifWriteOptions& Options) : FFile(File), FOptions(Options) {}
  std::vector<std::uint8_t> Write();

 private:
  void Validate() const;
  void ValidateFrame(const TGifFrame& Frame) const;
  bool WritesControl(const TGifFrame& Frame) const;
  bool NeedsExtensions() const;
  void Byte(int Value) { FOut.push_back(std::uint8_t(Value)); }
  void Word(int Value) {
    Byte(Value & 0xFF);
    Byte(Value >> 8 & 0xFF);
  }
  void Palette(const TGifPalette& Palette);
  void LoopExtension();
  void ControlExtension(const TGifFrame& Frame);
  void Frame(const TGifFrame& Frame);
  void SubBlocks(const std::vector<std::uint8_t>& Data);

  const TGifFile& FFile;
  const TGifWriteOptions& FOptions;
  std::vector<std::uint8_t> FOut;
};

void TGifWriter::Validate() const {
  if (FFile.Width < 1 || FFile.Height < 1 || FFile.Width > 65535 || FFile.Height > 65535)
    throw EGifError("A GIF picture is 1 to 65535 pixels wide and high");
  if (FFile.Frames.empty()) throw EGifError("A GIF picture needs a frame");
  if (FFile.GlobalPalette.size() > 256) throw EGifError("A GIF colour table holds at most 256 colours");
  for (const TGifFrame& Frame : FFile.Frames) ValidateFrame(Frame);
}

void TGifWriter::ValidateFrame(const TGifFrame& Frame) const {
  if (Frame.Width < 1 || Frame.Height < 1 || Frame.Left < 0 || Frame.Top < 0 || Frame.Left + Frame.Width > 65535 ||
      Frame.Top + Frame.Height > 65535)
    throw EGifError("A GIF frame lies outside 65535 by 65535 pixels");
  if (!Frame.Coded() && Frame.Indices.size() != Frame.Area())
    throw EGifError("A GIF frame needs an index for each of its pixels");
  const TGifPalette& Table = FFile.PaletteOf(Frame);
  if (Table.empty() || Table.size() > 256) throw EGifError("A GIF frame needs a colour table of 1 to 256 colours");
  if (Frame.TransparentIndex >= int(Table.size()) || Frame.Delay < 0 || Frame.Delay > 65535)
    throw EGifError("A GIF frame's transparent index or delay is out of range");
}

bool NeedsControl(const TGifFrame& Frame) {
  return Frame.Delay != 0 || Frame.TransparentIndex >= 0 || Frame.Disposal != gdNone;
}

// In an animation every frame gets its block: readers give a frame without one the delay of the
// frame before it, so a delay of 0 would otherwise not come back as 0.
bool TGifWriter::WritesControl(const TGifFrame& Frame) const { return FFile.Frames.size() > 1 || NeedsControl(Frame); }

bool TGifWriter::NeedsExtensions() const {
  return FFile.LoopCount >= 0 || FFile.Frames.size() > 1 ||
         std::any_of(FFile.Frames.begin(), FFile.Frames.end(), NeedsControl);
}

void TGifWriter::Palette(const TGifPalette& Palette) {
  const std::size_t Padded = std::size_t(1) << TableBits(Palette.size());
  for (std::size_t I = 0; I < Padded; ++I) {
    const TGifRgb C = I < Palette.size() ? Palette[I] : TGifRgb{};
    Byte(C.R);
    Byte(C.G);
    Byte(C.B);
  }
}

void TGifWriter::LoopExtension() {
  static const char Name[] = "NETSCAPE2.0";
  Byte(0x21);
  Byte(0xFF);
  Byte(11);
  FOut.insert(FOut.end(), Name, Name + 11);
  Byte(3);
  Byte(1);
  Word(std::min(FFile.LoopCount, 65535));
  Byte(0);
}

void TGifWriter::ControlExtension(const TGifFrame& Frame) {
  Byte(0x21);
  Byte(0xF9);
  Byte(4);
  Byte(int(Frame.Disposal) << 2 | (Frame.TransparentIndex >= 0 ? 1 : 0));
  Word(Frame.Delay);
  Byte(Frame.TransparentIndex >= 0 ? Frame.TransparentIndex : 0);
  Byte(0);
}

void TGifWriter::SubBlocks(const std::vector<std::uint8_t>& Data) {
  for (std::size_t At = 0; At < Data.size(); At += 255) {
    const std::size_t Size = std::min<std::size_t>(255, Data.size() - At);
    Byte(int(Size));
    FOut.insert(FOut.end(), Data.begin() + At, Data.begin() + At + Size);
  }
  Byte(0);
}

void TGifWriter::Frame(const TGifFrame& Frame) {
  // A frame read from a file is decoded here, one at a time.
  TGifIndices Decoded;
  if (Frame.Coded()) {
    Decoded = DecodeGifFrame(Frame);
    if (!Decoded.Complete()) throw EGifError("A GIF frame needs an index for each of its pixels");
  }
  const std::vector<std::uint8_t>& Indices = Frame.Coded() ? Decoded.Indices : Frame.Indices;
  if (*std::max_element(Indices.begin(), Indices.end()) >= FFile.PaletteOf(Frame).size())
    throw EGifError("A GIF frame uses an index past its colour table");
  if (WritesControl(Frame)) ControlExtension(Frame);
  Byte(0x2C);
  Word(Frame.Left);
  Word(Frame.Top);
  Word(Frame.Width);
  Word(Frame.Height);
  const bool Local = !Frame.LocalPalette.empty();
  Byte((Local ? 0x80 | (TableBits(Frame.LocalPalette.size()) - 1) : 0) | (Frame.Interlaced ? 0x40 : 0));
  if (Local) Palette(Frame.LocalPalette);
  // The codes need only be wide enough for the indices the frame uses, whatever its table's size.
  const std::uint8_t Largest = *std::max_element(Indices.begin(), Indices.end());
  const int MinCodeSize = std::max(2, TableBits(std::size_t(Largest) + 1));
  Byte(MinCodeSize);
  if (!Frame.Interlaced) return SubBlocks(LzwEncode(Indices.data(), Indices.size(), MinCodeSize, FOptions.Lzw));
  const std::vector<std::uint8_t> Stored = Interlaced(Indices, Frame.Width, Frame.Height);
  SubBlocks(LzwEncode(Stored.data(), Stored.size(), MinCodeSize, FOptions.Lzw));
}

std::vector<std::uint8_t> TGifWriter::Write() {
  Validate();
  const char* Signature = NeedsExtensions() ? "GIF89a" : "GIF87a";
  FOut.insert(FOut.end(), Signature, Signature + 6);
  Word(FFile.Width);
  Word(FFile.Height);
  const bool Global = !FFile.GlobalPalette.empty();
  const int Bits = Global ? TableBits(FFile.GlobalPalette.size()) : 1;
  Byte((Global ? 0x80 | (Bits - 1) : 0) | (Bits - 1) << 4);
  Byte(Global && FFile.BackgroundIndex < int(FFile.GlobalPalette.size()) ? FFile.BackgroundIndex : 0);
  Byte(0);
  if (Global) Palette(FFile.GlobalPalette);
  if (FFile.LoopCount >= 0) LoopExtension();
  for (const TGifFrame& F : FFile.Frames) Frame(F);
  Byte(0x3B);
  return std::move(FOut);
}

}  // namespace

std::vector<std::uint8_t> WriteGif(const TGifFile& File, const TGifWriteOptions& Options) {
  return TGifWriter(File, Options).Write();
}
